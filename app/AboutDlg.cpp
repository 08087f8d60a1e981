#include "app/AboutDlg.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/DialogUnits.h"
#include "app/StaticEx.h"
#include "app/ToolBarEx.h"

wxIcon ProgramIcon() {
    // The Connect button's image stands for the program.
    std::vector<wxBitmap> images = CToolBarEx::LoadTrueColorImages();
    wxIcon icon;
    if (!images.empty()) {
        icon.CopyFromBitmap(images[0]);
    }
    return icon;
}

CAboutDlg::CAboutDlg(wxWindow* parent) : wxDialog(parent, 100, wxT("About Pellix FTP")) {
    const int margin = DialogMargin(this);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* icon = new CStaticEx(this, wxID_ANY, wxSize(32, 32));
    icon->SetIcon(ProgramIcon());
    row->Add(icon, 0, wxALL, margin);
    row->Add(new wxStaticText(this, wxID_ANY, wxT("Pellix FTP  v1.0")), 0,
             wxALIGN_CENTER_VERTICAL | wxALL, margin);
    auto* ok = new wxButton(this, wxID_OK, wxT("OK"), wxDefaultPosition, Dlu(this, 47, 14));
    ok->SetDefault();
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(row);
    column->Add(ok, 0, wxALIGN_RIGHT | wxALL, margin);
    column->SetMinSize(Dlu(this, 186, 0));
    SetSizerAndFit(column);
}
