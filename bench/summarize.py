#!/usr/bin/env python3
"""Summarises the benchmark's timings.

    summarize.py TIMES_FILE

TIMES_FILE has one line per timed run: "payload tool seconds files bytes".
Prints, per payload and tool, the median and the minimum time, throughput at
the median (MB/s and files/s) and the ratio of tar's median to the tool's
(1.0 = as fast as tar; the target for qzpack is at least 0.9).
"""
import collections
import statistics
import sys


def main():
    runs = collections.OrderedDict()
    shape = {}
    with open(sys.argv[1]) as f:
        for line in f:
            payload, tool, seconds, files, size = line.split()
            runs.setdefault(payload, collections.OrderedDict()).setdefault(tool, []).append(
                float(seconds))
            shape[payload] = (int(files), int(size))
    worst = None
    print("%-7s %-7s %5s %9s %9s %9s %11s %8s" %
          ("payload", "tool", "runs", "median s", "min s", "MB/s", "files/s", "vs tar"))
    for payload, tools in runs.items():
        files, size = shape[payload]
        tar = statistics.median(tools["tar"])
        for tool, times in tools.items():
            median = statistics.median(times)
            ratio = tar / median
            print("%-7s %-7s %5d %9.3f %9.3f %9.0f %11.0f %8.2f" %
                  (payload, tool, len(times), median, min(times), size / median / 1e6,
                   files / median, ratio))
            if tool == "qzpack":
                worst = ratio if worst is None else min(worst, ratio)
    if worst is not None:
        verdict = "met" if worst >= 0.9 else "NOT met"
        print("qzpack against tar, worst payload: %.2f (target 0.90: %s)" % (worst, verdict))


if __name__ == "__main__":
    main()
