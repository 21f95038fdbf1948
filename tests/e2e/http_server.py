#!/usr/bin/env python3
"""The end-to-end tests' web server on 127.0.0.1.

    http_server.py PORT PORT_FILE LOG_FILE

PORT 0 takes a free port. The port is written to PORT_FILE once the server listens. Every
request appends "METHOD PATH USER-AGENT" to LOG_FILE. Answers: /newer.ini, /equal.ini and
/nokey.ini version files, /moved (301 to /newer.ini), /loop (302 to itself), /huge (64 MiB
without a length), /trickle (a byte a second for 100 seconds), /touch (200), /stop (ends the
server), 404 otherwise. A stream the client gave up adds "ABANDONED PATH" to LOG_FILE. Requests are served side by side; the server also ends after two idle
minutes.
"""
import http.server
import os
import sys
import time

FILES = {
    "/newer.ini": b"[Version]\r\nBuild=200\r\n",
    "/equal.ini": b"[Version]\r\nBuild=100\r\n",
    "/nokey.ini": b"[Version]\r\nOther=1\r\n",
}


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.server.idle = 0.0
        with open(sys.argv[3], "a", encoding="utf-8") as log:
            log.write(f"GET {self.path} {self.headers.get('User-Agent', '')}\n")
        path = self.path.split("?")[0]
        if path in ("/moved", "/loop"):
            self.send_response(301 if path == "/moved" else 302)
            self.send_header("Location", "/newer.ini" if path == "/moved" else "/loop")
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if path in ("/huge", "/trickle"):
            self.stream(path == "/huge")
            return
        body = FILES.get(path, b"ok" if path in ("/touch", "/stop", "/error/app.php") else None)
        self.send_response(200 if body is not None else 404)
        body = body if body is not None else b"not found"
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
        if path == "/stop":
            self.server.stopping = True

    def stream(self, huge):
        self.send_response(200)
        if not huge:
            self.send_header("Content-Length", "100")
        self.end_headers()
        try:
            for _ in range(1024 if huge else 100):
                self.wfile.write(b"x" * 65536 if huge else b"x")
                self.wfile.flush()
                if not huge:
                    time.sleep(1)
        except OSError:  # the client gave up: said in the log
            with open(sys.argv[3], "a", encoding="utf-8") as log:
                log.write(f"ABANDONED {self.path}\n")

    def log_message(self, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Handler)
    server.daemon_threads = True
    # Requests are handled on threads of their own: the loop looks at the stop flag twice a
    # second and ends after two idle minutes.
    server.timeout = 0.5
    server.idle = 0.0
    server.stopping = False
    # Written aside and renamed, so that a reader never sees the file without the port.
    with open(sys.argv[2] + ".tmp", "w", encoding="ascii") as port_file:
        port_file.write(str(server.server_address[1]))
    os.replace(sys.argv[2] + ".tmp", sys.argv[2])
    def idle():
        server.idle += server.timeout
        server.stopping = server.stopping or server.idle >= 120

    server.handle_timeout = idle
    while not server.stopping:
        server.handle_request()


if __name__ == "__main__":
    main()
