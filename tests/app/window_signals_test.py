#!/usr/bin/python3
"""The window as a program, idle over an embedded catalogue, given SIGTERM, SIGINT and SIGHUP:
each closes it as "&Fechar" does, with status 0, and leaves the catalogue closed (fonarel-write
then opens it, which the embedded engine refuses while another program has it open: the command
says so in its own words and how to go on).

    window_signals_test.py FONAREL FONAREL_WRITE FONAREL_CATALOGUE
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_program import wait_until_open, window_over_catalogue  # noqa: E402


def main():
    window, write, tool = sys.argv[1:4]
    faults = []
    with tempfile.TemporaryDirectory(prefix="fonarel-window-signals-") as work:
        program, database = window_over_catalogue(window, tool, work)
        for stop in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            process = subprocess.Popen([program], env={**os.environ, "QT_QPA_PLATFORM": "offscreen"},
                                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            wait_until_open(process, database)
            time.sleep(0.3)  # the first song query, then the idle window
            refused = subprocess.run([write, "--database", database, "--dry-run", "--quiet"], capture_output=True,
                                     text=True)
            if refused.returncode != 2 or "is open in another program on this machine" not in refused.stderr \
                    or "localhost:" + database not in refused.stderr:
                faults.append("%s: the command over the window's catalogue ended with %d: %s"
                              % (stop.name, refused.returncode, refused.stderr.strip()))
            start = time.monotonic()
            process.send_signal(stop)
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                faults.append("%s: the window did not end" % stop.name)
                continue
            took = time.monotonic() - start
            if process.returncode != 0:
                faults.append("%s: the window ended with %d" % (stop.name, process.returncode))
            # Status 2 is a catalogue that does not open; its one song, a.mp3, is not there (1).
            reopened = subprocess.run([write, "--database", database, "--dry-run", "--quiet"], capture_output=True)
            if reopened.returncode not in (0, 1):
                faults.append("%s: the catalogue was not closed: %s" % (stop.name, reopened.stderr.decode().strip()))
            print("%s: the idle window closed in %.2f s with status %d" % (stop.name, took, process.returncode))
    print("%d signals, %d faults" % (3, len(faults)))
    for fault in faults:
        print("FAULT " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
