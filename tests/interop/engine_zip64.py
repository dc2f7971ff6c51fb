"""ZIP64 through the engine libraries: a file past 4 GiB and more than 65,535
entries are written so that unzip, 7zz and Python's zipfile read them, and read
back here; a stored entry of 4 GiB + 1 goes through add, list, test, extract and
delete; and `tarvox-cli list` gives the sizes Python's zipfile reads, whichever
record holds them."""

import os
import struct
import subprocess
import zipfile

from engine import Driver, errors
from interop import Checks, parse_args, scratch

BIG = (1 << 32) + 123456  # past 4 GiB; a sparse file of zeros, cheap to make and read
MANY = 65536 + 100
HUGE = (1 << 32) + 1
FF32 = 0xFFFFFFFF


def sparse_archive(path, rows):
    """Stored entries of zeros left as holes, so that only the records cost disk:
    rows of (name, size, kind), kind "plain" (32-bit sizes), "zip64" (sizes in the
    local header's zip64 block) or "central" (a streamed entry: zero sizes in the
    local header, zip64 ones in its descriptor and its central record). The CRCs
    are left 0: a listing does not read the data."""
    central = b""
    with open(path, "wb") as f:
        for name, size, kind in rows:
            offset = f.tell()
            name = name.encode()
            flags = 8 if kind == "central" else 0
            local_size = {"plain": size, "zip64": FF32, "central": 0}[kind]
            extra = struct.pack("<HHQQ", 1, 16, size, size) if kind == "zip64" else b""
            f.write(struct.pack("<IHHHIIIIHH", 0x04034B50, 45, flags, 0, 0x210000, 0, local_size,
                                local_size, len(name), len(extra)) + name + extra)
            f.seek(size, os.SEEK_CUR)
            if kind == "central":
                f.write(struct.pack("<IIQQ", 0x08074B50, 0, size, size))
            wide = [v for v in (size, size, offset) if v >= FF32]
            big_size = size >= FF32
            central_extra = struct.pack("<HH", 1, 8 * len(wide)) + b"".join(
                struct.pack("<Q", v) for v in wide) if wide else b""
            central += struct.pack("<IHHHHIIIIHHHHHII", 0x02014B50, 45, 45, flags, 0, 0x210000, 0,
                                   FF32 if big_size else size, FF32 if big_size else size,
                                   len(name), len(central_extra), 0, 0, 0, 0,
                                   min(offset, FF32)) + name + central_extra
        start = f.tell()
        f.write(central)
        zip64_end = f.tell()
        count = len(rows)
        f.write(struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, count, count,
                            len(central), start))
        f.write(struct.pack("<IIQI", 0x07064B50, 0, zip64_end, 1))
        f.write(struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, len(central),
                            min(start, FF32), 0))


def listed(cli, archive):
    """(name, size, stored size, ratio) of each line of `tarvox-cli list`, and its exit code."""
    done = cli.run("list", cli.arg_path(archive))
    rows = [line.split("\t") for line in done.stdout.decode("utf-8").splitlines()]
    return [(r[0], int(r[2]), int(r[3]), r[4]) for r in rows], done.returncode


def main():
    cli = parse_args()
    driver = Driver(cli)
    checks = Checks()
    with scratch() as work:
        with open(os.path.join(work, "big.bin"), "wb") as f:
            f.truncate(BIG)
            f.seek(BIG - 5)
            f.write(b"tail!")
        count, records, done = driver.run("add", "big.zip", "-level", "1", "big.bin", "-quiet",
                                          cwd=work)
        checks.equal(f"big: added ({done.stdout[-300:]!r})", (count, errors(records)), (1, []))
        archive = os.path.join(work, "big.zip")
        with zipfile.ZipFile(archive) as z:
            info = z.getinfo("big.bin")
            checks.equal("big: zipfile size", info.file_size, BIG)
            with z.open(info) as entry:
                entry.seek(BIG - 5)
                checks.equal("big: zipfile reads the tail", entry.read(), b"tail!")
        done = subprocess.run(["unzip", "-tq", archive], capture_output=True)
        checks.equal(f"big: unzip -t ({done.stdout!r})", done.returncode, 0)
        count, records, _ = driver.run("extract", "big.zip", "-test", "-quiet", cwd=work)
        checks.equal("big: tested here", (count, errors(records)), (1, []))
        os.remove(archive)

        huge_file = os.path.join(work, "huge.bin")
        with open(huge_file, "wb") as f:
            f.truncate(HUGE - 1)
            f.seek(HUGE - 1)
            f.write(b"!")
        with open(os.path.join(work, "small.txt"), "wb") as f:
            f.write(b"small")
        count, records, _ = driver.run("add", "huge.zip", "-level", "0", "huge.bin", "small.txt",
                                       cwd=work)
        checks.equal("huge: added", (count, errors(records)), (2, []))
        steps = [size for action, _, size, text in records if action == 2]
        checks.equal("huge: progress climbs to 100", (steps == sorted(steps), steps[-1:]),
                     (True, [100]))
        os.remove(huge_file)
        archive = os.path.join(work, "huge.zip")
        checks.equal("huge: listed with the real size", listed(cli, archive),
                     ([("huge.bin", HUGE, HUGE, "0%"), ("small.txt", 5, 5, "0%")], 0))
        count, records, _ = driver.run("extract", "huge.zip", "-test", "-quiet", cwd=work)
        checks.equal("huge: tested", (count, errors(records)), (2, []))
        out = os.path.join(work, "out")
        os.makedirs(out)
        count, records, _ = driver.run("extract", os.path.join("..", "huge.zip"), "-quiet",
                                       "huge.bin", cwd=out)
        checks.equal("huge: extracted", (count, errors(records)), (1, []))
        with open(os.path.join(out, "huge.bin"), "rb") as f:
            f.seek(HUGE - 2)
            checks.equal("huge: extracted size and tail", (f.read(), f.tell()), (b"\0!", HUGE))
        os.remove(os.path.join(out, "huge.bin"))
        count, records, _ = driver.run("delete", "huge.zip", "huge.bin", "-quiet", cwd=work)
        checks.equal("huge: deleted", (count, errors(records)), (1, []))
        checks.equal("huge: what is left", listed(cli, archive), ([("small.txt", 5, 5, "0%")], 0))
        os.remove(archive)

        rows = [("small", 5, "plain"), ("edge", 0xFFFFFFFE, "plain"), ("local64", HUGE, "zip64"),
                ("central64", HUGE, "central"), ("last", 7, "plain")]
        sparse = os.path.join(work, "sparse.zip")
        sparse_archive(sparse, rows)
        with zipfile.ZipFile(sparse) as z:
            expected = [(i.filename, i.file_size, i.compress_size, "0%") for i in z.infolist()]
        checks.equal("sparse: zipfile reads the table", [r[:2] for r in expected],
                     [r[:2] for r in rows])
        checks.equal("sparse: listed as zipfile reads it", listed(cli, sparse), (expected, 0))
        os.remove(sparse)

        many = os.path.join(work, "many")
        os.makedirs(many)
        for i in range(MANY):
            with open(os.path.join(many, f"{i:05d}"), "wb") as f:
                f.write(b"%d" % i)
        count, records, done = driver.run("add", "many.zip", "-level", "0", "-recurse",
                                          "-dirnames", "many", "-quiet", cwd=work)
        checks.equal(f"many: added ({done.stdout[-300:]!r})", (count, errors(records)),
                     (MANY + 1, []))
        archive = os.path.join(work, "many.zip")
        with zipfile.ZipFile(archive) as z:
            checks.equal("many: zipfile count", len(z.infolist()), MANY + 1)
            checks.equal("many: zipfile test", z.testzip(), None)
        done = subprocess.run(["7zz", "t", archive], capture_output=True)
        checks.equal(f"many: 7zz t ({done.stdout[-200:]!r})", done.returncode, 0)
        count, records, _ = driver.run("extract", "many.zip", "-test", "-quiet", cwd=work)
        checks.equal("many: tested here", (count, errors(records)), (MANY + 1, []))
    checks.finish()


if __name__ == "__main__":
    main()
