#!/usr/bin/env python3
"""Instructions per call of a function in a callgrind output file.

Usage: bench/percall.py callgrind.out.N REGEX
Prints the file's total instruction count, how many calls reached functions
whose name matches REGEX, and the total divided by that number. Run callgrind
with --toggle-collect on the measured function and pass that function's name:
the total then covers only the measured calls, however many iterations the
benchmark library ran (its estimation runs included).
"""

import re, sys
path, pattern = sys.argv[1], re.compile(sys.argv[2])
names = {}
total = 0
calls = 0
pending_target = None
with open(path) as f:
    for line in f:
        if line.startswith('summary:') or line.startswith('totals:'):
            total = int(line.split()[1])
        m = re.match(r'cfn=\((\d+)\)(?: (.*))?', line)
        if m:
            if m.group(2): names[m.group(1)] = m.group(2)
            pending_target = names.get(m.group(1), '')
            continue
        m = re.match(r'fn=\((\d+)\)(?: (.*))?', line)
        if m and m.group(2): names[m.group(1)] = m.group(2)
        if line.startswith('calls=') and pending_target is not None:
            if pattern.search(pending_target): calls += int(line.split('=')[1].split()[0])
            pending_target = None
print(f"total {total:,} calls {calls} per call {total//max(calls,1):,}")
