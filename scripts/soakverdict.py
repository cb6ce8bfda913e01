#!/usr/bin/env python3
"""Judges a soak run (scripts/soak.sh): DIR MINUTES BUILD [HANG]. Prints the
figures and every failure; exits 1 when there is one."""
import re
import sys
from pathlib import Path


def read(path):
    return path.read_text(errors="replace") if path.exists() else ""


def samples(log):
    rows = []
    for line in log.splitlines():
        if line.startswith("#") or not line.strip():
            continue
        t, rss, objects, gl, files = (int(v) for v in line.split())
        rows.append((t, rss, objects, gl, files))
    return rows


def windows(rows, minutes):
    """The second minute and the last minute; for short runs the second sixth
    and the last third."""
    total = rows[-1][0] if rows else 0
    if minutes >= 3:
        early = [r for r in rows if 60 <= r[0] <= 120]
        late = [r for r in rows if r[0] >= total - 60]
    else:
        early = [r for r in rows if total / 6 <= r[0] <= total / 3]
        late = [r for r in rows if r[0] >= total * 2 / 3]
    return early, late


def main():
    run, minutes, build = Path(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    hang = sys.argv[4] if len(sys.argv) > 4 else ""
    sanitized = "asan" in build
    failures = [hang] if hang else []
    rows = samples(read(run / "soak.log"))
    stdout, stderr, log = read(run / "stdout.txt"), read(run / "stderr.txt"), read(run / "engine.log")
    code = read(run / "exitcode.txt").strip()

    if code != "0":
        failures.append("exit code %s" % (code or "missing"))
    if "Objects left: 0" not in stdout:
        left = re.search(r"Objects left: \d+", stdout)
        failures.append(left.group(0) if left else "no \"Objects left\" line")
    fatal = re.findall(r'"Fatal error: [^\n]*', log)
    if fatal:
        failures.append("fatal error: " + fatal[0])
    reports = re.findall(r"ERROR: (?:Address|Leak)Sanitizer[^\n]*|runtime error:[^\n]*", stderr)
    if reports:
        failures.append("sanitizer: " + reports[0])

    early, late = windows(rows, minutes)
    if len(early) < 1 or len(late) < 1:
        failures.append("too few samples (%d)" % len(rows))
    else:
        early_objects, late_objects = max(r[2] for r in early), max(r[2] for r in late)
        early_rss = sum(r[1] for r in early) / len(early)
        late_rss = sum(r[1] for r in late) / len(late)
        print("samples %d; objects %d -> %d; GL objects %d -> %d; open files %d -> %d; RSS %.1f -> %.1f MiB" % (
            len(rows), early_objects, late_objects, max(r[3] for r in early), max(r[3] for r in late),
            max(r[4] for r in early), max(r[4] for r in late), early_rss / 1024, late_rss / 1024))
        # A little room for what is in flight at the moment of a sample.
        if late_objects > early_objects * 1.1 + 16:
            failures.append("live objects not bounded: %d then %d" % (early_objects, late_objects))
        elif minutes >= 3 and not sanitized and late_rss > early_rss * 1.05:
            failures.append("memory grew %.1f %% with bounded objects" % (100 * (late_rss / early_rss - 1)))
    for failure in failures:
        print("SOAK FAILED: " + failure)
    if not failures:
        print("soak passed: %d minutes, exit 0, Objects left: 0" % minutes)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
