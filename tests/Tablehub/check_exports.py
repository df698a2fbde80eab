#!/usr/bin/env python3
"""Checks what libTablehub.so exports: the client class and nothing else.

A game program sees the library only through CTablehub (its members, vtable
and type information) and the C runtime's argument pair that every module of
the process shares. Anything else of ours that shows up means some code lost
its hidden visibility. The standard library's own template code, which its
headers keep visible (unoptimised builds leave some of it out of line), and
the address sanitizer's marks of the exported globals are not ours.

Usage: check_exports.py LIBRARY
"""

import re
import subprocess
import sys

# The linker's own markers of the data segment's end.
LINKER_MARKERS = {"__bss_start", "_edata", "_end", "_init", "_fini"}
RUNTIME_PAIR = {"__argc", "__argv"}
NOT_OURS = re.compile(r"^(?:(?:typeinfo name for |typeinfo for |vtable for |void |bool |int )?std::"
                      r"|__odr_asan\.)")
CLASS_PREFIXES = ("CTablehub::", "vtable for CTablehub", "typeinfo for CTablehub",
                  "typeinfo name for CTablehub")
CLASS_PREFIXES += ("CKNBitmap::", "vtable for CKNBitmap", "typeinfo for CKNBitmap",
                   "typeinfo name for CKNBitmap")
CLASS_PREFIXES += ("CKNChatEx::", "vtable for CKNChatEx", "typeinfo for CKNChatEx",
                   "typeinfo name for CKNChatEx")
# A few that a game program cannot do without.
REQUIRED = {"CTablehub::EnterGame()", "CTablehub::SendMsg(int, void*)", "vtable for CTablehub",
            "typeinfo for CTablehub", "__argc", "__argv"}


def exported(library):
    listing = subprocess.run(["nm", "-DC", "--defined-only", library], capture_output=True,
                             text=True, check=True).stdout
    names = set()
    for line in listing.splitlines():
        parts = line.split(None, 2)
        if len(parts) == 3:
            names.add(parts[2])
    return names


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    names = exported(sys.argv[1])
    stray = sorted(n for n in names
                   if n not in LINKER_MARKERS and n not in RUNTIME_PAIR
                   and not n.startswith(CLASS_PREFIXES) and not NOT_OURS.match(n))
    missing = sorted(REQUIRED - names)
    for name in stray:
        print(f"exported but not marked for the program: {name}")
    for name in missing:
        print(f"not exported: {name}")
    print(f"{len(names - LINKER_MARKERS)} symbols exported")
    return 1 if stray or missing else 0


if __name__ == "__main__":
    sys.exit(main())
