#include "app/WxUiBridge.h"

#include <future>
#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/thread.h>

int ShowMessageBoxNow(const std::wstring& text, const std::wstring& caption, unsigned flags) {
    long style = wxCENTRE;
    switch (flags & 0xF) {
    case platform::MbOkCancel:
        style |= wxOK | wxCANCEL;
        break;
    case platform::MbYesNo:
        style |= wxYES_NO;
        break;
    default:
        style |= wxOK;
        break;
    }
    switch (flags & 0xF0) {
    case platform::MbIconError:
        style |= wxICON_ERROR;
        break;
    case platform::MbIconQuestion:
        style |= wxICON_QUESTION;
        break;
    case platform::MbIconWarning:
        style |= wxICON_WARNING;
        break;
    case platform::MbIconInformation:
        style |= wxICON_INFORMATION;
        break;
    default:
        break;
    }
    switch (wxMessageBox(wxString(text), wxString(caption), style, wxTheApp->GetTopWindow())) {
    case wxCANCEL:
        return platform::IdCancel;
    case wxYES:
        return platform::IdYes;
    case wxNO:
        return platform::IdNo;
    default:
        return platform::IdOk;
    }
}

int CWxMessageService::ShowMessage(const std::wstring& text, const std::wstring& caption,
                                   unsigned flags) {
    if (wxThread::IsMain()) {
        return ShowMessageBoxNow(text, caption, flags);
    }
    // GTK allows widgets on the main thread only: ask it and wait for the answer.
    auto answer = std::make_shared<std::promise<int>>();
    std::future<int> result = answer->get_future();
    wxTheApp->CallAfter([answer, text, caption, flags] {
        answer->set_value(ShowMessageBoxNow(text, caption, flags));
    });
    return result.get();
}

void CWxStatusBarTarget::PostPaneText(int pane, std::wstring text) {
    if (!wxTheApp) {
        return;
    }
    wxTheApp->CallAfter([this, pane, text = std::move(text)] {
        if (statusBar && pane < statusBar->GetFieldsCount()) {
            statusBar->SetStatusText(wxString(text), pane);
        }
    });
}
