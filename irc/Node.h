#pragma once
// A node of the server tree (a server unit or a channel under it): the views the world made for
// it, which it does not own, and the marks that colour its tree item.

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

    TLogView* logView = nullptr;
    IMemberListView* memberView = nullptr;
    bool logViewShown = false;
    bool memberViewShown = false;
    bool keywordMark = false;
    bool newTalkMark = false;
    bool updateMark = false;
};
