"""Replays the vector corpus through the Python package: every case on a fresh object, every
call made as a Python program makes it (obj.Member(*args), attributes for properties), with the
arguments as the Python values the package documents and each result checked to come back as the
Python type promised for its kind.

    python3 python_replay.py [FILE.jsonl ...]"""
import decimal
import sys

import corpus
import ztldata

# The Python type each kind comes back as, and how its value reads in the corpus.
RESULT_KINDS = {
    str: ("String", str), bool: ("Boolean", bool), int: ("Long", int), float: ("Double", float),
    ztldata.Integer: ("Integer", int), ztldata.Byte: ("Byte", int), ztldata.Date: ("Date", float),
    ztldata.Single: ("Single", lambda v: float(str(v))),  # the shortest text of the Single
    ztldata.Currency: ("Currency", str), decimal.Decimal: ("Decimal", lambda v: format(v, "f")),
    ztldata.ErrorValue: ("Error", lambda v: v.code),
}
# How each kind of argument is made: a Date keeps its day count as it is, even outside the years
# 1 to 9999 (as a pickle keeps it).
ARGUMENTS = {
    "String": str, "Boolean": bool, "Long": int, "Double": lambda v: float(corpus.number(v)),
    "Integer": ztldata.Integer, "Byte": ztldata.Byte, "Single": lambda v: ztldata.Single(float(corpus.number(v))),
    "Currency": ztldata.Currency, "Decimal": lambda v: decimal.Decimal(str(v)), "Error": ztldata.ErrorValue,
    "Date": lambda v: float.__new__(ztldata.Date, float(v)), "Empty": lambda v: ztldata.Empty,
    "Null": lambda v: ztldata.Null,
}


def nested(items, bounds):
    """Items in storage order (first dimension fastest) nested first index outermost."""
    shape = [upper - lower + 1 for lower, upper in bounds]

    def level(dim, offset, stride):
        if dim == len(shape):
            return items[offset]
        return [level(dim + 1, offset + k * stride, stride * shape[dim]) for k in range(shape[dim])]
    return level(0, 0, 1) if shape else []


def to_python(value):
    """A corpus value as the Python value that stands for it."""
    value = corpus.tagged(value)
    kind, v = value["type"], value.get("value")
    if kind == "Array":
        items = [to_python(item) for item in value.get("items", [])]
        return ztldata.Array(nested(items, value["bounds"]), bounds=value["bounds"], of=value.get("of", "Variant"))
    if kind == "Collection":
        c = ztldata.Collection()
        for item in value["items"]:
            c.Add(to_python(item["value"]), key=item.get("key"))
        return c
    if kind == "Object" and value.get("object") is None:
        return None  # Nothing
    return ARGUMENTS[kind](v)


def from_python(value, seen=()):
    """A Python result in the corpus's tagged form, by its Python type: a type the package does
    not promise for any kind shows as itself, so it never matches."""
    if value is ztldata.Empty or value is ztldata.Null:
        return {"type": "Empty" if value is ztldata.Empty else "Null", "value": None}
    if type(value) in RESULT_KINDS:
        kind, read = RESULT_KINDS[type(value)]
        return {"type": kind, "value": read(value)}
    if isinstance(value, ztldata.Array):
        return {"type": "Array", "of": value.of, "bounds": [list(b) for b in value.bounds],
                "items": [from_python(item, seen) for item in value]}
    if isinstance(value, ztldata.Collection) and not any(value == s for s in seen):
        return {"type": "Collection", "items": [{"value": from_python(v, seen + (value,)), "key": k}
                                                for k, v in value.items()]}
    if value is None or isinstance(value, ztldata.Object):
        return {"type": "Object", "object": None if value is None else id(value)}
    return {"type": "Python " + type(value).__name__, "value": repr(value)}


def new_object(class_name):
    """A utility class is created; a component is placed in a container of its own."""
    try:
        return ztldata.CreateObject(class_name)
    except ztldata.Error as e:
        if e.number != 429:
            raise
        return ztldata.Container().Place(class_name)


class Inexpressible(Exception):
    """A step no Python program can write: the case is skipped."""


def call(target, member, kind, args):
    """The call as Python writes it: a method call, an attribute read or write, or item access
    for a property with an index."""
    if kind == "get":
        attribute = getattr(target, member)
        return attribute(*args) if args else attribute
    if kind == "let":
        if not args:
            raise Inexpressible("an assignment without a value")
        if len(args) > 1:
            getattr(target, member)[tuple(args[:-1])] = args[-1]
        else:
            setattr(target, member, args[-1])
        return ztldata.Empty
    return getattr(target, member)(*args)


def member(class_name, step, cache={}):
    """(name, kind, whether it gives a result, its parameters) of the member a step calls.
    Python calls a member by its name (a dispatch id, also as text, finds it), reads a property
    where the step calls it as a method and calls a method where the step reads it."""
    if class_name not in cache:
        cache[class_name] = {(key, m[1]): (m[0], m[1], m[3] is not None, m[5])
                             for m in ztldata.describe(class_name) for key in (m[0].lower(), m[2])}
    name, kind = step["member"], step.get("kind", "method")
    try:
        key = int(name, 0) if isinstance(name, str) else name
    except ValueError:
        key = name.lower()
    other = {"method": "get", "get": "method"}.get(kind)
    return cache[class_name].get((key, kind)) or cache[class_name].get((key, other)) or (name, kind, True, [])


def run_step(class_name, target, step):
    name, kind, gives, params = member(class_name, step)
    given = step.get("args", [])
    types = [p[1] for p in params] + ["Variant"] * len(given)  # a parameter array takes Variants
    byref = [p[2] for p in params] + [False] * len(given)
    wanted = step.get("byref", {})
    wanted = dict(enumerate(wanted)) if isinstance(wanted, list) else {int(k): v for k, v in wanted.items()}
    try:
        args = [to_python(a) for a in given]
        if any(a is None and t not in ("Object", "Collection") for a, t in zip(args, types)):
            raise Inexpressible("Nothing for a parameter that is no object (Python passes None as Empty)")
        # A by-reference scalar the case checks goes in a Ref, which receives its new value.
        args = [ztldata.Ref(a) if i in wanted and byref[i] and not isinstance(a, (ztldata.Array, ztldata.Collection))
                else a for i, a in enumerate(args)]
        result = call(target, name, kind, args)
    except (ztldata.Error, TypeError, ValueError, AttributeError) as e:  # only Error is right
        return getattr(e, "number", f"{type(e).__name__}: {e}"), None, None
    # Arrays passed by reference and collections show their new contents in place; given a value
    # of another kind, they keep their own, so cannot show it.
    shows = [isinstance(a, ztldata.Collection) or byref[i] and isinstance(a, ztldata.Array) for i, a in enumerate(args)]
    after = [from_python(a.value) if isinstance(a, ztldata.Ref) else from_python(a)
             if shows[i] and corpus.tagged(wanted.get(i, {"type": None}))["type"] == type(a).__name__ else None
             for i, a in enumerate(args)]
    empty = result is None and not gives  # a member without a result gives None
    return None, {"type": "Empty", "value": None} if empty else from_python(result), after


def main(files):
    failures, skipped, count = [], {}, 0
    sources = [(w, c) for f in files for w, c in corpus.cases(f)] if files else corpus.cases()
    for where, case in sources:
        count += 1
        if "seed" in case:
            ztldata.Randomize(case["seed"])
        try:
            target = new_object(case["class"])
            for index, step in enumerate(corpus.steps(case)):
                corpus.check_call(where, index, step, run_step(case["class"], target, step), failures)
        except Inexpressible as e:
            skipped.setdefault(str(e), []).append(where)
        except ztldata.Error as e:
            failures.append(f"{where}: cannot make a {case['class']}: {e}")
    for failure in failures:
        print(failure)
    for reason, where in skipped.items():
        print(f"skipped, as Python cannot write {reason}: {', '.join(where)}")
    print(f"{count} cases, {len(failures)} failures")
    return 1 if failures or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
