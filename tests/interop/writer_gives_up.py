"""A writer that another program keeps off an archive past its wait of 30 seconds is
refused with error 2 and leaves the archive as it was; a reader is not kept off by a
writer that is still working beside the archive. Runs natively or under Wine."""

import os
import subprocess
import time
import zipfile

from interop import Checks, parse_args, scratch


def hold(cli, archive, access, seconds):
    """Starts the holder and returns once it has the lock."""
    command = ([cli.emulator] if cli.emulator else []) + [
        cli.holder, cli.arg_path(archive), access, str(seconds)]
    holder = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    if holder.stdout.readline().strip() != b"held":
        raise AssertionError(f"{command} did not get the lock")
    return holder


def main():
    cli = parse_args()
    checks = Checks()
    with scratch() as root:
        archive = os.path.join(root, "held.zip")
        with zipfile.ZipFile(archive, "w") as z:
            z.writestr("old.txt", "old")
        with open(archive, "rb") as f:
            before = f.read()
        new = os.path.join(root, "new.txt")
        with open(new, "wb") as f:
            f.write(b"new")

        # A writer of ours at work the whole time: the reader lists at once, the writer
        # gives up after its wait.
        holder = hold(cli, archive, "writing", 40)
        started = time.monotonic()
        listed = cli.run("list", cli.arg_path(archive))
        checks.equal("a list beside a working writer is not kept waiting",
                     (listed.returncode, time.monotonic() - started < 10), (0, True))
        started = time.monotonic()
        added = cli.run("add", cli.arg_path(archive), cli.arg_path(new))
        waited = time.monotonic() - started
        err = added.stderr.decode("latin-1")
        checks.equal("the refused add", (added.returncode, err.count("waiting for another program"),
                                         "(error 2)" in err), (1, 1, True))
        checks.equal("it waited its 30 seconds, and no more than the holder held",
                     (waited >= 29, holder.poll() is None), (True, True))
        with open(archive, "rb") as f:
            checks.equal("the archive is as it was", f.read() == before, True)
        holder.kill()
        holder.wait()
    checks.finish()


if __name__ == "__main__":
    main()
