#!/usr/bin/python3
"""An office's workstation at the end of the day, all on the embedded engine: the window's "Gravar
Todas" under Xvfb, `fonarel-write --jobs 4` and `fonarel-write --jobs 1`, each over its own copy of
one catalogue of the same 40 songs (19 MB); the `--jobs 1` killed with SIGKILL at a random moment.
When the window's run has ended and its closing message is dismissed, the session ends: SIGTERM to
the window and its display gone. No process may be alive 10 s later, every song must be its old file
or its new one, and the catalogues must open again at once. scripts/office-race-test runs it (not
CTest: a round takes seconds and the case is rare).

    office_race_test.py FONAREL FONAREL_WRITE FONAREL_CATALOGUE [ROUNDS] [SEED]
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
from song_folder import SONGS, Songs  # noqa: E402
from window_program import Display, make_catalogue, wait_until_open, window_beside  # noqa: E402

GONE_WITHIN = 10.0


def end_of(process, timeout):
    """The process's status once it ended within timeout; None (and it is killed) when it did not."""
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return None


def round_of(program, write, songs, catalogues, rng, alone):
    """One day's end; (its line, its faults)."""
    faults = []
    songs.lay_out()
    display = Display()
    window = subprocess.Popen([program], env=display.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    commands = []
    try:
        if not wait_until_open(window, catalogues["window"]) or not display.click_write_all():
            return "the window did not open", ["the window did not open (status %s)" % window.poll()]
        commands = [subprocess.Popen([write, "--database", catalogues[jobs], "--quiet", "--jobs", jobs],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE) for jobs in ("4", "1")]
        killed_after = rng.uniform(0, alone)
        time.sleep(killed_after)
        commands[1].send_signal(signal.SIGKILL)
        killed = "killed %.2f s in" % killed_after if commands[1].wait() == -signal.SIGKILL else "ended before its kill"
        if not display.dismiss_closing_message(60):
            faults.append("the window's run did not end with its closing message")
        jobs4 = end_of(commands[0], 60)
        _, err = commands[0].communicate()
        only_busy = all(b": busy: " in line for line in err.splitlines())
        if not (jobs4 == 0 or (jobs4 == 1 and only_busy)):
            faults.append("--jobs 4 ended with %s: %s" % (jobs4, err.decode(errors="replace").strip()))
        # The session ends: the signal and the display's end come in either order.
        display_first = rng.random() < 0.5
        logout = time.monotonic()
        if display_first:
            display.kill()
        window.send_signal(signal.SIGTERM)
        display.kill()
        status = end_of(window, GONE_WITHIN)
        gone = time.monotonic() - logout
        if status is None:
            faults.append("the window was alive %.0f s after the logout" % GONE_WITHIN)
    finally:
        for process in [window] + commands:
            if process.poll() is None:
                process.kill()
                process.wait()
        display.kill()
    faults += ["%s is neither its old file nor its new one" % name for name in songs.damaged()]
    stale = songs.leftovers()
    line = "window gone %.2f s after the logout (%s first; status %s), --jobs 4 ended %s, --jobs 1 %s; " \
           "%d songs new, %d old, %d temporary files left by the kill" % (
               gone, "display" if display_first else "SIGTERM", status, jobs4, killed, songs.new_count(), SONGS - songs.new_count() - len(songs.damaged()),
               len(stale))
    # Every catalogue opens again at once; the run over the killed writer's also takes its leftovers.
    for name, database in catalogues.items():
        try:
            again = subprocess.run([write, "--database", database, "--quiet"], capture_output=True, timeout=30)
            if again.returncode != 0:
                faults.append("%s's catalogue then gave %d: %s" % (name, again.returncode, again.stderr.decode().strip()))
        except subprocess.TimeoutExpired:
            faults.append("%s's catalogue could not be opened again" % name)
    if songs.leftovers():
        faults.append("left after the runs that followed: %s" % ", ".join(songs.leftovers()))
    return line, faults


def main():
    window, write, tool = sys.argv[1:4]
    rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 20
    seed = int(sys.argv[5]) if len(sys.argv) > 5 else 2010
    rng = random.Random(seed)
    faults = []
    with tempfile.TemporaryDirectory(prefix="fonarel-office-race-") as work:
        original = os.path.join(work, "catalogue.fdb")
        songs = Songs(work, write, original)
        make_catalogue(tool, original, songs.folder, songs.names)
        songs.learn_new()
        catalogues = {}
        for name in ("window", "4", "1"):
            catalogues[name] = os.path.join(work, "catalogue-%s.fdb" % name)
            shutil.copyfile(original, catalogues[name])
        program = window_beside(window, work, catalogues["window"])
        # The --jobs 1 is killed within the time it takes alone, its start included.
        songs.lay_out()
        start = time.monotonic()
        subprocess.run([write, "--database", catalogues["1"], "--quiet", "--jobs", "1"], check=True)
        alone = time.monotonic() - start
        print("--jobs 1 alone takes %.2f s" % alone)
        for n in range(1, rounds + 1):
            line, found = round_of(program, write, songs, catalogues, rng, alone)
            print("round %d: %s%s" % (n, line, "".join("\n  FAULT " + f for f in found)))
            sys.stdout.flush()
            faults += ["round %d: %s" % (n, f) for f in found]
    print("%d rounds (seed %d), %d faults" % (rounds, seed, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
