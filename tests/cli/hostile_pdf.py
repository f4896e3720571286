#!/usr/bin/env python3
# PDF files made by hand: those the recognize verb must refuse (many pages,
# encrypted with the standard security handler, revision 2, RC4 of 40 bits,
# damaged), and a scanned page: one JPEG picture filling an A4 page.
import hashlib, sys

def pdf(objects, trailer_extra=b""):
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for i, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % i + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for o in offsets:
        out += b"%010d 00000 n \n" % o
    out += b"trailer\n<< /Size %d /Root 1 0 R %s>>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, trailer_extra, xref)
    return bytes(out)

def pages(n):
    kids = b" ".join(b"%d 0 R" % (3 + i) for i in range(n))
    objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [" + kids + b"] /Count %d >>" % n]
    objects += [b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>"] * n
    return objects

def rc4(key, data):
    s = list(range(256)); j = 0
    for i in range(256):
        j = (j + s[i] + key[i % len(key)]) % 256; s[i], s[j] = s[j], s[i]
    i = j = 0; out = bytearray()
    for c in data:
        i = (i + 1) % 256; j = (j + s[i]) % 256; s[i], s[j] = s[j], s[i]
        out.append(c ^ s[(s[i] + s[j]) % 256])
    return bytes(out)

PAD = bytes.fromhex("28BF4E5E4E758A4164004E56FFFA01082E2E00B6D0683E802F0CA9FE6453697A")

def encrypted(password=b"secret"):
    ident = b"0123456789abcdef"
    owner = rc4(hashlib.md5((b"owner" + PAD)[:32]).digest()[:5], (password + PAD)[:32])
    perms = (-4).to_bytes(4, "little", signed=True)
    key = hashlib.md5((password + PAD)[:32] + owner + perms + ident).digest()[:5]
    user = rc4(key, PAD)
    hexed = lambda b: b"<" + b.hex().encode() + b">"
    objects = pages(1)
    objects.append(b"<< /Filter /Standard /V 1 /R 2 /O " + hexed(owner) + b" /U " + hexed(user) + b" /P -4 >>")
    return pdf(objects, b"/Encrypt %d 0 R /ID [" % len(objects) + hexed(ident) + hexed(ident) + b"] ")

def scanned(jpeg, width, height):
    picture = open(jpeg, "rb").read()
    draw = b"q 595 0 0 842 0 0 cm /Scan Do Q"
    return pdf([b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R"
                b" /Resources << /XObject << /Scan 5 0 R >> >> >>",
                b"<< /Length %d >>\nstream\n" % len(draw) + draw + b"\nendstream",
                b"<< /Type /XObject /Subtype /Image /Width %d /Height %d /ColorSpace /DeviceRGB"
                b" /BitsPerComponent 8 /Filter /DCTDecode /Length %d >>\nstream\n" % (width, height, len(picture))
                + picture + b"\nendstream"])

# hostile_pdf.py pages FILE N | encrypted FILE | damaged FILE | scanned FILE JPEG WIDTH HEIGHT
kind, path = sys.argv[1], sys.argv[2]
data = {"pages": lambda: pdf(pages(int(sys.argv[3]))), "encrypted": encrypted,
        "damaged": lambda: b"%PDF-1.4\n" + bytes(range(256)) * 8,
        "scanned": lambda: scanned(sys.argv[3], int(sys.argv[4]), int(sys.argv[5]))}[kind]()
open(path, "wb").write(data)
