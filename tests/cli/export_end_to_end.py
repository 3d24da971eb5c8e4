#!/usr/bin/env python3
"""brisko-cli export on databases written by Perl's Palm modules and an e-book made by
txt2pdbdoc: what it writes is read back by Python's icalendar, vobject and csv, and holds
the records Perl wrote, without the deleted ones.

usage: export_end_to_end.py BRISKO_CLI PERL_SCRIPT WORK_FOLDER
"""
import csv
import glob
import json
import os
import shutil
import subprocess
import sys

import icalendar
import vobject


def windows1252(text):
    # The JSON holds one character a byte; the five bytes Windows-1252 leaves undefined
    # stay as the code points of the same number, as the exporter keeps them.
    out = []
    for ch in text:
        try:
            out.append(bytes([ord(ch)]).decode("cp1252"))
        except UnicodeDecodeError:
            out.append(ch)
    return "".join(out)


def living(records):
    # As Perl's Palm::PDB reads the attribute byte: "expunged" (0x80) and its "deleted"
    # (0x20) both mark a record the handheld no longer shows.
    def gone(record):
        marks = record["perl"].get("attributes", {})
        return marks.get("expunged") or marks.get("deleted")
    return [r for r in records if not gone(r)]


def run(cli, *args):
    done = subprocess.run([cli, "export", *args], capture_output=True, text=True)
    return done.returncode, done.stdout, done.stderr


def main():
    cli, perl_script, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    source = os.path.join(work, "in")
    os.makedirs(source)
    dump = json.loads(subprocess.run(["perl", perl_script, source], check=True,
                                     capture_output=True, text=True).stdout)
    book = "".join(f"Chapter {n}. The rain fell in torrents, caf\u00e9 and all.\n"
                   for n in range(300))
    with open(os.path.join(work, "book.txt"), "w", encoding="cp1252") as f:
        f.write(book)
    subprocess.run(["txt2pdbdoc", "Book", os.path.join(work, "book.txt"),
                    os.path.join(source, "Book.pdb")], check=True, capture_output=True)
    with open(os.path.join(source, "notes.pdb"), "wb") as f:
        f.write(b"not a Palm database")

    faults = []

    def expect(condition, what):
        if not condition:
            faults.append(what)

    out = os.path.join(work, "out")
    status, stdout, stderr = run(cli, source, "--to", out)
    expect(status == 1, f"exit status {status}, expected 1 for the skipped notes.pdb")
    expect(stderr.strip() == "notes.pdb: not a Palm database",
           f"only notes.pdb is skipped, and says why: {stderr!r}")
    expect(not os.path.exists(os.path.join(out, "notes.txt")), "nothing written for notes.pdb")

    memos = sorted(windows1252(r["perl"]["data"]) for r in living(dump["MemoDB"]["records"]))
    written = []
    for path in glob.glob(os.path.join(out, "MemoDB", "**", "*.txt"), recursive=True):
        with open(path, encoding="utf-8", newline="") as f:
            written.append(f.read())
    expect(sorted(written) == memos, f"memo texts: {len(written)} files for {len(memos)} memos")

    with open(os.path.join(out, "AddressDB.vcf"), encoding="utf-8") as f:
        cards = list(vobject.readComponents(f.read()))
    expect(len(cards) == len(living(dump["AddressDB"]["records"])),
           f"{len(cards)} vCards for {len(living(dump['AddressDB']['records']))} addresses")

    def calendar(name, kind):
        with open(os.path.join(out, name), "rb") as f:
            return [c for c in icalendar.Calendar.from_ical(f.read()).walk(kind)]

    todos = calendar("ToDoDB.ics", "VTODO")
    expected = sorted(windows1252(r["perl"]["description"])
                      for r in living(dump["ToDoDB"]["records"]))
    expect(sorted(str(t.get("SUMMARY", "")) for t in todos) == expected, "to-do summaries")
    events = calendar("DatebookDB.ics", "VEVENT")
    expected = sorted(windows1252(r["perl"]["description"])
                      for r in living(dump["DatebookDB"]["records"]))
    expect(sorted(str(e.get("SUMMARY", "")) for e in events) == expected, "appointment summaries")

    with open(os.path.join(out, "Book.txt"), encoding="utf-8") as f:
        expect(f.read() == book, "the e-book's text")

    # Again into the same folder: nothing is replaced, the new files get new names.
    before = {p: os.path.getmtime(p) for p in glob.glob(os.path.join(out, "*.*"))}
    run(cli, source, "--to", out)
    for path, stamp in before.items():
        expect(os.path.getmtime(path) == stamp, f"{path} was replaced")
    expect(os.path.exists(os.path.join(out, "Book (2).txt")), "a second export gets new names")

    csv_out = os.path.join(work, "csv")
    status, _, _ = run(cli, "--format", "csv", os.path.join(source, "MemoDB.pdb"),
                       os.path.join(source, "ToDoDB.pdb"), os.path.join(source, "AddressDB.pdb"),
                       "--to", csv_out)
    expect(status == 0, f"CSV export exit status {status}")
    for name, db in (("MemoDB.csv", "MemoDB"), ("ToDoDB.csv", "ToDoDB"),
                     ("AddressDB.csv", "AddressDB")):
        with open(os.path.join(csv_out, name), encoding="utf-8", newline="") as f:
            rows = list(csv.reader(f))
        expect(len(rows) - 1 == len(living(dump[db]["records"])),
               f"{name}: {len(rows) - 1} rows for {len(living(dump[db]['records']))} records")

    status, _, _ = run(cli, "--encoding", "no-such-code-page", source, "--to", out)
    expect(status == 2, "an unknown code page is a usage error")

    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
