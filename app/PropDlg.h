#pragma once
// The properties of one remote entry. It has no buttons: Enter, Esc and the
// close box end it.

#include <wx/dialog.h>

class CPropDlg final : public wxDialog {
public:
    explicit CPropDlg(wxWindow* parent);
    // Builds the controls from the members; call once they are filled.
    void Build();

    bool isFolder = false;
    wxString nameText, pathText, sizeText, modifiedText, attributesText, ownerText;
};
