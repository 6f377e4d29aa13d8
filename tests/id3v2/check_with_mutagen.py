#!/usr/bin/python3
"""Reads tags written by TID3v2 with mutagen, an independent ID3 reader.

Usage: check_with_mutagen.py <id3v2_write_fixture>

Runs the fixture program in a temporary folder, then checks every file it tagged: a version 2.3
tag with exactly the frames of the manifest, each text reading as its bytes' Windows-1252
characters (Latin-1 text, or UTF-16 where Latin-1 would misread them; frame IDs mutagen does not
know, such as TRIT or TGRA, come back as raw frames), the comment, the link (always Latin-1), the
rating, and audio bytes identical to the original's.
"""
import json
import struct
import subprocess
import sys
import tempfile

from mutagen.id3 import ID3, ID3NoHeaderError


def tag_size(path):
    try:
        return ID3(path).size
    except ID3NoHeaderError:
        return 0


def cp1252(data):
    """The bytes' Windows-1252 characters; the five bytes it leaves undefined as the control
    characters of their value, as the writer stores them."""
    return "".join(chr(b) if b in (0x81, 0x8D, 0x8F, 0x90, 0x9D) else bytes([b]).decode("cp1252") for b in data)


def raw_frames(tags):
    """Unknown frames as {id: text}; each is a version 2.3 frame with its header."""
    frames = {}
    for raw in tags.unknown_frames:
        frame_id = raw[:4].decode("ascii")
        size = struct.unpack(">I", raw[4:8])[0]
        data = raw[10:10 + size]
        assert data[:1] in (b"\x00", b"\x01"), f"{frame_id}: encoding {data[:1]!r}"
        assert frame_id not in frames, f"{frame_id} twice"
        frames[frame_id] = data[1:].decode("latin-1" if data[:1] == b"\x00" else "utf-16")
    return frames


def check(entry):
    path = entry["path"]
    tags = ID3(path, translate=False)
    assert tags.version == (2, 3, 0), f"version {tags.version}"
    unknown = raw_frames(tags)
    for frame_id, text_hex in entry["text"].items():
        expected = cp1252(bytes.fromhex(text_hex))
        if frame_id in unknown:
            actual = unknown.pop(frame_id)
        else:
            frames = tags.getall(frame_id)
            assert len(frames) == 1, f"{frame_id}: {len(frames)} frames"
            assert frames[0].encoding in (0, 1), f"{frame_id}: encoding {frames[0].encoding}"
            actual = frames[0].text[0]
        assert actual == expected, f"{frame_id}: {actual!r} != {expected!r}"
    assert not unknown, f"unexpected frames {sorted(unknown)}"

    (comment,) = tags.getall("COMM")
    assert (comment.lang, comment.desc) == ("eng", ""), comment
    assert comment.text[0] == cp1252(bytes.fromhex(entry["comment"])), comment
    (link,) = tags.getall("WXXX")
    assert link.desc == "" and link.url.encode("latin-1") == bytes.fromhex(entry["link"]), link
    (popm,) = tags.getall("POPM")
    assert popm.email == "" and popm.rating == entry["rating"], popm
    assert getattr(popm, "count", 0) == 0, popm

    expected_ids = set(entry["text"]) | {"COMM", "WXXX", "POPM"}
    known_ids = {frame.FrameID for frame in tags.values()}
    assert known_ids <= expected_ids, f"unexpected frames {sorted(known_ids - expected_ids)}"

    with open(path, "rb") as f:
        tagged = f.read()
    with open(entry["original"], "rb") as f:
        original = f.read()
    assert tagged[tags.size:] == original[tag_size(entry["original"]):], "audio bytes differ"


def main():
    with tempfile.TemporaryDirectory(prefix="fonarel-mutagen-") as folder:
        subprocess.run([sys.argv[1], folder], check=True)
        with open(f"{folder}/manifest.json") as f:
            manifest = json.load(f)
        for entry in manifest["files"]:
            check(entry)
            print(f"ok {entry['path'].rsplit('/', 1)[-1]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
