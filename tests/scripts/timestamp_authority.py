"""An RFC 3161 time-stamping authority on 127.0.0.1 for the release test.

    timestamp_authority.py <openssl ts configuration> <port file>

Answers every POST with `openssl ts -reply`, writes the port it listens on
into the port file once it listens, and serves until it is ended.
"""
import http.server
import os
import subprocess
import sys
import tempfile


class TimestampHandler(http.server.BaseHTTPRequestHandler):
    config = ""

    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        with tempfile.TemporaryDirectory() as folder:
            query_file = os.path.join(folder, "query.tsq")
            reply_file = os.path.join(folder, "reply.tsr")
            with open(query_file, "wb") as f:
                f.write(query)
            answer = subprocess.run(
                ["openssl", "ts", "-reply", "-config", self.config, "-queryfile", query_file, "-out", reply_file],
                capture_output=True)
            if answer.returncode != 0:
                sys.stderr.write(answer.stderr.decode(errors="replace"))
                self.send_response(500)
                self.end_headers()
                return
            with open(reply_file, "rb") as f:
                reply = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *args):
        pass


def main():
    TimestampHandler.config = sys.argv[1]
    server = http.server.HTTPServer(("127.0.0.1", 0), TimestampHandler)
    port_file = sys.argv[2]
    with open(port_file + ".new", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(port_file + ".new", port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
