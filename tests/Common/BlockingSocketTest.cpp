#include <arpa/inet.h>
#include <csignal>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "Common/BlockingSocket.h"
#include "platform/WindowTarget.h"
#include "tests/support/RecordingUi.h"

using namespace nsSocket;
using testsupport::CRecordingWindow;

namespace {

sockaddr_in Loopback(unsigned short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A connected pair: a listening CBlockingSocket accepts a connection made by
// another CBlockingSocket.
struct ConnectedPair {
    CBlockingSocket listener;
    CBlockingSocket client;
    CBlockingSocket server;

    ConnectedPair() {
        listener.CreateHandle(SOCK_STREAM);
        listener.Bind(Loopback(0));
        listener.Listen();
        sockaddr_in local{};
        listener.GetLocalAddress(local);
        client.CreateHandle(SOCK_STREAM);
        client.Connect(local);
        sockaddr_in peer{};
        EXPECT_TRUE(listener.Accept(server, peer, 5));
    }
    ~ConnectedPair() {
        listener.CloseQuietly();
        client.CloseQuietly();
        server.CloseQuietly();
    }
};

struct ActivityRecorder {
    CRecordingWindow window;
    ActivityRecorder() { SetActivityWindow(&window); }
    ~ActivityRecorder() { SetActivityWindow(nullptr); }
    std::size_t Count() { return window.Messages().size(); }
};

} // namespace

TEST(SocketException, DisplayTextIsMessageBlankLineAndCode) {
    struct Row {
        const wchar_t* message;
        int code;
        const wchar_t* expected;
    } rows[] = {
        {L"Unable to receive data.", 10060, L"Unable to receive data.\n\nError code: 10060"},
        {L"Cannot not create socket.", 24, L"Cannot not create socket.\n\nError code: 24"},
        {L"x", -3, L"x\n\nError code: -3"},
    };
    for (const Row& row : rows) {
        CBlockingSocketException e(row.message, row.code);
        EXPECT_EQ(e.GetErrorText(), row.expected);
        std::wstring text;
        EXPECT_TRUE(e.FormatErrorText(text));
        EXPECT_EQ(text, row.expected);
        CBlockingSocketException copy(e);
        EXPECT_EQ(copy.GetErrorText(), row.expected);
    }
}

TEST(BlockingSocket, CloseWithoutHandleKeepsZero) {
    CBlockingSocket socket;
    EXPECT_EQ(socket.GetHandle(), NoSocket);
    socket.Close();
    EXPECT_EQ(socket.GetHandle(), NoSocket);
    socket.CloseQuietly();
    EXPECT_EQ(socket.GetHandle(), NoSocket);
}

TEST(BlockingSocket, ReusableAfterClose) {
    CBlockingSocket socket;
    EXPECT_GT(socket.CreateHandle(SOCK_STREAM), 0);
    socket.Close();
    EXPECT_EQ(socket.GetHandle(), NoSocket);
    EXPECT_GT(socket.CreateHandle(SOCK_STREAM), 0);
    socket.CloseQuietly();
    EXPECT_EQ(socket.GetHandle(), NoSocket);
}

TEST(BlockingSocket, SendAndReceiveOverLoopback) {
    ConnectedPair pair;
    EXPECT_EQ(pair.client.SendAll("hello", 5, 5), 5);
    char buffer[16] = {};
    EXPECT_EQ(pair.server.ReceiveTimed(buffer, sizeof buffer, 5), 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_FALSE(pair.server.HasPendingData());
    pair.client.SendAll("x", 1, 5);
    for (int i = 0; i < 100 && !pair.server.HasPendingData(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(pair.server.HasPendingData());
}

TEST(BlockingSocket, ReceiveAfterPeerCloseReturnsZero) {
    ConnectedPair pair;
    pair.client.Close();
    char buffer[8];
    EXPECT_EQ(pair.server.ReceiveTimed(buffer, sizeof buffer, 5), 0);
}

TEST(BlockingSocket, ReceiveTimeoutThrowsAndLeavesHandleOpen) {
    ConnectedPair pair;
    char buffer[8];
    SocketHandle before = pair.server.GetHandle();
    try {
        pair.server.ReceiveTimed(buffer, sizeof buffer, 1);
        FAIL() << "no time-out";
    } catch (CBlockingSocketException& e) {
        EXPECT_EQ(e.Message(), L"Unable to receive data (receive timeout).");
        EXPECT_EQ(e.GetErrorText(), L"Unable to receive data (receive timeout).\n\nError code: " +
                                        std::to_wstring(ETIMEDOUT));
    }
    EXPECT_EQ(pair.server.GetHandle(), before);
}

TEST(BlockingSocket, ActivityIsPostedBeforeSendReceiveAndAcceptOnly) {
    ActivityRecorder activity;
    ConnectedPair pair; // one Accept, one Connect
    EXPECT_EQ(activity.Count(), 1u);
    pair.client.SendAll("", 0, 5); // a zero-length SendAll still makes one send
    EXPECT_EQ(activity.Count(), 2u);
    pair.client.SendAll("ab", 2, 5);
    char buffer[4];
    pair.server.ReceiveTimed(buffer, sizeof buffer, 5);
    EXPECT_EQ(activity.Count(), 4u);
    pair.server.HasPendingData();
    pair.server.ResolveHost("127.0.0.1", 21);
    EXPECT_EQ(activity.Count(), 4u);
    for (const auto& posted : activity.window.Messages()) {
        EXPECT_EQ(posted.message, SocketActivityMessage);
        EXPECT_EQ(posted.wParam, 0u);
        EXPECT_EQ(posted.lParam, 0);
    }
}

TEST(BlockingSocket, ConnectRefusedAndUnknownHostTexts) {
    CBlockingSocket probe;
    probe.CreateHandle(SOCK_STREAM);
    probe.Bind(Loopback(0));
    sockaddr_in unused{};
    probe.GetLocalAddress(unused);
    probe.Close(); // the port is now closed

    CBlockingSocket socket;
    socket.CreateHandle(SOCK_STREAM);
    try {
        socket.Connect(unused);
        FAIL() << "connected to a closed port";
    } catch (CBlockingSocketException& e) {
        EXPECT_EQ(e.GetErrorText(),
                  L"Cannot establish a connection to the server.\n\nError code: " +
                      std::to_wstring(ECONNREFUSED));
    }
    socket.CloseQuietly();

    try {
        socket.ResolveHost("no..such.host", 21);
        FAIL() << "resolved an impossible name";
    } catch (CBlockingSocketException& e) {
        EXPECT_EQ(e.Message(), L"The host 'no..such.host' could not be found. Please make sure "
                               L"you are connected to the Internet and verify that you have "
                               L"entered the server name correctly.");
        EXPECT_NE(e.ErrorCode(), 0);
    }
}

TEST(BlockingSocket, ResolveHostFillsFamilyPortAndAddress) {
    CBlockingSocket socket;
    sockaddr_in address = socket.ResolveHost("localhost", 2121);
    EXPECT_EQ(address.sin_family, AF_INET);
    EXPECT_EQ(ntohs(address.sin_port), 2121);
    EXPECT_EQ(AddressText(address), L"127.0.0.1");
    EXPECT_EQ(socket.GetHandle(), NoSocket);
}

TEST(BlockingSocket, AcceptTimesOutWhenNobodyConnects) {
    CBlockingSocket listener;
    listener.CreateHandle(SOCK_STREAM);
    listener.Bind(Loopback(0));
    listener.Listen();
    CBlockingSocket target;
    sockaddr_in peer{};
    EXPECT_THROW(listener.Accept(target, peer, 1), CBlockingSocketException);
    EXPECT_EQ(target.GetHandle(), NoSocket);
    listener.Close();
}

namespace {
void IgnoreSignal(int) {}
} // namespace

TEST(BlockingSocket, InterruptedAcceptReturnsFalse) {
    struct sigaction action {};
    action.sa_handler = IgnoreSignal; // no SA_RESTART: accept sees EINTR
    struct sigaction previous {};
    sigaction(SIGUSR1, &action, &previous);

    CBlockingSocket listener;
    listener.CreateHandle(SOCK_STREAM);
    listener.Bind(Loopback(0));
    listener.Listen();
    CBlockingSocket target;
    bool accepted = true;
    std::thread waiter([&] {
        sockaddr_in peer{};
        accepted = listener.Accept(target, peer, 0);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    pthread_kill(waiter.native_handle(), SIGUSR1);
    waiter.join();
    EXPECT_FALSE(accepted);
    EXPECT_EQ(target.GetHandle(), InvalidSocket);
    listener.Close();
    sigaction(SIGUSR1, &previous, nullptr);
}

TEST(BlockingSocket, ShowErrorShowsNonEmptyTextsWithTheErrorIcon) {
    testsupport::CRecordingMessages messages;
    ShowError(L"");
    ShowError(L"Unable to send data.\n\nError code: 32");
    auto shown = messages.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"Unable to send data.\n\nError code: 32");
    EXPECT_EQ(shown[0].flags, 0x10u);
}
