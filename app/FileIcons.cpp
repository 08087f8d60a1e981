#include "app/FileIcons.h"

#include <memory>
#include <wx/artprov.h>
#include <wx/iconloc.h>
#include <wx/image.h>
#include <wx/mimetype.h>

namespace {

wxIcon Scaled(const wxIcon& icon, int size) {
    if (!icon.IsOk() || (icon.GetWidth() == size && icon.GetHeight() == size)) {
        return icon;
    }
    wxBitmap bitmap;
    bitmap.CopyFromIcon(icon);
    wxImage image = bitmap.ConvertToImage();
    if (!image.IsOk()) {
        return icon;
    }
    wxIcon scaled;
    scaled.CopyFromBitmap(wxBitmap(image.Scale(size, size, wxIMAGE_QUALITY_HIGH)));
    return scaled;
}

wxIcon TypeIcon(const wxString& extension, int size) {
    if (extension.empty() || !wxTheMimeTypesManager) {
        return {};
    }
    std::unique_ptr<wxFileType> type(wxTheMimeTypesManager->GetFileTypeFromExtension(extension));
    wxIconLocation location;
    if (!type || !type->GetIcon(&location) || !location.IsOk()) {
        return {};
    }
    wxIcon icon(location);
    return icon.IsOk() ? Scaled(icon, size) : wxIcon();
}

} // namespace

wxIcon CFileIcons::Icon(const wxString& name, bool isDirectory, int size) {
    const wxString extension =
        isDirectory || !name.Contains(wxT(".")) ? wxString() : name.AfterLast(wxT('.')).Lower();
    const auto key = std::make_tuple(isDirectory, extension, size);
    auto found = cache.find(key);
    if (found != cache.end()) {
        return found->second;
    }
    wxIcon icon = isDirectory ? wxIcon() : TypeIcon(extension, size);
    if (!icon.IsOk()) {
        icon = Scaled(wxArtProvider::GetIcon(isDirectory ? wxART_FOLDER : wxART_NORMAL_FILE,
                                             wxART_OTHER, wxSize(size, size)),
                      size);
    }
    if (!icon.IsOk()) {
        // The theme has nothing: a plain square still keeps rows aligned.
        wxBitmap blank(size, size);
        icon.CopyFromBitmap(blank);
    }
    cache.emplace(key, icon);
    return icon;
}

CFileIcons& FileIcons() {
    static CFileIcons icons;
    return icons;
}
