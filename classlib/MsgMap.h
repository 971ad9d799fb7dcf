#pragma once
// Message maps: one ProcessWindowMessage per class, written with these macros. A handler that
// matches ends the walk; CHAIN_MSG_MAP hands the rest to the base class's map.
//
//   BEGIN_MSG_MAP(TMyDialog)
//       MESSAGE_HANDLER(WM_SIZE, OnSize)              LRESULT OnSize(WPARAM, LPARAM)
//       COMMAND_ID_HANDLER(IDC_ADD, OnAdd)            void OnAdd()
//       COMMAND_RANGE_HANDLER(100, 120, OnPick)       void OnPick(UINT id)
//       COMMAND_CODE_HANDLER(IDC_NAME, EN_CHANGE, OnNameChange)   void OnNameChange()
//       NOTIFY_HANDLER(IDC_LIST, LVN_ITEMCHANGED, OnItemChanged)  LRESULT OnItemChanged(NMHDR*)
//       UPDATE_UI_HANDLER(IDC_ADD, OnUpdateAdd)       void OnUpdateAdd(CCmdUI*)
//       REFLECTED_COMMAND_HANDLER(EN_CHANGE, OnChange) in a control: its own notification
//       REFLECTED_NOTIFY_HANDLER(NM_RCLICK, OnRClick)  LRESULT OnRClick(NMHDR*)
//       REFLECTED_NOTIFY_HANDLER_EX(code, f)          BOOL f(NMHDR*, LRESULT*): false passes it on
//       CHAIN_MSG_MAP(TUpdateDialog)
//   END_MSG_MAP()

#include <windows.h>

class CCmdUI;

// Sent by the modal loop of a dialog when its queue runs empty; wParam MSGF_DIALOGBOX, lParam
// the idle count. Returning 0 ends the idle calls until the next message.
#define WM_KICKIDLE 0x036A
// Sent to a frame in idle time so its tool bar follows the update handlers.
#define WM_IDLEUPDATECMDUI 0x0363
// Queries of the map by the update machinery, never posted: wParam the command id.
#define WM_KV_UPDATECMDUI (WM_APP + 0x3F00) // lParam CCmdUI*
#define WM_KV_HASCOMMAND (WM_APP + 0x3F01)  // answered by any command entry for the id
// A notification a control sent its parent, given to the control's own map first.
#define KV_REFLECT_BASE 0x2000
#define KV_REFLECTED(message) (KV_REFLECT_BASE + (message))

#define BEGIN_MSG_MAP(theClass)                                                                                        \
public:                                                                                                                \
    BOOL ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override                      \
    {                                                                                                                  \
        (void)uMsg;                                                                                                    \
        (void)wParam;                                                                                                  \
        (void)lParam;                                                                                                  \
        lResult = 0;

#define MESSAGE_HANDLER(msg, func)                                                                                     \
    if (uMsg == (msg)) {                                                                                               \
        lResult = func(wParam, lParam);                                                                                \
        return TRUE;                                                                                                   \
    }

#define KV_IS_COMMAND_FOR(first, last)                                                                                 \
    (uMsg == WM_COMMAND && HIWORD(wParam) <= 1 && LOWORD(wParam) >= (first) && LOWORD(wParam) <= (last))
#define KV_IS_QUERY_FOR(first, last) (uMsg == WM_KV_HASCOMMAND && wParam >= (first) && wParam <= (last))

// Menu items, accelerators (code 1) and button clicks (code 0).
#define COMMAND_ID_HANDLER(id, func)                                                                                   \
    if (KV_IS_COMMAND_FOR(id, id)) {                                                                                   \
        func();                                                                                                        \
        return TRUE;                                                                                                   \
    }                                                                                                                  \
    if (KV_IS_QUERY_FOR((WPARAM)(id), (WPARAM)(id)))                                                                   \
        return TRUE;

#define COMMAND_RANGE_HANDLER(first, last, func)                                                                       \
    if (KV_IS_COMMAND_FOR(first, last)) {                                                                              \
        func(LOWORD(wParam));                                                                                          \
        return TRUE;                                                                                                   \
    }                                                                                                                  \
    if (KV_IS_QUERY_FOR((WPARAM)(first), (WPARAM)(last)))                                                              \
        return TRUE;

#define COMMAND_CODE_HANDLER(id, code, func)                                                                           \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (code)) {                                    \
        func();                                                                                                        \
        return TRUE;                                                                                                   \
    }

#define NOTIFY_HANDLER(id, cd, func)                                                                                   \
    if (uMsg == WM_NOTIFY && ((NMHDR*)lParam)->idFrom == (UINT_PTR)(id) && ((NMHDR*)lParam)->code == (UINT)(cd)) {     \
        lResult = func((NMHDR*)lParam);                                                                                \
        return TRUE;                                                                                                   \
    }

#define UPDATE_UI_HANDLER(id, func)                                                                                    \
    if (uMsg == WM_KV_UPDATECMDUI && wParam == (WPARAM)(id)) {                                                         \
        func((CCmdUI*)lParam);                                                                                         \
        return TRUE;                                                                                                   \
    }

#define REFLECTED_COMMAND_HANDLER(code, func)                                                                          \
    if (uMsg == KV_REFLECTED(WM_COMMAND) && HIWORD(wParam) == (code)) {                                                \
        func();                                                                                                        \
        return TRUE;                                                                                                   \
    }

#define REFLECTED_NOTIFY_HANDLER(cd, func)                                                                             \
    if (uMsg == KV_REFLECTED(WM_NOTIFY) && ((NMHDR*)lParam)->code == (UINT)(cd)) {                                     \
        lResult = func((NMHDR*)lParam);                                                                                \
        return TRUE;                                                                                                   \
    }

#define REFLECTED_NOTIFY_HANDLER_EX(cd, func)                                                                          \
    if (uMsg == KV_REFLECTED(WM_NOTIFY) && ((NMHDR*)lParam)->code == (UINT)(cd) && func((NMHDR*)lParam, &lResult))     \
        return TRUE;

#define CHAIN_MSG_MAP(baseClass)                                                                                       \
    if (baseClass::ProcessWindowMessage(uMsg, wParam, lParam, lResult))                                                \
        return TRUE;

#define END_MSG_MAP()                                                                                                  \
    return FALSE;                                                                                                      \
    }
