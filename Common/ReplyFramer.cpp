#include "Common/ReplyFramer.h"

namespace nsFTP {

bool CReplyFramer::Feed(std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t lf = bytes.find('\n');
        std::string_view piece =
            bytes.substr(0, lf == std::string_view::npos ? bytes.size() : lf + 1);
        if (partial.size() + piece.size() > MaxLineBytes) {
            Reset();
            return false;
        }
        // NUL bytes carry no text on the control connection; dropping them keeps
        // the rest of the read intact.
        for (char c : piece) {
            if (c != '\0') {
                partial.push_back(c);
            }
        }
        bytes.remove_prefix(piece.size());
        if (lf != std::string_view::npos) {
            lines.push_back(std::move(partial));
            partial.clear();
        }
    }
    return true;
}

void CReplyFramer::FlushPartial() {
    if (!partial.empty()) {
        lines.push_back(std::move(partial));
        partial.clear();
    }
}

std::string CReplyFramer::TakeLine() {
    std::string line = std::move(lines.front());
    lines.pop_front();
    return line;
}

void CReplyFramer::Reset() {
    lines.clear();
    partial.clear();
}

} // namespace nsFTP
