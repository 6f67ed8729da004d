#!/usr/bin/env python3
"""Writes model/CodePageTables.inc from Python's code page definitions (developer tool, not run by the build)."""
def table(cp):
    out = []
    for b in range(256):
        try:
            out.append(bytes([b]).decode(cp))
        except UnicodeDecodeError:
            out.append(None)
    return out

def arr(decl, vals, fmt):
    s = f"static const {decl} = {{\n"
    for i in range(0, 256, 16):
        s += "    " + ", ".join(fmt(v) for v in vals[i:i + 16]) + ",\n"
    return s + "};\n"

ansi = table('cp1252')
print("// Generated from the code page definitions of CP850, CP437 and Windows-1252.")
print("// Each pair of tables is a bijection on 0..255; see CodePage.h for the rule.")
print(arr("char32_t kAnsiUnicode[256]", [ord(c) if c else i for i, c in enumerate(ansi)], lambda v: f"0x{v:04X}"))
for cp in ['850', '437']:
    oem = table('cp' + cp)
    o2a = [ansi.index(c) if c in ansi else None for c in oem]
    oem_only = [b for b in range(256) if o2a[b] is None]
    ansi_only = [a for a in range(256) if ansi[a] is None or ansi[a] not in oem]
    assert len(oem_only) == len(ansi_only)
    for b, a in zip(oem_only, ansi_only):
        o2a[b] = a
    a2o = [None] * 256
    for b, a in enumerate(o2a):
        a2o[a] = b
    print(arr(f"unsigned char kOem{cp}ToAnsi[256]", o2a, lambda v: f"0x{v:02X}"))
    print(arr(f"unsigned char kAnsiToOem{cp}[256]", a2o, lambda v: f"0x{v:02X}"))
    print(arr(f"char32_t kOem{cp}Unicode[256]", [ord(c) for c in oem], lambda v: f"0x{v:04X}"))
