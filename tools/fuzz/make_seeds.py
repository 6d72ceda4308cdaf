#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora (tests/fuzz/corpus/TARGET/) from the game's real files,
cut down to a few kilobytes each: the generated pictures and music, the built-in sound effects,
a replay and a score the game wrote, the golden keys scripts, the command lines of README and the
settings file the game installs.

Usage: make_seeds.py BUILD_DIR   (a normal build: BUILD_DIR/vorne, BUILD_DIR/data, BUILD_DIR/generated)
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CORPUS = os.path.join(SOURCE, "tests", "fuzz", "corpus")


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def image_seeds(data_dir):
    # A corner of each picture as a small bitmap of its own: the real header and colour table,
    # the size changed, the first rows of real pixels.
    for name, width, height in (("palette.dat", 16, 8), ("grA.dat", 32, 16), ("grD.dat", 8, 8)):
        raw = open(os.path.join(data_dir, name), "rb").read()
        full_width = struct.unpack_from("<i", raw, 18)[0]
        header = bytearray(raw[:1078])
        struct.pack_into("<iii", header, 18, width, height, 0)
        struct.pack_into("<HH", header, 26, 1, 8)
        pixels = b"".join(raw[1078 + row * full_width:1078 + row * full_width + width] for row in range(height))
        struct.pack_into("<I", header, 2, 1078 + len(pixels))
        write("image", name + ".corner.bmp", bytes(header) + pixels)
    # A file cut in its pixels (the rest reads as zeros) and one cut in its header.
    raw = open(os.path.join(data_dir, "grB.dat"), "rb").read()
    write("image", "grB.dat.cut", raw[:1078 + 200])
    write("image", "grB.dat.header", raw[:40])


def midi_events(track):
    """(start, end) offsets of each event of a track's body."""
    pos, status, spans = 0, 0, []
    while pos < len(track):
        start = pos
        while track[pos] & 0x80:
            pos += 1
        pos += 1
        byte = track[pos]
        if byte in (0xFF, 0xF0, 0xF7):
            # A meta event (its type byte follows) or a sysex: a variable-length size, then the data.
            pos += 2 if byte == 0xFF else 1
            length = 0
            while True:
                b = track[pos]
                pos += 1
                length = (length << 7) | (b & 0x7F)
                if not b & 0x80:
                    break
            pos += length
        else:
            if byte & 0x80:
                status = byte
                pos += 1
            pos += 1 if status & 0xF0 in (0xC0, 0xD0) else 2
        spans.append((start, pos))
    return spans


def midi_seeds(data_dir):
    # Each piece's first events (tempo, programs, the first notes), closed by an end-of-track.
    for name, keep in (("bgm01.mid", 300), ("bgm03.mid", 120), ("bgm05.mid", 200)):
        raw = open(os.path.join(data_dir, name), "rb").read()
        header = raw[:14]
        length = struct.unpack_from(">I", raw, 18)[0]
        track = raw[22:22 + length]
        spans = midi_events(track)
        body = track[:spans[min(keep, len(spans)) - 1][1]] + b"\x00\xff\x2f\x00"
        write("midi", name + ".start.mid", header + b"MTrk" + struct.pack(">I", len(body)) + body)
    # A piece's first notes under a tempo map of its own (format 1, two tracks).
    raw = open(os.path.join(data_dir, "bgm03.mid"), "rb").read()
    track = raw[22:22 + struct.unpack_from(">I", raw, 18)[0]]
    tempo = b"\x00\xff\x51\x03\x07\xa1\x20\x83\x60\xff\x51\x03\x0f\x42\x40\x00\xff\x2f\x00"
    notes = track[:midi_events(track)[39][1]] + b"\x00\xff\x2f\x00"
    two = b"MThd" + struct.pack(">IHHH", 6, 1, 2, 480)
    for track in (tempo, notes):
        two += b"MTrk" + struct.pack(">I", len(track)) + track
    write("midi", "two_tracks.mid", two)
    # One delta of 2^28 - 1 ticks at one tick a quarter: a piece of 74 hours, refused before its
    # length in milliseconds is ever converted.
    write("midi", "huge_delta.mid", bytes.fromhex("4d546864000000060000000100014d54726b000000078fffff7fff2f00"))


def wave_seeds(generated_dir):
    # The built-in effects, each with its samples cut to 256 (the sizes in the chunks agreeing)
    # and one with the sizes left as they were, claiming more than the block holds.
    text = open(os.path.join(generated_dir, "wave_resources.cpp")).read()
    for effect in ("101", "104", "112"):
        numbers = re.search(r"WAVE_%s\[\] = \{([^}]*)\}" % effect, text).group(1)
        raw = bytes(int(n) for n in numbers.replace("\n", "").split(",") if n.strip())
        data_at = raw.index(b"data")
        cut = bytearray(raw[:data_at + 8 + 256])
        struct.pack_into("<I", cut, data_at + 4, 256)
        struct.pack_into("<I", cut, 4, len(cut) - 8)
        write("wave", "effect%s.wav" % effect, bytes(cut))
        if effect == "104":
            write("wave", "effect104.claims_more.wav", raw[:data_at + 8 + 256])


def record_seeds(binary, data_dir):
    # A replay and a score the game itself wrote: the golden whole game, started against a stored
    # score of 1, saves both when its first continue screen opens.
    work = tempfile.mkdtemp()
    try:
        for name in os.listdir(data_dir):
            os.symlink(os.path.join(data_dir, name), os.path.join(work, name))
        with open(os.path.join(work, "score.dat"), "wb") as f:
            f.write(struct.pack("<i", 1))
        keys = os.path.join(SOURCE, "tests", "golden", "whole_game.keys")
        subprocess.run([binary, "--headless", "--keys", keys, "--ticks", "40000"], cwd=work, check=True,
                       stdout=subprocess.DEVNULL)
        replay = open(os.path.join(work, "replay.rep"), "rb").read()
        score = open(os.path.join(work, "score.dat"), "rb").read()
    finally:
        shutil.rmtree(work)
    write("replay", "game.start.rep", replay[:4 + 7 * 300])
    write("replay", "game.partial_record.rep", replay[:4 + 7 * 40 + 3])
    write("replay", "magic_only.rep", replay[:4])
    write("score", "game.dat", score)
    write("score", "default.dat", struct.pack("<i", 100000))
    write("score", "short.dat", score[:2])
    write("score", "negative.dat", struct.pack("<i", -5))


def keys_seeds():
    golden = os.path.join(SOURCE, "tests", "golden")
    for name in ("pause.keys", "title_start.keys", "sit_first_waves.keys"):
        shutil.copy(os.path.join(golden, name), os.path.join(CORPUS, "keys", name))
    lines = open(os.path.join(golden, "stage1_boss.keys")).read().splitlines(True)
    write("keys", "stage1_boss.start.keys", "".join(lines[:60]).encode())


def command_line_seeds():
    lines = [
        ["--headless", "--ticks", "400", "--trace", "t.jsonl", "--shot", "30:splash.png"],
        ["--headless", "--keys=play.keys", "--ticks=2000", "--trace", "t.jsonl", "--draw-log", "d.txt",
         "--state", "end.json"],
        ["--headless", "--watch-replay", "--ticks", "5000", "--trace", "replay.jsonl"],
        ["--keyboard", "--windowed"],
        ["--joystick", "--data", "/usr/share/games/vorne"],
        ["--help"],
        ["--version"],
        ["--head", "--tick=0", "--shot", "1:a.png", "--sta", "s.json"],
    ]
    for i, words in enumerate(lines):
        write("command_line", "line%d" % i, b"".join(w.encode() + b"\0" for w in words))


def settings_seeds():
    # The example file the game installs, and the same settings filled in, without comments.
    shutil.copy(os.path.join(SOURCE, "packaging", "vorne.ini.example"), os.path.join(CORPUS, "settings", "example.ini"))
    write("settings", "filled.ini",
          b"[sound]\nmusic = 35\neffects = 80 ; quieter\nmute = yes\n[window]\nfullscreen = no\n"
          b"[keys]\nup = W\nleft = A\ndown = S\nright = D\nshot = J, Left Alt\nbomb = K, Keypad 5\npause = Pause\n"
          b"[pad]\nshot = x, rightshoulder, 7\nbomb = y\npause = back\n")
    write("settings", "windows_lines.ini", b"[sound]\r\nmusic = 60\r\n[keys]\r\nshot = Space\r\n")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    data_dir = os.path.join(build, "data")
    shutil.rmtree(CORPUS, ignore_errors=True)
    for target in ("image", "replay", "score", "wave", "midi", "keys", "command_line", "settings"):
        os.makedirs(os.path.join(CORPUS, target))
    image_seeds(data_dir)
    midi_seeds(data_dir)
    wave_seeds(os.path.join(build, "generated"))
    record_seeds(os.path.join(build, "vorne"), data_dir)
    keys_seeds()
    command_line_seeds()
    settings_seeds()


if __name__ == "__main__":
    main()
