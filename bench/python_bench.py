"""The cost of a late-bound call from Python, beside the anchor of a cheap builtin call
(zlib.crc32(b"")) in the same run, as a ratio, so the numbers mean something on any machine.

    PYTHONPATH=build/release/bindings/python python3 bench/python_bench.py [--quick]

Each case is timed with timeit, best of several repeats (the least disturbed run)."""

import argparse
import sys
import timeit
import zlib

import ztldata

TARGET = 4  # a late-bound call within this many anchor calls


def cases():
    n = ztldata.CreateObject("ZtNumeric")
    form = ztldata.Container()
    stack = form.Place("ZtStack")
    crc = form.Place("ZtCRC32")
    register = crc.InitCRC32(0xEDB88320, 0xFFFFFFFF)
    c = ztldata.Collection([1, 2, 3])
    data = bytes(range(256)) * 4
    names = {"zlib": zlib, "n": n, "stack": stack, "crc": crc, "register": register, "c": c, "data": data}
    # (name, statement, whether the target applies)
    return names, [
        ("zlib.crc32(b'') (anchor)", "zlib.crc32(b'')", False),
        ("n.IsEven(4)", "n.IsEven(4)", True),
        ("n.Num2Letter(12)", "n.Num2Letter(12)", False),
        ("n.CompressNumber(1.5, intDecimals=1)", "n.CompressNumber(1.5, intDecimals=1)", False),
        ("stack.Size (property)", "stack.Size", False),
        ("stack.Strategy = 0 (property)", "stack.Strategy = 0", False),
        ("len(c)", "len(c)", False),
        ("crc.AddCRC32(1 KiB of bytes)", "crc.AddCRC32(data, register)", False),
        ("zlib.crc32(1 KiB of bytes)", "zlib.crc32(data)", False),
    ]


def best(statement, names, number, repeat):
    return min(timeit.repeat(statement, globals=names, number=number, repeat=repeat)) / number


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quick", action="store_true", help="fewer repeats, for a smoke run")
    options = parser.parse_args()
    number, repeat = (2000, 3) if options.quick else (200000, 7)
    names, rows = cases()
    anchor = best(rows[0][1], names, number, repeat)
    print("%-40s %10s %8s" % ("case", "ns/call", "ratio"))
    missed = False
    for name, statement, targeted in rows:
        seconds = anchor if statement == rows[0][1] else best(statement, names, number, repeat)
        ratio = seconds / anchor
        mark = ""
        if targeted:
            mark = "  (target %dx: %s)" % (TARGET, "met" if ratio <= TARGET else "MISSED")
            missed = missed or ratio > TARGET
        print("%-40s %10.0f %7.1fx%s" % (name, seconds * 1e9, ratio, mark))
    return 1 if missed and not options.quick else 0


if __name__ == "__main__":
    sys.exit(main())
