"""ZIP64 through the engine libraries: a file past 4 GiB and more than 65,535
entries are written so that unzip, 7zz and Python's zipfile read them, and read
back here."""

import os
import subprocess
import zipfile

from engine import Driver, errors
from interop import Checks, parse_args, scratch

BIG = (1 << 32) + 123456  # past 4 GiB; a sparse file of zeros, cheap to make and read
MANY = 65536 + 100


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
