// Site records at byte level, and the site list against a real store file.

#include <fstream>
#include <gtest/gtest.h>

#include "platform/SettingsStore.h"
#include "sites/SiteList.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/TempDir.h"

using platform::CSettingsStore;
using testsupport::CTempDir;

namespace {

SiteRecord Site(const std::wstring& label, const std::wstring& host = L"ftp.example") {
    SiteRecord record;
    SetText(record.label, label);
    SetText(record.host, host);
    return record;
}

std::vector<std::uint8_t> Stored(CSettingsStore& store, const std::wstring& name) {
    return store.QueryValue(SitesKey, name).value().data;
}

} // namespace

struct SiteListTest : ::testing::Test {
    CTempDir dir;
    CSettingsStore store{dir / "settings.reg"};
    SiteList sites{store};
    testsupport::CRecordingMessages messages;
};

TEST_F(SiteListTest, DefaultsAndLayout) {
    SiteRecord r;
    auto bytes = r.ToBytes();
    ASSERT_EQ(bytes.size(), 1208u);
    auto int32At = [&](std::size_t offset) {
        return static_cast<std::int32_t>(bytes[offset] | bytes[offset + 1] << 8 |
                                         bytes[offset + 2] << 16 | bytes[offset + 3] << 24);
    };
    EXPECT_EQ(int32At(384), 21);
    EXPECT_EQ(int32At(388), 1);
    EXPECT_EQ(int32At(784), 1);
    EXPECT_EQ(int32At(988), 10);
    EXPECT_EQ(int32At(1184), 1);
    EXPECT_EQ(int32At(1192), -1);
    EXPECT_EQ(int32At(1196), -1);
    SetText(r.host, L"h\u00e9");
    bytes = r.ToBytes();
    EXPECT_EQ(bytes[192], 'h');
    EXPECT_EQ(bytes[193], 0);
    EXPECT_EQ(bytes[194], 0xE9);
    EXPECT_EQ(bytes[195], 0);
    for (std::uint8_t b : SiteRecord::Zeroed().ToBytes()) {
        ASSERT_EQ(b, 0);
    }
}

TEST_F(SiteListTest, StoredBytesAreMaskedRecordBytes) {
    SiteRecord record = Site(L"My Site", L"ftp.secret.example");
    SetText(record.password, L"hunter2");
    record.reserved4 = 0x12345678;
    SetText(record.reservedText, L"carried");
    ASSERT_EQ(sites.AddSite(record), 0);
    std::vector<std::uint8_t> stored = Stored(store, L"My Site");
    std::vector<std::uint8_t> plain = record.ToBytes();
    ASSERT_EQ(stored.size(), 1208u);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        ASSERT_EQ(stored[i], plain[i] ^ 0x5D) << "byte " << i;
    }
    std::ifstream in(store.File());
    std::string file((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(file.find("hunter2"), std::string::npos);
    MaskSiteBytes(stored.data(), stored.size());
    EXPECT_EQ(stored, plain);

    SiteList reloaded(store);
    reloaded.LoadSites();
    ASSERT_EQ(reloaded.Count(), 1);
    EXPECT_EQ(reloaded.SiteAt(0)->ToBytes(), plain) << "reserved fields are carried unchanged";
}

TEST_F(SiteListTest, ShortValuesTakeDefaultsAndLongValuesAreSkipped) {
    SiteRecord full = Site(L"short", L"host.example");
    std::vector<std::uint8_t> shortValue = full.ToBytes();
    shortValue.resize(384);
    MaskSiteBytes(shortValue.data(), shortValue.size());
    store.SetValue(SitesKey, L"short", platform::ValueType::Binary, shortValue);
    std::vector<std::uint8_t> tooLong(1209, 0x5D);
    store.SetValue(SitesKey, L"too long", platform::ValueType::Binary, tooLong);
    store.SetValue(SitesKey, L"normal", platform::ValueType::Binary, [] {
        auto b = Site(L"normal").ToBytes();
        MaskSiteBytes(b.data(), b.size());
        return b;
    }());
    sites.LoadSites();
    ASSERT_EQ(sites.Count(), 2);
    const SiteRecord* s = sites.SiteAt(0);
    EXPECT_EQ(GetText(s->label), L"short");
    EXPECT_EQ(GetText(s->host), L"host.example");
    EXPECT_EQ(s->port, 21);
    EXPECT_EQ(s->passiveMode, 1);
    EXPECT_EQ(s->timeoutSeconds, 10);
    EXPECT_EQ(s->keepAlive, 1);
    EXPECT_EQ(s->groupId, -1);
    EXPECT_EQ(s->parentGroupId, -1);
    EXPECT_EQ(GetText(sites.SiteAt(1)->label), L"normal");
    EXPECT_EQ(sites.SiteAt(-1), nullptr);
    EXPECT_EQ(sites.SiteAt(2), nullptr);
}

TEST_F(SiteListTest, EmptyStoreGivesEmptyListAndCreatesTheKey) {
    sites.LoadSites();
    EXPECT_EQ(sites.Count(), 0);
    EXPECT_TRUE(CSettingsStore(dir / "settings.reg").KeyExists(SitesKey));
}

TEST_F(SiteListTest, LabelsAreUniqueWithoutRegardToCase) {
    ASSERT_EQ(sites.AddSite(Site(L"Home")), 0);
    EXPECT_NE(sites.FindSite(L"HOME"), nullptr);
    EXPECT_EQ(sites.AddSite(Site(L"hOmE")), -1);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, L"A site with this label already exists.");
    EXPECT_EQ(messages.Shown()[0].flags, 0x10u);
    EXPECT_EQ(sites.Count(), 1);
    EXPECT_EQ(store.ValueNames(SitesKey).size(), 1u);
}

TEST_F(SiteListTest, RemoveAndRename) {
    sites.AddSite(Site(L"one"));
    sites.AddSite(Site(L"two"));
    sites.AddSite(Site(L"three"));
    sites.RemoveSite(L"ONE", false);
    EXPECT_EQ(sites.Count(), 3) << "the list keeps the record when the flag is clear";
    EXPECT_EQ(store.ValueNames(SitesKey), (std::vector<std::wstring>{L"two", L"three"}));
    sites.RemoveSite(L"two", true);
    EXPECT_EQ(GetText(sites.SiteAt(1)->label), L"three");

    // A rename: change the label in place, remove the old value, save the new one.
    SiteRecord* three = sites.FindSite(L"three");
    SetText(three->label, L"Drei");
    sites.RemoveSite(L"three", false);
    sites.SaveSite(L"Drei");
    EXPECT_EQ(store.ValueNames(SitesKey), std::vector<std::wstring>{L"Drei"});
}

TEST_F(SiteListTest, LongTextIsCutAtACharacterBoundary) {
    std::wstring label95(95, L'x');
    SiteRecord record = Site(label95);
    EXPECT_EQ(GetText(record.label), label95);
    sites.AddSite(record);
    SiteList reloaded(store);
    reloaded.LoadSites();
    EXPECT_EQ(GetText(reloaded.SiteAt(0)->label), label95);

    TextField field;
    field.fill(u'#');
    EXPECT_FALSE(SetText(field, std::wstring(200, L'y')));
    EXPECT_EQ(GetText(field), std::wstring(95, L'y'));
    // 94 units and an emoji (two units) does not fit: the pair is not split.
    EXPECT_FALSE(SetText(field, std::wstring(94, L'z') + L"\U0001F600"));
    EXPECT_EQ(GetText(field), std::wstring(94, L'z'));
    EXPECT_TRUE(SetText(field, std::wstring(93, L'z') + L"\U0001F600"));
    EXPECT_EQ(GetText(field), std::wstring(93, L'z') + L"\U0001F600");
    EXPECT_TRUE(SetText(field, L"ab"));
    EXPECT_EQ(field[3], u'z') << "the rest of the array is left as it was";
    EXPECT_EQ(Utf16Length(L"a\U0001F600"), 3u);
}
