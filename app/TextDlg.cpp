#include "app/TextDlg.h"

#include <wx/button.h>
#include <wx/sizer.h>

#include "app/DialogUnits.h"

CTextDlg::CTextDlg(wxWindow* parent, const wxString& title, const wxString& initial)
    : wxDialog(parent, 133, title), text(initial) {
    const int margin = DialogMargin(this);
    edit = new wxTextCtrl(this, EditId, text, wxDefaultPosition, Dlu(this, 123, 12));
    auto* ok = new wxButton(this, wxID_OK, wxT("OK"), wxDefaultPosition, Dlu(this, 50, 14));
    auto* cancel =
        new wxButton(this, wxID_CANCEL, wxT("Cancel"), wxDefaultPosition, Dlu(this, 50, 14));
    ok->SetDefault();
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(ok);
    buttons->Add(cancel);
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(edit, 0, wxEXPAND | wxALL, margin);
    column->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, margin);
    SetSizerAndFit(column);
    edit->SetFocus();
    edit->SelectAll();
}

bool CTextDlg::TransferDataFromWindow() {
    text = edit->GetValue();
    return true;
}
