#include <cerrno>
#include <cstring>

#include "connection/Utilities.h"
#include "platform/MessageService.h"
#include "platform/TextCodec.h"

void ShowErrorCodeBox(int errorCode, const std::wstring& callerText) {
    char buffer[256];
    // GNU strerror_r returns the text, which may or may not be in buffer.
    const char* systemText = ::strerror_r(errorCode, buffer, sizeof buffer);
    std::wstring text = L"Error code: " + std::to_wstring(errorCode) + L"\n";
    if (systemText && *systemText) {
        text += platform::FromUtf8(systemText) + L"\n";
    }
    text += callerText;
    platform::ShowMessage(text, platform::ProgramCaption(), platform::MbIconError);
}

void ShowLastErrorBox(const std::wstring& callerText) {
    ShowErrorCodeBox(errno, callerText);
}
