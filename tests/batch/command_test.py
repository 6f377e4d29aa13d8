#!/usr/bin/env python3
"""fonarel-write from outside, over the demo catalogue's mixed folder of real lame files (tags of
every version, ID3v1 only, none, invalid audio, a picture, missing files), embedded and through
the loopback server (FONAREL_FB_SERVER).

    command_test.py FONAREL_WRITE FONAREL_CATALOGUE SOURCE_DIR [unittest arguments]

mutagen reads every song before and after a run, independently of our own reader."""
import errno
import fcntl
import hashlib
import os
import pty
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest
from pathlib import Path

from mutagen.id3 import ID3, ID3NoHeaderError

WRITE, CATALOGUE_TOOL, SOURCE = (Path(a) for a in sys.argv[1:4])
del sys.argv[1:4]
SERVER = os.environ.get("FONAREL_FB_SERVER", "")
# The demo lists three songs whose files are missing and one whose audio is not recognised: a run
# over all of it leaves those four without the catalogue's tag and ends with status 1.
DEMO_STATUS = 1
UNDER_CI = os.environ.get("CI") == "true"

# Version 2.2 frame IDs as the system reads them (its frame table), for lining up old and new tags.
V22_AS_V23 = {
    "TT2": "TIT2", "TP1": "TPE1", "TAL": "TALB", "TRK": "TRCK", "TYE": "TYER", "TCO": "TCON",
    "COM": "COMM", "TCM": "TCOM", "TEN": "TENC", "TCR": "TCOP", "TLA": "TLAN", "WXX": "WXXX",
    "TOR": "TDRC", "TOA": "TOPE", "TT1": "TIT1", "TOT": "TOAL", "TRI": "TRIT", "POP": "POPM",
}


# --- the demo catalogue ------------------------------------------------------------------------

class Demo:
    """The demo catalogue made once in a scratch folder, its songs kept aside to be put back."""

    def __init__(self):
        self.root = Path(tempfile.mkdtemp(prefix="fonarel-write-test."))
        os.chmod(self.root, 0o777)
        run([sys.executable, str(SOURCE / "tools/demo/make-demo"), "--root", str(self.root),
             "--catalogue-tool", str(CATALOGUE_TOOL)], check=True, capture_output=True)
        self.folder = self.root / "demo"
        os.chmod(self.folder, 0o777)
        self.songs = self.folder / "musicas"
        self.pristine = self.root / "pristine"
        shutil.copytree(self.songs, self.pristine, symlinks=True)
        self.description = (self.folder / "catalogue.tsv").read_bytes()

    def database(self, server, name="catalogue.fdb", description=None):
        """The catalogue for a backend: the demo's own file, or a copy the server makes."""
        if not server and description is None and name == "catalogue.fdb":
            return str(self.folder / name)
        path = self.folder / name
        database = f"{SERVER}:{path}" if server else str(path)
        source = self.folder / (name + ".tsv")
        source.write_bytes(description if description is not None else self.description)
        run([str(CATALOGUE_TOOL), "--replace", database, str(source)], check=True, capture_output=True)
        return database

    def restore(self):
        shutil.rmtree(self.songs)
        shutil.copytree(self.pristine, self.songs, symlinks=True)

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def songs_columns(self):
        """Code -> {column: value (Windows-1252 decoded)} of every song of the description."""
        songs = {}
        for line in self.description.decode("ascii").splitlines():
            fields = line.split("\t")
            if fields[0] != "Tb_Musicas":
                continue
            columns = {name: unescape(value) for name, value in (f.split("=", 1) for f in fields[1:])}
            songs[int(columns["MUS_CODIGO"])] = columns
        return songs

    def full_names(self):
        """Code -> MUS_NOMECOMPLETO of every song of the description."""
        return {code: columns.get("MUS_NOMECOMPLETO", "") for code, columns in self.songs_columns().items()}


def unescape(value):
    return re.sub(rb"\\x([0-9a-fA-F]{2})", lambda m: bytes([int(m.group(1), 16)]),
                  value.encode("ascii")).decode("cp1252")


_demo = None


def demo():
    """The one demo catalogue of every test, made on first use."""
    global _demo
    if _demo is None:
        _demo = Demo()
    return _demo


def tearDownModule():
    if _demo is not None:
        _demo.remove()


def run(argv, **kwargs):
    return subprocess.run(argv, stdin=subprocess.DEVNULL, **kwargs)


def utf8_environment(env=None):
    """This process's environment with a UTF-8 character set, and the given variables over it."""
    return {**os.environ, "LC_ALL": "C.UTF-8", **(env or {})}


def command(*args, env=None, **kwargs):
    return run([str(WRITE), *args], capture_output=True, env=utf8_environment(env), **kwargs)


def file_states(folder):
    """Path -> (SHA-256, modification time) of every file."""
    states = {}
    for path in sorted(Path(folder).rglob("*")):
        if path.is_file():
            states[str(path)] = (hashlib.sha256(path.read_bytes()).hexdigest(), path.stat().st_mtime_ns)
    return states


def report_lines(path):
    """[(code, path, outcome, [frame IDs])] of a report (its last column, the reason, aside)."""
    rows = []
    for line in Path(path).read_text("utf-8").splitlines():
        code, song, outcome, ids, _ = line.split("\t")
        rows.append((int(code), song, outcome, ids.split(",") if ids else []))
    return rows


# --- mutagen's view of a tag ---------------------------------------------------------------------

def canonical(value):
    if isinstance(value, (list, tuple)):
        return tuple(canonical(v) for v in value)
    if isinstance(value, (bytes, int, float)) or value is None:
        return value
    return str(value)


def frame_value(frame):
    """Every field of the frame but its text encoding: a text stored in another encoding is the
    same value."""
    return tuple((name, canonical(value)) for name, value in vars(frame).items()
                 if name != "encoding" and not name.startswith("_"))


TEXT_CODECS = {0: "latin-1", 1: "utf-16", 2: "utf-16-be", 3: "utf-8"}


def unknown_frame(raw, version):
    """A frame mutagen does not know (the catalogue's own text frames), from its raw bytes: ID
    and value, a text frame's value being its texts whatever their encoding."""
    header = 6 if version == 2 else 10
    frame_id, data = raw[:header - 6 + 3 if version == 2 else 4].decode("latin-1"), raw[header:]
    if frame_id.startswith("T") and data and data[0] in TEXT_CODECS:
        texts = data[1:].decode(TEXT_CODECS[data[0]], "replace").rstrip("\0").split("\0")
        return frame_id, (("text", tuple(texts)),)
    return frame_id, (("data", bytes(data)),)


def frames_of(path):
    """Frame ID (in its version 2.3 form) -> sorted frame values, as mutagen reads the file."""
    try:
        tags = ID3(path, translate=False, load_v1=False)
    except ID3NoHeaderError:
        return {}
    found = [(frame.FrameID, frame_value(frame)) for frame in tags.values()]
    found += [unknown_frame(raw, tags.version[1]) for raw in tags.unknown_frames]
    frames = {}
    for frame_id, value in found:
        frames.setdefault(V22_AS_V23.get(frame_id, frame_id), []).append(value)
    return {k: sorted(v, key=repr) for k, v in frames.items()}


# The frames a write makes from the catalogue (the frame table's), by mutagen's key.
TABLE_KEYS = {
    "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "TCOM", "TENC", "TCOP", "TLAN", "TRIT", "TINT", "TEXT",
    "TEST", "TIDM", "TCAR", "TVIN", "TMXI", "TMXF", "TRFI", "TRFF", "TCAD", "TSUC", "TGRA", "TVOC", "TTPE",
    "TPIN", "TPFI", "TPMI", "COMM::eng", "WXXX:", "POPM:",
}


# Frames version 2.3 has no place for. mutagen's conversion to 2.3 drops them by key, which misses
# those whose key holds a description (an RVA2 "track"); a write drops them all.
V24_ONLY = {"ASPI", "EQU2", "RVA2", "SEEK", "SIGN", "TDEN", "TDOR", "TDRC", "TDRL", "TDTG", "TIPL", "TMCL", "TMOO",
            "TPRO", "TSOA", "TSOP", "TSOT", "TSST"}


def other_frames(path):
    """mutagen's view of the file as an ID3v2.3 tag, outside the table's frames: key -> sorted
    values, encodings aside and a text's several values joined as a version 2.3 tag joins them."""
    try:
        tags = ID3(path, v2_version=3, load_v1=False)
    except ID3NoHeaderError:
        return {}
    frames = {}
    for key, frame in tags.items():
        if key not in TABLE_KEYS and frame.FrameID not in V24_ONLY:
            value = tuple((name, ("/".join(v),) if name == "text" else v) for name, v in frame_value(frame))
            frames.setdefault(key, []).append(value)
    for raw in tags.unknown_frames:
        frame_id = raw[:4].decode("latin-1")
        if frame_id not in TABLE_KEYS:
            frames.setdefault(frame_id, []).append(bytes(raw[10:]))
    return {key: sorted(values, key=repr) for key, values in frames.items()}


def rich_tag(path, version):
    """Replaces the song's tag by one that other programs' frames fill: pictures, lyrics, loudness
    and cue points, identifiers, a player's rating and count, dates and people."""
    from mutagen.id3 import (APIC, COMM, GEOB, PRIV, POPM, RVA2, TDOR, TDRC, TIPL, TIT2, TMCL, TMOO, TOAL, TOPE,
                             TPE2, TSSE, TXXX, UFID, USLT)
    tags = ID3()
    tags.add(TIT2(encoding=3, text="Antiga"))
    tags.add(APIC(encoding=3, mime="image/jpeg", type=3, desc="capa", data=b"\xff\xd8" + bytes(range(256)) * 160))
    tags.add(APIC(encoding=1, mime="image/png", type=4, desc="verso", data=b"\x89PNG" + b"P" * 3026))
    for desc, text in (("replaygain_track_gain", "-6.20 dB"), ("replaygain_track_peak", "0.988"),
                       ("liq_cue_in", "0.35"), ("liq_cue_out", "212.4")):
        tags.add(TXXX(encoding=3, desc=desc, text=text))
    tags.add(COMM(encoding=3, lang="eng", desc="iTunNORM", text="000001"))
    tags.add(COMM(encoding=1, lang="por", desc="nota", text="boa"))
    tags.add(USLT(encoding=3, lang="por", desc="", text="la la la"))
    tags.add(UFID(owner="http://musicbrainz.org", data=b"abc-123"))
    tags.add(PRIV(owner="WM/MediaClassPrimaryID", data=b"\x01\x02"))
    tags.add(GEOB(encoding=3, mime="application/octet-stream", filename="cues.dat", desc="DJ", data=b"xyz"))
    tags.add(POPM(email="player@example", rating=200, count=42))
    tags.add(TSSE(encoding=3, text="LAME"))
    tags.add(TOPE(encoding=3, text="Orig"))
    tags.add(TOAL(encoding=2 if version == 4 else 1, text="Disco original"))
    tags.add(TPE2(encoding=3, text=["Banda", "Outra"]))
    tags.add(TDRC(encoding=3, text="1987-05-21T13:45"))
    tags.add(TDOR(encoding=3, text="1986"))
    tags.add(TIPL(encoding=3, people=[["producer", "Ana"]]))
    tags.add(TMCL(encoding=3, people=[["guitar", "Rui"]]))
    tags.add(TMOO(encoding=3, text="calmo"))
    tags.add(RVA2(desc="track", channel=1, gain=-2.5, peak=0.5))
    tags.save(path, v2_version=version)


def changed_ids(before, after):
    return {i for i in set(before) | set(after) if before.get(i) != after.get(i)}


# --- the tests -----------------------------------------------------------------------------------

class CommandTest(unittest.TestCase):
    server = False

    @classmethod
    def setUpClass(cls):
        if cls.server and not SERVER:
            if UNDER_CI:
                raise AssertionError("FONAREL_FB_SERVER is not set under CI: the loopback server did not start")
            raise unittest.SkipTest("no Firebird server (FONAREL_FB_SERVER is not set; scripts/test starts one)")
        cls.demo = demo()
        cls.database = cls.demo.database(cls.server, "server.fdb" if cls.server else "catalogue.fdb")

    def setUp(self):
        self.demo.restore()
        self.reports = self.demo.root / "reports"
        self.reports.mkdir(exist_ok=True)

    def write(self, *args, **kwargs):
        return command("--database", self.database, *args, **kwargs)

    def test_a_dry_run_opens_no_song_for_writing_and_lists_exactly_what_the_run_then_changes(self):
        before = file_states(self.demo.songs)
        frames_before = {p: frames_of(p) for p in before}
        dry_report = self.reports / "dry.tsv"
        trace = self.reports / "dry.strace"
        result = run(["strace", "-f", "-qq", "-e", "trace=open,openat,creat,truncate,rename,renameat,renameat2,unlink,unlinkat",
                      "-o", str(trace), str(WRITE), "--database", self.database, "--dry-run",
                      "--report", str(dry_report)], capture_output=True, env=utf8_environment())
        self.assertEqual((result.returncode, result.stderr), (DEMO_STATUS, b""))
        self.assertEqual(file_states(self.demo.songs), before)
        songs_folder = str(self.demo.songs)
        touching = [line for line in trace.read_text().splitlines()
                    if songs_folder in line and (re.search(r"O_(WRONLY|RDWR|CREAT|TRUNC)", line)
                                                 or re.search(r"\b(creat|truncate|rename\w*|unlink\w*)\(", line))]
        self.assertEqual(touching, [])

        dry = report_lines(dry_report)
        self.assertEqual(len(dry), 247)
        run_report = self.reports / "run.tsv"
        result = self.write("--quiet", "--report", str(run_report))
        self.assertEqual((result.returncode, result.stdout, result.stderr), (DEMO_STATUS, b"", b""))
        real = report_lines(run_report)

        expected_outcome = {"would-write": "written", "unchanged": "unchanged", "not-mp3": "not-mp3",
                            "missing": "missing", "passed-over": "passed-over"}
        outcomes = {}
        for (code, path, outcome, ids), (real_code, real_path, real_outcome, real_ids) in zip(dry, real):
            self.assertEqual((code, path), (real_code, real_path))
            self.assertEqual(expected_outcome[outcome], real_outcome, path)
            self.assertEqual(ids, real_ids, path)
            outcomes[outcome] = outcomes.get(outcome, 0) + 1
            if real_outcome == "written":
                # An ID stands once for each frame of it that changes (a player's POPM dropped, ours added).
                self.assertEqual(set(ids), changed_ids(frames_before[path], frames_of(path)), path)
            elif path in before:
                self.assertEqual(file_states(Path(path).parent)[path], before[path], path)
        self.assertEqual(outcomes, {"would-write": 242, "not-mp3": 1, "missing": 3, "passed-over": 1})

    def test_songs_in_flight_write_and_tell_exactly_what_one_song_at_a_time_does(self):
        runs = {}
        for jobs in ("1", "4"):
            self.demo.restore()
            dry = self.write("--jobs", jobs, "--dry-run")
            report = self.reports / f"jobs{jobs}.tsv"
            result = self.write("--jobs", jobs, "--report", str(report))
            self.assertEqual((dry.returncode, result.returncode), (DEMO_STATUS, DEMO_STATUS), result.stderr)
            hashes = {path: state[0] for path, state in file_states(self.demo.songs).items()}
            runs[jobs] = (dry.stdout, report.read_bytes(), result.stdout, hashes)
        for one, four, what in zip(runs["1"], runs["4"], ("listing", "report", "summary", "bytes")):
            self.assertEqual(one, four, what)

    def test_skip_unchanged_writes_nothing_again_and_then_only_the_song_whose_row_changed(self):
        first = self.reports / "first.tsv"
        self.assertEqual(self.write("--quiet", "--report", str(first)).returncode, DEMO_STATUS)
        written = file_states(self.demo.songs)
        # A player reads the catalogue's text, curly quotes and dashes included (UTF-16 frames).
        songs, compared = self.demo.songs_columns(), 0
        for code, path, outcome, _ in report_lines(first):
            tags = ID3(path, translate=False) if outcome == "written" else {}
            for column, frame_id in (("MUS_NOME", "TIT2"), ("MUS_INTERPRETE", "TPE1"), ("MUS_ALBUM", "TALB"),
                                     ("MUS_COMPOSITOR", "TCOM")):
                value = songs[code].get(column, "").strip("".join(map(chr, range(0x21))))
                if tags and value:
                    self.assertEqual(tags.getall(frame_id)[0].text[0], value, (path, frame_id))
                    compared += 1
        self.assertGreater(compared, 700)
        report = self.reports / "again.tsv"
        result = self.write("--skip-unchanged", "--report", str(report))
        self.assertEqual(result.returncode, DEMO_STATUS, result.stderr)
        self.assertEqual(file_states(self.demo.songs), written)
        self.assertIn(b"unchanged (skipped):         242", result.stdout)
        self.assertNotIn("written", {outcome for _, _, outcome, _ in report_lines(report)})

        # The catalogue again, with one song's title changed.
        description = re.sub(rb"(Tb_Musicas\tMUS_CODIGO=17\t)MUS_NOME=[^\t\n]*", rb"\1MUS_NOME=Outra Cantiga",
                             self.demo.description)
        self.assertNotEqual(description, self.demo.description)
        # The server's copy has a name of its own: --replace cannot delete a file named through a server.
        changed = self.demo.database(self.server, "changed-server.fdb" if self.server else "changed.fdb", description)
        report = self.reports / "changed.tsv"
        result = command("--database", changed, "--skip-unchanged", "--quiet", "--report", str(report))
        self.assertEqual(result.returncode, DEMO_STATUS, result.stderr)
        rows = report_lines(report)
        self.assertEqual([(code, ids) for code, _, outcome, ids in rows if outcome == "written"], [(17, ["TIT2"])])
        now = file_states(self.demo.songs)
        self.assertEqual([p for p in now if now[p] != written[p]], [rows[16][1]])
        self.assertEqual(frames_of(rows[16][1])["TIT2"], [(("text", ("Outra Cantiga",)),)])


class ServerCommandTest(CommandTest):
    server = True


class ChoiceAndFailureTest(unittest.TestCase):
    """Which songs a run takes, wrong command lines, catalogues that cannot be read, an
    interruption; embedded only."""

    @classmethod
    def setUpClass(cls):
        cls.demo = demo()
        cls.database = cls.demo.database(False)
        cls.names = cls.demo.full_names()

    def setUp(self):
        self.demo.restore()

    def listed(self, *args, env=None):
        report = self.demo.root / "listed.tsv"
        result = command("--database", self.database, "--dry-run", "--quiet", "--report", str(report), *args, env=env)
        self.assertEqual(result.returncode, 0, result.stderr)
        return [code for code, _, _, _ in report_lines(report)]

    def test_codes_are_written_in_list_order_and_unknown_ones_are_named(self):
        result = command("--database", self.database, "--code", "9", "--code", "3", "--code=5", "--code", "99999",
                         "--report", str(self.demo.root / "codes.tsv"))
        self.assertEqual(result.returncode, 0, result.stderr)
        rows = report_lines(self.demo.root / "codes.tsv")
        self.assertEqual([(code, outcome) for code, _, outcome, _ in rows], [(3, "written"), (5, "written"), (9, "written")])
        self.assertIn(b"no song with code 99999 in the list", result.stderr)
        self.assertIn(b"songs listed:                  3", result.stdout)
        self.assertEqual(self.listed("--sort", "MUS_NOMECOMPLETO", "--code", "9", "--code", "3"),
                         sorted([3, 9], key=lambda c: self.names[c].encode("cp1252")))

    def test_the_search_is_upper_cased_with_wildcards_and_quotes_taken_as_text(self):
        def expected(pattern):
            return [c for c in sorted(self.names) if re.search(pattern, self.names[c])]
        self.assertEqual(self.listed("--search", "são"), expected("SÃO"))
        self.assertEqual(len(expected("SÃO")), 11)
        self.assertEqual(self.listed("--search", "marcha d_ "), expected("MARCHA D. "))
        self.assertEqual(self.listed("--search", "MARCHA%SÃO"), expected("MARCHA.*SÃO"))
        self.assertEqual(self.listed("--search", "D'Á"), [])
        self.assertEqual(self.listed("--search", "' OR 1=1 --"), [])

    def test_wrong_command_lines_end_with_status_2_and_say_what_is_wrong(self):
        for args, text in [(["--bogus"], b"unknown option --bogus"),
                           (["--code"], b"--code needs a value"),
                           (["--code", "x1"], b"--code takes a song's code"),
                           (["--sort", "MUS_NOME; DROP TABLE Tb_Musicas"], b"--sort takes a column name"),
                           (["--dry-run=yes"], b"--dry-run takes no value"),
                           (["--dry-run", "--skip-unchanged"], b"--skip-unchanged has nothing to skip"),
                           (["--wait", "-1"], b"--wait takes a number of seconds"),
                           (["-j", "0"], b"--jobs takes a number of songs in flight"),
                           (["songs"], b"unexpected argument 'songs'")]:
            result = command("--database", self.database, *args)
            self.assertEqual(result.returncode, 2, args)
            self.assertIn(text, result.stderr, args)
            self.assertEqual(result.stdout, b"")
        self.assertEqual(command("--help").returncode, 0)
        self.assertIn(b"--skip-unchanged", command("--help").stdout)

    def test_configuration_and_connection_failures_end_with_status_2_and_the_clients_text(self):
        before = file_states(self.demo.songs)
        missing = self.demo.root / "nowhere" / "RevoZadoz.ini"
        result = command("--ini", str(missing))
        self.assertEqual(result.returncode, 2)
        self.assertIn(b"no configuration file " + str(missing).encode(), result.stderr)

        blank = self.demo.root / "blank.ini"
        blank.write_bytes(b"[BANCO]\r\ncaminho=\r\n")
        result = command("--ini", str(blank))
        self.assertEqual(result.returncode, 2)
        self.assertIn(b"names no database", result.stderr)

        # A file that cannot be read (for want of permission, or no regular file, as here) is told
        # as such, with the system's reason, not as one that names no database.
        unreadable = self.demo.root / "fifo.ini"
        if os.path.lexists(unreadable):
            os.unlink(unreadable)
        os.mkfifo(unreadable)
        result = command("--ini", str(unreadable))
        self.assertEqual(result.returncode, 2)
        self.assertIn(b"cannot read " + str(unreadable).encode() + b": Invalid argument", result.stderr)

        ini = self.demo.root / "good.ini"
        ini.write_bytes(b"[BANCO]\r\ncaminho=" + self.database.encode() + b"\r\n")
        self.assertEqual(command("--ini", str(ini), "--dry-run", "--quiet").returncode, DEMO_STATUS)

        absent = str(self.demo.root / "absent.fdb")
        result = command("--database", absent)
        self.assertEqual(result.returncode, 2)
        self.assertIn(b"cannot be read", result.stderr)
        # The client's own words, naming the file it could not open.
        self.assertIn(absent.encode(), result.stderr.split(b"\n", 1)[1])

        result = command("--database", "localhost/1:" + absent)
        self.assertEqual(result.returncode, 2)
        self.assertEqual(file_states(self.demo.songs), before)

    def test_the_terminals_character_set_shows_the_values(self):
        utf8 = command("--database", self.database, "--dry-run", "--code", "1")
        self.assertIn('TIT2: added "Balanço da Varanda"', utf8.stdout.decode("utf-8"))
        ascii_only = command("--database", self.database, "--dry-run", "--code", "1", env={"LC_ALL": "C"})
        self.assertIn(b'TIT2: added "Balan?o da Varanda"', ascii_only.stdout)
        self.assertTrue(all(b < 0x80 for b in ascii_only.stdout))

    def test_progress_shows_on_a_terminal_only_and_quiet_keeps_the_summary_back(self):
        leader, follower = pty.openpty()
        process = subprocess.Popen([str(WRITE), "--database", self.database, "--dry-run"], stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=follower, env=utf8_environment())
        os.close(follower)
        shown = b""
        while True:
            try:
                chunk = os.read(leader, 4096)
            except OSError:
                break
            if not chunk:
                break
            shown += chunk
        os.close(leader)
        self.assertEqual(process.wait(), DEMO_STATUS)
        self.assertIn(b"247 of 247 songs", shown)
        self.assertIn(b"songs/s", shown)
        piped = command("--database", self.database, "--dry-run")
        self.assertEqual(piped.stderr, b"")
        self.assertIn(b"songs listed:                247", piped.stdout)
        quiet = command("--database", self.database, "--quiet")
        self.assertEqual((quiet.returncode, quiet.stdout, quiet.stderr), (DEMO_STATUS, b"", b""))

    def test_songs_not_written_are_named_and_the_status_and_check_say_so(self):
        dry = self.demo.root / "check.tsv"
        self.assertEqual(command("--database", self.database, "--dry-run", "--quiet", "--report", str(dry)).returncode,
                         DEMO_STATUS)
        outcomes = {code: outcome for code, _, outcome, _ in report_lines(dry)}
        missing = sorted(code for code, outcome in outcomes.items() if outcome == "missing")
        to_write = min(code for code, outcome in outcomes.items() if outcome == "would-write")
        not_mp3 = [code for code, outcome in outcomes.items() if outcome == "not-mp3"]
        self.assertEqual(len(missing), 3)

        # --check writes nothing: 3 while a song would change, 1 while one cannot be written.
        before = file_states(self.demo.songs)
        check = command("--database", self.database, "--check", "--code", str(to_write))
        self.assertEqual((check.returncode, check.stderr), (3, b""), check.stderr)
        self.assertIn(b"would be written:              1", check.stdout)
        self.assertNotIn(b"[%d]" % to_write, check.stdout)  # the summary alone
        listed = command("--database", self.database, "--check", "--dry-run", "--code", str(to_write))
        self.assertIn(b"[%d] " % to_write, listed.stdout)
        both = command("--database", self.database, "--check", "--code", str(to_write), "--code", str(missing[0]))
        self.assertEqual(both.returncode, 1)
        self.assertRegex(both.stderr, rb"\[%d\] [^\n]+: not written: open: No such file or directory\n" % missing[0])
        self.assertEqual(file_states(self.demo.songs), before)

        # A run says which songs it did not write; songs that are no MP3 never make it fail.
        run = command("--database", self.database)
        self.assertEqual(run.returncode, 1)
        named = re.findall(rb"^fonarel-write: \[(\d+)\] .*: not written: ", run.stderr, re.M)
        self.assertEqual(sorted(int(code) for code in named),
                         sorted(code for code, outcome in outcomes.items() if outcome in ("missing", "passed-over")))
        self.assertEqual(command("--database", self.database, "--check", "--code", str(to_write)).returncode, 0)
        self.assertEqual(command("--database", self.database, "--code", str(to_write), "--code",
                                 str(not_mp3[0])).returncode, 0)

    def held_run(self, signals, *args):
        """A run whose report goes to a pipe that a slow reader holds a few dozen songs in; the
        signals are sent there, mid-run. The report's lines, the output and the exit status."""
        fifo = self.demo.root / "report.fifo"
        if fifo.exists():
            fifo.unlink()
        os.mkfifo(fifo)
        process = subprocess.Popen([str(WRITE), "--database", self.database, "--report", str(fifo), *args],
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   env=utf8_environment())
        with open(fifo, "rb", buffering=0) as report:
            # The smallest pipe holds a few dozen report lines: the run waits on it there, since
            # each line is flushed as its song is done.
            fcntl.fcntl(report.fileno(), 1031, 4096)  # F_SETPIPE_SZ
            first = report.read(1)
            time.sleep(0.3)  # until the pipe is full and the run waits on it
            for stop in signals:
                process.send_signal(stop)
                time.sleep(0.1)
            lines = (first + b"".join(iter(lambda: report.read(65536), b""))).decode("utf-8").splitlines()
        stdout, stderr = process.communicate()
        return lines, stdout, stderr, process.returncode

    def test_a_stop_signal_ends_the_run_after_the_song_at_hand_with_the_summary_so_far(self):
        for stop, jobs in ((signal.SIGINT, "1"), (signal.SIGTERM, "1"), (signal.SIGHUP, "1"), (signal.SIGTERM, "4")):
            with self.subTest(signal=stop.name, jobs=jobs):
                self.demo.restore()
                before = file_states(self.demo.songs)
                lines, stdout, stderr, status = self.held_run([stop], "--jobs", jobs)
                self.assertEqual(status, 128 + stop, stderr)
                self.assertEqual(stderr, b"")  # the catalogue closed without a word
                done = len(lines)
                self.assertLess(done, 247)
                self.assertIn(f"interrupted after {done} of 247 songs".encode(), stdout)
                after = file_states(self.demo.songs)
                written = {line.split("\t")[1] for line in lines if line.split("\t")[2] == "written"}
                self.assertGreater(len(written), 0)
                for path, state in before.items():
                    self.assertEqual(after[path] != state, path in written, path)
                self.assertEqual(int(re.search(rb"\nwritten: +(\d+)", stdout).group(1)), len(written))

    def test_a_second_stop_signal_ends_the_program_at_once(self):
        before = {path: frames_of(path) for path in file_states(self.demo.songs)}
        _, stdout, _, status = self.held_run([signal.SIGTERM, signal.SIGTERM])
        self.assertEqual(status, -signal.SIGTERM)
        self.assertEqual(stdout, b"")
        # Every song reads as its old file or as one this writer wrote (which marks it in TCAD).
        for path, frames in before.items():
            after = frames_of(path)
            self.assertTrue(after == frames or after.get("TCAD") == [(("text", ("S",)),)], path)

    def test_a_song_another_writer_holds_is_busy_after_the_wait_and_written_once_released(self):
        report = self.demo.root / "busy.tsv"
        command("--database", self.database, "--dry-run", "--quiet", "--code", "3", "--report", str(report))
        path = report_lines(report)[0][1]
        before = file_states(self.demo.songs)
        with open(path, "r+b") as song:
            # The writers' lock: one byte far past the song's end, as fonarel-write takes it.
            fcntl.lockf(song, fcntl.LOCK_EX | fcntl.LOCK_NB, 1, 1 << 62)
            busy = command("--database", self.database, "--code", "3", "--code", "5", "--wait", "0.2",
                           "--report", str(report))
            self.assertEqual(busy.returncode, 1, busy.stderr)
            self.assertEqual([(c, o) for c, _, o, _ in report_lines(report)], [(3, "busy"), (5, "written")])
            self.assertIn(b"busy (other writer):           1\n", busy.stdout)
            self.assertIn(b"[3] ", busy.stderr)
            self.assertIn(b"busy", busy.stderr)
            self.assertEqual(file_states(self.demo.songs)[path], before[path])
            release = threading.Timer(0.3, fcntl.lockf, (song, fcntl.LOCK_UN, 1, 1 << 62))
            release.start()
            waited = command("--database", self.database, "--code", "3", "--wait", "5", "--report", str(report))
            release.join()
        self.assertEqual(waited.returncode, 0, waited.stderr)
        self.assertEqual([(c, o) for c, _, o, _ in report_lines(report)], [(3, "written")])

    def test_a_write_the_system_refuses_names_the_reason_and_leaves_the_song_as_it_was(self):
        if os.geteuid() != 0:
            self.skipTest("mounting small file systems needs root")
        listing = self.demo.root / "any.tsv"
        command("--database", self.database, "--dry-run", "--quiet", "--code", "3", "--report", str(listing))
        song = Path(report_lines(listing)[0][1]).read_bytes()
        # Without its tag, so that a write rebuilds it beside itself.
        if song.startswith(b"ID3"):
            song = song[10 + sum((b & 0x7F) << (7 * (3 - i)) for i, b in enumerate(song[6:10])):]
        mounts = []
        try:
            description = b""
            for code, size in ((1, len(song) + 65536), (2, 4 * len(song))):
                folder = self.demo.root / f"mount{code}"
                folder.mkdir()
                run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", str(folder)], check=True)
                mounts.append(folder)
                (folder / "a.mp3").write_bytes(song)
                description += (f"Tb_Pastas\tPAS_CODIGO={code}\tPAS_PATH={folder}/\n"
                                f"Tb_Musicas\tMUS_CODIGO={code}\tPAS_CODIGO={code}\tMUS_ARQUIVO=a.mp3\t"
                                f"MUS_NOME=Novo\tMUS_NOMECOMPLETO=M{code}\n").encode("ascii")
            run(["mount", "-o", "remount,ro", str(mounts[1])], check=True)
            report = self.demo.root / "refused.tsv"
            result = command("--database", self.demo.database(False, "mounts.fdb", description), "--report", str(report))
            self.assertEqual(result.returncode, 1, result.stderr)
            lines = [line.split("\t") for line in report.read_text("utf-8").splitlines()]
            self.assertEqual([fields[2] for fields in lines], ["failed", "failed"])
            full, readonly = (fields[4] for fields in lines)
            self.assertTrue(full.endswith(": " + os.strerror(errno.ENOSPC)), full)
            self.assertEqual(readonly, "open: " + os.strerror(errno.EROFS))
            self.assertIn(f"[1] {mounts[0]}/a.mp3: not written: {full}\n".encode(), result.stderr)
            self.assertIn(f"[2] {mounts[1]}/a.mp3: not written: {readonly}\n".encode(), result.stderr)
            for folder in mounts:
                self.assertEqual(os.listdir(folder), ["a.mp3"])
                self.assertEqual((folder / "a.mp3").read_bytes(), song)
        finally:
            for folder in mounts:
                run(["umount", str(folder)])


class KeepingTest(unittest.TestCase):
    """--keep-other-frames over the demo's songs and two that other programs tagged richly; embedded only."""

    @classmethod
    def setUpClass(cls):
        cls.demo = demo()
        cls.database = cls.demo.database(False)

    def setUp(self):
        self.demo.restore()

    def run_report(self, name, *args):
        report = self.demo.root / name
        result = command("--database", self.database, "--quiet", "--report", str(report), *args)
        self.assertEqual(result.returncode, DEMO_STATUS, result.stderr)
        return report_lines(report), result

    def test_the_other_frames_are_what_mutagen_read_and_a_second_run_writes_nothing(self):
        listed, _ = self.run_report("listed.tsv", "--dry-run")
        writable = [(code, path) for code, path, outcome, _ in listed if outcome == "would-write"]
        (code24, rich24), (code23, rich23) = writable[0], writable[1]
        rich_tag(rich24, 4)
        rich_tag(rich23, 3)
        dry = command("--database", self.database, "--dry-run", "--keep-other-frames", "--code", str(code24))
        # What v2.3 has no place for is named; what it keeps is not.
        self.assertIn(b"    TMOO: removed (was \"calmo\")\n", dry.stdout)
        self.assertIn(b"    RVA2", dry.stdout)
        self.assertNotIn(b"APIC", dry.stdout)
        self.assertNotIn(b"TXXX", dry.stdout)
        before = {path: other_frames(path) for _, path in writable}
        self.assertGreater(len(before[rich24]), 15)

        rows, _ = self.run_report("keep.tsv", "--keep-other-frames")
        written = [path for _, path, outcome, _ in rows if outcome == "written"]
        self.assertGreater(len(written), 200)
        differing = {path: (before[path], other_frames(path)) for path in written if other_frames(path) != before[path]}
        self.assertEqual(differing, {})
        frames = sum(len(values) for path in written for values in before[path].values())
        print(f"\n{len(written)} songs written, {frames} frames outside the table, all as mutagen read them",
              file=sys.stderr)

        again, _ = self.run_report("again.tsv", "--keep-other-frames", "--skip-unchanged")
        self.assertNotIn("written", {outcome for _, _, outcome, _ in again})

    def test_keeping_the_times_gives_every_song_written_the_times_it_had(self):
        old = (978307200_123456789, 1009843200_987654321)  # read in 2001, written in 2002
        before = {str(path): path.read_bytes() for path in Path(self.demo.songs).rglob("*")
                  if path.suffix.lower() == ".mp3" and path.is_file()}
        for path in before:
            os.utime(path, ns=old)
        rows, _ = self.run_report("times.tsv", "--keep-times")
        written = [path for _, path, outcome, _ in rows if outcome == "written"]
        self.assertGreater(len(written), 200)
        # Looked at before anything reads the songs again (a read may move the access time on).
        times = {path: (os.stat(path).st_atime_ns, os.stat(path).st_mtime_ns) for path in written}
        self.assertEqual({path: old for path in written}, times)
        self.assertEqual([path for path in written if Path(path).read_bytes() == before[path]], [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
