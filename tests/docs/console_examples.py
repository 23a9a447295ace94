#!/usr/bin/env python3
"""Runs the `console` examples of the documentation and checks their output.

A ```console block is a transcript: each line starting with "$ " is a command, run by bash with
the `ztl` under test first on PATH; the lines up to the next command are its expected output
(standard output and standard error together). A command followed by no output lines only has to
succeed. A trailing "# ..." comment on a command line is part of the command, as in bash.

usage: console_examples.py ZTL_BINARY FILE.md...
"""
import os
import pathlib
import subprocess
import sys
import tempfile

from doc_blocks import blocks


def examples(path):
    """Yields (line number, command, expected output lines) for every console command."""
    for start, body in blocks(path, "console"):
        current = None
        for number, line in enumerate(body, start + 1):
            if line.startswith("$ "):
                if current:
                    yield current
                current = (number, line[2:], [])
            elif current:
                current[2].append(line)
        if current:
            yield current


def main():
    ztl, files = pathlib.Path(sys.argv[1]).resolve(), sys.argv[2:]
    failures = count = 0
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, PATH=f"{ztl.parent}{os.pathsep}{os.environ['PATH']}",
                   LC_ALL="C.UTF-8", LANG="C.UTF-8")
        env.pop("LC_TIME", None)
        for name in files:
            for number, command, expected in examples(pathlib.Path(name)):
                count += 1
                run = subprocess.run(["bash", "-c", command], cwd=work, env=env,
                                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                     text=True, timeout=60)
                got = run.stdout.splitlines()
                ok = got == expected if expected else run.returncode == 0
                if not ok:
                    failures += 1
                    print(f"{name}:{number}: $ {command}\n  expected: {expected!r}\n"
                          f"  got (status {run.returncode}): {got!r}")
    print(f"{count} console examples, {failures} failed")
    return 1 if failures or not count else 0


if __name__ == "__main__":
    sys.exit(main())
