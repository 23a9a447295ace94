"""Runs the ```python examples of docs/python.md as written. Each block runs on its own in a
fresh namespace and a temporary folder; a line `EXPRESSION  # -> TEXT` also checks that
repr(EXPRESSION) is TEXT, so the results the guide shows are the results the library gives."""

import os
import pathlib
import re
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "docs"))
from doc_blocks import blocks  # noqa: E402  (the documentation's own block reader)

DOCS = pathlib.Path(os.environ.get("ZTL_DOCS_DIR", pathlib.Path(__file__).resolve().parents[2] / "docs"))
CHECKED = re.compile(r"^(?P<indent>\s*)(?P<code>\S.*?)\s+# -> (?P<expected>.+)$")


def checked(body):
    """The block with each `EXPRESSION  # -> TEXT` line turned into a check, and the number of
    checks."""
    out, count = [], 0
    for line in body:
        match = CHECKED.match(line)
        if match:
            try:
                compile(match["code"], "<example>", "eval")
            except SyntaxError:
                match = None
        if match:
            line = "%s__check((%s), %r)" % (match["indent"], match["code"], match["expected"])
            count += 1
        out.append(line)
    return "\n".join(out) + "\n", count


class PythonGuide(unittest.TestCase):
    def test_examples_run_and_show_their_results(self):
        page = DOCS / "python.md"
        found = blocks(page, "python")
        self.assertGreater(len(found), 10, "the guide has its examples")
        checks = expected_checks = 0
        for number, body in found:
            source, count = checked(body)
            expected_checks += count
            with self.subTest(line=number):
                def check(value, expected):
                    nonlocal checks
                    checks += 1
                    self.assertEqual(repr(value), expected, "python.md line %d" % number)

                # Line numbers of errors point into the guide.
                code = compile("\n" * number + source, str(page), "exec")
                cwd = os.getcwd()
                with tempfile.TemporaryDirectory() as folder:
                    os.chdir(folder)
                    try:
                        exec(code, {"__check": check, "__name__": "__doc_example__"})
                    finally:
                        os.chdir(cwd)
        self.assertGreater(checks, 30, "the guide shows results")
        # Every result shown was checked: none sits on a path the example did not take.
        self.assertEqual(checks, expected_checks)


if __name__ == "__main__":
    unittest.main()
