#include "platform/MessageService.h"

#include <atomic>
#include <cstdio>

namespace platform {
namespace {

std::atomic<IMessageService*> installedService{nullptr};

} // namespace

void SetMessageService(IMessageService* service) {
    installedService.store(service, std::memory_order_release);
}

int ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned flags) {
    if (IMessageService* service = installedService.load(std::memory_order_acquire)) {
        return service->ShowMessage(text, caption, flags);
    }
    std::fprintf(stderr, "%ls: %ls\n", caption.c_str(), text.c_str());
    return (flags & 0xF) == MbYesNo ? IdYes : IdOk;
}

} // namespace platform
