// The workstation's IP and MAC address: the choice rules over fixtures, and the real calls.
#include "Loggingthread.h"
#include "Sandbox.h"
#include <gtest/gtest.h>
#include <cstring>
#include <vector>

namespace {

struct HostFixture {
    explicit HostFixture(const std::vector<const char*>& dotted) {
        for (const char* d : dotted)
            addresses.push_back(inet_addr(d));
        for (auto& a : addresses)
            pointers.push_back(reinterpret_cast<char*>(&a));
        pointers.push_back(nullptr);
        host.h_addrtype = AF_INET;
        host.h_length = 4;
        host.h_addr_list = pointers.data();
    }
    std::vector<ULONG> addresses;
    std::vector<char*> pointers;
    hostent host{};
};

TEST(ChooseHostAddress, LastButNeverAfterTheFourth) {
    struct Case {
        std::vector<const char*> list;
        const char* chosen;
    } const cases[] = {
        {{}, ""},
        {{"127.0.0.9"}, "127.0.0.9"},
        {{"127.0.0.1", "127.0.0.2"}, "127.0.0.2"},
        {{"127.0.0.1", "127.0.0.2", "127.0.0.3", "127.0.0.4"}, "127.0.0.4"},
        {{"127.0.0.1", "127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5"}, "127.0.0.4"},
    };
    for (const Case& c : cases) {
        HostFixture f(c.list);
        EXPECT_EQ(ChooseHostAddress(f.host), c.chosen) << c.list.size() << " addresses";
    }
    hostent noList{};
    EXPECT_EQ(ChooseHostAddress(noList), "");
}

IP_ADAPTER_INFO Adapter(std::initializer_list<BYTE> mac, const char* ip) {
    IP_ADAPTER_INFO a{};
    a.AddressLength = 6;
    std::copy(mac.begin(), mac.end(), a.Address);
    std::strcpy(a.IpAddressList.IpAddress.String, ip);
    return a;
}

TEST(FindAdapterMac, AdapterThatCarriesTheAddress) {
    IP_ADAPTER_INFO first = Adapter({0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e}, "127.0.0.7");
    IP_ADAPTER_INFO second = Adapter({0xde, 0xad, 0xbe, 0xef, 0x00, 0x01}, "127.0.0.8");
    IP_ADDR_STRING extra{};
    std::strcpy(extra.IpAddress.String, "127.0.0.9");
    second.IpAddressList.Next = &extra;
    first.Next = &second;

    EXPECT_EQ(FindAdapterMac(&first, "127.0.0.7"), "00-1A-2B-3C-4D-5E");
    EXPECT_EQ(FindAdapterMac(&first, "127.0.0.8"), "DE-AD-BE-EF-00-01");
    EXPECT_EQ(FindAdapterMac(&first, "127.0.0.9"), "DE-AD-BE-EF-00-01");
    EXPECT_EQ(FindAdapterMac(&first, "127.0.0.1"), "");
    EXPECT_EQ(FindAdapterMac(&first, "127.0.0.70"), "") << "addresses must be equal, not a prefix";
    EXPECT_EQ(FindAdapterMac(nullptr, "127.0.0.7"), "");
}

TEST(LocalAddress, WorkstationWithoutNetwork) {
    if (!InSandbox())
        GTEST_SKIP() << "the host name would be asked of the machine's resolver";
    const std::string ip = GetLocalIP();
    EXPECT_TRUE(ip == "IP not defined" || ip.rfind("127.", 0) == 0) << ip;
    std::string mac = "left over";
    EXPECT_FALSE(GetLocalMAC(mac));  // the sandbox has no adapter
    EXPECT_EQ(mac, "");
}

}  // namespace
