#pragma once
// TMaskDialog: the modeless window that edits one list of IRC masks. The list box is what the
// user edits; beside it the dialog keeps the masks its owner filled it with, so the owner can
// tell on OK what changed.

#include "controls/Edit.h"
#include "controls/ListBox.h"
#include "controls/UpdateDialog.h"
#include "dialogs/MaskListEditor.h"
#include "dialogs/MaskListIndex.h"
#include "res/windows/dialogs.h"

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
    void OnUpdate();

    TListBox list;
    TEdit edit;
    // The list box's texts: the buttons never touch the owner's masks.
    TMaskListIndex listed{list};
    TMaskListEditor editor{edit,
                           list,
                           {[this](const CString& text) { return listed.Find(text); },
                            [this](const CString& text) { return listed.Add(text); },
                            [this](int index) { listed.Remove(index); }},
                           true,
                           [this] { OnOK(); }};
    IMaskDialogListener* listener = nullptr;
    CString title;
    std::vector<CString> masks;
};
