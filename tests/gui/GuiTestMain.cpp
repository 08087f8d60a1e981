// Runs the GUI tests inside a real wx application's main loop, so dialogs,
// timers and posted events behave as in the program. A failed toolkit
// assertion fails the test instead of opening a modal box.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/timer.h>

#include "app/WxUiBridge.h"
#include "platform/MessageService.h"

namespace {

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_str().data(), line)
        << "wx assertion failed in " << func.utf8_str().data() << ": " << cond.utf8_str().data()
        << " " << msg.utf8_str().data();
}

class CGuiTestApp final : public wxApp {
public:
    bool OnInit() override {
        wxSetAssertHandler(FailOnAssert);
        return true;
    }
    int OnRun() override {
        // From a timer rather than a posted call: nested loops inside the
        // tests then handle posted calls as the program's own loops do.
        start.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            result = RUN_ALL_TESTS();
            ExitMainLoop();
        });
        start.StartOnce(1);
        return wxApp::OnRun();
    }
    int result = 1;
    wxTimer start;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    auto* app = new CGuiTestApp;
    wxApp::SetInstance(app);
    if (!wxEntryStart(argc, argv) || !app->CallOnInit()) {
        std::fprintf(stderr, "cannot start the GUI test application (no display?)\n");
        return 1;
    }
    app->OnRun();
    int result = app->result;
    app->OnExit();
    wxEntryCleanup();
    return result;
}
