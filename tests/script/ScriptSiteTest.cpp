// The engine's side of the host: time limits per call, item lookup, class information and
// connection points, driven the way an engine calls them.

#include "../common/Deadline.h"
#include "../common/MessagePump.h"
#include "ScriptFakes.h"
#include "script/ScriptGuids.h"
#include "script/ScriptHost.h"
#include "script/ScriptObjects.h"

#include <olectl.h>

#include <memory>

namespace {
// A host whose clock the test sets, or runs a step on at every reading.
class TClockedHost : public TScriptHost {
public:
    using TScriptHost::TScriptHost;
    mutable DWORD now = 0;
    DWORD step = 0;

protected:
    DWORD ReadTickCount() const override { return now += step; }
};

// An event sink as an engine would connect it; records the calls it gets.
class TRecordingSink : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        *object = iid == IID_IUnknown || iid == IID_IDispatch ? this : nullptr;
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        CString call;
        call.Format(L"%ld", id);
        // rgvarg holds the last parameter first.
        for (UINT i = params->cArgs; i > 0; i--)
            call += L" " + CString(V_BSTR(&params->rgvarg[i - 1]));
        calls.push_back(call);
        return S_OK;
    }
    ULONG references = 1;
    std::vector<CString> calls;
};
} // namespace

TEST(ScriptSiteTest, EachCallKeepsItsOwnLimitAcrossTheTickWrap)
{
    TFakeScriptServer server;
    TFakeScriptFrame frame;
    TClockedHost host(&server, &frame);
    const struct {
        const char* step;
        DWORD now;
        HRESULT expected;
    } steps[] = {
        {"enter", 0xFFFFF000, S_OK}, // 4096 ms before the counter wraps
        {"poll", 0xFFFFFFFF, S_OK},
        {"poll", 0x00000388, S_OK},  // 5000 ms after the entry, across the wrap: not yet
                                     // over
        {"enter", 0x00000389, S_OK}, // a nested call starts its own measurement
        {"poll", 0x00001000, S_OK},
        {"leave", 0x00001000, S_OK}, // back in the outer call, which is over its limit
                                     // now
        {"poll", 0x00001001, S_FALSE},
        {"poll", 0x00001002, S_FALSE}, // refused for as long as it runs, reported once
        {"leave", 0x00001002, S_OK},
        {"poll", 0x00100000, S_OK}, // no call in progress: never stopped
        {"enter", 0x00100000, S_OK},
        {"poll", 0x00101388, S_OK},
        {"poll", 0x00101389, S_FALSE},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        host.now = step.now;
        HRESULT result = S_OK;
        if (strcmp(step.step, "enter") == 0)
            result = host.OnEnterScript();
        else if (strcmp(step.step, "leave") == 0)
            result = host.OnLeaveScript();
        else
            result = host.QueryContinue();
        EXPECT_EQ(step.expected, result) << std::hex << step.now;
    }
    EXPECT_EQ((std::vector<CString>{L"testnet/: Script execution timed out", L"testnet/: Script execution timed out"}),
              frame.errors);
}

TEST(ScriptSiteTest, ItemsAndClassInformationAsTheEngineAsks)
{
    TComApartment apartment;
    TFakeScriptServer server;
    TFakeScriptFrame frame;
    TScriptHost host(&server, &frame);
    IUnknown* item = nullptr;
    ITypeInfo* info = nullptr;
    EXPECT_EQ(TYPE_E_ELEMENTNOTFOUND, host.GetItemInfo(L"nothing", SCRIPTINFO_IUNKNOWN, &item, nullptr));
    EXPECT_EQ(E_INVALIDARG, host.GetItemInfo(L"event", SCRIPTINFO_ITYPEINFO, &item, nullptr));
    ASSERT_EQ(S_OK, host.GetItemInfo(L"EVENT", SCRIPTINFO_IUNKNOWN | SCRIPTINFO_ITYPEINFO, &item, &info));
    EXPECT_EQ(static_cast<IDispatch*>(&host), item);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(CLSID_ScriptHost, attributes->guid));
    info->ReleaseTypeAttr(attributes);
    info->Release();
    item->Release();

    ASSERT_EQ(S_OK, host.GetClassInfo(&info));
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(DIID_IScriptHost, attributes->guid));
    info->ReleaseTypeAttr(attributes);
    info->Release();
    EXPECT_EQ(E_INVALIDARG,
              host.GetInfoOfIndex(1, MULTICLASSINFO_GETTYPEINFO, &info, nullptr, nullptr, nullptr, nullptr));

    GUID guid;
    EXPECT_EQ(S_OK, host.GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &guid));
    EXPECT_TRUE(IsEqualGUID(DIID_IScriptHostEvent, guid));
    EXPECT_EQ(E_INVALIDARG, host.GetGUID(2, &guid));
    EXPECT_TRUE(IsEqualGUID(GUID_NULL, guid));
    LCID locale = 0;
    EXPECT_EQ(S_OK, host.GetLCID(&locale));
    EXPECT_EQ(9u, locale);
}

TEST(ScriptSiteTest, ConnectedSinksHearEventsUntilTheyLeave)
{
    TFakeScriptServer server;
    TFakeScriptFrame frame;
    TScriptHost host(&server, &frame);
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(S_OK, host.FindConnectionPoint(DIID_IScriptHostEvent, &point));
    TRecordingSink sink;
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(&sink, &cookie));

    VARIANT args[2];
    V_VT(&args[0]) = V_VT(&args[1]) = VT_BSTR;
    V_BSTR(&args[0]) = SysAllocString(L"first");
    V_BSTR(&args[1]) = SysAllocString(L"second");
    host.FireEvent(EventOnPart, 2, args);
    host.FireEvent(9999, 0, nullptr); // no such event
    EXPECT_EQ(S_OK, point->Unadvise(cookie));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie));
    host.FireEvent(EventOnPart, 2, args);
    EXPECT_EQ((std::vector<CString>{L"112 first second"}), sink.calls);
    EXPECT_EQ(1u, sink.references);
    point->Release();
    VariantClear(&args[0]);
    VariantClear(&args[1]);
}

TEST(ScriptSiteTest, RunsThatGoOnAfterTheirTimeOutAreLeftWhereverTheyStarted)
{
    TComApartment apartment;
    const CString loop = L"while (true) { try { connected; } catch (e) { } }";
    const struct {
        const char* start;
        CString code;
    } cases[] = {
        {"top-level code", loop},
        {"event handler", L"function event::onConnect() { " + loop + L" }"},
        {"timer", L"setTimeout(function() { " + loop + L" }, 1);"},
    };
    TDeadline deadline(20000, "a run that goes on after its time-out was never left");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        TFakeScriptServer server;
        TFakeScriptFrame frame;
        TClockedHost host(&server, &frame);
        ASSERT_TRUE(host.CreateEngine());
        // A second passes at every look at the clock: the loop is over its time at once.
        host.step = 1000;
        bool parsed = host.AddScriptCode(c.code);
        EXPECT_EQ(parsed, strcmp(c.start, "top-level code") != 0);
        host.FireEvent(EventOnConnect, 0, nullptr);
        EXPECT_TRUE(PumpMessagesUntil([&] { return frame.errors.size() >= 2; }, 5000));
        EXPECT_EQ(frame.errors, (std::vector<CString>{
                                    L"testnet/: Script execution timed out",
                                    L"testnet/: Script stopped: it went on after its time-out; load it again to run it",
                                }));
        // The engine is gone, its timers with it.
        EXPECT_FALSE(host.AddScriptCode(L"log('after');"));
        EXPECT_EQ(0u, host.GetTimerCount());
        EXPECT_FALSE(host.IsRunning());
        EXPECT_TRUE(frame.logs.empty());
    }
}

TEST(ScriptSiteTest, LoopsOnTheObjectsAScriptWasHandedAreStoppedAsLoopsOnTheHostAre)
{
    TComApartment apartment;
    // Each loop calls nothing but one object after its first line.
    const struct {
        const char* object;
        const wchar_t* take;
        const wchar_t* call;
    } objects[] = {
        {"channel", L"var x = findChannel('#a');", L"x.name;"},
        {"user", L"var x = findChannel('#a').findMember('bob');", L"x.nick;"},
        {"array", L"var x = channels;", L"x.length;"},
        {"window", L"var x = window;", L"x.minimized;"},
    };
    TDeadline deadline(40000, "a loop on a script object was never stopped");
    for (const auto& object : objects) {
        for (bool caught : {false, true}) {
            SCOPED_TRACE(object.object + std::string(caught ? ", refusal caught" : ""));
            TFakeScriptServer server;
            TFakeChannel* channel = server.AddChannel(L"#a");
            TScriptMemberRecord bob;
            bob.nick = L"bob";
            channel->members = {bob};
            TFakeScriptFrame frame;
            // Released after the host, whose engine holds it.
            std::unique_ptr<TScriptWindow, void (*)(TScriptWindow*)> window(new TScriptWindow(&server, &frame),
                                                                            [](TScriptWindow* w) { w->Release(); });
            TClockedHost host(&server, &frame);
            ASSERT_TRUE(host.CreateEngine());
            ASSERT_TRUE(host.AddScriptItem(window.get()));
            CString call = caught ? L"try { " + CString(object.call) + L" } catch (e) { }" : CString(object.call);
            ASSERT_TRUE(host.AddScriptCode(L"function event::onConnect() { " + CString(object.take) +
                                           L" while (true) { " + call +
                                           L" } }\r\n"
                                           L"function event::onDisconnect() { log('still here'); }\r\n"));
            // A second passes at every look at the clock: the loop is over its time at once.
            host.step = 1000;
            host.FireEvent(EventOnConnect, 0, nullptr);
            std::vector<CString> expected = {L"testnet/: Script execution timed out"};
            if (caught)
                expected.push_back(L"testnet/: Script stopped: it went on after its time-out; load it again to run it");
            EXPECT_EQ(expected, frame.errors);
            EXPECT_FALSE(host.IsRunning());
            // A loop stopped by its refusal leaves the script running; one left from within, not.
            host.FireEvent(EventOnDisconnect, 0, nullptr);
            EXPECT_EQ(caught ? std::vector<CString>{} : std::vector<CString>{L"testnet/: still here"}, frame.logs);
        }
    }
}
