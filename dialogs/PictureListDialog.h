#pragma once
// TPictureListDialog: picks a picture file by name from the user's and the common images
// folders, previewing the selected one. TPicturePanel: a static that shows one picture scaled to
// fit, keeping its proportions, on the button face.

#include "classlib/MsgMap.h"
#include "classlib/Static.h"
#include "controls/ListBox.h"
#include "controls/UpdateDialog.h"
#include "foundation/Image.h"
#include "res/windows/dialogs.h"

#include <vector>

class TPicturePanel : public CStatic {
public:
    // A picture that does not decode (or that the loaders refuse as too large) leaves the panel
    // empty; false then.
    bool Load(const CString& path);
    void Clear();
    bool IsEmpty() const { return image.IsEmpty(); }
    const TImage& GetImage() const { return image; }
    // Where the picture lands in a client area of that size: the largest rectangle of its own
    // proportions, centred.
    RECT PictureRect(int width, int height) const;

    BEGIN_MSG_MAP(TPicturePanel)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    END_MSG_MAP()

private:
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

    TImage image;
};

class TPictureListDialog : public TUpdateDialog, public IListBoxListener {
public:
    explicit TPictureListDialog(CWnd* parent = nullptr) : TUpdateDialog(IDD_PICTURE_LIST_DIALOG, parent) {}

    BOOL OnInitDialog() override;
    void OnOK() override;

    BEGIN_MSG_MAP(TPictureListDialog)
        COMMAND_ID_HANDLER(IDC_PICTURE_UPDATE, FillList)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

    const TPicturePanel& GetPreview() const { return preview; }

    // In: the folders to list, the user's first. In: the name to preselect; out: the chosen name,
    // empty when none.
    std::vector<CString> folders;
    CString file;

private:
    void FillList();
    void OnSelChange(TListBox* list) override;
    void OnDoubleClick(TListBox* list, UINT flags, int x, int y) override;

    TPicturePanel preview;
    TListBox list;
};
