#!/usr/bin/env python3
"""HTTP test peer: scripted replies on loopback, every request it receives logged as a JSON line.

  peer.py --log FILE [--host 127.0.0.1] [--port 0] [--port-file FILE] [--script FILE]
          [--tls MODE --pki DIR] [--proxy] [--proxy-auth USER:PASSWORD] [--lifetime SECONDS]

--port 0 takes a free port; the port in use is written to --port-file once the peer listens.

TLS modes (certificates from make-pki.sh): server (issued by the test CA for 127.0.0.1 and
localhost), selfsigned, wrongname, expired, clientauth (the server certificate, and a client
certificate issued by the test CA is required).

The script is a JSON object from request path to a reply, or to a list of replies (the n-th
request of the path gets the n-th, the last one repeats). The full target (with its query) is
looked up first, then its path alone; paths not in the script get 404. A reply may hold:
  status (200), reason, headers [[name, value], ...],
  body (text, encoded by "encoding", utf-8 by default), body_hex, or body_file (the bytes of a
  file of the --pki folder),
  delay (seconds before the status line), chunk_size and chunk_delay (a slow body),
  content_length (header value sent instead of the true length; null: no such header),
  truncate (only this many body bytes are sent, then the connection closes),
  close (close the connection after the reply),
  auth ("user:password": 401 with a Basic challenge unless the request carries them),
  raw_hex (the whole answer, head and all, sent as these bytes stand, then the connection
    closes; of the other fields only delay and auth apply),
  openssl ("ts" or "ocsp": the body is the answer of openssl's responder to the request's body,
    with the time-stamp service or the OCSP responder of the CA test PKI given by --pki; a
    request openssl refuses gets 400 with openssl's words), corrupt (the answer's last byte is
    changed: the signature of either answer ends it), replace_hex ([old, new]: the first
    occurrence of the bytes old in the answer becomes new), signer (for "ts": the PKI name of the
    service's certificate and key, "tsa" by default), time (for "ts": the token's time,
    YYYYMMDDhhmmssZ, instead of the present one, in its genTime and its signingTime attribute;
    the token is signed anew).
A request for /__peer/stop stops the peer (sent in plain text also to a TLS peer).

Proxy mode: a request in absolute form is forwarded to its origin when that is a loopback
address or localhost (else 502); CONNECT is tunnelled to loopback only; with --proxy-auth every
proxy request without those Basic credentials gets 407. Origin-form requests use the script.

Log lines (texts are the bytes as received, read as latin-1; time: when the line was written, in
seconds since the epoch, so that the logs of several peers can be merged):
  {"event": "request", "peer", "time", "conn", "tls", "client_cert", "head", "request_line", "method",
   "target", "version", "headers": [[name, value], ...], "body_hex", "body_length"}
  {"event": "tls_error", "peer", "time", "conn", "error"}
  {"event": "tunnel", "peer", "time", "conn", "target", "result"}
"""
import argparse
import base64
import hashlib
import json
import os
import select
import signal
import socket
import subprocess
import ssl
import sys
import threading
import time

MAX_HEAD_LINE = 65536
STOP_REQUEST = b"GET /__peer/stop "
IDLE_TIMEOUT = 30.0

TLS_FILES = {
    "server": ("server.crt", "server.key"),
    "selfsigned": ("selfsigned.crt", "selfsigned.key"),
    "wrongname": ("wrongname.crt", "wrongname.key"),
    "expired": ("expired.crt", "expired.key"),
    "clientauth": ("server.crt", "server.key"),
}


class Log:
    def __init__(self, path, peer_name):
        self.file = open(path, "a", encoding="ascii")
        self.peer_name = peer_name
        self.lock = threading.Lock()

    def write(self, event, **fields):
        line = json.dumps(dict(event=event, peer=self.peer_name, time=time.time(), **fields))
        with self.lock:
            self.file.write(line + "\n")
            self.file.flush()


class Request:
    def __init__(self, head, request_line, headers, body):
        self.head = head
        self.request_line = request_line
        parts = request_line.split(" ")
        self.method = parts[0] if parts else ""
        self.target = parts[1] if len(parts) > 1 else ""
        self.version = parts[2] if len(parts) > 2 else ""
        self.headers = headers
        self.body = body

    def closes(self):
        connection = (self.header("Connection") or "").lower()
        return connection == "close" or (self.version == "HTTP/1.0" and connection != "keep-alive")

    def header(self, name):
        for key, value in self.headers:
            if key.lower() == name.lower():
                return value
        return None


def read_request(reader, writer):
    """Reads one request; None at a clean end of the connection."""
    first = reader.readline(MAX_HEAD_LINE)
    if not first:
        return None
    head = first
    headers = []
    while True:
        line = reader.readline(MAX_HEAD_LINE)
        if not line:
            raise ConnectionError("connection closed inside the request head")
        head += line
        if line in (b"\r\n", b"\n"):
            break
        name, _, value = line.decode("latin-1").rstrip("\r\n").partition(":")
        headers.append([name, value.strip()])
    request = Request(head.decode("latin-1"), first.decode("latin-1").rstrip("\r\n"), headers, b"")
    if (request.header("Expect") or "").lower() == "100-continue":
        writer(b"HTTP/1.1 100 Continue\r\n\r\n")
    if (request.header("Transfer-Encoding") or "").lower() == "chunked":
        request.body = read_chunked(reader)
    else:
        request.body = read_exactly(reader, int(request.header("Content-Length") or 0))
    return request


def read_exactly(reader, length):
    data = reader.read(length) if length > 0 else b""
    if len(data) != max(length, 0):
        raise ConnectionError("connection closed inside the request body")
    return data


def read_chunked(reader):
    body = b""
    while True:
        size = int(reader.readline(MAX_HEAD_LINE).split(b";")[0].strip() or b"0", 16)
        if size == 0:
            while reader.readline(MAX_HEAD_LINE) not in (b"\r\n", b"\n", b""):
                pass
            return body
        body += read_exactly(reader, size)
        reader.readline(MAX_HEAD_LINE)


SIGNING_TIME = bytes.fromhex("06092a864886f70d010905")


def der(tag, content):
    """One DER element."""
    size = len(content)
    if size < 0x80:
        return bytes([tag, size]) + content
    digits = size.to_bytes((size.bit_length() + 7) // 8, "big")
    return bytes([tag, 0x80 | len(digits)]) + digits + content


def der_elements(content):
    """(tag, whole element, its content) of each DER element in the bytes, in order."""
    elements, at = [], 0
    while at < len(content):
        size, start = content[at + 1], at + 2
        if size & 0x80:
            count = size & 0x7F
            size, start = int.from_bytes(content[start : start + count], "big"), start + count
        elements.append((content[at], content[at : start + size], content[start : start + size]))
        at = start + size
    return elements


def restamped(answer, gen_time, key):
    """openssl's TimeStampResp with the token's genTime and signingTime set to gen_time
    (YYYYMMDDhhmmssZ) and its signature made anew with the key; every length stays."""
    token = der_elements(der_elements(answer)[0][2])[1][2]
    signed_data = der_elements(der_elements(der_elements(token)[1][2])[0][2])
    encapsulated = next(content for tag, _, content in signed_data if tag == 0x30)
    tst_info = der_elements(der_elements(encapsulated)[1][2])[0][2]
    signer_info = der_elements(der_elements(signed_data[-1][2])[0][2])
    attributes = next(whole for tag, whole, _ in signer_info if tag == 0xA0)
    signature = next(content for tag, _, content in signer_info if tag == 0x04)

    old_time = next(whole for tag, whole, _ in der_elements(der_elements(tst_info)[0][2]) if tag == 0x18)
    new_tst_info = tst_info.replace(old_time, der(0x18, gen_time.encode("ascii")))
    new_attributes = attributes.replace(hashlib.sha256(tst_info).digest(), hashlib.sha256(new_tst_info).digest())
    for _, _, attribute in der_elements(der_elements(attributes)[0][2]):
        kind, values = der_elements(attribute)
        if kind[1] == SIGNING_TIME:
            signing_time = der_elements(values[2])[0][1]
            new_attributes = new_attributes.replace(signing_time, der(0x17, gen_time[2:].encode("ascii")))
    # The signature covers the attributes encoded as a SET.
    signing = ["openssl", "dgst", "-sha256", "-sign", key]
    new_signature = subprocess.run(signing, input=b"\x31" + new_attributes[1:], capture_output=True,
                                   check=True).stdout
    lengths = (len(tst_info), len(attributes), len(signature))
    if (len(new_tst_info), len(new_attributes), len(new_signature)) != lengths:
        raise ValueError("the time changes the token's length")
    for old, new in ((tst_info, new_tst_info), (attributes, new_attributes), (signature, new_signature)):
        answer = answer.replace(old, new)
    return answer


def is_loopback_host(host):
    if host.lower() == "localhost":
        return True
    parts = host.split(".")
    return len(parts) == 4 and parts[0] == "127" and all(p.isdigit() and int(p) < 256 for p in parts)


def split_host_port(text, default_port):
    host, sep, port = text.rpartition(":")
    if not sep or not port.isdigit():
        return text, default_port
    return host, int(port)


def basic_credentials(user_password):
    return "Basic " + base64.b64encode(user_password.encode("latin-1")).decode("ascii")


class Peer:
    def __init__(self, args):
        self.args = args
        self.script = {}
        if args.script:
            with open(args.script, encoding="utf-8") as f:
                self.script = json.load(f)
        self.counts = {}
        self.counts_lock = threading.Lock()
        self.log = Log(args.log, args.name)
        self.tls = None
        if args.tls:
            cert, key = TLS_FILES[args.tls]
            self.tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            self.tls.load_cert_chain(os.path.join(args.pki, cert), os.path.join(args.pki, key))
            if args.tls == "clientauth":
                self.tls.verify_mode = ssl.CERT_REQUIRED
                self.tls.load_verify_locations(os.path.join(args.pki, "ca.crt"))
        self.connections = 0
        self.work = os.path.dirname(os.path.abspath(args.log))  # the peer's own folder
        self.tsa_serial = os.path.join(self.work, "tsa-serial")
        with open(self.tsa_serial, "w") as f:
            f.write("01\n")
        self.openssl_lock = threading.Lock()

    # --- replies --------------------------------------------------------------------------

    def scripted_reply(self, request):
        path = request.target.split("?", 1)[0]
        key = request.target if request.target in self.script else path
        entry = self.script.get(key)
        if entry is None:
            return {"status": 404, "body": "Not Found"}
        if isinstance(entry, list):
            with self.counts_lock:
                index = self.counts.get(key, 0)
                self.counts[key] = index + 1
            entry = entry[min(index, len(entry) - 1)]
        auth = entry.get("auth")
        if auth and request.header("Authorization") != basic_credentials(auth):
            return {"status": 401, "headers": [["WWW-Authenticate", 'Basic realm="vorsalt"']], "body": ""}
        return entry

    def openssl_reply(self, reply, request):
        """The reply with openssl's answer to the request's body as its body."""
        pki = self.args.pki
        query = os.path.join(self.work, "query.der")
        answer = os.path.join(self.work, "answer.der")
        signer = os.path.join(pki, reply.get("signer", "tsa"))
        if reply["openssl"] == "ts":
            command = ["openssl", "ts", "-reply", "-config", os.path.join(pki, "tsa.cnf"), "-queryfile", query,
                       "-signer", signer + ".crt", "-inkey", signer + ".key",
                       "-chain", os.path.join(pki, "sub.crt"), "-out", answer]
        else:
            command = ["openssl", "ocsp", "-index", os.path.join(pki, "ocsp-index.txt"),
                       "-CA", os.path.join(pki, "sub.crt"), "-rsigner", os.path.join(pki, "ocsp.crt"),
                       "-rkey", os.path.join(pki, "ocsp.key"), "-reqin", query, "-respout", answer, "-nmin", "10"]
        with self.openssl_lock:
            with open(query, "wb") as f:
                f.write(request.body)
            if os.path.exists(answer):
                os.remove(answer)
            done = subprocess.run(command, capture_output=True, env=dict(os.environ, TSA_SERIAL=self.tsa_serial))
            body = b""
            if done.returncode == 0 and os.path.exists(answer):
                with open(answer, "rb") as f:
                    body = f.read()
        if not body:
            return {"status": 400, "body": done.stderr.decode("latin-1")}
        if "time" in reply:
            body = restamped(body, reply["time"], signer + ".key")
        if reply.get("corrupt"):
            body = body[:-1] + bytes([body[-1] ^ 0xFF])
        if "replace_hex" in reply:
            old, new = (bytes.fromhex(part) for part in reply["replace_hex"])
            body = body.replace(old, new, 1)
        answered = {k: v for k, v in reply.items() if k not in ("openssl", "corrupt", "replace_hex", "body")}
        answered["body_hex"] = body.hex()
        return answered

    def reply_body(self, reply):
        if "body_hex" in reply:
            return bytes.fromhex(reply["body_hex"])
        if "body_file" in reply:
            with open(os.path.join(self.args.pki, reply["body_file"]), "rb") as f:
                return f.read()
        return reply.get("body", "").encode(reply.get("encoding", "utf-8"))

    def send_reply(self, sock, reply, client_closes=False):
        """Sends a reply; returns whether the connection stays open."""
        time.sleep(reply.get("delay", 0))
        if "raw_hex" in reply:
            sock.sendall(bytes.fromhex(reply["raw_hex"]))
            return False
        body = self.reply_body(reply)
        status = reply.get("status", 200)
        reason = reply.get("reason", REASONS.get(status, "Status"))
        lines = ["HTTP/1.1 %d %s" % (status, reason)]
        lines += ["%s: %s" % (name, value) for name, value in reply.get("headers", [])]
        length = reply["content_length"] if "content_length" in reply else len(body)
        keep = not (client_closes or reply.get("close") or length is None or "truncate" in reply)
        if length is not None:
            lines.append("Content-Length: %s" % length)
        if not keep:
            lines.append("Connection: close")
        sock.sendall(("\r\n".join(lines) + "\r\n\r\n").encode("latin-1"))
        if "truncate" in reply:
            body = body[: reply["truncate"]]
        chunk = reply.get("chunk_size") or len(body) or 1
        for start in range(0, len(body), chunk):
            if start:
                time.sleep(reply.get("chunk_delay", 0))
            sock.sendall(body[start : start + chunk])
        return keep

    # --- proxy ----------------------------------------------------------------------------

    def proxy_authorised(self, request):
        return not self.args.proxy_auth or request.header("Proxy-Authorization") == basic_credentials(
            self.args.proxy_auth
        )

    def tunnel(self, client, request, conn):
        host, port = split_host_port(request.target, 443)
        if not is_loopback_host(host):
            self.log.write("tunnel", conn=conn, target=request.target, result="refused")
            self.send_reply(client, {"status": 403, "close": True})
            return
        try:
            upstream = socket.create_connection((host, port), timeout=IDLE_TIMEOUT)
        except OSError as error:
            self.log.write("tunnel", conn=conn, target=request.target, result=str(error))
            self.send_reply(client, {"status": 502, "close": True})
            return
        self.log.write("tunnel", conn=conn, target=request.target, result="open")
        client.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
        relay(client, upstream)

    def forward(self, client, request):
        rest = request.target.split("://", 1)[1]
        authority, _, path = rest.partition("/")
        host, port = split_host_port(authority, 80)
        if not is_loopback_host(host):
            self.send_reply(client, {"status": 502, "close": True})
            return
        drop = {"proxy-authorization", "proxy-connection", "connection"}
        lines = ["%s /%s %s" % (request.method, path, request.version)]
        lines += ["%s: %s" % (k, v) for k, v in request.headers if k.lower() not in drop]
        lines.append("Connection: close")
        try:
            upstream = socket.create_connection((host, port), timeout=IDLE_TIMEOUT)
        except OSError:
            self.send_reply(client, {"status": 502, "close": True})
            return
        with upstream:
            upstream.sendall(("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + request.body)
            while True:
                data = upstream.recv(65536)
                if not data:
                    break
                client.sendall(data)

    # --- connections ----------------------------------------------------------------------

    def serve_connection(self, sock, conn):
        sock.settimeout(IDLE_TIMEOUT)
        client_cert = None
        if self.tls:
            # The stop request comes in plain text even to a TLS peer.
            if sock.recv(len(STOP_REQUEST), socket.MSG_PEEK) == STOP_REQUEST:
                self.send_reply(sock, {"status": 200, "close": True})
                os._exit(0)
            try:
                sock = self.tls.wrap_socket(sock, server_side=True)
            except (ssl.SSLError, OSError) as error:
                self.log.write("tls_error", conn=conn, error=str(error))
                sock.close()
                return
            cert = sock.getpeercert()
            if cert:
                client_cert = dict(item[0] for item in cert["subject"]).get("commonName")
        with sock:
            reader = sock.makefile("rb")
            while True:
                # Acknowledged at once: a client that writes a request's head and body apart (as
                # WinHTTP does) would otherwise wait for the delayed acknowledgement of the head.
                sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_QUICKACK, 1)
                request = read_request(reader, sock.sendall)
                if request is None:
                    return
                self.log.write(
                    "request",
                    conn=conn,
                    tls=self.tls is not None,
                    client_cert=client_cert,
                    head=request.head,
                    request_line=request.request_line,
                    method=request.method,
                    target=request.target,
                    version=request.version,
                    headers=request.headers,
                    body_hex=request.body.hex(),
                    body_length=len(request.body),
                )
                if not self.answer(sock, request, conn):
                    return

    def answer(self, sock, request, conn):
        """Answers one request; returns whether the connection stays open."""
        if request.target == "/__peer/stop":
            self.send_reply(sock, {"status": 200, "close": True})
            os._exit(0)
        proxied = request.method == "CONNECT" or "://" in request.target
        if self.args.proxy and proxied:
            if not self.proxy_authorised(request):
                return self.send_reply(
                    sock,
                    {"status": 407, "headers": [["Proxy-Authenticate", 'Basic realm="vorsalt-proxy"']]},
                    request.closes(),
                )
            if request.method == "CONNECT":
                self.tunnel(sock, request, conn)
            else:
                self.forward(sock, request)
            return False
        reply = self.scripted_reply(request)
        if "openssl" in reply:
            reply = self.openssl_reply(reply, request)
        return self.send_reply(sock, reply, request.closes())

    def run_connection(self, sock, conn):
        try:
            self.serve_connection(sock, conn)
        except (OSError, ValueError, ConnectionError):
            pass

    def serve(self):
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        listener.bind((self.args.host, self.args.port))
        listener.listen(64)
        if self.args.port_file:
            temporary = self.args.port_file + ".tmp"
            with open(temporary, "w") as f:
                f.write("%d\n" % listener.getsockname()[1])
            os.replace(temporary, self.args.port_file)
        while True:
            sock, _ = listener.accept()
            # A reply's head and body go out as they are written: with Nagle's algorithm the body
            # would wait for the client's delayed acknowledgement of the head (40 ms on Linux).
            sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            self.connections += 1
            threading.Thread(target=self.run_connection, args=(sock, self.connections), daemon=True).start()


def relay(a, b):
    with b:
        sockets = [a, b]
        while True:
            readable, _, _ = select.select(sockets, [], [], IDLE_TIMEOUT)
            if not readable:
                return
            for source in readable:
                data = source.recv(65536)
                if not data:
                    return
                (b if source is a else a).sendall(data)


REASONS = {
    200: "OK", 201: "Created", 302: "Found", 401: "Unauthorized", 403: "Forbidden",
    404: "Not Found", 407: "Proxy Authentication Required", 413: "Request Entity Too Large",
    500: "Internal Server Error", 502: "Bad Gateway",
}


def main():
    parser = argparse.ArgumentParser(description="HTTP test peer")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--log", required=True)
    parser.add_argument("--name", default="peer", help="name written into each log line")
    parser.add_argument("--script")
    parser.add_argument("--tls", choices=sorted(TLS_FILES))
    parser.add_argument("--pki", default=".")
    parser.add_argument("--proxy", action="store_true")
    parser.add_argument("--proxy-auth")
    parser.add_argument("--lifetime", type=float, default=600, help="the peer ends itself after this")
    args = parser.parse_args()
    if not is_loopback_host(args.host):
        sys.exit("peer.py: loopback addresses only")
    signal.signal(signal.SIGTERM, lambda *_: os._exit(0))
    threading.Timer(args.lifetime, lambda: os._exit(0)).start()
    Peer(args).serve()


if __name__ == "__main__":
    main()
