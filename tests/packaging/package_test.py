"""The Debian package as CPack builds it from the build tree.

    package_test.py CPACK CPACK_CONFIG VERSION WORK

Builds fonarel_VERSION_ARCH.deb in WORK and checks what it holds (dpkg-deb -c), its control
fields and configuration files, that lintian finds no error in it, and that the programs
extracted from it (dpkg-deb -x) start."""
import os
import shutil
import signal
import subprocess
import sys
import time
import unittest

CPACK, CONFIG, VERSION, WORK = sys.argv[1:5]


def run(*command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(WORK, ignore_errors=True)
        os.makedirs(WORK)
        built = run(CPACK, "--config", CONFIG, "-B", WORK)
        if built.returncode != 0:
            raise AssertionError("cpack failed:\n" + built.stdout + built.stderr)
        arch = run("dpkg", "--print-architecture").stdout.strip()
        cls.deb = os.path.join(WORK, "fonarel_%s_%s.deb" % (VERSION, arch))
        if not os.path.isfile(cls.deb):
            raise AssertionError("no %s among %s" % (cls.deb, os.listdir(WORK)))
        cls.root = os.path.join(WORK, "root")
        subprocess.run(["dpkg-deb", "-x", cls.deb, cls.root], check=True)

    def field(self, name):
        return run("dpkg-deb", "-f", self.deb, name).stdout.strip()

    def test_contents(self):
        listing = run("dpkg-deb", "-c", self.deb).stdout.splitlines()
        entries = {}
        for line in listing:
            mode, owner, _size, _date, _time, rest = line.split(None, 5)
            name, _, target = rest.partition(" -> ")
            entries[name] = (mode, owner, target)
        expected = {
            "./usr/libexec/fonarel/fonarel": "-rwxr-xr-x",
            "./usr/libexec/fonarel/fonarel-write": "-rwxr-xr-x",
            "./etc/fonarel/RevoZadoz.ini": "-rw-r--r--",
            "./usr/share/man/man1/fonarel.1.gz": "-rw-r--r--",
            "./usr/share/man/man1/fonarel-write.1.gz": "-rw-r--r--",
            "./usr/share/applications/fonarel.desktop": "-rw-r--r--",
            "./usr/share/icons/hicolor/scalable/apps/fonarel.svg": "-rw-r--r--",
            "./usr/share/doc/fonarel/copyright": "-rw-r--r--",
            "./usr/share/doc/fonarel/changelog.gz": "-rw-r--r--",
        }
        links = {
            "./usr/bin/fonarel": "../libexec/fonarel/fonarel",
            "./usr/bin/fonarel-write": "../libexec/fonarel/fonarel-write",
            "./usr/libexec/fonarel/RevoZadoz.ini": "/etc/fonarel/RevoZadoz.ini",
        }
        for name, mode in expected.items():
            with self.subTest(name=name):
                self.assertIn(name, entries)
                self.assertEqual(entries[name][:2], (mode, "root/root"))
        for name, target in links.items():
            with self.subTest(name=name):
                self.assertIn(name, entries)
                self.assertEqual(entries[name][2], target)
        stray = [n for n, (mode, _, _) in entries.items()
                 if not mode.startswith("d") and n not in expected and n not in links]
        self.assertEqual(stray, [])

    def test_control(self):
        depends = [d.strip() for d in self.field("Depends").split(",")]
        names = [d.split()[0] for d in depends]
        self.assertEqual([n for n in names if n.endswith("-dev")], [])
        for needed in ("libfbclient2", "libqt6widgets6", "libc6", "adduser"):
            self.assertIn(needed, names)
        self.assertEqual(self.field("Recommends"), "firebird3.0-server-core, fonts-wine")
        self.assertEqual(self.field("Version"), VERSION)
        conffiles = run("dpkg-deb", "-I", self.deb, "conffiles").stdout.split()
        self.assertEqual(conffiles, ["/etc/fonarel/RevoZadoz.ini"])

    def test_lintian_finds_no_error(self):
        if shutil.which("lintian") is None:
            self.skipTest("lintian is not installed (scripts/deps installs it)")
        report = run("lintian", "--no-cfg", self.deb).stdout
        sys.stderr.write("lintian:\n" + report)
        self.assertEqual([l for l in report.splitlines() if l.startswith("E:")], [])

    def test_extracted_programs_start(self):
        write = os.path.join(self.root, "usr/bin/fonarel-write")
        version = run(write, "--version")
        self.assertEqual((version.returncode, version.stdout), (0, "fonarel-write (Fonarel 2010) %s\n" % VERSION))
        usage = run(write, "--help")
        self.assertEqual(usage.returncode, 0)
        self.assertIn("--database", usage.stdout)
        # The window, without the link to this machine's /etc, opens and waits on its message that
        # the configuration is missing; a missing library would end it at once.
        os.remove(os.path.join(self.root, "usr/libexec/fonarel/RevoZadoz.ini"))
        window = subprocess.Popen([os.path.join(self.root, "usr/bin/fonarel")],
                                  env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        try:
            time.sleep(3)
            ended = window.poll()
            if ended is not None:
                self.fail("the window ended with %d: %s" % (ended, window.stdout.read().decode(errors="replace")))
        finally:
            if window.poll() is None:
                window.send_signal(signal.SIGKILL)
            window.communicate()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
