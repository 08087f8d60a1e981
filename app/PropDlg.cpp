#include "app/PropDlg.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>

#include "app/DialogUnits.h"
#include "app/FileIcons.h"
#include "app/StaticEx.h"

CPropDlg::CPropDlg(wxWindow* parent) : wxDialog(parent, 134, wxT("Properties")) {}

void CPropDlg::Build() {
    const int margin = DialogMargin(this);
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* icon = new CStaticEx(this, 1018, wxSize(32, 32));
    icon->SetIcon(FileIcons().Icon(nameText, isFolder, 32));
    top->Add(icon, 0, wxRIGHT, margin);
    top->Add(new wxStaticText(this, 1013, nameText), 1, wxALIGN_CENTER_VERTICAL);
    column->Add(top, 0, wxEXPAND | wxALL, margin);
    column->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, margin);
    auto* grid = new wxFlexGridSizer(2, margin / 2, margin);
    const std::pair<const wchar_t*, std::pair<int, const wxString*>> rows[] = {
        {L"Path:", {1014, &pathText}},
        {L"Size:", {1015, &sizeText}},
        {L"Modified:", {1017, &modifiedText}}};
    for (const auto& [label, field] : rows) {
        grid->Add(new wxStaticText(this, wxID_ANY, label));
        grid->Add(new wxStaticText(this, field.first, *field.second), 0, wxFIXED_MINSIZE);
    }
    column->Add(grid, 0, wxALL, margin);
    column->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, margin);
    auto* attributes = new wxBoxSizer(wxHORIZONTAL);
    attributes->Add(new wxStaticText(this, 1032, wxT("Attributes:")), 0, wxRIGHT, margin / 2);
    attributes->Add(new wxStaticText(this, 1016, attributesText), 0, wxRIGHT, margin);
    attributes->Add(new wxStaticText(this, 1033, wxT("Owner:")), 0, wxRIGHT, margin / 2);
    attributes->Add(new wxStaticText(this, 1019, ownerText));
    column->Add(attributes, 0, wxALL, margin);
    // The Windows attribute boxes exist for the same ids but stay hidden.
    const std::pair<int, const wchar_t*> hidden[] = {
        {1010, L"Read Only"}, {1011, L"Hidden"}, {1012, L"System"}};
    for (const auto& [id, text] : hidden) {
        (new wxCheckBox(this, id, text))->Hide();
    }
    SetSizerAndFit(column);
    SetEscapeId(wxID_CANCEL);
    SetAffirmativeId(wxID_OK);
}
