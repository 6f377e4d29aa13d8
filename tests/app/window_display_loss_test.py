#!/usr/bin/python3
"""The window as a program under Xvfb, over an embedded catalogue of 40 songs, when its X display
goes away: idle, just after SIGTERM, and in the middle of "Gravar Todas". Qt's display plugin then
calls exit(1); the process must be gone within 5 s whatever the engine's shutdown does, and leave
the catalogue closed (fonarel-write opens it again at once). A run cut short leaves every song as it
was or as the run writes it, and no temporary file.

    window_display_loss_test.py FONAREL FONAREL_WRITE FONAREL_CATALOGUE [ROUNDS]

Each round runs the three cases; one line per case, then a count of the faults.
"""
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from song_folder import SONGS, Songs  # noqa: E402
from window_program import Display, make_catalogue, wait_until_open, window_beside  # noqa: E402

GONE_WITHIN = 5.0


def run_case(program, songs, case, rng):
    """What became of one window whose display was killed; (fault or None, seconds, status, songs
    written when the display went and when the window was gone)."""
    display = Display()
    window = subprocess.Popen([program], env=display.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    written = 0
    try:
        if not wait_until_open(window, songs.database):
            return "the window ended before its display did (status %s)" % window.poll(), 0, 0, 0
        if case == "during a run":
            if not display.click_write_all():
                return "the window was never shown", 0, 0, 0
            goal = rng.randint(1, SONGS // 2)
            deadline = time.monotonic() + 20
            while songs.written_count() < goal and time.monotonic() < deadline:
                time.sleep(0.001)
            written = songs.written_count()
        else:
            time.sleep(0.5)  # the first song query, then the idle window
        start = time.monotonic()
        if case == "after SIGTERM":
            window.send_signal(signal.SIGTERM)
        display.kill()
        try:
            window.wait(timeout=GONE_WITHIN)
        except subprocess.TimeoutExpired:
            return "the window was still there %.0f s after its display went away" % GONE_WITHIN, 0, 0, written
        took = time.monotonic() - start
        if case == "during a run":
            written = (written, songs.written_count())
    finally:
        if window.poll() is None:
            window.kill()
            window.wait()
        display.kill()
    damaged = songs.faults()
    if damaged:
        return "; ".join(damaged), took, window.returncode, written
    try:
        reopened = subprocess.run([songs.write, "--database", songs.database, "--dry-run", "--quiet"],
                                  capture_output=True, timeout=20)
    except subprocess.TimeoutExpired:
        return "the catalogue could not be opened again", took, window.returncode, written
    if reopened.returncode != 0:
        return "the catalogue was not closed: %s" % reopened.stderr.decode().strip(), took, window.returncode, written
    return None, took, window.returncode, written


def main():
    window, write, tool = sys.argv[1:4]
    rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 3
    rng = random.Random(2010)
    faults = []
    cases = 0
    with tempfile.TemporaryDirectory(prefix="fonarel-display-loss-") as work:
        database = os.path.join(work, "catalogue.fdb")
        songs = Songs(work, write, database)
        make_catalogue(tool, database, songs.folder, songs.names)
        program = window_beside(window, work, database)
        songs.learn_new()
        for n in range(1, rounds + 1):
            for case in ("idle", "after SIGTERM", "during a run"):
                songs.lay_out()
                cases += 1
                fault, took, status, written = run_case(program, songs, case, rng)
                during = ""
                if case == "during a run" and not fault:
                    during = " (%d of %d songs written as its display went, %d when it was gone)" % (written[0], SONGS, written[1])
                if fault:
                    faults.append("round %d, %s: %s" % (n, case, fault))
                    print("round %d, %s%s: FAULT %s" % (n, case, during, fault))
                else:
                    print("round %d, %s%s: gone %.2f s after its display, status %d" % (n, case, during, took, status))
                sys.stdout.flush()
    print("%d cases, %d faults" % (cases, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
