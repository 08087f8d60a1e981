#pragma once
// The worker side of the transfer progress dialog, without any window: it
// starts the job on its own thread, keeps the latest path and position the
// job reported (one wake-up pending at a time, so a fast transfer cannot
// flood the window thread), and turns them into the dialog's texts.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "transfer/TransferJobs.h"

// The window the dialog core reports to (the progress dialog, or a test).
class ITransferWindow {
public:
    // Any thread: ask the window thread to call CTransferDialogCore::OnWake.
    // Returns at once.
    virtual void RequestWake() = 0;
    // Window thread: show the current path, the count text and the bar.
    virtual void ShowPathText(const std::wstring& text) = 0;
    virtual void ShowCountText(const std::wstring& text) = 0;
    virtual void SetBar(std::uint64_t position, std::uint64_t range) = 0;
    // Window thread: the job asked the dialog to close with IdOk or IdCancel.
    virtual void OnWorkerClose(int result) = 0;
    // Worker thread: the replace question, asked on the window thread; waits
    // for the answer.
    virtual int AskReplaceOnWindowThread(bool isDirectory, const std::wstring& name,
                                         const std::wstring& serverText,
                                         const std::wstring& localText) = 0;

protected:
    ~ITransferWindow() = default;
};

class CTransferDialogCore final : public ITransferDialog {
public:
    CTransferDialogCore(CServerConnection& connection, std::unique_ptr<TransferList> list,
                        std::wstring targetDirectory, TransferMode mode, ITransferWindow& window);
    // Stops and joins a worker that is still running.
    ~CTransferDialogCore();
    CTransferDialogCore(const CTransferDialogCore&) = delete;
    CTransferDialogCore& operator=(const CTransferDialogCore&) = delete;

    // Starts the job's thread; false (nothing started) without a list or for
    // an unknown mode.
    bool Start();
    std::wstring Title() const { return TitleText(job.mode); }
    // Bytes per block of the job (before Start; for tests and benchmarks).
    void SetBlockSize(int bytes) { job.blockSize = bytes; }
    TransferMode Mode() const { return job.mode; }

    // Window thread: shows what the job reported since the last wake-up.
    void OnWake();
    // Window thread: the Cancel (or OK) handler's first step.
    void RequestCancel() { cancel = true; }
    // True once the job's thread has returned (then JoinWorker does not block).
    bool WorkerFinished() const { return finished; }
    void JoinWorker();

    // ITransferDialog, for the job on the worker thread.
    void PostCurrentPath(std::wstring path) override;
    void PostPosition(std::uint64_t position) override;
    void SetProgressRange(std::uint64_t total) override;
    void PostClose(int result) override;
    int AskReplace(bool isDirectory, const std::wstring& name, const std::wstring& serverText,
                   const std::wstring& localText) override;
    bool IsCancelRequested() override { return cancel; }

private:
    void Wake();

    TransferJob job;
    ITransferWindow& window;
    std::thread worker;
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    std::atomic<bool> wakePending{false};
    std::mutex reportLock;
    std::optional<std::wstring> pendingPath;
    std::optional<std::uint64_t> pendingPosition;
    std::uint64_t range = 0;
    bool rangeChanged = false;
    std::optional<int> closeResult;
    bool closed = false; // window thread only
};
