#pragma once
// The remote browser: the folder box with Go and Up over the file list of
// the working directory. It is the command target of the main window.

#include <map>
#include <memory>
#include <vector>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/imaglist.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include "browser/ListCtrlEx.h"
#include "connection/QuarnDoc.h"
#include "platform/WindowTarget.h"

namespace platform {
class CSettingsStore;
}

class CQuarnView final : public wxPanel {
public:
    static constexpr int FolderBoxId = 1000;
    static constexpr int FolderLabelId = 1030;
    static constexpr int KeepAliveTimerId = 345;
    static constexpr int KeepAliveMs = 30000;

    CQuarnView(wxWindow* parent, CQuarnDoc& document);
    ~CQuarnView() override;

    // Runs a command of the menu, the toolbar, the keys or the context menu.
    void OnCommand(int command);
    ViewState State() const;
    bool IsConnected() const;

    // Reloads the listing from the server and shows it.
    void Refresh();
    void ShowListing();
    void FillFolderBox();
    // Where uploads and new folders go: the first selected row when it is a
    // directory, else the working directory. False when not connected.
    bool TargetDirectory(std::wstring& target);
    void Up();
    void EnterPath();
    void Connect();
    void Disconnect();
    void OpenSelectedItem();

    // The list's mode and column widths under the layout key.
    void LoadListLayout(platform::CSettingsStore& store, const std::wstring& key);
    void SaveListLayout(platform::CSettingsStore& store, const std::wstring& key);

    CListCtrlEx* List() const { return list; }
    wxChoice* FolderBox() const { return folderBox; }
    wxTimer& KeepAliveTimer() { return keepAlive; }
    // For the clipboard rule of Paste (refreshed at most once a second).
    bool ClipboardHasFiles() const;

private:
    void AddListingRow(const ListingEntry& entry, long itemData);
    void OnFolderSelected(wxCommandEvent& event);
    void OnListKey(wxListEvent& event);
    void ChangeToSelectedFolder();
    void RememberColumnWidths();

    CQuarnDoc& document;
    CServerConnection& connection;
    wxStaticText* folderLabel;
    wxChoice* folderBox;
    wxButton* upButton;
    wxButton* goButton;
    CListCtrlEx* list;
    std::unique_ptr<wxImageList> largeIcons;
    std::unique_ptr<wxImageList> smallIcons;
    wxTimer keepAlive;

    // Socket activity from any thread restarts the keep-alive timer.
    class CActivityTarget final : public platform::IWindowTarget {
    public:
        explicit CActivityTarget(CQuarnView* view);
        void PostMessage(unsigned message, std::uintptr_t, std::intptr_t) override;
        // The view is going: later posts find nobody.
        void Detach();

    private:
        std::shared_ptr<std::atomic<CQuarnView*>> view;
    };
    CActivityTarget activity{this};

    // One image per kind and type ("d:" or "f:" and the extension).
    std::map<std::wstring, int> imageOfKind;
    // Column widths last seen in report mode (other modes have no header).
    std::vector<int> columnWidths;

    mutable bool clipboardFiles = false;
    mutable long long clipboardCheckedMs = -1000000;
};
