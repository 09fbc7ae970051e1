#include <gtest/gtest.h>

#include "app/command_line.h"

namespace {
// As the test build parses; the shipped program's parse has a test of its own below.
ParsedCommandLine Parse(std::vector<std::u16string> arguments) {
    return ParseCommandLine(arguments, VirtualMouseOptions::Accepted);
}
}  // namespace

TEST(CommandLine, NoArgumentsMeanTheRealMouse) {
    const ParsedCommandLine parsed = Parse({});
    EXPECT_TRUE(parsed.ok());
    EXPECT_FALSE(parsed.options.virtualMousePort);
    EXPECT_TRUE(parsed.options.virtualMouseLog.empty());
}

TEST(CommandLine, VirtualMouseWithPortAndLog) {
    const ParsedCommandLine parsed = Parse({u"--virtual-mouse-log=C:\\t\\报告 log.txt", u"--virtual-mouse=27815"});
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.options.virtualMousePort, 27815);
    EXPECT_EQ(parsed.options.virtualMouseLog, u"C:\\t\\报告 log.txt");

    EXPECT_EQ(Parse({u"--virtual-mouse=1"}).options.virtualMousePort, 1);
    EXPECT_EQ(Parse({u"--virtual-mouse=65535"}).options.virtualMousePort, 65535);
}

TEST(CommandLine, BadPortsAreRefused) {
    for (const std::u16string value : {u"", u"0", u"65536", u"99999", u"123456", u"-1", u"+80", u" 80", u"80 ",
                                       u"0x50", u"80a", u"080", u"4294967377", u"８０"}) {
        const ParsedCommandLine parsed = Parse({u"--virtual-mouse=" + value});
        EXPECT_FALSE(parsed.ok()) << std::string(value.begin(), value.end());
        EXPECT_FALSE(parsed.options.virtualMousePort);
    }
    // The option's name must be exact.
    EXPECT_FALSE(Parse({u"--virtual-mouse"}).ok());
    EXPECT_FALSE(Parse({u"--Virtual-Mouse=80"}).ok());
    EXPECT_FALSE(Parse({u"--virtual-mouse:80"}).ok());
}

TEST(CommandLine, UnknownRepeatedAndOrphanOptionsAreRefusedWithNothingRead) {
    ParsedCommandLine parsed = Parse({u"--virtual-mouse=80", u"/verbose"});
    EXPECT_FALSE(parsed.ok());
    EXPECT_FALSE(parsed.options.virtualMousePort);  // nothing half-applied
    ASSERT_EQ(parsed.errors.size(), 1u);
    EXPECT_NE(parsed.errors[0].find(u"/verbose"), std::u16string::npos);

    EXPECT_FALSE(Parse({u"--virtual-mouse=80", u"--virtual-mouse=81"}).ok());
    EXPECT_FALSE(Parse({u"--virtual-mouse=80", u"--virtual-mouse-log=a", u"--virtual-mouse-log=b"}).ok());
    EXPECT_FALSE(Parse({u"--virtual-mouse=80", u"--virtual-mouse-log="}).ok());
    // A log without a virtual mouse would stay empty.
    EXPECT_FALSE(Parse({u"--virtual-mouse-log=a.txt"}).ok());

    // Every fault is reported, each once.
    EXPECT_EQ(Parse({u"x", u"--virtual-mouse=0", u"y"}).errors.size(), 3u);
}

TEST(CommandLine, ErrorsShowAShortPrintableExcerptOfTheArgument) {
    const std::u16string huge(100000, u'9');
    const ParsedCommandLine parsed = Parse({u"--virtual-mouse=" + huge, std::u16string(u"\x01\x1b[2J")});
    ASSERT_EQ(parsed.errors.size(), 2u);
    for (const std::u16string& error : parsed.errors) {
        EXPECT_LT(error.size(), 120u);
        for (char16_t c : error) EXPECT_GE(c, 0x20);
    }
}

TEST(CommandLine, ScriptCommandsAndHelp) {
    ParsedCommandLine parsed = Parse({u"--slot", u"3", u"--virtual-mouse=80"});
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.options.command, (ProgramCommand{CommandKind::Slot, 3, {}}));
    EXPECT_EQ(parsed.options.virtualMousePort, 80);
    EXPECT_EQ(Parse({u"--slot=5"}).options.command, (ProgramCommand{CommandKind::Slot, 5, {}}));
    EXPECT_EQ(Parse({u"--export", u"a b\\c.ini"}).options.command, (ProgramCommand{CommandKind::Export, 0, u"a b\\c.ini"}));
    EXPECT_EQ(Parse({u"--import=x=y.ini"}).options.command, (ProgramCommand{CommandKind::Import, 0, u"x=y.ini"}));
    EXPECT_FALSE(Parse({}).options.command);

    EXPECT_TRUE(Parse({u"--help"}).help);
    EXPECT_TRUE(Parse({u"--slot=1", u"--help"}).help);
    EXPECT_FALSE(Parse({u"--help", u"--bogus"}).help);  // a bad command line is an error, not help
    EXPECT_TRUE(Parse({u"--quit"}).quit);
    EXPECT_TRUE(Parse({u"--tray", u"--slot", u"3"}).tray);
    EXPECT_FALSE(Parse({u"--tray", u"--tray"}).ok());
    EXPECT_FALSE(Parse({u"--quit", u"--slot", u"2"}).ok());
    EXPECT_FALSE(Parse({u"--quit", u"--quit"}).ok());
    EXPECT_EQ(Parse({u"--start-with-windows=off"}).startWithWindows, false);
    EXPECT_FALSE(Parse({u"--start-with-windows=yes"}).ok());
    EXPECT_FALSE(Parse({u"--start-with-windows=on", u"--slot", u"2"}).ok());
    EXPECT_TRUE(Parse({u"--version"}).version);
    EXPECT_FALSE(Parse({u"--version", u"--bogus"}).version);
    EXPECT_EQ(VersionLine().rfind(u"HXT_GMouse ", 0), 0u);
}

TEST(CommandLine, BadScriptCommandsAreRefused) {
    for (const std::vector<std::u16string>& arguments : std::vector<std::vector<std::u16string>>{
             {u"--slot"}, {u"--slot", u"0"}, {u"--slot", u"6"}, {u"--slot=12"}, {u"--slot= 1"}, {u"--slot=", u"1"},
             {u"--slot", u"--virtual-mouse=80"}, {u"--export"}, {u"--import="}, {u"--import", u"--slot=1"},
             {u"--slot=1", u"--slot=2"}, {u"--slot=1", u"--export=a"}, {u"--export=a", u"--import=b"},
             {u"--Slot=1"}, {u"--slots=1"}, {u"--export=" + std::u16string(40000, u'a')}}) {
        const ParsedCommandLine parsed = Parse(arguments);
        EXPECT_FALSE(parsed.ok()) << std::string(arguments[0].begin(), arguments[0].end()) << " ...";
        EXPECT_FALSE(parsed.options.command);
    }
}

TEST(CommandLine, ShippedProgramKnowsNoVirtualMouse) {
    const auto shipped = [](std::vector<std::u16string> arguments) {
        return ParseCommandLine(arguments, VirtualMouseOptions::Unknown);
    };
    ParsedCommandLine parsed = shipped({u"--virtual-mouse=27815"});
    ASSERT_EQ(parsed.errors, std::vector<std::u16string>{u"unknown argument '--virtual-mouse=27815'"});
    EXPECT_FALSE(parsed.options.virtualMousePort);
    parsed = shipped({u"--slot=2", u"--virtual-mouse=27815", u"--virtual-mouse-log=a.txt"});
    EXPECT_EQ(parsed.errors.size(), 2u);
    EXPECT_FALSE(parsed.options.command);  // nothing half-applied
    EXPECT_EQ(shipped({u"--slot=2"}).options.command, (ProgramCommand{CommandKind::Slot, 2, {}}));

    // Its usage offers only what it knows.
    EXPECT_EQ(CommandLineUsage(VirtualMouseOptions::Unknown).find(u"virtual"), std::u16string::npos);
    EXPECT_NE(CommandLineUsage(VirtualMouseOptions::Accepted).find(u"[--virtual-mouse=PORT"), std::u16string::npos);
}

TEST(CommandLine, TheResidentCopyGetsTheTrayAndThisStartsVirtualMouseQuotedAsTheRuntimeSplits) {
    // The C runtime's rules: backslashes are literal except before a quote, where each pair is
    // one backslash and an odd one escapes the quote.
    EXPECT_EQ(QuotedArgument(u"C:\\a\\b.txt"), u"C:\\a\\b.txt");
    EXPECT_EQ(QuotedArgument(u""), u"\"\"");
    EXPECT_EQ(QuotedArgument(u"C:\\my dir\\"), u"\"C:\\my dir\\\\\"");
    EXPECT_EQ(QuotedArgument(u"say \\\"hi\""), u"\"say \\\\\\\"hi\\\"\"");

    CommandLineOptions options;
    EXPECT_EQ(ResidentCopyArguments(options), u"--tray");
    options.virtualMousePort = 4021;
    options.virtualMouseLog = u"C:\\logs dir\\f.log";
    EXPECT_EQ(ResidentCopyArguments(options), u"--tray --virtual-mouse=4021 \"--virtual-mouse-log=C:\\logs dir\\f.log\"");
}
