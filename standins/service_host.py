#!/usr/bin/env python3
"""Stand-in for the service host in demo runs: accepts TCP connections on its ports and closes them.

usage: service_host.py ADDRESS PORT [PORT...]   (runs until killed)
"""
import selectors
import socket
import sys


def main():
    address, ports = sys.argv[1], [int(p) for p in sys.argv[2:]]
    if not address.startswith("127."):
        sys.exit("loopback addresses only")
    sel = selectors.DefaultSelector()
    for port in ports:
        s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        s.bind((address, port))
        s.listen(16)
        sel.register(s, selectors.EVENT_READ)
    while True:
        for key, _ in sel.select():
            conn, _ = key.fileobj.accept()
            conn.close()


if __name__ == "__main__":
    main()
