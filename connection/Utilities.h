#pragma once
// Small helpers shared by the connection, the view, the transfer jobs and
// the search: paths, display texts, the system-error box, the temp directory.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileTime.h"

// a + b with "/" between them unless a already ends with "/" or "\".
std::wstring JoinRemotePath(const std::wstring& a, const std::wstring& b);
// The same for local paths, whose separator is "/" here.
std::wstring JoinLocalPath(const std::wstring& a, const std::wstring& b);

// Sizes of an unknown value: what a listing that gave no size yields.
inline constexpr std::int64_t UnknownSize = -1;

// "" for 0 and unknown sizes, "%d B" below 1 KiB, "%.2f Kb" below 1 MiB,
// "%.2f Mb" above.
std::wstring FormatSizeText(std::int64_t size);

// The local date and time ("%x %X" in the C locale: 12/31/26 23:59:00), or ""
// when the time cannot be broken down.
std::wstring FormatTimeText(std::int64_t secondsSince1970);

// The instant of a UTC FILETIME in seconds since 1970; 0 for a year before
// 1900 or a time the platform cannot represent.
std::int64_t TimeFromFileTime(const platform::FILETIME& time);

// Shows the last system error (errno) with the caller's text in an error box.
void ShowLastErrorBox(const std::wstring& callerText);
// The same for a given error code.
void ShowErrorCodeBox(int errorCode, const std::wstring& callerText);

// The temp directory: the "Tep" setting when set, else the system's, which
// ends with "/".
std::wstring GetTempDirectory();
// Reads "Tep" into buffer (at most size bytes); false when it is not set or
// does not fit.
bool ReadTempDirSetting(std::uint8_t* buffer, std::size_t size);
// Writes "Tep" with exactly these bytes.
bool WriteTempDirSetting(const std::uint8_t* bytes, std::size_t count);
// The stored form of a temp directory: UTF-16LE units and one zero byte.
std::vector<std::uint8_t> EncodeTempDirSetting(const std::wstring& path);

// Opens a file or address with the desktop's default program, without waiting.
void OpenWithShell(const std::wstring& target);

inline const wchar_t* const SettingsKeyPath = L"Software\\PellixFTP\\Settings";
