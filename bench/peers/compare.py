#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Times ostrel-cells and the peer engines on the same workload files, side by side.

  compare.py OSTREL_CELLS WORKDIR [--runs R] [--sizes 10000,50000]
             [--workloads chain,fanout,sums] [--engines ours,gnumeric,hyperformula,libreoffice]
             [--timeout SECONDS]

For every workload and size it writes WORKDIR/WORKLOAD_N.csv with gen.py, then runs each
engine R times, the engines taking turns within a round so that drift of the shared machine
falls on all of them alike. Each process is timed with /usr/bin/time -v (wall clock and peak
resident set). Prints one Markdown row per workload and size: medians and our ratio to each
peer. The computed files stay in WORKDIR/out for comparing values.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def command(engine, ours, src, dst):
    if engine == "ours":
        return ["sh", "-c", f'exec "{ours}" calc "{src}" > "{dst}"']
    if engine == "libreoffice":
        return ["sh", os.path.join(HERE, "run_libreoffice.sh"), src, dst]
    if engine == "gnumeric":
        return ["sh", os.path.join(HERE, "run_gnumeric.sh"), src, dst]
    if engine == "hyperformula":
        return ["node", "--max-old-space-size=16384",
                os.path.join(HERE, "run_hyperformula.js"), src, dst]
    raise ValueError(engine)


def timed(cmd, timeout):
    """(wall seconds, peak RSS in KiB), or None when the run failed or ran out of time."""
    try:
        p = subprocess.run(["/usr/bin/time", "-v"] + cmd, capture_output=True, text=True,
                           timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    if p.returncode != 0:
        sys.stderr.write(p.stderr[-2000:])
        return None
    wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (\S+)", p.stderr)
    rss = re.search(r"Maximum resident set size \(kbytes\): (\d+)", p.stderr)
    seconds = 0.0
    for part in wall.group(1).split(":"):
        seconds = seconds * 60 + float(part)
    return seconds, int(rss.group(1))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("ours")
    ap.add_argument("workdir")
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--sizes", default="10000")
    ap.add_argument("--workloads", default="chain,fanout,sums")
    ap.add_argument("--engines", default="ours,gnumeric,hyperformula,libreoffice")
    ap.add_argument("--timeout", type=float, default=300)
    a = ap.parse_args()
    engines = a.engines.split(",")
    os.makedirs(os.path.join(a.workdir, "out"), exist_ok=True)
    print("| workload | N | " + " | ".join(engines) + " | " +
          " | ".join(f"ours/{e}" for e in engines if e != "ours") + " |")
    print("|---|---:|" + "---|" * (2 * len(engines) - 1))
    for n in [int(s) for s in a.sizes.split(",")]:
        for wl in a.workloads.split(","):
            src = os.path.join(a.workdir, f"{wl}_{n}.csv")
            subprocess.run([sys.executable, os.path.join(HERE, "gen.py"), wl, str(n), src],
                           check=True)
            results = {e: [] for e in engines}
            for _ in range(a.runs):
                for e in engines:
                    dst = os.path.join(a.workdir, "out", f"{e}_{wl}_{n}.csv")
                    results[e].append(timed(command(e, a.ours, src, dst), a.timeout))
            med = {}
            for e in engines:
                ok = [r for r in results[e] if r]
                med[e] = (statistics.median(r[0] for r in ok),
                          statistics.median(r[1] for r in ok)) if len(ok) == a.runs else None
            cells = [f"{m[0]:.2f} s / {m[1] / 1024:.0f} MiB" if m else "failed/timeout"
                     for m in (med[e] for e in engines)]
            ratios = []
            for e in engines:
                if e == "ours":
                    continue
                ratios.append(f"{med['ours'][0] / med[e][0]:.2f}"
                              if med.get("ours") and med[e] else "-")
            print(f"| {wl} | {n:,} | " + " | ".join(cells) + " | " + " | ".join(ratios) + " |",
                  flush=True)


if __name__ == "__main__":
    main()
