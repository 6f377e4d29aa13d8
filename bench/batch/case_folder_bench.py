#!/usr/bin/python3
"""fonarel-write over a catalogue made on Windows, on a folder whose every call waits (a FUSE
passthrough, delayed_folder.py): 1,000 songs in 10 folders under M:\\ ([PASTAS] maps it), named
once in the files' own letter case and once all in capitals (folders and files), so that every
name is found by its folder's listing. Prints ms per song for both, their ratio, and the folders
the second run listed (directory reads that reached the folder).

    case_folder_bench.py FONAREL_WRITE FONAREL_CATALOGUE [SONGS] [FOLDERS] [DELAY_MS]
        (1000 songs, 10 folders, 0.5 ms a call)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from shared_folder_bench import master_song  # noqa: E402

RUNS = 3


def catalogue(tool, work, name, songs, folders, capitals):
    description = os.path.join(work, name + ".tsv")
    with open(description, "w") as f:
        for folder in range(folders):
            path = "M:\\\\Acervo\\\\Pasta%02d\\\\" % folder
            f.write("Tb_Pastas\tPAS_CODIGO=%d\tPAS_PATH=%s\n" % (folder + 1, path.upper() if capitals else path))
        for i in range(songs):
            name_ = "Song%04d.mp3" % i
            f.write("Tb_Musicas\tMUS_CODIGO=%d\tPAS_CODIGO=%d\tMUS_ARQUIVO=%s\tMUS_NOME=Song %d\tMUS_NOMECOMPLETO=SONG %d\n"
                    % (i + 1, i % folders + 1, name_.upper() if capitals else name_, i, i))
    database = os.path.join(work, name + ".fdb")
    subprocess.run([tool, "--replace", database, description], check=True, capture_output=True)
    return database


def mount_delayed(real, mount, delay, ops):
    server = subprocess.Popen([sys.executable, os.path.join(HERE, "delayed_folder.py"), real, mount, str(delay),
                               os.devnull, ops])
    deadline = time.monotonic() + 20
    while not os.path.ismount(mount) and time.monotonic() < deadline:
        time.sleep(0.05)
    if not os.path.ismount(mount):
        server.kill()
        raise SystemExit("case_folder_bench: the delayed folder could not be mounted")
    return server


def main():
    write, tool = sys.argv[1], sys.argv[2]
    songs = int(sys.argv[3]) if len(sys.argv) > 3 else 1000
    folders = int(sys.argv[4]) if len(sys.argv) > 4 else 10
    delay = float(sys.argv[5]) if len(sys.argv) > 5 else 0.5
    with tempfile.TemporaryDirectory(prefix="fonarel-case-") as work:
        real, mount, ops = os.path.join(work, "real"), os.path.join(work, "mnt"), os.path.join(work, "ops")
        os.makedirs(mount)
        master = master_song(work, 5)
        for i in range(songs):
            folder = os.path.join(real, "Acervo", "Pasta%02d" % (i % folders))
            os.makedirs(folder, exist_ok=True)
            shutil.copyfile(master, os.path.join(folder, "Song%04d.mp3" % i))
        databases = {capitals: catalogue(tool, work, "caps" if capitals else "exact", songs, folders, capitals)
                     for capitals in (False, True)}
        server = mount_delayed(real, mount, delay, ops)
        try:
            def timed(capitals, *args):
                ini = os.path.join(work, "RevoZadoz.ini")
                with open(ini, "w") as f:
                    f.write("[BANCO]\ncaminho=%s\n[PASTAS]\nM:\\=%s\n" % (databases[capitals], mount))
                start = time.monotonic()
                subprocess.run([write, "--ini", ini, "--quiet", *args], check=True, stderr=subprocess.DEVNULL)
                return time.monotonic() - start
            # The first run gives every song its tag; the runs after it rewrite it in place.
            timed(False)
            figures = {}
            for capitals in (False, True):
                whole = min(timed(capitals) for _ in range(RUNS))
                empty = min(timed(capitals, "--code", "0") for _ in range(RUNS))
                figures[capitals] = (whole - empty) * 1000 / songs
            calls = {}
            for capitals in (False, True):
                open(ops, "w").close()
                timed(capitals)
                with open(ops, encoding="utf-8", errors="replace") as f:
                    calls[capitals] = [line.split(" ", 1)[0] for line in f]
            listed = calls[True].count("readdir")
        finally:
            subprocess.run(["fusermount3", "-u", mount], check=False)
            server.wait(timeout=20)
        print("%d songs in %d folders, %g ms a call, --jobs 4; ms per song" % (songs, folders, delay))
        print("names in the files' letter case: %8.2f" % figures[False])
        print("names all in capitals:           %8.2f   (%.2fx)" % (figures[True], figures[True] / figures[False]))
        print("calls that reached the folder: %d in the files' case, %d in capitals"
              % (len(calls[False]), len(calls[True])))
        print("folders listed by the capitals' run: %d" % listed)
        if os.environ.get("CASE_BENCH_OPS"):
            for capitals in (False, True):
                print({op: calls[capitals].count(op) for op in sorted(set(calls[capitals]))})
    return 0


if __name__ == "__main__":
    sys.exit(main())
