#pragma once
// A scripted FTP peer on 127.0.0.1 for replies real servers never send: it
// accepts one connection and plays a script of expected command lines and
// canned replies, which may be split over several writes, joined in one
// write, delayed, withheld, or followed by a close. Every wait is bounded.

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class CScriptedPeer {
public:
    CScriptedPeer();
    ~CScriptedPeer();
    CScriptedPeer(const CScriptedPeer&) = delete;
    CScriptedPeer& operator=(const CScriptedPeer&) = delete;

    // Script steps, played in order once Start() is called.
    CScriptedPeer& Send(std::string bytes);         // one write
    CScriptedPeer& Expect(std::string commandLine); // one line, compared without CR LF
    CScriptedPeer& ExpectAny();                     // one line of any text
    CScriptedPeer& Pause(int milliseconds);         // stays silent
    CScriptedPeer& Close();                         // closes the connection
    // Runs code on the peer thread with the connection's descriptor (for data
    // connections and other special moves).
    CScriptedPeer& Run(std::function<void(int controlFd)> action);

    void Start();
    unsigned short Port() const { return port; }
    // Waits (bounded) until the script has been played and the client has closed.
    void Finish();
    // Every line the client sent, without CR LF.
    std::vector<std::string> Received();
    // Mismatches and time-outs seen while playing; empty when all went as scripted.
    std::string Failures();

private:
    struct Step {
        enum class Kind { Send, Expect, ExpectAny, Pause, Close, Run } kind;
        std::string text;
        int milliseconds = 0;
        std::function<void(int)> action;
    };

    void Play();
    bool ReadLine(int fd, std::string& line, int timeoutMs);
    void Fail(const std::string& what);

    std::vector<Step> steps;
    int listenFd = -1;
    unsigned short port = 0;
    std::thread worker;
    std::mutex lock;
    std::vector<std::string> received;
    std::string failures;
    std::string readBuffer;
};

} // namespace testsupport
