#include "transfer/TransferDialogCore.h"

CTransferDialogCore::CTransferDialogCore(CServerConnection& connection,
                                         std::unique_ptr<TransferList> list,
                                         std::wstring targetDirectory, TransferMode mode,
                                         ITransferWindow& owner)
    : job{connection, std::move(list), std::move(targetDirectory), mode, *this}, window(owner) {}

CTransferDialogCore::~CTransferDialogCore() {
    cancel = true;
    JoinWorker();
}

bool CTransferDialogCore::Start() {
    if (!job.list || TitleText(job.mode).empty() || worker.joinable()) {
        return false;
    }
    worker = std::thread([this] {
        RunJob(job);
        finished = true;
        Wake();
    });
    return true;
}

void CTransferDialogCore::JoinWorker() {
    if (worker.joinable()) {
        worker.join();
    }
}

void CTransferDialogCore::Wake() {
    if (!wakePending.exchange(true)) {
        window.RequestWake();
    }
}

void CTransferDialogCore::PostCurrentPath(std::wstring path) {
    {
        std::lock_guard guard(reportLock);
        pendingPath = std::move(path);
    }
    Wake();
}

void CTransferDialogCore::PostPosition(std::uint64_t position) {
    {
        std::lock_guard guard(reportLock);
        pendingPosition = position;
    }
    Wake();
}

void CTransferDialogCore::SetProgressRange(std::uint64_t total) {
    {
        std::lock_guard guard(reportLock);
        range = total;
        rangeChanged = true;
    }
    Wake();
}

void CTransferDialogCore::PostClose(int result) {
    {
        std::lock_guard guard(reportLock);
        closeResult = result;
    }
    Wake();
}

int CTransferDialogCore::AskReplace(bool isDirectory, const std::wstring& name,
                                    const std::wstring& serverText, const std::wstring& localText) {
    return window.AskReplaceOnWindowThread(isDirectory, name, serverText, localText);
}

void CTransferDialogCore::OnWake() {
    wakePending = false;
    std::optional<std::wstring> path;
    std::optional<std::uint64_t> position;
    std::optional<int> close;
    std::uint64_t total;
    bool newRange;
    {
        std::lock_guard guard(reportLock);
        path.swap(pendingPath);
        position.swap(pendingPosition);
        close.swap(closeResult);
        total = range;
        newRange = rangeChanged;
        rangeChanged = false;
    }
    if (closed) {
        return; // reports after the dialog has ended are dropped
    }
    if (path) {
        window.ShowPathText(*path);
    }
    if (position) {
        window.ShowCountText(CountText(job.mode, *position, total));
        window.SetBar(*position, total);
    } else if (newRange) {
        window.SetBar(0, total);
    }
    if (close) {
        closed = true;
        window.OnWorkerClose(*close);
    }
}
