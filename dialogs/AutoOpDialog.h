#pragma once
// TAutoOpDialog: the auto-op masks of the whole world, each server and each of its channels, on
// copies that the owner takes back on OK.

#include "dialogs/MaskTreeDialog.h"
#include "settings/ServerConfig.h"

class TAutoOpDialog;
class CImageList;

class IAutoOpDialogListener {
public:
    virtual void OnAutoOpDialogOK(TAutoOpDialog* dialog) = 0;
    // The owner deletes the dialog here.
    virtual void OnAutoOpDialogClose(TAutoOpDialog* dialog) = 0;

protected:
    ~IAutoOpDialogListener() = default;
};

class TAutoOpDialog : public TMaskTreeDialog {
public:
    TAutoOpDialog() : TMaskTreeDialog(IDD_AUTO_OP_DIALOG) {}

    void SetListener(IAutoOpDialogListener* value) { listener = value; }
    // Shared with the main window; not owned.
    void SetImageList(HIMAGELIST value) { images = value; }
    // Copies of the auto-op and ignore masks and of the servers with their channels.
    void SetWorldConfig(const TWorldConfig& config) { world = config; }
    const TWorldConfig& GetWorldConfig() const { return world; }

    // An empty server name selects the whole world; names compare exactly. A channel the server
    // does not list leaves the server selected. False, with the selection left as it was, when
    // the window holds no such server.
    bool SelectNode(const CString& serverName, const CString& channelName);
    // The server tree as it is now, its servers' and channels' names and order; what the window
    // holds keeps the masks edited here. A server renamed since is told first.
    void RenameServer(const CString& oldName, const CString& newName);
    void FollowTree(const TWorldConfig& now);

protected:
    std::vector<CString>* FindItemMasks(HTREEITEM item) override;
    void FillTree() override;
    void ReportOK() override;
    void ReportClose() override;

private:
    TUnitConfig* FindUnitConfig(const CString& name);

    IAutoOpDialogListener* listener = nullptr;
    HIMAGELIST images = nullptr;
    TWorldConfig world;
};
