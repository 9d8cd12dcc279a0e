# Copies the help folder FROM into the folder TO (as TO/help). file(COPY)
# leaves files that are already up to date alone, and pages removed from
# the source are removed from the copy.
if(EXISTS "${TO}/help")
  file(GLOB_RECURSE copied RELATIVE "${TO}/help" "${TO}/help/*")
  foreach(f ${copied})
    if(NOT EXISTS "${FROM}/${f}")
      file(REMOVE "${TO}/help/${f}")
    endif()
  endforeach()
endif()
file(COPY "${FROM}" DESTINATION "${TO}")
