#!/usr/bin/env python3
"""Serves a folder on 127.0.0.1 for bench/crawl, one thread per connection,
HTTP/1.1 with keep-alive, waiting --latency milliseconds before each answer
as a distant server would. Prints "Serving HTTP on 127.0.0.1 port N" first."""
import argparse
import functools
import http.server
import time

parser = argparse.ArgumentParser()
parser.add_argument("folder")
parser.add_argument("--latency", type=int, default=0, help="milliseconds before each answer")
args = parser.parse_args()


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # The headers and the body leave in separate writes: without this the
    # body would wait for the client's delayed acknowledgement.
    disable_nagle_algorithm = True

    def send_head(self):
        if args.latency:
            time.sleep(args.latency / 1000)
        return super().send_head()

    def log_message(self, *unused):
        pass


server = http.server.ThreadingHTTPServer(
    ("127.0.0.1", 0), functools.partial(Handler, directory=args.folder))
server.daemon_threads = True
print(f"Serving HTTP on 127.0.0.1 port {server.server_address[1]}", flush=True)
server.serve_forever()
