#include "app/program_command.h"

std::u16string OutcomeLine(const ProgramCommand& command, CommandOutcome outcome) {
    if (outcome == CommandOutcome::Refused) return u"The running copy of the program refused the command (another version?).";
    if (outcome == CommandOutcome::Accepted) return u"The running copy of the program took the command.";
    const bool done = outcome == CommandOutcome::Done;
    switch (command.kind) {
        case CommandKind::Slot: {
            const std::u16string slot(1, static_cast<char16_t>(u'0' + command.slot));
            return done ? u"Slot " + slot + u" is the current configuration and applied."
                        : u"Cannot switch to slot " + slot + u".";
        }
        case CommandKind::Export:
            return done ? u"Exported the configuration to " + command.file + u"."
                        : u"Cannot write the configuration to " + command.file + u".";
        case CommandKind::Import:
            return done ? u"Imported " + command.file + u" into the current slot and applied it."
                        : u"Cannot import " + command.file + u": the file does not exist.";
    }
    return u"";
}
