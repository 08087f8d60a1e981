#include "platform/WindowTarget.h"

namespace platform {

void PostToWindow(IWindowTarget* target, unsigned message, std::uintptr_t wParam,
                  std::intptr_t lParam) {
    if (target) {
        target->PostMessage(message, wParam, lParam);
    }
}

} // namespace platform
