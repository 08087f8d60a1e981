#include "Common/LogonTable.h"

namespace nsFTP {
namespace {

constexpr std::array<LogonRow, LogonTypeCount> Sequences = {{
    // 0: direct: USER, PASS if asked, ACCT if asked again
    {0, -2, 3, 1, -2, 6, 2, -2, -1},
    // 1: firewall logon, SITE host, then the direct sequence
    {3, 6, 3, 4, 6, -1, 5, -1, 9, 0, -2, 12, 1, -2, 15, 2, -2, -1},
    // 2: firewall logon, then USER user@host
    {3, 6, 3, 4, 6, -1, 6, -2, 9, 1, -2, 12, 2, -2, -1},
    // 3: OPEN host, then the direct sequence
    {7, 3, 3, 0, -2, 6, 1, -2, 9, 2, -2, -1},
    // 4: firewall logon, then the direct sequence
    {3, 6, 3, 4, 6, -1, 0, -2, 9, 1, -2, 12, 2, -2, -1},
    // 5: USER user@host without a firewall logon
    {6, -2, 3, 1, -2, 6, 2, -2, -1},
    // 6: USER fwuser@host, PASS fwpass if asked, then the direct sequence
    {8, 6, 3, 4, 6, -1, 0, -2, 9, 1, -2, 12, 2, -2, -1},
    // 7: USER user@host fwuser
    {9, -1, 3, 1, -2, 6, 2, -2, -1},
    // 8: USER user@fwuser@host, PASS pass@fwpass
    {10, -2, 3, 11, -2, 6, 2, -2, -1},
}};

} // namespace

const LogonRow& LogonSequence(int logonType) {
    return Sequences.at(static_cast<std::size_t>(logonType));
}

std::wstring LogonHostPart(const LogonParameters& parameters) {
    if (static_cast<unsigned short>(parameters.port) == 21) {
        return parameters.host;
    }
    return parameters.host + L":" + std::to_wstring(static_cast<unsigned short>(parameters.port));
}

std::wstring LogonCommand(int code, const LogonParameters& p, const std::wstring& hostPart) {
    switch (code) {
    case 0:
        return L"USER " + p.user;
    case 1:
        return L"PASS " + p.password;
    case 2:
        return L"ACCT " + p.account;
    case 3:
        return L"USER " + p.firewallUser;
    case 4:
        return L"PASS " + p.firewallPassword;
    case 5:
        return L"SITE " + hostPart;
    case 6:
        return L"USER " + p.user + L"@" + hostPart;
    case 7:
        return L"OPEN " + hostPart;
    case 8:
        return L"USER " + p.firewallUser + L"@" + hostPart;
    case 9:
        return L"USER " + p.user + L"@" + hostPart + L" " + p.firewallUser;
    case 10:
        return L"USER " + p.user + L"@" + p.firewallUser + L"@" + hostPart;
    case 11:
        return L"PASS " + p.password + L"@" + p.firewallPassword;
    default:
        return {};
    }
}

} // namespace nsFTP
