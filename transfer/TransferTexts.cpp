#include <cstdio>
#include <cwctype>

#include "connection/Utilities.h"
#include "transfer/TransferJobs.h"

namespace {

std::wstring Widen(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

} // namespace

std::wstring ReplaceText(std::int64_t size, std::int64_t time, bool spaceBeforeBytes) {
    char bytes[64];
    std::snprintf(bytes, sizeof bytes, "%s(%lld bytes)", spaceBeforeBytes ? " " : "",
                  static_cast<long long>(size < 0 ? 0 : size));
    return FormatSizeText(size) + Widen(bytes) + L"\r\n" + FormatTimeText(time);
}

std::wstring CountText(TransferMode mode, std::uint64_t position, std::uint64_t total) {
    char text[128];
    const auto p = static_cast<unsigned long long>(position);
    const auto t = static_cast<unsigned long long>(total);
    switch (mode) {
    case ModeUpload:
        std::snprintf(text, sizeof text, "Uploading %llu Kb of %llu Kb", p / 1024, t / 1024);
        break;
    case ModeDownload:
        std::snprintf(text, sizeof text, "Downloading %llu Kb of %llu Kb", p / 1024, t / 1024);
        break;
    case ModeDelete:
        std::snprintf(text, sizeof text, "Deleting %llu of %llu", p + 1, t);
        break;
    case ModeMove:
        std::snprintf(text, sizeof text, "Moving %llu of %llu", p + 1, t);
        break;
    default:
        return {};
    }
    return Widen(text);
}

std::wstring TitleText(TransferMode mode) {
    switch (mode) {
    case ModeUpload:
        return L"Uploading...";
    case ModeDownload:
        return L"Downloading...";
    case ModeDelete:
        return L"Deleting...";
    case ModeMove:
        return L"Moving...";
    }
    return {};
}

std::wstring FolderOfPath(const std::wstring& path) {
    std::size_t last = path.find_last_of(L"/\\");
    if (last == std::wstring::npos) {
        // Only a drive ("C:") can precede a bare name.
        if (path.size() >= 2 && path[1] == L':' && std::iswalpha(static_cast<wint_t>(path[0]))) {
            return path.substr(0, 2);
        }
        return {};
    }
    std::wstring folder = path.substr(0, last + 1);
    if (folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}
