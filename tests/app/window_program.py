"""The window as a program for the tests that run it from outside: a copy of it in a folder, beside
a RevoZadoz.ini naming a one-song embedded catalogue there; and whether a process has a file open."""
import os
import shutil
import subprocess


def window_over_catalogue(window, tool, work):
    """(the window's copy in work, the catalogue's path)."""
    database = os.path.join(work, "catalogue.fdb")
    with open(os.path.join(work, "catalogue.tsv"), "w") as f:
        f.write("Tb_Pastas\tPAS_CODIGO=1\tPAS_PATH=%s/\n" % work)
        f.write("Tb_Musicas\tMUS_CODIGO=1\tPAS_CODIGO=1\tMUS_ARQUIVO=a.mp3\tMUS_NOMECOMPLETO=SONG A\n")
    subprocess.run([tool, database, os.path.join(work, "catalogue.tsv")], check=True, capture_output=True)
    # The window reads RevoZadoz.ini beside its executable.
    program = os.path.join(work, "fonarel")
    shutil.copy(window, program)
    with open(os.path.join(work, "RevoZadoz.ini"), "w") as f:
        f.write("[BANCO]\ncaminho=%s\n" % database)
    return program, database


def has_open(pid, path):
    fds = "/proc/%d/fd" % pid
    try:
        return any(os.path.realpath(os.path.join(fds, fd)) == path for fd in os.listdir(fds))
    except OSError:
        return False
