#include "app/AssertHandler.h"

#include <cstdio>
#include <wx/debug.h>
#include <wx/string.h>

namespace {

void ReportAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
    std::fprintf(stderr, "wx assertion failed: %s:%d %s: %s %s\n", file.utf8_str().data(), line,
                 func.utf8_str().data(), cond.utf8_str().data(), msg.utf8_str().data());
}

} // namespace

void InstallStderrAssertHandler() {
    wxSetAssertHandler(ReportAssert);
}
