#!/usr/bin/env python3
"""fonarel-write over a FUSE folder (bench/batch/delayed_folder.py) that stands for an office's
share: a catalogue made on Windows whose names all differ in letter case from the files', each
folder listed once by a run with songs in flight, as the folder itself counts its calls.

    shared_folder_test.py FONAREL_WRITE FONAREL_CATALOGUE SOURCE_DIR [unittest arguments]

Skips, saying so, where FUSE cannot be mounted."""
import collections
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

WRITE, CATALOGUE_TOOL, SOURCE = sys.argv[1:4]
del sys.argv[1:4]
DELAYED = os.path.join(SOURCE, "bench", "batch", "delayed_folder.py")


class SharedFolder:
    """ROOT/real served at ROOT/mnt by the delayed folder, each call logged to ROOT/ops."""

    def __init__(self, root, *extra):
        self.real, self.mount, self.ops = (os.path.join(root, n) for n in ("real", "mnt", "ops"))
        os.makedirs(self.mount, exist_ok=True)
        self.server = subprocess.Popen([sys.executable, DELAYED, self.real, self.mount, "0", os.devnull, self.ops,
                                        *extra], stderr=subprocess.DEVNULL)
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
    """Copies of one lame file at each relative path of layout."""
    wav, master = os.path.join(work, "tone.wav"), os.path.join(work, "master.mp3")
    subprocess.run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                    "sine=frequency=440:duration=3", "-ac", "2", wav], check=True)
    subprocess.run(["lame", "--quiet", "-b", "128", wav, master], check=True)
    for relative in layout:
        path = os.path.join(real, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copyfile(master, path)


def make_catalogue(work, songs):
    """An embedded catalogue of (Windows folder, file name) songs, codes from 1."""
    folders = sorted({folder for folder, _ in songs})
    description = os.path.join(work, "catalogue.tsv")
    with open(description, "w") as f:
        for i, folder in enumerate(folders, 1):
            f.write("Tb_Pastas\tPAS_CODIGO=%d\tPAS_PATH=%s\n" % (i, folder.replace("\\", "\\\\")))
        for code, (folder, name) in enumerate(songs, 1):
            f.write("Tb_Musicas\tMUS_CODIGO=%d\tPAS_CODIGO=%d\tMUS_ARQUIVO=%s\tMUS_NOME=Song %d\tMUS_NOMECOMPLETO=SONG %d\n"
                    % (code, folders.index(folder) + 1, name, code, code))
    database = os.path.join(work, "catalogue.fdb")
    subprocess.run([CATALOGUE_TOOL, "--replace", database, description], check=True, capture_output=True)
    return database


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


if __name__ == "__main__":
    unittest.main()
