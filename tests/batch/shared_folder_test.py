#!/usr/bin/env python3
"""fonarel-write over a FUSE folder (bench/batch/delayed_folder.py) that stands for an office's
share: a catalogue made on Windows whose names all differ in letter case from the files', each
folder listed once by a run with songs in flight, as the folder itself counts its calls; and a
share whose server goes away in the middle of a run, which then stops, every song its old file
or its new one, and a run once the server is back writes the rest.

    shared_folder_test.py FONAREL_WRITE FONAREL_CATALOGUE SOURCE_DIR [unittest arguments]

Skips, saying so, where FUSE cannot be mounted."""
import collections
import re
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tagkit"))
from song_bytes import make_masters  # noqa: E402

WRITE, CATALOGUE_TOOL, SOURCE = sys.argv[1:4]
del sys.argv[1:4]
DELAYED = os.path.join(SOURCE, "bench", "batch", "delayed_folder.py")


class SharedFolder:
    """ROOT/real served at ROOT/mnt by the delayed folder, each call logged to ROOT/ops."""

    def __init__(self, root, delay_ms=0):
        self.real, self.mount, self.ops = (os.path.join(root, n) for n in ("real", "mnt", "ops"))
        self.gone = os.path.join(root, "gone")
        os.makedirs(self.mount, exist_ok=True)
        self.server = subprocess.Popen([sys.executable, DELAYED, self.real, self.mount, str(delay_ms), os.devnull,
                                        self.ops, self.gone], stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 10
        while not os.path.ismount(self.mount) and time.monotonic() < deadline and self.server.poll() is None:
            time.sleep(0.05)
        self.mounted = os.path.ismount(self.mount)

    def calls(self):
        with open(self.ops, encoding="utf-8", errors="replace") as f:
            return [line.rstrip("\n").split(" ", 1) for line in f]

    def unmount(self):
        subprocess.run(["fusermount3", "-u", "-z", self.mount], capture_output=True)
        try:
            self.server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.server.kill()


def make_songs(work, real, layout):
    """At each relative path of layout, a copy of one of two lame files: one whose tag is
    rewritten in place, one without a tag, which is rebuilt."""
    masters = make_masters(work, 440, 3)
    for i, relative in enumerate(layout):
        path = os.path.join(real, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copyfile(masters[i % 2], path)


def make_catalogue(work, songs, name="catalogue"):
    """An embedded catalogue of (folder, file name) songs, codes from 1."""
    folders = sorted({folder for folder, _ in songs})
    description = os.path.join(work, name + ".tsv")
    with open(description, "w") as f:
        for i, folder in enumerate(folders, 1):
            f.write("Tb_Pastas\tPAS_CODIGO=%d\tPAS_PATH=%s\n" % (i, folder.replace("\\", "\\\\")))
        for code, (folder, name) in enumerate(songs, 1):
            f.write("Tb_Musicas\tMUS_CODIGO=%d\tPAS_CODIGO=%d\tMUS_ARQUIVO=%s\tMUS_NOME=Song %d\tMUS_NOMECOMPLETO=SONG %d\n"
                    % (code, folders.index(folder) + 1, name, code, code))
    database = os.path.join(work, name + ".fdb")
    subprocess.run([CATALOGUE_TOOL, "--replace", database, description], check=True, capture_output=True)
    return database


def read(path):
    with open(path, "rb") as f:
        return f.read()


class CaseIgnoringLookupTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="fonarel-shared-test.")
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)
        layout = ["Acervo/Pasta%d/Song%02d.mp3" % (i % 4, i) for i in range(40)]
        make_songs(self.work, os.path.join(self.work, "real"), layout)
        self.folder = SharedFolder(self.work)
        self.addCleanup(self.folder.unmount)
        if not self.folder.mounted:
            self.skipTest("FUSE cannot be mounted here (no /dev/fuse or no permission)")
        songs = [("M:\\ACERVO\\PASTA%d\\" % (i % 4), "SONG%02d.MP3" % i) for i in range(40)]
        self.database = make_catalogue(self.work, songs)

    def test_each_folder_is_listed_once_by_a_run_with_songs_in_flight(self):
        result = subprocess.run([WRITE, "--database", self.database, "--jobs", "4", "--map-folder",
                                 "m:=" + self.folder.mount], capture_output=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn(b"written:                      40", result.stdout)
        listed = collections.Counter(path for op, path in self.folder.calls() if op == "readdir")
        self.assertEqual(sorted(listed), ["/", "/Acervo"] + ["/Acervo/Pasta%d" % i for i in range(4)])
        self.assertEqual(set(listed.values()), {1}, listed)


class ShareGoneTest(unittest.TestCase):
    SONGS = 120
    LOST_AFTER = 20

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="fonarel-share-gone-test.")
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)
        names = ["s%03d.mp3" % i for i in range(self.SONGS)]
        make_songs(self.work, os.path.join(self.work, "real"), names)
        self.old = {name: read(os.path.join(self.work, "real", name)) for name in names}
        # What each song becomes, learnt on a copy on the local disk (the path is in no frame).
        local = os.path.join(self.work, "local")
        shutil.copytree(os.path.join(self.work, "real"), local)
        learnt = make_catalogue(self.work, [(local + "/", name) for name in names], "local")
        subprocess.run([WRITE, "--database", learnt, "--quiet"], check=True)
        self.new = {name: read(os.path.join(local, name)) for name in names}
        self.folder = SharedFolder(self.work, 2)
        self.addCleanup(self.folder.unmount)
        if not self.folder.mounted:
            self.skipTest("FUSE cannot be mounted here (no /dev/fuse or no permission)")
        self.database = make_catalogue(self.work, [(self.folder.mount + "/", name) for name in names])

    def damaged(self):
        real = os.path.join(self.work, "real")
        present = set(os.listdir(real))
        return [name if name in present else name + " (gone; the folder holds %s)" % sorted(present - set(self.old))
                for name in self.old
                if name not in present or read(os.path.join(real, name)) not in (self.old[name], self.new[name])]

    def leftovers(self):
        return sorted(name for name in os.listdir(os.path.join(self.work, "real")) if name.endswith("~"))

    def test_a_run_stops_soon_after_its_folder_stops_answering_and_the_next_run_writes_the_rest(self):
        for jobs in ("1", "4"):
            report = os.path.join(self.work, "report-%s.tsv" % jobs)
            run = subprocess.Popen([WRITE, "--database", self.database, "--jobs", jobs, "--report", report],
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            deadline = time.monotonic() + 60
            while time.monotonic() < deadline and run.poll() is None:
                if os.path.exists(report) and len(read(report).splitlines()) >= self.LOST_AFTER:
                    break
                time.sleep(0.01)
            open(self.folder.gone, "w").close()
            lost = time.monotonic()
            out, err = run.communicate(timeout=120)
            took = time.monotonic() - lost
            rows = [line.split(b"\t") for line in read(report).splitlines()]
            outcomes = [row[2].decode() for row in rows]
            tried_after = [o for o in outcomes[self.LOST_AFTER:] if o != "not-tried"]
            print("--jobs %s: the folder went after %d songs; %d songs tried after the loss, stopped %.1f s later"
                  % (jobs, self.LOST_AFTER, len(tried_after), took), file=sys.stderr)
            self.assertEqual(run.returncode, 1, err)
            self.assertRegex(err, rb"fonarel-write: stopped: " + re.escape(self.folder.mount.encode()) +
                             rb" stopped answering \(Input/output error\) after song \d+ \(code \d+\); \d+ songs not tried\n")
            self.assertEqual(len(rows), self.SONGS)
            self.assertLessEqual(len(tried_after), 10 + int(jobs) * 2, outcomes)
            self.assertIn("not-tried", outcomes)
            os.unlink(self.folder.gone)
            self.assertEqual(self.damaged(), [])
            # At most the rebuilds under way when the server went.
            self.assertLessEqual(len(self.leftovers()), int(jobs), self.leftovers())
            left = len(self.leftovers())

            # The server is back: the next run writes what the dead one did not, and leaves no "~".
            second = os.path.join(self.work, "again-%s.tsv" % jobs)
            again = subprocess.run([WRITE, "--database", self.database, "--quiet", "--skip-unchanged", "--report",
                                    second], capture_output=True)
            self.assertEqual(again.returncode, 0, again.stderr)
            self.assertEqual(self.leftovers(), [])
            self.assertEqual(read(second).count(b"~ of an unfinished rebuild was removed"), left)
            real = os.path.join(self.work, "real")
            self.assertEqual([n for n in self.new if read(os.path.join(real, n)) != self.new[n]], [])
            for name, data in self.old.items():
                with open(os.path.join(real, name), "wb") as f:
                    f.write(data)


if __name__ == "__main__":
    unittest.main()
