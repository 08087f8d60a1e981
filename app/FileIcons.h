#pragma once
// Icons from the desktop's icon theme by file name and kind, without looking
// at any file: a folder icon for directories, the type's icon for files.
// One icon per kind, type and size is made and then shared.

#include <map>
#include <tuple>
#include <wx/icon.h>
#include <wx/string.h>

class CFileIcons {
public:
    wxIcon Icon(const wxString& name, bool isDirectory, int size);

private:
    std::map<std::tuple<bool, wxString, int>, wxIcon> cache;
};

// The program-wide icon cache (main thread only).
CFileIcons& FileIcons();
