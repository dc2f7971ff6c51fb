"""Two tarvox-cli processes writing one archive at once: the second waits for the first
and works on the archive as the first left it, so every add that reports success is
in the archive. Runs natively or under Wine as the build is."""

import os
import subprocess
import time
import zipfile

from interop import Checks, parse_args, scratch

ROUNDS = 20


def start(cli, *args):
    command = ([cli.emulator] if cli.emulator else []) + [cli.path] + list(args)
    env = dict(os.environ, LC_ALL="C.UTF-8") if cli.emulator else None
    return subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)


def finish(process):
    out, err = process.communicate(timeout=300)
    return process.returncode, err.decode("latin-1")


def names(archive):
    with zipfile.ZipFile(archive) as z:
        return sorted(z.namelist())


def main():
    cli = parse_args()
    checks = Checks()
    with scratch() as root:
        def write(name, data):
            path = os.path.join(root, name)
            with open(path, "wb") as f:
                f.write(data)
            return cli.arg_path(path)

        # Writers that overlap by chance, both on an archive and on one not made yet.
        lost = []
        for round_ in range(ROUNDS):
            archive = os.path.join(root, f"r{round_}.zip")
            if round_ % 2 == 0:
                with zipfile.ZipFile(archive, "w") as z:
                    z.writestr("old.txt", "old")
            a = write(f"a{round_}.txt", b"a" * 5000)
            b = write(f"b{round_}.txt", b"b" * 5000)
            first = start(cli, "add", cli.arg_path(archive), a)
            second = start(cli, "add", cli.arg_path(archive), b)
            results = [finish(first), finish(second)]
            expected = sorted((["old.txt"] if round_ % 2 == 0 else []) +
                              [f"a{round_}.txt", f"b{round_}.txt"])
            codes = [code for code, _ in results]
            got = names(archive) if os.path.exists(archive) else []
            if codes != [0, 0] or got != expected:
                lost.append((round_, codes, got, [err for _, err in results]))
        checks.equal("rounds where an add was refused or lost", lost, [])

        # A writer that surely finds the archive busy says it waits, once, and then
        # adds to what the first one wrote; a delete waits the same way.
        archive = os.path.join(root, "busy.zip")
        big = write("big.bin", os.urandom(96 << 20))
        small = write("small.txt", b"small")
        first = start(cli, "add", "-l", "9", cli.arg_path(archive), big)
        time.sleep(1.5)
        second = start(cli, "add", cli.arg_path(archive), small)
        (code1, _), (code2, err2) = finish(first), finish(second)
        checks.equal("exit codes of the overlapping adds", (code1, code2), (0, 0))
        checks.equal("the waiting writer said so once",
                     err2.count("waiting for another program writing"), 1)
        checks.equal("both adds are in the archive", names(archive), ["big.bin", "small.txt"])
        first = start(cli, "add", "-l", "9", cli.arg_path(archive), write("big2.bin", os.urandom(96 << 20)))
        time.sleep(1.5)
        second = start(cli, "delete", cli.arg_path(archive), "small.txt")
        (code1, _), (code2, _) = finish(first), finish(second)
        checks.equal("exit codes of an add and a delete at once", (code1, code2), (0, 0))
        checks.equal("the delete worked on what the add left", names(archive),
                     ["big.bin", "big2.bin"])
        with zipfile.ZipFile(archive) as z:
            checks.equal("the archive tests whole", z.testzip(), None)

        # Readers during a long rewrite (big.bin replaced) are not held up by it: they
        # finish while it works, and find the archive as it was, whole.
        before = names(archive)
        first = start(cli, "add", "-l", "9", cli.arg_path(archive), big)
        time.sleep(1.5)
        for reader in (["list"], ["test"]):
            done = cli.run(*reader, cli.arg_path(archive))
            checks.equal(f"{reader[0]} during a rewrite: exit code, the add still working",
                         (done.returncode, first.poll()), (0, None))
            if reader == ["list"]:
                out = done.stdout.decode(cli.encoding)
                checks.equal("the list shows the archive as it was",
                             [n for n in before if n not in out], [])
        checks.equal("the rewrite's exit code", finish(first)[0], 0)
        with zipfile.ZipFile(archive) as z:
            checks.equal("the archive tests whole after it", z.testzip(), None)
    checks.finish()


if __name__ == "__main__":
    main()
