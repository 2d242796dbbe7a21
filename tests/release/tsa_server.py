#!/usr/bin/env python3
"""An RFC 3161 timestamp authority on the loopback address, for the release test.

    tsa_server.py PORT_FILE LIFETIME CONFIG SIGNER KEY CHAIN
    tsa_server.py PORT_FILE LIFETIME --refuse

Listens on 127.0.0.1 on a free port, which it writes to PORT_FILE once it
accepts connections. Each POSTed query is answered by `openssl ts -reply`
with the given configuration, signing certificate and key and the chain sent
with the reply; with --refuse every query gets HTTP 503 and no timestamp.
Stops by itself after LIFETIME seconds, or when killed.
"""

import http.server
import os
import subprocess
import sys
import tempfile
import threading

# Larger queries are no timestamp queries (one holds a digest and a nonce).
MAX_QUERY = 64 * 1024


class Authority(http.server.BaseHTTPRequestHandler):
    signer = None  # (config, certificate, key, chain), or None to refuse

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        if self.signer is None or not 0 < length <= MAX_QUERY:
            self.send_error(503, "no timestamp")
            return
        query = self.rfile.read(length)
        config, cert, key, chain = self.signer
        with tempfile.TemporaryDirectory() as scratch:
            query_file = os.path.join(scratch, "query.tsq")
            reply_file = os.path.join(scratch, "reply.tsr")
            with open(query_file, "wb") as f:
                f.write(query)
            made = subprocess.run(
                ["openssl", "ts", "-reply", "-config", config, "-queryfile", query_file,
                 "-signer", cert, "-inkey", key, "-chain", chain, "-out", reply_file],
                capture_output=True, timeout=30)
            if made.returncode != 0:
                sys.stderr.write(made.stderr.decode(errors="replace"))
                self.send_error(500, "openssl ts -reply failed")
                return
            with open(reply_file, "rb") as f:
                reply = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, format, *args):
        sys.stderr.write("tsa: " + (format % args) + "\n")


def main(argv):
    if len(argv) == 4 and argv[3] == "--refuse":
        Authority.signer = None
    elif len(argv) == 7:
        Authority.signer = tuple(argv[3:7])
    else:
        sys.stderr.write(__doc__)
        return 2
    port_file, lifetime = argv[1], float(argv[2])
    server = http.server.HTTPServer(("127.0.0.1", 0), Authority)
    # The port is written whole, then renamed: a reader never sees half of it.
    with open(port_file + ".new", "w") as f:
        f.write("%d\n" % server.server_address[1])
    os.rename(port_file + ".new", port_file)
    timer = threading.Timer(lifetime, server.shutdown)
    timer.daemon = True
    timer.start()
    server.serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
