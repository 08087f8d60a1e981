#pragma once
// A main window as the program starts it, on a settings store of its own,
// with the modal dialogs it opens answered by a script.

#include <deque>
#include <functional>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/weakref.h>

#include "app/MainFrame.h"
#include "app/QuarnApp.h"
#include "browser/QuarnView.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/TempDir.h"

namespace guitest {

// Answers modal dialogs in order. A step sees the dialog inside its own
// modal loop and ends it (EndModal) or leaves it to a later step.
class CDialogScript final : public wxModalDialogHook {
public:
    using Step = std::function<void(wxDialog&)>;
    CDialogScript() { Register(); }
    ~CDialogScript() override { Unregister(); }

    void Then(const wxString& title, Step step) { steps.push_back({title, std::move(step)}); }
    bool Done() const { return steps.empty(); }
    std::vector<wxString> shown;
    std::vector<wxString> unexpected;

protected:
    int Enter(wxDialog* dialog) override {
        shown.push_back(dialog->GetTitle());
        if (steps.empty() || steps.front().first != dialog->GetTitle()) {
            unexpected.push_back(dialog->GetTitle());
            return wxID_CANCEL; // never hang on a dialog nobody expects
        }
        Step step = std::move(steps.front().second);
        steps.pop_front();
        wxWeakRef<wxDialog> alive(dialog);
        dialog->CallAfter([alive, step] {
            if (alive) {
                step(*alive);
            }
        });
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}

private:
    std::deque<std::pair<wxString, Step>> steps;
};

// Clicks a dialog's button as the user would.
inline void Click(wxWindow& dialog, int id) {
    wxWindow* button = dialog.FindWindow(id);
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    (button ? button : &dialog)->GetEventHandler()->ProcessEvent(click);
}

struct GuiFixture {
    testsupport::CTempDir dir;
    platform::CSettingsStore store{dir / "settings.reg"};
    testsupport::CRecordingMessages messages;
    CWxStatusBarTarget statusTarget;
    CQuarnDoc document{store};
    CDialogScript dialogs;
    wxWeakRef<CMainFrame> frame;

    // Starts like the program; the first dialog step answers the Site Manager.
    void Start() {
        frame = StartMainWindow(document, statusTarget, store);
        PumpUntil([this] { return frame && frame->IsShownOnScreen(); });
    }
    void Close() {
        if (frame) {
            frame->Close();
            PumpUntil([this] { return !frame; });
        }
    }
    // Ends every modal dialog still open (a failed test must not hang).
    static void EndOpenDialogs() {
        for (int round = 0; round < 10; ++round) {
            bool any = false;
            for (wxWindow* window : wxTopLevelWindows) {
                if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal()) {
                    dialog->EndModal(wxID_CANCEL);
                    any = true;
                }
            }
            if (!any) {
                return;
            }
            Pump(50);
        }
    }
    ~GuiFixture() {
        EndOpenDialogs();
        if (frame) {
            frame->Destroy();
            PumpUntil([this] { return !frame; });
        }
    }
};

} // namespace guitest
