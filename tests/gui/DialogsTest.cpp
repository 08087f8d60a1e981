// The small dialogs and Site Properties, driven in their own modal loops.

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include "app/FileAttributesDlg.h"
#include "app/TextDlg.h"
#include "sites/SitePropDlg.h"
#include "tests/gui/GuiFixture.h"

using namespace guitest;

namespace {

void Tick(CFileAttributes& dialog, int id, bool value) {
    wxCheckBox* box = dialog.Box(id);
    box->SetValue(value);
    wxCommandEvent click(wxEVT_CHECKBOX, id);
    click.SetEventObject(box);
    click.SetInt(value ? 1 : 0);
    box->GetEventHandler()->ProcessEvent(click);
}

void Type(wxWindow& dialog, int id, const wxString& text) {
    dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id))->SetValue(text);
}

wxString TextOf(wxWindow& dialog, int id) {
    return dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id))->GetValue();
}

const int AllBoxes[] = {CFileAttributes::OwnerReadId,    CFileAttributes::OwnerWriteId,
                        CFileAttributes::OwnerExecuteId, CFileAttributes::GroupReadId,
                        CFileAttributes::GroupWriteId,   CFileAttributes::GroupExecuteId,
                        CFileAttributes::PublicReadId,   CFileAttributes::PublicWriteId,
                        CFileAttributes::PublicExecuteId};

} // namespace

TEST(Dialogs, ChmodPickerBitsAndTypedValues) {
    CFileAttributes dialog(nullptr);
    EXPECT_EQ(dialog.GetTitle(), wxT("Change File(s) Attributes"));
    EXPECT_EQ(dialog.ManualBox()->GetValue(), wxT("644"));
    for (int id : AllBoxes) {
        Tick(dialog, id, true);
    }
    EXPECT_EQ(dialog.ManualBox()->GetValue(), wxT("777"));
    for (int id : AllBoxes) {
        Tick(dialog, id, false);
    }
    EXPECT_EQ(dialog.ManualBox()->GetValue(), wxT("000"));
    dialog.ManualBox()->SetValue(wxT("755"));
    EXPECT_TRUE(dialog.TransferDataFromWindow());
    EXPECT_EQ(dialog.manualValue, wxT("755")) << "typing leaves the boxes alone";
    EXPECT_FALSE(dialog.Box(CFileAttributes::OwnerReadId)->GetValue());
    Tick(dialog, CFileAttributes::GroupReadId, true);
    EXPECT_EQ(dialog.ManualBox()->GetValue(), wxT("040")) << "a click replaces what was typed";
}

TEST(Dialogs, TextPromptKeepsItsTitleAndText) {
    CDialogScript script;
    script.Then(wxT("Rename"), [](wxDialog& d) {
        EXPECT_EQ(TextOf(d, CTextDlg::EditId), wxT("old name.txt"));
        Type(d, CTextDlg::EditId, wxT("  new name  "));
        Click(d, wxID_OK);
    });
    CTextDlg dialog(nullptr, wxT("Rename"), wxT("old name.txt"));
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(dialog.text, wxT("  new name  ")) << "untrimmed";
}

struct SitePropFixture {
    testsupport::CTempDir dir;
    platform::CSettingsStore store{dir / "settings.reg"};
    testsupport::CRecordingMessages messages;
    SiteList sites{store};
    CDialogScript script;

    SitePropFixture() {
        SiteRecord other;
        SetText(other.label, L"Other");
        sites.AddSite(other);
        SiteRecord mine;
        SetText(mine.label, L"Mine");
        sites.AddSite(mine);
    }
};

TEST(Dialogs, SitePropertiesRefusesBadInputAndKeepsTheDialogOpen) {
    SitePropFixture f;
    f.script.Then(wxT("Site Properties"), [&](wxDialog& d) {
        Type(d, CSiteProp::LabelId, wxT(""));
        Click(d, wxID_OK);
        Type(d, CSiteProp::LabelId, wxT("other"));
        Click(d, wxID_OK);
        Type(d, CSiteProp::LabelId, wxT("MINE"));
        Type(d, CSiteProp::PortId, wxT("21x"));
        Click(d, wxID_OK);
        Type(d, CSiteProp::PortId, wxT("2121"));
        Type(d, CSiteProp::HostId, wxString(96, wxT('h')));
        Click(d, wxID_OK);
        EXPECT_TRUE(d.IsModal()) << "every refusal keeps the dialog open";
        Type(d, CSiteProp::HostId, wxT("FTP://ftp.example/pub"));
        Click(d, wxID_OK);
    });
    CSiteProp dialog(nullptr, f.sites);
    SiteRecord record = *f.sites.FindSite(L"Mine");
    record.reserved1 = 11;
    record.reserved4 = 44;
    record.timeoutSeconds = 33;
    record.parentGroupId = 77; // a group that does not exist
    SetText(record.reservedText, L"kept");
    dialog.FromRecord(record);
    ASSERT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(f.messages.Texts(),
              (std::vector<std::wstring>{L"The site label cannot be empty.",
                                         L"A site or group with this label already exists.",
                                         L"Please enter an integer.",
                                         L"The host is too long: at most 95 characters fit."}));
    EXPECT_EQ(dialog.host, wxT("ftp.example/pub"));
    EXPECT_EQ(TextOf(dialog, CSiteProp::HostId), wxT("ftp.example/pub"));
    SiteRecord out = record;
    dialog.ToRecord(out);
    EXPECT_EQ(GetText(out.label), L"MINE") << "the own label in other letter case is accepted";
    EXPECT_EQ(out.port, 2121);
    EXPECT_EQ(out.reserved1, 11);
    EXPECT_EQ(out.reserved4, 44);
    EXPECT_EQ(out.timeoutSeconds, 33);
    EXPECT_EQ(GetText(out.reservedText), L"kept");
    EXPECT_EQ(out.parentGroupId, -1) << "a missing group becomes no group";
}
