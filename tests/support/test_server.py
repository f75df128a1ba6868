#!/usr/bin/env python3
"""A scriptable local web server for the tests.

One port on 127.0.0.1 speaks HTTPS (with a certificate from a test authority
made at start) and plain HTTP alike, telling them apart by the first byte a
client sends. A second port speaks HTTPS with a certificate from an authority
nobody trusts, a third accepts no connection at all, and a fourth is closed.

Commands come as JSON lines on stdin and are answered as JSON lines on stdout;
the first line on stdout gives the ports and the authority's certificate file.
The server ends when stdin closes.
"""
import base64
import collections
import http.server
import json
import os
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time

MAX_REQUEST_BODY = 16 << 20


def openssl(*args, cwd):
    subprocess.run(["openssl", *args], cwd=cwd, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def make_authority(folder, name):
    """A CA and a server certificate for 127.0.0.1 signed by it."""
    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    openssl("req", "-x509", *ec, "-keyout", f"{name}-ca.key", "-out", f"{name}-ca.pem",
            "-days", "2", "-subj", f"/CN=Tessaly {name} test authority",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=folder)
    openssl("req", *ec, "-keyout", f"{name}.key", "-out", f"{name}.csr",
            "-subj", "/CN=127.0.0.1", cwd=folder)
    with open(os.path.join(folder, f"{name}.ext"), "w") as ext:
        ext.write("subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\n"
                  "keyUsage=digitalSignature\nextendedKeyUsage=serverAuth\n")
    openssl("x509", "-req", "-in", f"{name}.csr", "-CA", f"{name}-ca.pem",
            "-CAkey", f"{name}-ca.key", "-set_serial", str(int.from_bytes(os.urandom(8), "big")),
            "-days", "2", "-extfile", f"{name}.ext", "-out", f"{name}.pem", cwd=folder)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(folder, f"{name}.pem"), os.path.join(folder, f"{name}.key"))
    # HTTP/2 is offered first, so that a client willing to speak it shows in
    # the recorded protocol (and fails here: the server speaks HTTP/1.1 only).
    context.set_alpn_protocols(["h2", "http/1.1"])
    return context, os.path.join(folder, f"{name}-ca.pem")


class Script:
    """The routes the tests set and the requests the server saw."""

    def __init__(self):
        self.lock = threading.Lock()
        self.routes = {}
        self.requests = []

    def route(self, scheme, path, responses):
        with self.lock:
            self.routes[(scheme, path)] = collections.deque(responses)

    def clear(self):
        with self.lock:
            self.routes.clear()
            self.requests.clear()

    def record(self, request):
        with self.lock:
            self.requests.append(request)

    def take(self, scheme, path):
        """The next response of the route; the last one repeats."""
        with self.lock:
            queue = self.routes.get((scheme, path)) or self.routes.get(("*", path))
            if not queue:
                return {"status": 404, "body": base64.b64encode(b"no route").decode()}
            return queue.popleft() if len(queue) > 1 else queue[0]


SCRIPT = Script()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    scheme = "http"

    def log_message(self, *args):
        pass

    def handle_one_request(self):
        try:
            super().handle_one_request()
        except (OSError, ssl.SSLError):
            self.close_connection = True

    def answer(self):
        length = min(int(self.headers.get("Content-Length") or 0), MAX_REQUEST_BODY)
        body = self.rfile.read(length) if length > 0 else b""
        alpn = getattr(self.connection, "selected_alpn_protocol", lambda: None)()
        SCRIPT.record({"scheme": self.scheme, "method": self.command, "path": self.path,
                       "version": self.request_version, "alpn": alpn or "",
                       "headers": [[k, v] for k, v in self.headers.items()],
                       "body": base64.b64encode(body).decode()})
        self.send(SCRIPT.take(self.scheme, self.path.split("?")[0]))

    do_POST = do_GET = do_PUT = do_HEAD = answer

    def send(self, spec):
        if spec.get("drop"):
            self.close_connection = True
            return
        if spec.get("silent"):
            self.wait_for_client()
            return
        time.sleep(spec.get("delayMs", 0) / 1000)
        body = base64.b64decode(spec.get("body", ""))
        if spec.get("bodySize", -1) >= 0:
            body = b"x" * spec["bodySize"]
        head = self.head(spec, body)
        if spec.get("endless"):
            self.write_endlessly(head, spec.get("trickleMs", 0) / 1000)
        elif spec.get("trickleMs", 0) > 0:
            self.wfile.write(head)
            self.write_paced(body, spec["trickleMs"] / 1000)
        else:
            self.write_stalling(head, body, spec)

    def head(self, spec, body):
        """The status line and headers, as bytes to send."""
        self.send_response_only(spec.get("status", 200))
        headers = spec.get("headers", [])
        for name, value in headers:
            self.send_header(name, value)
        if spec.get("closeDelimited") or spec.get("endless"):
            self.close_connection = True
            self.send_header("Connection", "close")
        elif not any(name.lower() == "content-length" for name, _ in headers):
            self.send_header("Content-Length", str(len(body)))
        head = b"".join(self._headers_buffer) + b"\r\n"
        self._headers_buffer = []
        return head

    def write_stalling(self, head, body, spec):
        self.wfile.write(head)
        stall_at = spec.get("stallAfterBytes", -1)
        if stall_at >= 0:
            self.wfile.write(body[:stall_at])
            self.wfile.flush()
            time.sleep(spec.get("stallMs", 0) / 1000)
            body = body[stall_at:]
        self.wfile.write(body)

    def write_paced(self, data, pause):
        """One byte at a time, each after a pause: a trickle that never
        leaves a wait long enough to time out."""
        for i in range(len(data)):
            time.sleep(pause)
            self.wfile.write(data[i:i + 1])
            self.wfile.flush()

    def write_endlessly(self, head, pause):
        """A body that never ends, until the client goes away (or a minute
        has passed, so that the server stops by itself)."""
        self.wfile.write(head)
        end = time.monotonic() + 60
        while time.monotonic() < end:
            self.wfile.write(b"x")
            self.wfile.flush()
            time.sleep(pause)

    def wait_for_client(self):
        """Says nothing until the client gives up (or a minute has passed)."""
        self.close_connection = True
        self.connection.settimeout(60)
        try:
            while self.connection.recv(4096):
                pass
        except (OSError, ssl.SSLError):
            pass


class HttpsHandler(Handler):
    scheme = "https"


def linger_close(connection):
    """Closes after the client has: closing with unread input would reset the
    connection and make the client report a failure of its own."""
    try:
        connection.settimeout(2)
        connection.shutdown(socket.SHUT_WR)
        while connection.recv(4096):
            pass
    except (OSError, ssl.SSLError, ValueError):
        pass
    connection.close()


class Server(http.server.ThreadingHTTPServer):
    """Serves TLS or plain HTTP on one port, chosen by the client's first byte."""
    daemon_threads = True

    def __init__(self, context):
        super().__init__(("127.0.0.1", 0), Handler)
        self.context = context

    def finish_request(self, request, client_address):
        request.settimeout(30)
        try:
            first = request.recv(1, socket.MSG_PEEK)
            handler = Handler
            if first == b"\x16":
                request = self.context.wrap_socket(request, server_side=True)
                handler = HttpsHandler
            handler(request, client_address, self)
        except (OSError, ssl.SSLError):
            pass
        finally:
            linger_close(request)

    def handle_error(self, request, client_address):
        pass


def hanging_port():
    """A port whose accept queue is full, so that connects to it never finish."""
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(0)
    fillers = []
    for _ in range(4):
        filler = socket.socket()
        filler.setblocking(False)
        filler.connect_ex(listener.getsockname())
        fillers.append(filler)
    return listener, fillers


def closed_port():
    probe = socket.socket()
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    return port


def serve(context):
    server = Server(context)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def reply(message):
    sys.stdout.write(json.dumps(message) + "\n")
    sys.stdout.flush()


def main():
    folder = tempfile.mkdtemp(prefix="tessaly-test-server-")
    trusted, authority = make_authority(folder, "trusted")
    untrusted, _ = make_authority(folder, "unknown")
    main_server, other_server = serve(trusted), serve(untrusted)
    hang = hanging_port()
    reply({"port": main_server.server_address[1], "untrustedPort": other_server.server_address[1],
           "hangingPort": hang[0].getsockname()[1], "closedPort": closed_port(),
           "authority": authority})
    for line in sys.stdin:
        command = json.loads(line)
        if command["cmd"] == "route":
            SCRIPT.route(command.get("scheme", "*"), command["path"], command["responses"])
            reply({"ok": True})
        elif command["cmd"] == "requests":
            with SCRIPT.lock:
                reply({"requests": list(SCRIPT.requests)})
        elif command["cmd"] == "clear":
            SCRIPT.clear()
            reply({"ok": True})
    subprocess.run(["rm", "-rf", folder])
    os._exit(0)  # handler threads that still sleep in a stall end with the process


if __name__ == "__main__":
    main()
