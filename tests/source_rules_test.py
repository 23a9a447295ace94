"""Rules of the source tree that the compiler alone does not show.

- Layers: base <- platform <- frame <- areas <- hosts. A file includes only headers of its own
  layer and the layers below it (an area never another area); hosts (tools/, bindings/)
  include only the public headers in include/ztldata. The build enforces the same with one
  include folder per layer; this test names the offending line.
- Failures are values: no `throw` in src/, and the only `catch` is std::bad_alloc at an
  operation's boundary, plus the last guards where a host's or a caller's code runs.
- Size: no file in src/ over 500 lines, no function over 80 lines.
- No compiler option is needed for correctness: -fno-tree-dse appears nowhere.
"""

import os
import re
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
AREAS = ["numbers", "dates", "text", "collections", "containers", "coding"]
BELOW = {"base": [], "platform": ["base"], "frame": ["base", "platform"]}
BELOW.update({area: ["base", "platform", "frame"] for area in AREAS})
HOST_DIRS = ["tools", "bindings"]
SOURCE_SUFFIXES = (".cpp", ".hpp", ".h", ".c")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)

# Files where a guard takes every exception, and why.
CATCH_ALL_ALLOWED = {
    "src/frame/dispatch.cpp": "the last guard of a late-bound call",
    "src/frame/about.cpp": "the about box's display is the host's code",
}


def files_under(*parts):
    top = os.path.join(ROOT, *parts)
    for folder, _, names in os.walk(top):
        for name in sorted(names):
            if name.endswith(SOURCE_SUFFIXES):
                path = os.path.join(folder, name)
                yield os.path.relpath(path, ROOT), path


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def layer_of(relative):
    """The layer a file of src/ or include/ztldata/ belongs to."""
    parts = relative.split(os.sep)
    if parts[0] == "src":
        return parts[1]
    if parts[:2] == ["include", "ztldata"] and len(parts) > 3:
        return parts[2]
    return None


def layer_of_include(name):
    """The layer an include names: "frame/x.hpp" or "ztldata/frame/x.hpp"."""
    parts = name.split("/")
    if parts[0] == "ztldata":
        parts = parts[1:]
    return parts[0] if len(parts) > 1 and parts[0] in BELOW else None


class Layers(unittest.TestCase):
    def test_layers_include_only_their_own_and_lower_layers(self):
        problems = []
        for top in ("src", os.path.join("include", "ztldata")):
            for relative, path in files_under(top):
                layer = layer_of(relative)
                if layer is None:
                    continue
                allowed = set(BELOW[layer]) | {layer}
                for name in INCLUDE.findall(read(path)):
                    if ".." in name.split("/"):
                        problems.append(f"{relative}: #include \"{name}\" climbs out of its folder")
                        continue
                    target = layer_of_include(name)
                    if target is not None and target not in allowed:
                        problems.append(f"{relative}: #include \"{name}\" ({layer} may use {sorted(allowed)})")
        self.assertEqual(problems, [])

    def test_hosts_use_only_public_headers(self):
        problems = []
        for host in HOST_DIRS:
            for relative, path in files_under(host):
                here = os.path.dirname(path)
                for name in INCLUDE.findall(read(path)):
                    if name.startswith("ztldata/") or name == "ztldata.h":
                        continue
                    if os.path.exists(os.path.join(here, name)):
                        continue  # the host's own file beside it
                    problems.append(f"{relative}: #include \"{name}\"")
        self.assertEqual(problems, [])


def strip_comments_and_strings(text):
    text = re.sub(r"//[^\n]*", "", text)
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    text = re.sub(r'R"(\w*)\((?:.|\n)*?\)\1"', '""', text)
    text = re.sub(r'"(?:\\.|[^"\\\n])*"', '""', text)
    text = re.sub(r"'(?:\\.|[^'\\\n])*'", "''", text)
    return text


class FailuresAreValues(unittest.TestCase):
    def test_no_throw_and_only_bad_alloc_is_caught(self):
        problems = []
        for relative, path in files_under("src"):
            code = strip_comments_and_strings(read(path))
            for number, line in enumerate(code.splitlines(), 1):
                if re.search(r"\bthrow\b", line):
                    problems.append(f"{relative}:{number}: throw")
                for caught in re.findall(r"\bcatch\s*\(([^)]*)\)", line):
                    if caught.strip() in ("const std::bad_alloc&", "std::bad_alloc&"):
                        continue
                    if caught.strip() == "..." and relative in CATCH_ALL_ALLOWED:
                        continue
                    problems.append(f"{relative}:{number}: catch ({caught})")
        self.assertEqual(problems, [])

    def test_no_compiler_option_for_correctness(self):
        problems = []
        for top in ("CMakeLists.txt", "CMakePresets.json", "cmake", "src", "tests", "bench", "fuzz",
                    "tools", "bindings", "scripts", ".ci"):
            path = os.path.join(ROOT, top)
            paths = [path] if os.path.isfile(path) else [
                os.path.join(folder, name) for folder, _, names in os.walk(path) for name in names]
            for p in paths:
                if p == os.path.abspath(__file__):
                    continue
                try:
                    if "-fno-tree-dse" in read(p):
                        problems.append(os.path.relpath(p, ROOT))
                except (UnicodeDecodeError, OSError):
                    pass
        self.assertEqual(problems, [])


def function_lengths(code):
    """(first line, line count) of each function body in C++ code without comments: a body
    is a brace block opened after a closing parenthesis (and qualifiers), outside another
    function body."""
    lengths = []
    depth = 0
    body_depth = None
    start = 0
    line = 1
    last_significant = ""
    i = 0
    while i < len(code):
        c = code[i]
        if c == "\n":
            line += 1
        elif c == "{":
            if body_depth is None and re.search(
                    r"\)\s*(const|noexcept|override|final|mutable|->\s*[\w:<>,\s*&]+|\s)*$", last_significant):
                body_depth = depth
                start = line
            depth += 1
        elif c == "}":
            depth -= 1
            if body_depth is not None and depth == body_depth:
                lengths.append((start, line - start + 1))
                body_depth = None
        if not c.isspace() or c == " ":
            last_significant = (last_significant + c)[-200:]
        i += 1
    return lengths


class Sizes(unittest.TestCase):
    def test_no_file_in_src_over_500_lines(self):
        long_files = []
        for relative, path in files_under("src"):
            count = read(path).count("\n")
            if count > 500:
                long_files.append(f"{relative}: {count} lines")
        self.assertEqual(long_files, [])

    def test_no_function_over_80_lines(self):
        long_functions = []
        for top in ["src"] + HOST_DIRS:
            for relative, path in files_under(top):
                code = strip_comments_and_strings(read(path))
                for start, count in function_lengths(code):
                    if count > 80:
                        long_functions.append(f"{relative}:{start}: {count} lines")
        self.assertEqual(long_functions, [])


if __name__ == "__main__":
    sys.exit(unittest.main())
