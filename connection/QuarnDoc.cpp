#include "connection/QuarnDoc.h"

#include "connection/StatusText.h"

void CQuarnDoc::SetTitle(const std::wstring& newTitle) {
    title = newTitle;
    if (titleChanged) {
        titleChanged(title);
    }
}

void CQuarnDoc::DeleteContents() {
    SetTitle(DisconnectedTitle());
    if (connection.IsConnected()) {
        connection.Quit();
        for (int pane = 1; pane <= 3; ++pane) {
            PostStatusText(pane, L"");
        }
    }
}
