"""The window as a program for the tests that run it from outside: a copy of it in a folder, beside
a RevoZadoz.ini naming an embedded catalogue there; whether a process has a file open; an X display
of its own, and the window's "Gravar Todas" and closing message driven there as a user would."""
import os
import shutil
import subprocess
import time

WINDOW_TITLE = "Fonarel 2010"
# The middle of "Gravar Todas" in the window's client area (its rectangle is 138, 362, 150 x 28).
WRITE_ALL_AT = (213, 376)


def make_catalogue(tool, database, folder, names):
    """An embedded catalogue listing the songs `names` in `folder`, titled SONG 1, SONG 2, ..."""
    description = database + ".tsv"
    with open(description, "w") as f:
        f.write("Tb_Pastas\tPAS_CODIGO=1\tPAS_PATH=%s/\n" % folder)
        for i, name in enumerate(names, 1):
            f.write("Tb_Musicas\tMUS_CODIGO=%d\tPAS_CODIGO=1\tMUS_ARQUIVO=%s\tMUS_NOMECOMPLETO=SONG %d\n" % (i, name, i))
    subprocess.run([tool, "--replace", database, description], check=True, capture_output=True)


def window_beside(window, folder, database):
    """The window's copy in folder, whose RevoZadoz.ini (read beside the executable) names database."""
    program = os.path.join(folder, "fonarel")
    shutil.copy(window, program)
    with open(os.path.join(folder, "RevoZadoz.ini"), "w") as f:
        f.write("[BANCO]\ncaminho=%s\n" % database)
    return program


def window_over_catalogue(window, tool, work):
    """(the window's copy in work, the path of its catalogue of one song, a.mp3 in work)."""
    database = os.path.join(work, "catalogue.fdb")
    make_catalogue(tool, database, work, ["a.mp3"])
    return window_beside(window, work, database), database


def has_open(pid, path):
    fds = "/proc/%d/fd" % pid
    try:
        return any(os.path.realpath(os.path.join(fds, fd)) == path for fd in os.listdir(fds))
    except OSError:
        return False


def wait_until_open(process, path, timeout=20):
    """Whether the process opened path (its catalogue) before it ended or the time ran out."""
    deadline = time.monotonic() + timeout
    while not has_open(process.pid, path) and process.poll() is None and time.monotonic() < deadline:
        time.sleep(0.05)
    return has_open(process.pid, path)


class Display:
    """An Xvfb on a display number it picks itself, and xdotool over it."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0",
                                        "1024x768x24"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        os.close(write_end)
        self.clicks = []
        with os.fdopen(read_end) as f:
            number = f.readline().strip()
        if not number:
            self.kill()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number
        self.env = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY")}
        self.env.update(DISPLAY=self.name, QT_QPA_PLATFORM="xcb")

    def kill(self):
        """The display goes away, as at the end of a session."""
        if self.server.poll() is None:
            self.server.kill()
        self.server.wait()
        for click in self.clicks:
            click.wait()

    def xdotool(self, *arguments):
        done = subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True, text=True)
        return done.stdout.split() if done.returncode == 0 else []

    def windows(self):
        """The shown windows titled as the program is: the main one first, then any message."""
        return self.xdotool("search", "--onlyvisible", "--name", "^%s$" % WINDOW_TITLE)

    def wait_for_windows(self, count, timeout):
        deadline = time.monotonic() + timeout
        while len(self.windows()) < count and time.monotonic() < deadline:
            time.sleep(0.05)
        return self.windows()

    def click_write_all(self):
        """Clicks "Gravar Todas" in the main window, without waiting for xdotool to end (the run
        may be over by then); whether there was a window."""
        shown = self.wait_for_windows(1, 20)
        if not shown:
            return False
        x, y = WRITE_ALL_AT
        self.clicks.append(subprocess.Popen(["xdotool", "mousemove", "--window", shown[0], str(x), str(y), "click", "1"],
                                            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        return True

    def dismiss_closing_message(self, timeout):
        """Waits for the message that ends a run and presses Enter on it; whether it came."""
        shown = self.wait_for_windows(2, timeout)
        if len(shown) < 2:
            return False
        self.xdotool("windowfocus", "--sync", shown[-1], "key", "Return")
        deadline = time.monotonic() + 5
        while len(self.windows()) > 1 and time.monotonic() < deadline:
            time.sleep(0.05)
        return len(self.windows()) == 1
