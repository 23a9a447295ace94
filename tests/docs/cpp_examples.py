#!/usr/bin/env python3
"""Turns the ```cpp examples of the documentation into one GoogleTest program.

Each block becomes a test of its own (its statements in the test's body, so blocks do not see
each other's names); its #include lines go to the top of the program. A block that is a whole
program (it defines `main`) goes into a namespace of its own, and its test calls that `main`.
The examples are thereby compiled against the library and run, so they cannot drift from the
code.

usage: cpp_examples.py OUT.cpp FILE.md...
"""
import pathlib
import re
import sys

from doc_blocks import blocks


def main():
    out, pages = pathlib.Path(sys.argv[1]), sys.argv[2:]
    includes = {"#include <gtest/gtest.h>"}
    tests = []
    for page in map(pathlib.Path, pages):
        stem = re.sub(r"\W", "_", page.stem.title())
        for number, body in blocks(page, "cpp"):
            includes.update(line.strip() for line in body if line.startswith("#include"))
            statements = ["" if line.startswith("#include") else line for line in body]
            name = f"{stem}Line{number}"
            where = f"#line {number + 1} \"{page.resolve()}\"\n"
            if any(re.match(r"int main\s*\(\s*\)", line) for line in statements):
                # Only `main` may end without a return: a program that returns nothing becomes a
                # void function, one that returns a status is checked for 0.
                returns = any(re.search(r"\breturn\b", line) for line in statements)
                program = [re.sub(r"^int main\b", "int Main" if returns else "void Main", line)
                           for line in statements]
                check = f"EXPECT_EQ({name}::Main(), 0);" if returns else f"{name}::Main();"
                tests.append(f"namespace {name} {{\n{where}" + "\n".join(program) + "\n}\n"
                             f"TEST(DocExamples, {name}) {{ {check} }}\n")
            else:
                tests.append(f"// {page.name}, line {number}\nTEST(DocExamples, {name}) {{\n{where}"
                             + "\n".join("  " + line for line in statements) + "\n}\n")
    text = "// Generated from the documentation's C++ examples; do not edit.\n"
    text += "\n".join(sorted(includes)) + "\n\n" + "\n".join(tests)
    if not out.exists() or out.read_text() != text:
        out.write_text(text)


if __name__ == "__main__":
    main()
