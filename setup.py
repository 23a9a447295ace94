"""Builds the ztldata Python package for pip: CMake builds the compiled module _ztldata for the
interpreter pip runs under, and setuptools installs it with the package's Python files, type
stubs and py.typed marker.

    pip install --no-build-isolation .

The module is built in a folder of its own under build/, configured without tests and benchmarks.
ZTLDATA_BUILD_DIR names an existing CMake build folder to build it in instead, so a tree that has
already built the library does not build it again (docs/python.md)."""

import importlib.machinery
import importlib.util
import os
import pathlib
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = pathlib.Path(__file__).resolve().parent
MODULE_TARGET = "_ztldata"  # the target in bindings/python/CMakeLists.txt


def require_wheel():
    # Before setuptools 70.1 the bdist_wheel command pip calls comes from the wheel package; say
    # so instead of "invalid command 'bdist_wheel'", since without an index pip cannot fetch it.
    providers = ("wheel", "setuptools.command.bdist_wheel")
    if not any(importlib.util.find_spec(name) for name in providers):
        sys.exit("setup.py: %s has no 'wheel' package to build with (Debian: python3-wheel for "
                 "/usr/bin/python3); see docs/python.md" % sys.executable)


def project_version():
    found = re.search(r"project\(ztldata VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text())
    return found.group(1)


def run(command):
    print(" ".join(str(part) for part in command), flush=True)
    subprocess.run([str(part) for part in command], check=True)


class CMakeBuild(build_ext):
    """Builds the extension through the project's CMake build instead of compiling sources."""

    def build_extension(self, ext):
        reused = os.environ.get("ZTLDATA_BUILD_DIR")
        build_dir = pathlib.Path(reused or pathlib.Path(self.build_temp) / "cmake").resolve()
        # A folder we own is configured on every build, so it follows the interpreter pip runs
        # under; a reused one keeps its own settings and is configured only when it is empty.
        if not reused or not (build_dir / "CMakeCache.txt").exists():
            run(self.configure_command(build_dir))
        run(["cmake", "--build", build_dir, "--target", MODULE_TARGET])
        built = self.built_module(build_dir / "bindings" / "python" / "ztldata")
        target = pathlib.Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)

    @staticmethod
    def configure_command(build_dir):
        command = ["cmake", "-S", ROOT, "-B", build_dir, "-DCMAKE_BUILD_TYPE=Release",
                   "-DZTL_BUILD_TESTS=OFF", "-DZTL_BUILD_BENCH=OFF", "-DZTL_BUILD_FUZZ=OFF",
                   "-DZTL_BUILD_PYTHON=ON", "-DPython3_EXECUTABLE=" + sys.executable]
        if shutil.which("ninja") and not (build_dir / "CMakeCache.txt").exists():
            command += ["-G", "Ninja"]
        return command

    @staticmethod
    def built_module(package_dir):
        # A module built for another interpreter would install without a word and then fail to
        # import: take only one whose file name this interpreter loads.
        for suffix in importlib.machinery.EXTENSION_SUFFIXES:
            candidate = package_dir / (MODULE_TARGET + suffix)
            if candidate.exists():
                return candidate
        found = sorted(p.name for p in package_dir.glob(MODULE_TARGET + ".*")) or ["nothing"]
        sys.exit("setup.py: %s holds %s, but %s loads only %s; configure that build folder with "
                 "-DPython3_EXECUTABLE=%s or unset ZTLDATA_BUILD_DIR" %
                 (package_dir, ", ".join(found), sys.executable,
                  " ".join(importlib.machinery.EXTENSION_SUFFIXES), sys.executable))


require_wheel()
# setuptools' own notes (ztldata.egg-info) go under build/, not beside the package's sources.
egg_base = ROOT / "build"
egg_base.mkdir(exist_ok=True)
setup(
    version=project_version(),
    packages=["ztldata"],
    package_dir={"": "bindings/python"},
    package_data={"ztldata": ["*.pyi", "py.typed"]},
    ext_modules=[Extension("ztldata." + MODULE_TARGET, sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    zip_safe=False,
    options={"egg_info": {"egg_base": str(egg_base)}},
)
