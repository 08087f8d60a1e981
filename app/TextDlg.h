#pragma once
// A one-line text prompt with a caller-given title.

#include <wx/dialog.h>
#include <wx/textctrl.h>

class CTextDlg final : public wxDialog {
public:
    static constexpr int EditId = 1010;

    CTextDlg(wxWindow* parent, const wxString& title, const wxString& text);
    // The text as typed (untrimmed); valid after OK.
    wxString text;

private:
    bool TransferDataFromWindow() override;
    wxTextCtrl* edit;
};
