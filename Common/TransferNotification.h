#pragma once
// Sinks and sources of data connections that the engine runs itself.

#include <string>
#include <vector>

#include "Common/WireText.h"

namespace nsFTP {

// How data is represented on a data connection (the TYPE command).
struct DataRepresentation {
    enum Type { Ascii = 0, Ebcdic = 1, Image = 2, Local = 3 };
    enum Format { NonPrint = 0, Telnet = 1, CarriageControl = 2 };
    int type = Ascii;
    int format = NonPrint;

    bool operator==(const DataRepresentation&) const = default;
};

// The commands that run over a data connection.
enum class DataCommand { List = 0, Nlst = 1, Retr = 2, Stor = 3, Stou = 4, Appe = 5 };

class ITransferNotification {
public:
    // Called once per received block with the count of valid bytes.
    virtual void ConsumeBytes(const std::vector<char>& buffer, long count) = 0;
    // Fills the buffer for an upload; a count of 0 ends it.
    virtual void ProduceBytes(std::vector<char>& buffer, long& count) = 0;

protected:
    ~ITransferNotification() = default;
};

// Collects a listing in memory and hands it out line by line.
class COutputStream final : public ITransferNotification {
public:
    explicit COutputStream(WireEncoding encoding = WireEncoding::Latin1) : encoding(encoding) {}

    void ConsumeBytes(const std::vector<char>& buffer, long count) override;
    void ProduceBytes(std::vector<char>&, long& count) override { count = 0; }

    // The next line without its line end (CR LF or a bare LF); the last line
    // counts even without a line end. False when no text is left.
    bool TakeLine(std::wstring& line);

    const std::wstring& Text() const { return text; }

private:
    WireEncoding encoding;
    std::wstring text;
    std::size_t readPosition = 0;
};

} // namespace nsFTP
