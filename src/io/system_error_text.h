#pragma once
// The one Japanese wording of each system error (errno), shared by the
// window and the command line, so that no English system text appears
// inside a Japanese message.

#include <string>

namespace tambor {

// A short Japanese phrase for err, without a final "。"; an error without a
// wording of its own is named by its number.
std::string systemErrorText(int err);

}  // namespace tambor
