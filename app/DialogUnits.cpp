#include "app/DialogUnits.h"

#include <wx/font.h>

void MakeDlgItemBold(wxWindow* control) {
    if (!control) {
        return;
    }
    wxFont font = control->GetFont();
    if (!font.IsOk()) {
        return;
    }
    font.SetWeight(wxFONTWEIGHT_BOLD);
    control->SetFont(font);
}
