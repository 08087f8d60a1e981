#pragma once
// What a transfer job sees of its progress dialog. Every call returns without
// waiting for the window thread, except AskReplace, which waits for the
// user's answer.

#include <cstdint>
#include <string>

class ITransferDialog {
public:
    // The item being worked on.
    virtual void PostCurrentPath(std::wstring path) = 0;
    // Bytes moved so far, or the index of the item just handled.
    virtual void PostPosition(std::uint64_t position) = 0;
    // The end of the progress range (bytes, or the number of items).
    virtual void SetProgressRange(std::uint64_t total) = 0;
    // The job's last act: IdOk when it reached its end, IdCancel when a
    // replacement was refused.
    virtual void PostClose(int result) = 0;
    // The "Confirm Replace" question; IdOk replaces.
    virtual int AskReplace(bool isDirectory, const std::wstring& name,
                           const std::wstring& serverText, const std::wstring& localText) = 0;
    // Polled after every block and before every item; never waits.
    virtual bool IsCancelRequested() = 0;

protected:
    ~ITransferDialog() = default;
};
