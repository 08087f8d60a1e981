#include "app/MainFrame.h"

#include <wx/menu.h>
#include <wx/statusbr.h>

#include "app/WxUiBridge.h"
#include "connection/StatusText.h"

wxString MainFrameCaption(const wxString& documentTitle) {
    return documentTitle + wxT(" - Pellix FTP");
}

CMainFrame::CMainFrame(const wxString& documentTitle, CWxStatusBarTarget& target)
    : wxFrame(nullptr, wxID_ANY, MainFrameCaption(documentTitle), wxPoint(150, 150),
              wxSize(580, 460)),
      statusTarget(target) {
    auto* fileMenu = new wxMenu;
    fileMenu->Append(wxID_EXIT, wxT("E&xit"));
    auto* menuBar = new wxMenuBar;
    menuBar->Append(fileMenu, wxT("&File"));
    SetMenuBar(menuBar);
    Bind(wxEVT_MENU, &CMainFrame::OnExit, this, wxID_EXIT);

    CreateStatusBar(StatusPaneCount);
    SetStatusText(wxT("Ready"), 0);
    statusTarget.Attach(GetStatusBar());
    SetStatusBarWindow(&statusTarget);
}

CMainFrame::~CMainFrame() {
    SetStatusBarWindow(nullptr);
    statusTarget.Attach(nullptr);
}

void CMainFrame::SetDocumentTitle(const wxString& documentTitle) {
    SetTitle(MainFrameCaption(documentTitle));
}

void CMainFrame::OnExit(wxCommandEvent&) {
    Close();
}
