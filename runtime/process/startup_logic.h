#pragma once
// The decisions of the runtime's start-up that depend only on their inputs: the OS level from
// the version numbers, the text mode, the arguments of a command line, the directory of a
// file name and the names of the runtime's window classes. Platform-free.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/text/text_core.h"

namespace runtime {

// OS levels: 0 not recognised; 1 Windows 95; 2 Windows 98/Me; 3 NT below 5; 4 NT 5.0;
// 5 NT 5.x (x > 0); 6 NT 6+ minor 0; 7 NT 6+ minor above 0.
namespace os_level {
constexpr int32_t Unknown = 0;
constexpr int32_t Windows95 = 1;
constexpr int32_t Windows98 = 2;
constexpr int32_t OldNt = 3;
constexpr int32_t Nt50 = 4;
constexpr int32_t Nt5x = 5;
constexpr int32_t Nt6 = 6;
constexpr int32_t Nt6x = 7;
}  // namespace os_level

// Version platforms of the OS version record.
constexpr uint32_t kPlatform9x = 1;
constexpr uint32_t kPlatformNt = 2;

constexpr int32_t OsLevelFromVersion(uint32_t platform, uint32_t major, uint32_t minor) {
    if (platform == kPlatform9x) return minor == 0 ? os_level::Windows95 : os_level::Windows98;
    if (platform != kPlatformNt) return os_level::Unknown;
    if (major < 5) return os_level::OldNt;
    if (major == 5) return minor == 0 ? os_level::Nt50 : os_level::Nt5x;
    return minor == 0 ? os_level::Nt6 : os_level::Nt6x;
}

// Wide text only when asked for and the system has the wide interfaces (the NT line).
constexpr int32_t WideModeFor(int32_t wideRequest, int32_t osLevel) {
    return (wideRequest != 0 && osLevel >= os_level::OldNt) ? 1 : 0;
}

// The arguments of a command line, trimmed of blanks and tabs at both ends. A line that starts
// with a double quote has its arguments after the next double quote; any other after its first
// blank. Without that separator there are no arguments.
template <class Ch>
std::basic_string_view<Ch> ArgumentsOf(std::basic_string_view<Ch> commandLine) {
    constexpr Ch kQuote = static_cast<Ch>('"');
    std::size_t separator;
    if (!commandLine.empty() && commandLine.front() == kQuote) {
        separator = commandLine.find(kQuote, 1);
    } else {
        separator = commandLine.find(static_cast<Ch>(text::kBlank));
    }
    if (separator == std::basic_string_view<Ch>::npos) return {};
    std::basic_string_view<Ch> arguments = commandLine.substr(separator + 1);
    while (!arguments.empty() && text::IsBlankOrTab(arguments.front())) arguments.remove_prefix(1);
    while (!arguments.empty() && text::IsBlankOrTab(arguments.back())) arguments.remove_suffix(1);
    return arguments;
}

// The length of the directory part of a file name: up to its last backslash, which is left
// out; the whole name when it has no backslash.
template <class Ch>
std::size_t DirectoryLength(std::basic_string_view<Ch> fileName) {
    const std::size_t backslash = fileName.rfind(static_cast<Ch>('\\'));
    return backslash == std::basic_string_view<Ch>::npos ? fileName.size() : backslash;
}

// A form class name is its prefix with the application name behind it, in a 144-byte buffer;
// an application name too long for it is cut, so the name always ends inside the buffer.
constexpr std::size_t kClassNameBytes = 144;

inline std::size_t ComposeClassName(std::string_view prefix, std::string_view applicationName,
                                    char* destination, std::size_t capacity) {
    const std::size_t kept = text::CopyBounded(prefix, destination, capacity);
    if (kept < prefix.size()) return kept;
    return kept + text::CopyBounded(applicationName, destination + kept, capacity - kept);
}

// Window class names as the previous-instance search compares them: unit by unit, so letter
// case counts.
template <class Ch>
bool SameClassName(const Ch* a, const Ch* b) {
    return std::basic_string_view<Ch>(a) == std::basic_string_view<Ch>(b);
}

}  // namespace runtime
