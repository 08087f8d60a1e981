#pragma once

#include <memory>
#include <wx/app.h>

#include "app/WxUiBridge.h"
#include "connection/QuarnDoc.h"
#include "platform/BusyCursor.h"
#include "platform/SettingsStore.h"

class CMainFrame;

// The wait cursor of the toolkit.
class CWxBusyIndicator final : public platform::IBusyIndicator {
public:
    void BeginBusy() override;
    void EndBusy() override;
};

// The application object: the settings store, the document, the main window.
class CQuarnApp final : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;

private:
    CWxMessageService messageService;
    CWxStatusBarTarget statusBarTarget;
    CWxBusyIndicator busyIndicator;
    std::unique_ptr<platform::CSettingsStore> store;
    std::unique_ptr<CQuarnDoc> document;
};

// Start-up shared by the program and its tests: document, hidden frame and
// view, the saved layout, show, then Connect posted.
CMainFrame* StartMainWindow(CQuarnDoc& document, CWxStatusBarTarget& statusTarget,
                            platform::CSettingsStore& store);
