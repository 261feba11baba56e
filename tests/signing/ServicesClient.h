// An automation client whose suite has the signing service's two peers: the time-stamp service
// and the OCSP responder, started once for the suite and checked before each case.
#pragma once
#include <memory>
#include "ClientFixture.h"
#include "SigningPeers.h"

class ServicesClient : public AutomationClient {
protected:
    using AutomationClient::AutomationClient;
    static void SetUpTestSuite() {
        service = std::make_unique<TTimeStampService>();
        responder = std::make_unique<TOcspResponder>();
    }
    static void TearDownTestSuite() {
        service.reset();
        responder.reset();
    }
    void SetUp() override {
        AutomationClient::SetUp();
        ASSERT_TRUE(service->Started());
        ASSERT_TRUE(responder->Started());
    }

    static inline std::unique_ptr<TTimeStampService> service;
    static inline std::unique_ptr<TOcspResponder> responder;
};
