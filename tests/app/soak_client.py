#!/usr/bin/env python3
"""Traffic against the running program on 127.0.0.1, and a check of every answer.

  soak_client.py mixed   PORT DRIVE_C COUNT [SEED]   mixed connections, a few at a time
  soak_client.py replace PORT DRIVE_C COUNT [SEED]   C:\\a replaced and deleted while read
  soak_client.py random  PORT DRIVE_C COUNT [SEED]   random requests: tokens, values, bytes

Every connection must end (answered or closed) within its bound, and what it received must be
a whole reply: nothing, or (after the "/x" reply) the bytes of one reply file, never a part or
a mix. Prints what it saw per kind; exits 1 with the first bad answers otherwise.
"""

import os
import random
import socket
import struct
import sys
import threading
import time

HOST = "127.0.0.1"
FIXED = b"HTTP/1.1 200 OK\r\nContent-Length:4\r\nContent-Type:text/html\r\n\r\ngata"
# An answer is awaited this long; the program closes a silent connection after 5 s.
ANSWER_TIMEOUT = 60.0
WORKERS = 6


class Run:
    """Counts per kind and the first failures, shared by the worker threads."""

    def __init__(self):
        self.lock = threading.Lock()
        self.counts = {}
        self.failures = []

    def note(self, kind, outcome):
        with self.lock:
            self.counts.setdefault(kind, {}).setdefault(outcome, 0)
            self.counts[kind][outcome] += 1

    def fail(self, kind, text):
        with self.lock:
            self.failures.append(f"{kind}: {text}")

    def report(self, title):
        print(f"== {title}")
        for kind in sorted(self.counts):
            outcomes = ", ".join(f"{n} {o}" for o, n in sorted(self.counts[kind].items()))
            print(f"   {kind:<12} {outcomes}")
        for failure in self.failures[:10]:
            print(f"   FAIL {failure}")
        return 1 if self.failures else 0


def connect(port, receive_buffer=None):
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    if receive_buffer:
        s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, receive_buffer)
    s.settimeout(ANSWER_TIMEOUT)
    s.connect((HOST, port))
    return s


def read_all(s, chunk=65536, pause=0.0):
    """Everything until the program closes; None when it neither answers nor closes in time."""
    data = bytearray()
    deadline = time.monotonic() + ANSWER_TIMEOUT
    while True:
        try:
            part = s.recv(chunk)
        except socket.timeout:
            return None
        except ConnectionResetError:
            return bytes(data)
        if not part:
            return bytes(data)
        data += part
        if time.monotonic() > deadline:
            return None
        if pause:
            time.sleep(pause)


def reply_files(drive):
    files = {}
    for name in "acs":
        with open(os.path.join(drive, name), "rb") as f:
            files[name] = f.read()
    return files


def whole_reply(answer, files):
    """The file the answer is made of ('' for nothing), or None when it is no whole reply."""
    if answer == b"":
        return ""
    body = answer[len(FIXED):] if answer.startswith(FIXED) else answer
    if body == b"" and answer.startswith(FIXED):
        return "x"
    for name, content in files.items():
        if body == content:
            return name
    return None


def exchange(run, kind, port, files, send, **options):
    """One connection: sends `send` (bytes, or a list of pieces with pauses between), maybe
    half-closes, reads the whole answer and checks it."""
    try:
        s = connect(port, options.get("receive_buffer"))
    except OSError as error:
        run.fail(kind, f"connect: {error}")
        return
    with s:
        try:
            pieces = send if isinstance(send, list) else [send]
            for i, piece in enumerate(pieces):
                if i:
                    time.sleep(0.05)
                s.sendall(piece)
            if options.get("half_close"):
                s.shutdown(socket.SHUT_WR)
        except OSError:
            # The program may answer and close before the last piece went out.
            pass
        answer = read_all(s, options.get("chunk", 65536), options.get("pause", 0.0))
    if answer is None:
        run.fail(kind, f"no answer and no close within {ANSWER_TIMEOUT:.0f} s")
        return
    made_of = whole_reply(answer, files)
    if made_of is None:
        run.fail(kind, f"{len(answer)} bytes that are no whole reply: {answer[:80]!r}")
        return
    expected = options.get("expect")
    if expected is not None and made_of not in expected:
        run.fail(kind, f"answered with {made_of or 'nothing'!r} instead of {expected!r}")
        return
    run.note(kind, f"reply-{made_of}" if made_of else "closed")


def silent(run, port):
    """A connection that never sends: the program closes it."""
    try:
        with connect(port) as s:
            started = time.monotonic()
            answer = read_all(s)
            if answer is None:
                run.fail("silent", "not closed")
            else:
                run.note("silent", "closed" if not answer else "answered")
                if time.monotonic() - started > 30:
                    run.fail("silent", f"closed after {time.monotonic() - started:.0f} s")
    except OSError as error:
        run.fail("silent", f"connect: {error}")


def reset(run, port, rng):
    """A peer that sends a part of a request and resets the connection."""
    try:
        s = connect(port)
        s.sendall(b"GET /s?e=0&X" + str(rng.randrange(100)).encode())
        s.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        s.close()
        run.note("reset", "sent")
    except OSError as error:
        run.fail("reset", f"{error}")


def mixed_kinds(rng):
    """(weight, kind, request, options) for one mixed connection."""
    garbage = bytes(rng.randrange(256) for _ in range(rng.randrange(1, 700)))
    return [
        (6, "root", b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", {"expect": "a"}),
        (3, "status", b"GET /c HTTP/1.1\r\n\r\n", {"expect": "c"}),
        (2, "fixed", b"GET /x HTTP/1.1\r\n\r\n", {}),
        (2, "favicon", b"GET /favicon.ico HTTP/1.1\r\n\r\n", {}),
        (2, "record", b"GET /s?e=0&X%d&Y%d HTTP/1.1\r\n\r\n" % (rng.randrange(50), rng.randrange(50)), {}),
        (2, "malformed", rng.choice([b"\r\n\r\n", b"GET", b"G\r", b"POST /c?a=1 HTTP/9\r\n",
                                     b"GET /s?q=abc&Q\r\n"]), {}),
        (2, "oversize", b"GET /" + b"A" * rng.randrange(1100, 4000), {}),
        (2, "half-open", b"GET /c HTTP/1.1\r\n\r\n", {"half_close": True, "expect": "c"}),
        (1, "slow-reader", b"GET /c HTTP/1.1\r\n\r\n",
         {"receive_buffer": 4096, "chunk": 8192, "pause": 0.01, "expect": "c"}),
        (1, "trickle", [b"GE", b"T /c", b" HTTP/1.1\r\n\r\n"], {}),
        (2, "garbage", garbage, {}),
    ]


def pick(rng, kinds):
    total = sum(k[0] for k in kinds)
    roll = rng.randrange(total)
    for weight, *rest in kinds:
        if roll < weight:
            return rest
        roll -= weight
    return kinds[-1][1:]


def run_workers(count, job):
    """Runs job(index) for every index below count on WORKERS threads."""
    next_index = iter(range(count))
    lock = threading.Lock()

    def worker():
        while True:
            with lock:
                index = next(next_index, None)
            if index is None:
                return
            job(index)

    threads = [threading.Thread(target=worker) for _ in range(WORKERS)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()


def mixed(port, drive, count, seed):
    run, files = Run(), reply_files(drive)
    for _ in range(3):
        threading.Thread(target=silent, args=(run, port)).start()

    def job(index):
        rng = random.Random(seed * 100003 + index)
        if rng.randrange(40) == 0:
            reset(run, port, rng)
            return
        kind, request, options = pick(rng, mixed_kinds(rng))
        exchange(run, kind, port, files, request, **options)

    started = time.monotonic()
    run_workers(count, job)
    for t in threading.enumerate():
        if t is not threading.current_thread():
            t.join()
    return run.report(f"{count} mixed connections in {time.monotonic() - started:.1f} s")


def replace(port, drive, count, seed):
    """C:\\a is replaced whole (as an editor saves: a new file renamed over it) and deleted
    while it is read; every reply is one whole version or nothing."""
    run, rng = Run(), random.Random(seed)
    path = os.path.join(drive, "a")
    versions = [b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nversion %d " % i +
                bytes([65 + i]) * (1000 + 7919 * i) for i in range(4)]
    files = {f"v{i}": v for i, v in enumerate(versions)}
    stop = threading.Event()

    def writer():
        changes = 0
        while not stop.is_set():
            if rng.randrange(5) == 0:
                try:
                    os.unlink(path)
                except FileNotFoundError:
                    pass
            else:
                temp = path + ".new"
                with open(temp, "wb") as f:
                    f.write(rng.choice(versions))
                os.replace(temp, path)
            changes += 1
            time.sleep(0.002)
        with open(path + ".new", "wb") as f:
            f.write(versions[0])
        os.replace(path + ".new", path)
        run.note("changes", f"{changes}")

    # The first requests may come before the writer's first change: C:\a is one of the
    # versions from the start.
    with open(path + ".new", "wb") as f:
        f.write(versions[0])
    os.replace(path + ".new", path)
    changer = threading.Thread(target=writer)
    changer.start()
    started = time.monotonic()
    run_workers(count, lambda i: exchange(run, "root", port, files, b"GET / HTTP/1.1\r\n\r\n"))
    stop.set()
    changer.join()
    return run.report(f"{count} requests for C:\\a while it changed, in {time.monotonic() - started:.1f} s")


TOKENS = ["e=1", "e=0", "e=", "p=0", "p=1", "p=-1", "p=99999", "p=5abc", "X", "Y", "Z", "e=1&",
          "&", "=", "?", " ", "-", "\r", "\n", "%20", "/s", "V", "?a", "A", "S", "c"]
VALUES = ["0", "1", "7", "120", "299", "300", "301", "-1", "-300", "2147483647", "4294967295",
          "99999999999", "5abc", ":", "", "0x10"]


def random_request(rng):
    if rng.randrange(4) == 0:
        return bytes(rng.randrange(256) for _ in range(rng.randrange(1, 1200)))
    line = "GET /" + rng.choice(["s?", "s", "?a=1", "c", "x", "", "sV", "s123V"])
    for _ in range(rng.randrange(1, 8)):
        token = rng.choice(TOKENS)
        line += token + (rng.choice(VALUES) if token in ("X", "Y", "Z") else "")
        # A delay token is ended at once: run into the letters that follow, it would read as
        # a delay of seconds per step (as the digit rule says), and one request would then
        # rightly take longer than the wait for its answer.
        line += "&" if token.startswith("p=") else rng.choice(["&", "", "&", " "])
    end = rng.choice(["\r\n\r\n", " HTTP/1.1\r\nHost: x\r\n\r\n", "", "\n"])
    return (line + end).encode("latin-1")


def random_requests(port, drive, count, seed):
    """Random tokens and values, random bytes; the program answers every one to the end."""
    run, files = Run(), reply_files(drive)

    def job(index):
        rng = random.Random(seed * 7919 + index)
        exchange(run, "random", port, files, random_request(rng))

    started = time.monotonic()
    run_workers(count, job)
    final = Run()
    exchange(final, "after", port, files, b"GET / HTTP/1.1\r\n\r\n", expect="a")
    run.failures += final.failures
    return run.report(f"{count} random requests in {time.monotonic() - started:.1f} s")


def main(argv):
    if len(argv) < 5:
        print(__doc__)
        return 2
    mode, port, drive, count = argv[1], int(argv[2]), argv[3], int(argv[4])
    seed = int(argv[5]) if len(argv) > 5 else int(time.time())
    print(f"   seed {seed}")
    modes = {"mixed": mixed, "replace": replace, "random": random_requests}
    return modes[mode](port, drive, count, seed)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
