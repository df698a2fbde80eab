#!/usr/bin/env python3
"""Checks that includes between the top-level folders only point down.

Each folder of LAYERS may include its own headers and those of the folders
listed before it, never one listed after it. The test, benchmark and fuzz
folders may include anything, and nothing may include them. A top-level
folder that holds sources but has no place in the order is an error too, so a
new folder is placed deliberately.

The system's own code speaks the Windows-shaped layer only: outside
platform/, outside/ and tools/ (and the free folders) it includes no POSIX or
Linux library header and calls none of POSIX_CALLS.

Inside platform/ and table/ the folders have an order of their own
(INNER_ORDERS), checked the same way; the files directly in such a layer
(platform/'s base types and the display driver's interface) lie below every
folder of it and include only each other.

Usage: check-layers.py [--root DIR]   (DIR defaults to the repository root)
Exit status 0 when every include points down, 1 otherwise, 2 on bad usage.
"""

import argparse
import os
import re
import sys

# Lowest first.
LAYERS = [
    "assets",  # the resource script's ids, which include nothing
    "platform",  # the Windows-shaped layer over Linux
    "outside",  # stand-ins for the outside libraries
    "knbase05",  # random numbers and MD5
    "knclientbase05",  # socket layer, launch record, base services, utilities
    "kngif",  # GIF89 decoding and memory images
    "knclubpub",  # owner-drawn dialog and hover button
    "knclientUI05",  # the UI kit
    "Tablehub",  # the exported client class: top of libTablehub.so
    "game",  # the rule book
    "sprite",  # the sprite engine and themes
    "table",  # the table window
    "app",  # the application shell: top of Pellor
    "tools",  # the local table host and the asset generator
]
FREE = {"tests", "bench", "fuzz"}

# The folders inside a layer, lowest first, and how a message names the layer.
INNER_ORDERS = {
    "platform": [
        "system",  # the event loop, the clock, threads, files, ini, registry, modules
        "gdi",  # device contexts, surfaces, bitmaps, blits, regions
        "text",  # fonts and text output on device contexts
        "images",  # picture files into bitmaps
        "window",  # the window tree, messages, timers, input, cursors, the clipboard
        "resources",  # the resource script, icons, cursors and dialog templates by id
        "controls",  # dialogs and the standard controls
        "net",  # sockets, notified through the message queue
        "sound",  # wave output, the mixer, MCI
        "display",  # the drivers: headless and SDL, over everything above
    ],
    "table": [
        "common",  # the window's ids, fields, viewpoint and rules every part reads
        "client",  # the network client, the record kinds and the receive gate
        "records",  # the record handling and the view it shows records through
        "cards",  # the card painter, the layouts and the cards as sprites
        "panes",  # the panes, the seat marks, the table's information and tips
        "window",  # the table window that owns and wires the parts
    ],
}
INNER_NAMES = {"platform": "the platform's", "table": "the table's"}
INNER_BASE = ""  # the files directly in the layer

# Where Linux may be spoken: the layer over it, the stand-ins for the outside
# libraries, and the local programs in tools/ (which are Linux programs).
SPEAKS_LINUX = {"platform", "outside", "tools"}
# Headers of POSIX and of the Linux libraries the platform layer wraps.
LINUX_HEADER = re.compile(
    r"^(unistd|strings|pthread|dirent|fcntl|dlfcn|poll|netdb|termios|libgen|fnmatch|glob|"
    r"semaphore|spawn|syslog|execinfo|ft2build|png|jpeglib|gif_lib|zlib|fluidsynth|mpg123|"
    r"SDL[^/]*)\.h$|^(sys|netinet|arpa|SDL2|freetype|X11|curl|litehtml)/")
# POSIX calls that have a Windows-shaped stand-in in platform/.
POSIX_CALLS = [
    "localtime_r", "gmtime_r", "strcasecmp", "strncasecmp", "strtok_r", "strndup",
    "usleep", "nanosleep", "clock_gettime", "gettimeofday", "getpid", "setenv", "unsetenv",
    "realpath", "readlink", "opendir", "readdir", "closedir",
]
# A call by its bare or globally qualified name, not a member or another
# namespace's function of the same name.
POSIX_CALL = re.compile(r"(?<![\w.>:])(?:(?<![\w>])::)?\b(" + "|".join(POSIX_CALLS) + r")\s*\(")
STRING_OR_COMMENT = re.compile(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'|//|/\*')

SOURCE_SUFFIXES = (".h", ".hpp", ".hh", ".c", ".cc", ".cpp", ".cxx", ".inl", ".ipp")
INCLUDE = re.compile(r'^\s*#\s*include\s*(?:"([^"]+)"|<([^>]+)>)')


def is_build_tree(path):
    return os.path.exists(os.path.join(path, "CMakeCache.txt"))


def top_folders(root):
    """The top-level folders worth scanning: not hidden, not a build tree."""
    for name in sorted(os.listdir(root)):
        path = os.path.join(root, name)
        if os.path.isdir(path) and not name.startswith(".") and not is_build_tree(path):
            yield name


def sources(root, folder):
    for directory, subdirs, files in os.walk(os.path.join(root, folder)):
        subdirs[:] = sorted(d for d in subdirs if not d.startswith("."))
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(directory, name)


def included_path(root, source, target, quoted):
    """The folders of the path an include names, or None when it names none of ours."""
    if quoted and target.startswith("."):
        # A relative path: resolve it against the including file.
        resolved = os.path.normpath(os.path.join(os.path.dirname(source), target))
        relative = os.path.relpath(resolved, root)
        if relative.startswith(".."):
            return None
        target = relative
    parts = target.replace("\\", "/").split("/")
    if len(parts) < 2:
        return None  # a file beside the source, or a system header
    return parts


def inner_folder(parts):
    """The folder of a path inside its layer (INNER_BASE for the layer's own files)."""
    return parts[1] if len(parts) > 2 else INNER_BASE


def check_inner_include(shown, number, target, source_parts, parts, folders, problems):
    layer = source_parts[0]
    order = INNER_ORDERS[layer]
    rank = {name: index for index, name in enumerate([INNER_BASE] + order)}
    mine, other = inner_folder(source_parts), inner_folder(parts)
    if other == mine or mine not in rank:
        return
    if other not in rank:
        if other in folders:
            problems.append(f"{shown}:{number}: includes {target} from {layer}/{other}/, "
                            f"which has no place in {INNER_NAMES[layer]} folder order")
        return
    if rank[other] > rank[mine]:
        where = f"{layer}/{mine}/" if mine else f"{layer}/'s own files"
        problems.append(f"{shown}:{number}: includes {target}: {layer}/{other}/ lies above "
                        f"{where} in {INNER_NAMES[layer]} folder order")


def check(root):
    """Gives the list of problems found under root."""
    rank = {name: index for index, name in enumerate(LAYERS)}
    ours = set(top_folders(root))
    known = set(LAYERS) | FREE
    problems = []
    inner = {}
    for layer, order in INNER_ORDERS.items():
        inner[layer] = set(top_folders(os.path.join(root, layer))) if layer in ours else set()
        for name in sorted(inner[layer] - set(order)):
            if any(sources(root, os.path.join(layer, name))):
                problems.append(f"{layer}/{name}/: holds sources but has no place in "
                                f"{INNER_NAMES[layer]} folder order")
    for folder in sorted(ours):
        files = list(sources(root, folder))
        if folder not in known:
            if files:
                problems.append(f"{folder}/: holds sources but has no place in the layer order")
            continue
        for source in files:
            shown = os.path.relpath(source, root)
            with open(source, encoding="utf-8", errors="replace") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    target = match.group(1) or match.group(2)
                    parts = included_path(root, source, target, match.group(1) is not None)
                    if parts is None or folder in FREE:
                        continue
                    other = parts[0]
                    if other == folder:
                        if folder in INNER_ORDERS:
                            check_inner_include(shown, number, target, shown.split("/"),
                                                parts, inner[folder], problems)
                        continue
                    if other not in known:
                        if other in ours:
                            problems.append(
                                f"{shown}:{number}: includes {target} from {other}/, "
                                "which has no place in the layer order")
                        continue
                    if other in FREE:
                        problems.append(f"{shown}:{number}: includes {target} from {other}/, "
                                        "which only tests, benchmarks and fuzz targets may use")
                    elif rank[other] > rank[folder]:
                        problems.append(f"{shown}:{number}: includes {target}: {other}/ lies "
                                        f"above {folder}/ in the layer order")
    for folder in sorted(ours & (set(LAYERS) - SPEAKS_LINUX)):
        for source in sources(root, folder):
            check_speaks_windows(root, source, problems)
    return problems


def code_of(line, in_comment):
    """The line without its strings and comments, and whether a comment runs on."""
    code, at = [], 0
    while at < len(line):
        if in_comment:
            end = line.find("*/", at)
            if end < 0:
                return "".join(code), True
            at, in_comment = end + 2, False
            continue
        match = STRING_OR_COMMENT.search(line, at)
        if not match:
            code.append(line[at:])
            break
        code.append(line[at:match.start()] + " ")
        at = match.end()
        if match.group(0).startswith("//"):
            break
        if match.group(0).startswith("/*"):
            in_comment = True
            at = match.start() + 2
    return "".join(code), in_comment


def check_speaks_windows(root, source, problems):
    """Refuses a POSIX or Linux header and a POSIX call in the system's own code."""
    shown = os.path.relpath(source, root)
    in_comment = False
    with open(source, encoding="utf-8", errors="replace") as text:
        for number, line in enumerate(text, 1):
            match = None if in_comment else INCLUDE.match(line)
            if match and match.group(2) and LINUX_HEADER.search(match.group(2)):
                problems.append(f"{shown}:{number}: includes <{match.group(2)}>: only platform/ "
                                "and outside/ speak Linux")
                continue
            code, in_comment = code_of(line, in_comment)
            for call in POSIX_CALL.finditer(code):
                problems.append(f"{shown}:{number}: calls {call.group(1)}(): only platform/ and "
                                "outside/ speak Linux; use the Windows-shaped call")


def inner_orders_shown():
    return "".join(f"; inside {layer}/: " + " < ".join(order)
                   for layer, order in INNER_ORDERS.items())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    default_root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--root", default=default_root, help="the source tree to check")
    arguments = parser.parse_args()
    if not os.path.isdir(arguments.root):
        print(f"check-layers: {arguments.root} is not a folder", file=sys.stderr)
        return 2
    problems = check(arguments.root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) point up or speak Linux; layer order, lowest first: "
              + " < ".join(LAYERS) + inner_orders_shown(), file=sys.stderr)
        return 1
    print("Every include points down and only platform/ and outside/ speak Linux: "
          + " < ".join(LAYERS) + inner_orders_shown())
    return 0


if __name__ == "__main__":
    sys.exit(main())
