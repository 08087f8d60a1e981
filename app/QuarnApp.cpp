#include "app/QuarnApp.h"

#include <wx/utils.h>

#include "app/AssertHandler.h"
#include "app/MainFrame.h"
#include "browser/QuarnView.h"
#include "platform/MessageService.h"
#include "platform/SettingsStore.h"

void CWxBusyIndicator::BeginBusy() {
    wxBeginBusyCursor();
}

void CWxBusyIndicator::EndBusy() {
    wxEndBusyCursor();
}

CMainFrame* StartMainWindow(CQuarnDoc& document, CWxStatusBarTarget& statusTarget,
                            platform::CSettingsStore& store) {
    auto* frame = new CMainFrame(document, statusTarget, store);
    frame->RestoreLayout();
    frame->Show();
    // The Site Manager opens as soon as the event loop runs.
    frame->CallAfter([frame] { frame->View()->OnCommand(CmdConnect); });
    return frame;
}

bool CQuarnApp::OnInit() {
    InstallStderrAssertHandler();
    platform::SetMessageService(&messageService);
    platform::SetBusyIndicator(&busyIndicator);
    store = std::make_unique<platform::CSettingsStore>(platform::CSettingsStore::DefaultPath());
    platform::SetSettingsStore(store.get());
    document = std::make_unique<CQuarnDoc>(*store);
    StartMainWindow(*document, statusBarTarget, *store);
    return true;
}

int CQuarnApp::OnExit() {
    document.reset(); // sends QUIT when still connected
    platform::SetSettingsStore(nullptr);
    platform::SetBusyIndicator(nullptr);
    platform::SetMessageService(nullptr);
    return wxApp::OnExit();
}
