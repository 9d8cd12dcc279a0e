#include "io/pause_point.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tambor {

namespace {

int descriptor(const char* variable) {
    const char* text = std::getenv(variable);
    if (text == nullptr || *text == '\0') return -1;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *end == '\0' && value >= 0 && value < 1024 ? static_cast<int>(value) : -1;
}

}  // namespace

void pausePoint(const char* name) {
    const char* wanted = std::getenv("TAMBOR_PAUSE_AT");
    if (wanted == nullptr || std::strcmp(wanted, name) != 0) return;
    const int report = descriptor("TAMBOR_PAUSE_REPORT_FD");
    const int resume = descriptor("TAMBOR_PAUSE_RESUME_FD");
    if (report < 0 || resume < 0) return;
    const std::string line = std::string(name) + "\n";
    while (::write(report, line.data(), line.size()) < 0 && errno == EINTR) {
    }
    char byte = 0;
    // A signal that arrives while held interrupts the read: go on waiting,
    // the test resumes the program once it has sent the signal.
    while (::read(resume, &byte, 1) < 0 && errno == EINTR) {
    }
}

}  // namespace tambor
