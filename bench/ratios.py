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

# The first prefix that a name starts with gives its target.
TARGETS = {"Intake": 1.3, "List": 2.0, "MarkRead": 1.2, "FirstLoadShare": 1.3, "FirstLoad": 1.5}


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


SCALE = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def readable(value, unit):
    seconds = value * SCALE[unit]
    for name, size in (("s", 1.0), ("ms", 1e-3), ("µs", 1e-6)):
        if seconds >= size:
            return f"{seconds / size:.3g} {name}"
    return f"{seconds / 1e-9:.3g} ns"


def target_of(name):
    for prefix, target in TARGETS.items():
        if name.startswith("BM_" + prefix):
            return target
    return None


def main(files):
    rows = []  # (name, path cpu, floor cpu, cpu ratio, real ratio, unit, target, verdict)
    for path in files:
        results = medians(path)
        for name, (cpu, real, unit) in results.items():
            match = re.match(r"(BM_[A-Za-z]+?)Floor(/.*)?$", name)
            if not match:
                continue
            measured = match.group(1) + (match.group(2) or "")
            # A part of a path, measured alone, is shown against the same floor.
            part = match.group(1) + "ModuleCalls" + (match.group(2) or "")
            if part in results:
                pcpu, preal, _ = results[part]
                rows.append((part, pcpu, cpu, pcpu / cpu, preal / real, unit, None, "part"))
            if measured not in results:
                continue
            mcpu, mreal, _ = results[measured]
            target = target_of(measured)
            ratio = mcpu / cpu
            verdict = "" if target is None else ("met" if ratio <= target else "missed")
            rows.append((measured, mcpu, cpu, ratio, mreal / real, unit, target, verdict))
    sys.stdout.flush()
    print("\n| Path | Path CPU | Floor CPU | Ratio (CPU) | Ratio (real) | Target | |")
    print("|---|---:|---:|---:|---:|---:|---|")
    rows.sort(key=lambda row: (row[0].replace("ModuleCalls", "~"), row[0]))
    for measured, mcpu, cpu, ratio, rreal, unit, target, verdict in rows:
        print(f"| {measured} | {readable(mcpu, unit)} | {readable(cpu, unit)} | {ratio:.2f} | {rreal:.2f} "
              f"| {'' if target is None else target} | {verdict} |")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    main(sys.argv[1:])
