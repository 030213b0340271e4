"""A stand-in for the running program on a loopback port, for the control page in a browser
without Wine: one request per connection, answered with the raw bytes of the reply file
selected (a, c, s from a folder), the movement tokens of the request line, --limits, and with
api=True the JSON of /pos and /halt. A line takes (steps + 1) * p ms, its steps counted as it
goes; a request that arrives while a line runs is only answered, as the program does."""
import json
import os
import re
import socketserver
import threading
import time


class FakeProgram:
    def __init__(self, reply_dir, api=True, limits=None, hook=True):
        self.replies = {}
        for name in "acs":
            with open(os.path.join(reply_dir, name), "rb") as f:
                self.replies[name] = f.read()
        self.api, self.limits = api, limits
        self.selected, self.x, self.y, self.delay = "s", 0, 0, 0
        self.tool = 0 if hook else None
        self.requests, self.lines, self.tools = [], [], []
        self.running = None
        self.halt = threading.Event()
        self.lock = threading.Lock()
        owner = self

        class Handler(socketserver.BaseRequestHandler):
            def handle(self):
                data = b""
                while b"\r\n" not in data:
                    chunk = self.request.recv(1024)
                    if not chunk:
                        return
                    data += chunk
                self.request.sendall(owner.answer(data.split(b"\r\n")[0].decode("latin-1")))

        socketserver.ThreadingTCPServer.allow_reuse_address = True
        self.server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def close(self):
        self.server.shutdown()
        self.server.server_close()

    def position(self):
        body = json.dumps({"x": self.x, "y": self.y, "line": "running" if self.running else "idle", "done": 0,
                           "total": 0, "delay": self.delay, "port": "open", "tool": self.tool}).encode()
        return (b"HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: %d\r\n"
                b"Cache-Control: no-store\r\nConnection: close\r\n\r\n" % len(body)) + body

    def answer(self, request_line):
        path = request_line.split(" ")[1] if " " in request_line else ""
        self.requests.append(path)
        if self.api and path in ("/pos", "/halt"):
            if path == "/halt":
                self.halt.set()
            return self.position()
        if not self.lock.acquire(blocking=False):
            return self.replies[self.selected]  # inside a line: answered only
        try:
            if path == "/":
                self.selected = "a"
            elif path == "/c":
                self.selected = "c"
            elif path.startswith("/s"):
                self.movement(path)
            elif path.startswith("/?a=1") and self.tool is not None:
                self.tool = {"A": 1, "S": 0, "c": 2}.get(path[5:6], self.tool)
                self.tools.append(self.tool)
            return self.replies[self.selected]
        finally:
            self.lock.release()

    def movement(self, path):
        values = dict(re.findall(r"(e=|p=|X|Y)(\d+)", path))
        if "p=" in values:
            self.delay = int(values["p="])
        target = (int(values.get("X", self.x)), int(values.get("Y", self.y)))
        if values.get("e=") != "1":
            self.x, self.y = target
            return
        if self.limits and (target[0] > self.limits[0] or target[1] > self.limits[1]):
            return
        line = {"from": (self.x, self.y), "to": target, "tool": self.tool}
        self.running = line
        self.halt.clear()
        time.sleep(self.delay / 1000)
        while (self.x, self.y) != target and not self.halt.is_set():
            if self.x != target[0]:
                self.x += 1 if target[0] > self.x else -1
            else:
                self.y += 1 if target[1] > self.y else -1
            time.sleep(self.delay / 1000)
        line["end"] = (self.x, self.y)
        self.lines.append(line)
        self.running = None
        self.selected = "s"
