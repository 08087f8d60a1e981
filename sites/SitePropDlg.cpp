#include "sites/SitePropDlg.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "app/DialogUnits.h"
#include "platform/MessageService.h"
#include "sites/SiteRules.h"

namespace {

bool ParseSigned(const wxString& text, std::int32_t& value) {
    long parsed = 0;
    if (!text.Strip(wxString::both).ToLong(&parsed) || parsed < INT32_MIN || parsed > INT32_MAX) {
        return false;
    }
    value = static_cast<std::int32_t>(parsed);
    return true;
}

bool ParseUnsigned(const wxString& text, std::uint32_t& value) {
    unsigned long parsed = 0;
    const wxString trimmed = text.Strip(wxString::both);
    if (trimmed.StartsWith(wxT("-")) || !trimmed.ToULong(&parsed) || parsed > UINT32_MAX) {
        return false;
    }
    value = static_cast<std::uint32_t>(parsed);
    return true;
}

} // namespace

CSiteProp::CSiteProp(wxWindow* parent, SiteList& list)
    : wxDialog(parent, 136, wxT("Site Properties")), sites(list) {
    const int margin = DialogMargin(this);
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto field = [&](wxSizer* to, const wxString& caption, int id, long style = 0) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        auto* text = new wxStaticText(this, wxID_ANY, caption);
        text->SetMinSize(wxSize(Dlu(this, 34, 8).GetWidth(), -1));
        row->Add(text, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, margin / 2);
        row->Add(
            new wxTextCtrl(this, id, wxEmptyString, wxDefaultPosition, Dlu(this, 120, 12), style),
            1);
        to->Add(row, 0, wxEXPAND | wxALL, margin / 2);
        return row;
    };
    field(column, wxT("Site Label:"), LabelId);

    auto* hostBox = new wxStaticBoxSizer(wxVERTICAL, this, wxT("FTP Host Address"));
    field(hostBox, wxT("Host:"), HostId);
    field(hostBox, wxT("Port:"), PortId);
    hostBox->Add(new wxCheckBox(this, PassiveId, wxT("Use Passive Mode")), 0, wxALL, margin / 2);
    column->Add(hostBox, 0, wxEXPAND | wxLEFT | wxRIGHT, margin);

    auto* loginBox = new wxStaticBoxSizer(wxVERTICAL, this, wxT("Login Information"));
    field(loginBox, wxT("Login:"), UserId);
    field(loginBox, wxT("Password:"), PasswordId, wxTE_PASSWORD);
    loginBox->Add(new wxCheckBox(this, AnonymousId, wxT("Anonymous")), 0, wxALL, margin / 2);
    column->Add(loginBox, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, margin);

    // Settings the user does not edit here; they are carried all the same.
    auto* hidden = new wxBoxSizer(wxVERTICAL);
    field(hidden, wxT("Timeout (sec):"), TimeoutId);
    field(hidden, wxT("FTP Directory:"), DirectoryId);
    hidden->Add(new wxCheckBox(this, KeepAliveId, wxT("Keep Connection Alive")));
    hidden->Add(new wxStaticText(this, wxID_ANY, wxT("Parent Group:")));
    parentGroup = new wxChoice(this, ParentGroupId);
    hidden->Add(parentGroup);
    column->Add(hidden);
    column->Hide(hidden, true);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, wxT("OK"), wxDefaultPosition, Dlu(this, 50, 14));
    ok->SetDefault();
    buttons->Add(ok, 0, wxRIGHT, margin / 2);
    buttons->Add(
        new wxButton(this, wxID_CANCEL, wxT("Cancel"), wxDefaultPosition, Dlu(this, 50, 14)));
    column->Add(buttons, 0, wxALIGN_RIGHT | wxALL, margin);
    SetSizerAndFit(column);
    Bind(wxEVT_BUTTON, &CSiteProp::OnOk, this, wxID_OK);
}

wxTextCtrl* CSiteProp::Text(int id) const {
    return dynamic_cast<wxTextCtrl*>(FindWindow(id));
}

wxCheckBox* CSiteProp::Check(int id) const {
    return dynamic_cast<wxCheckBox*>(FindWindow(id));
}

void CSiteProp::FromRecord(const SiteRecord& r) {
    label = GetText(r.label);
    host = GetText(r.host);
    port = r.port;
    passiveMode = r.passiveMode;
    userName = GetText(r.userName);
    password = GetText(r.password);
    anonymous = r.anonymous;
    reserved1 = r.reserved1;
    reserved2 = r.reserved2;
    reserved3 = r.reserved3;
    reservedText = GetText(r.reservedText);
    reserved4 = r.reserved4;
    timeoutSeconds = static_cast<std::uint32_t>(r.timeoutSeconds);
    initialDirectory = GetText(r.initialDirectory);
    keepAlive = r.keepAlive;
    parentGroupId = r.parentGroupId;
}

void CSiteProp::ToRecord(SiteRecord& r) const {
    SetText(r.label, label.ToStdWstring());
    SetText(r.host, host.ToStdWstring());
    r.port = port;
    r.passiveMode = passiveMode;
    SetText(r.userName, userName.ToStdWstring());
    SetText(r.password, password.ToStdWstring());
    r.anonymous = anonymous;
    r.reserved1 = reserved1;
    r.reserved2 = reserved2;
    r.reserved3 = reserved3;
    SetText(r.reservedText, reservedText.ToStdWstring());
    r.reserved4 = reserved4;
    r.timeoutSeconds = static_cast<std::int32_t>(timeoutSeconds);
    SetText(r.initialDirectory, initialDirectory.ToStdWstring());
    r.keepAlive = keepAlive;
    r.parentGroupId = parentGroupId;
}

int CSiteProp::ShowModal() {
    TransferDataToWindow();
    parentGroup->Clear();
    parentGroup->Append(wxT("No Parent Group"), reinterpret_cast<void*>(static_cast<intptr_t>(-1)));
    parentGroup->SetSelection(0);
    for (const SiteRecord& record : sites.Records()) {
        if (record.groupId != -1) {
            int index =
                parentGroup->Append(GetText(record.label),
                                    reinterpret_cast<void*>(static_cast<intptr_t>(record.groupId)));
            if (record.groupId == parentGroupId) {
                parentGroup->SetSelection(index);
            }
        }
    }
    openingLabel = label;
    return wxDialog::ShowModal();
}

bool CSiteProp::TransferDataToWindow() {
    Text(LabelId)->ChangeValue(label);
    Text(HostId)->ChangeValue(host);
    Text(PortId)->ChangeValue(wxString::Format(wxT("%d"), port));
    Check(PassiveId)->SetValue(passiveMode != 0);
    Text(UserId)->ChangeValue(userName);
    Text(PasswordId)->ChangeValue(password);
    Check(AnonymousId)->SetValue(anonymous != 0);
    Text(TimeoutId)->ChangeValue(wxString::Format(wxT("%u"), timeoutSeconds));
    Text(DirectoryId)->ChangeValue(initialDirectory);
    Check(KeepAliveId)->SetValue(keepAlive != 0);
    return true;
}

void CSiteProp::Refuse(const wxString& message, int focusId) {
    platform::ShowMessage(message.ToStdWstring(), platform::ProgramCaption(),
                          platform::MbIconError);
    if (wxWindow* control = FindWindow(focusId)) {
        control->SetFocus();
    }
}

bool CSiteProp::TransferDataFromWindow() {
    // In the order of the fields; the first that cannot be read stops it.
    const std::pair<int, const wchar_t*> texts[] = {{LabelId, L"site label"},
                                                    {HostId, L"host"},
                                                    {UserId, L"login"},
                                                    {PasswordId, L"password"},
                                                    {DirectoryId, L"directory"}};
    label = Text(LabelId)->GetValue();
    host = Text(HostId)->GetValue();
    if (!ParseSigned(Text(PortId)->GetValue(), port)) {
        Refuse(wxT("Please enter an integer."), PortId);
        return false;
    }
    passiveMode = Check(PassiveId)->GetValue() ? 1 : 0;
    userName = Text(UserId)->GetValue();
    password = Text(PasswordId)->GetValue();
    anonymous = Check(AnonymousId)->GetValue() ? 1 : 0;
    if (!ParseUnsigned(Text(TimeoutId)->GetValue(), timeoutSeconds)) {
        Refuse(wxT("Please enter a positive integer."), TimeoutId);
        return false;
    }
    initialDirectory = Text(DirectoryId)->GetValue();
    keepAlive = Check(KeepAliveId)->GetValue() ? 1 : 0;
    // Every text must fit its 95-character field of the stored record.
    for (const auto& [id, name] : texts) {
        std::wstring problem = CheckFieldLength(name, Text(id)->GetValue().ToStdWstring());
        if (!problem.empty()) {
            Refuse(problem, id);
            return false;
        }
    }
    return true;
}

void CSiteProp::OnOk(wxCommandEvent&) {
    if (!TransferDataFromWindow()) {
        return;
    }
    std::wstring problem = CheckSiteLabel(label.ToStdWstring(), openingLabel.ToStdWstring(), sites);
    if (!problem.empty()) {
        Refuse(problem, LabelId);
        return;
    }
    const wxString stripped = StripFtpScheme(host.ToStdWstring());
    if (stripped != host) {
        host = stripped;
        TransferDataToWindow();
    }
    int selection = parentGroup->GetSelection();
    if (selection != wxNOT_FOUND) {
        parentGroupId = static_cast<std::int32_t>(reinterpret_cast<intptr_t>(
            parentGroup->GetClientData(static_cast<unsigned>(selection))));
    }
    EndModal(wxID_OK);
}
