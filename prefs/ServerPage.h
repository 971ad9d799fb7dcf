#pragma once
// TServerPage: a page of the server property dialog, editing the working copy of one server's
// record.

#include "prefs/PropertyPage.h"
#include "res/windows/serverpages.h"
#include "settings/ServerConfig.h"

class TServerPage : public TPropertyPage {
public:
    explicit TServerPage(UINT templateId) : TPropertyPage(templateId) {}

    // Set before the page's window exists.
    TUnitConfig* unit = nullptr;

protected:
    bool HasRecord() const override { return unit != nullptr; }
};
