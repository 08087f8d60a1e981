#pragma once

#include <wx/frame.h>

class CWxStatusBarTarget;

// The program's one main window.
class CMainFrame final : public wxFrame {
public:
    static constexpr int StatusPaneCount = 4;

    // statusTarget receives the frame's status bar for posted pane texts.
    CMainFrame(const wxString& documentTitle, CWxStatusBarTarget& statusTarget);
    ~CMainFrame() override;

    // Caption: the document title, " - ", and the program's name.
    void SetDocumentTitle(const wxString& documentTitle);

private:
    void OnExit(wxCommandEvent& event);

    CWxStatusBarTarget& statusTarget;
};

// The caption of the main window for a document title.
wxString MainFrameCaption(const wxString& documentTitle);
