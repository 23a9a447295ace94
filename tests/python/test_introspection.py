"""What Python's tools see of the package: inspect.signature of every operation, help() of
objects, the library's classes as Python classes, the type stubs and the version."""

import ast
import importlib.util
import inspect
import pathlib
import pydoc
import re
import unittest

import ztldata

ROOT = pathlib.Path(__file__).resolve().parents[2]


def every_object():
    """(class name, object) for each of the sixteen classes."""
    form = ztldata.Container()
    for name, kind in ztldata.classes():
        yield name, form.Place(name) if kind == "component" else ztldata.CreateObject(name)


def methods(class_name):
    return [m for m in ztldata.describe(class_name) if m[1] == "method"]


class Signatures(unittest.TestCase):
    def test_every_operation_has_its_parameters_types_and_defaults(self):
        for class_name, obj in every_object():
            for name, _, _, result, _, params in methods(class_name):
                with self.subTest(operation="%s.%s" % (class_name, name)):
                    signature = inspect.signature(getattr(obj, name))
                    found = list(signature.parameters.values())
                    self.assertEqual([p.name for p in found], [p[0] for p in params])
                    for (pname, ptype, _, optional, default, paramarray), p in zip(params, found):
                        if paramarray:
                            self.assertIs(p.kind, p.VAR_POSITIONAL)
                            continue
                        self.assertIsNot(p.annotation, p.empty)
                        self.assertEqual(p.default, p.empty if not optional else
                                         (bool(default) if ptype == "Boolean" else default))
                    self.assertEqual(signature.return_annotation is None, result is None)

    def test_annotations_are_python_types(self):
        n = ztldata.CreateObject("ZtNumeric")
        crc = ztldata.Container().Place("ZtCRC32")
        cases = [
            (n.CompressNumber, "(dblNumber: float, intSize: int = 9, intDecimals: int = 0) -> str"),
            (n.ToArabic, "(strRoman: str) -> ztldata.Integer"),
            (crc.AddCRC32, "(strBuffer: Union[str, bytes], lngPrevCRC32: int) -> int"),
            (ztldata.CreateObject("ZtStrings").sPrintf, "(strText: str, *Vals: Any) -> str"),
            (ztldata.CreateObject("ZtDate").LastDay, "(datDate: Union[ztldata.Date, datetime.date]) -> ztldata.Date"),
            (ztldata.ZtBits.Create, "(self, lngBitsSize: int, blnPreserve: bool = True) -> None"),
        ]
        for operation, expected in cases:
            with self.subTest(expected):
                text = str(inspect.signature(operation)).replace("typing.", "")
                self.assertEqual(text, expected)

    def test_the_signature_binds_as_a_call_does(self):
        n = ztldata.CreateObject("ZtNumeric")
        bound = inspect.signature(n.CompressNumber).bind(1.5, intDecimals=1)
        self.assertEqual(n.CompressNumber(*bound.args, **bound.kwargs), n.CompressNumber(1.5, 9, 1))


class Help(unittest.TestCase):
    def test_help_lists_every_operation_with_its_help_string(self):
        for class_name, obj in every_object():
            with self.subTest(class_name):
                text = pydoc.render_doc(obj, renderer=pydoc.plaintext)
                for name, _, _, _, help_text, _ in methods(class_name):
                    self.assertRegex(text, r"\n \|  %s\(self" % re.escape(name))
                    if help_text:
                        self.assertIn(help_text.strip(), text)

    def test_help_lists_the_properties(self):
        text = pydoc.render_doc(ztldata.Container().Place("ZtStack"), renderer=pydoc.plaintext)
        for line in ("Strategy: ztlStackStrategy", "Size: Long (read-only)"):
            self.assertIn(line, text)

    def test_the_classes_are_the_package_s(self):
        for class_name, obj in every_object():
            with self.subTest(class_name):
                cls = getattr(ztldata, class_name)
                self.assertIs(type(obj), cls)
                self.assertTrue(issubclass(cls, ztldata.Object))
                self.assertIn(class_name, ztldata.__all__)
                with self.assertRaises(TypeError):
                    cls()


class Stubs(unittest.TestCase):
    def setUp(self):
        self.package = pathlib.Path(ztldata.__file__).parent

    def test_the_package_ships_stubs_and_the_typed_marker(self):
        for name in ("__init__.pyi", "py.typed"):
            with self.subTest(name):
                self.assertTrue((self.package / name).is_file())
        ast.parse((self.package / "__init__.pyi").read_text(encoding="utf-8"))

    def test_the_stubs_are_what_the_type_library_describes(self):
        spec = importlib.util.spec_from_file_location("make_stubs", ROOT / "bindings/python/make_stubs.py")
        maker = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(maker)
        written = (ROOT / "bindings/python/ztldata/__init__.pyi").read_text(encoding="utf-8")
        self.assertEqual(written, maker.render(),
                         "run bindings/python/make_stubs.py to bring ztldata/__init__.pyi up to date")

    def test_the_stubs_name_every_public_name(self):
        tree = ast.parse((self.package / "__init__.pyi").read_text(encoding="utf-8"))
        named = set()
        for node in tree.body:
            if isinstance(node, (ast.ClassDef, ast.FunctionDef)):
                named.add(node.name)
            elif isinstance(node, ast.AnnAssign):
                named.add(node.target.id)
        self.assertEqual(sorted(set(ztldata.__all__) - named), [])


class Version(unittest.TestCase):
    def test_version_is_the_library_s(self):
        cmake = (ROOT / "CMakeLists.txt").read_text(encoding="utf-8")
        expected = re.search(r"project\(ztldata VERSION ([0-9.]+)", cmake).group(1)
        self.assertEqual(ztldata.__version__, expected)
        self.assertEqual(ztldata.TYPELIB_VERSION, "1.4")



if __name__ == "__main__":
    unittest.main()
