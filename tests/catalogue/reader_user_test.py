#!/usr/bin/python3
"""The catalogue through a user that can only read it, on the loopback server (FONAREL_FB_SERVER):
scripts/catalogue-reader makes the user and grants it SELECT on the eight tables alone; the server
refuses its writes; fonarel-write writes the demo's songs through it byte for byte as through the
administrator; a wrong password names the user, never the password, and ends with status 2.

    reader_user_test.py FONAREL_WRITE FONAREL_CATALOGUE SOURCE_DIR
"""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

WRITE, TOOL, SOURCE = sys.argv[1:4]
SERVER = os.environ.get("FONAREL_FB_SERVER", "")
ADMIN = {**os.environ, "ISC_USER": "SYSDBA", "ISC_PASSWORD": "quillmoss"}
USER, PASSWORD = "FONAREL_LEITOR", "s3gr3d0 'com' aspas"
TABLES = ["TB_MUSICAS", "TB_PASTAS", "TB_GENERO", "TB_SUBGENERO", "TB_RITMO", "TB_IDIOMA", "TB_GRAVADORA", "TB_VOCAL"]


def isql(database, statements, env):
    return subprocess.run(["isql-fb", "-q", database], input=statements, capture_output=True, text=True, env=env)


def song_hashes(folder):
    return {str(p): hashlib.sha256(p.read_bytes()).hexdigest() for p in sorted(Path(folder).rglob("*")) if p.is_file()}


def main():
    if not SERVER:
        if os.environ.get("CI") == "true":
            print("FONAREL_FB_SERVER is not set under CI: the loopback server did not start")
            return 1
        print("no Firebird server (FONAREL_FB_SERVER is not set): skipped")
        return 0
    faults = []
    with tempfile.TemporaryDirectory(prefix="fonarel-reader-") as work:
        os.chmod(work, 0o777)  # the server makes and opens the catalogue here
        subprocess.run([sys.executable, os.path.join(SOURCE, "tools/demo/make-demo"), "--root", work,
                        "--catalogue-tool", TOOL], check=True, capture_output=True)
        demo = Path(work) / "demo"
        os.chmod(demo, 0o777)
        database = f"{SERVER}:{demo / 'server.fdb'}"
        subprocess.run([TOOL, "--replace", database, str(demo / "catalogue.tsv")], check=True, capture_output=True)
        made = subprocess.run([os.path.join(SOURCE, "scripts/catalogue-reader"), database, USER.lower()],
                              input=PASSWORD + "\n", capture_output=True, text=True, env=ADMIN)
        if made.returncode != 0:
            faults.append("catalogue-reader failed: " + made.stderr)

        # Its rights: SELECT on the eight tables, nothing else.
        grants = isql(database, f"SET HEADING OFF; SELECT TRIM(RDB$RELATION_NAME), TRIM(RDB$PRIVILEGE) "
                                f"FROM RDB$USER_PRIVILEGES WHERE RDB$USER = '{USER}';", ADMIN).stdout.split()
        pairs = sorted(zip(grants[0::2], grants[1::2]))
        if pairs != sorted((table, "S") for table in TABLES):
            faults.append("the user's rights are not SELECT on the eight tables: %s" % pairs)
        reader = {**os.environ, "ISC_USER": USER, "ISC_PASSWORD": PASSWORD}
        for statement in ("INSERT INTO Tb_Pastas (PAS_CODIGO, PAS_PATH) VALUES (99, 'x');",
                          "UPDATE Tb_Musicas SET MUS_NOME = 'y';", "DROP TABLE Tb_Vocal;"):
            refused = isql(database, "SET BAIL ON;\n" + statement + "\nCOMMIT;", reader)
            if refused.returncode == 0 or "no permission" not in refused.stderr:
                faults.append("the server let the reader run %s: %s" % (statement, refused.stderr.strip()))

        # The administrator's pair (no keys), then the reader's: the same bytes.
        songs = demo / "musicas"
        pristine = Path(work) / "pristine"
        shutil.copytree(songs, pristine, symlinks=True)
        inis = {"admin": "", "reader": f"usuario={USER.lower()}\nsenha={PASSWORD}\n",
                "wrong": f"usuario  =  {USER}  \nsenha=errada\n"}
        results = {}
        for name, keys in inis.items():
            ini = Path(work) / f"{name}.ini"
            ini.write_text(f"[BANCO]\ncaminho={database}\n{keys}")
            shutil.rmtree(songs)
            shutil.copytree(pristine, songs, symlinks=True)
            run = subprocess.run([WRITE, "--ini", str(ini), "--quiet"], capture_output=True, text=True)
            results[name] = (run, song_hashes(songs))
        # The demo lists songs whose files are missing: a run over it ends with status 1.
        for name in ("admin", "reader"):
            if results[name][0].returncode != 1:
                faults.append("%s: fonarel-write ended with %d: %s" % (name, results[name][0].returncode,
                                                                       results[name][0].stderr))
        if results["reader"][1] != results["admin"][1]:
            faults.append("the reader's run did not write what the administrator's writes")
        if results["admin"][1] == song_hashes(pristine):
            faults.append("the administrator's run wrote nothing")
        wrong = results["wrong"][0]
        if wrong.returncode != 2 or USER not in wrong.stderr or "errada" in wrong.stderr:
            faults.append("a wrong password: status %d, %r" % (wrong.returncode, wrong.stderr))
        isql(database, f"DROP USER {USER};\nCOMMIT;", ADMIN)
    print("reader user: %d faults" % len(faults))
    for fault in faults:
        print("FAULT " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
