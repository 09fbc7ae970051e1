// The popup and submenu windows: shaped to their row rectangles, painted off screen in one copy,
// and careful about lifetime, because a choice ends the popup from inside its own handlers.
#include "ui/function_popup_win32.h"

#include <algorithm>
#include <optional>

#include "platform/handles_win32.h"
#include "platform/window_framework_win32.h"
#include "resource.h"
#include "skin/window_region_win32.h"
#include "ui/function_popup_model.h"

namespace {
// Window sizes before the region crops them to the pictures.
constexpr int kPopupWindowWidth = 300;
constexpr int kPopupWindowHeight = 300;
constexpr int kSubmenuWindowWidth = 300;
constexpr int kSubmenuWindowHeight = 400;
constexpr wchar_t kPopupTitle[] = L"MainMenuDlg";
}  // namespace

// What the popup and its submenus share with the FunctionPopup that opened them. Held by
// shared pointer, so a handler that outlives its opening still finds it.
struct PopupSession {
    HWND owner = nullptr;
    HWND popup = nullptr;
    std::wstring skinsDir;
    LanguageMode language = LanguageMode::English;
    SkinFonts fonts;
    FunctionNameTable functionNames;
    PopupTexts texts{functionNames};
    std::function<void(int)> onChoose;
    bool closePending = false;
    PictureCache& pictures;
    std::vector<std::unique_ptr<PopupDialog>>& retired;

    MaskSize MaskOf(const wchar_t* picture) const {
        const std::shared_ptr<const SkinBitmap> mask = pictures.Get(skinsDir + L"\\" + picture);
        return mask ? MaskSize{mask->width, mask->height} : MaskSize{};
    }
};

// A popup window that may be running a handler that hands control to others (the choice
// callback, the main window's paint); it is not freed while it does.
class PopupDialog : public Dialog {
public:
    explicit PopupDialog(UINT templateId) : Dialog(templateId) {
        // Like menus, the popups never take the activation from the main window: they want no
        // keys, and an active popup that goes would hand the activation back and forth.
        Messages().Set(WM_MOUSEACTIVATE, [](WPARAM, LPARAM) -> std::optional<LRESULT> { return MA_NOACTIVATE; });
    }
    virtual bool Busy() const { return busy_ > 0; }

protected:
    struct BusyScope {
        explicit BusyScope(PopupDialog& d) : dialog(d) { ++dialog.busy_; }
        ~BusyScope() { --dialog.busy_; }
        PopupDialog& dialog;
    };

    // The list's paint: composed off screen and copied in one go.
    void PaintList(const std::shared_ptr<PopupSession>& session, const PopupPointer& pointer,
                   const std::vector<std::u16string>& texts, const ListPictures& pictures) {
        PaintScope paint(Hwnd());
        const PopupRows& rows = pointer.Rows();
        if (rows.Height() == 0) return;
        GdiCanvas canvas(paint.dc(), rows.Width(), rows.Height(), session->pictures, session->skinsDir,
                         session->fonts.english, session->fonts.chinese);
        if (!canvas.Ready()) return;
        PaintPopupList(canvas, pointer, texts, pictures, session->language);
        canvas.CopyTo(paint.dc());
    }

private:
    int busy_ = 0;
};

namespace {
// Frees the retired dialogs whose handlers have returned.
void FreeIdle(std::vector<std::unique_ptr<PopupDialog>>& retired) {
    std::erase_if(retired, [](const std::unique_ptr<PopupDialog>& d) { return !d->Busy(); });
}

void Retire(std::vector<std::unique_ptr<PopupDialog>>& retired, std::unique_ptr<PopupDialog> dialog) {
    if (!dialog) return;
    if (HWND window = dialog->Hwnd()) DestroyWindow(window);
    retired.push_back(std::move(dialog));
}

PopupGeometry GeometryOf(const PopupRows& rows) { return {rows.Width(), rows.RowHeight(), rows.Height()}; }
}  // namespace

class CSubMenuDlg : public PopupDialog {
public:
    CSubMenuDlg(std::shared_ptr<PopupSession> session, PopupGroup group)
        : PopupDialog(IDD_POPUP_PAGE2),
          session_(std::move(session)),
          group_(group),
          pointer_(PopupRows(session_->MaskOf(kSubmenuMaskPicture), kSubmenuRowsInMask,
                             SubmenuRowCount(group, session_->texts.macroCount),
                             SubmenuRowCount(group, session_->texts.macroCount))),
          texts_(SubmenuRowTexts(session_->texts, group)) {
        Messages().On<WM_INITDIALOG>(this, &CSubMenuDlg::OnInitDialog);
        Messages().On<WM_MOUSEMOVE>(this, &CSubMenuDlg::OnMouseMove);
        Messages().On<WM_LBUTTONDOWN>(this, &CSubMenuDlg::OnLButtonDown);
        Messages().On<WM_LBUTTONUP>(this, &CSubMenuDlg::OnLButtonUp);
        Messages().On<WM_PAINT>(this, &CSubMenuDlg::OnPaint);
        Messages().On<WM_ERASEBKGND>(this, &CSubMenuDlg::OnEraseBackground);
        // Enter and Escape must not end it behind the popup's back.
        Messages().OnCommand({IDOK, IDCANCEL}, this, &CSubMenuDlg::Ignore);
    }

private:
    BOOL OnInitDialog() {
        // No rows (the macro group without macros) gives an empty region: an invisible submenu.
        ShapePopup(Hwnd(), GeometryOf(pointer_.Rows()));
        return FALSE;
    }
    void OnMouseMove(POINT p) {
        if (pointer_.MouseMove(p.x, p.y)) InvalidateRect(Hwnd(), nullptr, TRUE);
    }
    void OnLButtonDown(POINT) {
        pointer_.Press();
        InvalidateRect(Hwnd(), nullptr, TRUE);
    }
    void OnLButtonUp(POINT) {
        pointer_.Release();
        const std::optional<std::int32_t> code =
            SubmenuChoice(group_, pointer_.HotRow(), session_->texts.macroCount);
        if (!code) return;
        BusyScope busy(*this);
        const std::shared_ptr<PopupSession> session = session_;
        const HWND self = Hwnd();
        if (const std::function<void(int)> choose = session->onChoose) choose(*code);
        session->closePending = true;
        InvalidateRect(self, nullptr, TRUE);
        // The popup hides now; the main window's paint destroys it, and this submenu with it.
        if (IsWindow(session->popup)) SendMessageW(session->popup, WM_CLOSE, 0, 0);
        if (IsWindow(session->owner)) UpdateWindow(session->owner);
        if (IsWindow(self)) DestroyWindow(self);
    }
    void OnPaint() { PaintList(session_, pointer_, texts_, kSubmenuPictures); }
    BOOL OnEraseBackground(HDC) { return TRUE; }
    void Ignore() {}

    std::shared_ptr<PopupSession> session_;
    PopupGroup group_;
    PopupPointer pointer_;
    std::vector<std::u16string> texts_;
};

class CMenuDlg : public PopupDialog {
public:
    explicit CMenuDlg(std::shared_ptr<PopupSession> session)
        : PopupDialog(IDD_POPUP_PAGE1),
          session_(std::move(session)),
          pointer_(PopupRows(session_->MaskOf(kMenuMaskPicture), kPopupRowsInMask, kPopupRowsInMask, kPopupHitRows)),
          texts_(PopupRowTexts(session_->texts)) {
        Messages().On<WM_INITDIALOG>(this, &CMenuDlg::OnInitDialog);
        Messages().On<WM_MOUSEMOVE>(this, &CMenuDlg::OnMouseMove);
        Messages().On<WM_LBUTTONDOWN>(this, &CMenuDlg::OnLButtonDown);
        Messages().On<WM_LBUTTONUP>(this, &CMenuDlg::OnLButtonUp);
        Messages().On<WM_PAINT>(this, &CMenuDlg::OnPaint);
        Messages().On<WM_ERASEBKGND>(this, &CMenuDlg::OnEraseBackground);
        // Closing only hides it, as a modeless dialog does; its owner destroys it.
        Messages().On<WM_CLOSE>(this, &CMenuDlg::Hide);
        Messages().OnCommand({IDOK, IDCANCEL}, this, &CMenuDlg::Hide);
    }

    bool Busy() const override { return PopupDialog::Busy() || (submenu_ && submenu_->Busy()); }
    HWND SubmenuWindow() const { return submenu_ ? submenu_->Hwnd() : nullptr; }

private:
    BOOL OnInitDialog() {
        SetWindowTextW(Hwnd(), kPopupTitle);
        ShapePopup(Hwnd(), GeometryOf(pointer_.Rows()));
        return FALSE;
    }
    void OnMouseMove(POINT p) {
        if (pointer_.MouseMove(p.x, p.y)) InvalidateRect(Hwnd(), nullptr, TRUE);
    }
    void OnLButtonDown(POINT) {
        pointer_.Press();
        InvalidateRect(Hwnd(), nullptr, TRUE);
    }
    void OnLButtonUp(POINT) {
        pointer_.Release();
        InvalidateRect(Hwnd(), nullptr, TRUE);
        const std::optional<std::int32_t> code = PopupChoice(pointer_.HotRow());
        if (!code) return;
        BusyScope busy(*this);
        const std::shared_ptr<PopupSession> session = session_;
        const HWND self = Hwnd();
        if (const std::function<void(int)> choose = session->onChoose) choose(*code);
        // The callback may have destroyed the popup already.
        if (IsWindow(self)) DestroyWindow(self);
    }
    void OnPaint() {
        PaintList(session_, pointer_, texts_, kPopupPictures);
        // The submenu follows the hot row: rebuilt at every paint over a group row, gone at the
        // first paint over any other.
        Retire(session_->retired, std::move(submenu_));
        FreeIdle(session_->retired);
        const int row = pointer_.HotRow();
        const PopupGroup group = SubmenuGroupOfRow(row);
        if (group == PopupGroup::None) return;
        auto submenu = std::make_unique<CSubMenuDlg>(session_, group);
        if (!submenu->Create(Hwnd())) return;
        RECT popup{};
        GetWindowRect(Hwnd(), &popup);
        const ScreenPoint at =
            SubmenuOrigin({popup.left, popup.top}, pointer_.Rows(), row, session_->texts.macroCount);
        MoveWindow(submenu->Hwnd(), static_cast<int>(at.x), static_cast<int>(at.y), kSubmenuWindowWidth,
                   kSubmenuWindowHeight, TRUE);
        ShowWindow(submenu->Hwnd(), SW_SHOWNA);
        submenu_ = std::move(submenu);
    }
    BOOL OnEraseBackground(HDC) { return TRUE; }
    void Hide() { ShowWindow(Hwnd(), SW_HIDE); }

    std::shared_ptr<PopupSession> session_;
    PopupPointer pointer_;
    std::vector<std::u16string> texts_;
    std::unique_ptr<CSubMenuDlg> submenu_;
};

FunctionPopup::FunctionPopup() = default;
FunctionPopup::~FunctionPopup() = default;

void FunctionPopup::Open(HWND owner, POINT screenOrigin, const Context& context,
                         std::function<void(int code)> onChoose) {
    Destroy();
    FreeIdle(retired_);
    session_ = std::shared_ptr<PopupSession>(new PopupSession{
        .owner = owner,
        .skinsDir = ToWide(context.skinsDir),
        .language = context.language,
        .fonts = context.fonts,
        .functionNames = context.functionNames,
        .onChoose = std::move(onChoose),
        .pictures = pictures_,
        .retired = retired_,
    });
    session_->texts.macroNames = context.macroNames;
    session_->texts.macroCount = std::clamp(context.macroCount, 0, kMaxMacros);

    auto menu = std::make_unique<CMenuDlg>(session_);
    if (!menu->Create(owner)) return;
    session_->popup = menu->Hwnd();
    menu_ = std::move(menu);
    MoveWindow(menu_->Hwnd(), screenOrigin.x, screenOrigin.y, kPopupWindowWidth, kPopupWindowHeight, TRUE);
    ShowWindow(menu_->Hwnd(), SW_SHOWNA);
}

void FunctionPopup::Destroy() {
    // Owned windows go with their owner: destroying the popup takes the submenu along.
    Retire(retired_, std::move(menu_));
    session_.reset();
}

bool FunctionPopup::IsOpen() const { return menu_ && menu_->Hwnd() != nullptr; }

void FunctionPopup::DestroyIfClosePending() {
    if (session_ && session_->closePending) Destroy();
}

HWND FunctionPopup::PopupWindow() const { return menu_ ? menu_->Hwnd() : nullptr; }
HWND FunctionPopup::SubmenuWindow() const { return menu_ ? menu_->SubmenuWindow() : nullptr; }
