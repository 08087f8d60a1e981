#include "app/FileAttributesDlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/valtext.h>

#include "app/DialogUnits.h"
#include "app/FileModeBits.h"

namespace {

struct BoxInfo {
    int id;
    const wchar_t* text;
    unsigned bit;
    bool CFileAttributes::*member;
};

const BoxInfo Boxes[3][3] = {
    {{CFileAttributes::OwnerReadId, L"Read", OwnerRead, &CFileAttributes::ownerRead},
     {CFileAttributes::OwnerWriteId, L"Write", OwnerWrite, &CFileAttributes::ownerWrite},
     {CFileAttributes::OwnerExecuteId, L"Execute", OwnerExecute, &CFileAttributes::ownerExecute}},
    {{CFileAttributes::GroupReadId, L"Read", GroupRead, &CFileAttributes::groupRead},
     {CFileAttributes::GroupWriteId, L"Write", GroupWrite, &CFileAttributes::groupWrite},
     {CFileAttributes::GroupExecuteId, L"Execute", GroupExecute, &CFileAttributes::groupExecute}},
    {{CFileAttributes::PublicReadId, L"Read", PublicRead, &CFileAttributes::publicRead},
     {CFileAttributes::PublicWriteId, L"Write", PublicWrite, &CFileAttributes::publicWrite},
     {CFileAttributes::PublicExecuteId, L"Execute", PublicExecute,
      &CFileAttributes::publicExecute}},
};
const wchar_t* const Groups[3] = {L"Owner Permissions", L"Group Permissions",
                                  L"Public Permissions"};

} // namespace

CFileAttributes::CFileAttributes(wxWindow* parent)
    : wxDialog(parent, 137, wxT("Change File(s) Attributes")) {
    const int margin = DialogMargin(this);
    auto* column = new wxBoxSizer(wxVERTICAL);
    for (int g = 0; g < 3; ++g) {
        auto* group = new wxStaticBoxSizer(wxHORIZONTAL, this, Groups[g]);
        for (const BoxInfo& info : Boxes[g]) {
            auto* box = new wxCheckBox(group->GetStaticBox(), info.id, info.text);
            box->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateManualValue(); });
            group->Add(box, 1, wxALL, margin / 2);
        }
        column->Add(group, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, margin);
    }
    auto* manualRow = new wxBoxSizer(wxHORIZONTAL);
    manualRow->Add(new wxStaticText(this, wxID_ANY, wxT("Manual value:")), 0,
                   wxALIGN_CENTER_VERTICAL | wxRIGHT, margin / 2);
    manual = new wxTextCtrl(this, ManualId, wxEmptyString, wxDefaultPosition, Dlu(this, 41, 12), 0,
                            wxTextValidator(wxFILTER_DIGITS));
    manualRow->Add(manual);
    column->Add(manualRow, 0, wxLEFT | wxRIGHT | wxTOP, margin);
    auto* note = new wxStaticText(
        this, wxID_ANY,
        wxT("Note: This command is server dependant. It is mostly used by UNIX servers."));
    note->Wrap(Dlu(this, 136, 20).GetWidth());
    column->Add(note, 0, wxLEFT | wxRIGHT | wxTOP, margin);
    auto* ok = new wxButton(this, wxID_OK, wxT("OK"), wxDefaultPosition, Dlu(this, 50, 14));
    ok->SetDefault();
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(ok);
    buttons->Add(
        new wxButton(this, wxID_CANCEL, wxT("Cancel"), wxDefaultPosition, Dlu(this, 50, 14)));
    column->Add(buttons, 0, wxALIGN_CENTER | wxALL, margin);
    SetSizerAndFit(column);
    TransferDataToWindow();
    UpdateManualValue();
}

wxCheckBox* CFileAttributes::Box(int id) const {
    return dynamic_cast<wxCheckBox*>(FindWindow(id));
}

bool CFileAttributes::TransferDataToWindow() {
    for (const auto& row : Boxes) {
        for (const BoxInfo& info : row) {
            Box(info.id)->SetValue(this->*info.member);
        }
    }
    manual->ChangeValue(manualValue);
    return true;
}

bool CFileAttributes::TransferDataFromWindow() {
    for (const auto& row : Boxes) {
        for (const BoxInfo& info : row) {
            this->*info.member = Box(info.id)->GetValue();
        }
    }
    manualValue = manual->GetValue();
    return true;
}

void CFileAttributes::UpdateManualValue() {
    TransferDataFromWindow();
    unsigned bits = 0;
    for (const auto& row : Boxes) {
        for (const BoxInfo& info : row) {
            if (this->*info.member) {
                bits |= info.bit;
            }
        }
    }
    manualValue = ModeText(bits);
    TransferDataToWindow();
}
