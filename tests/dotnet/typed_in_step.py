"""Checks that the committed typed classes are what make_typed.py writes now.

    typed_in_step.py make_typed.py Typed.g.cs"""
import difflib
import pathlib
import subprocess
import sys

script, committed = sys.argv[1], pathlib.Path(sys.argv[2])
written = subprocess.run([sys.executable, script], check=True, capture_output=True, text=True).stdout
have = committed.read_text(encoding="utf-8")
if written != have:
    sys.stdout.writelines(difflib.unified_diff(have.splitlines(True), written.splitlines(True),
                                               str(committed), "make_typed.py", n=1))
    print(f"{committed} is out of step: regenerate it with {script}")
    sys.exit(1)
print(f"{committed} is in step with the type library")
