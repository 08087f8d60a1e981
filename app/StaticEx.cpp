#include "app/StaticEx.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

CStaticEx::CStaticEx(wxWindow* parent, wxWindowID id, const wxSize& size)
    : wxControl(parent, id, wxDefaultPosition, size, wxBORDER_NONE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(size);
    Bind(wxEVT_PAINT, &CStaticEx::OnPaint, this);
}

void CStaticEx::SetIcon(const wxIcon& newIcon) {
    icon = newIcon;
    Refresh();
}

void CStaticEx::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    if (icon.IsOk()) {
        dc.DrawIcon(icon, 0, 0);
    }
}
