#!/usr/bin/python3
"""fonarel-write over an embedded catalogue whose engine another process holds (a helper holding the
engine's start-up lock as an engine does while it starts or shuts down, in a lock folder of the
test's own): the attach would wait without end. The command gives up after --open-wait with the
holder's name and status 2; a SIGTERM during that wait ends it, and the window, at once with 143
(the command with its summary).

    engine_held_test.py FONAREL_WRITE FONAREL_CATALOGUE FONAREL
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HOLDER = """
import fcntl, sys, time
lock = open(sys.argv[1], "a")
fcntl.flock(lock, fcntl.LOCK_EX)
print("held", flush=True)
time.sleep(120)
"""


def main():
    write, tool, window = sys.argv[1:4]
    faults = []
    with tempfile.TemporaryDirectory(prefix="fonarel-engine-held-") as work:
        locks = os.path.join(work, "locks")
        os.mkdir(locks)
        env = {**os.environ, "FIREBIRD_LOCK": locks}
        database = os.path.join(work, "catalogue.fdb")
        with open(os.path.join(work, "catalogue.tsv"), "w") as f:
            f.write("Tb_Pastas\tPAS_CODIGO=1\tPAS_PATH=%s/\n" % work)
            f.write("Tb_Musicas\tMUS_CODIGO=1\tPAS_CODIGO=1\tMUS_ARQUIVO=a.txt\tMUS_NOMECOMPLETO=SONG A\n")
        subprocess.run([tool, database, os.path.join(work, "catalogue.tsv")], check=True, capture_output=True, env=env)
        holder = subprocess.Popen([sys.executable, "-c", HOLDER, os.path.join(locks, "fb_init")],
                                  stdout=subprocess.PIPE, text=True)
        try:
            assert holder.stdout.readline().strip() == "held"
            command = [write, "--database", database, "--dry-run"]

            start = time.monotonic()
            given_up = subprocess.run(command + ["--open-wait", "1.5"], capture_output=True, text=True, env=env,
                                      timeout=30)
            took = time.monotonic() - start
            print("held engine: status %d after %.2f s: %s" % (given_up.returncode, took, given_up.stderr.strip()))
            if given_up.returncode != 2 or not 1.4 < took < 5:
                faults.append("the wait for a held engine ended with %d after %.2f s" % (given_up.returncode, took))
            if "did not open within 1.5 s" not in given_up.stderr or "(%d)" % holder.pid not in given_up.stderr:
                faults.append("the message does not name the wait and the holder: " + given_up.stderr)

            # The window reads RevoZadoz.ini beside its executable.
            program = os.path.join(work, "fonarel")
            shutil.copy(window, program)
            with open(os.path.join(work, "RevoZadoz.ini"), "w") as f:
                f.write("[BANCO]\ncaminho=%s\n" % database)
            for name, argv in (("command", command), ("window", [program])):
                waiting = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                                           env={**env, "QT_QPA_PLATFORM": "offscreen"})
                time.sleep(1)
                start = time.monotonic()
                waiting.send_signal(signal.SIGTERM)
                try:
                    out, err = waiting.communicate(timeout=10)
                except subprocess.TimeoutExpired:
                    waiting.kill()
                    out, err = waiting.communicate()
                took = time.monotonic() - start
                print("SIGTERM to the %s while it waits: status %d after %.2f s" % (name, waiting.returncode, took))
                if waiting.returncode != 143 or took > 1:
                    faults.append("SIGTERM to the %s while it waits ended it with %d after %.2f s"
                                  % (name, waiting.returncode, took))
                if name == "command" and ("interrupted before the songs were listed" not in out
                                          or "songs listed:" not in out):
                    faults.append("no summary after SIGTERM while waiting: " + out + err)
        finally:
            holder.kill()
            holder.wait()
        # Released, the same catalogue opens at once.
        reopened = subprocess.run(command + ["--quiet"], capture_output=True, text=True, env=env, timeout=30)
        if reopened.returncode != 0:
            faults.append("the catalogue did not open once released: " + reopened.stderr)
    for fault in faults:
        print("FAULT " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
