#!/usr/bin/env python3
"""Records the game platform's shared folder in the user's registry file.

The platform's installation records where its shared components lie (the
music player, the sound plug-in, the chat controls); without it the program
finds no music player and plays no sound. Here the program's own folder
stands in. A folder already recorded is kept.

usage: record-shared-folder.py CONFIG_DIR PROGRAM_FOLDER
"""
import os
import sys

SECTION = "[HKEY_CURRENT_USER\\Software\\Quillane\\Game\\Share]"


def escaped(text):
    """The registry file's form of a text: GBK bytes, the unsafe ones as %XX."""
    return "".join(chr(b) if 0x20 <= b <= 0x7E and chr(b) not in '%"\\[]' else "%%%02X" % b
                   for b in text.encode("gbk"))


def main():
    config, folder = sys.argv[1], os.path.abspath(sys.argv[2])
    os.makedirs(config, exist_ok=True)
    registry = os.path.join(config, "registry.txt")
    lines = []
    if os.path.exists(registry):
        with open(registry, encoding="latin-1") as f:
            lines = f.read().splitlines()
    value = '"path"=sz:"%s"' % escaped(folder.replace("/", "\\"))
    section_at = None
    for i, line in enumerate(lines):
        if line.startswith("["):
            if section_at is not None:
                break
            if line.lower() == SECTION.lower():
                section_at = i
        elif section_at is not None and line.lower().startswith('"path"='):
            return 0
    if section_at is None:
        lines += [SECTION, value]
    else:
        lines.insert(section_at + 1, value)
    with open(registry, "w", encoding="latin-1") as out:
        out.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
