#pragma once
// A CFTPClient with recording user-interface services, for protocol tests.

#include <memory>

#include "Common/FTPClient.h"
#include "connection/StatusText.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/ScriptedPeer.h"

namespace testsupport {

struct ClientFixture {
    CRecordingMessages messages;
    CRecordingWindow activity;
    CRecordingStatusBar statusBar;
    std::unique_ptr<nsFTP::CFTPClient> client =
        std::make_unique<nsFTP::CFTPClient>(std::make_unique<nsSocket::CBlockingSocket>());

    ClientFixture() {
        nsSocket::SetActivityWindow(&activity);
        SetStatusBarWindow(&statusBar);
    }
    ~ClientFixture() {
        client.reset();
        SetStatusBarWindow(nullptr);
        nsSocket::SetActivityWindow(nullptr);
    }
    // Connects to the peer after starting its script.
    bool ConnectTo(CScriptedPeer& peer) {
        peer.Start();
        return client->OpenControlConnection(L"127.0.0.1", peer.Port());
    }
    std::size_t ReceiveCount() { return activity.Messages().size(); }
};

} // namespace testsupport
