# Turns a file into a C++ source holding its bytes, so the program carries
# a copy that is written out unchanged when the real file is missing.
function(tambor_embed_file INPUT OUTPUT SYMBOL)
  add_custom_command(
    OUTPUT ${OUTPUT}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${INPUT} -DOUTPUT=${OUTPUT} -DSYMBOL=${SYMBOL}
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    DEPENDS ${INPUT} ${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    VERBATIM)
endfunction()
