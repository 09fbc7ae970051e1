#include "app/logon_task.h"

#include <optional>
#include <utility>

#include "platform/text.h"

namespace {
std::u16string Escaped(std::u16string_view text) {
    std::u16string out;
    for (const char16_t c : text) {
        switch (c) {
            case u'&': out += u"&amp;"; break;
            case u'<': out += u"&lt;"; break;
            case u'>': out += u"&gt;"; break;
            case u'"': out += u"&quot;"; break;
            case u'\'': out += u"&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

// The five entities Escaped writes; any other stays as written.
std::u16string Unescaped(std::u16string_view text) {
    static constexpr std::pair<std::u16string_view, char16_t> kNamed[] = {
        {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&apos;", u'\''}};
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        bool named = false;
        for (const auto& [entity, c] : kNamed) {
            if (text.substr(i).starts_with(entity)) {
                out += c;
                i += entity.size();
                named = true;
                break;
            }
        }
        if (!named) out += text[i++];
    }
    return out;
}

// Blanks, line ends and the quotes around a path.
std::u16string_view Trimmed(std::u16string_view text) { return TrimmedOf(text, u" \t\r\n\""); }
}  // namespace

std::u16string LogonTaskXml(std::u16string_view exePath, std::u16string_view userId) {
    const std::u16string user = Escaped(userId);
    return u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           u"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           u"  <RegistrationInfo>\r\n"
           u"    <Description>Starts HXT_GMouse in the notification area when you log on, so that the mouse "
           u"gets its configuration.</Description>\r\n"
           u"  </RegistrationInfo>\r\n"
           u"  <Triggers>\r\n"
           u"    <LogonTrigger>\r\n"
           u"      <Enabled>true</Enabled>\r\n"
           u"      <UserId>" + user + u"</UserId>\r\n"
           u"    </LogonTrigger>\r\n"
           u"  </Triggers>\r\n"
           u"  <Principals>\r\n"
           u"    <Principal id=\"Author\">\r\n"
           u"      <UserId>" + user + u"</UserId>\r\n"
           u"      <LogonType>InteractiveToken</LogonType>\r\n"
           u"      <RunLevel>HighestAvailable</RunLevel>\r\n"
           u"    </Principal>\r\n"
           u"  </Principals>\r\n"
           u"  <Settings>\r\n"
           u"    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\r\n"
           u"    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\r\n"
           u"    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\r\n"
           u"    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>\r\n"
           u"    <Enabled>true</Enabled>\r\n"
           u"  </Settings>\r\n"
           u"  <Actions Context=\"Author\">\r\n"
           u"    <Exec>\r\n"
           u"      <Command>" + Escaped(exePath) + u"</Command>\r\n"
           u"      <Arguments>--tray</Arguments>\r\n"
           u"    </Exec>\r\n"
           u"  </Actions>\r\n"
           u"</Task>\r\n";
}

std::u16string XmlElementText(std::u16string_view xml, std::u16string_view name) {
    const std::u16string open = u"<" + std::u16string(name);
    for (std::size_t at = xml.find(open); at != std::u16string_view::npos; at = xml.find(open, at + 1)) {
        // <Name> or <Name attributes>, not <NameLonger>; <Name/> has no text.
        const std::size_t after = at + open.size();
        if (after >= xml.size() || (xml[after] != u'>' && xml[after] != u' ' && xml[after] != u'\t' &&
                                    xml[after] != u'\r' && xml[after] != u'\n'))
            continue;
        const std::size_t start = xml.find(u'>', after);
        if (start == std::u16string_view::npos || xml[start - 1] == u'/') return {};
        const std::size_t end = xml.find(u"</" + std::u16string(name), start);
        if (end == std::u16string_view::npos) return {};
        return Unescaped(xml.substr(start + 1, end - start - 1));
    }
    return {};
}

bool CommandIsExe(std::u16string_view command, std::u16string_view exePath) {
    const std::u16string_view wanted = Trimmed(exePath);
    return !wanted.empty() && EqualIgnoringAsciiCase(Trimmed(command), wanted);
}

bool TaskPointsAt(std::u16string_view taskXml, std::u16string_view exePath) {
    return CommandIsExe(XmlElementText(taskXml, u"Command"), exePath);
}

bool StartWithWindows::Marked() {
    const std::optional<std::u16string> command = task_.TaskCommand();
    return command && CommandIsExe(*command, exePath_);
}

bool StartWithWindows::Toggle() { return Set(!Marked()); }

bool StartWithWindows::Set(bool on) {
    if (!on) {
        // A task of this name that starts nothing (Wine keeps tasks without their action) is no
        // other copy's either: removed too, so an uninstall leaves no task behind.
        const std::optional<std::u16string> command = task_.TaskCommand();
        const bool ours = command && (Trimmed(*command).empty() || CommandIsExe(*command, exePath_));
        return !ours || task_.Remove();
    }
    return task_.Register(LogonTaskXml(exePath_, task_.UserId()));
}
