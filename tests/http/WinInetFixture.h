// A THTTP client and a test peer on a loopback address, for the WinINet client's tests.
#pragma once
#include <memory>
#include <string>
#include "SeamOverride.h"
#include "TestPeer.h"
#include "WinInetApi.h"
#include "class_http_wininet.h"

// A client connected to the peer (secure when the peer speaks TLS), with short time-outs.
inline std::unique_ptr<THTTP> ConnectedClient(const TTestPeer& peer, bool secure = false, int resumeOffset = 0) {
    auto client = std::make_unique<THTTP>(secure, resumeOffset);
    client->SetShowDialogs(false);
    if (client->Connect(peer.Host(), peer.Port()) != 0)
        return nullptr;
    client->SetTimeouts(3000);
    return client;
}
