"""What Python's tools see of the package: signatures, help(), the type stubs, the version."""

import ast
import importlib.util
import inspect
import pathlib
import pydoc
import re
import unittest

import ztldata

ROOT = pathlib.Path(__file__).resolve().parents[2]


class Introspection(unittest.TestCase):
    def test_signature_and_help_of_every_operation(self):
        form = ztldata.Container()
        self.assertEqual(sorted(kind for _, kind in ztldata.classes()), ["component"] * 7 + ["utility"] * 9)
        for class_name, kind in ztldata.classes():
            obj = form.Place(class_name) if kind == "component" else ztldata.CreateObject(class_name)
            text = pydoc.render_doc(obj, renderer=pydoc.plaintext)
            self.assertIs(type(obj), getattr(ztldata, class_name))
            self.assertEqual(repr(obj), "<ztldata %s object>" % class_name)
            methods = [m for m in ztldata.describe(class_name) if m[1] == "method"]
            for name, _, _, result, help_text, params in methods:
                with self.subTest(operation="%s.%s" % (class_name, name)):
                    signature = inspect.signature(getattr(obj, name))
                    found = list(signature.parameters.values())
                    self.assertEqual([p.name for p in found], [p[0] for p in params])
                    for (_, ptype, _, optional, default, paramarray), p in zip(params, found):
                        self.assertIsNot(p.annotation, p.empty)
                        if paramarray:
                            self.assertIs(p.kind, p.VAR_POSITIONAL)
                        elif optional:
                            self.assertEqual(p.default, bool(default) if ptype == "Boolean" else default)
                        else:
                            self.assertIs(p.default, p.empty)
                    self.assertEqual(signature.return_annotation is None, result is None)
                    self.assertRegex(text, r"\n \|  %s\(self" % re.escape(name))
                    self.assertIn((help_text or "").strip(), text)
        for operation, expected in [  # the annotations are Python types
                (ztldata.ZtCRC32.AddCRC32, "(self, strBuffer: Union[str, bytes], lngPrevCRC32: int) -> int"),
                (ztldata.ZtDate.LastDay, "(self, datDate: Union[ztldata.Date, datetime.date]) -> ztldata.Date"),
                (ztldata.ZtStrings.sPrintf, "(self, strText: str, *Vals: Any) -> str")]:
            self.assertEqual(str(inspect.signature(operation)).replace("typing.", ""), expected)
        text = pydoc.render_doc(form.Place("ZtStack"), renderer=pydoc.plaintext)
        self.assertIn("Strategy: ztlStackStrategy", text)
        self.assertIn("Size: Long (read-only)", text)
        self.assertTrue(ztldata.about())

    def test_the_stubs_and_version_are_up_to_date(self):
        found = importlib.util.spec_from_file_location("make_stubs", ROOT / "bindings/python/make_stubs.py")
        maker = importlib.util.module_from_spec(found)
        found.loader.exec_module(maker)
        rendered = maker.render()
        package = pathlib.Path(ztldata.__file__).parent
        for stubs in (ROOT / "bindings/python/ztldata/__init__.pyi", package / "__init__.pyi"):
            self.assertEqual(stubs.read_text(encoding="utf-8"), rendered, "run bindings/python/make_stubs.py")
        tree = ast.parse(rendered)
        named = {node.name for node in tree.body if isinstance(node, (ast.ClassDef, ast.FunctionDef))}
        named |= {node.target.id for node in tree.body if isinstance(node, ast.AnnAssign)}
        self.assertEqual(sorted(set(ztldata.__all__) - named), [])
        self.assertTrue((package / "py.typed").is_file())
        version = re.search(r"project\(ztldata VERSION ([0-9.]+)", (ROOT / "CMakeLists.txt").read_text("utf-8"))
        self.assertEqual(ztldata.__version__, version.group(1))
        self.assertEqual(ztldata.TYPELIB_VERSION, "1.4")
