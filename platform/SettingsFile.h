#pragma once
// The text form of the settings store, a registry export:
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\PellixFTP\Sites]
//   "name"=hex:01,02,ff
//   "ToolBar"=dword:00000001

#include <string>
#include <vector>

#include "platform/SettingsStore.h"

namespace platform {

std::string FormatSettingsFile(const std::vector<SettingsKey>& keys);

// False, with a line number and reason in error, for text that is not in the
// form above; keys is then unspecified.
bool ParseSettingsFile(const std::string& text, std::vector<SettingsKey>& keys, std::string& error);

// True when a name can be stored (no line breaks or NUL characters).
bool IsStorableName(const std::wstring& name);

} // namespace platform
