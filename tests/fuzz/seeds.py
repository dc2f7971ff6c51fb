"""Seed archives for the fuzz targets: small, ordinary, each showing a feature."""

import io
import os
import subprocess
import sys
import tempfile
import zipfile


def seeds():
    made = {}
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_STORED) as z:
        z.writestr("a.txt", b"alpha")
        z.writestr("dir/", b"")
        z.writestr("dir/b.txt", b"bravo" * 10)
        z.comment = b"a comment"
    made["stored"] = buffer.getvalue()

    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("text.txt", b"line of text\n" * 200)
        z.writestr("zeros.bin", bytes(70000))
        z.writestr("\u00f1and\u00fa.txt", b"unicode name")
    made["deflated"] = buffer.getvalue()

    class Unseekable(io.RawIOBase):
        def __init__(self):
            self.data = bytearray()

        def writable(self):
            return True

        def write(self, b):
            self.data += b
            return len(b)

    stream = Unseekable()
    with zipfile.ZipFile(stream, "w", zipfile.ZIP_DEFLATED) as z:
        with z.open("streamed.txt", "w") as f:
            f.write(b"written with a data descriptor\n" * 50)
        with z.open("big.txt", "w", force_zip64=True) as f:
            f.write(b"zip64 descriptor")
    made["descriptor"] = bytes(stream.data)

    made["prefixed"] = b"MZ stub before the archive" * 4 + made["stored"]

    with tempfile.TemporaryDirectory() as work:
        with open(os.path.join(work, "secret.txt"), "wb") as f:
            f.write(b"secret text " * 40)
        done = subprocess.run(["zip", "-q", "-e", "-P", "pw", "enc.zip", "secret.txt"], cwd=work)
        if done.returncode == 0:
            with open(os.path.join(work, "enc.zip"), "rb") as f:
                made["encrypted"] = f.read()
    return made


def round_trip_seeds():
    """Inputs of the round-trip target: a level/password byte, two buffer-size bytes,
    then runs of (byte, length in 256-byte steps, extra length)."""
    return {
        "stored": bytes([0x00, 0x00, 0x01]) + b"a\x00\x10" + b"b\x01\x00",
        "deflated": bytes([0x06, 0x01, 0x00]) + b"x\x40\x00" + b"y\x00\x07" + b"\x00\x10\x00",
        "encrypted": bytes([0x89, 0x00, 0x40]) + b"z\x02\x01" + b"q\x00\x03",
    }


def write(folder, made):
    os.makedirs(folder, exist_ok=True)
    for name, data in made.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


def main():
    root = sys.argv[1]
    write(os.path.join(root, "archives"), {name + ".zip": data for name, data in seeds().items()})
    write(os.path.join(root, "roundtrip"), round_trip_seeds())


if __name__ == "__main__":
    main()
