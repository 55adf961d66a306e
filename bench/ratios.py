#!/usr/bin/env python3
"""Ratios of each measured path to its floor, from Google Benchmark JSON files.

Usage: ratios.py RESULT.json [RESULT.json ...]

Each path benchmark BM_<Name>/<args> is paired with BM_<Name>Floor/<args> of
the same file. With --benchmark_repetitions the median of the repetitions is
used; otherwise the single run. Real (wall) time is reported next to CPU time:
the ratio is taken on CPU time, which a loaded machine disturbs least, and on
real time, which includes waiting for the disk.
"""
import json
import re
import sys

TARGETS = {"Intake": 1.3, "List": 2.0, "MarkRead": 1.2, "FirstLoad": 1.5}


def medians(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    runs, aggregated = {}, {}
    for b in data["benchmarks"]:
        if b.get("error_occurred"):
            continue
        name = b.get("run_name", b["name"])
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                aggregated[name] = (b["cpu_time"], b["real_time"], b["time_unit"])
        else:
            runs.setdefault(name, (b["cpu_time"], b["real_time"], b["time_unit"]))
    runs.update(aggregated)
    return runs


def target_of(name):
    for prefix, target in TARGETS.items():
        if name.startswith("BM_" + prefix):
            return target
    return None


def main(files):
    rows = []
    for path in files:
        results = medians(path)
        for name, (cpu, real, unit) in results.items():
            match = re.match(r"(BM_[A-Za-z]+?)Floor(/.*)?$", name)
            if not match:
                continue
            measured = match.group(1) + (match.group(2) or "")
            if measured not in results:
                continue
            mcpu, mreal, _ = results[measured]
            target = target_of(measured)
            ratio = mcpu / cpu
            verdict = "" if target is None else ("met" if ratio <= target else "missed")
            rows.append((measured, mcpu, cpu, ratio, mreal / real, unit, target, verdict))
    print("| Path | Path CPU | Floor CPU | Ratio (CPU) | Ratio (real) | Target | |")
    print("|---|---:|---:|---:|---:|---:|---|")
    for measured, mcpu, cpu, ratio, rreal, unit, target, verdict in rows:
        print(f"| {measured} | {mcpu:.4g} {unit} | {cpu:.4g} {unit} | {ratio:.2f} | {rreal:.2f} "
              f"| {'' if target is None else target} | {verdict} |")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    main(sys.argv[1:])
