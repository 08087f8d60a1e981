#include "sites/SiteRules.h"

#include "platform/TextCodec.h"
#include "sites/SiteList.h"

std::wstring CheckSiteLabel(const std::wstring& label, const std::wstring& openingLabel,
                            SiteList& sites) {
    if (label.empty()) {
        return L"The site label cannot be empty.";
    }
    if (!platform::EqualNoCase(label, openingLabel) && sites.FindSite(label)) {
        return L"A site or group with this label already exists.";
    }
    return {};
}

std::wstring StripFtpScheme(const std::wstring& host) {
    if (host.size() >= 6 && platform::EqualNoCase(host.substr(0, 6), L"ftp://")) {
        return host.substr(6);
    }
    return host;
}

std::wstring CheckFieldLength(const std::wstring& fieldName, const std::wstring& text) {
    if (Utf16Length(text) <= MaxTextUnits) {
        return {};
    }
    return L"The " + fieldName + L" is too long: at most " + std::to_wstring(MaxTextUnits) +
           L" characters fit.";
}
