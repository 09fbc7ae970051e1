// WarningDlg: shaped from its mask, painted off screen, answering by the portable warning model.
#include "ui/warning_dialog_win32.h"

#include "platform/handles_win32.h"
#include "platform/window_framework_win32.h"
#include "resource.h"
#include "skin/canvas_gdi_win32.h"
#include "skin/window_region_win32.h"
#include "ui/warning_model.h"

namespace {

class WarningDlg : public Dialog {
public:
    WarningDlg(POINT origin, const SkinPage& warning, std::wstring skinsDir, LanguageMode language, SkinFonts fonts)
        : Dialog(IDD_POPUP_PAGE3),
          origin_(origin),
          warning_(warning),
          model_(warning),
          skinsDir_(std::move(skinsDir)),
          language_(language),
          fonts_(fonts) {
        Messages().On<WM_INITDIALOG>(this, &WarningDlg::OnInitDialog);
        Messages().On<WM_MOUSEMOVE>(this, &WarningDlg::OnMouseMove);
        Messages().On<WM_LBUTTONUP>(this, &WarningDlg::OnLButtonUp);
        Messages().On<WM_PAINT>(this, &WarningDlg::OnPaint);
        Messages().On<WM_ERASEBKGND>(this, &WarningDlg::OnEraseBackground);
        // Enter must not answer; Escape and closing keep the base's cancel, which ends with 2.
        Messages().OnCommand({IDOK}, this, &WarningDlg::Ignore);
    }

private:
    BOOL OnInitDialog() {
        const WarningSize fallback = WarningFallbackSize(warning_);
        const MaskShape shape =
            ShapeWindowFromMask(Hwnd(), skinsDir_ + L"\\" + kWarningMaskPicture, fallback.width, fallback.height);
        size_ = {shape.width, shape.height};
        if (size_.width <= 0 || size_.height <= 0) {
            EndModal(kWarningCancel);
            return FALSE;
        }
        MoveWindow(Hwnd(), origin_.x, origin_.y, size_.width, size_.height, TRUE);
        return TRUE;
    }
    void OnMouseMove(POINT p) {
        if (model_.MouseMove(p.x, p.y)) InvalidateRect(Hwnd(), nullptr, TRUE);
    }
    void OnLButtonUp(POINT) {
        if (const std::optional<int> answer = model_.Release()) EndModal(*answer);
    }
    void OnPaint() {
        PaintScope paint(Hwnd());
        GdiCanvas canvas(size_.width, size_.height, pictures_, skinsDir_, fonts_.english, fonts_.chinese);
        if (!canvas.Ready()) return;
        PaintWarning(canvas, warning_, model_.Hot(), size_, language_);
        canvas.CopyTo(paint.dc());
    }
    BOOL OnEraseBackground(HDC) { return TRUE; }
    void Ignore() {}

    POINT origin_;
    const SkinPage& warning_;
    WarningModel model_;
    std::wstring skinsDir_;
    LanguageMode language_;
    SkinFonts fonts_;
    WarningSize size_;
    PictureCache pictures_;
};

}  // namespace

int ShowWarningDialog(HWND owner, POINT screenOrigin, const SkinPage& warning, const std::u16string& skinsDir,
                      LanguageMode language, SkinFonts fonts) {
    WarningDlg dialog(screenOrigin, warning, ToWide(skinsDir), language, fonts);
    return dialog.DoModal(owner) == kWarningConfirm ? kWarningConfirm : kWarningCancel;
}
