"""Headless Chromium for the search page's tests and benchmark: a static
file server on 127.0.0.1 that honours byte ranges (or, when told, answers
with whole files), and a small WebDriver client over chromedriver.

Only the Python standard library is used. CHROMIUM and CHROMEDRIVER name
other programs than /usr/bin/chromium and /usr/bin/chromedriver.
"""
import base64
import http.server
import json
import os
import re
import shutil
import socket
import subprocess
import tempfile
import threading
import time
import urllib.error
import urllib.parse
import urllib.request

CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--no-first-run",
]


class Missing(Exception):
    """Chromium or chromedriver is not installed."""


def programs():
    chromium = os.environ.get("CHROMIUM", "/usr/bin/chromium")
    driver = os.environ.get("CHROMEDRIVER", "/usr/bin/chromedriver")
    for name, path in (("chromium", chromium), ("chromedriver", driver)):
        if not os.access(path, os.X_OK):
            raise Missing(f"{name} is not installed at {path}: scripts/install-deps installs "
                          "Debian's chromium and chromium-driver")
    return chromium, driver


class FolderServer:
    """Serves `folder` on 127.0.0.1 at a free port. With ranges=False a
    Range header is ignored and the whole file sent. Every request is
    noted: (path, Range header, status, bytes of body)."""

    def __init__(self, folder, ranges=True):
        self.folder = folder
        self.ranges = ranges
        self.requests = []
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                path = urllib.parse.unquote(self.path.split("?", 1)[0])
                name = os.path.normpath(path.lstrip("/")) if path != "/" else "."
                file = os.path.join(server.folder, name)
                if name.startswith("..") or not os.path.isfile(file):
                    return self.answer(path, 404, b"not found", "text/plain")
                with open(file, "rb") as f:
                    body = f.read()
                kind = {".html": "text/html; charset=utf-8", ".js": "text/javascript",
                        ".css": "text/css"}.get(os.path.splitext(file)[1],
                                                "application/octet-stream")
                match = re.fullmatch(r"bytes=(\d*)-(\d*)", self.headers.get("Range", ""))
                if not server.ranges or not match or match.group(1) == "":
                    return self.answer(path, 200, body, kind)
                start = int(match.group(1))
                end = min(int(match.group(2)) + 1 if match.group(2) else len(body), len(body))
                if start >= len(body):
                    return self.answer(path, 416, b"", kind,
                                       {"Content-Range": f"bytes */{len(body)}"})
                self.answer(path, 206, body[start:end], kind,
                            {"Content-Range": f"bytes {start}-{end - 1}/{len(body)}"})

            def answer(self, path, status, body, kind, headers=None):
                server.requests.append((path, self.headers.get("Range"), status, len(body)))
                self.send_response(status)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Cache-Control", "no-store")
                if server.ranges:
                    self.send_header("Accept-Ranges", "bytes")
                for key, value in (headers or {}).items():
                    self.send_header(key, value)
                self.end_headers()
                self.wfile.write(body)

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


ELEMENT = "element-6066-11e4-a52e-4f735466cecf"
ENTER, TAB = "\ue007", "\ue004"


class Browser:
    """One headless Chromium with a fresh profile folder, driven through
    chromedriver's WebDriver interface."""

    def __init__(self, width=900, height=900):
        chromium, driver = programs()
        self.profile = tempfile.mkdtemp(prefix="trawlix-chromium-")
        self.port = free_port()
        self.driver = subprocess.Popen([driver, f"--port={self.port}"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.base = f"http://127.0.0.1:{self.port}"
        for _ in range(100):
            try:
                self.call("GET", "/status")
                break
            except OSError:
                time.sleep(0.1)
        args = CHROMIUM_FLAGS + [f"--user-data-dir={self.profile}",
                                 f"--window-size={width},{height}"]
        caps = {"capabilities": {"alwaysMatch": {
            "goog:chromeOptions": {"binary": chromium, "args": args}}}}
        self.session = self.call("POST", "/session", caps)["sessionId"]

    def call(self, method, path, body=None):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request(self.base + path, data=data, method=method,
                                         headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(request, timeout=60) as response:
                return json.load(response)["value"]
        except urllib.error.HTTPError as error:
            detail = json.load(error)["value"]
            raise RuntimeError(f"WebDriver {path}: {detail.get('message', detail)}") from None

    def command(self, method, path, body=None):
        return self.call(method, f"/session/{self.session}{path}", body)

    def open(self, url):
        self.command("POST", "/url", {"url": url})

    def run(self, script, *args):
        return self.command("POST", "/execute/sync", {"script": script, "args": list(args)})

    def run_async(self, script, *args):
        """Runs `script` with a last argument, the callback its answer goes to."""
        return self.command("POST", "/execute/async", {"script": script, "args": list(args)})

    def wait_search(self):
        """Waits for the page's search to end; its state, "done" or "error"."""
        for _ in range(600):
            state = self.run("return document.body.dataset.state")
            if state in ("done", "error"):
                return state
            time.sleep(0.05)
        raise RuntimeError("the search page did not finish its search")

    def element(self, css):
        return self.command("POST", "/element", {"using": "css selector", "value": css})[ELEMENT]

    def type(self, element, text):
        self.command("POST", f"/element/{element}/value", {"text": text})

    def active(self):
        return self.command("GET", "/element/active")[ELEMENT]

    def resize(self, width, height):
        self.command("POST", "/window/rect", {"width": width, "height": height})

    def screenshot(self, path):
        with open(path, "wb") as f:
            f.write(base64.b64decode(self.command("GET", "/screenshot")))

    def close(self):
        try:
            self.call("DELETE", f"/session/{self.session}")
        finally:
            self.driver.terminate()
            self.driver.wait()
            shutil.rmtree(self.profile, ignore_errors=True)
