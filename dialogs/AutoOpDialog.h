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

    // An empty server name selects the whole world; names compare exactly.
    void SelectNode(const CString& serverName, const CString& channelName);
    // The servers and channels take the order of the edited tree; the masks edited here stay.
    void TakeTreeOrder(const TWorldConfig& order);

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
