#!/usr/bin/env python3
"""The bench's measurements that need a clock at both ends (bench/run.sh calls them).

  measure.py stream TTY COUNT             reads COUNT bytes from TTY; prints "steps/s" of the
                                          stream (first byte to last) and whether all were
                                          step bytes
  measure.py latency PORT TTY COUNT       COUNT one-step moves (X1, X0, ...); prints p50 and p99
                                          of request sent -> first step byte on TTY, in ms
  measure.py pace TTY COUNT PAUSE_MS      reads COUNT step bytes of one line from TTY; prints the
                                          mean interval / PAUSE_MS, the 99th percentile of the
                                          intervals' deviation from it (ms), the first interval,
                                          the one after step 51 and the median of the middle (ms)
  measure.py rounds P1,P2.. R1,R2..       alternating rounds of a program and its reference:
                                          their medians and the median, lowest and highest of
                                          the rounds' ratios P/R
  measure.py requests PORT COUNT          COUNT sequential "GET /" (answered whole), quietly
  measure.py wrk FILE                     the figures of one wrk --latency output
  measure.py table CSV                    the table of bench/run.sh's CSV, with the goals
"""

import csv
import os
import re
import select
import socket
import sys
import termios
import time
import tty


def open_line(path):
    fd = os.open(path, os.O_RDONLY | os.O_NOCTTY | os.O_NONBLOCK)
    tty.setraw(fd)
    termios.tcflush(fd, termios.TCIFLUSH)
    return fd


def stream(path, count):
    fd = open_line(path)
    # The writer is started once this line is out: bytes before the flush above would be lost.
    print("ready", flush=True)
    got, first, last, bad = 0, None, None, 0
    # The stream must begin within 10 minutes and have no gap of 20 s.
    deadline = time.monotonic() + 600
    while got < count and time.monotonic() < deadline:
        ready, _, _ = select.select([fd], [], [], 1.0)
        if not ready:
            if last is not None and time.monotonic() - last > 20:
                break
            continue
        data = os.read(fd, 65536)
        now = time.monotonic()
        if first is None:
            first = now
        last = now
        got += len(data)
        bad += sum(1 for b in data if b not in b"ABCD")
    os.close(fd)
    rate = (got - 1) / (last - first) if got > 1 and last > first else 0.0
    print(f"bytes {got} seconds {0 if first is None else last - first:.3f} steps/s {rate:.0f} other {bad}")
    return 0 if got == count and bad == 0 else 1


def pace(path, count, pause_ms):
    fd = open_line(path)
    print("ready", flush=True)
    times = []
    deadline = time.monotonic() + 600
    while len(times) < count and time.monotonic() < deadline:
        ready, _, _ = select.select([fd], [], [], 1.0)
        if not ready:
            if times and time.monotonic() - times[-1] / 1e9 > 20:
                break
            continue
        now = time.monotonic_ns()
        times.extend([now] * len(os.read(fd, 4096)))
    os.close(fd)
    gaps = [(b - a) / 1e6 for a, b in zip(times, times[1:])]
    if len(gaps) < 2:
        print(f"bytes {len(times)}")
        return 1
    mean = sum(gaps) / len(gaps)
    deviation = percentile([abs(g - pause_ms) for g in gaps], 0.99)
    middle = gaps[50:-50] or gaps
    after51 = gaps[50] if len(gaps) > 50 else gaps[-1]
    print(f"bytes {len(times)} mean {mean:.3f} ratio {mean / pause_ms if pause_ms else 0:.3f} "
          f"p99dev {deviation:.2f} first {gaps[0]:.2f} after51 {after51:.2f} "
          f"median_middle {percentile(middle, 0.5):.2f}")
    return 0 if len(times) == count else 1


def rounds(program, reference):
    p = [float(v) for v in program.split(",")]
    r = [float(v) for v in reference.split(",")]
    ratios = [a / b for a, b in zip(p, r) if b]
    if not ratios:
        print("program 0 reference 0 median - low - high -")
        return 1
    print(f"program {percentile(p, 0.5):.0f} reference {percentile(r, 0.5):.0f} "
          f"median {percentile(ratios, 0.5):.2f}x low {min(ratios):.2f}x high {max(ratios):.2f}x")
    return 0


def http_get(port, path):
    with socket.create_connection(("127.0.0.1", port), timeout=30) as s:
        s.sendall(f"GET {path} HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n".encode())
        while s.recv(65536):
            pass


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def latency(port, path, count):
    fd = open_line(path)
    samples = []
    for i in range(count):
        target = 1 if i % 2 == 0 else 0
        with socket.create_connection(("127.0.0.1", port), timeout=30) as s:
            started = time.perf_counter()
            s.sendall(f"GET /s?e=1&p=0&X{target}&Y0 HTTP/1.1\r\n\r\n".encode())
            ready, _, _ = select.select([fd], [], [], 30)
            if not ready:
                print(f"no step byte for move {i}")
                return 1
            samples.append((time.perf_counter() - started) * 1000)
            os.read(fd, 16)
            while s.recv(65536):
                pass
    os.close(fd)
    print(f"p50 {percentile(samples, 0.50):.2f} p99 {percentile(samples, 0.99):.2f} moves {count}")
    return 0


def requests(port, count):
    for _ in range(count):
        http_get(port, "/")
    return 0


def seconds_of(text):
    number, unit = re.match(r"([\d.]+)(us|ms|s|m)", text).groups()
    return float(number) * {"us": 1e-3, "ms": 1.0, "s": 1e3, "m": 6e4}[unit]


def wrk(path):
    text = open(path).read()
    rate = re.search(r"Requests/sec:\s+([\d.]+)", text)
    done = re.search(r"(\d+) requests in", text)
    p50 = re.search(r"^\s+50%\s+(\S+)", text, re.M)
    p99 = re.search(r"^\s+99%\s+(\S+)", text, re.M)
    maximum = re.search(r"^\s+Latency\s+\S+\s+\S+\s+(\S+)", text, re.M)
    errors = sum(int(n) for n in re.findall(r"(?:connect|read|write|timeout) (\d+)", text))
    non2xx = re.search(r"Non-2xx or 3xx responses: (\d+)", text)
    errors += int(non2xx.group(1)) if non2xx else 0
    print(f"rate {rate.group(1) if rate else 0} requests {done.group(1) if done else 0} "
          f"p50 {seconds_of(p50.group(1)) if p50 else 0:.2f} p99 {seconds_of(p99.group(1)) if p99 else 0:.2f} "
          f"max {seconds_of(maximum.group(1)) if maximum else 0:.2f} errors {errors}")
    return 0


def table(path):
    rows = list(csv.DictReader(open(path)))
    header = ("figure", "Project1", "floor", "nginx", "vs floor", "vs nginx", "goal")
    widths = [50, 14, 12, 12, 18, 18, 30]
    line = "  ".join(h.ljust(w) for h, w in zip(header, widths))
    print(line)
    print("-" * len(line))
    for r in rows:
        cells = (r["figure"], r["program"], r["floor"], r["nginx"], r["vs_floor"], r["vs_nginx"], r["goal"])
        print("  ".join(c.ljust(w) for c, w in zip(cells, widths)))
    return 0


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    mode = argv[1]
    if mode == "stream":
        return stream(argv[2], int(argv[3]))
    if mode == "latency":
        return latency(int(argv[2]), argv[3], int(argv[4]))
    if mode == "pace":
        return pace(argv[2], int(argv[3]), float(argv[4]))
    if mode == "rounds":
        return rounds(argv[2], argv[3])
    if mode == "requests":
        return requests(int(argv[2]), int(argv[3]))
    if mode == "wrk":
        return wrk(argv[2])
    if mode == "table":
        return table(argv[2])
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
