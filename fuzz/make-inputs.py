#!/usr/bin/env python3
"""Writes the seed corpus (from the project's own fixtures) and the minimal
inputs of earlier findings into fuzz/corpus/<target>/ and fuzz/regress/<target>/.
Run again after a fixture changes; the files are kept in the repository."""
import os
import struct

top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
fox = os.path.join(top, "tests", "fixtures", "foxpro")


def read(*p):
    with open(os.path.join(*p), "rb") as f:
        return f.read()


def put(kind, target, name, data):
    d = os.path.join(top, "fuzz", kind, target)
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)


def pack(dbf, cdx=b"", memo=b""):
    return struct.pack("<I", len(dbf)) + dbf + struct.pack("<I", len(cdx)) + cdx + memo


def patch(data, off, value, fmt="<I"):
    b = bytearray(data)
    b[off:off + struct.calcsize(fmt)] = struct.pack(fmt, value)
    return bytes(b)


rooms_dbf, rooms_cdx = read(fox, "rooms.dbf"), read(fox, "rooms.cdx")
afox_dbf, afox_fpt = read(fox, "afox5.dbf"), read(fox, "afox5.FPT")

# Table: the FoxPro fixtures as they are, then each damage found so far.
put("corpus", "table", "rooms", pack(rooms_dbf, rooms_cdx))
put("corpus", "table", "afox5", pack(afox_dbf, b"", afox_fpt))
put("corpus", "table", "rooms-no-index", pack(rooms_dbf))
for off in range(1024, len(rooms_cdx), 512):
    attr = struct.unpack_from("<H", rooms_cdx, off)[0]
    if attr & 2:  # a leaf: its right link back to itself
        put("regress", "table", "leaf-self-%d" % off, pack(rooms_dbf, patch(rooms_cdx, off + 8, off)))
put("regress", "table", "memo-next-free-ffffffff", pack(afox_dbf, b"", patch(afox_fpt, 0, 0xFFFFFFFF, ">I")))
block = struct.unpack_from(">H", afox_fpt, 6)[0] or 64
first = max(1, (512 + block - 1) // block)
put("regress", "table", "memo-length-2g", pack(afox_dbf, b"", patch(afox_fpt, first * block + 4, 0x80000000, ">I")))
put("regress", "table", "memo-length-2g-1", pack(afox_dbf, b"", patch(afox_fpt, first * block + 4, 0x7FFFFFFF, ">I")))
for name, off, value, fmt in [("record-length-0", 10, 0, "<H"), ("record-length-65535", 10, 65535, "<H"),
                              ("header-length-past-file", 8, 65535, "<H"), ("record-count-huge", 4, 0x7FFFFFFF, "<I")]:
    put("regress", "table", name, pack(patch(rooms_dbf, off, value, fmt), rooms_cdx))

# Settings files.
put("corpus", "ini", "aplik", b"\xef\xbb\xbf; settings\r\n[Config]\r\nSTYLE=Fusion\r\nPOSLEDNJI_KOJI=3\r\n"
    b"[Firma]\r\nAPI_KLJUC=\"abc\"\r\nNAZIV=Firma d.o.o. \xc5\xa0abac\r\n[IZXLS]\r\nBROJ=B3\r\n")
put("regress", "ini", "many-namesakes", b"[A]\nK=1\n" * 20000)

# Received documents.
put("corpus", "xml", "full-invoice", read(top, "tests", "einvoice", "data", "full_invoice.xml"))
put("corpus", "xml", "envelope", b"<?xml version=\"1.0\"?>\r\n<env:Envelope><env:DocumentHeader>"
    b"<env:SalesInvoiceId>9001</env:SalesInvoiceId></env:DocumentHeader><env:DocumentBody>"
    b"<cac:AccountingCustomerParty><cac:Party><cbc:RegistrationName>A &amp; B</cbc:RegistrationName>"
    b"</cac:Party></cac:AccountingCustomerParty><![CDATA[x < y]]></env:DocumentBody></env:Envelope>")
put("regress", "xml", "deep-namesakes", b"<cac:Party>" * 5000 + b"<cbc:ID>1</cbc:ID>" + b"</cac:Party>" * 5000)

# Server answers.
for name, text in [("status", b'{"InvoiceId": 9001, "Status": "Sent", "Comment": null}'),
                   ("ids", b'{"SalesInvoiceIds": [1, 2, 3]}'), ("list", b'[{"Status": "Seen"}, {"Status": 1}]'),
                   ("bare", b'"Sent"'), ("error", b'{"Message": "Ne valja", "ErrorCode": "X"}')]:
    put("corpus", "json", name, text)
put("regress", "json", "deep-lists", b"[" * 100000 + b"]" * 100000)

# Numbers and pictures: first line the picture, the rest the text.
for name, text in [("plain", b"999,999.99\n1.234,56"), ("european", b"@E 999.999,99\n-12,5"),
                   ("thousands", b"999,999,999\n1,234,567.89"), ("empty", b"\n")]:
    put("corpus", "numbers", name, text)
put("regress", "numbers", "decimals-22", b"9." + b"9" * 22 + b"\n1")
put("regress", "numbers", "decimals-31", b"9." + b"9" * 31 + b"\n1")
put("regress", "numbers", "digits-401", b"999\n" + b"7" * 401)
