"""Archives written by the engine libraries pass unzip, 7zz and Python's zipfile;
archives written by zip, 7zz and Python extract through the libraries to the same
names and bytes that unzip gives."""

import os
import random
import shutil
import subprocess
import zipfile

from engine import Driver, errors, tree
from interop import Checks, parse_args, scratch


def make_tree(root):
    rng = random.Random(11)
    files = {
        "readme.txt": b"hello\n" * 500,
        "empty.dat": b"",
        "noise.bin": bytes(rng.getrandbits(8) for _ in range(70000)),
        "docs/big.txt": b"".join(b"line %d of the document\n" % i for i in range(150000)),
        "docs/deep/er/leaf.c": b"int main(void) { return 0; }\n" * 30,
        "docs/a\u00f1o.txt": "a\u00f1o con \u00f1".encode("utf-8"),
    }
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    os.makedirs(os.path.join(root, "docs", "empty folder"))


def peer_tests(checks, work, archive, password=None):
    """unzip -t, 7zz t and zipfile's test all pass."""
    name = os.path.basename(archive)
    pw = ["-P", password] if password else []
    done = subprocess.run(["unzip", "-tq", *pw, archive], capture_output=True)
    checks.equal(f"{name}: unzip -t ({done.stdout[-200:]!r})", done.returncode, 0)
    done = subprocess.run(["7zz", "t", f"-p{password or ''}", archive], capture_output=True)
    checks.equal(f"{name}: 7zz t ({done.stdout[-300:]!r})", done.returncode, 0)
    with zipfile.ZipFile(archive) as z:
        if password:
            z.setpassword(password.encode())
        checks.equal(f"{name}: zipfile testzip", z.testzip(), None)


def unzip_into(archive, target, password=None):
    os.makedirs(target)
    pw = ["-P", password] if password else []
    subprocess.run(["unzip", "-q", *pw, archive, "-d", target], check=True, capture_output=True)
    return tree(target)


def written_here(checks, driver, work, source):
    cases = [
        ("level0.zip", ["-level", "0"]),
        ("level1.zip", ["-level", "1"]),
        ("level6.zip", ["-level", "6"]),
        ("level9.zip", ["-level", "9"]),
        ("encrypted.zip", ["-level", "6", "-encrypt", "-traditional", "-password", "s3cret"]),
    ]
    for name, options in cases:
        password = options[options.index("-password") + 1] if "-password" in options else None
        count, records, done = driver.run("add", name, "-recurse", "-dirnames", *options, "tree",
                                          cwd=work)
        checks.equal(f"{name}: count, folders included ({done.stderr!r})", count, 11)
        checks.equal(f"{name}: no errors", errors(records), [])
        archive = os.path.join(work, name)
        peer_tests(checks, work, archive, password)
        # unzip reads the Unicode path field: the names come back as they were.
        got = unzip_into(archive, os.path.join(work, "unzip-" + name), password)
        checks.equal(f"{name}: unzip gives the tree back", got, source)
        # And the libraries read their own archive back.
        back = os.path.join(work, "back-" + name)
        os.makedirs(back)
        extra = ["-password", password] if password else []
        count, records, _ = driver.run("extract", os.path.join("..", name), "-dirnames", *extra,
                                       cwd=back)
        checks.equal(f"{name}: extracted back", tree(back), source)


def written_by_peers(checks, driver, work, tree_root):
    archives = {}

    def zip_cmd(name, *args):
        out = os.path.join(work, name)
        subprocess.run(["zip", "-q", "-r", *args, out, "."], cwd=tree_root, check=True)
        archives[name] = (out, None)

    for level in range(10):
        zip_cmd(f"zip{level}.zip", f"-{level}")
    zip_cmd("zip-encrypted.zip", "-P", "pw")
    archives["zip-encrypted.zip"] = (archives["zip-encrypted.zip"][0], "pw")
    zip_cmd("zip-fz.zip", "-fz")
    zip_cmd("zip-D.zip", "-D")
    piped = os.path.join(work, "zip-piped.zip")
    with open(piped, "wb") as out:
        subprocess.run(["zip", "-q", "-r", "-", "."], cwd=tree_root, stdout=out, check=True)
    archives["zip-piped.zip"] = (piped, None)
    for name, options in [("7z-deflate.zip", []), ("7z-store.zip", ["-mx=0"]),
                          ("7z-utf8.zip", ["-mcu=on"]), ("7z-deflate9.zip", ["-mx=9"])]:
        out = os.path.join(work, name)
        subprocess.run(["7zz", "a", "-tzip", *options, out, "."], cwd=tree_root, check=True,
                       capture_output=True)
        archives[name] = (out, None)
    for name, compression, zip64 in [("py-stored.zip", zipfile.ZIP_STORED, False),
                                     ("py-deflated.zip", zipfile.ZIP_DEFLATED, False),
                                     ("py-zip64.zip", zipfile.ZIP_DEFLATED, True)]:
        out = os.path.join(work, name)
        with zipfile.ZipFile(out, "w", compression) as z:
            for folder, _, files in sorted(os.walk(tree_root)):
                for f in sorted(files):
                    full = os.path.join(folder, f)
                    info = zipfile.ZipInfo.from_file(full, os.path.relpath(full, tree_root))
                    info.compress_type = compression
                    with open(full, "rb") as src, z.open(info, "w", force_zip64=zip64) as dst:
                        shutil.copyfileobj(src, dst)
        archives[name] = (out, None)

    for name, (archive, password) in archives.items():
        expected = unzip_into(archive, os.path.join(work, "u-" + name), password)
        ours = os.path.join(work, "o-" + name)
        os.makedirs(ours)
        extra = ["-password", password] if password else []
        count, records, done = driver.run("extract", os.path.join("..", name), "-dirnames", *extra,
                                          cwd=ours)
        checks.equal(f"{name}: no errors ({done.stderr!r})", errors(records), [])
        checks.equal(f"{name}: same names and bytes as unzip", tree(ours), expected)
        files = sum(1 for v in expected.values() if v is not None)
        checks.equal(f"{name}: count covers every file", count >= files, True)
        # Test mode agrees and writes nothing.
        count, records, _ = driver.run("extract", os.path.join("..", name), "-test", *extra,
                                       cwd=ours)
        checks.equal(f"{name}: test finds no fault", errors(records), [])


def main():
    cli = parse_args()
    driver = Driver(cli)
    checks = Checks()
    with scratch() as work:
        source_root = os.path.join(work, "tree")
        make_tree(source_root)
        source = {os.path.join("tree", k): v for k, v in tree(source_root).items()}
        source["tree"] = None
        written_here(checks, driver, work, source)
        written_by_peers(checks, driver, work, source_root)
    checks.finish()


if __name__ == "__main__":
    main()
