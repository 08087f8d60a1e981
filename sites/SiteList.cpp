#include "sites/SiteList.h"

#include "platform/MessageService.h"
#include "platform/SettingsStore.h"
#include "platform/TextCodec.h"

SiteList::SiteList() : store(nullptr) {}

SiteList::SiteList(platform::CSettingsStore& settings) : store(&settings) {}

platform::CSettingsStore& SiteList::Store() {
    return store ? *store : platform::Settings();
}

void SiteList::LoadSites() {
    records.clear();
    if (!Store().CreateKey(SitesKey)) {
        return;
    }
    for (const std::wstring& name : Store().ValueNames(SitesKey)) {
        LoadSiteValue(name);
    }
}

void SiteList::LoadSiteValue(const std::wstring& valueName) {
    std::optional<platform::SettingsValue> value = Store().QueryValue(SitesKey, valueName);
    if (!value || value->data.size() > SiteRecordSize) {
        return;
    }
    MaskSiteBytes(value->data.data(), value->data.size());
    records.push_back(SiteRecord::FromBytes(value->data.data(), value->data.size()));
}

SiteRecord* SiteList::FindSite(const std::wstring& label) {
    for (SiteRecord& record : records) {
        if (platform::EqualNoCase(GetText(record.label), label)) {
            return &record;
        }
    }
    return nullptr;
}

SiteRecord* SiteList::SiteAt(int index) {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return &records[static_cast<std::size_t>(index)];
}

int SiteList::AddSite(const SiteRecord& record) {
    const std::wstring label = GetText(record.label);
    if (FindSite(label)) {
        platform::ShowMessage(L"A site with this label already exists.", platform::ProgramCaption(),
                              platform::MbIconError);
        return -1;
    }
    records.push_back(record);
    SaveSite(label);
    return Count() - 1;
}

void SiteList::RemoveSite(const std::wstring& label, bool removeFromList) {
    if (removeFromList) {
        for (auto it = records.begin(); it != records.end(); ++it) {
            if (platform::EqualNoCase(GetText(it->label), label)) {
                records.erase(it);
                break;
            }
        }
    }
    Store().DeleteValue(SitesKey, label);
}

void SiteList::SaveSite(const std::wstring& label) {
    const SiteRecord* record = FindSite(label);
    if (!record) {
        return;
    }
    std::vector<std::uint8_t> bytes = record->ToBytes();
    MaskSiteBytes(bytes.data(), bytes.size());
    Store().SetValue(SitesKey, label, platform::ValueType::Binary, bytes);
}
