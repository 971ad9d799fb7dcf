#pragma once
// Tool-bar controls and image lists (common controls).

#include "classlib/Wnd.h"

#include <commctrl.h>

template <class TBase> class CToolBarCtrlT : public TBase {
public:
    void SetButtonStructSize() { this->SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON)); }
    BOOL AddButtons(int count, const TBBUTTON* buttons)
    {
        return (BOOL)this->SendMessage(TB_ADDBUTTONSW, (WPARAM)count, (LPARAM)buttons);
    }
    HIMAGELIST SetImageList(HIMAGELIST list) { return (HIMAGELIST)this->SendMessage(TB_SETIMAGELIST, 0, (LPARAM)list); }
    BOOL SetBitmapSize(int cx, int cy) { return (BOOL)this->SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(cx, cy)); }
    BOOL SetButtonSize(int cx, int cy) { return (BOOL)this->SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(cx, cy)); }
    BOOL GetItemRect(int index, RECT* rect) const
    {
        return (BOOL)this->SendMessage(TB_GETITEMRECT, (WPARAM)index, (LPARAM)rect);
    }
};

class CToolBarCtrl : public CToolBarCtrlT<CWnd> {
public:
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(0, TOOLBARCLASSNAMEW, L"", style, rect, parent, id);
    }
};

// Owns an image list and destroys it.
class CImageList {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() { DeleteImageList(); }

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        return Attach(ImageList_Create(cx, cy, flags, initial, grow));
    }
    BOOL Attach(HIMAGELIST list)
    {
        DeleteImageList();
        m_hImageList = list;
        return list != nullptr;
    }
    BOOL DeleteImageList()
    {
        BOOL ok = m_hImageList && ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        return ok;
    }
    int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    operator HIMAGELIST() const { return m_hImageList; }

    HIMAGELIST m_hImageList = nullptr;
};
