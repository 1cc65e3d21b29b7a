#pragma once
// The program's command line: with anything but Qt's own window options
// (-platform, -style and the like) it answers without a window and ends:
// --import, --backup, --help and --version are done, and a slip (an unknown
// option, a file without --import) is said; with none, the game starts.

#include "tormell_export.h"

namespace app {

/// Exit codes: all went well; a file was refused, or the record could not
/// take the rounds or be saved; the command line could not be followed, and
/// nothing was done; rounds were imported, but some rows could not be read.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitLeftOut = 3;

/// Whether the arguments hold anything but Qt's own window options: then
/// runCommandLine() answers them, and no display is needed.
TORMELL_EXPORT bool commandLineAsked(int argc, char** argv);

/// Does what the command line asks on the record the game keeps: prints the
/// report once on standard output, and what failed once on standard error,
/// in Japanese. Returns one of the exit codes. Needs a QCoreApplication.
TORMELL_EXPORT int runCommandLine();

} // namespace app
