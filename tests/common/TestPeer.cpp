#include "TestPeer.h"
#include "LoopbackSend.h"
#include "TempFiles.h"
#include "Wait.h"
#include "WinePaths.h"
#include <windows.h>
#include <cstdlib>

namespace {
std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Sends one request for the stop path, waits for the peer to close the connection and then for its
// port to refuse, so that the next peer on that port can listen.
void StopPeer(const std::string& host, int port) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    if (SendToListener(host.c_str(), port, "GET /__peer/stop HTTP/1.1\r\nConnection: close\r\n\r\n"))
        WaitUntil([&] { return !SendToListener(host.c_str(), port, ""); }, 5000);
    WSACleanup();
}
}  // namespace

std::string PeerHex(const std::string& bytes) {
    static const char Digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += Digits[c >> 4];
        hex += Digits[c & 0x0F];
    }
    return hex;
}

TPeerOptions PeerWith(const std::string& name, const std::string& script, const std::string& tls,
                      const std::string& host) {
    TPeerOptions options;
    options.Name = name;
    options.Host = host;
    options.Script = script;
    options.Tls = tls;
    return options;
}

TTestPeer::TTestPeer(const TPeerOptions& options) : host(options.Host) {
    folder = WindowsPathOf(VORSALT_PEER_RUNS) + "\\" + options.Name + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(WindowsPathOf(VORSALT_PEER_RUNS).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string portFile = folder + "\\port";
    const std::string log = folder + "\\log.jsonl";
    DeleteFileA(portFile.c_str());
    DeleteFileA(log.c_str());

    const std::string pki = options.Pki.empty() ? VORSALT_PKI_DIR : options.Pki;
    std::string command = Quoted(VORSALT_PYTHON3) + " " + Quoted(VORSALT_PEER_SCRIPT) + " --host " + options.Host +
                          " --port " + std::to_string(options.Port) + " --name " + Quoted(options.Name) + " --log " +
                          Quoted(UnixPathOf(log)) + " --port-file " + Quoted(UnixPathOf(portFile)) + " --pki " +
                          Quoted(pki) + " --lifetime 300";
    if (!options.Script.empty()) {
        const std::string script = folder + "\\script.json";
        WriteFileBytes(script, options.Script);
        command += " --script " + Quoted(UnixPathOf(script));
    }
    if (!options.Tls.empty())
        command += " --tls " + options.Tls;
    if (options.Proxy)
        command += " --proxy";
    if (!options.ProxyAuth.empty())
        command += " --proxy-auth " + Quoted(options.ProxyAuth);

    // The port file tells that it listens.
    if (!StartUnixProgram(command))
        return;
    WaitUntil(
        [&] {
            port = std::atoi(FileBytes(portFile).c_str());
            return port != 0;
        },
        10000);
}

TTestPeer::~TTestPeer() {
    if (port != 0)
        StopPeer(host, port);
}

std::vector<TPeerEvent> TTestPeer::Events() const {
    return ParsePeerLog(FileBytes(folder + "\\log.jsonl"));
}

std::vector<TPeerRequest> TTestPeer::Requests() const {
    std::vector<TPeerRequest> requests;
    for (const TPeerEvent& event : Events())
        if (event.Event == "request")
            requests.push_back(event.Request);
    return requests;
}

std::string TestPkiFile(const std::string& name) {
    return WindowsPathOf(VORSALT_PKI_DIR) + "\\" + name;
}
