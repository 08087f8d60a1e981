#pragma once

#include <cstdint>
#include <string>

namespace nsFTP {

// Reads "(h1,h2,h3,h4,p1,p2)" from a 227 reply: the address in host byte
// order (numbers are added, not masked, as servers have always been read)
// and the port p1 * 256 + p2. Spaces inside the parentheses fail the parse.
bool ParsePassiveReply(const std::wstring& text, std::uint32_t& address, unsigned short& port);

} // namespace nsFTP
