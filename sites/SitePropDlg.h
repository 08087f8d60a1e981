#pragma once
// Site Properties: edits one site's values before the Site Manager stores
// them. It checks the label, strips "ftp://" from the host and picks the
// parent group; it never touches the store itself.

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>

#include "sites/SiteList.h"

class CSiteProp final : public wxDialog {
public:
    enum Ids {
        LabelId = 1010,
        HostId = 1004,
        PortId = 1005,
        PassiveId = 1016,
        UserId = 1006,
        PasswordId = 1007,
        AnonymousId = 1017,
        TimeoutId = 1011,
        DirectoryId = 1012,
        KeepAliveId = 1053,
        ParentGroupId = 1055,
    };

    CSiteProp(wxWindow* parent, SiteList& sites);
    // Fills the members from a record (Edit), every field the dialog carries.
    void FromRecord(const SiteRecord& record);
    // Copies the members into a record, leaving groupId as it is.
    void ToRecord(SiteRecord& record) const;

    int ShowModal() override;

    wxString label, host, userName, password, initialDirectory, reservedText;
    std::int32_t port = 21, passiveMode = 1, anonymous = 0, keepAlive = 1, parentGroupId = -1;
    std::uint32_t timeoutSeconds = 10;
    std::int32_t reserved1 = 0, reserved2 = 1, reserved3 = 0, reserved4 = 0;

private:
    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;
    void OnOk(wxCommandEvent& event);
    wxTextCtrl* Text(int id) const;
    wxCheckBox* Check(int id) const;
    // Shows the error box and puts the focus on the control.
    void Refuse(const wxString& message, int focusId);

    SiteList& sites;
    wxString openingLabel;
    wxChoice* parentGroup;
};
