#!/usr/bin/python3
"""The window as a program under Xvfb, over an embedded catalogue, when its X display goes away:
idle, and just after SIGTERM. Qt's display plugin then calls exit(1); the process must be gone
within 5 s whatever the engine's shutdown does, and leave the catalogue closed (fonarel-write opens
it again at once).

    window_display_loss_test.py FONAREL FONAREL_WRITE FONAREL_CATALOGUE [ROUNDS]

Each round runs both cases; one line per case, then a count of the faults.
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_program import has_open, window_over_catalogue  # noqa: E402

GONE_WITHIN = 5.0


def start_display():
    """An Xvfb on a display it picks itself; (process, display name)."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0", "1024x768x24"],
                              pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        number = f.readline().strip()
    if not number:
        server.kill()
        server.wait()
        raise RuntimeError("Xvfb did not start")
    return server, ":" + number


def run_case(program, write, database, after_sigterm):
    """What became of one window whose display was killed; a fault's text, or None."""
    server, display = start_display()
    env = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY")}
    env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb")
    window = subprocess.Popen([program], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 20
        while not has_open(window.pid, database) and window.poll() is None and time.monotonic() < deadline:
            time.sleep(0.05)
        if window.poll() is not None:
            return "the window ended before its display did (status %d)" % window.returncode, None
        time.sleep(0.5)  # the first song query, then the idle window
        start = time.monotonic()
        if after_sigterm:
            window.send_signal(signal.SIGTERM)
        server.kill()
        server.wait()
        try:
            window.wait(timeout=GONE_WITHIN)
        except subprocess.TimeoutExpired:
            return "the window was still there %.0f s after its display went away" % GONE_WITHIN, None
        took = time.monotonic() - start
    finally:
        if window.poll() is None:
            window.kill()
            window.wait()
        if server.poll() is None:
            server.kill()
            server.wait()
    try:
        reopened = subprocess.run([write, "--database", database, "--dry-run", "--quiet"], capture_output=True,
                                  timeout=20)
    except subprocess.TimeoutExpired:
        return "the catalogue could not be opened again", took
    if reopened.returncode != 0:
        return "the catalogue was not closed: %s" % reopened.stderr.decode().strip(), took
    return None, (took, window.returncode)


def main():
    window, write, tool = sys.argv[1:4]
    rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 3
    faults = []
    cases = 0
    with tempfile.TemporaryDirectory(prefix="fonarel-display-loss-") as work:
        program, database = window_over_catalogue(window, tool, work)
        for n in range(1, rounds + 1):
            for after_sigterm in (False, True):
                case = "round %d, %s" % (n, "after SIGTERM" if after_sigterm else "idle")
                cases += 1
                fault, outcome = run_case(program, write, database, after_sigterm)
                if fault:
                    faults.append("%s: %s" % (case, fault))
                    print("%s: FAULT %s" % (case, fault))
                else:
                    print("%s: gone %.2f s after its display, status %d" % (case, outcome[0], outcome[1]))
                sys.stdout.flush()
    print("%d cases, %d faults" % (cases, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
