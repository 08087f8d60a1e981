#pragma once
// The logon sequences as data: for each logon type a small state machine whose
// states name a command and the next state after a 2xx or a 3xx reply.

#include <array>
#include <string>

#include "Common/LogonParameters.h"

namespace nsFTP {

inline constexpr int LogonTypeCount = 9;
inline constexpr int LoggedOn = -2;
inline constexpr int LogonRefused = -1;

// One row: groups of three ints (command code, next state on 2xx, on 3xx);
// states are indexes 0, 3, 6, ...
using LogonRow = std::array<int, 18>;
const LogonRow& LogonSequence(int logonType);

// "host" for port 21, "host:port" otherwise (always the server's own port).
std::wstring LogonHostPart(const LogonParameters& parameters);

// The command text of a command code (0-11); empty for an unknown code.
std::wstring LogonCommand(int code, const LogonParameters& parameters,
                          const std::wstring& hostPart);

} // namespace nsFTP
