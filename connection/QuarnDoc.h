#pragma once
// The program's one document: the connection, and a title that tells its state.

#include <functional>
#include <string>

#include "connection/ServerConnection.h"

class CQuarnDoc {
public:
    CQuarnDoc() = default;
    explicit CQuarnDoc(platform::CSettingsStore& store) : connection(store) {}
    CQuarnDoc(const CQuarnDoc&) = delete;
    CQuarnDoc& operator=(const CQuarnDoc&) = delete;

    void SetTitle(const std::wstring& newTitle);
    const std::wstring& GetTitle() const { return title; }
    // "Disconnected"; and when connected, QUIT and the count panes cleared.
    void DeleteContents();

    CServerConnection connection;
    // Told whenever the title changes (the frame's caption follows it).
    std::function<void(const std::wstring&)> titleChanged;

private:
    std::wstring title = DisconnectedTitle();
};
