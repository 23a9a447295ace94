"""Runs the C# examples of the documentation: every ```csharp block is a whole program, compiled
against ZtlData.dll and run under Mono; when a ```text block follows it (with at most a line
such as "It prints:" between), the program's output must be that text.

    csharp_examples.py MCS MONO DOTNET_DIR WORK_DIR PAGE.md ..."""
import os
import pathlib
import subprocess
import sys

from doc_blocks import fenced_blocks

def examples(page):
    """(line, program, expected output or None) of each C# example."""
    found = fenced_blocks(page)
    lines = page.read_text(encoding="utf-8").splitlines()
    for k, block in enumerate(found):
        if block.kind != "csharp":
            continue
        expected = None
        after = found[k + 1] if k + 1 < len(found) else None
        if after and after.kind == "text":
            between = [s for s in lines[block.end:after.line - 1] if s.strip()]
            if len(between) <= 1 and all(s.rstrip().endswith(":") for s in between):
                expected = "\n".join(after.body) + "\n"
        yield block.line, "\n".join(block.body) + "\n", expected


def main(mcs, mono, dotnet_dir, work_dir, pages):
    work, dotnet_dir = pathlib.Path(work_dir), os.path.abspath(dotnet_dir)
    work.mkdir(parents=True, exist_ok=True)
    env = dict(os.environ, MONO_PATH=dotnet_dir)
    failures, count = [], 0
    for page in map(pathlib.Path, pages):
        for line, program, expected in examples(page):
            count += 1
            where = f"{page.name}:{line}"
            source = work / f"{page.stem}_{line}.cs"
            exe = source.with_suffix(".exe")
            source.write_text(program, encoding="utf-8")
            built = subprocess.run([mcs, "-nologo", "-langversion:7.2", "-r:System.Core.dll", "-r:Microsoft.CSharp.dll",
                                    f"-r:{dotnet_dir}/ZtlData.dll", f"-out:{exe}", str(source)],
                                   capture_output=True, text=True)
            if built.returncode != 0:
                failures.append(f"{where}: does not compile:\n{built.stdout}{built.stderr}")
                continue
            ran = subprocess.run([mono, str(exe)], capture_output=True, text=True, env=env, cwd=work)
            if ran.returncode != 0:
                failures.append(f"{where}: exits with {ran.returncode}:\n{ran.stdout}{ran.stderr}")
            elif expected is not None and ran.stdout != expected:
                failures.append(f"{where}: prints\n{ran.stdout}instead of\n{expected}")
    for failure in failures:
        print(failure)
    print(f"{count} C# examples, {len(failures)} failures")
    return 1 if failures or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5], sys.argv[5:]))
