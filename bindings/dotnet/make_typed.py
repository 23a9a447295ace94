"""Writes the typed classes of the .NET host (bindings/dotnet/Typed.g.cs): one C# class per
class of the type library, with its methods and properties as ordinary members that call the
library by dispatch id, and the type library's enumerations as C# enums.

    PYTHONPATH=build/bindings/python python3 bindings/dotnet/make_typed.py > bindings/dotnet/Typed.g.cs

The dotnet_typed_in_step test checks that the file in the source tree is what this script writes.
"""

import sys

import ztldata

# The type library's types as C# types, for parameters and results.
TYPES = {
    "Long": "int", "Integer": "short", "Byte": "byte", "Boolean": "bool", "Single": "float",
    "Double": "double", "Currency": "decimal", "Decimal": "decimal", "Date": "System.DateTime",
    "String": "string", "Variant": "object", "Object": "dynamic", "Collection": "Collection",
}
KIND = {"method": "CallKind.Method", "get": "CallKind.Get", "let": "CallKind.Let"}
# The members that take bytes (a byte[] overload next to the String one).
BYTE_OPERATIONS = {
    ("ZtCRC32", "AddCRC32"), ("ZtRLE", "Compress"), ("ZtRLE", "Decompress"),
    ("ZtEncryption", "Encode"), ("ZtEncryption", "Decode"), ("ZtRSA", "Encode"), ("ZtRSA", "Decode"),
    ("ZtStrings", "ASCIIToEBCDIC"), ("ZtStrings", "EBCDICToASCII"),
}


def cs_type(name, enums):
    return name if name in enums else TYPES[name]


def literal(value, cs):
    if cs == "bool":
        return "true" if value else "false"
    if cs == "string":
        return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'
    return str(value)


def summary(text, indent):
    if not text:
        return []
    text = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return [f"{indent}/// <summary>{text}</summary>"]


def array_param(p):
    """A by-reference Variant the member takes as an array (named aArray ...), changed in place;
    other by-reference Variants (xVar1 ...) are `ref object`."""
    return p[2] and p[1] == "Variant" and p[0].startswith("a")


def ref_param(p):
    return p[2] and p[1] == "Variant" and not p[0].startswith("a")


def parameter(p, enums, byte_overload):
    """(declaration, argument expression) of one parameter."""
    name, kind, byref, optional, default, paramarray = p
    if paramarray:
        return f"params object[] {name}", None
    cs = cs_type(kind, enums)
    if byte_overload:
        cs = "byte[]"
    if array_param(p):
        return f"System.Array {name}", name
    if ref_param(p):
        return f"ref object {name}", name
    argument = name
    if kind == "Object":
        argument = f"Nothing({name})"
    if optional and default is None:
        return f"object {name} = null", f"Opt({name})"
    if optional:
        return f"{cs} {name} = {literal(default, cs)}", argument
    return f"{cs} {name}", argument


def method(cls, m, enums, byte_overload=False, cs_name=None):
    """A C# method calling member m by dispatch id (named cs_name in C#, m's own name by default)."""
    name, kind, dispid, result, help_text, params = m
    decls, args, refs = [], [], []
    for i, p in enumerate(params):
        decl, arg = parameter(p, enums, byte_overload and i == 0)
        decls.append(decl)
        if arg is not None:
            args.append(arg)
        if ref_param(p):
            refs.append((len(args) - 1, p[0]))
    spread = params and params[-1][5]
    rtype = "void" if result is None else cs_type(result, enums)
    if byte_overload and result in ("String", "Variant"):
        rtype = "byte[]"
    lines = summary(help_text, "        ")
    lines.append(f"        public {rtype} {cs_name or name}({', '.join(decls)})")
    lines.append("        {")
    arg_list = "new object[] { " + ", ".join(args) + " }" if args else "new object[0]"
    if spread:
        arg_list = f"Spread({arg_list}, {params[-1][0]})"
    call = f"Call({dispid}, {KIND[kind]}, \"{name}\", args)"
    lines.append(f"            object[] args = {arg_list};")
    if rtype == "void":
        lines.append(f"            {call};")
        for i, ref in refs:
            lines.append(f"            {ref} = args[{i}];")
    else:
        lines.append(f"            object result = {call};")
        for i, ref in refs:
            lines.append(f"            {ref} = args[{i}];")
        lines.append(f"            return Result<{rtype}>(result);" if rtype != "dynamic" else "            return result;")
    lines.append("        }")
    return lines


def properties(cls, members, enums):
    """Properties without an index as C# properties; indexed ones as Get/Set methods."""
    lines, done = [], set()
    for m in members:
        name, kind = m[0], m[1]
        if kind not in ("get", "let") or name in done:
            continue
        done.add(name)
        get = next((x for x in members if x[0] == name and x[1] == "get"), None)
        let = next((x for x in members if x[0] == name and x[1] == "let"), None)
        index = get[5] if get else let[5][:-1]
        if lines:
            lines.append("")
        if index:
            if get:
                lines += method(cls, get, enums, cs_name=f"Get{name}")
            if let:
                lines += method(cls, let, enums, cs_name=f"Set{name}")
            continue
        cs = cs_type((get or let)[3] if get else let[5][-1][1], enums)
        lines += summary((get or let)[4], "        ")
        lines.append(f"        public {cs} {name}")
        lines.append("        {")
        if get:
            value = f'Call({get[2]}, CallKind.Get, "{name}")'
            lines.append(f"            get {{ return {value}; }}" if cs == "dynamic"
                         else f"            get {{ return Result<{cs}>({value}); }}")
        if let:
            lines.append(f'            set {{ Call({let[2]}, CallKind.Let, "{name}", value); }}')
        lines.append("        }")
    return lines


def main():
    enums = dict(ztldata._core.enumerations())
    out = [
        "// Typed.g.cs: the typed classes of the ZTLData type library, written by",
        "// bindings/dotnet/make_typed.py from the library itself; do not edit by hand.",
        "",
        "namespace ZtlData",
        "{",
    ]
    for enum, values in enums.items():
        out.append(f"    public enum {enum}")
        out.append("    {")
        out += [f"        {name} = {value}," for name, value in values]
        out.append("    }")
        out.append("")
    for cls, kind in ztldata.classes():
        members = ztldata.describe(cls)
        component = kind == "component"
        out.append(f"    /// <summary>ZTLData.{cls}, a {'component' if component else 'utility class'}: its members "
                   "called by dispatch id.</summary>")
        out.append(f"    public sealed class {cls} : ZtlTyped")
        out.append("    {")
        if component:
            out.append(f"        /// <summary>Places a new {cls} in a container, under a name or its class name and a number.</summary>")
            out.append(f"        public {cls}(Container container, string name = null) : base(container, \"{cls}\", name) {{ }}")
        else:
            out.append(f"        public {cls}() : base(\"{cls}\") {{ }}")
        out.append(f"        /// <summary>The typed view of a {cls} used late-bound.</summary>")
        out.append(f"        public {cls}(ZtlObject obj) : base(obj, \"{cls}\") {{ }}")
        for m in members:
            if m[1] != "method":
                continue
            out.append("")
            out += method(cls, m, enums)
            if (cls, m[0]) in BYTE_OPERATIONS:
                out.append("")
                out += method(cls, m, enums, byte_overload=True)
        props = properties(cls, members, enums)
        if props:
            out.append("")
            out += props
        out.append("    }")
        out.append("")
    # What late-bound calls need to know of the parameters: where null stands for Nothing (the
    # Object and Collection parameters) and which are passed by reference (written back).
    for table, comment, wanted in (
            ("ObjectParameters", "the positions of its Object and Collection parameters",
             lambda p: p[1] in ("Object", "Collection")),
            ("ByRefParameters", "the positions of its by-reference parameters", lambda p: p[2])):
        out.append(f"    internal static class {table}")
        out.append("    {")
        out.append(f"        // \"Class.Member\" -> {comment}.")
        out.append("        internal static readonly System.Collections.Generic.Dictionary<string, int[]> Positions =")
        out.append("            new System.Collections.Generic.Dictionary<string, int[]>(System.StringComparer.OrdinalIgnoreCase)")
        out.append("            {")
        for cls, _ in ztldata.classes():
            seen = set()
            for m in ztldata.describe(cls):
                positions = [str(i) for i, p in enumerate(m[5]) if wanted(p)]
                if positions and m[0] not in seen:
                    seen.add(m[0])
                    out.append(f'                {{ "{cls}.{m[0]}", new[] {{ {", ".join(positions)} }} }},')
        out.append("            };")
        out.append("    }")
        out.append("")
    out[-1:] = ["}"]
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
