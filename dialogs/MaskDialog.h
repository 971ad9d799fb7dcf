#pragma once
// TMaskDialog: the modeless window that edits one list of IRC masks. The list box is what the
// user edits; beside it the dialog keeps the masks its owner filled it with, so the owner can
// tell on OK what changed.

#include "controls/Edit.h"
#include "controls/ListBox.h"
#include "controls/UpdateDialog.h"
#include "dialogs/MaskListEditor.h"
#include "res/windows/dialogs.h"

#include <set>
#include <vector>

class TMaskDialog;

class IMaskDialogListener {
public:
    virtual void OnMaskDialogOK(TMaskDialog* dialog) = 0;
    virtual void OnMaskDialogUpdate(TMaskDialog* dialog) = 0;
    // The owner deletes the dialog here.
    virtual void OnMaskDialogClose(TMaskDialog* dialog) = 0;

protected:
    ~IMaskDialogListener() = default;
};

class TMaskDialog : public TUpdateDialog {
public:
    TMaskDialog();
    ~TMaskDialog() override;

    void SetListener(IMaskDialogListener* value) { listener = value; }
    void SetTitle(const CString& value) { title = value; }
    // Made and shown.
    bool CreateAndShow();

    // The owner's side: adds to both lists unless the list box holds it under IRC folding.
    int AddMask(const CString& mask);
    void RemoveMask(const CString& mask);
    void ClearMasks();
    // The user's side, as the Add button: the list box alone, unless it holds the mask already.
    int AddShownMask(const CString& mask);
    std::vector<CString> GetMasks() const;
    // What the owner filled in, less what it removed since.
    const std::vector<CString>& GetFilledMasks() const { return masks; }
    int GetCount() const;
    void SetMaskText(const CString& text);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    BEGIN_MSG_MAP(TMaskDialog)
        if (editor.ProcessMessage(uMsg, wParam, lParam))
            return TRUE;
        COMMAND_ID_HANDLER(IDC_MASK_UPDATE, OnUpdate)
        MESSAGE_HANDLER(kEndBurstMessage, OnEndBurst)
        CHAIN_MSG_MAP(TUpdateDialog)
    END_MSG_MAP()

private:
    static const UINT kEndBurstMessage = WM_APP + 0x20;

    void BeginBurst();
    LRESULT OnEndBurst(WPARAM wParam, LPARAM lParam);
    int FindInList(const CString& text) const;
    // The list box alone: the buttons never touch the owner's masks.
    int AddToList(const CString& text);
    int TextExtent(const CString& text) const;
    void DeleteFromList(int index);
    void OnUpdate();

    TListBox list;
    TEdit edit;
    TMaskListEditor editor{edit,
                           list,
                           {[this](const CString& text) { return FindInList(text); },
                            [this](const CString& text) { return AddToList(text); },
                            [this](int index) { DeleteFromList(index); }},
                           true,
                           [this] { OnOK(); }};
    IMaskDialogListener* listener = nullptr;
    CString title;
    std::vector<CString> masks;
    // The list box's texts in its order, and IRC-folded: a long list is searched without
    // asking the control item by item.
    std::vector<CString> items;
    std::set<CString> folded;
    // Their widths, by item and sorted, for the list's horizontal scroll range.
    std::vector<int> extents;
    std::multiset<int> widths;
    bool inBurst = false; // the list is not drawn until the posted end of the burst
};
