#include "app/no_display.h"

#include <filesystem>
#include <system_error>

namespace app {

namespace {

// A screen as large as the game's windows side by side need.
constexpr std::string_view kVncPlatform = "QT_QPA_PLATFORM=vnc:size=1280x800";
// Qt's VNC server listens here unless told otherwise.
constexpr std::string_view kVncAddress = "localhost:5900";
// Characters the shell reads as themselves, outside quotes.
constexpr std::string_view kPlainCharacters
    = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_@%+=:,./-";

std::string shellQuoted(std::string_view text)
{
    if (!text.empty() && text.find_first_not_of(kPlainCharacters) == std::string_view::npos)
        return std::string(text);
    // Inside single quotes only a single quote is special: end, escape it, reopen.
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string_view("'\\''") : std::string_view(&c, 1);
    return quoted + "'";
}

} // namespace

std::string programPath(const char* argv0)
{
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? std::string(argv0) : self.string();
}

std::string vncCommand(std::string_view program)
{
    return std::string(kVncPlatform) + ' ' + shellQuoted(program);
}

std::string noDisplayAdvice(std::string_view program)
{
    return "tormell: no display found; start it from a desktop session, or show it to a VNC viewer on "
        + std::string(kVncAddress) + " with: " + vncCommand(program) + '\n';
}

} // namespace app
