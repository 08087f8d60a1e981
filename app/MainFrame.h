#pragma once
// The program's one main window: menu, toolbar, status bar, the browser
// view, the 15-second "Ready" timer and the saved window layout.

#include <wx/frame.h>
#include <wx/timer.h>

#include "connection/QuarnDoc.h"

class CWxStatusBarTarget;
class CQuarnView;
class CToolBarEx;

namespace platform {
class CSettingsStore;
}

inline const wchar_t* const LayoutKey = L"SOFTWARE\\PellixFTP\\Layout";

class CMainFrame final : public wxFrame {
public:
    static constexpr int StatusPaneCount = 4;
    static constexpr int StatusBarId = 59393;
    static constexpr int ReadyTimerId = 1;
    static constexpr int ReadyMs = 15000;

    CMainFrame(CQuarnDoc& document, CWxStatusBarTarget& statusTarget,
               platform::CSettingsStore& store);
    ~CMainFrame() override;

    // Places the window and its bars as last saved (first start: 150, 150,
    // 580 by 460); a window saved maximised comes back in its normal size.
    void RestoreLayout();
    void SaveLayout();

    CQuarnView* View() const { return view; }
    CToolBarEx* ToolBar() const { return toolBar; }
    wxTimer& ReadyTimer() { return readyTimer; }

private:
    void BuildMenu();
    void OnCommand(wxCommandEvent& event);
    void OnUpdateUi(wxUpdateUIEvent& event);
    void OnClose(wxCloseEvent& event);
    void RememberNormalRect();

    CQuarnDoc& document;
    CWxStatusBarTarget& statusTarget;
    platform::CSettingsStore& store;
    CQuarnView* view;
    CToolBarEx* toolBar;
    wxTimer readyTimer;
    wxRect normalRect;
};

// The caption of the main window for a document title.
wxString MainFrameCaption(const wxString& documentTitle);
