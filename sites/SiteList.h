#pragma once
// The saved sites: an ordered list of records, loaded from and saved to the
// settings store one masked value per record, named by its label.

#include <string>
#include <vector>

#include "sites/SiteRecord.h"

namespace platform {
class CSettingsStore;
}

inline const wchar_t* const SitesKey = L"Software\\PellixFTP\\Sites";

class SiteList {
public:
    // Uses the program's settings store unless another is given.
    SiteList();
    explicit SiteList(platform::CSettingsStore& store);

    // Empties the list and reads every stored site, in stored order.
    void LoadSites();
    // Reads one stored value and appends it; skips values over 1208 bytes.
    void LoadSiteValue(const std::wstring& valueName);
    // The first record whose label matches without regard to case.
    SiteRecord* FindSite(const std::wstring& label);
    SiteRecord* SiteAt(int index);
    // Appends and saves the record; -1 (with a message) for a duplicate label.
    int AddSite(const SiteRecord& record);
    // Deletes the stored value, and the record too when removeFromList is set.
    void RemoveSite(const std::wstring& label, bool removeFromList);
    // Stores the record found by label under that label.
    void SaveSite(const std::wstring& label);

    int Count() const { return static_cast<int>(records.size()); }
    const std::vector<SiteRecord>& Records() const { return records; }

private:
    platform::CSettingsStore& Store();

    platform::CSettingsStore* store;
    std::vector<SiteRecord> records;
};
