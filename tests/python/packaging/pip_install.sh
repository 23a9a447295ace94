#!/usr/bin/env bash
# pip installs the package from the checkout into a fresh virtual environment, reusing the build
# folder (ZTLDATA_BUILD_DIR), imports it from outside the source tree, and uninstalls it.
# Usage: pip_install.sh PYTHON SOURCE_DIR BUILD_DIR WORK_DIR
set -euo pipefail
python=$1 source=$2 build=$3 work=$4

rm -rf "$work"
# setuptools, wheel and pip come from the interpreter's own site-packages: no package index.
"$python" -m venv --system-site-packages --without-pip "$work/venv"
venv="$work/venv/bin/python"
ZTLDATA_BUILD_DIR="$build" "$venv" -m pip install --no-build-isolation --no-index --quiet "$source"

cd "$work"
"$venv" - "$work/venv" <<'PY'
import pathlib, sys
import ztldata

package = pathlib.Path(ztldata.__file__).parent
assert package.is_relative_to(sys.argv[1]), "imported from %s, not the environment" % package
assert ztldata.CreateObject("ZtNumeric").ToRoman(1994) == "MCMXCIV"
missing = {"__init__.pyi", "py.typed"} - {p.name for p in package.iterdir()}
assert not missing, "not installed: %s" % missing
PY

"$venv" -m pip uninstall --yes --quiet ztldata
if "$venv" -c "import ztldata" 2>/dev/null; then
  echo "ztldata is still importable after pip uninstall" >&2
  exit 1
fi
echo "pip install, import and uninstall: ok"
