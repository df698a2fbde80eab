#!/usr/bin/env python3
"""Measures the local table host beside a crowd of idle connections.

Starts tablehost, opens IDLE connections that never log in (the host keeps
at most 256: it drops the oldest of them for each newcomer), then has
LOGINS players log in one after the other as watchers while the crowd
stays. Reports how long each login took (connect to the accepted reply)
and the host's processor time over the quiet phase and the login phase.

    python3 bench/host_crowd_measure.py build/tools/tablehost/tablehost
"""

import argparse
import os
import re
import socket
import struct
import subprocess
import sys
import time


def host_cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    # utime and stime: fields 14 and 15 of the whole line.
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


# The host's connection cap (its default).
HOST_CAP = 256


def host_sockets(pid):
    count = 0
    for fd in os.listdir(f"/proc/{pid}/fd"):
        try:
            count += os.readlink(f"/proc/{pid}/fd/{fd}").startswith("socket:")
        except OSError:
            pass  # closed meanwhile
    return count


def ended(conn):
    conn.setblocking(False)
    try:
        return conn.recv(1) == b""
    except BlockingIOError:
        return False
    except OSError:
        return True
    finally:
        conn.setblocking(True)


def wait_until_taken(pid, crowd, timeout):
    """Until the host has taken the whole crowd: it holds the newest up to
    its cap (and its listener), and has dropped the older ones."""
    held = min(len(crowd), HOST_CAP)
    dropped = crowd[:len(crowd) - held]
    deadline = time.monotonic() + timeout
    while host_sockets(pid) < held + 1 or not all(ended(conn) for conn in dropped):
        if time.monotonic() > deadline:
            sys.exit("host_crowd_measure: the host did not take the crowd")
        time.sleep(0.05)


def login_payload(name, seat):
    payload = bytearray(108)
    payload[0:len(name)] = name.encode()
    payload[20:24] = b"room"
    payload[102:104] = struct.pack("<H", seat)
    payload[104] = 3  # the client kind
    return struct.pack("<II", 0x200, len(payload)) + bytes(payload)


def read_exact(conn, count):
    data = b""
    while len(data) < count:
        chunk = conn.recv(count - len(data))
        if not chunk:
            raise ConnectionError("the host closed the connection")
        data += chunk
    return data


def log_in(port, name, seat, timeout):
    """Seconds from the connect to the accepted login reply."""
    start = time.monotonic()
    conn = socket.create_connection(("127.0.0.1", port), timeout=timeout)
    conn.sendall(login_payload(name, seat))
    kind, length, result = struct.unpack("<III", read_exact(conn, 12))
    read_exact(conn, length)
    elapsed = time.monotonic() - start
    if kind != 0x80000200 or result & 0xFF != 1:
        raise RuntimeError(f"login of {name} refused: {kind:#x} result {result}")
    return conn, elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tablehost")
    parser.add_argument("--idle", type=int, default=600)
    parser.add_argument("--logins", type=int, default=20)
    parser.add_argument("--quiet-seconds", type=float, default=10)
    args = parser.parse_args()

    host = subprocess.Popen([args.tablehost, "--port", "0", "--human-seats", "6"],
                            stdout=subprocess.PIPE, text=True)
    try:
        match = re.search(r"listening on 127\.0\.0\.1:(\d+)", host.stdout.readline())
        if not match:
            sys.exit("host_crowd_measure: the table host did not start")
        port = int(match.group(1))

        crowd = []
        for _ in range(args.idle):
            crowd.append(socket.create_connection(("127.0.0.1", port)))
        wait_until_taken(host.pid, crowd, timeout=30)

        cpu_before = host_cpu_seconds(host.pid)
        time.sleep(args.quiet_seconds)
        quiet = (host_cpu_seconds(host.pid) - cpu_before) / args.quiet_seconds

        players, times = [], []
        cpu_before, wall_before = host_cpu_seconds(host.pid), time.monotonic()
        for i in range(args.logins):
            conn, elapsed = log_in(port, f"player{i}", 6 + i, timeout=5)
            players.append(conn)
            times.append(elapsed)
            time.sleep(0.25)
        busy = (host_cpu_seconds(host.pid) - cpu_before) / (time.monotonic() - wall_before)

        times.sort()
        print(f"host_crowd_measure: {args.idle} idle connections; {args.logins} logins: "
              f"median {times[len(times) // 2] * 1000:.1f} ms, slowest {times[-1] * 1000:.1f} ms; "
              f"host processor: {quiet * 100:.2f}% of a core while the crowd waits, "
              f"{busy * 100:.2f}% while players log in")
        for conn in crowd + players:
            conn.close()
    finally:
        host.terminate()
        host.wait()


if __name__ == "__main__":
    main()
