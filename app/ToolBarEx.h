#pragma once
// The main window's toolbar: flat buttons with 32x32 true-colour images and
// a caption under each.

#include <vector>
#include <wx/bitmap.h>
#include <wx/toolbar.h>

class CToolBarEx final : public wxToolBar {
public:
    static constexpr int ToolBarId = 59392;

    explicit CToolBarEx(wxWindow* parent);

    // The ten images cut from the 320x32 strip; the colour of the strip's
    // first stored pixel is transparent. Empty when the strip cannot be read.
    static std::vector<wxBitmap> LoadTrueColorImages();
    // The caption of a command: the last line of its prompt string.
    static wxString CaptionOf(const wxString& prompt);
};
