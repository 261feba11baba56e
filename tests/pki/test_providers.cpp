// The provider inventory against Wine's advapi32, with the test provider registered as each case
// needs, and the enumeration failures Wine cannot produce through the seam.
#include "CryptOwned.h"
#include "FailingLocalAlloc.h"
#include "ProviderApi.h"
#include "SeamOverride.h"
#include "Providers.h"
#include "TestCspSetup.h"
#include "TextChecks.h"
#include <gtest/gtest.h>

namespace {

bool Lists(const CCSPTypes& list, const std::string& name, DWORD type) {
    for (int i = 0; i < list.GetCount(); ++i)
        if (list.GetName(i) == name && list.GetType(i) == type)
            return true;
    return false;
}

TEST(CCSPTypes, KeepsNamesAndTypesAtTheSameIndex) {
    CCSPTypes list;
    EXPECT_EQ(list.GetCount(), 0);
    list.Add("first", 1);
    list.Add("", 75);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetName(0), "first");
    EXPECT_EQ(list.GetType(0), 1u);
    EXPECT_EQ(list.GetName(1), "");
    EXPECT_EQ(list.GetType(1), 75u);
}

TEST(EnumCSPProviders, ListsWineProvidersAndTheRegisteredOne) {
    std::string error;
    CCSPTypes before;
    ASSERT_TRUE(EnumCSPProviders(before, &error)) << error;
    EXPECT_TRUE(Lists(before, MS_DEF_PROV_A, PROV_RSA_FULL));
    EXPECT_FALSE(Lists(before, TestCspName75, 75));

    TestCspRegistration csp({75, 80});
    CCSPTypes after;
    ASSERT_TRUE(EnumCSPProviders(after, &error)) << error;
    EXPECT_EQ(after.GetCount(), before.GetCount() + 2);
    EXPECT_TRUE(Lists(after, TestCspName75, 75));
    EXPECT_TRUE(Lists(after, TestCspName80, 80));
}

TEST(EnumCSPProviders, ListsWhateverTheLastErrorWasBefore) {
    CCSPTypes expected;
    std::string error;
    ASSERT_TRUE(EnumCSPProviders(expected, &error)) << error;
    for (DWORD lastError : {DWORD(ERROR_INSUFFICIENT_BUFFER), DWORD(ERROR_MORE_DATA), DWORD(ERROR_NO_MORE_ITEMS)}) {
        SCOPED_TRACE(lastError);
        SetLastError(lastError);
        CCSPTypes list;
        EXPECT_TRUE(EnumCSPProviders(list, &error)) << error;
        EXPECT_EQ(list.GetCount(), expected.GetCount());
        EXPECT_TRUE(Lists(list, MS_DEF_PROV_A, PROV_RSA_FULL));
    }
}

// Five providers, "p0" to "p4" of types 100 to 104; the size query of sizeQueryFailsAt fails, and
// so does the name read of readFailsAt.
struct FakeProviders {
    DWORD sizeQueryFailsAt = 5;
    DWORD readFailsAt = 99;
} fake;

BOOL WINAPI FakeEnumProviders(DWORD index, DWORD*, DWORD, DWORD* type, LPSTR name, DWORD* size) {
    if (!name) {
        if (index >= fake.sizeQueryFailsAt) {
            SetLastError(ERROR_NO_MORE_ITEMS);
            return FALSE;
        }
        *size = 3;
        return TRUE;
    }
    if (index == fake.readFailsAt) {
        SetLastError(ERROR_MORE_DATA);
        return FALSE;
    }
    name[0] = 'p';
    name[1] = static_cast<char>('0' + index);
    name[2] = '\0';
    *type = 100 + index;
    return TRUE;
}

TEST(EnumCSPProviders, Failures) {
    struct Case {
        const char* what;
        DWORD sizeQueryFailsAt, readFailsAt;
        bool failAlloc;
        bool result;
        int kept;
        const char* error;
    };
    const Case cases[] = {
        {"the first size query fails: an empty, complete walk", 0, 99, false, true, 0, ""},
        {"every provider read", 5, 99, false, true, 5, ""},
        {"reading provider 3 fails", 5, 3, false, false, 3, "ERROR - CryptEnumProviders\r\nОшибка LE № 0xea: "},
        {"no memory for the first name", 5, 99, true, false, 0, "ERROR - LocalAlloc failed!\r\nОшибка LE № 0x8: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TSeamOverride<TProviderApi> seam;
        fake = {c.sizeQueryFailsAt, c.readFailsAt};
        seam->CryptEnumProvidersA = FakeEnumProviders;
        if (c.failAlloc)
            seam->LocalAlloc = FailingLocalAlloc;
        CCSPTypes list;
        std::string error;
        EXPECT_EQ(EnumCSPProviders(list, &error), c.result);
        ASSERT_EQ(list.GetCount(), c.kept);
        for (int i = 0; i < c.kept; ++i) {
            EXPECT_EQ(list.GetName(i), std::string("p") + static_cast<char>('0' + i));
            EXPECT_EQ(list.GetType(i), 100u + i);
        }
        EXPECT_EQ(Head(error, c.error), c.error);
    }
}

TEST(IsCryptoProInstalled, ByRegisteredTypes) {
    struct Case {
        std::vector<DWORD> types;
        bool installed;
    };
    const Case cases[] = {{{}, false}, {{75}, true}, {{80}, true}, {{75, 80}, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.types.size());
        TestCspRegistration csp(c.types);
        std::string error = "before";
        EXPECT_EQ(IsCryptoProInstalled(&error), c.installed);
        EXPECT_EQ(error, c.installed ? "before" : "В системе не установлен Крипто-Про");
    }
}

TEST(IsCryptoProInstalled, EnumerationFailureKeepsItsText) {
    TSeamOverride<TProviderApi> seam;
    fake = {5, 0};
    seam->CryptEnumProvidersA = FakeEnumProviders;
    std::string error;
    EXPECT_FALSE(IsCryptoProInstalled(&error));
    EXPECT_EQ(Head(error, "ERROR - CryptEnumProviders\r\n"), "ERROR - CryptEnumProviders\r\n");
}

TEST(GetCryptoProVersion, Results) {
    struct Case {
        const char* what;
        std::vector<DWORD> types;
        const char* failSwitch;
        int result;
        DWORD version;
        const char* error;
    };
    const Case cases[] = {
        {"no provider", {}, nullptr, 1, 0, "GetCryptoProVersion.CryptAcquireContext failed\r\nОшибка LE № 0x"},
        {"only type 80", {80}, nullptr, 1, 0, "GetCryptoProVersion.CryptAcquireContext failed\r\nОшибка LE № 0x"},
        {"type 75", {75}, nullptr, 0, 0x0401, ""},
        {"the context fails",
         {75},
         TESTCSP_FAIL_ACQUIRE,
         1,
         0,
         "GetCryptoProVersion.CryptAcquireContext failed\r\nОшибка LE № 0x80090016"},
        {"the version fails",
         {75},
         TESTCSP_FAIL_VERSION,
         2,
         0,
         "GetCryptoProVersion.CryptGetProvParam PP_VERSION failed\r\nОшибка LE № 0x80090016"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestCspRegistration csp(c.types);
        TestCspRegistration::SetSwitch(TESTCSP_VERSION, 0x0401);
        if (c.failSwitch)
            TestCspRegistration::SetSwitch(c.failSwitch, static_cast<DWORD>(NTE_BAD_KEYSET));
        DWORD version = 77;
        std::string error;
        EXPECT_EQ(GetCryptoProVersion(version, &error), c.result);
        EXPECT_EQ(version, c.version);
        EXPECT_EQ(Head(error, c.error), c.error);
    }
}

TEST(EnumProviderAlgorithms, CountsWhatTheProviderLists) {
    TestCspRegistration csp({75});
    TCryptProv provider;
    ASSERT_TRUE(
        CryptAcquireContextA(provider.Receive(), nullptr, TestCspName75, 75, CRYPT_VERIFYCONTEXT | CRYPT_SILENT));
    int count = -1;
    EXPECT_EQ(EnumProviderAlgorithms(provider.Get(), count), TestCspAlgorithmCount);
    EXPECT_EQ(count, TestCspAlgorithmCount);
    // A second walk starts again from the first algorithm.
    EXPECT_EQ(EnumProviderAlgorithms(provider.Get(), count), TestCspAlgorithmCount);
}

TEST(EnumProviderAlgorithms, NoContextListsNothing) {
    int count = -1;
    EXPECT_EQ(EnumProviderAlgorithms(0, count), 0);
    EXPECT_EQ(count, 0);
}

}  // namespace
