#pragma once
// Turns the bytes of the control connection into whole lines, with a hard
// limit on line length so a broken server cannot grow the buffer without end.

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace nsFTP {

class CReplyFramer {
public:
    static constexpr std::size_t MaxLineBytes = 64 * 1024;

    // Adds received bytes. Each complete line (up to and including its LF) is
    // queued; text after the last LF waits for the rest of its line. False when
    // a line grows beyond MaxLineBytes (the framer is then reset).
    bool Feed(std::string_view bytes);
    // At the end of the stream: queues a partial line, if any, as the last line.
    void FlushPartial();
    bool HasLine() const { return !lines.empty(); }
    // The oldest queued line, with its line end; call only when HasLine().
    std::string TakeLine();
    // Forgets queued lines and the partial line.
    void Reset();

private:
    std::deque<std::string> lines;
    std::string partial;
};

} // namespace nsFTP
