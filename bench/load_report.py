#!/usr/bin/python3
"""Reads the stats.log of a load run and tells whether the panel held its memory and handles.

    load_report.py STATS.log [--hours 10]

Passes when the resident size at the last whole hour is within 1 % of that at 1 h, and every
reload gave back what it took: the open files, mappings and named blocks logged after each
reload equal those logged before it. Exits 1 otherwise.
"""

import argparse
import re
import sys

LINE = re.compile(r"^t=(\S+) (\S+) rss_kb=(-?\d+) fds=(-?\d+) maps=(-?\d+) blocks=(\d+)$")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("stats")
    ap.add_argument("--hours", type=float, default=10.0)
    args = ap.parse_args()
    rows = {}
    order = []
    with open(args.stats) as f:
        for number, line in enumerate(f, 1):
            m = LINE.match(line.strip())
            if not m:
                sys.exit(f"{args.stats}:{number}: not a stats line: {line.strip()!r}")
            t, label = float(m.group(1)), m.group(2)
            rows[label] = dict(t=t, rss=int(m.group(3)), fds=int(m.group(4)), maps=int(m.group(5)),
                               blocks=int(m.group(6)))
            order.append(label)
    ok = True
    print("simulated time  label              rss_kb    fds  maps  blocks")
    for label in order:
        r = rows[label]
        print(f"{r['t']:14.0f}  {label:<17} {r['rss']:7d} {r['fds']:6d} {r['maps']:5d} {r['blocks']:7d}")
    last = f"{args.hours:g}h"
    if "1h" not in rows or last not in rows:
        sys.exit(f"{args.stats}: no figures at 1h and {last}")
    first, final = rows["1h"]["rss"], rows[last]["rss"]
    growth = 100.0 * (final - first) / first
    print(f"resident size: {first} kB at 1 h, {final} kB at {last}: {growth:+.2f} %")
    if abs(growth) > 1.0:
        print("  more than 1 %: memory is not flat")
        ok = False
    n = 1
    while f"before-reload-{n}" in rows:
        before, after = rows[f"before-reload-{n}"], rows.get(f"after-reload-{n}")
        if after is None:
            sys.exit(f"{args.stats}: before-reload-{n} has no after-reload-{n}")
        same = all(before[k] == after[k] for k in ("fds", "maps", "blocks"))
        print(f"reload {n}: fds {before['fds']} -> {after['fds']}, maps {before['maps']} -> {after['maps']}, "
              f"blocks {before['blocks']} -> {after['blocks']}, rss {before['rss']} -> {after['rss']} kB"
              + ("" if same else "  (differs)"))
        ok = ok and same
        n += 1
    if n == 1:
        sys.exit(f"{args.stats}: no reload figures")
    print("load run passed" if ok else "load run FAILED")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
