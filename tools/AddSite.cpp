// Adds a saved site to the user's store unless one with that label exists:
//   pellix-add-site LABEL HOST PORT USER PASSWORD
// Used by scripts/run to offer the demo server.

#include <cstdio>
#include <string>

#include "platform/SettingsStore.h"
#include "platform/TextCodec.h"
#include "sites/SiteList.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: pellix-add-site LABEL HOST PORT USER PASSWORD\n");
        return 2;
    }
    platform::CSettingsStore store(platform::CSettingsStore::DefaultPath());
    SiteList sites(store);
    sites.LoadSites();
    const std::wstring label = platform::FromUtf8(argv[1]);
    if (sites.FindSite(label)) {
        return 0;
    }
    SiteRecord site;
    SetText(site.label, label);
    SetText(site.host, platform::FromUtf8(argv[2]));
    site.port = std::stoi(argv[3]);
    SetText(site.userName, platform::FromUtf8(argv[4]));
    SetText(site.password, platform::FromUtf8(argv[5]));
    return sites.AddSite(site) >= 0 ? 0 : 1;
}
