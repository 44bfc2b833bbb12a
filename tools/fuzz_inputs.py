#!/usr/bin/env python3
"""Writes the fuzz inputs that do not come from our own writers: workbooks of openpyxl,
series files, and the hostile inputs kept as regressions (each once broke a reader).

usage: fuzz_inputs.py <fuzz folder>"""

import io
import os
import struct
import sys
import zipfile

import openpyxl

root = sys.argv[1]


def write(path, data):
    path = os.path.join(root, path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# --- seeds -------------------------------------------------------------------------------

def openpyxl_book(rows, sheets=1):
    wb = openpyxl.Workbook()
    for s in range(sheets):
        ws = wb.active if s == 0 else wb.create_sheet("Sheet%d" % (s + 1))
        for row in rows:
            ws.append(row)
    out = io.BytesIO()
    wb.save(out)
    return out.getvalue()


write("corpus/WorkbookFuzz/openpyxl-1.xlsx", openpyxl_book([["Name", "Age"], ["Ann", 34], ["Bob", 7.5], [None, "x"]]))
write("corpus/WorkbookFuzz/openpyxl-2.xlsx", openpyxl_book([["Zoë 🎂", "a < b & c", "  spaced  "]], sheets=2))

write("corpus/SeriesFuzz/names.txt", "Ann\nBob\nCarla\n".encode())
write("corpus/SeriesFuzz/gaps.txt", "a\n\n  b  \n\r\nc".encode())
write("corpus/SeriesFuzz/crlf.txt", "Zoë\r\n🎂 cake\r\n".encode())
write("corpus/SeriesFuzz/binary.txt", bytes(range(256)))


# --- regressions: binary property lists made object by object -----------------------------

def bplist(objects, top, ref_size=2, offset_size=4):
    """objects: list of (marker bytes, [refs]) pairs."""
    out = bytearray(b"bplist00")
    offsets = []
    for head, refs in objects:
        offsets.append(len(out))
        out += head
        for r in refs:
            out += r.to_bytes(ref_size, "big")
    table = len(out)
    for o in offsets:
        out += o.to_bytes(offset_size, "big")
    out += bytes(6) + bytes([offset_size, ref_size]) + struct.pack(">QQQ", len(objects), top, table)
    return bytes(out)


def count(marker, n):
    return bytes([marker | 0xF, 0x11]) + struct.pack(">H", n) if n >= 15 else bytes([marker | n])


def ascii_string(text):
    return (count(0x50, len(text)) + text.encode(), [])


def array(refs):
    return (count(0xA0, len(refs)), refs)


def dictionary(keys, values):
    return (count(0xD0, len(keys)), keys + values)


# Nested 3,000 deep (the stack gave out at 100,000).
write("regressions/ElementArchiveFuzz/nested.bplist",
      bplist([array([i + 1]) for i in range(2999)] + [array([])], 0))
write("regressions/ElementArchiveFuzz/nested.plist",
      b'<?xml version="1.0"?><plist version="1.0">' + b"<array>" * 3000 + b"</array>" * 3000 + b"</plist>")
# Each array holding the next one twice: 2^30 copies of one element.
objects = [ascii_string("class"), ascii_string("LMNText"), dictionary([0], [1])]
for i in range(30):
    objects.append(array([len(objects) - 1, len(objects) - 1]))
write("regressions/ElementArchiveFuzz/doubling.bplist", bplist(objects, len(objects) - 1))
# An element whose value is the list holding it.
write("regressions/ElementArchiveFuzz/cycle.bplist", bplist([array([2]), ascii_string("class"), dictionary([1], [0])], 0))

# A design whose opacity is beyond a float (read as infinity, saved as "+infinity").
design_path = os.path.join(root, "corpus/DesignFileFuzz/bound.dcard")
if os.path.exists(design_path):
    with open(design_path, "rb") as f:
        design = f.read()
    at = design.find(b"<real>", design.find(b"<integer>"))
    end = design.find(b"</real>", at) + len(b"</real>")
    write("regressions/DesignFileFuzz/opacity-1e39.dcard", design[:at] + b"<real>1e39</real>" + design[end:])
    write("regressions/DesignFileFuzz/nested.dcard",
          design[:design.rfind(b"<array/>")] + b"<array>" * 2000 + b"</array>" * 2000
          + design[design.rfind(b"<array/>") + len(b"<array/>"):])


# --- regressions: workbooks that lie ------------------------------------------------------

sheet = (b'<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/'
         b'spreadsheetml/2006/main"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>Alice</t></is>'
         b'</c></row></sheetData></worksheet>')


def book(method):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as z:
        z.writestr("xl/worksheets/sheet1.xml", sheet, method)
    return bytearray(out.getvalue())


# One byte more declared than held, and a checksum that does not match.
lying = book(zipfile.ZIP_DEFLATED)
for sig, at in ((b"PK\x03\x04", 14), (b"PK\x01\x02", 16)):
    h = lying.find(sig)
    crc, packed, size = struct.unpack_from("<III", lying, h + at)
    struct.pack_into("<III", lying, h + at, crc ^ 1, packed, size + 1)
write("regressions/WorkbookFuzz/lying-size.xlsx", bytes(lying))
write("regressions/WorkbookFuzz/bzip2.xlsx", bytes(book(zipfile.ZIP_BZIP2)))
