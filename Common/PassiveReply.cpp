#include "Common/PassiveReply.h"

namespace nsFTP {

bool ParsePassiveReply(const std::wstring& text, std::uint32_t& address, unsigned short& port) {
    enum { Prefix, Address, PortHigh, PortLow, Done } state = Prefix;
    std::uint32_t number = 0;
    int commas = 0;
    std::uint32_t parsedAddress = 0;
    unsigned parsedPort = 0;
    for (wchar_t c : text) {
        if (state == Done) {
            break;
        }
        if (state == Prefix) {
            if (c == L'(') {
                state = Address;
            }
            continue;
        }
        if (c >= L'0' && c <= L'9') {
            number = number * 10 + static_cast<std::uint32_t>(c - L'0');
            if (number > 0xFFFFFF) {
                return false; // nothing a server could mean
            }
            continue;
        }
        if (state == Address && c == L',') {
            parsedAddress += number << (8 * (3 - commas));
            number = 0;
            if (++commas == 4) {
                state = PortHigh;
            }
        } else if (state == PortHigh && c == L',') {
            parsedPort = (number & 0xFF) << 8;
            number = 0;
            state = PortLow;
        } else if (state == PortLow && c == L')') {
            parsedPort += number;
            state = Done;
        } else {
            return false;
        }
    }
    if (state != Done) {
        return false;
    }
    address = parsedAddress;
    port = static_cast<unsigned short>(parsedPort);
    return true;
}

} // namespace nsFTP
