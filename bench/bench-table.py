#!/usr/bin/env python3
"""Times every quellix-cli command on real-shaped exports and prints the table of the README.

    bench/bench-table.py [--sizes 150,400] [--shapes real,nav2013,joined] [--runs 1]
                         [--cli build/quellix-cli] [--gen build/bench/gen_export]
                         [--work /tmp/quellix-bench] [--save FILE] [--load FILE]

For each shape and size it writes an export with `gen_export OUT MB 1 --SHAPE` (kept in --work for
the next run; real: a NAV 2017 export, nav2013: a NAV 2013 R2 customer database, joined: several
versions of one application in one file), and prints one table per shape. It reads the file
once to warm the page cache, then runs each command as its own process: wall time, processor time (user + system) and peak resident memory of that process (wait4), the rows it
printed, and the wall time as a multiple of `grep -c -F Customer` on the same file, timed right
before the command (the median of the size's grep runs: on a shared machine the ratio is steadier
than the seconds). With --runs N every command runs N times and the fastest run counts.

The last column checks the targets: `objects` at most 4x grep; every other command, `check` (every
analysis over one load) included, at most 1 s at the smaller size; the cost linear, at most 3x the processor seconds at the larger size (the
wall-time ratio is printed beside it: on a busy machine it swings with the load); the search with
about 170,000 hits ("Amount", case-sensitive) at most 1.5 s at the larger size; peak memory at
most 1.3x the file plus the rows (the bytes printed). `diff` compares the export with a changed copy
(`gen_export --changed-copy`): at most 3 s at the smaller size, memory at most 2.6x the file. The
rows that build the reference index (`references`, `--typed`): at most 1.5 s at the smaller size,
memory another half of the file. --save writes the measured figures to a JSON
file, --load prints the table of such a file again without running anything.
"""
import json
import argparse
import os
import statistics
import subprocess
import sys
import time

COMMANDS = [
    ("objects", ["objects"]),
    ("search normal (Customer)", ["search", "{f}", "Customer"]),
    ("search case (Customer)", ["search", "{f}", "Customer", "--mode", "case"]),
    ("search regex (Customer)", ["search", "{f}", "Customer", "--mode", "regex"]),
    ("search regex, greedy (Cust.*No\\.)", ["search", "{f}", "Cust.*No\\.", "--mode", "regex"]),
    ("search case (Amount)", ["search", "{f}", "Amount", "--mode", "case"]),
    ("field-reference-problem", ["field-reference-problem"]),
    ("table-reference-problem", ["table-reference-problem"]),
    ("unused-variables", ["unused-variables"]),
    ("unused-variables --aware", ["unused-variables", "{f}", "--aware"]),
    ("unused-functions", ["unused-functions"]),
    ("unused-functions --aware", ["unused-functions", "{f}", "--aware"]),
    ("unused-fields", ["unused-fields"]),
    ("unused-fields --aware", ["unused-fields", "{f}", "--aware"]),
    ("unused-sumindexfields", ["unused-sumindexfields"]),
    ("unused-sumindexfields --aware", ["unused-sumindexfields", "{f}", "--aware"]),
    ("local-global", ["local-global"]),
    ("once-used", ["once-used"]),
    ("duplicate-ids", ["duplicate-ids"]),
    ("page-translations", ["page-translations"]),
    ("check-forms", ["check-forms"]),
    ("number-range", ["number-range", "{f}", "1", "50000"]),
    ("references (Table 19)", ["references", "{f}", "Table 19"]),
    ("references unresolved", ["references", "{f}", "unresolved"]),
    ("unused-variables --typed", ["unused-variables", "{f}", "--typed"]),
    ("unused-functions --typed", ["unused-functions", "{f}", "--typed"]),
    ("unused-fields --typed", ["unused-fields", "{f}", "--typed"]),
    ("check (every analysis, one load)", ["check"]),
    ("diff (against a changed copy)", ["diff", "{f}", "{c}"]),
]
MANY_HITS = "search case (Amount)"
SECONDS_AT_SMALL = 1.0
DIFF = "diff (against a changed copy)"
DIFF_SECONDS = 3.0
# The rows that build the reference index first: the index in at most 1.5 s at the smaller size,
# and it may hold another half of the file.
INDEX_SECONDS = 1.5
INDEX_MEMORY = 0.5


def builds_index(label):
    return label.startswith("references") or label.endswith("--typed")


def run(argv, out_path):
    """Runs argv with stdout to out_path; returns wall s, cpu s, peak RSS in bytes, exit status."""
    with open(out_path, "wb") as out:
        start = time.perf_counter()
        proc = subprocess.Popen(argv, stdout=out, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024, proc.returncode


def grep_seconds(path, scratch):
    return run(["grep", "-c", "-F", "Customer", path], scratch)[0]


def measure(args, shape, megabytes):
    path = os.path.join(args.work, f"{shape}-{megabytes}.txt")
    copy = os.path.join(args.work, f"{shape}-{megabytes}-changed.txt")
    if not os.path.exists(path) or not os.path.exists(copy):
        subprocess.run([args.gen, path, str(megabytes), "1", "--changed-copy", copy,
                        os.path.join(args.work, f"{shape}-{megabytes}-changes.txt"), "--" + shape], check=True)
    size = os.path.getsize(path)
    with open(path, "rb") as f:
        while f.read(1 << 24):
            pass
    scratch = os.path.join(args.work, "out.txt")
    greps = []
    results = {}
    for label, template in COMMANDS:
        argv = [args.cli, template[0]] + ([a.replace("{f}", path).replace("{c}", copy) for a in template[1:]] if len(template) > 1 else [path])
        best = None
        for _ in range(args.runs):
            greps.append(grep_seconds(path, scratch))
            wall, cpu, peak, status = run(argv, scratch)
            if best is None or wall < best[0]:
                rows = max(0, sum(1 for _ in open(scratch, "rb")) - 1)
                best = (wall, cpu, peak, status, rows, os.path.getsize(scratch))
        results[label] = best
        print(f"  {shape} {megabytes} MB {label}: {best[0]:.2f} s, {best[4]} rows, exit {best[3]}", file=sys.stderr)
    return {"size": size, "grep": statistics.median(greps), "results": results}


def main():
    parser = argparse.ArgumentParser(description="quellix-cli bench table")
    parser.add_argument("--sizes", default="150,400")
    parser.add_argument("--shapes", default="real,nav2013,joined")
    parser.add_argument("--runs", type=int, default=1)
    parser.add_argument("--cli", default="build/quellix-cli")
    parser.add_argument("--gen", default="build/bench/gen_export")
    parser.add_argument("--work", default="/tmp/quellix-bench")
    parser.add_argument("--save")
    parser.add_argument("--load")
    args = parser.parse_args()
    if args.load:
        with open(args.load) as f:
            saved = json.load(f)
        shapes = {shape: {int(mb): figures for mb, figures in runs.items()} for shape, runs in saved["shapes"].items()}
        load = saved["load"]
    else:
        os.makedirs(args.work, exist_ok=True)
        sizes = [int(s) for s in args.sizes.split(",")]
        shapes = {shape: {mb: measure(args, shape, mb) for mb in sizes} for shape in args.shapes.split(",")}
        load = os.getloadavg()[0]
        if args.save:
            with open(args.save, "w") as f:
                json.dump({"shapes": shapes, "load": load}, f, indent=1)
    for shape, runs in shapes.items():
        print(f"Shape `{shape}`:")
        print()
        table(runs, load)
        print()


def table(runs, load):
    sizes = sorted(runs)
    small, large = sizes[0], sizes[-1]

    def mb(n):
        return n / 1048576

    head = "| command |"
    rule = "|---|"
    for s in sizes:
        head += f" {s} MB s (cpu) | x grep | peak MB | rows |"
        rule += "---:|---:|---:|---:|"
    if len(sizes) > 1:
        head += f" {large}/{small} wall (cpu) |"
        rule += "---:|"
    head += " targets |"
    rule += "---|"
    print(head)
    print(rule)
    for label, _ in COMMANDS:
        line = f"| `{label}` |"
        misses = []
        for s in sizes:
            wall, cpu, peak, status, rows, printed = runs[s]["results"][label]
            ratio = wall / runs[s]["grep"] if runs[s]["grep"] > 0 else 0
            line += f" {wall:.2f} ({cpu:.2f}) | {ratio:.0f} | {mb(peak):.0f} | {rows:,} |"
            if status not in (0, 3):
                misses.append(f"exit {status} at {s} MB")
            factor = 2.6 if label == DIFF else 1.3 + (INDEX_MEMORY if builds_index(label) else 0)
            if peak > factor * runs[s]["size"] + printed:
                misses.append(f"memory at {s} MB")
            if label == "objects" and ratio > 4:
                misses.append(f"{ratio:.0f}x grep at {s} MB")
        if len(sizes) > 1:
            growth = runs[large]["results"][label][0] / max(runs[small]["results"][label][0], 1e-9)
            cpu_growth = runs[large]["results"][label][1] / max(runs[small]["results"][label][1], 1e-9)
            line += f" {growth:.1f} ({cpu_growth:.1f}) |"
            if cpu_growth > 3:
                misses.append(f"{cpu_growth:.1f}x the cpu from {small} to {large} MB")
        if label != "objects":
            limit = DIFF_SECONDS if label == DIFF else INDEX_SECONDS if builds_index(label) else SECONDS_AT_SMALL
            if runs[small]["results"][label][0] > limit:
                misses.append(f"over {limit:g} s at {small} MB")
            if label == MANY_HITS and runs[large]["results"][label][0] > 1.5:
                misses.append(f"over 1.5 s at {large} MB")
        line += (" met |" if not misses else " not met: " + ", ".join(misses) + " |")
        print(line)
    print()
    print(", ".join(f"{s} MB: {mb(runs[s]['size']):.1f} MB file, `grep -c -F Customer` {runs[s]['grep']:.3f} s"
                    for s in sizes) + f"; {os.cpu_count()} cores, load average {load:.1f} at the end.")


if __name__ == "__main__":
    main()
