#!/usr/bin/env python3
# Prints the shape of an export: objects per type, procedures, variable declarations, table
# fields, lines, median and largest object, and the same scaled to 148 MB (the real export
# gen_export --real follows). Usage: bench/export-shape.py EXPORT
import re, sys, statistics, collections
data = open(sys.argv[1], 'rb').read()
lines = data.count(b'\n')
starts = [m.start() for m in re.finditer(rb'(?m)^OBJECT (\w+) ', data)]
types = collections.Counter(m.group(1).decode() for m in re.finditer(rb'(?m)^OBJECT (\w+) ', data))
sizes = [b - a for a, b in zip(starts, starts[1:] + [len(data)])]
procs = len(re.findall(rb'(?m)^    (?:LOCAL )?PROCEDURE ', data))
decls = len(re.findall(rb'(?m)^ {6,}[^ \r\n;{]+@\d+ : ', data))
fields = 0
for m in re.finditer(rb'(?s)\r\n  FIELDS\r\n  \{\r\n(.*?)\r\n  \}\r\n', data):
    fields += len(re.findall(rb'(?m)^    \{ \d', m.group(1)))
mb = len(data) / 1048576
print(f"{mb:.1f} MB: {len(starts)} objects {dict(types)}; {procs} procedures; {decls} declarations; {fields} fields; {lines/1e6:.2f} M lines; median {statistics.median(sizes)/1024:.1f} KB, largest {max(sizes)/1048576:.2f} MB, >1 MB: {sum(s > 1048576 for s in sizes)}")
f = 148 / mb
print(f"per 148 MB: {len(starts)*f:.0f} objects; {procs*f:.0f} procedures; {decls*f:.0f} declarations; {fields*f:.0f} fields; {lines*f/1e6:.2f} M lines")
