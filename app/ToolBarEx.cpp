#include "app/ToolBarEx.h"

#include <wx/image.h>
#include <wx/mstream.h>

#include "app/resources/ToolbarStrip.h"
#include "browser/ViewRules.h"

namespace {

struct Button {
    int command;
    const char* prompt;
};

// In strip order; 0 marks a separator.
const Button Buttons[] = {
    {CmdConnect, "Connect"},
    {CmdDisconnect, "Disconnect"},
    {0, nullptr},
    {CmdCopy, "Copy"},
    {CmdPaste, "Paste"},
    {0, nullptr},
    {CmdNewDirectory, "New"},
    {CmdRename, "Rename"},
    {CmdDelete, "Delete"},
    {0, nullptr},
    {CmdProperties, "Properties"},
    {0, nullptr},
    {CmdChmod, "CHMOD"},
    {0, nullptr},
    {CmdAbout, "About"},
};

} // namespace

wxString CToolBarEx::CaptionOf(const wxString& prompt) {
    return prompt.AfterLast(wxT('\n'));
}

std::vector<wxBitmap> CToolBarEx::LoadTrueColorImages() {
    if (!wxImage::FindHandler(wxBITMAP_TYPE_BMP)) {
        wxImage::AddHandler(new wxBMPHandler);
    }
    wxMemoryInputStream stream(ToolbarStrip, ToolbarStripSize);
    wxImage strip(stream, wxBITMAP_TYPE_BMP);
    if (!strip.IsOk() || strip.GetWidth() < 32 || strip.GetHeight() != 32) {
        return {};
    }
    // A bottom-up bitmap stores its bottom-left pixel first.
    const int maskY = strip.GetHeight() - 1;
    strip.SetMaskColour(strip.GetRed(0, maskY), strip.GetGreen(0, maskY), strip.GetBlue(0, maskY));
    std::vector<wxBitmap> images;
    for (int x = 0; x + 32 <= strip.GetWidth(); x += 32) {
        images.emplace_back(strip.GetSubImage(wxRect(x, 0, 32, 32)));
    }
    return images;
}

CToolBarEx::CToolBarEx(wxWindow* parent)
    : wxToolBar(parent, WxId(ToolBarId), wxDefaultPosition, wxDefaultSize,
                wxTB_FLAT | wxTB_TEXT | wxTB_HORIZONTAL | wxTB_NODIVIDER) {
    SetToolBitmapSize(wxSize(32, 32));
    std::vector<wxBitmap> images = LoadTrueColorImages();
    std::size_t image = 0;
    for (const Button& b : Buttons) {
        if (b.command == 0) {
            AddSeparator();
            continue;
        }
        wxBitmap bitmap = image < images.size() ? images[image] : wxBitmap(32, 32);
        ++image;
        const wxString caption = CaptionOf(wxString::FromUTF8(b.prompt));
        AddTool(WxId(b.command), caption, bitmap, caption);
    }
    Realize();
}
