#include "platform/ShellOpen.h"

#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "platform/TextCodec.h"

extern char** environ;

namespace platform {

bool OpenWithDesktop(const std::wstring& target) {
    std::string path = ToUtf8(target);
    char program[] = "xdg-open";
    char* argv[] = {program, path.data(), nullptr};
    pid_t child = -1;
    if (::posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0) {
        return false;
    }
    // Reap the handler whenever it ends, so it leaves no zombie behind.
    std::thread([child] {
        int status = 0;
        ::waitpid(child, &status, 0);
    }).detach();
    return true;
}

} // namespace platform
