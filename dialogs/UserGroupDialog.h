#pragma once
// TUserGroupDialog: the five numbered user groups and the user's own group, their names and
// masks, on a copy that the owner takes back on OK.

#include "classlib/ToolBar.h"
#include "dialogs/MaskTreeDialog.h"
#include "settings/UserGroup.h"

class TUserGroupDialog;

class IUserGroupDialogListener {
public:
    virtual void OnUserGroupDialogOK(TUserGroupDialog* dialog) = 0;
    // The owner deletes the dialog here.
    virtual void OnUserGroupDialogClose(TUserGroupDialog* dialog) = 0;

protected:
    ~IUserGroupDialogListener() = default;
};

class TUserGroupDialog : public TMaskTreeDialog {
public:
    // The tree item data of the user's own group; the numbered ones carry 0 to 4.
    static const int SelfGroupData = 10000;

    TUserGroupDialog() : TMaskTreeDialog(IDD_USER_GROUP_DIALOG) {}

    void SetListener(IUserGroupDialogListener* value) { listener = value; }
    void SetGroups(const TUserGroupList& value) { groups = value; }
    const TUserGroupList& GetGroups() const { return groups; }

    // Group 1 to 5 as 0 to 4.
    void SelectGroupItem(int index);
    void SelectSpecialGroupItem();

    BEGIN_MSG_MAP(TUserGroupDialog)
        COMMAND_CODE_HANDLER(IDC_GROUP_NAME, EN_CHANGE, OnNameChange)
        CHAIN_MSG_MAP(TMaskTreeDialog)
    END_MSG_MAP()

protected:
    std::vector<CString>* FindItemMasks(HTREEITEM item) override;
    void FillTree() override;
    void LoadItemExtras(HTREEITEM item) override;
    void ReportOK() override;
    void ReportClose() override;

private:
    // Null for items that stand for no group.
    TUserGroup* FindGroup(HTREEITEM item);
    HTREEITEM FindItemByData(LPARAM data) const;
    LPARAM GetItemData(HTREEITEM item) const;
    void OnNameChange();

    IUserGroupDialogListener* listener = nullptr;
    TUserGroupList groups;
    CImageList images;
    bool loading = false; // the name edit is being filled, not typed into
};
