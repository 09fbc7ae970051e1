#include "device/virtual_mouse_protocol.h"

#include <array>

#include "platform/text.h"

namespace {
constexpr std::size_t kEchoLimit = 32;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

// A word as it may be shown back in one answer line: short, printable.
std::string Echo(std::string_view word) {
    std::string shown;
    for (char c : word.substr(0, kEchoLimit)) shown += (c >= 0x20 && c < 0x7F) ? c : '?';
    if (word.size() > kEchoLimit) shown += "...";
    return shown;
}

std::optional<int> ButtonNumber(std::string_view word) {
    if (word.size() != 1 || word[0] < '1' || word[0] > '7') return std::nullopt;
    return word[0] - '0';
}

std::optional<std::uint8_t> HexByte(std::string_view word) {
    if (word.empty() || word.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : word) {
        const char l = AsciiLower(c);
        int digit;
        if (l >= '0' && l <= '9') digit = l - '0';
        else if (l >= 'a' && l <= 'f') digit = l - 'a' + 10;
        else return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<std::uint8_t>(value);
}

struct VerbName {
    const char* name;
    VirtualMouseVerb verb;
};
constexpr std::array<VerbName, 8> kVerbs = {{{"press", VirtualMouseVerb::Press},
                                             {"release", VirtualMouseVerb::Release},
                                             {"report", VirtualMouseVerb::Report},
                                             {"features", VirtualMouseVerb::Features},
                                             {"clear", VirtualMouseVerb::Clear},
                                             {"state", VirtualMouseVerb::State},
                                             {"unplug", VirtualMouseVerb::Unplug},
                                             {"plug", VirtualMouseVerb::Plug}}};

ParsedCommand Error(std::string reason) { return ParsedCommand{std::nullopt, std::move(reason)}; }

std::string Optional(const std::optional<std::uint8_t>& value) {
    return value ? std::to_string(*value) : std::string("-");
}
}  // namespace

ParsedCommand ParseVirtualMouseCommand(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.size() > kMaxCommandLine) return Error("line too long");
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) return Error("empty command");

    std::string verbText;
    for (char c : words[0]) verbText += AsciiLower(c);
    const VerbName* known = nullptr;
    for (const VerbName& each : kVerbs) {
        if (verbText == each.name) known = &each;
    }
    if (!known) return Error("unknown command '" + Echo(words[0]) + "'");

    VirtualMouseCommand command;
    command.verb = known->verb;
    const std::size_t arguments = words.size() - 1;
    switch (command.verb) {
        case VirtualMouseVerb::Press:
        case VirtualMouseVerb::Release: {
            const std::optional<int> button = arguments == 1 ? ButtonNumber(words[1]) : std::nullopt;
            if (!button) return Error(std::string(known->name) + " needs one button number 1 to 7");
            command.button = *button;
            break;
        }
        case VirtualMouseVerb::Report:
            if (arguments < 1 || arguments > kVirtualReportLength) {
                return Error("report needs 1 to " + std::to_string(kVirtualReportLength) + " hex bytes");
            }
            for (std::size_t i = 1; i < words.size(); ++i) {
                const std::optional<std::uint8_t> byte = HexByte(words[i]);
                if (!byte) return Error("bad hex byte '" + Echo(words[i]) + "'");
                command.bytes.push_back(*byte);
            }
            break;
        default:
            if (arguments != 0) return Error(std::string(known->name) + " takes no arguments");
            break;
    }
    return ParsedCommand{command, {}};
}

std::vector<std::string> RunVirtualMouseCommand(VirtualMouse& mouse, std::string_view line) {
    const ParsedCommand parsed = ParseVirtualMouseCommand(line);
    if (!parsed.command) return {"ERR " + parsed.error};
    const VirtualMouseCommand& command = *parsed.command;
    std::vector<std::string> answer;
    switch (command.verb) {
        case VirtualMouseVerb::Press:
        case VirtualMouseVerb::Release: {
            std::vector<std::uint8_t> sent;
            const ButtonReport result = command.verb == VirtualMouseVerb::Press ? mouse.Press(command.button, &sent)
                                                                                : mouse.Release(command.button, &sent);
            if (result == ButtonReport::Unplugged) return {"ERR mouse is unplugged"};
            if (result == ButtonReport::NoSuchButton) return {"ERR no such button"};
            answer.push_back(result == ButtonReport::Sent ? "input " + HexLine(sent) : "input none");
            break;
        }
        case VirtualMouseVerb::Report:
            if (!mouse.QueueInputReport(command.bytes)) return {"ERR mouse is unplugged"};
            break;
        case VirtualMouseVerb::Features:
            for (const std::vector<std::uint8_t>& report : mouse.FeatureReports()) answer.push_back(HexLine(report));
            break;
        case VirtualMouseVerb::Clear: mouse.ClearFeatureReports(); break;
        case VirtualMouseVerb::State: {
            const VirtualMouseState state = mouse.State();
            for (int i = 0; i < kVirtualHardwareButtons; ++i) {
                answer.push_back("map" + std::to_string(i + 1) + "=" + Optional(state.map[static_cast<std::size_t>(i)]));
            }
            answer.push_back("dpi_stage=" + Optional(state.dpiStage));
            answer.push_back("dpi_value=" + (state.dpiValue ? std::to_string(*state.dpiValue) : std::string("-")));
            answer.push_back("led=" + Optional(state.led));
            answer.push_back("wheel=" + Optional(state.wheel));
            answer.push_back("fire=" + Optional(state.fire));
            break;
        }
        case VirtualMouseVerb::Unplug:
            if (!mouse.Unplug()) return {"ERR already unplugged"};
            break;
        case VirtualMouseVerb::Plug:
            if (!mouse.Plug()) return {"ERR already plugged in"};
            break;
    }
    answer.push_back("OK");
    return answer;
}
