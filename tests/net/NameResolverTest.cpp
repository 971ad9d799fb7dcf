#include "net/NameResolver.h"
#include "tests/common/HostLookupStub.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

ULONG Address(int a, int b, int c, int d) { return htonl((ULONG)(a << 24 | b << 16 | c << 8 | d)); }

class NameResolverTest : public ::testing::Test, public INameResolverListener {
protected:
    void SetUp() override { resolver->listener = this; }
    void OnResolve(TNameResolver* r) override
    {
        resolved++;
        address = r->GetAddress();
        lookupWindowDuringCallback = ::IsWindow(lookupWindow) != FALSE;
    }
    void OnResolveError(TNameResolver* r, CString message) override
    {
        errors++;
        address = r->GetAddress();
        EXPECT_EQ(message, CString());
    }
    // The window the pending lookup's answer comes to.
    HWND StartLookup(const wchar_t* name)
    {
        resolver->SetHostName(name);
        resolver->Resolve();
        lookupWindow = resolver->request ? resolver->request->GetWindow() : nullptr;
        return lookupWindow;
    }

    std::unique_ptr<TNameResolver> resolver = std::make_unique<TNameResolver>();
    int resolved = 0;
    int errors = 0;
    TInetAddress address;
    HWND lookupWindow = nullptr;
    bool lookupWindowDuringCallback = true;
};

// Lookups the system answers when the test says, into the buffer the program gave it.
class HeldLookupTest : public NameResolverTest {
protected:
    void SetUp() override
    {
        NameResolverTest::SetUp();
        ASSERT_TRUE(lookups.IsHooked());
    }
    void Answer(const std::vector<ULONG>& addresses, int error = 0)
    {
        StartLookup(L"held.example");
        lookups.Answer(lookups.lookups.size() - 1, addresses, error);
        PumpPendingMessages();
        EXPECT_FALSE(::IsWindow(lookupWindow)) << "the answered lookup is gone";
    }

    THostLookupStub lookups;
};

} // namespace

TEST(InetAddress, PrintsNetworkOrderDottedAndKnowsPrivateRanges)
{
    EXPECT_EQ(TInetAddress(Address(127, 0, 0, 1)).ToString(), CString(L"127.0.0.1"));
    EXPECT_EQ(TInetAddress().ToString(), CString(L"255.255.255.255"));
    EXPECT_TRUE(TInetAddress(Address(10, 1, 2, 3)).IsPrivate());
    EXPECT_TRUE(TInetAddress(Address(172, 16, 0, 0)).IsPrivate());
    EXPECT_TRUE(TInetAddress(Address(172, 31, 255, 255)).IsPrivate());
    EXPECT_TRUE(TInetAddress(Address(192, 168, 1, 5)).IsPrivate());
    EXPECT_FALSE(TInetAddress(Address(172, 32, 0, 0)).IsPrivate());
    EXPECT_FALSE(TInetAddress(Address(192, 169, 0, 1)).IsPrivate());
    EXPECT_FALSE(TInetAddress(Address(127, 0, 0, 1)).IsPrivate());
}

TEST_F(NameResolverTest, DottedAddressesNeedNoLookup)
{
    EXPECT_EQ(StartLookup(L"10.1.2.3"), nullptr);
    EXPECT_EQ(resolved, 1); // before Resolve returned
    EXPECT_EQ(address.ToString(), CString(L"10.1.2.3"));

    EXPECT_EQ(StartLookup(L"0.0.0.0"), nullptr);
    EXPECT_EQ(errors, 1);
    EXPECT_TRUE(address.IsNone());
}

TEST_F(NameResolverTest, NamesAreLookedUpFromTheMessageLoop)
{
    ASSERT_NE(StartLookup(L"localhost"), nullptr);
    EXPECT_EQ(resolved + errors, 0);
    ASSERT_TRUE(PumpMessagesUntil([&] { return resolved + errors > 0; }, kWaitBoundMs));
    EXPECT_EQ(resolved, 1);
    EXPECT_EQ(address.ToString(), CString(L"127.0.0.1"));
    EXPECT_FALSE(lookupWindowDuringCallback); // a listener may start the next lookup at once
    EXPECT_EQ(resolver->request, nullptr);
}

// The system goes on with a cancelled lookup; its answer only ends the lookup.
TEST_F(NameResolverTest, CancelledLookupNeverCallsBack)
{
    HWND window = StartLookup(L"localhost");
    ASSERT_NE(window, nullptr);
    resolver->Cancel();
    EXPECT_EQ(resolver->request, nullptr);
    EXPECT_TRUE(PumpMessagesUntil([&] { return !::IsWindow(window); }, kWaitBoundMs)) << "the answer came";
    EXPECT_EQ(resolved + errors, 0);
}

TEST_F(HeldLookupTest, AnswerGivesTheFirstAddressNotSkipped)
{
    Answer({Address(192, 168, 1, 5), Address(203, 0, 113, 9)});
    EXPECT_EQ(address.ToString(), CString(L"192.168.1.5"));

    resolver->skipPrivate = true;
    Answer({Address(192, 168, 1, 5), Address(203, 0, 113, 9)});
    EXPECT_EQ(address.ToString(), CString(L"203.0.113.9"));
    Answer({Address(127, 0, 0, 1)});
    EXPECT_TRUE(address.IsNone()); // still a success, with no address
    Answer({Address(127, 0, 1, 1)});
    EXPECT_EQ(address.ToString(), CString(L"127.0.1.1"));
    EXPECT_EQ(resolved, 4);
    EXPECT_EQ(errors, 0);
}

TEST_F(HeldLookupTest, FailedAndEmptyAnswersAreErrors)
{
    Answer({Address(203, 0, 113, 9)}, WSAHOST_NOT_FOUND);
    EXPECT_TRUE(address.IsNone());
    Answer({});
    Answer({Address(0, 0, 0, 0), Address(203, 0, 113, 9)});
    EXPECT_EQ(errors, 3);
    EXPECT_EQ(resolved, 0);
}

TEST_F(HeldLookupTest, AnswerToAnotherLookupIsIgnored)
{
    HWND window = StartLookup(L"held.example");
    THostLookup* pending = resolver->request;
    ::SendMessageW(window, WM_APP + 1, 0x9999, WSAMAKEASYNCREPLY(0, WSAHOST_NOT_FOUND));
    EXPECT_EQ(resolved + errors, 0);
    EXPECT_EQ(resolver->request, pending);
    lookups.Answer(0, {Address(203, 0, 113, 9)});
    PumpPendingMessages();
    EXPECT_EQ(resolved, 1);
}

// The system writes the host entry of a lookup after its owner let it go: into a buffer that is
// still the lookup's, and the answer then ends it. A new lookup never reads the old one's entry.
TEST_F(HeldLookupTest, ALateAnswerWritesIntoItsOwnLookupOnly)
{
    HWND first = StartLookup(L"old.example");
    HWND second = StartLookup(L"new.example");
    ASSERT_EQ(lookups.lookups.size(), 2u);
    EXPECT_TRUE(lookups.lookups[0].cancelled);
    // The new answer is written first; the old one lands behind it, before either is handled.
    ASSERT_TRUE(::IsWindow(first)) << "the abandoned lookup is still there";
    lookups.Answer(1, {Address(203, 0, 113, 9)});
    lookups.Answer(0, {Address(198, 51, 100, 7)});
    ASSERT_TRUE(PumpMessagesUntil([&] { return !::IsWindow(first) && !::IsWindow(second); }, kWaitBoundMs));
    EXPECT_EQ(resolved, 1);
    EXPECT_EQ(address.ToString(), CString(L"203.0.113.9"));

    // A resolver destroyed while its lookup runs: the late entry still has its buffer.
    HWND orphan = StartLookup(L"orphan.example");
    resolver.reset();
    ASSERT_TRUE(::IsWindow(orphan)) << "the abandoned lookup is still there";
    lookups.Answer(2, {Address(198, 51, 100, 8)});
    ASSERT_TRUE(PumpMessagesUntil([&] { return !::IsWindow(orphan); }, kWaitBoundMs));
    EXPECT_TRUE(HeapsAreSound());
    EXPECT_EQ(resolved + errors, 1);
}
