#!/usr/bin/python3
"""Several writers over the same songs at once, one of them killed at a random moment.

Each trial lays out the same songs (half with a padded ID3v2 tag, rewritten in place; half
without a tag, rebuilt), starts WRITERS fonarel-write runs together, each over its own copy of
one catalogue (the copies differ only in the titles they give), and in three trials of four
kills one of them with SIGKILL at a random moment of its writing (seeded): after a random number
of its songs, in the middle of the next one. Once they have ended, every song
must be its old bytes or exactly one writer's new file: one of the tags a writer alone writes,
followed by exactly the song's old audio. A trial without a kill must leave no "~" file; after a
kill, one more run must replace whatever "~" the killed writer left and leave none.

The catalogues go through the Firebird server named by FONAREL_FB_SERVER. Without one they are
embedded, and no writer is killed: the embedded engines of a machine share memory in which a
killed one stays registered, and the next one that creates a database then waits for it for
ever (the engine's fault, not the songs').

    race_test.py FONAREL_WRITE FONAREL_CATALOGUE TRIALS [WRITERS] [SEED] [JOBS] [keep]
        (3 writers, seed 2010, each writing 1 song at a time)

keep: the writers keep the old tags' other frames and the songs' times (the in-place songs' tags
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

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tagkit"))
from song_bytes import audio_hash, finish, make_masters, read, tag_length  # noqa: E402

SONGS = 16
SERVER = os.environ.get("FONAREL_FB_SERVER", "")


class Catalogue:
    """One writer's catalogue: the songs of the folder, each titled by this writer."""

    def __init__(self, tool, work, folder, writer):
        path = os.path.join(work, "writer%d.fdb" % writer)
        self.database = "%s:%s" % (SERVER, path) if SERVER else path
        description = os.path.join(work, "writer%d.tsv" % writer)
        lines = ["Tb_Pastas\tPAS_CODIGO=1\tPAS_PATH=%s/" % folder]
        for i in range(SONGS):
            lines.append("Tb_Musicas\tMUS_CODIGO=%d\tPAS_CODIGO=1\tMUS_ARQUIVO=song%02d.mp3\tMUS_NOME=Writer %d song %d"
                         "\tMUS_NOMECOMPLETO=SONG %d" % (i + 1, i, writer, i, i))
        with open(description, "w") as f:
            f.write("\n".join(lines) + "\n")
        subprocess.run([tool, "--replace", self.database, description], check=True, capture_output=True)

    def command(self, write, report, jobs=1, keep=False):
        return [write, "--database", self.database, "--quiet", "--report", report, "--jobs", str(jobs)] + \
            (["--keep-other-frames", "--keep-times"] if keep else [])


def lay_out(masters, folder):
    for name in os.listdir(folder):
        os.unlink(os.path.join(folder, name))
    for i in range(SONGS):
        shutil.copyfile(masters[i % 2], os.path.join(folder, "song%02d.mp3" % i))


def lines(path):
    try:
        with open(path, "rb") as f:
            return f.read().count(b"\n")
    except FileNotFoundError:
        return 0


def kill_while_writing(process, report, songs_done, delay):
    """SIGKILL once the writer has reported songs_done songs, `delay` seconds into the next."""
    deadline = time.monotonic() + 60
    while lines(report) < songs_done and process.poll() is None and time.monotonic() < deadline:
        time.sleep(0.0005)
    time.sleep(delay)
    process.send_signal(signal.SIGKILL)


def leftovers(folder):
    return sorted(name for name in os.listdir(folder) if name.endswith("~"))


def main():
    write, tool = sys.argv[1], sys.argv[2]
    trials = int(sys.argv[3]) if len(sys.argv) > 3 else 10
    writers = int(sys.argv[4]) if len(sys.argv) > 4 else 3
    seed = int(sys.argv[5]) if len(sys.argv) > 5 else 2010
    jobs = int(sys.argv[6]) if len(sys.argv) > 6 else 1
    keep = len(sys.argv) > 7 and sys.argv[7] == "keep"
    rng = random.Random(seed)
    faults = []
    counts = {"old": 0, "new": 0, "kills": 0, "stale": 0, "busy": 0}
    if not SERVER and os.environ.get("CI") == "true":
        print("FONAREL_FB_SERVER is not set under CI: the loopback server did not start")
        return 1
    with tempfile.TemporaryDirectory(prefix="fonarel-race-") as work:
        os.chmod(work, 0o777)  # the server makes the catalogues here
        in_place, rebuild = make_masters(work, 550, 240, keep)
        masters = (in_place, rebuild)
        folder = os.path.join(work, "songs")
        os.makedirs(folder)
        catalogues = [Catalogue(tool, work, folder, w) for w in range(writers)]
        old = [read(masters[i % 2]) for i in range(SONGS)]
        old_audio = [audio_hash(data) for data in old]
        # What each writer alone makes of every song, and how long a run takes.
        alone = []
        duration = 0.0
        for catalogue in catalogues:
            lay_out(masters, folder)
            start = time.monotonic()
            subprocess.run(catalogue.command(write, os.devnull, keep=keep), check=True)
            duration = max(duration, time.monotonic() - start)
            alone.append([read(os.path.join(folder, "song%02d.mp3" % i)) for i in range(SONGS)])
        # A writer that writes in place over another's rebuilt song writes what it would have
        # rebuilt (the same frames, the same padding): a song may end as any writer alone makes it.
        allowed = [{alone[w][i] for w in range(writers)} for i in range(SONGS)]
        for trial in range(trials):
            lay_out(masters, folder)
            reports = [os.path.join(work, "report%d.tsv" % w) for w in range(writers)]
            processes = [subprocess.Popen(c.command(write, r, jobs, keep), stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
                         for c, r in zip(catalogues, reports)]
            kill = SERVER and trial % 4 != 3
            victim = rng.randrange(writers) if kill else -1
            if kill:
                kill_while_writing(processes[victim], reports[victim], rng.randint(1, SONGS - 4),
                                   rng.uniform(0, duration / SONGS / 2))
                counts["kills"] += 1
            for w, process in enumerate(processes):
                try:
                    _, err = process.communicate(timeout=120)
                except subprocess.TimeoutExpired:
                    process.kill()
                    _, err = process.communicate()
                    faults.append("trial %d: writer %d did not end" % (trial, w))
                # A song another writer changed twice under this one's eyes is busy: no fault.
                only_busy = all(b": busy: " in line for line in err.splitlines())
                if w != victim and not (process.returncode == 0 or (process.returncode == 1 and only_busy)):
                    faults.append("trial %d: writer %d ended with %d: %s" % (trial, w, process.returncode,
                                                                              err.decode(errors="replace").strip()))
            for w, report in enumerate(reports):
                if w != victim and os.path.exists(report):
                    counts["busy"] += sum(line.split("\t")[2] == "busy" for line in open(report))
            for i in range(SONGS):
                data = read(os.path.join(folder, "song%02d.mp3" % i))
                if data == old[i]:
                    counts["old"] += 1
                    continue
                counts["new"] += 1
                length = tag_length(data)
                if audio_hash(data) != old_audio[i]:
                    faults.append("trial %d: song %d does not end with its old audio (%d bytes, tag %d)" %
                                  (trial, i, len(data), length))
                elif data not in allowed[i]:
                    faults.append("trial %d: song %d holds a tag no writer makes" % (trial, i))
            stale = leftovers(folder)
            if not kill and stale:
                faults.append("trial %d (no kill): left %s" % (trial, ", ".join(stale)))
            if kill:
                counts["stale"] += len(stale)
                again = subprocess.run(catalogues[0].command(write, os.devnull, keep=keep), capture_output=True)
                if again.returncode != 0 or leftovers(folder):
                    faults.append("trial %d: the run after the kill ended with %d and left %s" %
                                  (trial, again.returncode, leftovers(folder)))
    return finish("%d trials of %d writers (%d songs in flight each) over %d songs (seed %d, a run alone takes %.3f s), %d kills: %d songs "
                  "old, %d new, %d busy, %d stale temporary files left by a kill, %d damaged or left%s" %
                  (trials, writers, jobs, SONGS, seed, duration, counts["kills"], counts["old"], counts["new"],
                   counts["busy"], counts["stale"], len(faults),
                   "" if SERVER else " (no server: embedded catalogues, no kills)"), faults)


if __name__ == "__main__":
    sys.exit(main())
