#!/usr/bin/env python3
"""Checks that no source file is compiled into two targets of one build.

Reads the build's own list of compilations (compile_commands.json, which
CMake writes beside the build) and fails on a source that appears more than
once: such a source gives one process two definitions of the same code (a
program and the library it links each with its own copy), or at best builds
twice. A source shared by two targets belongs in a library both link.

Usage: check_single_build.py BUILD_DIR
"""

import collections
import json
import os
import shlex
import sys


def object_of(entry):
    """The object file a compilation writes (its -o argument)."""
    if "output" in entry:
        return entry["output"]
    words = shlex.split(entry["command"]) if "command" in entry else entry.get("arguments", [])
    for i, word in enumerate(words[:-1]):
        if word == "-o":
            return words[i + 1]
    return "?"


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    with open(os.path.join(sys.argv[1], "compile_commands.json"), encoding="utf-8") as listing:
        entries = json.load(listing)
    objects = collections.defaultdict(list)
    for entry in entries:
        source = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
        objects[source].append(object_of(entry))
    twice = {source: outputs for source, outputs in objects.items() if len(outputs) > 1}
    for source, outputs in sorted(twice.items()):
        print(f"compiled {len(outputs)} times: {source}")
        for output in outputs:
            print(f"    {output}")
    print(f"{len(entries)} compilations of {len(objects)} sources")
    return 1 if twice else 0


if __name__ == "__main__":
    sys.exit(main())
