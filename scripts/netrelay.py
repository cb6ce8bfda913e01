#!/usr/bin/env python3
"""A bad link between clients and a server on this machine.

    scripts/netrelay.py --server PORT [--listen PORT] [--seconds 60]
                        [--delay 100] [--jitter 20] [--loss 5]
                        [--loss-up P] [--loss-down P] [--seed 1]

Listens on 127.0.0.1:LISTEN (0: a free port, printed on the first line) and
forwards every datagram to the server on 127.0.0.1:SERVER, each client
through a socket of its own so the server tells them apart, and the
server's answers back. Each datagram waits DELAY +- JITTER ms (drawn
uniformly, so some overtake others) and is dropped with the loss in percent
of its direction ("up" is client to server). It stops after SECONDS, on
SIGINT or SIGTERM, and prints its counts per direction: datagrams, bytes,
dropped, forwarded and overtaken (sent before one that arrived earlier).

Only 127.0.0.1 is spoken to: datagrams from anywhere else are ignored.
The kernel here has no netem, so the impairment lives in user space; a
script needs no build and a few thousand datagrams a second are plenty
for the soak and link tests.
"""

import argparse
import heapq
import random
import select
import signal
import socket
import sys
import time

LOOPBACK = "127.0.0.1"
MAX_DATAGRAM = 65535
MAX_CLIENTS = 64          # more client addresses than this are ignored
MAX_QUEUED = 20000        # datagrams in flight; beyond it they are dropped
MAX_SECONDS = 24 * 3600


class Direction:
    def __init__(self, name, loss):
        self.name, self.loss = name, loss
        self.datagrams = self.bytes = self.dropped = 0
        self.forwarded = self.overtaken = self.overflow = 0

    def report(self):
        return (f"netrelay: {self.name}: {self.datagrams} datagrams ({self.bytes} bytes), "
                f"{self.dropped} dropped, {self.overflow} over the queue, "
                f"{self.forwarded} forwarded, {self.overtaken} overtaken")


class Client:
    """One client address and the socket that speaks for it to the server."""

    def __init__(self, address):
        self.address = address
        self.socket = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.socket.bind((LOOPBACK, 0))
        self.socket.setblocking(False)
        # Arrival numbers per direction, and the highest one sent so far.
        self.arrived = {"up": 0, "down": 0}
        self.newest_sent = {"up": 0, "down": 0}


def parse_arguments(argv):
    p = argparse.ArgumentParser(description="UDP relay on 127.0.0.1 with delay, jitter and loss")
    p.add_argument("--server", type=int, required=True, help="the server's port on 127.0.0.1")
    p.add_argument("--listen", type=int, default=0, help="the port clients connect to (0: any free one)")
    p.add_argument("--seconds", type=float, default=60, help="run time (at most a day)")
    p.add_argument("--delay", type=float, default=100, help="mean delay in ms")
    p.add_argument("--jitter", type=float, default=20, help="the delay varies by +- this many ms")
    p.add_argument("--loss", type=float, default=5, help="percent dropped in each direction")
    p.add_argument("--loss-up", type=float, help="percent dropped from clients to the server")
    p.add_argument("--loss-down", type=float, help="percent dropped from the server to clients")
    p.add_argument("--seed", type=int, default=1, help="seed of the delays and losses")
    a = p.parse_args(argv)
    for name in ("server", "listen"):
        if not 0 <= getattr(a, name) <= 65535 or (name == "server" and a.server == 0):
            p.error(f"--{name} needs a port")
    if not 0 < a.seconds <= MAX_SECONDS:
        p.error(f"--seconds must be in (0, {MAX_SECONDS}]")
    if a.delay < 0 or a.jitter < 0 or a.jitter > a.delay:
        p.error("--delay and --jitter must be >= 0, the jitter at most the delay")
    a.loss_up = a.loss if a.loss_up is None else a.loss_up
    a.loss_down = a.loss if a.loss_down is None else a.loss_down
    for loss in (a.loss_up, a.loss_down):
        if not 0 <= loss <= 100:
            p.error("losses are percentages, 0 ... 100")
    return a


def run(a):
    rng = random.Random(a.seed)
    listener = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    listener.bind((LOOPBACK, a.listen))
    listener.setblocking(False)
    server = (LOOPBACK, a.server)
    up, down = Direction("up", a.loss_up), Direction("down", a.loss_down)
    clients = {}           # client address -> Client
    by_socket = {}         # server-side socket -> Client
    queue = []             # (due, order, direction, client, data)
    order = 0
    stop = []
    for sig in (signal.SIGINT, signal.SIGTERM):
        signal.signal(sig, lambda *_: stop.append(True))
    print(f"netrelay: 127.0.0.1:{listener.getsockname()[1]} -> 127.0.0.1:{a.server}, "
          f"{a.delay:g} +- {a.jitter:g} ms, loss up {a.loss_up:g} % down {a.loss_down:g} %", flush=True)

    def take(direction, client, data):
        nonlocal order
        direction.datagrams += 1
        direction.bytes += len(data)
        client.arrived[direction.name] += 1
        if rng.random() * 100 < direction.loss:
            direction.dropped += 1
            return
        if len(queue) >= MAX_QUEUED:
            direction.overflow += 1
            return
        due = time.monotonic() + (a.delay + rng.uniform(-a.jitter, a.jitter)) / 1000
        order += 1
        heapq.heappush(queue, (due, order, direction, client, data, client.arrived[direction.name]))

    def send_due(now):
        while queue and queue[0][0] <= now:
            _, _, direction, client, data, number = heapq.heappop(queue)
            try:
                if direction is up:
                    client.socket.sendto(data, server)
                else:
                    listener.sendto(data, client.address)
            except OSError:
                direction.dropped += 1
                continue
            direction.forwarded += 1
            if number < client.newest_sent[direction.name]:
                direction.overtaken += 1
            client.newest_sent[direction.name] = max(client.newest_sent[direction.name], number)

    end = time.monotonic() + a.seconds
    while not stop:
        now = time.monotonic()
        if now >= end:
            break
        send_due(now)
        wait = min(end - now, 0.05)
        if queue:
            wait = max(0.0, min(wait, queue[0][0] - now))
        try:
            readable, _, _ = select.select([listener, *by_socket], [], [], wait)
        except InterruptedError:
            continue
        for s in readable:
            try:
                data, source = s.recvfrom(MAX_DATAGRAM)
            except OSError:
                continue   # e.g. the server's port refused a datagram
            if source[0] != LOOPBACK:
                continue
            if s is listener:
                client = clients.get(source)
                if client is None:
                    if len(clients) >= MAX_CLIENTS:
                        continue
                    client = clients[source] = Client(source)
                    by_socket[client.socket] = client
                take(up, client, data)
            elif source == server:
                take(down, by_socket[s], data)
    print(f"netrelay: {len(clients)} clients, {len(queue)} datagrams still in flight at the end")
    print(up.report())
    print(down.report(), flush=True)
    for client in clients.values():
        client.socket.close()
    listener.close()
    return 0


if __name__ == "__main__":
    sys.exit(run(parse_arguments(sys.argv[1:])))
