"""Archives written by zip, 7zz and Python, extracted through the program's extract dialog
(opened as the "extract here" verb opens it, every entry, folders kept), give the same names
and bytes that unzip gives."""

import os
import subprocess
import zipfile

from engine import tree
from engine_interop import make_tree, unzip_into
from interop import Checks, parse_args, scratch


def peer_archives(work, tree_root):
    archives = []
    for name, command in [("zip.zip", ["zip", "-q", "-r", "-6"]),
                          ("7z-utf8.zip", ["7zz", "a", "-tzip", "-mcu=on"])]:
        out = os.path.join(work, name)
        subprocess.run(command + [out, "."], cwd=tree_root, check=True, capture_output=True)
        archives.append(out)
    out = os.path.join(work, "py.zip")
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for folder, _, files in sorted(os.walk(tree_root)):
            for f in sorted(files):
                full = os.path.join(folder, f)
                z.write(full, os.path.relpath(full, tree_root))
    archives.append(out)
    return archives


def main():
    probe = parse_args()
    checks = Checks()
    with scratch() as work:
        source = os.path.join(work, "tree")
        make_tree(source)
        for archive in peer_archives(work, source):
            name = os.path.basename(archive)
            expected = unzip_into(archive, os.path.join(work, "u-" + name))
            ours = os.path.join(work, "o-" + name)
            os.makedirs(ours)
            done = probe.run(probe.arg_path(archive), "extract", probe.arg_path(ours))
            checks.equal(f"{name}: the dialog extracted without a message ({done.stderr!r})",
                         done.returncode, 0)
            checks.equal(f"{name}: same names and bytes as unzip", tree(ours), expected)
    checks.finish()


if __name__ == "__main__":
    main()
