#pragma once

#include <wx/app.h>

#include "app/WxUiBridge.h"

// The application object: installs the user-interface services the core
// uses and opens the main window.
class CQuarnApp final : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;

private:
    CWxMessageService messageService;
    CWxStatusBarTarget statusBarTarget;
};
