#pragma once

#include <string>

namespace nsFTP {

// Everything LogOn needs: the server, the user, and for the eight proxy
// logon types the firewall that stands in front of it.
struct LogonParameters {
    std::wstring host;
    int port = 21;
    std::wstring user = L"anonymous";
    std::wstring password;
    std::wstring account;
    std::wstring firewallHost;
    std::wstring firewallUser;
    std::wstring firewallPassword;
    int firewallPort = 21;
    // 0 is a direct logon; 1 to 8 go through a firewall or proxy.
    int logonType = 0;
};

} // namespace nsFTP
