#!/usr/bin/env python3
"""Writes Brisko's sample folder: a few small Palm databases and applications, one file
with a 1970-based date, one damaged file and a ZIP archive of Palm files.

usage: make-examples.py OUTPUT_FOLDER
The files are built byte by byte, so every header value is known; the output is the
same at every run (contents and modification times)."""

import datetime
import os
import struct
import sys
import zipfile

PALM_EPOCH = datetime.datetime(1904, 1, 1)


def palm_seconds(*when):
    return int((datetime.datetime(*when) - PALM_EPOCH).total_seconds())


def database(name, type_, creator, records, attributes=0x0008, version=0,
             created=(2005, 3, 14, 9, 26, 53), modified=(2006, 11, 2, 18, 4, 10),
             backed_up=(2006, 11, 2, 18, 30, 0), mod_number=0, seed=0, raw_dates=None,
             app_info=b"", categories=None):
    """A Palm database: the 78-byte header, the entry list, the app info block, then the
    entries' bytes. With the resource flag (0x0001) records are (type, id, bytes) and the
    list holds 10-byte resource entries; else 8-byte record entries, each record in the
    category categories[index] (0 when not given)."""
    dates = raw_dates or (palm_seconds(*created), palm_seconds(*modified),
                          palm_seconds(*backed_up) if backed_up else 0)
    resources = attributes & 0x0001
    entry_size = 10 if resources else 8
    list_end = 78 + entry_size * len(records) + 2  # two bytes of padding after the list
    app_info_offset = list_end if app_info else 0
    header = struct.pack(">32sHHIIIIII4s4sIIH", name.encode("cp1252"), attributes, version,
                         dates[0], dates[1], dates[2], mod_number, app_info_offset, 0,
                         type_.encode("cp1252"), creator.encode("cp1252"), seed, 0,
                         len(records))
    offset = list_end + len(app_info)
    entries = b""
    contents = []
    for index, record in enumerate(records):
        if resources:
            kind, ident, record = record
            entries += struct.pack(">4sHI", kind.encode("cp1252"), ident, offset)
        else:
            category = categories[index] if categories else 0
            entries += struct.pack(">IB3s", offset, 0x40 | category,
                                   (seed + index + 1).to_bytes(3, "big"))
        contents.append(record)
        offset += len(record)
    return header + entries + b"\0\0" + app_info + b"".join(contents)


def category_block(names):
    """The standard app info block: renamed flags, 16 names of 16 bytes, their IDs, the
    last unique ID and a pad byte."""
    padded = [n.encode("cp1252").ljust(16, b"\0") for n in names] + [b"\0" * 16] * (16 - len(names))
    ids = bytes(range(len(names))) + b"\0" * (16 - len(names))
    return struct.pack(">H", 0) + b"".join(padded) + ids + bytes([len(names) - 1, 0])


def palm_date(year, month, day):
    """A date as the built-in databases pack it: years since 1904, month, day."""
    return struct.pack(">H", (year - 1904) << 9 | month << 5 | day)


def address(fields, phone_labels, shown_phone=0):
    """An Address Book record: the phone labels, which of the 19 fields follow, the
    company field's offset, then the fields' texts."""
    present = dict(fields)
    labels = shown_phone << 20
    for i, label in enumerate(phone_labels):
        labels |= label << (4 * i)
    texts = b""
    company = 0
    for index in sorted(present):
        if index == 2:
            company = len(texts) + 1
        texts += present[index].encode("cp1252") + b"\0"
    bits = sum(1 << index for index in present)
    return struct.pack(">IIB", labels, bits, company) + texts


def address_app_info(names):
    labels = ["Last name", "First name", "Company", "Work", "Home", "Fax", "Other", "E-mail",
              "Address", "City", "State", "Zip Code", "Country", "Title", "Custom 1",
              "Custom 2", "Custom 3", "Custom 4", "Note", "Main", "Pager", "Mobile"]
    return (category_block(names) + b"\0\0" + b"\0\0\0\0" +
            b"".join(label.encode("cp1252").ljust(16, b"\0") for label in labels) + b"\0\0")


def to_do(due, priority, description, note="", completed=False):
    date = palm_date(*due) if due else b"\xff\xff"
    return (date + bytes([priority | (0x80 if completed else 0)]) +
            description.encode("cp1252") + b"\0" + note.encode("cp1252") + b"\0")


def appointment(day, start, end, description, note=None, alarm=None, repeat=None,
                exceptions=()):
    """A Date Book record. repeat: (kind, interval, days of the week, end day or None);
    alarm: (advance, unit)."""
    times = bytes([*start, *end]) if start else b"\xff\xff\xff\xff"
    flags = 0x0400 | (0x4000 if alarm else 0) | (0x2000 if repeat else 0) | \
        (0x1000 if note else 0) | (0x0800 if exceptions else 0)
    out = times + palm_date(*day) + struct.pack(">H", flags)
    if alarm:
        out += struct.pack(">bB", *alarm)
    if repeat:
        kind, interval, days, until = repeat
        out += (bytes([kind, 0]) + (palm_date(*until) if until else b"\xff\xff") +
                bytes([interval, days, 0, 0]))
    if exceptions:
        out += struct.pack(">H", len(exceptions)) + b"".join(palm_date(*d) for d in exceptions)
    out += description.encode("cp1252") + b"\0"
    if note:
        out += note.encode("cp1252") + b"\0"
    return out


def e_book(text):
    """An uncompressed e-book (version 1): its header record and the text in 4 KB records."""
    data = text.encode("cp1252")
    chunks = [data[i:i + 4096] for i in range(0, len(data), 4096)]
    return [struct.pack(">HHIHHI", 1, 0, len(data), len(chunks), 4096, 0)] + chunks


def files():
    memo = [b"Shopping\nmilk, bread, batteries for the cradle\0",
            b"HotSync every Friday\0",
            b"Call Anna about the m505 screen\0"]
    yield "MemoDB.pdb", database("MemoDB", "DATA", "memo", memo, version=1, mod_number=57,
                                 seed=0x5F2000, categories=[2, 1, 2],
                                 app_info=category_block(["Unfiled", "Business", "Personal"])
                                 ), (2006, 11, 2, 18, 30, 0)
    yield "AddressDB.pdb", database("AddressDB", "DATA", "addr", [
        address([(0, "Smith"), (1, "John"), (2, "Palm Inc."), (3, "555-0100"),
                 (4, "john@example.com"), (9, "Sunnyvale")], phone_labels=(0, 4, 1, 2, 3)),
        address([(0, "Berg"), (1, "Anna"), (3, "+49 30 1234567"), (18, "Knows the m505")],
                phone_labels=(7, 1, 2, 3, 4))],
        mod_number=12, seed=0x3A1000, categories=[1, 2],
        app_info=address_app_info(["Unfiled", "Business", "Personal"])), (2006, 11, 2, 18, 30, 2)
    yield "ToDoDB.pdb", database("ToDoDB", "DATA", "todo", [
        to_do((2007, 1, 15), 1, "Renew the licence"),
        to_do(None, 3, "Back up the handheld", "every Friday", completed=True)],
        attributes=0x0048, backed_up=None, app_info=category_block(["Unfiled", "Business"]) +
        b"\0" * 6), (2006, 10, 28, 0, 0, 0)
    yield "DatebookDB.pdb", database("DatebookDB", "DATA", "date", [
        appointment((2006, 11, 6), (9, 0), (10, 0), "Team meeting", alarm=(10, 0),
                    repeat=(2, 1, 0x02, (2007, 6, 25)), exceptions=[(2006, 12, 25)]),
        appointment((2006, 11, 15), (14, 30), (15, 0), "Dentist",
                    note="Bring the insurance card"),
        appointment((2006, 12, 24), None, None, "Christmas Eve", repeat=(5, 1, 0, None))],
        mod_number=31, seed=0x4B2000,
        app_info=category_block(["Unfiled"]) + b"\0\0\0\0"), (2006, 11, 2, 18, 30, 4)
    yield "HotSyncGuide.pdb", database("HotSync Guide", "TEXt", "REAd", e_book(
        "A short guide to HotSync\n\nPut the handheld in its cradle and press the button. "
        "The desktop copies every changed database into the backup folder.\n"),
        backed_up=None), (2006, 11, 2, 18, 31, 0)
    yield "Solitaire.prc", database("Solitaire", "appl", "SLTR",
                                    [("code", 0, b"\x00\x01" * 12), ("code", 1, b"\x4e\x56" * 64),
                                     ("tAIN", 1000, b"Solitaire\0"), ("tver", 1000, b"3.0\0")],
                                    attributes=0x0001 | 0x0008 | 0x0020, version=3,
                                    created=(2001, 6, 1, 12, 0, 0),
                                    modified=(2001, 6, 1, 12, 0, 0)), (2004, 5, 17, 20, 15, 44)
    yield "DictionaryLite.prc", database("Dictionary Lite", "appl", "DicL",
                                         [("code", 1, b"\0" * 200), ("tSTR", 1000, b"Lite\0")],
                                         attributes=0x0001 | 0x0040 | 0x0002,
                                         version=2), (2005, 1, 9, 7, 45, 12)
    # Some desktop tools write Unix time stamps into the header: seconds since 1970.
    unix_2000 = int((datetime.datetime(2000, 1, 1) - datetime.datetime(1970, 1, 1))
                    .total_seconds())
    yield "UnixDated.pdb", database("UnixDated", "DATA", "UnXd", [b"from a Unix tool\0"],
                                    raw_dates=(unix_2000, unix_2000, 0)), (2003, 2, 2, 2, 2, 2)
    # A copy that broke off after 40 bytes.
    yield "Damaged.pdb", database("Damaged", "DATA", "dmgd", [b"lost"])[:40], \
        (2006, 12, 24, 23, 59, 58)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    made = {}
    for name, content, when in files():
        path = os.path.join(out, name)
        with open(path, "wb") as f:
            f.write(content)
        stamp = datetime.datetime(*when).timestamp()
        os.utime(path, (stamp, stamp))
        made[name] = (content, when)

    archive = os.path.join(out, "Backup2006.zip")
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        for name in ("MemoDB.pdb", "AddressDB.pdb", "Solitaire.prc"):
            content, when = made[name]
            z.writestr(zipfile.ZipInfo("Backup/" + name, when), content)
        z.writestr(zipfile.ZipInfo("Backup/readme.txt", (2006, 11, 2, 18, 31, 0)),
                   b"HotSync backup of 2 November 2006\n")
    stamp = datetime.datetime(2006, 11, 3, 8, 0, 0).timestamp()
    os.utime(archive, (stamp, stamp))


if __name__ == "__main__":
    main()
