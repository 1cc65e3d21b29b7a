#pragma once
// The program's command line: with one of its own options (--import,
// --backup, --help, --version) it works on the record without a window and
// ends; without, the game starts.

namespace app {

/// Whether the arguments hold one of the command line's own options: then
/// runCommandLine() answers them, and no display is needed.
bool commandLineAsked(int argc, char** argv);

/// Does what the command line asks on the record the game keeps, prints its
/// report on standard output and any failure's reason on standard error;
/// the exit code, 0 when all went well. Needs a QCoreApplication.
int runCommandLine();

} // namespace app
