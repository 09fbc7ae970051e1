#include "app/command_wait.h"

#include <algorithm>

std::u16string CommandDeadlineText() {
    std::u16string text;
    for (const char c : std::to_string(std::chrono::duration_cast<std::chrono::seconds>(kCommandDeadline).count())) {
        text += static_cast<char16_t>(c);
    }
    return text + u" s";
}

bool CommandWait::Acknowledged(Time now) {
    TimePassed(now);
    if (Decided()) return false;  // told "does not respond" already: the copy must drop it
    acknowledged_ = true;
    return true;
}

void CommandWait::RequestReturned(bool answered, Time now) {
    TimePassed(now);
    if (acknowledged_) return;  // the acknowledgement counts, whatever the request returned
    // An answer without an acknowledgement is a refusal: the copy acknowledges before it takes a
    // command, and one of another version reads none.
    Decide(answered ? WaitVerdict::Refused : WaitVerdict::NoResponse);
}

void CommandWait::OutcomeArrived(CommandOutcome outcome, Time) {
    // An outcome a moment past the deadline is still the truth, so time is not looked at first.
    switch (outcome) {
        case CommandOutcome::Done: Decide(WaitVerdict::Done); break;
        case CommandOutcome::Failed: Decide(WaitVerdict::Failed); break;
        case CommandOutcome::Refused: Decide(WaitVerdict::Refused); break;
        case CommandOutcome::Accepted: break;  // the acknowledgement, which Acknowledged takes
    }
}

void CommandWait::TimePassed(Time now) {
    if (!acknowledged_ && now >= kAcknowledgementWait) Decide(WaitVerdict::NoResponse);
    if (acknowledged_ && now >= kCommandDeadline) Decide(WaitVerdict::StillRunning);
}

void CommandWait::CopyGone(Time now) {
    TimePassed(now);
    Decide(acknowledged_ ? WaitVerdict::CopyEnded : WaitVerdict::NoResponse);
}

CommandWait::Time CommandWait::Left(Time now) const {
    if (Decided()) return Time{0};
    const Time limit = acknowledged_ ? kCommandDeadline : kAcknowledgementWait;
    return std::max(Time{0}, limit - now);
}

int CommandWait::ExitStatus() const {
    switch (verdict_) {
        case WaitVerdict::Done: return kStatusDone;
        case WaitVerdict::StillRunning: return kStatusStillRunning;
        default: return kStatusNotDone;
    }
}

std::u16string CommandWait::Line(const ProgramCommand& command) const {
    switch (verdict_) {
        case WaitVerdict::Waiting: return u"";
        case WaitVerdict::Done: return OutcomeLine(command, CommandOutcome::Done);
        case WaitVerdict::Failed: return OutcomeLine(command, CommandOutcome::Failed);
        case WaitVerdict::Refused: return OutcomeLine(command, CommandOutcome::Refused);
        case WaitVerdict::NoResponse: return u"The running copy of the program does not respond.";
        case WaitVerdict::StillRunning:
            return u"The running copy of the program took the command and is still carrying it out after " +
                   CommandDeadlineText() + u".";
        case WaitVerdict::CopyEnded: return u"The running copy of the program ended before it answered.";
    }
    return u"";
}
