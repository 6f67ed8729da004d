#!/usr/bin/env python3
"""Checks SARIF logs against the SARIF 2.1.0 JSON schema.

    validate_sarif.py SCHEMA LOG...

Exit status 0 when every LOG is valid; 1 when one is not (one line per fault on stdout:
the log, the path inside it, the schema's complaint), or cannot be read or parsed; 2 for a
usage error. Uses python3-jsonschema (Debian), draft 4 as the schema declares.
"""
import json
import sys

import jsonschema


def faults(validator, path):
    try:
        with open(path, encoding="utf-8") as f:
            log = json.load(f)
    except (OSError, ValueError) as e:
        return [f"{path}: cannot read: {e}"]
    found = []
    for error in sorted(validator.iter_errors(log), key=lambda e: list(map(str, e.absolute_path))):
        where = "/".join(str(p) for p in error.absolute_path) or "(top)"
        found.append(f"{path}: {where}: {error.message}")
    return found


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    with open(argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft4Validator.check_schema(schema)
    validator = jsonschema.Draft4Validator(schema, format_checker=jsonschema.FormatChecker())
    failed = False
    for path in argv[2:]:
        for line in faults(validator, path):
            print(line)
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
