#include "TestPeer.h"
#include "TempFiles.h"
#include "Wait.h"
#include "WinePaths.h"
#include <winsock2.h>
#include <windows.h>
#include <cstdlib>
#include <cstring>

namespace {
std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Sends one request for the stop path and waits for the peer to close the connection.
void StopPeer(const std::string& host, int port) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    SOCKET sock = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = inet_addr(host.c_str());
    if (sock != INVALID_SOCKET && connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const char request[] = "GET /__peer/stop HTTP/1.1\r\nConnection: close\r\n\r\n";
        send(sock, request, sizeof request - 1, 0);
        char buffer[256];
        while (recv(sock, buffer, sizeof buffer, 0) > 0) {
        }
    }
    if (sock != INVALID_SOCKET)
        closesocket(sock);
    WSACleanup();
}
}  // namespace

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
    // Under emulation a connection kept alive starts the client's worker thread, which breaks Wine.
    const char* emulated = std::getenv("VORSALT_EMULATED");
    if (emulated != nullptr && std::strcmp(emulated, "1") == 0)
        command += " --close-each";

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
