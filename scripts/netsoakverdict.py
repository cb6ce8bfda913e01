#!/usr/bin/env python3
"""Judges a network soak (scripts/netsoak.sh): DIR CLIENTS. Prints the
figures and each goal with its verdict; exits 1 when one fails."""
import re
import statistics
import sys
from pathlib import Path

MEMORY_DRIFT = 0.05        # of the reference sample's memory
OBJECT_MARGIN = (0.10, 50) # share and count the live objects may exceed the reference by
TICK_GOAL_MS = 1.0


def read(path):
    return path.read_text(errors="replace") if path.exists() else ""


def number(pattern, line, default=None):
    m = re.search(pattern, line)
    return float(m.group(1)) if m else default


FEED = re.compile(r"^\S.* (?:shot down|crashed|wins the match)(?: .*)?$")
FEED_IN_FLIGHT = 2   # feed lines a client may miss at the end: on their way when it quit


def feed(text):
    return [l for l in text.splitlines() if FEED.match(l)]


def shown_once(server, client):
    """Whether the client's feed is a stretch of the server's, in order and
    without repeats, reaching to within FEED_IN_FLIGHT lines of its end (a
    client joining late is shown the latest lines first). The answer and the
    lines it lacks."""
    if not client:
        return len(server) <= FEED_IN_FLIGHT, len(server)
    for start in range(len(server) - len(client) + 1):
        if server[start:start + len(client)] == client:
            missing = len(server) - start - len(client)
            if missing <= FEED_IN_FLIGHT:
                return True, missing
    return False, -1


def main():
    run, clients = Path(sys.argv[1]), int(sys.argv[2])
    server, client = [], {}
    for row in read(run / "netsoak.log").splitlines():
        t, name, line = (row.split(" ", 2) + ["", ""])[:3]
        if name == "server":
            server.append((int(t), line))
        else:
            client.setdefault(name, []).append((int(t), line))
    failures, goals = [], []

    def goal(text, ok):
        goals.append(("ok  " if ok else "FAIL") + " " + text)
        if not ok:
            failures.append(text)

    if not server:
        print("netsoak: no samples")
        return 1
    total = server[-1][0]
    rss = [(t, number(r"memory (\d+) KB", l, 0)) for t, l in server]
    objects = [(t, number(r"objects (\d+)", l, 0)) for t, l in server]
    ticks = [number(r"tick p95 ([\d.]+) ms", l, 0) for _, l in server]
    run_p95 = number(r"run p95 ([\d.]+) ms", server[-1][1], 0)
    longest = max(number(r"max ([\d.]+) ms", l, 0) for _, l in server)
    # The reference: the first sample after the first minute, or after half
    # of a shorter run.
    start = min(60, total // 2)
    ref = next(i for i, (t, _) in enumerate(rss) if t >= start)
    ref_rss, ref_objects = rss[ref][1], objects[ref][1]
    worst_rss = max(abs(v - ref_rss) for _, v in rss[ref:])
    most_objects = max(v for _, v in objects[ref:])

    print("netsoak: %d s, %d clients" % (total, clients))
    print("  server memory: %s KB (reference %d KB at %d s, largest change %.1f %%)" % (
        " ".join("%d" % v for _, v in rss), ref_rss, rss[ref][0], 100 * worst_rss / max(ref_rss, 1)))
    print("  server objects: " + " ".join("%d" % v for _, v in objects))
    print("  server update p95 per 10 s (ms): " + " ".join("%.3f" % v for v in ticks))
    print("  server update over the run: p95 %.3f ms, longest %.3f ms" % (run_p95, longest))
    joined_everywhere = True
    ups, downs, pings = [], [], []
    for name in sorted(client, key=lambda n: int(n[6:])):
        rows = client[name]
        joined_everywhere &= all("joined" in l for _, l in rows) and len(rows) == len(server)
        up = [number(r"up (\d+) B/s", l, 0) for _, l in rows]
        down = [number(r"down (\d+) B/s", l, 0) for _, l in rows]
        ping = [number(r"ping (\d+) ms", l, 0) for _, l in rows]
        corrections = sum(number(r"corrections (\d+)", l, 0) for _, l in rows)
        ups += up
        downs += down
        pings += ping
        print("  %s: up %d B/s, down %d B/s, ping %d ms (means), corrections %d" % (
            name, statistics.mean(up), statistics.mean(down), statistics.mean(ping), corrections))
    print("  all clients: up %d B/s, down %d B/s (means; most %d / %d), ping mean %.1f ms, most %d ms" % (
        statistics.mean(ups), statistics.mean(downs), max(ups), max(downs), statistics.mean(pings), max(pings)))
    for line in read(run / "cpu.log").splitlines():
        name, used, seconds, hz = line.split()
        print("  %s: %.1f %% of one core" % (name, 100 * int(used) / int(hz) / max(int(seconds), 1)))

    lost = [n for n in client if "Connection ended" in read(run / n / "engine.log")]
    all_in = all(number(r"clients (\d+)", l, 0) == clients for _, l in server)
    goal("no disconnect (every sample: %d clients on the server, each joined)" % clients,
         joined_everywhere and all_in and not lost and len(client) == clients)
    goal("server memory within 5 %% of %d KB from %d s on" % (ref_rss, rss[ref][0]),
         worst_rss <= MEMORY_DRIFT * ref_rss)
    bound = ref_objects * (1 + OBJECT_MARGIN[0]) + OBJECT_MARGIN[1]
    goal("live objects bounded (at most %d after %d s: %d)" % (bound, rss[ref][0], most_objects), most_objects <= bound)
    goal("server update at most %.1f ms at the 95th percentile (%.3f ms)" % (TICK_GOAL_MS, run_p95),
         0 < run_p95 <= TICK_GOAL_MS)
    server_feed = feed(read(run / "server" / "stdout.txt"))
    feeds_ok = True
    for name in sorted(client):
        ok, missing = shown_once(server_feed, feed(read(run / name / "stdout.txt")))
        print("  %s: %d kill-feed lines of the server's %d, %s" % (
            name, len(feed(read(run / name / "stdout.txt"))), len(server_feed),
            "%d still on the way at the end" % missing if ok else "NOT the server's, once each, in order"))
        feeds_ok &= ok
    goal("every kill-feed line of the server shown once on each client, in order", feeds_ok)
    for name in ["server"] + sorted(client):
        out, code = read(run / name / "stdout.txt"), read(run / name / "exitcode.txt").strip()
        clean = code == "0" and "Objects left: 0" in out
        fatal = re.findall(r"Fatal error[^\n]*|ERROR: \w+Sanitizer[^\n]*|runtime error:[^\n]*",
                           read(run / name / "engine.log") + read(run / name / "stderr.txt"))
        if not clean or fatal:
            goal("%s quits cleanly (exit %s%s)" % (name, code or "missing", ", " + fatal[0] if fatal else ""), False)
    goal("every program quit with exit 0 and \"Objects left: 0\"", not any("quits cleanly" in f for f in failures))
    print("\n".join(goals))
    print("netsoak: " + ("passed" if not failures else "FAILED (%d goals)" % len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
