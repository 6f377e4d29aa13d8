#!/usr/bin/python3
"""fonarel-write over a folder on a file server, on paper: 300 songs whose 4096-byte tags are
rewritten in place, in a folder whose every call waits (a FUSE passthrough, delayed_folder.py,
mounted here), and the same on the local disk. Prints ms per song for the floor (open, read the
head, read the end, write the tag, close), for fonarel-write --jobs 1, 2, 4 and 8 (its run less a
run that lists no song, so that the catalogue's opening does not count), and for the local disk;
the floor again on 8 songs at once (how fast the folder itself serves 8 writers); and, on the
delayed folder, the calls that reach it per song, for the floor and for --jobs 1.

    shared_folder_bench.py FONAREL_WRITE FONAREL_CATALOGUE [SONGS] [DELAYS_MS... | local]
        (300 songs; delays 0.5 and 2 ms; "local": the local disk alone)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
# Each figure is the fastest of this many runs: a shared machine only ever slows a run down.
RUNS = 3


def master_song(work, seconds):
    """A lame file of a sine tone in work, without a tag."""
    wav, master = os.path.join(work, "tone.wav"), os.path.join(work, "master.mp3")
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                    "sine=frequency=440:duration=%d" % seconds, "-ac", "2", wav], check=True)
    subprocess.run(["lame", "--quiet", "-b", "128", wav, master], check=True)
    return master


def catalogue(tool, work, name, folder, songs):
    description = os.path.join(work, name + ".tsv")
    with open(description, "w") as f:
        f.write("Tb_Pastas\tPAS_CODIGO=1\tPAS_PATH=%s/\n" % folder)
        for i in range(songs):
            f.write("Tb_Musicas\tMUS_CODIGO=%d\tPAS_CODIGO=1\tMUS_ARQUIVO=s%03d.mp3\tMUS_NOME=Song %d\t"
                    "MUS_NOMECOMPLETO=SONG %d\n" % (i + 1, i, i, i))
    database = os.path.join(work, name + ".fdb")
    subprocess.run([tool, "--replace", database, description], check=True, capture_output=True)
    return database


def floor(folder, songs, threads=1):
    """ms per song of the floor sequence, on `threads` songs at once."""
    # The length is known beforehand, as the catalogue's reader learns it with the open file.
    length = os.path.getsize(os.path.join(folder, "s000.mp3"))

    def write(first):
        for i in range(first, songs, threads):
            fd = os.open(os.path.join(folder, "s%03d.mp3" % i), os.O_RDWR)
            head = os.pread(fd, 8192, 0)
            os.pread(fd, 128, length - 128)
            os.pwrite(fd, head[:4096], 0)
            os.close(fd)
    workers = [threading.Thread(target=write, args=(first,)) for first in range(threads)]
    start = time.monotonic()
    for worker in workers:
        worker.start()
    for worker in workers:
        worker.join()
    return (time.monotonic() - start) * 1000 / songs


class Calls:
    """The calls that reached the delayed folder, as the length of its calls file."""

    def __init__(self, path):
        self.path = path

    def __call__(self):
        return os.path.getsize(self.path) if self.path and os.path.exists(self.path) else 0


def command_ms(write, database, songs, jobs, calls):
    """ms per song, and the calls per song of the runs that wrote."""
    counted = [0]

    def timed(*args):
        before = calls()
        start = time.monotonic()
        subprocess.run([write, "--database", database, "--quiet", "--jobs", str(jobs), *args], check=True,
                       stderr=subprocess.DEVNULL)
        elapsed = time.monotonic() - start
        if not args:
            counted[0] += calls() - before
        return elapsed
    whole = min(timed() for _ in range(RUNS))
    empty = min(timed("--code", "0") for _ in range(RUNS))
    return (whole - empty) * 1000 / songs, counted[0] / (RUNS * songs)


def main():
    write, tool = sys.argv[1], sys.argv[2]
    songs = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    delays = [] if sys.argv[4:] == ["local"] else [float(d) for d in sys.argv[4:]] or [0.5, 2.0]
    with tempfile.TemporaryDirectory(prefix="fonarel-shared-") as work:
        real, mount = os.path.join(work, "real"), os.path.join(work, "mnt")
        os.makedirs(real)
        os.makedirs(mount)
        master = master_song(work, 20)
        for i in range(songs):
            shutil.copyfile(master, os.path.join(real, "s%03d.mp3" % i))
        local = catalogue(tool, work, "local", real, songs)
        shared = catalogue(tool, work, "shared", mount, songs)
        # The first run gives every song a 4096-byte tag; every run after it rewrites it in place.
        subprocess.run([write, "--database", local, "--quiet"], check=True)
        rows = [("local disk", local, None)] + [("%g ms a call" % d, shared, d) for d in delays]
        print("%d songs, tags of 4096 bytes rewritten in place; ms per song" % songs)
        print("%-14s %8s %8s %8s %8s %8s %9s   %s" % ("folder", "floor", "jobs 1", "jobs 2", "jobs 4", "jobs 8",
                                                      "floor x8", "calls per song: floor, jobs 1"))
        for name, database, delay in rows:
            server = None
            calls = Calls(os.path.join(work, "calls-%s" % delay) if delay is not None else None)
            if delay is not None:
                server = subprocess.Popen([sys.executable, os.path.join(HERE, "delayed_folder.py"), real, mount,
                                           str(delay), calls.path])
                deadline = time.monotonic() + 20
                while not os.path.ismount(mount) and time.monotonic() < deadline:
                    time.sleep(0.05)
            try:
                folder = mount if delay is not None else real
                before = calls()
                figures = [min(floor(folder, songs) for _ in range(RUNS))]
                floor_calls = (calls() - before) / (RUNS * songs)
                runs = [command_ms(write, database, songs, j, calls) for j in (1, 2, 4, 8)]
                figures += [ms for ms, _ in runs] + [min(floor(folder, songs, 8) for _ in range(RUNS))]
                counts = "   %5.1f, %5.1f" % (floor_calls, runs[0][1]) if delay is not None else ""
                print("%-14s " % name + " ".join("%8.2f" % f for f in figures[:-1]) + " %9.2f" % figures[-1] + counts,
                      flush=True)
            finally:
                if server is not None:
                    subprocess.run(["fusermount3", "-u", mount], check=False)
                    server.wait(timeout=20)
    return 0


if __name__ == "__main__":
    sys.exit(main())
