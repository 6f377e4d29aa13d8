"""The songs the tests of the window as a program write: 40 songs of 30 s (19 MB), what each was
and what a run makes of it."""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tagkit"))
from song_bytes import make_masters, read  # noqa: E402

SONGS = 40


class Songs:
    """40 songs of 30 s, half with a tag the run rewrites in place, half rebuilt; what each was and
    what the run makes of it."""

    def __init__(self, work, write, database):
        self.folder = os.path.join(work, "songs")
        os.makedirs(self.folder)
        self.masters = make_masters(work, 660, 30)
        self.names = ["song%02d.mp3" % i for i in range(SONGS)]
        self.old = [read(self.masters[i % 2]) for i in range(SONGS)]
        self.write, self.database = write, database

    def lay_out(self):
        for i, name in enumerate(self.names):
            shutil.copyfile(self.masters[i % 2], os.path.join(self.folder, name))
        self.stamps = self.stamp()

    def stamp(self):
        return [os.stat(os.path.join(self.folder, name)).st_mtime_ns for name in self.names]

    def written_count(self):
        return sum(a != b for a, b in zip(self.stamps, self.stamp()))

    def learn_new(self):
        """The songs as the command writes them (the window writes the same bytes)."""
        self.lay_out()
        subprocess.run([self.write, "--database", self.database, "--quiet"], check=True)
        self.new = [read(os.path.join(self.folder, name)) for name in self.names]

    def damaged(self):
        """The songs that are neither their old file nor their new one."""
        return [name for name, old, new in zip(self.names, self.old, self.new)
                if read(os.path.join(self.folder, name)) not in (old, new)]

    def new_count(self):
        return sum(read(os.path.join(self.folder, name)) == new for name, new in zip(self.names, self.new))

    def leftovers(self):
        """The temporary files left in the folder."""
        return sorted(name for name in os.listdir(self.folder) if name.endswith("~"))

    def faults(self):
        return ["%s is neither its old file nor its new one" % name for name in self.damaged()] + \
            ["%s was left" % name for name in self.leftovers()]
