#pragma once
// Sizes and spacing from dialog units, the same for every dialog.

#include <wx/window.h>

// A size given in dialog units, in pixels for this window's font.
inline wxSize Dlu(wxWindow* window, int width, int height) {
    return window->ConvertDialogToPixels(wxSize(width, height));
}

// The space between controls and around a dialog's edge (7 dialog units).
inline int DialogMargin(wxWindow* window) {
    return window->ConvertDialogToPixels(wxSize(7, 7)).GetWidth();
}

// Makes a control's font bold.
void MakeDlgItemBold(wxWindow* control);
