"""Running the engine libraries' test driver (beside tarvox-cli) natively or under Wine."""

import os
import subprocess


class Driver:
    def __init__(self, cli):
        folder = os.path.dirname(os.path.abspath(cli.path))
        self.path = os.path.join(folder, "engine_driver" + (".exe" if cli.emulator else ""))
        self.emulator = cli.emulator

    def run(self, command, archive, *args, cwd):
        """Runs one call with paths relative to cwd; returns (count, records, process)."""
        line = ([self.emulator] if self.emulator else []) + [self.path, command, archive, *args]
        done = subprocess.run(line, cwd=cwd, capture_output=True)
        records, count = [], None
        for row in done.stdout.decode("utf-8", "replace").splitlines():
            fields = row.split("\t")
            if fields[0] == "result":
                count = int(fields[1])
            elif len(fields) >= 4:
                records.append((int(fields[0]), int(fields[1]), int(fields[2]), fields[3]))
        return count, records, done


def errors(records):
    return [code for action, code, _, _ in records if action >= 4 and code != 0]


def tree(root):
    """{relative path: bytes or None for a folder} of everything under root."""
    found = {}
    for folder, dirs, files in os.walk(root):
        for d in dirs:
            found[os.path.relpath(os.path.join(folder, d), root)] = None
        for f in files:
            path = os.path.join(folder, f)
            with open(path, "rb") as handle:
                found[os.path.relpath(path, root)] = handle.read()
    return found
