#pragma once

#include <wx/dialog.h>

class CAboutDlg final : public wxDialog {
public:
    explicit CAboutDlg(wxWindow* parent);
};

// The program's own icon (drawn, not loaded).
wxIcon ProgramIcon();
