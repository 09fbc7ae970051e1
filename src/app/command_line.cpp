#include "app/command_line.h"

#include <string_view>

namespace {
constexpr std::u16string_view kPortOption = u"--virtual-mouse=";
constexpr std::u16string_view kLogOption = u"--virtual-mouse-log=";
constexpr unsigned long kMaxPort = 65535;

// Shown back in an error: control characters would garble a message box, and a huge argument
// would fill it.
std::u16string Shown(std::u16string_view text) {
    constexpr std::size_t kLimit = 40;
    std::u16string shown;
    for (char16_t c : text.substr(0, kLimit)) shown += c < 0x20 ? u'?' : c;
    if (text.size() > kLimit) shown += u"...";
    return shown;
}

std::optional<std::uint16_t> PortNumber(std::u16string_view text) {
    // Digits only: no sign, blank, hex prefix or suffix, and no leading zeros hiding a length.
    if (text.empty() || text.size() > 5 || text[0] == u'0') return std::nullopt;
    unsigned long value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + static_cast<unsigned long>(c - u'0');
    }
    if (value > kMaxPort) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}
}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::u16string>& arguments) {
    ParsedCommandLine parsed;
    bool portGiven = false;
    bool logGiven = false;
    for (const std::u16string& argument : arguments) {
        const std::u16string_view arg(argument);
        if (StartsWith(arg, kPortOption)) {
            if (portGiven) parsed.errors.push_back(u"--virtual-mouse is given more than once");
            portGiven = true;
            const std::u16string_view value = arg.substr(kPortOption.size());
            const std::optional<std::uint16_t> port = PortNumber(value);
            if (!port) {
                parsed.errors.push_back(u"--virtual-mouse needs a port number from 1 to 65535, not '" + Shown(value) +
                                        u"'");
            }
            parsed.options.virtualMousePort = port;
        } else if (StartsWith(arg, kLogOption)) {
            if (logGiven) parsed.errors.push_back(u"--virtual-mouse-log is given more than once");
            logGiven = true;
            parsed.options.virtualMouseLog = std::u16string(arg.substr(kLogOption.size()));
            if (parsed.options.virtualMouseLog.empty()) parsed.errors.push_back(u"--virtual-mouse-log needs a file name");
        } else {
            parsed.errors.push_back(u"unknown argument '" + Shown(arg) + u"'");
        }
    }
    // A log of a mouse that is not there would stay empty without anyone noticing why.
    if (logGiven && !portGiven) parsed.errors.push_back(u"--virtual-mouse-log needs --virtual-mouse=PORT");
    if (!parsed.errors.empty()) parsed.options = {};
    return parsed;
}

std::u16string CommandLineUsage() {
    return u"Usage: HXT_GMouse.exe [--virtual-mouse=PORT [--virtual-mouse-log=FILE]]";
}
