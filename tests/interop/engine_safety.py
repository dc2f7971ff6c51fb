"""An engine call whose process dies midway (an add, a delete, an extraction over an
existing file) leaves the archive and the user's files byte for byte as they were,
and no temporary file behind. An extraction never writes outside its folder through
a link already in it (under Wine a Unix link shows as a reparse point)."""

import glob
import os
import time
import zipfile

from engine import Driver, errors, tree
from interop import Checks, parse_args, scratch


def links_not_followed(checks, driver, work):
    outside = os.path.join(work, "outside")
    out = os.path.join(work, "links-out")
    os.makedirs(outside)
    os.makedirs(out)
    os.symlink(outside, os.path.join(out, "link"))
    os.symlink(os.path.join(work, "nowhere"), os.path.join(out, "dangling"))
    archive = os.path.join(work, "links.zip")
    with zipfile.ZipFile(archive, "w") as z:
        for name in ["link/evil.txt", "link/deeper/evil.txt", "dangling/evil.txt", "ok/fine.txt"]:
            z.writestr(name, b"data")
        z.writestr(zipfile.ZipInfo("dangling/"), b"")
    count, records, _ = driver.run("extract", os.path.join("..", "links.zip"), "-dirnames",
                                   "-overwrite", cwd=out)
    checks.equal("links: only the entry outside them counts", count, 1)
    # Wine shows a Unix link to nothing as nothing, and no folder can be made in its place.
    dangling = 11 if driver.emulator else 7
    checks.equal("links: the others are refused", errors(records), [7, 7, dangling, dangling])
    checks.equal("links: nothing written through them",
                 (os.listdir(outside), os.path.lexists(os.path.join(work, "nowhere"))), ([], False))
    checks.equal("links: the folder holds the links and the file",
                 (sorted(os.listdir(out)), os.listdir(os.path.join(out, "ok"))),
                 (["dangling", "link", "ok"], ["fine.txt"]))


def main():
    cli = parse_args()
    driver = Driver(cli)
    checks = Checks()
    with scratch() as work:
        with open(os.path.join(work, "small.txt"), "wb") as f:
            f.write(b"small file\n" * 100)
        with open(os.path.join(work, "big.txt"), "wb") as f:
            f.write(b"".join(b"row %d, some text to deflate\n" % i for i in range(900000)))
        count, _, _ = driver.run("add", "t.zip", "small.txt", "big.txt", cwd=work)
        checks.equal("archive made", count, 2)
        with open(os.path.join(work, "more.txt"), "wb") as f:
            f.write(b"".join(b"another row %d\n" % i for i in range(1500000)))
        before = tree(work)

        def killed(what, *args, cwd=work):
            _, _, done = driver.run(*args, "-kill-at", "3", cwd=cwd)
            checks.equal(f"{what}: the process died ({done.returncode})",
                         done.returncode not in (0, 1, 2) and b"result" not in done.stdout, True)
            # Under Wine the dead process's handles are closed by the wineserver a moment
            # after the process is gone; the temporary file goes with its last handle.
            deadline = time.monotonic() + 20
            while glob.glob(os.path.join(work, "**", "~tvx*"), recursive=True):
                if time.monotonic() > deadline:
                    break
                time.sleep(0.05)

        killed("add", "add", "t.zip", "more.txt", "-level", "9")
        checks.equal("add killed: everything as it was", tree(work), before)
        killed("delete", "delete", "t.zip", "small.txt")
        checks.equal("delete killed: everything as it was", tree(work), before)

        out = os.path.join(work, "out")
        os.makedirs(out)
        with open(os.path.join(out, "big.txt"), "wb") as f:
            f.write(b"the user's own big.txt")
        before_out = tree(out)
        killed("extract", "extract", os.path.join("..", "t.zip"), "-overwrite", cwd=out)
        # small.txt comes first and is whole before the process dies; nothing else is new.
        expected = dict(before_out, **{"small.txt": before["small.txt"]})
        checks.equal("extract killed: the existing file is intact", tree(out), expected)
        checks.equal("extract killed: the archive too", tree(work).get("t.zip"), before["t.zip"])
        links_not_followed(checks, driver, work)
    checks.finish()


if __name__ == "__main__":
    main()
