"""The fenced code blocks of the documentation's Markdown pages, for the runners that turn the
examples into tests (C++, Python, C#, console transcripts)."""
import pathlib
import re
from typing import List, NamedTuple

FENCE = re.compile(r"^```(\w*)$")


class Block(NamedTuple):
    line: int  # the line number (from 1) of the opening fence
    kind: str  # the language named after the fence, "" for none
    body: List[str]  # the lines between the fences
    end: int  # the line number of the closing fence (past the page's end when it has none)


def fenced_blocks(path):
    """Every fenced block of a page, in order. Fences may be indented (inside a list)."""
    lines = pathlib.Path(path).read_text(encoding="utf-8").splitlines()
    found, i = [], 0
    while i < len(lines):
        opening = FENCE.match(lines[i].strip())
        if not opening:
            i += 1
            continue
        end = i + 1
        while end < len(lines) and lines[end].strip() != "```":
            end += 1
        found.append(Block(i + 1, opening.group(1), lines[i + 1:end], end + 1))
        i = end + 1
    return found


def blocks(path, kind):
    """(line number of the opening fence, lines) of every block of one kind."""
    return [(block.line, block.body) for block in fenced_blocks(path) if block.kind == kind]
