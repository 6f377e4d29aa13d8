"""The songs the writer's fault and kill tests start from, and what they compare of a song file."""
import hashlib
import os
import subprocess


def make_masters(folder, frequency, seconds, rich=False):
    """Two songs of a stereo sine tone encoded by lame in the folder: (one whose ID3v2 tag has
    room for a new title, so it is rewritten in place; one without a tag, so it is rebuilt).
    rich: the first one's tag also holds what other programs add (a picture, a loudness value),
    for writes that keep the old tag's other frames."""
    wav = os.path.join(folder, "tone.wav")
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                    "sine=frequency=%d:duration=%d" % (frequency, seconds), "-ac", "2", wav], check=True)
    in_place = os.path.join(folder, "in-place.mp3")
    rebuild = os.path.join(folder, "rebuild.mp3")
    lame = ["lame", "--quiet", "-b", "128"]
    extra = []
    if rich:
        picture = os.path.join(folder, "cover.png")
        with open(picture, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 2)
        extra = ["--ti", picture, "--tv", "TXXX=replaygain_track_gain=-6.20 dB"]
    subprocess.run(lame + ["--id3v2-only", "--pad-id3v2-size", "2000", "--tt", "Velho"] + extra + [wav, in_place],
                   check=True)
    subprocess.run(lame + ["-t", wav, rebuild], check=True)
    return in_place, rebuild


def tag_length(data):
    """The bytes the file's ID3v2 tag takes from its start, header included (0 without one)."""
    if data[:3] != b"ID3" or len(data) < 10:
        return 0
    return 10 + ((data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9])


def audio_hash(data):
    """A hash of the bytes after the file's ID3v2 tag (all of them when it has none)."""
    return hashlib.sha256(data[tag_length(data):]).hexdigest()


def read(path):
    with open(path, "rb") as f:
        return f.read()


def finish(summary, faults):
    """Prints the summary and each fault; the exit status: 1 when there is any fault."""
    print(summary)
    for fault in faults:
        print("FAULT " + fault)
    return 1 if faults else 0
