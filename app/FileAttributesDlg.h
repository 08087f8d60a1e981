#pragma once
// The CHMOD picker: nine permission boxes and the mode text they make.

#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>

class CFileAttributes final : public wxDialog {
public:
    enum Ids {
        ManualId = 1004,
        OwnerReadId = 1019,
        OwnerWriteId = 1020,
        OwnerExecuteId = 1017,
        GroupReadId = 1021,
        GroupWriteId = 1022,
        GroupExecuteId = 1018,
        PublicReadId = 1023,
        PublicWriteId = 1024,
        PublicExecuteId = 1025,
    };

    explicit CFileAttributes(wxWindow* parent);

    // Recomputes the mode text from the boxes (typed text is replaced).
    void UpdateManualValue();

    // The mode text as typed or computed; valid after OK.
    wxString manualValue;
    bool ownerRead = true, ownerWrite = true, ownerExecute = false;
    bool groupRead = true, groupWrite = false, groupExecute = false;
    bool publicRead = true, publicWrite = false, publicExecute = false;

    wxCheckBox* Box(int id) const;
    wxTextCtrl* ManualBox() const { return manual; }

    bool TransferDataFromWindow() override;
    bool TransferDataToWindow() override;

private:
    wxTextCtrl* manual;
};
