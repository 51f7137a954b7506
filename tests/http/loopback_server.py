#!/usr/bin/env python3
"""HTTP server on 127.0.0.1 for the download tests: the answers a download
can meet, chosen by the request path. Standard library only.

  loopback_server.py run [--port N] -- command [args...]
      Starts the server (port 0: any free port), runs the command with
      KX_HTTP_PORT set to the port, stops the server and exits with the
      command's status.
  loopback_server.py serve [--port N]
      Serves until stdin closes or the process is stopped; prints the port.

Paths (the last part is the file name the client stores the body under):
  /data/SIZE/NAME          200, SIZE bytes of the pattern, Content-Length
  /status/CODE/NAME        status CODE with a short text body
  /redirect/CODE/PATH...   CODE with "Location: http://127.0.0.1:PORT/PATH..."
  /nolocation/CODE/NAME    CODE without a Location header
  /redirect-ftp/NAME       302 to an FTP address
  /auth/NAME               401 with a Basic challenge
  /nolength/SIZE/NAME      200, the pattern without Content-Length
  /slow/SIZE/NAME          200, the pattern in 1024-byte pieces, 20 ms apart
  /paced/SIZE/PIECE/MS/NAME
                           200, the pattern in PIECE-byte pieces, MS ms apart
  /gate/SIZE/FIRST/NAME    Content-Length SIZE, FIRST bytes, then the rest
                           once /release has been asked for (at most 60 s
                           later)
  /release                 lets the body of a waiting /gate go on
  /closed-port             a port on 127.0.0.1 where nothing listens, as text
  /late/MS/NAME            200 with a short body, after MS milliseconds
  /drop/SIZE/NAME          Content-Length SIZE, half the body, then the
                           connection is closed
  /silent/SIZE/FIRST/S/NAME
                           Content-Length SIZE, FIRST bytes, then the
                           connection held open and silent for S seconds
  /mute/S/NAME             the request read and not answered for S seconds
  /headers/NAME            200, the request's header lines as the body
  /requests                the paths requested so far, one a line (not
                           itself recorded)
  /finished                for each answer that has ended, its path and the
                           bytes of body sent before it ended or the client
                           went, one a line (not itself recorded)

The pattern: byte i is (i * 31 + (i >> 10)) & 0xFF; it repeats every
262144 bytes.
"""
import argparse
import http.server
import os
import select
import socket
import subprocess
import sys
import threading
import time

PERIOD = 262144
BLOCK = bytes(((i * 31 + (i >> 10)) & 0xFF) for i in range(PERIOD))


def pattern(start, length):
    """`length` bytes of the pattern from offset `start`."""
    out = bytearray()
    while length > 0:
        offset = start % PERIOD
        n = min(length, PERIOD - offset)
        out += BLOCK[offset:offset + n]
        start += n
        length -= n
    return bytes(out)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server_version = "KxLoopback/1"

    def log_message(self, format, *args):  # quiet
        pass

    def send_body_head(self, code, length=None, extra=()):
        self.send_response(code)
        self.send_header("Content-Type", "application/octet-stream")
        for name, value in extra:
            self.send_header(name, value)
        if length is not None:
            self.send_header("Content-Length", str(length))
        self.end_headers()

    def write_pattern(self, size, piece=1 << 20, pause=0.0):
        sent = 0
        while sent < size:
            n = min(piece, size - sent)
            self.wfile.write(pattern(sent, n))
            self.wfile.flush()
            sent += n
            self.body_sent += n
            if pause:
                time.sleep(pause)

    def hold_silent(self, seconds):
        """Sends nothing for `seconds`, or until the client has gone."""
        self.wfile.flush()
        self.close_connection = True
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            readable, _, _ = select.select([self.connection], [], [], 0.2)
            if readable and not self.connection.recv(1, socket.MSG_PEEK):
                return

    def do_GET(self):
        parts = self.path.split("/")[1:]
        kind = parts[0] if parts else ""
        recorded = kind not in ("requests", "finished", "release", "closed-port")
        if recorded:
            with self.server.lock:
                self.server.requests.append(self.path)
        self.body_sent = 0
        try:
            self.answer(kind, parts)
        except (BrokenPipeError, ConnectionResetError):
            pass
        if recorded:
            with self.server.lock:
                self.server.finished.append("%s %d" % (self.path, self.body_sent))

    def answer(self, kind, parts):
        if kind in ("requests", "finished"):
            with self.server.lock:
                lines = self.server.requests if kind == "requests" else self.server.finished
                body = "".join(p + "\n" for p in lines).encode()
            self.send_body_head(200, len(body))
            self.wfile.write(body)
        elif kind == "data" and len(parts) >= 3:
            size = int(parts[1])
            self.send_body_head(200, size)
            self.write_pattern(size)
        elif kind == "status" and len(parts) >= 3:
            code = int(parts[1])
            body = ("status %d body\n" % code).encode()
            self.send_body_head(code, len(body))
            self.wfile.write(body)
        elif kind == "redirect" and len(parts) >= 3:
            code = int(parts[1])
            target = "http://127.0.0.1:%d/%s" % (self.server.server_port, "/".join(parts[2:]))
            self.send_body_head(code, 0, [("Location", target)])
        elif kind == "nolocation" and len(parts) >= 3:
            self.send_body_head(int(parts[1]), 0)
        elif kind == "redirect-ftp":
            self.send_body_head(302, 0, [("Location", "ftp://127.0.0.1/" + parts[-1])])
        elif kind == "auth":
            body = b"no entry\n"
            self.send_body_head(401, len(body), [("WWW-Authenticate", 'Basic realm="kx"')])
            self.wfile.write(body)
        elif kind == "nolength" and len(parts) >= 3:
            self.send_body_head(200, None)
            self.write_pattern(int(parts[1]))
        elif kind == "slow" and len(parts) >= 3:
            size = int(parts[1])
            self.send_body_head(200, size)
            self.write_pattern(size, piece=1024, pause=0.02)
        elif kind == "paced" and len(parts) >= 5:
            size = int(parts[1])
            self.send_body_head(200, size)
            self.write_pattern(size, piece=int(parts[2]), pause=int(parts[3]) / 1000.0)
        elif kind == "gate" and len(parts) >= 4:
            size, first = int(parts[1]), int(parts[2])
            self.send_body_head(200, size)
            self.wfile.write(pattern(0, first))
            self.wfile.flush()
            self.server.gate.wait(60)
            self.server.gate.clear()
            self.wfile.write(pattern(first, size - first))
        elif kind == "release":
            self.server.gate.set()
            self.send_body_head(200, 0)
        elif kind == "closed-port":
            # Bound and closed again: nothing listens there now.
            probe = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            probe.bind(("127.0.0.1", 0))
            body = str(probe.getsockname()[1]).encode()
            probe.close()
            self.send_body_head(200, len(body))
            self.wfile.write(body)
        elif kind == "late" and len(parts) >= 3:
            time.sleep(int(parts[1]) / 1000.0)
            body = b"late body\n"
            self.send_body_head(200, len(body))
            self.wfile.write(body)
        elif kind == "drop" and len(parts) >= 3:
            size = int(parts[1])
            self.send_body_head(200, size)
            self.write_pattern(size // 2)
            self.wfile.flush()
            self.connection.shutdown(socket.SHUT_RDWR)
            self.close_connection = True
        elif kind == "silent" and len(parts) >= 5:
            size, first = int(parts[1]), int(parts[2])
            self.send_body_head(200, size)
            self.write_pattern(first)
            self.hold_silent(int(parts[3]))
        elif kind == "mute" and len(parts) >= 3:
            self.hold_silent(int(parts[1]))
        elif kind == "headers":
            body = "".join("%s: %s\r\n" % item for item in self.headers.items()).encode("latin-1")
            self.send_body_head(200, len(body))
            self.wfile.write(body)
        else:
            self.send_body_head(400, 0)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, port):
        super().__init__(("127.0.0.1", port), Handler)
        self.lock = threading.Lock()
        self.requests = []
        self.finished = []
        self.gate = threading.Event()


def start(port):
    server = Server(port)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    return server


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["run", "serve"])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    server = start(args.port)
    port = server.server_port
    try:
        if args.mode == "serve":
            print(port, flush=True)
            for _ in sys.stdin:
                pass
            return 0
        command = args.command[1:] if args.command[:1] == ["--"] else args.command
        if not command:
            parser.error("run needs a command")
        env = dict(os.environ, KX_HTTP_PORT=str(port))
        return subprocess.call(command, env=env)
    finally:
        server.shutdown()
        server.server_close()


if __name__ == "__main__":
    sys.exit(main())
