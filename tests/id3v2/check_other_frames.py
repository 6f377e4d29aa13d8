#!/usr/bin/python3
"""Compares the frames a rewritten tag keeps of an old one with mutagen's own conversion.

Usage: check_other_frames.py <id3v2_other_frames_fixture>

Makes old tags with mutagen (version 2.4 and 2.3, from the same frames) and by hand (version
2.2), has the fixture write the frames each keeps as a version 2.3 tag, and checks that mutagen
reads them as it reads the old tag converted and saved as version 2.3 by itself: the same
frames with the same values (encodings aside), less the frames the writer writes from its
table.
"""
import os
import struct
import subprocess
import sys
import tempfile

from mutagen.id3 import (APIC, CHAP, COMM, CTOC, GEOB, ID3, OWNE, PCNT, POPM, PRIV, SYLT, TALB, TDOR, TDRC,
                         TIPL, TIT1, TIT2, TLEN, TMCL, TMOO, TOAL, TOPE, TPE1, TPE2, TSOP, TXXX, UFID, USER, USLT,
                         WOAR, WXXX, CTOCFlags, Encoding, ID3TimeStamp)

# The frames the writer writes from its table, by mutagen's keys.
WRITTEN_TEXT = ("TIT2 TPE1 TALB TRCK TYER TCON TCOM TENC TCOP TLAN TRIT TINT TEXT TEST TIDM TCAR TVIN TMXI "
                "TMXF TRFI TRFF TCAD TSUC TGRA TVOC TTPE TPIN TPFI TPMI").split()
WRITTEN = set(WRITTEN_TEXT) | {"COMM::eng", "WXXX:", "POPM:"}


def old_frames():
    u8 = Encoding.UTF8
    return [
        TIT2(encoding=u8, text="Title"), TPE1(encoding=u8, text="Artist"), TALB(encoding=u8, text="Album"),
        COMM(encoding=u8, lang="eng", desc="", text="the table's"),
        COMM(encoding=u8, lang="eng", desc="mood", text="calm"),
        COMM(encoding=Encoding.UTF16, lang="fra", desc="", text="élan"),
        TXXX(encoding=u8, desc="catalog", text=["C-1", "C-2"]), TXXX(encoding=u8, desc="ünïcode", text="♫"),
        APIC(encoding=u8, mime="image/jpeg", type=3, desc="çover", data=bytes(range(256)) * 160),
        USLT(encoding=Encoding.UTF16BE, lang="eng", desc="", text="la la\nla"),
        UFID(owner="http://example.org", data=b"\x01\x02id"), PRIV(owner="app", data=b"\x00\xff\x00"),
        GEOB(encoding=u8, mime="text/plain", filename="a.txt", desc="notes", data=b"hello"),
        TOPE(encoding=u8, text="Orig"), TIT1(encoding=u8, text="Group"), TOAL(encoding=u8, text="Orig album"),
        TPE2(encoding=u8, text=["Band", "Guest"]), TLEN(encoding=0, text="123000"),
        TDRC(encoding=u8, text=[ID3TimeStamp("2004-05-06T12:34")]), TDOR(encoding=0, text=[ID3TimeStamp("1999")]),
        TIPL(encoding=u8, people=[["producer", "Ann"]]), TMCL(encoding=0, people=[["guitar", "Bo"]]),
        TSOP(encoding=u8, text="Artist, The"), TMOO(encoding=u8, text="calm"),
        POPM(email="", rating=128), POPM(email="me@example.org", rating=200, count=3),
        WXXX(encoding=u8, desc="", url="http://table"), WXXX(encoding=u8, desc="shop", url="http://shop"),
        WOAR(url="http://artist"), PCNT(count=42),
        SYLT(encoding=u8, lang="eng", format=2, type=1, desc="sync", text=[("one", 1000), ("two", 2000)]),
        USER(encoding=u8, lang="eng", text="terms"),
        OWNE(encoding=u8, price="EUR1", date="20240101", seller="Séller"),
        CHAP(element_id="ch1", start_time=0, end_time=1000,
             sub_frames=[TIT2(encoding=u8, text="Intrö"), TSOP(encoding=0, text="x")]),
        CTOC(element_id="toc", flags=CTOCFlags.TOP_LEVEL | CTOCFlags.ORDERED, child_element_ids=["ch1"],
             sub_frames=[TIT2(encoding=u8, text="Chapters")]),
    ]


def v22_tag():
    def frame(frame_id, data):
        return frame_id.encode() + struct.pack(">I", len(data))[1:] + data
    body = b"".join([
        frame("TT2", b"\x00Title"), frame("TOR", b"\x001969"), frame("TT1", b"\x00Group"), frame("TOA", b"\x00Orig"),
        frame("COM", b"\x00eng\x00the table's"), frame("COM", b"\x01eng\xff\xfed\x00\x00\x00\xff\xfet\x00"),
        frame("PIC", b"\x00JPG\x03cover\x00" + bytes(range(256)) * 4), frame("ULT", b"\x00engd\x00words"),
        frame("TXX", b"\x00key\x00value"), frame("UFI", b"owner\x00id"), frame("POP", b"me@x\x00\x80"),
        frame("CNT", b"\x00\x00\x00\x05"), frame("TDA", b"\x000605"), frame("TIM", b"\x001234"),
        frame("WXX", b"\x00d\x00http://x"), frame("GEO", b"\x00text/plain\x00f\x00d\x00data"),
    ])
    size = len(body)
    return b"ID3\x02\x00\x00" + bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F]) + body


def value(frame):
    """A frame's fields but its encoding; embedded frames as a dictionary of their own."""
    fields = {name: frames_of(v, written=set()) if name == "sub_frames" else v
              for name, v in vars(frame).items() if name != "encoding"}
    return repr(dict(sorted(fields.items())))


def frames_of(tags, written=WRITTEN):
    """The frames by key, less those the writer writes (none among embedded frames)."""
    return {key: value(frame) for key, frame in tags.items() if key not in written}


def mutagen_v23(old, folder):
    """The old tag as mutagen converts it to version 2.3, saved and read back."""
    path = os.path.join(folder, "reference.mp3")
    open(path, "wb").close()
    tags = ID3(old, v2_version=3)
    tags.save(path, v2_version=3)
    return ID3(path, v2_version=3)


def check(fixture, old, folder):
    new = os.path.join(folder, "kept.mp3")
    dropped = subprocess.run([fixture, old, new], check=True, capture_output=True, text=True).stdout
    ours = ID3(new, v2_version=3)
    assert ours.version == (2, 3, 0), ours.version
    reference = frames_of(mutagen_v23(old, folder))
    kept = frames_of(ours)
    for key in sorted(set(reference) | set(kept)):
        assert reference.get(key) == kept.get(key), f"{old}: {key}\n  mutagen: {reference.get(key)}\n  kept:    {kept.get(key)}"
    assert not ours.unknown_frames, f"{old}: unknown frames {ours.unknown_frames}"
    return dropped.splitlines()


def main():
    fixture = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        for version in (4, 3):
            old = os.path.join(folder, f"old-v2{version}.mp3")
            open(old, "wb").close()
            tags = ID3()
            for frame in old_frames():
                tags.add(frame)
            if version == 3:
                tags.update_to_v23()
            tags.save(old, v2_version=version)
            print(f"v2.{version} dropped: {check(fixture, old, folder)}")
        old = os.path.join(folder, "old-v22.mp3")
        with open(old, "wb") as f:
            f.write(v22_tag())
        print(f"v2.2 dropped: {check(fixture, old, folder)}")
    print("the kept frames read as mutagen's own conversion")


if __name__ == "__main__":
    main()
