#include "ui/tray_tip.h"

#include "core/app_paths.h"
#include "platform/text.h"

std::u16string TrayTipText(const ProgramState& program) {
    const bool english = program.language.load() == LanguageMode::English;
    std::u16string tip = WindowTitle(program.language.load());
    tip += english ? u" \u00B7 Slot " : u" \u00B7 \u914D\u7F6E ";  // 配置
    tip += DecimalText(program.CurConfig);
    tip += english ? u" \u00B7 DPI stage " : u" \u00B7 DPI \u6863\u4F4D ";  // 档位
    tip += DecimalText(program.config.BoundedDpiLevel() + 1);
    if (program.profile) tip += u" \u00B7 " + program.profile->program;
    return tip;
}
