#pragma once
// Recording stand-ins for the user-interface services, installed for the
// lifetime of the object.

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/MessageService.h"
#include "platform/WindowTarget.h"

namespace testsupport {

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    unsigned flags = 0;
};

class CRecordingMessages final : public platform::IMessageService {
public:
    CRecordingMessages() { platform::SetMessageService(this); }
    ~CRecordingMessages() { platform::SetMessageService(nullptr); }
    CRecordingMessages(const CRecordingMessages&) = delete;
    CRecordingMessages& operator=(const CRecordingMessages&) = delete;

    int ShowMessage(const std::wstring& text, const std::wstring& caption,
                    unsigned flags) override {
        std::lock_guard guard(lock);
        shown.push_back({text, caption, flags});
        if (answers.empty()) {
            return platform::IdOk;
        }
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // Answers for the next boxes, in order; OK once they are used up.
    void QueueAnswer(int answer) {
        std::lock_guard guard(lock);
        answers.push_back(answer);
    }
    std::vector<ShownMessage> Shown() {
        std::lock_guard guard(lock);
        return shown;
    }
    std::vector<std::wstring> Texts() {
        std::lock_guard guard(lock);
        std::vector<std::wstring> texts;
        for (const ShownMessage& m : shown) {
            texts.push_back(m.text);
        }
        return texts;
    }
    void Clear() {
        std::lock_guard guard(lock);
        shown.clear();
    }

private:
    std::mutex lock;
    std::vector<ShownMessage> shown;
    std::deque<int> answers;
};

class CRecordingWindow final : public platform::IWindowTarget {
public:
    struct Posted {
        unsigned message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    void PostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        std::lock_guard guard(lock);
        posted.push_back({message, wParam, lParam});
    }
    std::vector<Posted> Messages() {
        std::lock_guard guard(lock);
        return posted;
    }

private:
    std::mutex lock;
    std::vector<Posted> posted;
};

class CRecordingStatusBar final : public platform::IStatusBarTarget {
public:
    struct Posted {
        int pane;
        std::wstring text;
    };
    void PostPaneText(int pane, std::wstring text) override {
        std::lock_guard guard(lock);
        posted.push_back({pane, std::move(text)});
    }
    std::vector<Posted> Texts() {
        std::lock_guard guard(lock);
        return posted;
    }

private:
    std::mutex lock;
    std::vector<Posted> posted;
};

} // namespace testsupport
