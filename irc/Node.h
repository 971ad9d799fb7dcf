#pragma once
// A node of the server tree (a server unit or a channel under it): the views the world made for
// it, which it does not own, the marks that colour its tree item, and its serial number.

class TLogView;
class IMemberListView;

class TIRCNode {
public:
    TIRCNode() = default;
    TIRCNode(const TIRCNode&) = delete;
    TIRCNode& operator=(const TIRCNode&) = delete;
    virtual ~TIRCNode() = default;

    virtual void DetachLogView()
    {
        logView = nullptr;
        logViewShown = false;
    }
    virtual void DetachMemberView()
    {
        memberView = nullptr;
        memberViewShown = false;
    }
    virtual void OnLogViewShown() { logViewShown = true; }
    virtual void OnMemberViewShown() { memberViewShown = true; }

    // Never reused in the program's run, unlike the node's address: what a reference kept
    // beyond one call (a log line's event data, a script's object) holds and looks up.
    unsigned GetSerial() const { return serial; }

    TLogView* logView = nullptr;
    IMemberListView* memberView = nullptr;
    bool logViewShown = false;
    bool memberViewShown = false;
    bool keywordMark = false;
    bool newTalkMark = false;
    bool updateMark = false;

private:
    // 0 stands for no node.
    static unsigned TakeSerial()
    {
        static unsigned last = 0;
        return ++last;
    }

    const unsigned serial = TakeSerial();
};
