#pragma once
// A static control that paints one icon on the dialog background.

#include <wx/control.h>
#include <wx/icon.h>

class CStaticEx final : public wxControl {
public:
    CStaticEx(wxWindow* parent, wxWindowID id, const wxSize& size);
    // The icon to draw at the top-left corner; none draws only the background.
    void SetIcon(const wxIcon& newIcon);
    const wxIcon& GetIcon() const { return icon; }

private:
    void OnPaint(wxPaintEvent& event);
    wxIcon icon;
};
