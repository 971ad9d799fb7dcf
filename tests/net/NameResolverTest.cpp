#include "net/NameResolver.h"
#include "tests/common/MessagePump.h"
#include "tests/net/NetTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

ULONG Address(int a, int b, int c, int d) { return htonl((ULONG)(a << 24 | b << 16 | c << 8 | d)); }

class NameResolverTest : public ::testing::Test, public INameResolverListener {
protected:
    void SetUp() override { resolver.listener = this; }
    void OnResolve(TNameResolver* r) override
    {
        resolved++;
        address = r->GetAddress();
        windowDuringCallback = r->window.GetHandle() != nullptr;
    }
    void OnResolveError(TNameResolver* r, CString message) override
    {
        errors++;
        address = r->GetAddress();
        EXPECT_EQ(message, CString());
    }
    // Writes a host entry into the buffer the way the system does and delivers its answer.
    void Answer(const std::vector<ULONG>& addresses, int error = 0)
    {
        char* base = resolver.hostBuffer;
        hostent* entry = reinterpret_cast<hostent*>(base);
        char** list = reinterpret_cast<char**>(base + sizeof(hostent));
        char* data = reinterpret_cast<char*>(list + addresses.size() + 1);
        for (size_t i = 0; i < addresses.size(); i++, data += 4)
            list[i] = static_cast<char*>(memcpy(data, &addresses[i], 4));
        list[addresses.size()] = nullptr;
        *entry = hostent{data, list + addresses.size(), AF_INET, 4, list};
        resolver.request = reinterpret_cast<HANDLE>(0x4242);
        resolver.window.Create();
        Deliver(resolver.request, error);
    }
    void Deliver(HANDLE handle, int error)
    {
        SendMessageW(resolver.window.GetHandle(), WM_APP + 1, (WPARAM)handle, WSAMAKEASYNCREPLY(0, error));
    }

    TNameResolver resolver;
    int resolved = 0;
    int errors = 0;
    TInetAddress address;
    bool windowDuringCallback = true;
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
    resolver.SetHostName(L"10.1.2.3");
    resolver.Resolve();
    EXPECT_EQ(resolved, 1); // before Resolve returned
    EXPECT_EQ(address.ToString(), CString(L"10.1.2.3"));
    EXPECT_EQ(resolver.window.GetHandle(), nullptr);

    resolver.SetHostName(L"0.0.0.0");
    resolver.Resolve();
    EXPECT_EQ(errors, 1);
    EXPECT_TRUE(address.IsNone());
}

TEST_F(NameResolverTest, NamesAreLookedUpFromTheMessageLoop)
{
    resolver.SetHostName(L"localhost");
    resolver.Resolve();
    EXPECT_EQ(resolved + errors, 0);
    ASSERT_TRUE(PumpMessagesUntil([&] { return resolved + errors > 0; }, 5000));
    EXPECT_EQ(resolved, 1);
    EXPECT_EQ(address.ToString(), CString(L"127.0.0.1"));
    EXPECT_FALSE(windowDuringCallback); // a listener may start the next lookup at once
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
    Deliver(cancelled, 0); // an answer that was already on its way
    EXPECT_EQ(resolved + errors, 0);
}

TEST_F(NameResolverTest, AnswerGivesTheFirstAddressNotSkipped)
{
    Answer({Address(192, 168, 1, 5), Address(203, 0, 113, 9)});
    EXPECT_EQ(address.ToString(), CString(L"192.168.1.5"));
    EXPECT_EQ(resolver.window.GetHandle(), nullptr);

    resolver.skipPrivate = true;
    Answer({Address(192, 168, 1, 5), Address(203, 0, 113, 9)});
    EXPECT_EQ(address.ToString(), CString(L"203.0.113.9"));
    Answer({Address(127, 0, 0, 1)});
    EXPECT_TRUE(address.IsNone()); // still a success, with no address
    Answer({Address(127, 0, 1, 1)});
    EXPECT_EQ(address.ToString(), CString(L"127.0.1.1"));
    EXPECT_EQ(resolved, 4);
    EXPECT_EQ(errors, 0);
}

TEST_F(NameResolverTest, FailedAndEmptyAnswersAreErrors)
{
    Answer({Address(203, 0, 113, 9)}, WSAHOST_NOT_FOUND);
    EXPECT_TRUE(address.IsNone());
    EXPECT_EQ(resolver.window.GetHandle(), nullptr);
    Answer({});
    Answer({Address(0, 0, 0, 0), Address(203, 0, 113, 9)});
    EXPECT_EQ(errors, 3);
    EXPECT_EQ(resolved, 0);
}

TEST_F(NameResolverTest, AnswerToAnotherLookupIsIgnored)
{
    resolver.request = reinterpret_cast<HANDLE>(0x4242);
    resolver.window.Create();
    Deliver(reinterpret_cast<HANDLE>(0x9999), WSAHOST_NOT_FOUND);
    EXPECT_EQ(resolved + errors, 0);
    EXPECT_EQ(resolver.request, reinterpret_cast<HANDLE>(0x4242));
    resolver.request = nullptr;
}
