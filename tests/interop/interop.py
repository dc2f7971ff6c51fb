"""Shared helpers of the interop tests: running tarvox-cli natively or under Wine."""

import os
import subprocess
import sys
import tempfile


class Cli:
    def __init__(self, path, emulator=None):
        self.path = os.path.abspath(path)
        self.emulator = emulator
        # What the tool prints names in: the system's UTF-8, or under Wine the console's
        # code page, which the locale pinned below makes 437.
        self.encoding = "cp437" if emulator else "utf-8"

    def arg_path(self, path):
        """A file path as the tool sees it: under Wine, on drive Z:."""
        if self.emulator:
            return "Z:" + os.path.abspath(path).replace("/", "\\")
        return path

    def run(self, *args, check=False, cwd=None):
        command = ([self.emulator] if self.emulator else []) + [self.path] + list(args)
        env = dict(os.environ, LC_ALL="C.UTF-8") if self.emulator else None
        done = subprocess.run(command, capture_output=True, cwd=cwd, env=env)
        if check and done.returncode != 0:
            raise AssertionError(f"{command} exited {done.returncode}: {done.stderr!r}")
        return done


def parse_args():
    import argparse

    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--emulator")
    parser.add_argument("--holder", help="the program that holds an archive's lock")
    args = parser.parse_args()
    cli = Cli(args.cli, args.emulator)
    cli.holder = args.holder
    return cli


def _short(value, room=800):
    text = repr(value)
    return text if len(text) <= room else f"{text[:room]}... ({len(text)} characters)"


class Checks:
    """Collects failures so that one run reports all of them."""

    def __init__(self):
        self.failures = []
        self.count = 0

    def equal(self, what, got, expected):
        self.count += 1
        if got == expected:
            return
        if isinstance(got, dict) and isinstance(expected, dict):
            # Trees of files: the names that differ, not megabytes of their bytes.
            differ = sorted(k for k in got.keys() & expected.keys() if got[k] != expected[k])
            self.failures.append(f"{what}:\n  only got      {sorted(got.keys() - expected.keys())}"
                                 f"\n  only expected {sorted(expected.keys() - got.keys())}"
                                 f"\n  different     {differ}")
        else:
            self.failures.append(f"{what}:\n  got      {_short(got)}\n  expected {_short(expected)}")

    def finish(self):
        for failure in self.failures:
            print("FAIL", failure)
        print(f"{self.count - len(self.failures)} of {self.count} checks passed")
        sys.exit(1 if self.failures else 0)


def scratch():
    return tempfile.TemporaryDirectory(prefix="tarvox-interop-")
