#!/usr/bin/env python3
"""The payment gateway as the tests meet it: an HTTP proxy on 127.0.0.1 that answers CONNECT and then
speaks TLS itself, with a certificate for the gateway's name from a certificate authority made for
the test run. Wine refuses a certificate for 127.0.0.1, hence the tunnel: URL, Host header, TLS
server name and certificate check all stay the gateway's.

    gateway_double.py start DIR HOST WINE_RUN   makes the certificates, starts the server in the
                                                background and trusts the authority in the Wine
                                                prefix (the local machine's Root store)
    gateway_double.py stop DIR WINE_RUN         stops the server and removes the trust

Three listeners, named in DIR/ports ("good=PORT" lines): "good" (the trusted authority, the
gateway's name), "untrusted" (an authority the prefix does not trust) and "wrongname" (the trusted
authority, another name).

Each request is told apart by its MerchantID. The test may write DIR/replies/<MerchantID>: a first
line "<status> <mode>[ <content type>]" and the reply body after it; without one the gateway
approves. Modes: "normal"; "silent" (never answers); "trickle" (headers, then a byte every 300 ms);
"redirect" (a 307 to another path). Every request received is appended to
DIR/records/<MerchantID> as lines "tunnel: ", "sni: ", "method: ", "target: ", "header <name>: ",
"field <key>: <decoded value>", "body: " and "end".

The server ends by itself after 30 minutes; every connection is bounded in time.
"""
import os
import signal
import socket
import ssl
import struct
import subprocess
import sys
import threading
import time
import urllib.parse
import hashlib

LIFETIME_S = 30 * 60
CONNECTION_S = 30
APPROVAL = ("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Response><Amount>12.50</Amount><AuthCode>A11</AuthCode>"
            "<AVSCode>Y</AVSCode><CVV2Code>M</CVV2Code><PostedDate>2006-03-10T14:05:09</PostedDate>"
            "<RefID>R7</RefID><SettledDate>0001-01-01T00:00:00</SettledDate><Status>approved</Status>"
            "<TransID>4711</TransID><CreditID>815</CreditID><Success>1</Success><Message>ok</Message></Response>")


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, capture_output=True)


def make_authority(d, name, cn):
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", f"{d}/{name}.key", "-out", f"{d}/{name}.pem",
            "-days", "2", "-subj", f"/CN={cn}", "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")


def make_server_cert(d, name, authority, host):
    ext = f"{d}/{name}.ext"
    with open(ext, "w") as f:
        f.write(f"subjectAltName=DNS:{host}\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", f"{d}/{name}.key", "-out", f"{d}/{name}.csr",
            "-subj", f"/CN={host}")
    openssl("x509", "-req", "-in", f"{d}/{name}.csr", "-CA", f"{d}/{authority}.pem", "-CAkey", f"{d}/{authority}.key",
            "-CAcreateserial", "-out", f"{d}/{name}.pem", "-days", "2", "-extfile", ext)


def authority_der(d):
    openssl("x509", "-in", f"{d}/ca.pem", "-outform", "DER", "-out", f"{d}/ca.der")
    return open(f"{d}/ca.der", "rb").read()


def root_key(der):
    return r"HKLM\Software\Microsoft\SystemCertificates\Root\Certificates" + "\\" + hashlib.sha1(der).hexdigest().upper()


def read_request(stream):
    """Request line, headers (lower-case names) and body of one HTTP request; None at a closed stream."""
    line = stream.readline(65536)
    if not line:
        return None
    method, target, _ = (line.decode("latin1").rstrip("\r\n").split(" ", 2) + ["", ""])[:3]
    headers = []
    while True:
        h = stream.readline(65536).decode("latin1").rstrip("\r\n")
        if not h:
            break
        name, _, value = h.partition(":")
        headers.append((name.strip().lower(), value.strip()))
    length = int(dict(headers).get("content-length", "0") or 0)
    body = stream.read(length) if length else b""
    return method, target, headers, body


def record(d, merchant, lines):
    path = os.path.join(d, "records", merchant or "-")
    with open(path, "a", encoding="utf-8") as f:
        f.write("".join(line + "\n" for line in lines) + "end\n")


def reply_spec(d, merchant):
    path = os.path.join(d, "replies", merchant or "-")
    if not merchant or not os.path.exists(path):
        return 200, "normal", "text/xml; charset=utf-8", APPROVAL.encode()
    data = open(path, "rb").read()
    first, _, body = data.partition(b"\n")
    status, mode, *ctype = first.decode().strip().split(" ", 2)
    return int(status), mode, (ctype[0] if ctype else ""), body


def serve_tunnel(d, context, conn, tunnel):
    tls = context.wrap_socket(conn, server_side=True, do_handshake_on_connect=False)
    tls.settimeout(CONNECTION_S)
    tls.do_handshake()
    server_name = getattr(tls, "sni_name", "") or ""
    stream = tls.makefile("rb")
    request = read_request(stream)
    if request is None:
        return
    method, target, headers, body = request
    fields = urllib.parse.parse_qsl(body.decode("ascii", "replace"), keep_blank_values=True, encoding="utf-8")
    merchant = fields[0][1] if fields and fields[0][0] == "MerchantID" else ""
    lines = [f"tunnel: {tunnel}", f"sni: {server_name}", f"method: {method}", f"target: {target}"]
    lines += [f"header {n}: {v}" for n, v in headers]
    lines += [f"field {k}: {v}" for k, v in fields]
    lines.append("body: " + body.decode("latin1"))
    record(d, merchant, lines)
    status, mode, ctype, payload = reply_spec(d, merchant)
    if mode == "silent":
        time.sleep(CONNECTION_S)
        return
    head = f"HTTP/1.1 {status} Reply\r\nConnection: close\r\n"
    if ctype:
        head += f"Content-Type: {ctype}\r\n"
    if mode == "redirect":
        head += f"Location: https://{server_name or 'gateway'}/Elsewhere\r\n"
    head += f"Content-Length: {len(payload)}\r\n\r\n"
    tls.sendall(head.encode("latin1"))
    if mode == "trickle":
        for i in range(len(payload)):
            tls.sendall(payload[i:i + 1])
            time.sleep(0.3)
    else:
        tls.sendall(payload)
    tls.close()


def handle(d, context, conn):
    conn.settimeout(CONNECTION_S)
    try:
        stream = conn.makefile("rb", buffering=0)
        line = b""
        while not line.endswith(b"\r\n\r\n"):  # the CONNECT request, byte by byte: TLS follows it
            c = stream.read(1)
            if not c:
                return
            line += c
        first = line.decode("latin1").split("\r\n", 1)[0].split(" ")
        if len(first) < 2 or first[0] != "CONNECT":
            conn.sendall(b"HTTP/1.1 405 Only CONNECT\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
            return
        conn.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
        serve_tunnel(d, context, conn, first[1])
    except (OSError, ssl.SSLError, ValueError):
        pass
    finally:
        conn.close()


def listen(d, name, certificate):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(f"{d}/{certificate}.pem", f"{d}/{certificate}.key")
    context.sni_callback = lambda tls, server_name, _: setattr(tls, "sni_name", server_name)
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(64)

    def loop():
        while True:
            conn, _ = server.accept()
            threading.Thread(target=handle, args=(d, context, conn), daemon=True).start()

    threading.Thread(target=loop, daemon=True).start()
    return f"{name}={server.getsockname()[1]}\n"


def serve(d):
    ports = "".join(listen(d, name, cert) for name, cert in
                    (("good", "server"), ("untrusted", "stranger"), ("wrongname", "othername")))
    with open(f"{d}/ports.tmp", "w") as f:
        f.write(ports)
    os.replace(f"{d}/ports.tmp", f"{d}/ports")
    time.sleep(LIFETIME_S)


def start(d, host, wine_run):
    stop(d, wine_run, quiet=True)
    for sub in ("replies", "records"):
        os.makedirs(os.path.join(d, sub), exist_ok=True)
        for f in os.listdir(os.path.join(d, sub)):
            os.remove(os.path.join(d, sub, f))
    if os.path.exists(f"{d}/ports"):
        os.remove(f"{d}/ports")
    make_authority(d, "ca", "Payment gateway test authority")
    make_authority(d, "otherca", "Untrusted test authority")
    make_server_cert(d, "server", "ca", host)
    make_server_cert(d, "stranger", "otherca", host)
    make_server_cert(d, "othername", "ca", "other." + host)
    log = open(f"{d}/server.log", "w")
    proc = subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", d], stdin=subprocess.DEVNULL,
                            stdout=log, stderr=log, start_new_session=True)
    with open(f"{d}/pid", "w") as f:
        f.write(str(proc.pid))
    for _ in range(100):
        if os.path.exists(f"{d}/ports"):
            break
        time.sleep(0.1)
    else:
        sys.exit("gateway_double: the server did not start (see server.log)")
    der = authority_der(d)
    blob = struct.pack("<III", 0x20, 1, len(der)) + der
    subprocess.run([wine_run, "reg.exe", "add", root_key(der), "/v", "Blob", "/t", "REG_BINARY", "/d", blob.hex(),
                    "/f"], check=True, capture_output=True)
    print(open(f"{d}/ports").read(), end="")


def stop(d, wine_run, quiet=False):
    try:
        pid = int(open(f"{d}/pid").read())
        os.kill(pid, signal.SIGTERM)
    except (OSError, ValueError):
        pass
    if os.path.exists(f"{d}/ca.der"):
        der = open(f"{d}/ca.der", "rb").read()
        subprocess.run([wine_run, "reg.exe", "delete", root_key(der), "/f"], capture_output=True)
        os.remove(f"{d}/ca.der")
    for f in ("pid", "ports"):
        if os.path.exists(f"{d}/{f}"):
            os.remove(f"{d}/{f}")
    for sub in ("replies", "records"):  # no request data stays on disk
        for f in os.listdir(os.path.join(d, sub)) if os.path.isdir(os.path.join(d, sub)) else []:
            os.remove(os.path.join(d, sub, f))
    if not quiet:
        print("gateway double stopped")


if __name__ == "__main__":
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "start" and len(sys.argv) == 5:
        start(sys.argv[2], sys.argv[3], sys.argv[4])
    elif command == "stop" and len(sys.argv) == 4:
        stop(sys.argv[2], sys.argv[3])
    elif command == "serve" and len(sys.argv) == 3:
        serve(sys.argv[2])
    else:
        sys.exit(__doc__)
