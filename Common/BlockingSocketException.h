#pragma once

#include <string>

namespace nsSocket {

// What every failing socket operation throws: a fixed message and the
// system's error code at the moment of the failure.
class CBlockingSocketException {
public:
    // Takes the error code from errno.
    explicit CBlockingSocketException(std::wstring message);
    CBlockingSocketException(std::wstring message, int errorCode);
    CBlockingSocketException(const CBlockingSocketException&) = default;
    CBlockingSocketException& operator=(const CBlockingSocketException&) = default;
    ~CBlockingSocketException() = default;

    // The display text: message, a blank line and "Error code: <code>".
    virtual std::wstring GetErrorText();
    // Writes the display text into text and returns true.
    virtual bool FormatErrorText(std::wstring& text);

    const std::wstring& Message() const { return message; }
    int ErrorCode() const { return errorCode; }

private:
    std::wstring message;
    int errorCode;
};

} // namespace nsSocket
