#pragma once
// Scope object around every modal run: the main window takes no input while any is open,
// however deeply they nest.

class TModalManager {
public:
    TModalManager();
    TModalManager(const TModalManager&) = delete;
    TModalManager& operator=(const TModalManager&) = delete;
    virtual ~TModalManager();

    static int GetModalCount();
};
