#!/usr/bin/env python3
"""Proves the HTTP test peer and the test PKI before any client relies on them.

  peer_selftest.py PKI_DIR
"""
import base64
import json
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import time
import unittest

PEER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "standins", "peer", "peer.py")
PKI = None


class RunningPeer:
    """One peer process on a free port of 127.0.0.1, with its own log."""

    def __init__(self, folder, name, script=None, extra=()):
        self.log_path = os.path.join(folder, name + ".log")
        port_file = os.path.join(folder, name + ".port")
        command = [sys.executable, PEER, "--log", self.log_path,
                   "--port-file", port_file, "--name", name, "--pki", PKI, "--lifetime", "120"]
        if script is not None:
            script_path = os.path.join(folder, name + ".json")
            with open(script_path, "w", encoding="utf-8") as f:
                json.dump(script, f)
            command += ["--script", script_path]
        self.process = subprocess.Popen(command + list(extra))
        deadline = time.time() + 10
        while not os.path.exists(port_file):
            if time.time() > deadline or self.process.poll() is not None:
                raise RuntimeError("peer %s did not start" % name)
            time.sleep(0.02)
        with open(port_file) as f:
            self.port = int(f.read())

    def entries(self, event="request"):
        time.sleep(0.05)
        with open(self.log_path, encoding="ascii") as f:
            return [e for e in map(json.loads, f) if e["event"] == event]

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
        self.process.wait(5)


def exchange(port, data, tls_context=None, server_hostname="127.0.0.1"):
    """Sends raw bytes and reads until the peer closes the connection."""
    sock = socket.create_connection(("127.0.0.1", port), timeout=10)
    if tls_context is not None:
        sock = tls_context.wrap_socket(sock, server_hostname=server_hostname)
    with sock:
        sock.sendall(data)
        return read_to_end(sock)


def read_to_end(sock):
    received = b""
    while True:
        chunk = sock.recv(65536)
        if not chunk:
            return received
        received += chunk


def split_reply(raw):
    head, _, body = raw.partition(b"\r\n\r\n")
    return head.decode("latin-1").split("\r\n"), body


def ca_context(client_cert=False):
    context = ssl.create_default_context(cafile=os.path.join(PKI, "ca.crt"))
    if client_cert:
        context.load_cert_chain(os.path.join(PKI, "client.crt"), os.path.join(PKI, "client.key"))
    return context


class PeerCase(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="peer-selftest-")
        self.peers = []

    def tearDown(self):
        for peer in self.peers:
            peer.stop()
        shutil.rmtree(self.folder, ignore_errors=True)

    def start(self, name, script=None, *extra):
        peer = RunningPeer(self.folder, name, script, extra)
        self.peers.append(peer)
        return peer


class PlainHttp(PeerCase):
    SCRIPT = {
        "/hello": {"status": 201, "headers": [["X-Count", "5"], ["Content-Type", "text/plain"]], "body": "hi"},
        "/turns": [{"status": 500, "body": "first"}, {"status": 200, "body": "then"}],
        "/q?x=1": {"body": "with query"},
        "/cp1251": {"headers": [["Content-Type", "text/html; charset=windows-1251"]], "body": "Привет",
                    "encoding": "cp1251"},
        "/utf16": {"headers": [["Content-Type", "text/plain; charset=UTF-16LE"]], "body": "Да",
                   "encoding": "utf-16-le"},
        "/hex": {"body_hex": "00ff0d0a"},
        "/file": {"body_file": "ca.der"},
        "/wrong-length": {"content_length": 10, "body": "abc", "close": True},
        "/no-length": {"content_length": None, "body": "till close"},
        "/truncated": {"body": "0123456789", "truncate": 4},
        "/slow": {"delay": 0.5, "body": "late"},
        "/trickle": {"body": "abcdef", "chunk_size": 2, "chunk_delay": 0.2},
        "/secret": {"auth": "user:pa ss", "body": "inside"},
        "/raw": {"raw_hex": b"HTTP/1.1 \xa100 OK\r\nX: 1\r\n\r\nbody".hex(), "status": 500, "close": False},
        "/raw-nothing": {"raw_hex": ""},
    }

    def setUp(self):
        super().setUp()
        self.peer = self.start("plain", self.SCRIPT)

    def get(self, target, extra=b""):
        return split_reply(exchange(self.peer.port, b"GET " + target + b" HTTP/1.1\r\nHost: x\r\nConnection: close\r\n"
                                    + extra + b"\r\n"))

    def test_request_is_logged_as_sent(self):
        raw = (b"POST /form?a=1 HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
               b"Content-Length: 9\r\nConnection: close\r\n\r\na=1&b=x y")
        exchange(self.peer.port, raw)
        [entry] = self.peer.entries()
        self.assertEqual(entry["request_line"], "POST /form?a=1 HTTP/1.1")
        self.assertEqual(entry["head"].encode("latin-1"), raw[: raw.index(b"\r\n\r\n") + 4])
        self.assertEqual((entry["method"], entry["target"], entry["version"]), ("POST", "/form?a=1", "HTTP/1.1"))
        self.assertEqual(entry["headers"][1], ["Content-Type", "application/x-www-form-urlencoded"])
        self.assertEqual(bytes.fromhex(entry["body_hex"]), b"a=1&b=x y")
        self.assertEqual(entry["body_length"], 9)
        self.assertFalse(entry["tls"])

    def test_chunked_body_is_logged_decoded(self):
        exchange(self.peer.port, b"PUT /c HTTP/1.1\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                                 b"3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n")
        self.assertEqual(bytes.fromhex(self.peer.entries()[0]["body_hex"]), b"abcde")

    def test_scripted_replies(self):
        with open(os.path.join(PKI, "ca.der"), "rb") as f:
            ca_der = f.read()
        cases = [
            (b"/hello", "HTTP/1.1 201 Created", b"hi", "X-Count: 5"),
            (b"/q?x=1", "HTTP/1.1 200 OK", b"with query", None),
            (b"/q?x=2", "HTTP/1.1 404 Not Found", b"Not Found", None),
            (b"/absent", "HTTP/1.1 404 Not Found", b"Not Found", None),
            (b"/cp1251", "HTTP/1.1 200 OK", "Привет".encode("cp1251"), "Content-Type: text/html; charset=windows-1251"),
            (b"/utf16", "HTTP/1.1 200 OK", "Да".encode("utf-16-le"), None),
            (b"/hex", "HTTP/1.1 200 OK", b"\x00\xff\r\n", "Content-Length: 4"),
            (b"/wrong-length", "HTTP/1.1 200 OK", b"abc", "Content-Length: 10"),
            (b"/truncated", "HTTP/1.1 200 OK", b"0123", "Content-Length: 10"),
            (b"/trickle", "HTTP/1.1 200 OK", b"abcdef", "Content-Length: 6"),
            (b"/file", "HTTP/1.1 200 OK", ca_der, "Content-Length: %d" % len(ca_der)),
        ]
        for target, status, body, header in cases:
            with self.subTest(target=target):
                lines, received = self.get(target)
                self.assertEqual(lines[0], status)
                self.assertEqual(received, body)
                if header:
                    self.assertIn(header, lines)

    def test_reply_without_length_ends_with_the_connection(self):
        lines, body = self.get(b"/no-length")
        self.assertFalse([line for line in lines if line.startswith("Content-Length")])
        self.assertIn("Connection: close", lines)
        self.assertEqual(body, b"till close")

    def test_raw_answer_goes_out_as_it_stands_then_the_connection_closes(self):
        for target, answer in [(b"/raw", b"HTTP/1.1 \xa100 OK\r\nX: 1\r\n\r\nbody"), (b"/raw-nothing", b"")]:
            with self.subTest(target=target):
                # Asked to keep the connection, the peer still ends it after the answer.
                self.assertEqual(exchange(self.peer.port, b"GET " + target + b" HTTP/1.1\r\nHost: x\r\n\r\n"),
                                 answer)

    def test_replies_in_turn_repeat_the_last(self):
        statuses = [self.get(b"/turns")[0][0] for _ in range(3)]
        self.assertEqual(statuses, ["HTTP/1.1 500 Internal Server Error"] + ["HTTP/1.1 200 OK"] * 2)

    def test_slow_reply_waits(self):
        started = time.time()
        self.assertEqual(self.get(b"/slow")[1], b"late")
        self.assertGreaterEqual(time.time() - started, 0.5)

    def test_basic_authentication(self):
        lines, _ = self.get(b"/secret")
        self.assertEqual(lines[0], "HTTP/1.1 401 Unauthorized")
        self.assertIn('WWW-Authenticate: Basic realm="vorsalt"', lines)
        good = b"Authorization: Basic " + base64.b64encode(b"user:pa ss") + b"\r\n"
        self.assertEqual(self.get(b"/secret", good)[1], b"inside")

    def test_keep_alive_serves_several_requests_on_one_connection(self):
        raw = exchange(self.peer.port, b"GET /hello HTTP/1.1\r\n\r\nGET /hex HTTP/1.1\r\nConnection: close\r\n\r\n")
        self.assertEqual(raw.count(b"HTTP/1.1 "), 2)
        self.assertEqual([e["conn"] for e in self.peer.entries()], [1, 1])

    def test_stop_path_ends_the_peer(self):
        self.get(b"/__peer/stop")
        self.assertEqual(self.peer.process.wait(5), 0)

    def test_only_loopback_addresses_are_served(self):
        result = subprocess.run([sys.executable, PEER, "--log", os.devnull,
                                 "--host", "0.0.0.0"], capture_output=True)
        self.assertNotEqual(result.returncode, 0)


class Https(PeerCase):
    SCRIPT = {"/": {"body": "secure"}}
    REQUEST = b"GET / HTTP/1.1\r\nConnection: close\r\n\r\n"

    def test_ca_issued_certificate_is_trusted_for_both_names(self):
        peer = self.start("server", self.SCRIPT, "--tls", "server")
        for name in ("127.0.0.1", "localhost"):
            with self.subTest(name=name):
                _, body = split_reply(exchange(peer.port, self.REQUEST, ca_context(), name))
                self.assertEqual(body, b"secure")
        self.assertTrue(all(e["tls"] for e in peer.entries()))

    def test_faulty_certificates_are_refused_by_a_strict_client(self):
        cases = [("selfsigned", "127.0.0.1", "self-signed certificate"),
                 ("wrongname", "127.0.0.1", "IP address mismatch"),
                 ("expired", "127.0.0.1", "certificate has expired"),
                 ("server", "wrong.vorsalt.test", "Hostname mismatch")]
        for mode, name, reason in cases:
            with self.subTest(mode=mode):
                peer = self.start(mode + name, self.SCRIPT, "--tls", mode)
                with self.assertRaises(ssl.SSLCertVerificationError) as caught:
                    exchange(peer.port, self.REQUEST, ca_context(), name)
                self.assertIn(reason, str(caught.exception))
                self.assertTrue(peer.entries("tls_error"))

    def test_faulty_certificates_serve_a_lenient_client(self):
        lenient = ssl.SSLContext(ssl.PROTOCOL_TLS_CLIENT)
        lenient.check_hostname = False
        lenient.verify_mode = ssl.CERT_NONE
        for mode in ("selfsigned", "wrongname", "expired"):
            with self.subTest(mode=mode):
                peer = self.start(mode, self.SCRIPT, "--tls", mode)
                self.assertEqual(split_reply(exchange(peer.port, self.REQUEST, lenient))[1], b"secure")

    def test_client_certificate_is_required(self):
        peer = self.start("clientauth", self.SCRIPT, "--tls", "clientauth")
        with self.assertRaises((ssl.SSLError, ConnectionError)):
            exchange(peer.port, self.REQUEST, ca_context())
        self.assertTrue(peer.entries("tls_error"))
        self.assertEqual(split_reply(exchange(peer.port, self.REQUEST, ca_context(client_cert=True)))[1], b"secure")
        self.assertEqual(peer.entries()[-1]["client_cert"], "Vorsalt Test Client")


class Pki(unittest.TestCase):
    def openssl(self, *args):
        return subprocess.run(["openssl"] + list(args), capture_output=True, text=True, cwd=PKI)

    def test_issued_certificates_verify_against_the_ca(self):
        result = self.openssl("verify", "-CAfile", "ca.crt", "server.crt", "wrongname.crt", "client.crt")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_pfx_holds_the_client_certificate_and_its_key(self):
        result = self.openssl("pkcs12", "-in", "client.pfx", "-passin", "pass:vorsalt", "-nodes")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("subject=O = Vorsalt Test, CN = Vorsalt Test Client", result.stdout)
        self.assertIn("PRIVATE KEY", result.stdout)

    def test_serials_are_listed(self):
        with open(os.path.join(PKI, "serials.txt")) as f:
            serials = dict(line.split() for line in f)
        self.assertEqual(serials["client"], "1004")
        self.assertEqual(len(set(serials.values())), 5)


class Proxy(PeerCase):
    def setUp(self):
        super().setUp()
        self.origin = self.start("origin", {"/page": {"body": "from origin"}})
        self.tls_origin = self.start("tls-origin", {"/page": {"body": "tunnelled"}}, "--tls", "server")

    def test_absolute_form_is_logged_and_forwarded(self):
        proxy = self.start("proxy", None, "--proxy")
        target = b"http://127.0.0.1:%d/page" % self.origin.port
        _, body = split_reply(exchange(proxy.port, b"GET " + target + b" HTTP/1.1\r\nProxy-Connection: keep-alive\r\n\r\n"))
        self.assertEqual(body, b"from origin")
        self.assertEqual(proxy.entries()[0]["request_line"], "GET %s HTTP/1.1" % target.decode())
        self.assertEqual(self.origin.entries()[0]["request_line"], "GET /page HTTP/1.1")

    def test_connect_tunnels_to_loopback_only(self):
        proxy = self.start("proxy", None, "--proxy")
        sock = socket.create_connection(("127.0.0.1", proxy.port), timeout=10)
        sock.sendall(b"CONNECT 127.0.0.1:%d HTTP/1.1\r\n\r\n" % self.tls_origin.port)
        self.assertTrue(sock.recv(4096).startswith(b"HTTP/1.1 200"))
        with ca_context().wrap_socket(sock, server_hostname="127.0.0.1") as tls:
            tls.sendall(b"GET /page HTTP/1.1\r\nConnection: close\r\n\r\n")
            self.assertTrue(read_to_end(tls).endswith(b"\r\n\r\ntunnelled"))
        refused = exchange(proxy.port, b"CONNECT elsewhere.invalid:443 HTTP/1.1\r\n\r\n")
        self.assertTrue(refused.startswith(b"HTTP/1.1 403"))
        results = [(e["target"].split(":")[0], e["result"]) for e in proxy.entries("tunnel")]
        self.assertEqual(results, [("127.0.0.1", "open"), ("elsewhere.invalid", "refused")])

    def test_credentials_are_demanded_with_407(self):
        proxy = self.start("proxy", None, "--proxy", "--proxy-auth", "puser:ppass")
        request = b"GET http://127.0.0.1:%d/page HTTP/1.1\r\nConnection: close\r\n" % self.origin.port
        lines, _ = split_reply(exchange(proxy.port, request + b"\r\n"))
        self.assertEqual(lines[0], "HTTP/1.1 407 Proxy Authentication Required")
        self.assertIn('Proxy-Authenticate: Basic realm="vorsalt-proxy"', lines)
        credentials = b"Proxy-Authorization: Basic " + base64.b64encode(b"puser:ppass") + b"\r\n"
        self.assertEqual(split_reply(exchange(proxy.port, request + credentials + b"\r\n"))[1], b"from origin")
        self.assertEqual(len(self.origin.entries()), 1)


if __name__ == "__main__":
    PKI = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
