#!/usr/bin/python3
"""Kills a batch of tag writes at random moments and checks that no song is lost.

A helper writes the tags of 50 songs (half rewritten in place, half rebuilt) as a batch run
does, and is killed with SIGKILL at a random moment (seeded, so a failing moment can be run
again). After each kill every song must be byte for byte its old file or its new one, with its
audio unchanged; then a second run over the same songs (which may find a stale temporary file)
must complete, leave every song new, and leave no temporary file.

    kill_test.py FONAREL_SAVE_ONE [KILLS] [SEED] [keep]     (20 kills, seed 2010 by default)

keep: the writes keep the old tags' other frames and the songs' times (the in-place songs' tags
then hold a picture and a loudness value).
"""
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from song_bytes import audio_hash, finish, make_masters, read  # noqa: E402

SONGS = 50


def lay_out(masters, folder):
    if os.path.exists(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    songs = []
    for i, master in enumerate(masters):
        song = os.path.join(folder, "song%02d.mp3" % i)
        shutil.copyfile(master, song)
        songs.append(song)
    return songs


def main():
    tool = sys.argv[1]
    kills = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 2010
    keep = len(sys.argv) > 4 and sys.argv[4] == "keep"
    tool = [tool, "--keep"] if keep else [tool]
    rng = random.Random(seed)
    faults = []
    counts = {"old": 0, "new": 0, "stale": 0}
    with tempfile.TemporaryDirectory(prefix="fonarel-kills-") as work:
        in_place, rebuild = make_masters(work, 330, 2, keep)
        masters = [in_place if i % 2 == 0 else rebuild for i in range(SONGS)]
        old = {i: read(m) for i, m in enumerate(masters)}
        # The new bytes of every song, and how long a whole run takes.
        songs = lay_out(masters, os.path.join(work, "clean"))
        start = time.monotonic()
        subprocess.run(tool + ["Novo"] + songs, check=True, stdout=subprocess.DEVNULL)
        duration = time.monotonic() - start
        new = {i: read(s) for i, s in enumerate(songs)}
        for kill in range(kills):
            songs = lay_out(masters, os.path.join(work, "run"))
            delay = rng.uniform(0, duration)
            process = subprocess.Popen(tool + ["Novo"] + songs, stdout=subprocess.DEVNULL)
            time.sleep(delay)
            process.send_signal(signal.SIGKILL)
            process.wait()
            for i, song in enumerate(songs):
                data = read(song)
                if data == old[i]:
                    counts["old"] += 1
                elif data == new[i]:
                    counts["new"] += 1
                else:
                    faults.append("kill %d after %.4f s: song %d is neither old nor new" % (kill, delay, i))
                if audio_hash(data) != audio_hash(old[i]):
                    faults.append("kill %d after %.4f s: song %d lost its audio" % (kill, delay, i))
                counts["stale"] += os.path.exists(song + "~")
            again = subprocess.run(tool + ["Novo"] + songs, stdout=subprocess.DEVNULL)
            if again.returncode != 0:
                faults.append("kill %d: the next run did not write every song" % kill)
            for i, song in enumerate(songs):
                if read(song) != new[i]:
                    faults.append("kill %d: song %d is not new after the next run" % (kill, i))
                if os.path.exists(song + "~"):
                    faults.append("kill %d: song %d still has a temporary file" % (kill, i))
    return finish("%d kills (seed %d, a run takes %.3f s), %d songs checked: %d old, %d new, %d stale temporary "
                  "files met by the next run, %d faults" % (kills, seed, duration, kills * SONGS, counts["old"],
                                                           counts["new"], counts["stale"], len(faults)), faults)


if __name__ == "__main__":
    sys.exit(main())
