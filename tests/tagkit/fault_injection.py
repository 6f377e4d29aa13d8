#!/usr/bin/python3
"""Fails, in turn, every system call that one song's tag write makes, and checks the song.

For a song written in place and one rebuilt, each with and without an ID3v1 tag, and each held
for writing from its inspection on (as the programs write) or read first (as a song that cannot
be held is written): a clean run
is traced to count the calls of each kind; then the write is run again once per call, with
strace making that one call fail (EIO, or ENOSPC for writes and copies, EACCES for opens and
permission changes). After each failure the song must be byte for byte its old file or (only
where the failure struck after the rename) its new one, its audio must hash the same, and no
temporary file may be left, and the song must keep its extended attribute. A save that says it
wrote must have left the new file, and one that failed at a write, a copy, a permission change,
an attribute's copy or the rename must name the system's error.

    fault_injection.py FONAREL_SAVE_ONE [--quick]
"""
import errno
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from song_bytes import audio_hash, make_masters, read  # noqa: E402

SYSCALLS = ["openat", "newfstatat", "fstat", "statx", "fcntl", "pread64", "pwrite64", "copy_file_range", "fsync",
            "fchmod", "fchown", "flistxattr", "fgetxattr", "fsetxattr", "rename", "unlink", "close"]
ERRORS = {"pwrite64": "ENOSPC", "copy_file_range": "ENOSPC", "openat": "EACCES", "fchmod": "EACCES"}
# Calls whose failure ends the save there: it must say why, in the system's words.
NAMED = {"pwrite64", "copy_file_range", "fchmod", "flistxattr", "fgetxattr", "fsetxattr", "rename"}
# What a file server keeps beside a song, which a rebuilt song must keep too.
ATTRIBUTE = ("user.fonarel.kept", b"\x01kept")


def with_id3v1(master, folder):
    """A copy of the song with an ID3v1 tag appended."""
    song = os.path.join(folder, "id3v1-" + os.path.basename(master))
    shutil.copyfile(master, song)
    block = b"TAG" + b"Velho v1".ljust(30, b"\0") + b"\0" * 30 + b"\0" * 30 + b"1999" + b"\0" * 28 + b"\0\x03\x11"
    with open(song, "ab") as out:
        out.write(block)
    return song


def only_the_song(song):
    """strace options that count and fail only the calls on the song, its temporary file and
    its folder, not those of loading the program."""
    return ["-P", song, "-P", song + "~", "-P", os.path.dirname(song)]


def lay_out(song, target):
    shutil.copyfile(song, target)
    os.setxattr(target, *ATTRIBUTE)


def calls_of_clean_run(command, song, work):
    copy = os.path.join(work, "target.mp3")
    lay_out(song, copy)
    log = os.path.join(work, "trace")
    subprocess.run(["strace", "-f", "-qq", "-o", log, "-e", "trace=" + ",".join(SYSCALLS)] + only_the_song(copy) +
                   command + ["Novo", copy], check=True, stdout=subprocess.DEVNULL)
    counts = {}
    with open(log) as trace:
        for line in trace:
            parts = line.split()
            if len(parts) < 2:
                continue
            name = parts[1].split("(")[0]
            if name in SYSCALLS:
                counts[name] = counts.get(name, 0) + 1
    return counts, read(copy)


def main():
    tool = sys.argv[1]
    quick = "--quick" in sys.argv
    failures, injected = [], 0
    outcomes = {"old": 0, "new": 0}
    traced = {}
    with tempfile.TemporaryDirectory(prefix="fonarel-faults-") as work:
        in_place, rebuild = make_masters(work, 440, 1)
        cases = [(sequence, flags, way, master, id3v1)
                 for sequence, flags in (("held", []), ("read first", ["--read-first"]))
                 for way, master in (("in place", in_place), ("rebuild", rebuild))
                 for id3v1 in (False, True)]
        for sequence, flags, way, master, id3v1 in cases:
            command = [tool] + flags
            case = sequence + ", " + way + (", ID3v1" if id3v1 else "")
            song = with_id3v1(master, work) if id3v1 else master
            old = read(song)
            counts, new = calls_of_clean_run(command, song, work)
            traced[case] = counts
            assert new != old, case + ": the clean run wrote nothing"
            for name, count in sorted(counts.items()):
                for when in range(1, count + 1):
                    if quick and when > 3:
                        break
                    target = os.path.join(work, "target.mp3")
                    lay_out(song, target)
                    error = ERRORS.get(name, "EIO")
                    run = subprocess.run(["strace", "-f", "-qq", "-o", "/dev/null", "-e", "trace=" + name,
                                          "-e", "inject=%s:error=%s:when=%d" % (name, error, when)] +
                                         only_the_song(target) + command + ["Novo", target],
                                         stdout=subprocess.PIPE, text=True)
                    injected += 1
                    after = read(target)
                    what = "%s: %s #%d %s" % (case, name, when, error)
                    if after == old:
                        outcomes["old"] += 1
                    elif after == new:
                        outcomes["new"] += 1
                    else:
                        failures.append(what + ": the song is neither its old nor its new file")
                    if audio_hash(after) != audio_hash(old):
                        failures.append(what + ": the audio changed")
                    if run.returncode == 0 and after != new:
                        failures.append(what + ": reported written but the new tag is not there")
                    if run.returncode != 0 and name in NAMED and os.strerror(getattr(errno, error)) not in run.stdout:
                        failures.append(what + ": the failure does not name the system's error: " + run.stdout.strip())
                    if os.getxattr(target, ATTRIBUTE[0]) != ATTRIBUTE[1]:
                        failures.append(what + ": the song lost its extended attribute")
                    if os.path.exists(target + "~"):
                        failures.append(what + ": a temporary file is left")
                        os.unlink(target + "~")
    print("%d system calls failed: %d songs left old, %d new, %d faults" %
          (injected, outcomes["old"], outcomes["new"], len(failures)))
    for case, counts in sorted(traced.items()):
        print("  %s: %s" % (case, ", ".join("%s %d" % item for item in sorted(counts.items()))))
    for failure in failures:
        print("FAULT " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
