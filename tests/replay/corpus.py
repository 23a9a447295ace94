"""The vector corpus (tests/vectors/*.jsonl) as Python data, and the comparison every Python-side
runner uses. A case is one JSON object per line; '#' lines are comments. See docs/testing.md."""
import json
import math
import pathlib

VECTORS = pathlib.Path(__file__).resolve().parent.parent / "vectors"
LONG_MIN, LONG_MAX = -2**31, 2**31 - 1


def cases(folder=VECTORS):
    """Every case of every file, as (where, case) with where = 'file:line'."""
    folder = pathlib.Path(folder)
    for path in sorted(folder.glob("*.jsonl")) if folder.is_dir() else [folder]:
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            if line.strip() and not line.lstrip().startswith("#"):
                yield f"{path.name}:{number}", json.loads(line)


def steps(case):
    """The calls of a case: its own, or its "steps" (all on one object)."""
    return case["steps"] if "steps" in case else [case]


def tagged(value):
    """A value in its tagged form: plain JSON stands for String, Boolean, Long/Double and Null."""
    if isinstance(value, dict) and "type" in value:
        kind = value["type"]
        if kind == "Array":
            return {**value, "items": [tagged(v) for v in value.get("items", [])]}
        if kind == "Collection":
            return {"type": kind, "items": [{"value": tagged(i["value"]), "key": i.get("key")}
                                           for i in value["items"]]}
        if kind in ("Empty", "Null") and "value" not in value:
            return {"type": kind, "value": None}
        return value
    if isinstance(value, bool):
        return {"type": "Boolean", "value": value}
    if isinstance(value, int):
        return {"type": "Long" if LONG_MIN <= value <= LONG_MAX else "Double", "value": value}
    if isinstance(value, float):
        return {"type": "Double", "value": value}
    if isinstance(value, str):
        return {"type": "String", "value": value}
    if value is None:
        return {"type": "Null", "value": None}
    raise ValueError(f"not a value: {value!r}")


def number(v):
    return {"Infinity": math.inf, "-Infinity": -math.inf, "NaN": math.nan}.get(v, v)


def same(expected, actual):
    """Whether a result (tagged) is the expected value (plain or tagged): same type, same value
    (numbers by value, NaN equal to NaN, Currency and Decimal by their text)."""
    e, a = tagged(expected), actual
    if e.get("type") != a.get("type"):
        return False
    if e["type"] == "Array":
        return (e.get("of") == a.get("of") and e.get("bounds") == a.get("bounds")
                and len(e["items"]) == len(a["items"])
                and all(same(x, y) for x, y in zip(e["items"], a["items"])))
    if e["type"] == "Collection":
        return len(e["items"]) == len(a["items"]) and all(
            same(x["value"], y["value"]) and x.get("key") == y.get("key")
            for x, y in zip(e["items"], a["items"]))
    if e["type"] == "Object":
        return True  # identity is the host's own business
    x, y = number(e.get("value")), number(a.get("value"))
    if isinstance(x, float) and isinstance(y, (int, float)) and math.isnan(x):
        return math.isnan(y)
    return x == y


def show(value):
    return json.dumps(value, ensure_ascii=False)


def check_call(where, index, step, outcome, failures):
    """Compares one call's outcome (error number or None, result, byref list) with its step."""
    error, result, byref = outcome
    label = f"{where} step {index} {step.get('member')}"
    if "error" in step:
        if error != step["error"]:
            failures.append(f"{label}: expected error {step['error']}, got "
                            + (f"error {error}" if error is not None else show(result)))
        return
    if error is not None:
        failures.append(f"{label}: expected {show(step.get('result'))}, got error {error}")
        return
    if "result" in step and not same(step["result"], result):
        failures.append(f"{label}: expected {show(step['result'])}, got {show(result)}")
    wanted = step.get("byref", {})
    if isinstance(wanted, list):
        wanted = dict(enumerate(wanted))
    for position, value in wanted.items():
        position = int(position)
        if byref is None:
            continue  # this host does not show by-reference results of this argument
        got = byref[position] if position < len(byref) else None
        if got is not None and not same(value, got):
            failures.append(f"{label}: argument {position} after the call: expected "
                            f"{show(value)}, got {show(got)}")
