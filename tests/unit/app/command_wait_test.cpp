#include <gtest/gtest.h>

#include "app/command_wait.h"

namespace {
using std::chrono::milliseconds;
const ProgramCommand kSlot{CommandKind::Slot, 2, {}};
const milliseconds kLate = kCommandDeadline - milliseconds{1};
}  // namespace

TEST(CommandWait, ACommandAnsweredLateIsReportedAsDoneNotFailed) {
    {  // acknowledged at once, done just before the deadline
        CommandWait wait;
        EXPECT_TRUE(wait.Acknowledged(milliseconds{5}));
        wait.RequestReturned(true, milliseconds{6});
        wait.TimePassed(kAcknowledgementWait + milliseconds{1});  // the acknowledgement's wait is over
        EXPECT_FALSE(wait.Decided());
        EXPECT_EQ(wait.Left(milliseconds{1000}), kCommandDeadline - milliseconds{1000});
        wait.OutcomeArrived(CommandOutcome::Done, kLate);
        EXPECT_EQ(wait.Verdict(), WaitVerdict::Done);
        EXPECT_EQ(wait.ExitStatus(), 0);
        EXPECT_EQ(wait.Line(kSlot), u"Slot 2 is the current configuration and applied.");
    }
    {  // no outcome by the deadline: still running, which a late outcome does not undo
        CommandWait wait;
        EXPECT_TRUE(wait.Acknowledged(milliseconds{0}));
        wait.RequestReturned(true, milliseconds{0});
        wait.TimePassed(kLate);
        EXPECT_FALSE(wait.Decided());
        wait.TimePassed(kCommandDeadline);
        EXPECT_EQ(wait.Verdict(), WaitVerdict::StillRunning);
        EXPECT_EQ(wait.ExitStatus(), kStatusStillRunning);
        EXPECT_EQ(wait.Line(kSlot), u"The running copy of the program took the command and is still carrying it out after 30 s.");
        wait.OutcomeArrived(CommandOutcome::Failed, kCommandDeadline + milliseconds{1});
        EXPECT_EQ(wait.Verdict(), WaitVerdict::StillRunning);
    }
    {  // never acknowledged: does not respond, and an acknowledgement after that is turned down
        CommandWait wait;
        EXPECT_EQ(wait.Left(milliseconds{0}), kAcknowledgementWait);
        wait.RequestReturned(false, kAcknowledgementWait);
        EXPECT_EQ(wait.Verdict(), WaitVerdict::NoResponse);
        EXPECT_EQ(wait.ExitStatus(), kStatusNotDone);
        EXPECT_EQ(wait.Line(kSlot), u"The running copy of the program does not respond.");
        EXPECT_FALSE(wait.Acknowledged(kAcknowledgementWait + milliseconds{1}));
    }
    {  // an acknowledgement that comes after its wait is over is turned down too
        CommandWait wait;
        EXPECT_FALSE(wait.Acknowledged(kAcknowledgementWait));
        EXPECT_EQ(wait.Verdict(), WaitVerdict::NoResponse);
    }
}

TEST(CommandWait, RefusalsFailuresAndAnEndedCopyAreNotDone) {
    CommandWait refused;  // answered without an acknowledgement: another version
    refused.RequestReturned(true, milliseconds{3});
    EXPECT_EQ(refused.Verdict(), WaitVerdict::Refused);
    EXPECT_EQ(refused.ExitStatus(), 1);

    CommandWait failed;
    ASSERT_TRUE(failed.Acknowledged(milliseconds{0}));
    failed.OutcomeArrived(CommandOutcome::Accepted, milliseconds{1});  // no end
    EXPECT_FALSE(failed.Decided());
    failed.OutcomeArrived(CommandOutcome::Failed, milliseconds{2});
    EXPECT_EQ(failed.ExitStatus(), 1);
    EXPECT_EQ(failed.Line(kSlot), u"Cannot switch to slot 2.");

    CommandWait ended;
    ASSERT_TRUE(ended.Acknowledged(milliseconds{0}));
    ended.CopyGone(milliseconds{100});
    EXPECT_EQ(ended.Verdict(), WaitVerdict::CopyEnded);
    EXPECT_EQ(ended.ExitStatus(), 1);
    CommandWait gone;  // before any acknowledgement: it never took the command
    gone.CopyGone(milliseconds{100});
    EXPECT_EQ(gone.Verdict(), WaitVerdict::NoResponse);
}
