// CRL downloads through a client of the factory (WinINet and WinHTTP in turn, by the per-user
// back-end value of a scratch HKEY_CURRENT_USER), judged by what the distribution points' peers
// logged.
#include <gtest/gtest.h>
#include "CaHosts.h"
#include "CrlInstall.h"
#include "CryptOwned.h"
#include "HttpFactory.h"
#include "HttpTypeValue.h"
#include "Sandbox.h"
#include "ScratchStores.h"
#include "TextChecks.h"
#include "Wait.h"
#include "WineBehaviour.h"

namespace {
const char NoCrl[] = "GetCRLFromURL. Ошибка создания контекста CRL.";
const char NoAddress[] = "GetCRLFromURL. Ошибка разбора адреса точки распределения сертификатов";

// Which CRL of the PKI the context holds ("" for none).
std::string CrlName(PCCRL_CONTEXT crl) {
    if (crl == nullptr)
        return "";
    for (const char* name : {"sub", "sub-newer", "root", "orphan"}) {
        const std::string der = CaPkiBytes(std::string(name) + ".crl");
        if (der.size() == crl->cbCrlEncoded &&
            der.compare(0, der.size(), reinterpret_cast<const char*>(crl->pbCrlEncoded), crl->cbCrlEncoded) == 0)
            return name;
    }
    return "?";
}

struct TDownload {
    const char* what;
    std::string url;
    std::vector<TCaHosts::TServed> served;
    const char* crl;                    // the CRL obtained, "" for none
    TExpected<std::string> text;        // the start of the error text when there is none
    std::vector<std::string> requests;  // what the peers saw
    bool timedOut = false;              // ended by the 500 ms time-out, before the peer's slow reply
};

class CrlDownload : public testing::TestWithParam<THttpType> {
protected:
    void SetUp() override {
        if (!InSandbox())
            GTEST_SKIP() << "the distribution points' names resolve only inside the test sandbox";
        ASSERT_TRUE(stores.Active());
        backEnd.SetDword(static_cast<DWORD>(GetParam()));
        ASSERT_EQ(GetHttpType(), GetParam());
    }

    void Check(const std::vector<TDownload>& downloads) {
        for (const TDownload& d : downloads) {
            SCOPED_TRACE(d.what);
            TCaHosts hosts(d.served);
            ASSERT_TRUE(hosts.Started());
            std::string errorText = "untouched";
            const DWORD start = GetTickCount();
            TCrlContext crl(GetCRLFromURL(d.url, &errorText));
            const DWORD elapsed = GetTickCount() - start;
            EXPECT_EQ(CrlName(crl.Get()), d.crl);
            if (*d.crl) {
                EXPECT_EQ(errorText, "untouched");
            } else {
                EXPECT_TRUE(StartsAs(errorText, d.text)) << errorText;
            }
            EXPECT_EQ(hosts.Requests(), d.requests);
            // The peer's reply (or its next piece) comes 1.5 s or more after the request.
            if (d.timedOut) {
                EXPECT_LT(elapsed, Scaled(1500));
            }
        }
    }

    std::string ClientPrefix() const { return GetParam() == HttpTypeWinHttp ? "TWinHTTP: " : "THTTP: "; }
    // The client's text when the time-out ends the send (the head does not come) or the reading:
    // its words, then the error, 12002 by the contract.
    static TExpected<std::string> TimedOut(const char* words, const char* wineCode, const char* behaviour) {
        return TExpected<std::string>(std::string(words) + "\r\nОшибка LE № ") + ContractOr("0x2ee2", wineCode, behaviour);
    }
    TExpected<std::string> SendTimedOut() const {
        return GetParam() == HttpTypeWinHttp
                   ? TimedOut("TWinHTTP: Ошибка при отправке запроса.\r\nsent=1recived=0", "0x274c",
                              "a head that does not come in time ends with the socket's 10060, not 12002")
                   : TimedOut("THTTP: Ошибка при отправке запрnса.", "0x2efe",
                              "a head that does not come in time ends with 12030, not 12002");
    }
    TExpected<std::string> ReadTimedOut() const {
        return TimedOut(GetParam() == HttpTypeWinHttp ? "TWinHTTP: Ошибка получения информации после отправки запроса."
                                                      : "THTTP: Ошибка полуwения информации после отправки gапроса.",
                        "0x274c", "a body that stops coming ends with the socket's 10060, not 12002");
    }

    TScratchStores stores{"crl-download", TScratchStores::NoStores};
    THttpTypeValue backEnd;
};

const std::string SubPoint = "http://crl-a.vorsalt.test/cdp/sub3.crl";
const std::string SubGet = "crl-a.vorsalt.test GET /cdp/sub3.crl";
}  // namespace

TEST_P(CrlDownload, BodiesInDerAndBase64) {
    const std::string html = "<html><body><h1>Сервис недоступен</h1></body></html>";
    const std::string derCert = CaPkiBytes("end.der");
    Check({
        {"DER", SubPoint, {{CrlA, R"({"/cdp/sub3.crl": )" + FileReply("sub.crl") + "}"}}, "sub", "", {SubGet}},
        {"base64 in lines",
         SubPoint,
         {{CrlA, R"({"/cdp/sub3.crl": )" + FileReply("sub.crl.b64") + "}"}},
         "sub",
         "",
         {SubGet}},
        {"base64 on one line",
         SubPoint,
         {{CrlA, R"({"/cdp/sub3.crl": )" + FileReply("sub.crl.b64line") + "}"}},
         "sub",
         "",
         {SubGet}},
        // A body that is no base64 decodes to nothing: no CRL, not a read past the body.
        {"PEM", SubPoint, {{CrlA, R"({"/cdp/sub3.crl": )" + FileReply("sub.crl.pem") + "}"}}, "", NoCrl, {SubGet}},
        {"an HTML page", SubPoint, {{CrlA, R"({"/cdp/sub3.crl": )" + TextReply(html) + "}"}}, "", NoCrl, {SubGet}},
        {"an empty body", SubPoint, {{CrlA, R"({"/cdp/sub3.crl": )" + TextReply("") + "}"}}, "", NoCrl, {SubGet}},
        {"a certificate",
         SubPoint,
         {{CrlA, R"({"/cdp/sub3.crl": )" + FileReply("end.der") + "}"}},
         "",
         NoCrl,
         {SubGet}},
    });
}

TEST_P(CrlDownload, FailedRequests) {
    const std::string prefix = ClientPrefix();
    Check({
        {"status 404", SubPoint, {{CrlA, R"({"/cdp/sub3.crl": )" + StatusReply(404) + "}"}}, "", prefix, {SubGet}},
        {"status 500", SubPoint, {{CrlA, R"({"/cdp/sub3.crl": )" + StatusReply(500) + "}"}}, "", prefix, {SubGet}},
        {"a late head",
         SubPoint,
         {{CrlA, R"({"/cdp/sub3.crl": )" + LateReply("sub.crl") + "}"}},
         "",
         SendTimedOut(),
         {SubGet},
         true},
        {"a slow body",
         SubPoint,
         {{CrlA, R"({"/cdp/sub3.crl": )" + TrickleReply("sub.crl") + "}"}},
         "",
         ReadTimedOut(),
         {SubGet},
         true},
        {"no server", "http://crl-c.vorsalt.test/cdp/sub3.crl", {}, "", prefix, {}},
    });
}

TEST_P(CrlDownload, AddressesAndSkippedFiles) {
    const std::string any = R"({"/cdp/sub3.crl": )" + FileReply("sub.crl") + "}";
    Check({
        {"https: plain HTTP at port 80", "https://crl-a.vorsalt.test/cdp/sub3.crl", {{CrlA, any}}, "sub", "", {SubGet}},
        {"ca-kqmr(2)",
         "http://crl-a.vorsalt.test/cdp/ca-kqmr(2).crl",
         {{CrlA, any}},
         "",
         "CRL cdp/ca-kqmr(2).crl игнорирован.",
         {}},
        {"ca-kqmr(4)",
         "http://crl-a.vorsalt.test/ca-kqmr(4)/sub3.crl",
         {{CrlA, any}},
         "",
         "CRL ca-kqmr(4)/sub3.crl игнорирован.",
         {}},
        {"ca-kqmr(6)",
         "http://crl-a.vorsalt.test/cdp/ca-kqmr(6).crl",
         {{CrlA, any}},
         "",
         "CRL cdp/ca-kqmr(6).crl игнорирован.",
         {}},
        {"ca-kqmr(3) is fetched",
         "http://crl-a.vorsalt.test/cdp/ca-kqmr(3).crl",
         {{CrlA, any}},
         "",
         ClientPrefix(),
         {"crl-a.vorsalt.test GET /cdp/ca-kqmr(3).crl"}},
        {"no path", "http://crl-a.vorsalt.test", {{CrlA, any}}, "", NoAddress, {}},
        {"no scheme", "crl-a.vorsalt.test/cdp/sub3.crl", {{CrlA, any}}, "", NoAddress, {}},
    });
}

INSTANTIATE_TEST_SUITE_P(BackEnds, CrlDownload, testing::Values(HttpTypeWinInet, HttpTypeWinHttp),
                         [](const testing::TestParamInfo<THttpType>& info) {
                             return std::string(HttpTypeName(static_cast<unsigned>(info.param)));
                         });
