#include "app/QuarnApp.h"

#include "app/AssertHandler.h"
#include "app/MainFrame.h"
#include "platform/MessageService.h"

bool CQuarnApp::OnInit() {
    InstallStderrAssertHandler();
    platform::SetMessageService(&messageService);
    auto* frame = new CMainFrame(wxT("Disconnected"), statusBarTarget);
    frame->Show();
    return true;
}

int CQuarnApp::OnExit() {
    platform::SetMessageService(nullptr);
    return wxApp::OnExit();
}
