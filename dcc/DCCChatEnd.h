#pragma once
// What both sides of a DCC chat share: a read loop whose line handler may close the talk that
// owns the chat (a script's or a macro's action, the user while a script's box is up).

class TDCCChatEnd {
public:
    virtual ~TDCCChatEnd() = default;
    // Frees the end now, or once the read loop below has returned; until then it is stopped and
    // tells its owner nothing.
    static void Discard(TDCCChatEnd* end);

protected:
    // Counts the read loops running, around the calls that hand lines to the owner.
    int reading = 0;

private:
    friend class TDCCChatEndSweep;
    // Ends the connection and forgets the owner.
    virtual void Stop() = 0;
};
