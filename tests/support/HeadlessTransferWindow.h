#pragma once
// A transfer dialog without a window: runs a CTransferDialogCore to its end
// on the test thread the way the progress dialog does, answers replace
// questions from a script, and can press Cancel when a condition holds.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/MessageService.h"
#include "transfer/TransferDialogCore.h"

namespace testsupport {

class CHeadlessTransferWindow final : public ITransferWindow {
public:
    struct Question {
        bool isDirectory;
        std::wstring name, serverText, localText;
    };

    void RequestWake() override {
        std::lock_guard guard(lock);
        wakes = true;
        changed.notify_all();
    }
    void ShowPathText(const std::wstring& text) override { pathTexts.push_back(text); }
    void ShowCountText(const std::wstring& text) override { countText = text; }
    void SetBar(std::uint64_t position, std::uint64_t range) override {
        barPosition = position;
        barRange = range;
    }
    void OnWorkerClose(int result) override { workerResult = result; }
    int AskReplaceOnWindowThread(bool isDirectory, const std::wstring& name,
                                 const std::wstring& serverText,
                                 const std::wstring& localText) override {
        std::lock_guard guard(lock);
        questions.push_back({isDirectory, name, serverText, localText});
        if (answers.empty()) {
            return platform::IdOk;
        }
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Runs the dialog: starts the job, shows its reports, and ends like the
    // dialog's OK and Cancel handlers do. Returns what DoModal would return.
    int Run(CTransferDialogCore& core, int timeoutMs = 120000) {
        if (!core.Start()) {
            return 0;
        }
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        int result = pressCancelWhen && pressCancelWhen(*this) ? platform::IdCancel : 0;
        if (result != 0) {
            core.RequestCancel();
        }
        while (std::chrono::steady_clock::now() < deadline) {
            {
                std::unique_lock guard(lock);
                changed.wait_until(guard,
                                   std::min(deadline, std::chrono::steady_clock::now() +
                                                          std::chrono::milliseconds(50)),
                                   [this] { return wakes; });
                wakes = false;
            }
            core.OnWake();
            if (result == 0 && workerResult != 0) {
                result = workerResult;
            }
            if (result == 0 && pressCancelWhen && pressCancelWhen(*this)) {
                result = platform::IdCancel;
            }
            if (result != 0) {
                core.RequestCancel();
                if (core.WorkerFinished()) {
                    core.JoinWorker();
                    return result;
                }
            }
        }
        return -1; // the job did not end in time
    }

    // Forgets everything recorded, for the next run.
    void Reset() {
        answers.clear();
        questions.clear();
        pressCancelWhen = nullptr;
        pathTexts.clear();
        countText.clear();
        barPosition = barRange = 0;
        workerResult = 0;
    }

    std::deque<int> answers;
    std::vector<Question> questions;
    std::function<bool(CHeadlessTransferWindow&)> pressCancelWhen;
    std::vector<std::wstring> pathTexts;
    std::wstring countText;
    std::uint64_t barPosition = 0;
    std::uint64_t barRange = 0;
    int workerResult = 0;

private:
    std::mutex lock;
    std::condition_variable changed;
    bool wakes = false;
};

} // namespace testsupport
