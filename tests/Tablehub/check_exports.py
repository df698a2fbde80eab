#!/usr/bin/env python3
"""Checks what libTablehub.so exports against the library's offer list.

The list (Tablehub/exports.txt) names, group by group, every class and
function the library offers to the programs that link it. Each must be
exported, and nothing else of ours may be: anything more means some code lost
its hidden visibility, or an offered class carries a helper of its own in the
open. The C runtime's argument pair, which every module of the process
shares, the linker's markers, the standard library's own template code (its
headers keep it visible) and the address sanitizer's marks are not ours.

Usage: check_exports.py LIST LIBRARY
"""

import re
import subprocess
import sys

LINKER_MARKERS = {"__bss_start", "_edata", "_end", "_init", "_fini"}
RUNTIME_PAIR = {"__argc", "__argv"}
NOT_OURS = re.compile(r"^(?:(?:typeinfo name for |typeinfo for |vtable for |VTT for |void |bool |int |"
                      r"guard variable for )?std::|__odr_asan\.)")
# What a class brings besides its members.
CLASS_FORMS = ("vtable for {}", "typeinfo for {}", "typeinfo name for {}", "VTT for {}")
THUNK = re.compile(r"^(?:non-virtual |virtual )?thunk to |^guard variable for ")


def read_offer(path):
    """Groups of (kind, name): kind 'class', 'member' or 'name'."""
    groups, current = {}, None
    with open(path, encoding="utf-8") as listing:
        for number, raw in enumerate(listing, 1):
            line = raw.split("#", 1)[0].strip()
            if not line:
                continue
            if line.startswith("[") and line.endswith("]"):
                current = line[1:-1]
                groups.setdefault(current, [])
            elif current is None:
                raise SystemExit(f"{path}:{number}: a name before the first group")
            elif line.startswith("class "):
                groups[current].append(("class", line[6:].strip()))
            elif "::" in line:
                groups[current].append(("member", line))
            else:
                groups[current].append(("name", line))
    return groups


def exported(library):
    listing = subprocess.run(["nm", "-DC", "--defined-only", library], capture_output=True,
                             text=True, check=True).stdout
    names = set()
    for line in listing.splitlines():
        parts = line.split(None, 2)
        if len(parts) == 3:
            names.add(parts[2])
    return names


def owner(symbol, classes, names):
    """The listed class or name a symbol belongs to, or None."""
    symbol = THUNK.sub("", symbol)
    for cls in classes:
        if symbol.startswith(cls + "::") or any(symbol == form.format(cls)
                                                for form in CLASS_FORMS):
            return cls
        if symbol.startswith("construction vtable for ") and symbol.endswith("-in-" + cls):
            return cls
    head = symbol.split("(", 1)[0]
    return head if head in names else None


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    groups = read_offer(sys.argv[1])
    entries = [entry for group in groups.values() for entry in group]
    classes = {name for kind, name in entries if kind == "class"}
    names = {name for kind, name in entries if kind == "name"}
    symbols = exported(sys.argv[2]) - LINKER_MARKERS - RUNTIME_PAIR
    ours = {s for s in symbols if not NOT_OURS.match(s)}

    owned = {}
    stray = []
    for symbol in sorted(ours):
        found = owner(symbol, classes, names)
        if found is None:
            stray.append(symbol)
        else:
            owned.setdefault(found, []).append(symbol)

    missing = []
    for group, group_entries in groups.items():
        for kind, name in group_entries:
            if kind == "member":
                there = any(s.startswith(name + "(") for s in ours)
            else:
                there = name in owned
            if not there:
                missing.append(f"{group}: {name}")

    for symbol in stray:
        print(f"exported but not offered: {symbol}")
    for name in missing:
        print(f"offered but not exported: {name}")
    print(f"{len(ours)} symbols of ours exported for {len(entries)} offered names "
          f"in {len(groups)} groups")
    return 1 if stray or missing else 0


if __name__ == "__main__":
    sys.exit(main())
