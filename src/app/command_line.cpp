#include "app/command_line.h"

#include <string_view>

#include "app/command_wait.h"
#include "version.h"

namespace {
constexpr std::u16string_view kPortOption = u"--virtual-mouse=";
constexpr std::u16string_view kLogOption = u"--virtual-mouse-log=";
constexpr std::u16string_view kHelpOption = u"--help";
constexpr std::u16string_view kVersionOption = u"--version";
constexpr std::u16string_view kQuitOption = u"--quit";
constexpr std::u16string_view kTrayOption = u"--tray";
constexpr std::u16string_view kStartupOption = u"--start-with-windows=";
constexpr unsigned long kMaxPort = 65535;
constexpr std::size_t kMaxFileName = 32000;  // leaves room to make it a full path

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

// "--slot", "--export" or "--import", alone or followed by '=' and the value.
struct NamedCommand {
    std::u16string_view name;
    CommandKind kind;
};
constexpr NamedCommand kCommands[] = {
    {u"--slot", CommandKind::Slot}, {u"--export", CommandKind::Export}, {u"--import", CommandKind::Import}};

std::u16string_view OptionName(std::u16string_view arg) { return arg.substr(0, arg.find(u'=')); }

std::optional<CommandKind> CommandOption(std::u16string_view arg) {
    for (const NamedCommand& c : kCommands) {
        if (OptionName(arg) == c.name) return c.kind;
    }
    return std::nullopt;
}
}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::u16string>& arguments, VirtualMouseOptions virtualMouse) {
    const bool virtualMouseKnown = virtualMouse == VirtualMouseOptions::Accepted;
    ParsedCommandLine parsed;
    bool portGiven = false;
    bool logGiven = false;
    std::u16string commandGiven;  // the first of --slot, --export, --import
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string_view arg(arguments[i]);
        if (virtualMouseKnown && StartsWith(arg, kPortOption)) {
            if (portGiven) parsed.errors.push_back(u"--virtual-mouse is given more than once");
            portGiven = true;
            const std::u16string_view value = arg.substr(kPortOption.size());
            const std::optional<std::uint16_t> port = PortNumber(value);
            if (!port) {
                parsed.errors.push_back(u"--virtual-mouse needs a port number from 1 to 65535, not '" + Shown(value) +
                                        u"'");
            }
            parsed.options.virtualMousePort = port;
        } else if (virtualMouseKnown && StartsWith(arg, kLogOption)) {
            if (logGiven) parsed.errors.push_back(u"--virtual-mouse-log is given more than once");
            logGiven = true;
            parsed.options.virtualMouseLog = std::u16string(arg.substr(kLogOption.size()));
            if (parsed.options.virtualMouseLog.empty()) parsed.errors.push_back(u"--virtual-mouse-log needs a file name");
        } else if (arg == kHelpOption) {
            parsed.help = true;
        } else if (arg == kVersionOption) {
            parsed.version = true;
        } else if (arg == kTrayOption) {
            if (parsed.tray) parsed.errors.push_back(u"--tray is given more than once");
            parsed.tray = true;
        } else if (StartsWith(arg, kStartupOption)) {
            const std::u16string_view value = arg.substr(kStartupOption.size());
            if (parsed.startWithWindows) parsed.errors.push_back(u"--start-with-windows is given more than once");
            if (value != u"on" && value != u"off") {
                parsed.errors.push_back(u"--start-with-windows needs on or off, not '" + Shown(value) + u"'");
            }
            parsed.startWithWindows = value == u"on";
        } else if (arg == kQuitOption) {
            if (parsed.quit) parsed.errors.push_back(u"--quit is given more than once");
            parsed.quit = true;
        } else if (const std::optional<CommandKind> kind = CommandOption(arg)) {
            const std::u16string name(OptionName(arg));
            // The value follows the '=' or is the next argument; another option is no value.
            std::optional<std::u16string_view> value;
            if (arg.size() > name.size()) {
                value = arg.substr(name.size() + 1);
            } else if (i + 1 < arguments.size() && !StartsWith(arguments[i + 1], u"--")) {
                value = arguments[++i];
            }
            if (!commandGiven.empty()) {
                parsed.errors.push_back(commandGiven == name ? name + u" is given more than once"
                                                             : u"only one of --slot, --export and --import can be given");
            } else {
                commandGiven = name;
            }
            if (*kind == CommandKind::Slot) {
                if (!value || value->size() != 1 || (*value)[0] < u'1' || (*value)[0] > u'5') {
                    parsed.errors.push_back(u"--slot needs a slot number from 1 to 5, not '" + Shown(value.value_or(u"")) +
                                            u"'");
                } else {
                    parsed.options.command = ProgramCommand{*kind, (*value)[0] - u'0', {}};
                }
            } else if (!value || value->empty()) {
                parsed.errors.push_back(name + u" needs a file name");
            } else if (value->size() > kMaxFileName) {
                parsed.errors.push_back(name + u" needs a shorter file name");
            } else {
                parsed.options.command = ProgramCommand{*kind, 0, std::u16string(*value)};
            }
        } else {
            parsed.errors.push_back(u"unknown argument '" + Shown(arg) + u"'");
        }
    }
    // A log of a mouse that is not there would stay empty without anyone noticing why.
    if (logGiven && !portGiven) parsed.errors.push_back(u"--virtual-mouse-log needs --virtual-mouse=PORT");
    if (parsed.quit && !commandGiven.empty()) parsed.errors.push_back(u"--quit takes no other command");
    if (parsed.startWithWindows && (parsed.quit || parsed.tray || !commandGiven.empty())) {
        parsed.errors.push_back(u"--start-with-windows takes no other option");
    }
    if (!parsed.errors.empty()) {
        parsed.options = {};
        parsed.help = false;
        parsed.version = false;
        parsed.quit = false;
        parsed.tray = false;
        parsed.startWithWindows.reset();
    }
    return parsed;
}

std::u16string CommandLineUsage(VirtualMouseOptions virtualMouse) {
    return u"Usage: HXT_GMouse.exe [--slot N | --export FILE | --import FILE]" +
           std::u16string(virtualMouse == VirtualMouseOptions::Accepted ? u" [--virtual-mouse=PORT [--virtual-mouse-log=FILE]]" : u"") +
           u"\n"
           u"  --slot N       make configuration slot N (1 to 5) the current one and apply it\n"
           u"  --export FILE  write the configuration the window shows to FILE\n"
           u"  --import FILE  make FILE's configuration the current slot's and apply it\n"
           u"  --help         show this text\n"
           u"  --version      show the program's version\n"
           u"  --tray         start hidden in the tray (a click on its icon shows the window)\n"
           u"  --quit         end the running copy as the tray's Exit does (status 1 when none runs)\n"
           u"  --start-with-windows=on|off  start this program in the tray at log-on, or no more\n"
           u"The copy of the program that runs carries the option out; when none runs, one starts in the tray and does.\n"
           u"Exit status: 0 done, 1 not done (the reason is printed), 2 a bad command line,\n"
           u"  3 still running (the copy took the option but did not finish it within " + CommandDeadlineText() + u").";
}

std::u16string QuotedArgument(std::u16string_view argument) {
    if (!argument.empty() && argument.find_first_of(u" \t\n\v\"") == std::u16string_view::npos) {
        return std::u16string(argument);
    }
    std::u16string quoted = u"\"";
    std::size_t backslashes = 0;
    for (char16_t c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count as such only before a quote: there they are doubled, and the quote escaped.
        quoted.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, u'\\');  // before the closing quote
    return quoted + u"\"";
}

std::u16string ResidentCopyArguments(const CommandLineOptions& options) {
    std::u16string arguments(kTrayOption);
    if (options.virtualMousePort) {
        arguments += u' ';
        arguments += kPortOption;
        for (char c : std::to_string(*options.virtualMousePort)) arguments += static_cast<char16_t>(c);
    }
    if (!options.virtualMouseLog.empty()) {
        std::u16string log(kLogOption);
        log += options.virtualMouseLog;
        arguments += u' ';
        arguments += QuotedArgument(log);
    }
    return arguments;
}

std::u16string VersionLine() { return u"HXT_GMouse " u"" HXT_VERSION_TEXT; }
