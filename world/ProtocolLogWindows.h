#pragma once
// Each server's protocol log window: made hidden with the unit's first logged line, shown on
// demand, only hidden when the user closes it, and destroyed with its unit.

#include "logview/ProtocolLogDialog.h"

#include <map>
#include <memory>
#include <vector>

class IWorldFrame;
class TConfig;
class TIRCUnit;

class TProtocolLogWindows : public IProtocolLogDialogListener {
public:
    explicit TProtocolLogWindows(TConfig* config) : config(config) {}
    TProtocolLogWindows(const TProtocolLogWindows&) = delete;
    TProtocolLogWindows& operator=(const TProtocolLogWindows&) = delete;
    ~TProtocolLogWindows();

    // The main window the closing hands back to; null without one.
    void SetFrame(IWorldFrame* owner) { frame = owner; }

    void AddLine(TIRCUnit* unit, const CString& text, bool sent);
    // The first time after making or closing it is placed where it was left.
    void Show(TIRCUnit* unit);
    // With the unit: the place is kept when it was shown.
    void Destroy(const TIRCUnit* unit);
    void DestroyAll();
    TProtocolLogDialog* Find(const TIRCUnit* unit) const;
    // The windows there are; with shownOnly those the user has open, not those only kept.
    std::vector<HWND> GetWindows(bool shownOnly) const;

    void OnProtocolLogDialogClose(TProtocolLogDialog* dialog) override;

private:
    struct TEntry {
        TIRCUnit* unit = nullptr;
        std::unique_ptr<TProtocolLogDialog> dialog;
        bool placed = false;
    };

    TEntry* Create(TIRCUnit* unit);
    TEntry* FindEntry(const TProtocolLogDialog* dialog);

    TConfig* config;
    IWorldFrame* frame = nullptr;
    std::map<const TIRCUnit*, TEntry> entries;
};
