"""Archives as other systems leave them, through tarvox-cli and the real libraries:
Deflate64 entries, exact file times, archives cut short (a download that stopped), and
paths past 300 characters."""

import os
import random
import subprocess
import zipfile

from engine import Driver, errors
from interop import Checks, parse_args, scratch

# 2021-03-04 05:06:07.1234567 UTC, in nanoseconds: a time DOS cannot hold.
EXACT_NS = 1614834367123456700


def files_of(root):
    found = {}
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, root)] = f.read()
    return found


def make_tree(root):
    rng = random.Random(21)
    block = bytes(rng.getrandbits(8) for _ in range(50000))
    files = {
        # Repeats 50,000 bytes back: matches only Deflate64's 64 KiB window reaches.
        "far.bin": block * 8,
        "text.txt": b"".join(b"line %d of the text\n" % i for i in range(60000)),
        "small.txt": b"hello",
        "empty.dat": b"",
    }
    for i in range(120):
        files[f"many/f{i:03}.txt"] = b"".join(
            b"%d " % rng.randint(0, 999) for _ in range(rng.randint(0, 6000)))
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    os.utime(os.path.join(root, "small.txt"), ns=(EXACT_NS, EXACT_NS))
    return files


def deflate64(checks, cli, work, src, files):
    archive = os.path.join(work, "d64.zip")
    subprocess.run(["7zz", "a", "-tzip", "-mm=Deflate64", archive, "."], cwd=src, check=True,
                   capture_output=True)
    out = os.path.join(work, "out-d64")
    done = cli.run("extract", cli.arg_path(archive), cli.arg_path(out))
    checks.equal(f"Deflate64: extract exit code ({done.stderr[-300:]!r})", done.returncode, 0)
    checks.equal("Deflate64: every file byte for byte", files_of(out), files)
    done = cli.run("test", cli.arg_path(archive))
    checks.equal(f"Deflate64: test exit code ({done.stderr[-300:]!r})", done.returncode, 0)
    # Encrypted, through the library's call block (the tool takes no password).
    archive = os.path.join(work, "d64-encrypted.zip")
    subprocess.run(["7zz", "a", "-tzip", "-mm=Deflate64", "-mem=ZipCrypto", "-pS3cret", archive,
                    "."], cwd=src, check=True, capture_output=True)
    out = os.path.join(work, "out-d64-encrypted")
    os.makedirs(out)
    driver = Driver(cli)
    _, records, done = driver.run("extract", os.path.relpath(archive, out), "-dirnames",
                                  "-password", "S3cret", cwd=out)
    checks.equal(f"Deflate64 encrypted: no errors ({done.stderr[-300:]!r})", errors(records), [])
    checks.equal("Deflate64 encrypted: every file byte for byte", files_of(out), files)
    _, records, _ = driver.run("extract", os.path.relpath(archive, out), "-test", "-password",
                                  "wrong", cwd=out)
    checks.equal("Deflate64 encrypted, wrong password: refused", len(errors(records)) > 0, True)


def exact_times(checks, cli, work, src):
    small = os.path.join(src, "small.txt")
    ours = os.path.join(work, "times-ours.zip")
    done = cli.run("add", cli.arg_path(ours), cli.arg_path(small))
    checks.equal(f"times: add ({done.stderr!r})", done.returncode, 0)
    seven = os.path.join(work, "times-7zz.zip")
    subprocess.run(["7zz", "a", "-tzip", seven, small], check=True, capture_output=True)
    info = os.path.join(work, "times-zip.zip")
    subprocess.run(["zip", "-q", "-j", info, small], check=True)
    # NTFS times keep 100 ns; the Unix extended timestamp whole seconds.
    whole_seconds = EXACT_NS // 10**9 * 10**9
    for archive, expected in [(ours, EXACT_NS), (seven, EXACT_NS), (info, whole_seconds)]:
        name = os.path.basename(archive)
        out = os.path.join(work, "out-" + name)
        done = cli.run("extract", cli.arg_path(archive), cli.arg_path(out))
        checks.equal(f"{name}: extract ({done.stderr!r})", done.returncode, 0)
        checks.equal(f"{name}: modification time", os.stat(os.path.join(out, "small.txt"))
                     .st_mtime_ns, expected)
    # Peers read the exact time of what we write.
    out = os.path.join(work, "7zz-of-ours")
    subprocess.run(["7zz", "x", f"-o{out}", ours], check=True, capture_output=True)
    checks.equal("7zz extracts our exact time",
                 os.stat(os.path.join(out, "small.txt")).st_mtime_ns, EXACT_NS)
    # The list still shows the DOS date and time the entry carries.
    with zipfile.ZipFile(ours) as z:
        dos = "%04d-%02d-%02d %02d:%02d:%02d" % z.getinfo("small.txt").date_time
    listing = cli.run("list", cli.arg_path(ours)).stdout.decode(cli.encoding)
    checks.equal("list: DOS date and time", listing.split("\t")[1], dos)


def peer_archives(work, src):
    """{name: path} of the tree zipped by each peer, with and without data descriptors."""
    made = {}

    def run(name, command, **kwargs):
        made[name] = os.path.join(work, name)
        subprocess.run(command + [made[name], "."], cwd=src, check=True, capture_output=True,
                       **kwargs)

    run("zip.zip", ["zip", "-q", "-r"])
    run("7zz.zip", ["7zz", "a", "-tzip"])
    run("7zz-d64.zip", ["7zz", "a", "-tzip", "-mm=Deflate64"])
    made["zip-piped.zip"] = os.path.join(work, "zip-piped.zip")
    with open(made["zip-piped.zip"], "wb") as out:  # descriptors after every entry
        subprocess.run(["zip", "-q", "-r", "-", "."], cwd=src, stdout=out, check=True)
    made["py-stored-piped.zip"] = os.path.join(work, "py-stored-piped.zip")
    with open(made["py-stored-piped.zip"], "wb") as raw:

        class Unseekable:  # makes zipfile write descriptors, stored data too
            def write(self, b):
                return raw.write(b)

            def flush(self):
                raw.flush()

        with zipfile.ZipFile(Unseekable(), "w", zipfile.ZIP_STORED) as z:
            for path, data in sorted(files_of(src).items()):
                with z.open(path, "w") as entry:
                    entry.write(data)
    return made


def truncated(checks, cli, work, src, files):
    for name, archive in peer_archives(work, src).items():
        with open(archive, "rb") as f:
            whole = f.read()
        for fraction in (0.5, 0.97):
            label = f"{name} cut at {fraction:.0%}"
            cut = os.path.join(work, f"cut-{fraction}-{name}")
            with open(cut, "wb") as f:
                f.write(whole[:int(len(whole) * fraction)])
            peer_out = os.path.join(work, "7zz-" + os.path.basename(cut))
            subprocess.run(["7zz", "x", "-y", f"-o{peer_out}", cut], capture_output=True)
            recovered = {k: v for k, v in files_of(peer_out).items() if files.get(k) == v}
            out = os.path.join(work, "ours-" + os.path.basename(cut))
            done = cli.run("extract", cli.arg_path(cut), cli.arg_path(out))
            got = files_of(out)
            checks.equal(f"{label}: fails, as the archive is damaged", done.returncode, 1)
            checks.equal(f"{label}: every file written is whole",
                         {k for k, v in got.items() if files.get(k) != v}, set())
            checks.equal(f"{label}: at least what 7zz recovers ({len(recovered)})",
                         set(recovered) - set(got), set())
            checks.equal(f"{label}: something recovered", len(got) > 0, True)
            # Test mode reads the same entries and names the one cut off.
            done = cli.run("test", cli.arg_path(cut))
            checks.equal(f"{label}: test names what is cut off",
                         b"the archive ends inside it" in done.stderr, True)


def long_paths(checks, cli, work):
    """A tree whose paths pass 300 characters: added, listed and extracted."""
    root = os.path.join(work, "long")
    deep = os.path.join(*("carpeta-" + c * 52 for c in "abcdef"))
    files = {os.path.join(deep, "archivo-final.txt"): b"hondo\n" * 50, "top.txt": b"top\n"}
    for name, data in files.items():
        os.makedirs(os.path.dirname(os.path.join(root, name)), exist_ok=True)
        with open(os.path.join(root, name), "wb") as f:
            f.write(data)
    archive = os.path.join(work, "long.zip")
    first = deep.split(os.sep)[0]
    # Absolute paths, so the library's own paths are long too.
    done = cli.run("add", cli.arg_path(archive), cli.arg_path(os.path.join(root, first)),
                   cli.arg_path(os.path.join(root, "top.txt")), "-r", cwd=root)
    checks.equal(f"long paths: add ({done.stderr[-300:]!r})", done.returncode, 0)
    stored = os.path.join(deep, "archivo-final.txt").replace(os.sep, "/")
    listing = cli.run("list", cli.arg_path(archive)).stdout.decode(cli.encoding)
    checks.equal("long paths: listed", stored in [r.split("\t")[0] for r in listing.splitlines()],
                 True)
    peer = os.path.join(work, "long-zip.zip")
    subprocess.run(["zip", "-q", "-r", peer, "."], cwd=root, check=True)
    for made in (archive, peer):
        out = os.path.join(work, "out-" + os.path.basename(made))
        done = cli.run("extract", cli.arg_path(made), cli.arg_path(out))
        checks.equal(f"{os.path.basename(made)}: extract ({done.stderr[-300:]!r})",
                     done.returncode, 0)
        got = files_of(out)
        checks.equal(f"{os.path.basename(made)}: the long path is there, whole",
                     got.get(os.path.join(deep, "archivo-final.txt")), b"hondo\n" * 50)
        checks.equal(f"{os.path.basename(made)}: it is past 300 characters",
                     len(os.path.join(out, deep, "archivo-final.txt")) > 300, True)


def main():
    cli = parse_args()
    checks = Checks()
    with scratch() as work:
        src = os.path.join(work, "src")
        files = make_tree(src)
        deflate64(checks, cli, work, src, files)
        exact_times(checks, cli, work, src)
        truncated(checks, cli, work, src, files)
        long_paths(checks, cli, work)
    checks.finish()


if __name__ == "__main__":
    main()
