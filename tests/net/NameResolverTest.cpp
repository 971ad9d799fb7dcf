#include "net/NameResolver.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

ULONG Address(int a, int b, int c, int d) { return htonl((ULONG)(a << 24 | b << 16 | c << 8 | d)); }

class TResolveRecorder : public INameResolverListener {
public:
    void OnResolve(TNameResolver* r) override
    {
        resolved++;
        address = r->GetAddress();
        windowDuringCallback = r->window != nullptr;
    }
    void OnResolveError(TNameResolver* r, CString message) override
    {
        errors++;
        address = r->GetAddress();
        lastMessage = message;
    }
    int resolved = 0;
    int errors = 0;
    TInetAddress address;
    CString lastMessage = L"(none)";
    bool windowDuringCallback = true;
};

// Puts a host entry into the resolver's buffer the way the system writes it, with a pending
// request whose answer the test then delivers.
void ForgeAnswer(TNameResolver& resolver, const std::vector<ULONG>& addresses)
{
    char* base = resolver.hostBuffer;
    memset(base, 0, TNameResolver::HostBufferSize);
    hostent* entry = reinterpret_cast<hostent*>(base);
    char** aliases = reinterpret_cast<char**>(base + sizeof(hostent));
    char** list = aliases + 1;
    char* data = reinterpret_cast<char*>(list + addresses.size() + 1);
    for (size_t i = 0; i < addresses.size(); i++) {
        memcpy(data, &addresses[i], 4);
        list[i] = data;
        data += 4;
    }
    strcpy(data, "host.example");
    entry->h_name = data;
    entry->h_aliases = aliases;
    entry->h_addrtype = AF_INET;
    entry->h_length = 4;
    entry->h_addr_list = list;
    resolver.request = reinterpret_cast<HANDLE>(0x4242);
    resolver.CreateMessageWindow();
}

LRESULT Deliver(TNameResolver& resolver, HANDLE handle, int error)
{
    return SendMessageW(resolver.window->m_hWnd, WM_APP + 1, (WPARAM)handle, WSAMAKEASYNCREPLY(0, error));
}

class NameResolverTest : public ::testing::Test {
protected:
    void SetUp() override { resolver.listener = &recorder; }
    TResolveRecorder recorder;
    TNameResolver resolver;
};

} // namespace

TEST(InetAddress, PrintsDottedNetworkOrderAndNone)
{
    EXPECT_EQ(TInetAddress(Address(127, 0, 0, 1)).ToString(), CString(L"127.0.0.1"));
    EXPECT_EQ(TInetAddress(Address(192, 168, 0, 1)).ToString(), CString(L"192.168.0.1"));
    EXPECT_EQ(TInetAddress().ToString(), CString(L"255.255.255.255"));
    EXPECT_TRUE(TInetAddress().IsNone());
}

TEST(InetAddress, PrivateMeansTheThreeRangesOnly)
{
    EXPECT_TRUE(TInetAddress(Address(10, 1, 2, 3)).IsPrivate());
    EXPECT_TRUE(TInetAddress(Address(172, 16, 0, 0)).IsPrivate());
    EXPECT_TRUE(TInetAddress(Address(172, 31, 255, 255)).IsPrivate());
    EXPECT_TRUE(TInetAddress(Address(192, 168, 1, 5)).IsPrivate());
    EXPECT_FALSE(TInetAddress(Address(172, 15, 255, 255)).IsPrivate());
    EXPECT_FALSE(TInetAddress(Address(172, 32, 0, 0)).IsPrivate());
    EXPECT_FALSE(TInetAddress(Address(192, 169, 0, 1)).IsPrivate());
    EXPECT_FALSE(TInetAddress(Address(127, 0, 0, 1)).IsPrivate());
    EXPECT_FALSE(TInetAddress(Address(169, 254, 1, 1)).IsPrivate());
}

TEST_F(NameResolverTest, DottedAddressResolvesDuringResolveWithoutWindow)
{
    resolver.SetHostName(L"10.1.2.3");
    resolver.Resolve();
    EXPECT_EQ(recorder.resolved, 1);
    EXPECT_EQ(recorder.address.ToString(), CString(L"10.1.2.3"));
    EXPECT_EQ(resolver.window, nullptr);
    EXPECT_EQ(resolver.request, nullptr);
}

TEST_F(NameResolverTest, AllZeroAddressIsAFailure)
{
    resolver.SetHostName(L"0.0.0.0");
    resolver.Resolve();
    EXPECT_EQ(recorder.errors, 1);
    EXPECT_EQ(recorder.resolved, 0);
    EXPECT_TRUE(recorder.address.IsNone());
    EXPECT_EQ(recorder.lastMessage, CString());
}

TEST_F(NameResolverTest, NameIsLookedUpAsynchronously)
{
    resolver.SetHostName(L"localhost");
    resolver.Resolve();
    EXPECT_EQ(recorder.resolved + recorder.errors, 0); // the answer comes from the message loop
    EXPECT_NE(resolver.request, nullptr);
    ASSERT_TRUE(PumpMessagesUntil([&] { return recorder.resolved + recorder.errors > 0; }, 5000));
    EXPECT_EQ(recorder.resolved, 1);
    EXPECT_EQ(recorder.address.ToString(), CString(L"127.0.0.1"));
    EXPECT_FALSE(recorder.windowDuringCallback);
    EXPECT_EQ(resolver.request, nullptr);
}

TEST_F(NameResolverTest, CancelledLookupNeverCallsBack)
{
    resolver.SetHostName(L"localhost");
    resolver.Resolve();
    HANDLE cancelled = resolver.request;
    ASSERT_NE(cancelled, nullptr);
    resolver.Cancel();
    PumpMessagesFor(300);
    // Even an answer that was already on its way is dropped.
    Deliver(resolver, cancelled, 0);
    EXPECT_EQ(recorder.resolved + recorder.errors, 0);
}

TEST_F(NameResolverTest, AnswerTakesTheFirstAddress)
{
    ForgeAnswer(resolver, {Address(192, 168, 1, 5), Address(203, 0, 113, 9)});
    Deliver(resolver, resolver.request, 0);
    EXPECT_EQ(recorder.resolved, 1);
    EXPECT_EQ(recorder.address.ToString(), CString(L"192.168.1.5"));
    EXPECT_EQ(resolver.window, nullptr);
}

TEST_F(NameResolverTest, SkippingPrivatePassesOverPrivateAndExactLoopback)
{
    resolver.skipPrivate = true;
    ForgeAnswer(resolver, {Address(192, 168, 1, 5), Address(203, 0, 113, 9)});
    Deliver(resolver, resolver.request, 0);
    EXPECT_EQ(recorder.address.ToString(), CString(L"203.0.113.9"));

    ForgeAnswer(resolver, {Address(127, 0, 0, 1)});
    Deliver(resolver, resolver.request, 0);
    EXPECT_EQ(recorder.resolved, 2); // still a success, with no address
    EXPECT_TRUE(recorder.address.IsNone());

    ForgeAnswer(resolver, {Address(127, 0, 1, 1)});
    Deliver(resolver, resolver.request, 0);
    EXPECT_EQ(recorder.address.ToString(), CString(L"127.0.1.1"));
    EXPECT_EQ(recorder.errors, 0);
}

TEST_F(NameResolverTest, FailedOrEmptyAnswersReportErrors)
{
    ForgeAnswer(resolver, {Address(203, 0, 113, 9)});
    Deliver(resolver, resolver.request, WSAHOST_NOT_FOUND);
    EXPECT_EQ(recorder.errors, 1);
    EXPECT_TRUE(recorder.address.IsNone());
    EXPECT_EQ(resolver.window, nullptr);

    ForgeAnswer(resolver, {});
    Deliver(resolver, resolver.request, 0);
    ForgeAnswer(resolver, {Address(0, 0, 0, 0), Address(203, 0, 113, 9)});
    Deliver(resolver, resolver.request, 0);
    EXPECT_EQ(recorder.errors, 3);
    EXPECT_EQ(recorder.resolved, 0);
}

TEST_F(NameResolverTest, AnswerForAnotherHandleLeavesTheLookupPending)
{
    ForgeAnswer(resolver, {Address(203, 0, 113, 9)});
    HANDLE pending = resolver.request;
    Deliver(resolver, reinterpret_cast<HANDLE>(0x9999), WSAHOST_NOT_FOUND);
    EXPECT_EQ(recorder.resolved + recorder.errors, 0);
    EXPECT_EQ(resolver.request, pending);
    Deliver(resolver, pending, 0);
    EXPECT_EQ(recorder.resolved, 1);
}
