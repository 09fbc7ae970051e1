// A system control (list box, edit) subclassed through comctl32: its messages reach a message
// table of ours first, and what the table leaves goes on to the control's own procedure. The
// editable list box and the in-place editor derive from it.
#pragma once

#include <windows.h>

#include "platform/message_table_win32.h"

class SubclassedControl {
public:
    SubclassedControl() = default;
    // Gives a control that is still alive its own procedure back.
    virtual ~SubclassedControl();
    // The subclass refers to this object, which therefore never moves.
    SubclassedControl(const SubclassedControl&) = delete;
    SubclassedControl& operator=(const SubclassedControl&) = delete;

    // Subclasses control; call on the control's thread. False when this object serves another
    // control already or comctl32 refuses.
    bool Attach(HWND control);
    // Removes the subclass; the control stays. Also done when the control is destroyed.
    void Detach();
    HWND Hwnd() const { return hwnd_; }

protected:
    // Derived constructors register their handlers in it.
    MessageTable& Messages() { return messages_; }
    // The control's own handling, for a handler that adds to it rather than replaces it.
    LRESULT DefaultProcessing(UINT message, WPARAM w, LPARAM l) const;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR self);

    HWND hwnd_ = nullptr;
    MessageTable messages_;
};
