#pragma once
// What the program says when it finds no display: where it can be played,
// and a command that starts it as printed, showing it to a VNC viewer.

#include "tormell_export.h"

#include <string>
#include <string_view>

namespace app {

/// This program's own file, absolute, read before Qt starts (Qt needs a
/// display to start); `argv0` when the system does not say.
TORMELL_EXPORT std::string programPath(const char* argv0);

/// A shell command that starts `program` on Qt's VNC platform, the path
/// quoted so that the shell reads it back unchanged.
std::string vncCommand(std::string_view program);

/// The one line to print when there is no display, ending in a newline.
TORMELL_EXPORT std::string noDisplayAdvice(std::string_view program);

} // namespace app
