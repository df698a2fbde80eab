#!/usr/bin/env python3
"""make_bombs.py FOLDER: writes the bomb corpus (files that declare far more
than they hold, nest deeply or never end, and the largest real file of each
kind) and FOLDER/cases.txt, a line a case: "<loader> <refused|loaded> <file>",
or "warm <loader> <file>" for a small good file the loader reads once first,
so that a first use's cost (a sound font, a codec) is not counted. A kind is
added with its loader in BombLoaders.cpp and its files here."""

import os
import struct
import sys
import time
import zlib

MIB = 1 << 20
END = b"\x00\x01"  # a run-length picture's end


def bmp(width, height, bits, compression, pixels, file=True):
    entries = 1 << bits if bits <= 8 else 0
    dib = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels),
                      0, 0, entries, 0) + bytes(4 * entries) + pixels
    if not file:
        return dib
    return b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, 54 + 4 * entries) + dib


def chunk(kind, data):  # PNG's
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def riff(kind, data):
    return kind + struct.pack("<I", len(data)) + data + b"\x00" * (len(data) & 1)


def zeros(count):
    z = zlib.compressobj(9)
    return b"".join(z.compress(bytes(min(MIB, count - at))) for at in range(0, count, MIB)) + z.flush()


def png(width, height, depth=8, colour=6, extra=b"", rows=None):
    row = 1 + (width * {0: 1, 6: 4}[colour] * depth + 7) // 8
    head = chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0))
    data = zeros(row * height) if rows is None else rows
    return b"\x89PNG\r\n\x1a\n" + head + extra + chunk(b"IDAT", data) + chunk(b"IEND", b"")


def bits(pairs):
    """Entropy-coded bits (value, count) with JPEG's stuffing of 0xFF bytes."""
    text = "".join(format(v, "0%db" % n) for v, n in pairs)
    text += "1" * (-len(text) % 8)
    out = bytes(int(text[i:i + 8], 2) for i in range(0, len(text), 8))
    return out.replace(b"\xFF", b"\xFF\x00")


def jpeg(side, code, scans):
    """One grey component; the Huffman tables hold one code each: DC
    category 0, and AC "a run of 2^14 or more empty blocks" (EOB14)."""
    seg = lambda m, p: bytes((0xFF, m)) + struct.pack(">H", len(p) + 2) + p
    sos = lambda s, e: seg(0xDA, b"\x01\x01\x00" + bytes((s, e, 0)))
    blocks = ((side + 7) // 8) ** 2
    out = b"\xFF\xD8" + seg(0xDB, bytes(1) + bytes([1] * 64)) + \
        seg(0xC4, b"\x00\x01" + bytes(15) + b"\x00") + seg(0xC4, b"\x10\x01" + bytes(15) + b"\xE0") + \
        seg(code, struct.pack(">BHHB", 8, side, side, 1) + b"\x01\x11\x00")
    if scans == 0:  # a baseline scan with no data
        return out + sos(0, 63) + b"\xFF\xD9"
    ac = bits([(0, 1), (0x3FFF, 14)] * (blocks // 32767 + 1))  # EOB14 runs of 32767
    return out + sos(0, 0) + bits([(0, blocks)]) + (sos(1, 63) + ac) * scans + b"\xFF\xD9"


def gif(screen, frames, side=None):  # frames of side x side (the screen's) without pixels
    frame = b"\x21\xF9\x04\x00\x01\x00\x00\x00\x2C" + \
        struct.pack("<HHHHB", 0, 0, side or screen, side or screen, 0) + b"\x02\x01\x2C\x00"
    head = b"GIF89a" + struct.pack("<HHBBB", screen, screen, 0x80, 0, 0) + b"\x00" * 3 + b"\xFF" * 3
    return head + frame * frames + b"\x3B"


def tga(width, height, packets):  # run-length true colour, runs of 128 black pixels
    return struct.pack("<BBBHHBHHHHBB", 0, 0, 10, 0, 0, 0, 0, 0, width, height, 32, 8) + \
        b"\xFF\x00\x00\x00\xFF" * packets


def ico(image, count):
    entry = struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(image), 6 + 16 * count)
    return struct.pack("<HHH", 0, 1, count) + entry * count + image


def ani(frame, frames):
    head = riff(b"anih", struct.pack("<9I", 36, frames, frames, 0, 0, 0, 0, 10, 1))
    icons = riff(b"icon", frame) * frames
    body = b"ACON" + head + riff(b"LIST", b"fram" + icons)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def wave(rate, channels, depth, size, declared=None):
    frame = channels * depth // 8
    fmt = riff(b"fmt ", struct.pack("<HHIIHH", 1, channels, rate, rate * frame, frame, depth))
    silence = (b"\x80" if depth == 8 else b"\x00") * size
    body = b"WAVE" + fmt + b"data" + struct.pack("<I", size if declared is None else declared) + silence
    return b"RIFF" + struct.pack("<I", len(body)) + body


def mp3(seconds):  # MPEG-1 layer III, 32 kbit/s, 32 kHz, mono, silent: 1152 samples a frame
    return (b"\xFF\xFB\x18\xC4" + bytes(140)) * int(seconds * 32000 / 1152 + 1)


def midi(events):
    track = events + b"\x00\xFF\x2F\x00"
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" + struct.pack(">I", len(track)) + track


def notes_at_one_tick(count):  # note on and off in running status, three bytes an event
    return midi(b"\x00\x90\x3C\x40" + b"\x00\x3C\x00\x00\x3C\x40" * (count // 2))


def song(notes):  # a note a quarter, each released before the next
    return midi(b"\x00\xC0\x00" + b"".join(
        bytes((0, 0x90, 48 + i % 24, 0x50, 0x60, 0x80, 48 + i % 24, 0x40)) for i in range(notes)))


def registry(depth):
    return b"[HKEY_CURRENT_USER" + b"\\a" * depth + b']\n"k"=sz:"v"\n'


BMP = "knbitmap-bmp bmp-data picture loadimage"
PIC = "picture image-data"
WAV = "sound-buffer direct-wave"
INI = "ini layout"
bomb = bmp(16384, 16384, 8, 1, END)  # the 1,080 bytes that once took 1.3 GiB

WARM = [
    (BMP, "good.bmp", lambda: bmp(8, 8, 8, 0, bytes(64))),
    ("knbitmap-dib", "good.dib", lambda: bmp(8, 8, 8, 0, bytes(64), False)),
    ("image-data", "good.png", lambda: png(8, 8)),
    ("gif-or-bmp gif-image", "good.gif", lambda: gif(8, 1)),
    ("tga", "good.tga", lambda: tga(8, 8, 1)),
    ("cursor", "good.ico", lambda: ico(png(16, 16), 1)),
    (WAV, "good.wav", lambda: wave(22050, 1, 16, 2000)),
    ("midi", "good.mid", lambda: song(4)),
    (INI, "good.ini", lambda: b"[MAIN]\nkey=value\n"),
    ("registry", "good.reg", lambda: registry(1)),
]

CASES = [
    # Pictures: sizes far beyond their bytes, a line of runs that never ends,
    # scans sent thousands of times, frames by the thousand, and the largest
    # picture of each kind that is taken.
    (BMP, "refused", "rle8-16384-square.bmp", lambda: bomb),
    ("knbitmap-dib", "refused", "rle8-16384-square.dib", lambda: bmp(16384, 16384, 8, 1, END, False)),
    (BMP, "refused", "rle4-16384-square.bmp", lambda: bmp(16384, 16384, 4, 2, END)),
    (BMP, "refused", "rgb24-16384-square-empty.bmp", lambda: bmp(16384, 16384, 24, 0, b"")),
    (BMP, "loaded", "rle8-endless-line.bmp", lambda: bmp(64, 64, 8, 1, b"\xFF\x01" * (17 * MIB // 2) + END)),
    (BMP, "loaded", "rle8-4096-square.bmp", lambda: bmp(4096, 4096, 8, 1, END)),
    (PIC, "refused", "png-1000000-square.png", lambda: png(1000000, 1000000, 1, 0, rows=zeros(1000))),
    (PIC, "refused", "png-16384-square.png", lambda: png(16384, 16384, 1, 0)),
    (PIC, "loaded", "png-4096-square.png", lambda: png(4096, 4096)),
    (PIC, "loaded", "png-text-bomb.png", lambda: png(8, 8, 8, 0, chunk(b"zTXt", b"C\x00\x00" + zeros(256 * MIB)))),
    (PIC, "refused", "jpeg-65500-square.jpg", lambda: jpeg(65500, 0xC0, 0)),
    (PIC, "refused", "jpeg-scan-bomb.jpg", lambda: jpeg(4096, 0xC2, 4000)),
    (PIC, "loaded", "jpeg-4096-square-empty.jpg", lambda: jpeg(4096, 0xC0, 0)),  # grey, as viewers show it
    # The library's own GIF decoder hands out frames as they are (a small one
    # of a huge screen, one whose data ends early); the others refuse them.
    (PIC + " gif-image", "refused", "gif-65535-screen.gif", lambda: gif(65535, 1, 1)),
    ("gif-or-bmp", "loaded", "gif-65535-screen.gif", None),
    (PIC + " gif-image", "refused", "gif-4096-frames.gif", lambda: gif(4096, 2000)),
    ("gif-or-bmp", "loaded", "gif-4096-frames.gif", None),
    ("gif-image", "refused", "gif-40000-pixel-frames.gif", lambda: gif(1, 40000)),
    ("gif-image", "loaded", "gif-4096-four-frames.gif", lambda: gif(4096, 4)),
    ("tga", "refused", "tga-65535-square.tga", lambda: tga(65535, 65535, 1)),
    ("tga", "loaded", "tga-4096-square.tga", lambda: tga(4096, 4096, 4096 * 32)),
    ("cursor", "loaded", "ico-65535-entries.ico", lambda: ico(png(256, 256), 65535)),
    ("cursor", "refused", "ico-4096-entry.ico", lambda: ico(png(4096, 4096), 1)),
    ("cursor", "loaded", "ani-1024-frames.ani", lambda: ani(ico(png(256, 256), 1), 1024)),
    # Sounds: hours in a few megabytes, a chunk that claims 4 GiB (the wave
    # object plays what there is), and the longest sounds taken in the forms
    # that cost most to convert.
    (WAV, "refused", "wave-1khz-hours.wav", lambda: wave(1000, 1, 8, 8 * MIB)),
    ("sound-buffer", "refused", "wave-declared-4g.wav", lambda: wave(44100, 2, 16, 4096, 0xFFFFFF00)),
    ("direct-wave", "loaded", "wave-declared-4g.wav", None),
    (WAV, "loaded", "wave-22khz-ten-minutes.wav", lambda: wave(22050, 1, 16, 2 * 22050 * 599)),
    (WAV, "loaded", "wave-48khz-8bit-ten-minutes.wav", lambda: wave(48000, 2, 8, 2 * 48000 * 599)),
    (WAV, "loaded", "wave-8khz-ten-minutes.wav", lambda: wave(8000, 1, 16, 2 * 8000 * 599)),
    ("sound-buffer", "refused", "mp3-one-hour.mp3", lambda: mp3(3600)),
    ("sound-buffer", "loaded", "mp3-nine-minutes.mp3", lambda: mp3(540)),
    ("midi", "refused", "midi-16mib-one-tick.mid", lambda: notes_at_one_tick(16 * MIB // 3)),
    ("midi", "refused", "midi-3mib-one-tick.mid", lambda: notes_at_one_tick(MIB)),
    ("midi", "loaded", "midi-most-events-one-tick.mid", lambda: notes_at_one_tick(199000)),
    ("midi", "loaded", "midi-song.mid", lambda: song(600)),
    # Text files: the size of a disk (sparse, free here), never ending, a pipe
    # nobody writes, millions of lines, a key nested a million deep, and the
    # largest taken.
    (INI, "refused", "ini-64gib-sparse.ini", "sparse"),
    (INI, "refused", "ini-endless.ini", "/dev/zero"),
    (INI, "refused", "ini-no-writer.ini", "fifo"),
    (INI, "refused", "ini-blank-lines.ini", lambda: b"\n" * (4 * MIB - 1)),
    ("ini", "refused", "ini-keys.ini", lambda: b"[A]\n" + b"".join(b"k%07d=v\n" % i for i in range(400000))),
    ("ini", "loaded", "ini-largest.ini", lambda: b"[A]\n" + b"".join(
        b"key%06d=%s\n" % (i, b"v" * 30) for i in range(199000))),
    ("registry", "refused", "registry-deep.reg", lambda: registry(1000000)),
    ("registry", "loaded", "registry-deepest.reg", lambda: registry(512)),
    # A layout whose every picture (in the folder of its name) is a bomb: it
    # loads, its pictures are refused one by one.
    ("layout", "loaded", "layout-bomb-pictures.ini", lambda: b"[MAIN]\n" + b"".join(
        b"%s=bomb.bmp\n" % k for k in (b"back", b"backA", b"backF", b"LOGO", b"ChatHeader"))),
    (None, None, "layout-bomb-pictures/bomb.bmp", lambda: bomb),
]


def make(folder, name, content):
    if content is None:  # made for a case before
        return
    path = os.path.join(folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.lexists(path):
        os.remove(path)
    if content == "sparse":
        with open(path, "wb") as f:
            f.truncate(64 << 30)
    elif content == "fifo":
        os.mkfifo(path)
    elif isinstance(content, str):
        os.symlink(content, path)
    else:
        with open(path, "wb") as f:
            f.write(content())


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_bombs.py FOLDER")
    folder = sys.argv[1]
    lines = []
    for loaders, name, content in WARM:
        make(folder, name, content)
        lines += ["warm %s %s" % (loader, name) for loader in loaders.split()]
    for loaders, expect, name, content in CASES:
        make(folder, name, content)
        lines += ["%s %s %s" % (loader, expect, name) for loader in (loaders or "").split()]
    with open(os.path.join(folder, "cases.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")
    # A file changed a moment ago is read afresh at every look-up (time
    # stamps are coarse); the cases meet settled files, as real ones are.
    time.sleep(2.5)


if __name__ == "__main__":
    main()
