#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>

#include "app/logon_task.h"
#include "platform/text.h"

namespace {

// The raw text of the element at path (outer/.../inner) in the XML, read with a parser of the
// test's own; "?" when any step is missing.
std::string At(const std::string& xml, const std::string& path) {
    std::string scope = xml;
    std::size_t from = 0;
    for (std::size_t to; from <= path.size(); from = to + 1) {
        to = path.find('/', from);
        if (to == std::string::npos) to = path.size();
        const std::string name = path.substr(from, to - from);
        std::smatch m;
        if (!std::regex_search(scope, m, std::regex("<" + name + "(\\s[^>]*)?>([\\s\\S]*?)</" + name + ">"))) return "?";
        scope = m[2];
    }
    return scope;
}

TEST(LogonTask, DefinesALogonStartOfThisExeWithItsEscapingAndRecognisesItsExe) {
    const std::u16string exe = u"C:\\Tom & Jerry's <\"x\">\\HXT_GMouse.exe";
    const std::string xml = Utf8FromUtf16(LogonTaskXml(exe, u"PC\\A&B"));
    EXPECT_EQ(At(xml, "Task/Triggers/LogonTrigger/UserId"), "PC\\A&amp;B");
    EXPECT_EQ(At(xml, "Task/Principals/Principal/UserId"), "PC\\A&amp;B");
    EXPECT_EQ(At(xml, "Principal/LogonType"), "InteractiveToken");
    EXPECT_EQ(At(xml, "Principal/RunLevel"), "HighestAvailable");
    EXPECT_EQ(At(xml, "Task/Settings/ExecutionTimeLimit"), "PT0S");
    EXPECT_EQ(At(xml, "Settings/DisallowStartIfOnBatteries"), "false");
    EXPECT_EQ(At(xml, "Settings/StopIfGoingOnBatteries"), "false");
    EXPECT_EQ(At(xml, "Settings/MultipleInstancesPolicy"), "IgnoreNew");
    EXPECT_EQ(At(xml, "Task/Actions/Exec/Command"), "C:\\Tom &amp; Jerry&apos;s &lt;&quot;x&quot;&gt;\\HXT_GMouse.exe");
    EXPECT_EQ(At(xml, "Actions/Exec/Arguments"), "--tray");
    EXPECT_NE(At(xml, "Task/RegistrationInfo/Description"), "?");

    // Its own definition starts this exe, under any case and in quotes; not another exe.
    const std::u16string definition = LogonTaskXml(exe, u"PC\\A&B");
    EXPECT_TRUE(TaskPointsAt(definition, exe));
    EXPECT_TRUE(TaskPointsAt(definition, u"c:\\tom & jerry's <\"x\">\\hxt_gmouse.EXE"));
    EXPECT_TRUE(TaskPointsAt(LogonTaskXml(u"\"C:\\P\\HXT_GMouse.exe\"", u"u"), u"C:\\P\\HXT_GMouse.exe"));
    EXPECT_FALSE(TaskPointsAt(definition, u"C:\\Other\\HXT_GMouse.exe"));
    // A task without an action, as Wine keeps one, starts nothing.
    EXPECT_FALSE(TaskPointsAt(u"<Task><Settings><ExecutionTimeLimit>PT0S</ExecutionTimeLimit></Settings></Task>", exe));
}

struct FakeTask : StartupTaskPort {
    std::optional<std::u16string> xml;
    std::optional<std::u16string> TaskCommand() override {
        return xml ? std::optional(XmlElementText(*xml, u"Command")) : std::nullopt;
    }
    bool Register(std::u16string_view definition) override { return xml = std::u16string(definition), true; }
    bool Remove() override { return xml.reset(), true; }
    std::u16string UserId() override { return u"PC\\me"; }
};

TEST(LogonTask, TheMenuItemRegistersRemovesAndTakesOverAnotherCopysTask) {
    FakeTask task;
    StartWithWindows item(task, u"C:\\P\\HXT_GMouse.exe");
    EXPECT_FALSE(item.Marked());
    EXPECT_TRUE(item.Toggle());
    EXPECT_TRUE(item.Marked());
    EXPECT_EQ(At(Utf8FromUtf16(*task.xml), "LogonTrigger/UserId"), "PC\\me");
    EXPECT_TRUE(item.Toggle());
    EXPECT_FALSE(task.xml);
    task.xml = LogonTaskXml(u"D:\\Old\\HXT_GMouse.exe", u"u");
    EXPECT_FALSE(item.Marked());
    EXPECT_TRUE(item.Set(false));  // another copy's task is not this one's to remove
    EXPECT_TRUE(task.xml);
    EXPECT_TRUE(item.Toggle());
    EXPECT_TRUE(item.Marked());
    // A task that starts nothing, as Wine keeps ours, is removed by the setup's off.
    task.xml = u"<Task><Actions><Exec/></Actions></Task>";
    EXPECT_FALSE(item.Marked());
    EXPECT_TRUE(item.Set(false));
    EXPECT_FALSE(task.xml);
}

}  // namespace
