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

namespace {
PopupGeometry GeometryOf(const PopupRows& rows) { return {rows.Width(), rows.RowHeight(), rows.Height()}; }
}  // namespace

// One list window, the popup's or a submenu's: shaped to its rows, following the pointer over
// them, painted off screen. While a handler hands control to others (the choice callback, the
// main window's paint) the dialog is busy and is not freed.
class PopupDialog : public Dialog {
public:
    PopupDialog(UINT templateId, std::shared_ptr<PopupSession> session, PopupRows rows,
                std::vector<std::u16string> texts, ListPictures pictures)
        : Dialog(templateId), session_(std::move(session)), pointer_(rows), texts_(std::move(texts)),
          pictures_(pictures) {
        Messages().On<WM_MOUSEMOVE>(this, &PopupDialog::OnMouseMove);
        Messages().On<WM_LBUTTONDOWN>(this, &PopupDialog::OnLButtonDown);
        Messages().On<WM_ERASEBKGND>(this, &PopupDialog::OnEraseBackground);
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

    // No rows (the macro group without macros, an unreadable mask) give an empty region: an
    // invisible list.
    void Shape() { ShapePopup(Hwnd(), GeometryOf(pointer_.Rows())); }

    // Calls back with code and returns the session, which stays valid even when the callback
    // has destroyed this window.
    std::shared_ptr<PopupSession> Choose(std::int32_t code) {
        std::shared_ptr<PopupSession> session = session_;
        if (const std::function<void(int)> choose = session->onChoose) choose(code);
        return session;
    }

    void PaintList() {
        PaintScope paint(Hwnd());
        const PopupRows& rows = pointer_.Rows();
        if (rows.Height() == 0) return;
        GdiCanvas canvas(rows.Width(), rows.Height(), session_->pictures, session_->skinsDir,
                         session_->fonts.english, session_->fonts.chinese);
        if (!canvas.Ready()) return;
        PaintPopupList(canvas, pointer_, texts_, pictures_, session_->language);
        canvas.CopyTo(paint.dc());
    }

    std::shared_ptr<PopupSession> session_;
    PopupPointer pointer_;

private:
    void OnMouseMove(POINT p) {
        if (pointer_.MouseMove(p.x, p.y)) InvalidateRect(Hwnd(), nullptr, TRUE);
    }
    void OnLButtonDown(POINT) {
        pointer_.Press();
        InvalidateRect(Hwnd(), nullptr, TRUE);
    }
    BOOL OnEraseBackground(HDC) { return TRUE; }

    std::vector<std::u16string> texts_;
    ListPictures pictures_;
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

PopupRows SubmenuRows(const PopupSession& session, PopupGroup group) {
    const int rows = SubmenuRowCount(group, session.texts.macroCount);
    return PopupRows(session.MaskOf(kSubmenuMaskPicture), kSubmenuRowsInMask, rows, rows);
}
}  // namespace

class CSubMenuDlg : public PopupDialog {
public:
    CSubMenuDlg(const std::shared_ptr<PopupSession>& session, PopupGroup group)
        : PopupDialog(IDD_POPUP_PAGE2, session, SubmenuRows(*session, group), SubmenuRowTexts(session->texts, group),
                      kSubmenuPictures),
          group_(group) {
        Messages().On<WM_INITDIALOG>(this, &CSubMenuDlg::OnInitDialog);
        Messages().On<WM_LBUTTONUP>(this, &CSubMenuDlg::OnLButtonUp);
        Messages().On<WM_PAINT>(this, &CSubMenuDlg::PaintList);
        // Enter and Escape must not end it behind the popup's back.
        Messages().OnCommand({IDOK, IDCANCEL}, this, &CSubMenuDlg::Ignore);
    }

private:
    BOOL OnInitDialog() {
        Shape();
        return FALSE;
    }
    void OnLButtonUp(POINT) {
        pointer_.Release();
        const std::optional<std::int32_t> code = SubmenuChoice(group_, pointer_.HotRow(), session_->texts.macroCount);
        if (!code) return;
        BusyScope busy(*this);
        const HWND self = Hwnd();
        const std::shared_ptr<PopupSession> session = Choose(*code);
        session->closePending = true;
        InvalidateRect(self, nullptr, TRUE);
        // The popup hides now; the main window's paint destroys it, and this submenu with it.
        if (IsWindow(session->popup)) SendMessageW(session->popup, WM_CLOSE, 0, 0);
        if (IsWindow(session->owner)) UpdateWindow(session->owner);
        if (IsWindow(self)) DestroyWindow(self);
    }
    void Ignore() {}

    PopupGroup group_;
};

class CMenuDlg : public PopupDialog {
public:
    explicit CMenuDlg(const std::shared_ptr<PopupSession>& session)
        : PopupDialog(IDD_POPUP_PAGE1, session,
                      PopupRows(session->MaskOf(kMenuMaskPicture), kPopupRowsInMask, kPopupRowsInMask, kPopupHitRows),
                      PopupRowTexts(session->texts), kPopupPictures) {
        Messages().On<WM_INITDIALOG>(this, &CMenuDlg::OnInitDialog);
        Messages().On<WM_LBUTTONUP>(this, &CMenuDlg::OnLButtonUp);
        Messages().On<WM_PAINT>(this, &CMenuDlg::OnPaint);
        // Closing only hides it, as a modeless dialog does; its owner destroys it.
        Messages().On<WM_CLOSE>(this, &CMenuDlg::Hide);
        Messages().OnCommand({IDOK, IDCANCEL}, this, &CMenuDlg::Hide);
    }

    bool Busy() const override { return PopupDialog::Busy() || (submenu_ && submenu_->Busy()); }
    HWND SubmenuWindow() const { return submenu_ ? submenu_->Hwnd() : nullptr; }

private:
    BOOL OnInitDialog() {
        SetWindowTextW(Hwnd(), kPopupTitle);
        Shape();
        return FALSE;
    }
    void OnLButtonUp(POINT) {
        pointer_.Release();
        InvalidateRect(Hwnd(), nullptr, TRUE);
        const std::optional<std::int32_t> code = PopupChoice(pointer_.HotRow());
        if (!code) return;
        BusyScope busy(*this);
        const HWND self = Hwnd();
        Choose(*code);
        // The callback may have destroyed the popup already.
        if (IsWindow(self)) DestroyWindow(self);
    }
    void OnPaint() {
        PaintList();
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
        const ScreenPoint at = SubmenuOrigin({popup.left, popup.top}, pointer_.Rows(), row, session_->texts.macroCount);
        MoveWindow(submenu->Hwnd(), static_cast<int>(at.x), static_cast<int>(at.y), kSubmenuWindowWidth,
                   kSubmenuWindowHeight, TRUE);
        ShowWindow(submenu->Hwnd(), SW_SHOWNA);
        submenu_ = std::move(submenu);
    }
    void Hide() { ShowWindow(Hwnd(), SW_HIDE); }

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
