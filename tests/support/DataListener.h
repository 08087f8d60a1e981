#pragma once
// The data side of the scripted peer: a listening socket on 127.0.0.1 for a
// passive data connection, and a helper to read the client's PORT line.

#include <string>

namespace testsupport {

class CDataListener {
public:
    CDataListener();
    ~CDataListener();
    CDataListener(const CDataListener&) = delete;
    CDataListener& operator=(const CDataListener&) = delete;

    unsigned short Port() const { return port; }
    // A 227 reply announcing this listener's port at the given address text
    // ("127,0,0,1"), with CR LF.
    std::string PassiveReply(const std::string& announcedAddress = "127,0,0,1") const;
    // Accepts one connection (bounded wait), writes the bytes and closes.
    bool AcceptAndSend(const std::string& bytes);
    // Accepts one connection and keeps it open, silent, until destruction.
    bool AcceptAndKeepOpen();
    // Accepts one connection and reads it to its end (bounded).
    bool AcceptAndReceive(std::string& bytes);

private:
    int AcceptOne();
    int listenFd = -1;
    int heldFd = -1;
    unsigned short port = 0;
};

} // namespace testsupport
