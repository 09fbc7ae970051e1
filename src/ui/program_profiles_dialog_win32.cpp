// The dialog shows an AppBindings and hands each click to it; the list is refilled after every
// change, so what shows is always the model.
#include "ui/program_profiles_dialog_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "config/active_config.h"
#include "platform/late_function_win32.h"
#include "platform/text.h"
#include "platform/wide_text_win32.h"
#include "platform/window_framework_win32.h"
#include "resource.h"

namespace {
struct DialogTexts {
    const char16_t* title;
    const char16_t* programColumn;
    const char16_t* slotColumn;
    const char16_t* add;
    const char16_t* addLastInFront;
    const char16_t* remove;
    const char16_t* slot;
    const char16_t* on;
    const char16_t* ok;
    const char16_t* cancel;
    const char16_t* filterName;
};

constexpr DialogTexts kEnglish{u"Program profiles", u"Program", u"Slot", u"Add…",
                               u"Add the program last in front", u"Remove", u"Slot:",
                               u"Switch to a program's slot while it is in front", u"OK", u"Cancel",
                               u"Programs (*.exe)"};
constexpr DialogTexts kChinese{u"程序配置", u"程序", u"配置", u"添加…", u"添加最近在前台的程序", u"删除", u"配置：",
                               u"前台程序切换到其配置", u"确定", u"取消", u"程序 (*.exe)"};

const DialogTexts& TextsOf(LanguageMode language) { return language == LanguageMode::English ? kEnglish : kChinese; }

// The list view is a common control; the program loads comctl32 only for the windows that use it.
bool InitListViewClass() {
    const auto init = LateFunction<decltype(InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx");
    if (!init) return false;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    return init(&controls) != FALSE;
}

constexpr int kSlotColumnWidth = 60;

class ProgramProfilesDialog : public Dialog {
public:
    ProgramProfilesDialog(LanguageMode language, const AppBindings& current, FileDialogPort& files,
                          std::u16string lastInFront)
        : Dialog(IDD_PROGRAM_PROFILES),
          texts_(TextsOf(language)),
          bindings_(current),
          files_(files),
          lastInFront_(std::move(lastInFront)) {
        MessageTable& m = Messages();
        m.On<WM_INITDIALOG>(this, &ProgramProfilesDialog::OnInitDialog);
        m.OnCommand({IDC_PROFILES_ADD}, this, &ProgramProfilesDialog::OnAdd);
        m.OnCommand({IDC_PROFILES_ADD_LAST_IN_FRONT}, this, &ProgramProfilesDialog::OnAddLastInFront);
        m.OnCommand({IDC_PROFILES_REMOVE}, this, &ProgramProfilesDialog::OnRemove);
        m.OnCommand({IDC_PROFILES_SLOT}, this, &ProgramProfilesDialog::OnSlotCommand);
        m.OnCommand({IDOK}, this, &ProgramProfilesDialog::OnOk);
        m.Set(WM_NOTIFY, [this](WPARAM, LPARAM l) -> std::optional<LRESULT> {
            const auto* header = reinterpret_cast<const NMHDR*>(l);
            if (header->idFrom == IDC_PROFILES_LIST && header->code == LVN_ITEMCHANGED) ShowSelection();
            return std::nullopt;
        });
    }

    const AppBindings& Edited() const { return bindings_; }

private:
    HWND Item(int id) const { return GetDlgItem(Hwnd(), id); }
    void SetText(int id, const char16_t* text) const { SetDlgItemTextW(Hwnd(), id, ToWide(text).c_str()); }

    BOOL OnInitDialog() {
        SetWindowTextW(Hwnd(), ToWide(texts_.title).c_str());
        SetText(IDC_PROFILES_ADD, texts_.add);
        SetText(IDC_PROFILES_ADD_LAST_IN_FRONT, texts_.addLastInFront);
        SetText(IDC_PROFILES_REMOVE, texts_.remove);
        SetText(IDC_PROFILES_SLOT_LABEL, texts_.slot);
        SetText(IDC_PROFILES_ON, texts_.on);
        SetText(IDOK, texts_.ok);
        SetText(IDCANCEL, texts_.cancel);
        EnableWindow(Item(IDC_PROFILES_ADD_LAST_IN_FRONT), !lastInFront_.empty());
        CheckDlgButton(Hwnd(), IDC_PROFILES_ON, bindings_.On() ? BST_CHECKED : BST_UNCHECKED);

        const HWND list = Item(IDC_PROFILES_LIST);
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        RECT client{};
        GetClientRect(list, &client);
        AddColumn(0, texts_.programColumn, client.right - kSlotColumnWidth - GetSystemMetrics(SM_CXVSCROLL));
        AddColumn(1, texts_.slotColumn, kSlotColumnWidth);
        const HWND slots = Item(IDC_PROFILES_SLOT);
        for (int slot = 1; slot <= kUserSlotCount; ++slot) {
            SendMessageW(slots, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(DecimalText(slot)).c_str()));
        }
        Refill(bindings_.Bindings().empty() ? std::nullopt : std::optional<std::size_t>(0));
        return TRUE;
    }

    void AddColumn(int index, const char16_t* title, int width) const {
        std::wstring text = ToWide(title);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = text.data();
        column.cx = width;
        column.iSubItem = index;
        SendMessageW(Item(IDC_PROFILES_LIST), LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
    }

    // The list as the model has it, with the row select selected (none without it).
    void Refill(std::optional<std::size_t> select) {
        const HWND list = Item(IDC_PROFILES_LIST);
        refilling_ = true;
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        const auto& bindings = bindings_.Bindings();
        for (std::size_t i = 0; i < bindings.size(); ++i) {
            std::wstring program = ToWide(bindings[i].program);
            std::wstring slot = ToWide(DecimalText(bindings[i].slot));
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(i);
            item.pszText = program.data();
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            item.iSubItem = 1;
            item.pszText = slot.data();
            SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        }
        if (select && *select < bindings.size()) {
            LVITEMW state{};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageW(list, LVM_SETITEMSTATE, *select, reinterpret_cast<LPARAM>(&state));
            SendMessageW(list, LVM_ENSUREVISIBLE, *select, FALSE);
        }
        refilling_ = false;
        ShowSelection();
    }

    std::optional<std::size_t> Selected() const {
        const LRESULT index = SendMessageW(Item(IDC_PROFILES_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                           LVNI_SELECTED);
        if (index < 0 || static_cast<std::size_t>(index) >= bindings_.Bindings().size()) return std::nullopt;
        return static_cast<std::size_t>(index);
    }

    // Remove and the slot choice act on the selected binding; without one they are off.
    void ShowSelection() {
        if (refilling_) return;
        const std::optional<std::size_t> selected = Selected();
        EnableWindow(Item(IDC_PROFILES_REMOVE), selected.has_value());
        EnableWindow(Item(IDC_PROFILES_SLOT), selected.has_value());
        const int slotIndex = selected ? bindings_.Bindings()[*selected].slot - 1 : -1;
        SendMessageW(Item(IDC_PROFILES_SLOT), CB_SETCURSEL, static_cast<WPARAM>(slotIndex), 0);
    }

    // A new program starts on slot 1; one bound already is only selected.
    void Bind(std::u16string_view program) {
        if (const std::optional<std::size_t> index = bindings_.Bind(program, 1)) Refill(index);
    }

    void OnAdd() {
        // The file dialog is modal to the main window, which it enables again when it ends; this
        // one must not take clicks meanwhile, nor the main window afterwards.
        const HWND owner = GetWindow(Hwnd(), GW_OWNER);
        const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
        EnableWindow(Hwnd(), FALSE);
        const std::optional<std::u16string> program = files_.PickFileToOpen({texts_.filterName, u"*.exe", u"exe", {}});
        if (owner && !ownerWasEnabled) EnableWindow(owner, FALSE);
        EnableWindow(Hwnd(), TRUE);
        SetForegroundWindow(Hwnd());
        if (program) Bind(*program);
    }

    void OnAddLastInFront() {
        if (!lastInFront_.empty()) Bind(lastInFront_);
    }

    void OnRemove() {
        const std::optional<std::size_t> selected = Selected();
        if (!selected) return;
        bindings_.Remove(*selected);
        const std::size_t count = bindings_.Bindings().size();
        Refill(count == 0 ? std::nullopt : std::optional<std::size_t>(std::min(*selected, count - 1)));
    }

    void OnSlotCommand(const CommandEvent& command) {
        if (command.code != CBN_SELCHANGE) return;
        const std::optional<std::size_t> selected = Selected();
        const LRESULT choice = SendMessageW(Item(IDC_PROFILES_SLOT), CB_GETCURSEL, 0, 0);
        if (!selected || choice < 0) return;
        bindings_.SetSlot(*selected, static_cast<int>(choice) + 1);
        Refill(selected);
    }

    void OnOk() {
        bindings_.SetOn(IsDlgButtonChecked(Hwnd(), IDC_PROFILES_ON) == BST_CHECKED);
        EndModal(IDOK);
    }

    const DialogTexts& texts_;
    AppBindings bindings_;
    FileDialogPort& files_;
    std::u16string lastInFront_;
    bool refilling_ = false;
};
}  // namespace

std::optional<AppBindings> ShowProgramProfilesDialog(HWND owner, LanguageMode language, const AppBindings& current,
                                                     FileDialogPort& files, const std::u16string& lastInFront) {
    if (!InitListViewClass()) return std::nullopt;
    ProgramProfilesDialog dialog(language, current, files, lastInFront);
    if (dialog.DoModal(owner) != IDOK) return std::nullopt;
    return dialog.Edited();
}
