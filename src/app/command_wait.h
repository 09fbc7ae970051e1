// How a start that handed its command to the running copy waits, and what it then says. The copy
// takes the command at once (it acknowledges it before its request returns) and carries it out
// later, so a command that takes long is not one that failed: the start waits for the
// acknowledgement up to kAcknowledgementWait and for the outcome up to kCommandDeadline, both
// counted from the hand-over, and past the deadline says the copy is still at it.
#pragma once

#include <chrono>
#include <string>

#include "app/program_command.h"

inline constexpr std::chrono::milliseconds kAcknowledgementWait{10'000};
inline constexpr std::chrono::milliseconds kCommandDeadline{30'000};
// The deadline as the usage and the lines say it ("30 s").
std::u16string CommandDeadlineText();

// The exit statuses of a start that handed a command over (2 is a bad command line's).
inline constexpr int kStatusDone = 0;
inline constexpr int kStatusNotDone = 1;
inline constexpr int kStatusStillRunning = 3;

enum class WaitVerdict {
    Waiting,       // nothing decided yet
    Done,          // the copy's outcome
    Failed,        // the copy's outcome
    Refused,       // the copy could not read the request
    NoResponse,    // the copy never acknowledged: it does not carry the command out either
    StillRunning,  // acknowledged, no outcome by the deadline: the copy carries it out still
    CopyEnded,     // acknowledged, then the copy's window went before any outcome
};

class CommandWait {
public:
    using Time = std::chrono::milliseconds;  // since the hand-over began

    // The copy acknowledges: true when this start takes it, i.e. still waits for the
    // acknowledgement. Only then may the copy carry the command out.
    bool Acknowledged(Time now);
    // The request itself returned; answered is false when it timed out or the copy was hung.
    void RequestReturned(bool answered, Time now);
    void OutcomeArrived(CommandOutcome outcome, Time now);
    void TimePassed(Time now);
    void CopyGone(Time now);

    WaitVerdict Verdict() const { return verdict_; }
    bool Decided() const { return verdict_ != WaitVerdict::Waiting; }
    // How long to wait at most for the next event; zero once decided.
    Time Left(Time now) const;
    int ExitStatus() const;
    std::u16string Line(const ProgramCommand& command) const;

private:
    void Decide(WaitVerdict verdict) {
        if (!Decided()) verdict_ = verdict;
    }

    bool acknowledged_ = false;
    WaitVerdict verdict_ = WaitVerdict::Waiting;
};
