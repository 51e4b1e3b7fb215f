#!/usr/bin/python3
"""A device that passes for a home router, for port_forwarding_test.sh: it
answers UPnP's search (SSDP on 239.255.255.250:1900) with the address of its
description, and then serves that description the way MODE says:
  trickle  one byte a second, for ever
  huge     300 MiB with no length given, as fast as the reader takes it
Prints "asked" when the description is first asked for.
Usage: bad_router.py trickle|huge ADDRESS"""
import socket, struct, sys, threading, time

GROUP, SSDP_PORT = "239.255.255.250", 1900
HEAD = b"HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n"
BODY = b'<?xml version="1.0"?><root xmlns="urn:schemas-upnp-org:device-1-0"><device>'
HUGE_BYTES, CHUNK = 300 << 20, 64 << 10


def answer_searches(address, http_port):
    ssdp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    ssdp.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    ssdp.bind(("", SSDP_PORT))
    # Searches arrive on the interface that holds the address.
    membership = struct.pack("4s4s", socket.inet_aton(GROUP), socket.inet_aton(address))
    ssdp.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP, membership)
    while True:
        search, sender = ssdp.recvfrom(4096)
        if not search.startswith(b"M-SEARCH"):
            continue
        target = next((line[3:].strip() for line in search.split(b"\n") if line.lower().startswith(b"st:")), b"")
        ssdp.sendto(b"HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=120\r\nEXT:\r\nST: " + target +
                    b"\r\nUSN: uuid:5e1f0c2a-0000-4000-8000-000000000001::" + target +
                    b"\r\nSERVER: Linux UPnP/1.1 bad_router/1.0\r\nLOCATION: http://%s:%d/rootDesc.xml\r\n\r\n"
                    % (address.encode(), http_port), sender)


def serve(connection, mode):
    connection.recv(4096)
    print("asked", flush=True)
    if mode == "trickle":
        answer = HEAD + BODY * 1000
        for sent in range(len(answer)):
            connection.sendall(answer[sent:sent + 1])
            time.sleep(1)
    else:
        connection.sendall(HEAD)
        chunk = BODY.ljust(CHUNK)
        for _ in range(HUGE_BYTES // CHUNK):
            connection.sendall(chunk)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("trickle", "huge"):
        sys.exit("usage: bad_router.py trickle|huge ADDRESS")
    mode, address = sys.argv[1:]
    http = socket.create_server((address, 0))
    threading.Thread(target=answer_searches, args=(address, http.getsockname()[1]), daemon=True).start()
    connection, _ = http.accept()
    try:
        serve(connection, mode)
    except OSError:
        pass  # the reader gave up, which is what the test hopes for
    connection.close()


main()
