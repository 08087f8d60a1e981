#pragma once
// The checks of the Site Properties dialog that need no window.

#include <string>

class SiteList;

// "" when the label may be stored, else the message to show. A label that
// differs from the opening label only in letter case is the same site's.
std::wstring CheckSiteLabel(const std::wstring& label, const std::wstring& openingLabel,
                            SiteList& sites);
// The host without a leading "ftp://" (any letter case).
std::wstring StripFtpScheme(const std::wstring& host);
// "" when every text fits a record field, else the message to show.
std::wstring CheckFieldLength(const std::wstring& fieldName, const std::wstring& text);
