// Replays the vector corpus (tests/vectors/*.jsonl) through the .NET host: every case on a fresh
// object, every call made as C# code makes it through `dynamic` (obj.Member(args) with each
// argument passed by ref, obj.Prop, obj.Prop[i], obj.Prop = v), compiled at run time with the
// C# binder. A member given by dispatch id goes through Ztl.InvokeId, an assignment without a
// value (no C# has one) through Ztl.Set. Each result is checked to come back as the .NET type the
// host documents for its kind. A case whose values C# cannot write (a Date outside DateTime's
// range) is skipped and listed with the reason. Every handle must be released at the end, by
// Dispose or by a finalizer.
//
//   mono replay_dotnet.exe FOLDER-OR-FILE.jsonl ...
using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Linq;
using System.Linq.Expressions;
using System.Runtime.CompilerServices;
using System.Runtime.InteropServices;
using System.Text;
using Microsoft.CSharp.RuntimeBinder;
using ZtlData;

// A step no C# program can write: the case is skipped, with the reason.
class Inexpressible : Exception
{
    public Inexpressible(string why) : base(why) { }
}

// ---- a small JSON reader: objects as ordered dictionaries, numbers as their text -------------

class JNumber
{
    public readonly string Text;
    public JNumber(string text) { Text = text; }
    public double Double { get { return double.Parse(Text, CultureInfo.InvariantCulture); } }
    public bool IsInteger { get { return Text.IndexOfAny(new[] { '.', 'e', 'E' }) < 0; } }
    public override string ToString() { return Text; }
}

class Json
{
    readonly string s;
    int i;
    Json(string s) { this.s = s; }

    public static object Parse(string text)
    {
        var j = new Json(text);
        object v = j.Value();
        j.Blank();
        if (j.i != text.Length) throw new FormatException("text after the JSON value");
        return v;
    }

    void Blank() { while (i < s.Length && char.IsWhiteSpace(s[i])) ++i; }

    object Value()
    {
        Blank();
        char c = s[i];
        if (c == '{')
        {
            var o = new Dictionary<string, object>();
            ++i;
            Blank();
            if (s[i] == '}') { ++i; return o; }
            for (;;)
            {
                Blank();
                string key = Str();
                Blank();
                Expect(':');
                o[key] = Value();
                Blank();
                if (s[i++] == '}') return o;
            }
        }
        if (c == '[')
        {
            var a = new List<object>();
            ++i;
            Blank();
            if (s[i] == ']') { ++i; return a; }
            for (;;)
            {
                a.Add(Value());
                Blank();
                if (s[i++] == ']') return a;
            }
        }
        if (c == '"') return Str();
        if (Word("true")) return true;
        if (Word("false")) return false;
        if (Word("null")) return null;
        int start = i;
        while (i < s.Length && "+-0123456789.eE".IndexOf(s[i]) >= 0) ++i;
        return new JNumber(s.Substring(start, i - start));
    }

    bool Word(string w)
    {
        if (string.CompareOrdinal(s, i, w, 0, w.Length) != 0) return false;
        i += w.Length;
        return true;
    }

    void Expect(char c)
    {
        if (s[i++] != c) throw new FormatException("expected " + c);
    }

    string Str()
    {
        Expect('"');
        var b = new StringBuilder();
        for (;;)
        {
            char c = s[i++];
            if (c == '"') return b.ToString();
            if (c != '\\') { b.Append(c); continue; }
            char e = s[i++];
            switch (e)
            {
                case 'n': b.Append('\n'); break;
                case 't': b.Append('\t'); break;
                case 'r': b.Append('\r'); break;
                case 'b': b.Append('\b'); break;
                case 'f': b.Append('\f'); break;
                case 'u': b.Append((char)Convert.ToInt32(s.Substring(i, 4), 16)); i += 4; break;
                default: b.Append(e); break;
            }
        }
    }

    public static string Show(object v)
    {
        if (v == null) return "null";
        if (v is bool) return (bool)v ? "true" : "false";
        if (v is JNumber) return v.ToString();
        if (v is string) return "\"" + ((string)v).Replace("\\", "\\\\").Replace("\"", "\\\"") + "\"";
        var o = v as Dictionary<string, object>;
        if (o != null) return "{" + string.Join(", ", o.Select(p => Show(p.Key) + ": " + Show(p.Value))) + "}";
        var a = v as List<object>;
        if (a != null) return "[" + string.Join(", ", a.Select(Show)) + "]";
        return v.ToString();
    }
}

static class Replay
{
    // ---- corpus values -----------------------------------------------------------------------

    // A value in its tagged form: plain JSON stands for String, Boolean, Long/Double and Null.
    static Dictionary<string, object> Tagged(object v)
    {
        var o = v as Dictionary<string, object>;
        if (o != null && o.ContainsKey("type")) return o;
        string type;
        if (v is bool) type = "Boolean";
        else if (v is string) type = "String";
        else if (v == null) type = "Null";
        else
        {
            var n = (JNumber)v;
            long l;
            type = n.IsInteger && long.TryParse(n.Text, out l) && l >= int.MinValue && l <= int.MaxValue ? "Long" : "Double";
        }
        return new Dictionary<string, object> { { "type", type }, { "value", v } };
    }

    static object Field(Dictionary<string, object> o, string key)
    {
        object v;
        return o.TryGetValue(key, out v) ? v : null;
    }

    static double Number(object v)
    {
        var text = v as string;
        if (text == "NaN") return double.NaN;
        if (text == "Infinity") return double.PositiveInfinity;
        if (text == "-Infinity") return double.NegativeInfinity;
        return text != null ? double.Parse(text, CultureInfo.InvariantCulture) : ((JNumber)v).Double;
    }

    static string Text(object v) { return v is string ? (string)v : v.ToString(); }

    static decimal Dec(object v)
    {
        decimal m;
        if (!decimal.TryParse(Text(v), NumberStyles.Float, CultureInfo.InvariantCulture, out m))
            throw new Inexpressible("a Decimal or Currency that System.Decimal cannot hold");
        return m;
    }

    static Type ElementType(string of)
    {
        switch (of)
        {
            case "Boolean": return typeof(bool);
            case "Byte": return typeof(byte);
            case "Integer": return typeof(short);
            case "Long": return typeof(int);
            case "Single": return typeof(float);
            case "Double": return typeof(double);
            case "Decimal": return typeof(decimal);
            case "Currency": return typeof(CurrencyWrapper);
            case "Error": return typeof(ErrorWrapper);
            case "Date": return typeof(DateTime);
            case "String": return typeof(string);
            case "Variant": case null: return typeof(object);
        }
        throw new Inexpressible("an array of " + of);
    }

    // The subscripts of the element at storage position k, the first dimension fastest.
    static int[] Subscripts(long k, int[] lower, int[] count)
    {
        var index = new int[lower.Length];
        for (int d = 0; d < lower.Length; ++d)
        {
            index[d] = lower[d] + (int)(k % count[d]);
            k /= count[d];
        }
        return index;
    }

    static void Shape(Dictionary<string, object> array, out int[] lower, out int[] count)
    {
        var bounds = (List<object>)array["bounds"];
        lower = new int[bounds.Count];
        count = new int[bounds.Count];
        for (int d = 0; d < bounds.Count; ++d)
        {
            var pair = (List<object>)bounds[d];
            lower[d] = int.Parse(Text(pair[0]));
            count[d] = int.Parse(Text(pair[1])) - lower[d] + 1;
        }
    }

    // A corpus value as the .NET value that stands for it.
    static object ToNet(object value, List<IDisposable> made)
    {
        var t = Tagged(value);
        string type = (string)t["type"];
        object v = Field(t, "value");
        switch (type)
        {
            case "String": return (string)v;
            case "Boolean": return (bool)v;
            case "Long": return int.Parse(Text(v));
            case "Double": return Number(v);
            case "Integer": return short.Parse(Text(v));
            case "Byte": return byte.Parse(Text(v));
            case "Single": return (float)Number(v);
            case "Currency": return new CurrencyWrapper(Dec(v));
            case "Decimal": return Dec(v);
            case "Error": return new ErrorWrapper(int.Parse(Text(v)));
            case "Empty": return null;
            case "Null": return DBNull.Value;
            case "Date":
            {
                double days = Number(v);
                if (!(days >= -657434.0 && days < 2958466.0)) throw new Inexpressible("a Date outside DateTime's range");
                // A day count between -1 and 0 is the same moment as its positive counterpart,
                // which is how DateTime writes it.
                DateTime moment = DateTime.FromOADate(days);
                if (Math.Abs(moment.ToOADate() - days) > 0.6 / 86400000.0) throw new Inexpressible("a Date between -1 and 0 (DateTime gives the moment's day count from 0)");
                return moment;
            }
            case "Object":
                if (Field(t, "object") != null) throw new Inexpressible("an object id of `ztl serve`");
                return new DispatchWrapper(null);  // Nothing
            case "Collection":
            {
                var c = new Collection();
                made.Add(c);
                foreach (Dictionary<string, object> item in (List<object>)t["items"])
                    c.Add(ToNet(item["value"], made), (string)Field(item, "key"));
                return c;
            }
            case "Array":
            {
                Type element = ElementType((string)Field(t, "of"));
                int[] lower, count;
                Shape(t, out lower, out count);
                var items = (List<object>)Field(t, "items") ?? new List<object>();
                Array a = lower.Length == 0 ? Array.CreateInstance(element, 0)
                        : lower.Length == 1 && lower[0] == 0 ? Array.CreateInstance(element, count[0])
                        : Array.CreateInstance(element, count, lower);
                for (int k = 0; k < items.Count; ++k)
                {
                    object item = ToNet(items[k], made);
                    if (element == typeof(CurrencyWrapper) && !(item is CurrencyWrapper)) item = new CurrencyWrapper(item);
                    else if (item != null && element != typeof(object) && !element.IsInstanceOfType(item))
                        throw new Inexpressible("a " + item.GetType().Name + " in an array of " + element.Name);
                    a.SetValue(item, Subscripts(k, lower, count));
                }
                return a;
            }
        }
        throw new Inexpressible("a value of type " + type);
    }

    // ---- comparing results -------------------------------------------------------------------

    static bool SameDouble(double x, double y) { return double.IsNaN(x) ? double.IsNaN(y) : x == y; }

    // Whether a .NET result is the expected corpus value, by the .NET type its kind comes back as.
    static bool Same(object expected, object actual)
    {
        var e = Tagged(expected);
        string type = (string)e["type"];
        object v = Field(e, "value");
        switch (type)
        {
            case "Empty": return actual == null;
            case "Null": return actual is DBNull;
            case "Object": return actual == null || actual is ZtlObject;
            case "String": return actual is string && (string)actual == (string)v;
            case "Boolean": return actual is bool && (bool)actual == (bool)v;
            case "Long": return actual is int && (int)actual == long.Parse(Text(v));
            case "Integer": return actual is short && (short)actual == long.Parse(Text(v));
            case "Byte": return actual is byte && (byte)actual == long.Parse(Text(v));
            case "Double": return actual is double && SameDouble(Number(v), (double)actual);
            case "Single": return actual is float && SameDouble((float)Number(v), (float)actual);
            case "Error": return actual is ErrorWrapper && ((ErrorWrapper)actual).ErrorCode == long.Parse(Text(v));
            case "Currency": return actual is decimal && (decimal)actual == Dec(v);
            case "Decimal":
                return actual is decimal && ((decimal)actual).ToString(CultureInfo.InvariantCulture) == Text(v);
            case "Date":
                // DateTime holds milliseconds: the day count to within half of one.
                return actual is DateTime && Math.Abs((((DateTime)actual) - DateTime.FromOADate(Number(v))).TotalMilliseconds) < 0.6;
            case "Collection":
            {
                var c = actual as Collection;
                var items = (List<object>)e["items"];
                if (c == null || c.Count != items.Count) return false;
                for (int k = 0; k < items.Count; ++k)
                {
                    var item = (Dictionary<string, object>)items[k];
                    if (!Same(item["value"], c[k + 1])) return false;
                    if (!string.Equals((string)Field(item, "key"), c.Key(k + 1), StringComparison.OrdinalIgnoreCase)) return false;
                }
                return true;
            }
            case "Array":
            {
                var a = actual as Array;
                if (a == null) return false;
                Type wanted = ElementType((string)Field(e, "of"));
                if (wanted == typeof(CurrencyWrapper)) wanted = typeof(decimal);
                if (wanted == typeof(ErrorWrapper)) wanted = typeof(object);
                if (a.GetType().GetElementType() != wanted) return false;
                int[] lower, count;
                Shape(e, out lower, out count);
                if (lower.Length == 0) return a.Rank == 1 && a.Length == 0;
                if (a.Rank != lower.Length) return false;
                for (int d = 0; d < lower.Length; ++d)
                    if (a.GetLowerBound(d) != lower[d] || a.GetLength(d) != count[d]) return false;
                var items = (List<object>)e["items"];
                for (int k = 0; k < items.Count; ++k)
                    if (!Same(items[k], a.GetValue(Subscripts(k, lower, count)))) return false;
                return true;
            }
        }
        return false;
    }

    static string ShowNet(object v)
    {
        if (v == null) return "null";
        var a = v as Array;
        if (a != null)
        {
            var bounds = Enumerable.Range(0, a.Rank).Select(d => a.GetLowerBound(d) + ".." + a.GetUpperBound(d));
            var items = new List<string>();
            foreach (object item in a) items.Add(ShowNet(item));  // (no LINQ: Mono aborts on String[*])
            return a.GetType().GetElementType().Name + "[" + string.Join(",", bounds) + "] {" + string.Join(", ", items) + "}";
        }
        var c = v as Collection;
        if (c != null) return "Collection {" + string.Join(", ", c.Select(ShowNet)) + "}";
        if (v is ErrorWrapper) return "ErrorWrapper " + ((ErrorWrapper)v).ErrorCode;
        if (v is DateTime) return "DateTime " + ((DateTime)v).ToString("o") + " (" + ((DateTime)v).ToOADate().ToString("R") + ")";
        if (v is string) return "\"" + v + "\"";
        return v.GetType().Name + " " + Convert.ToString(v, CultureInfo.InvariantCulture);
    }

    // ---- calls as C# writes them ---------------------------------------------------------------

    static readonly Dictionary<string, Func<object, object[], object>> Sites = new Dictionary<string, Func<object, object[], object>>();

    // A compiled dynamic call: (target, args) => target.Name(ref a0, ...), target.Name,
    // target.Name[a0, ...], target.Name = a0 or target.Name[a0, ...] = last; ref arguments
    // are copied back into args.
    static Func<object, object[], object> Site(string kind, string name, int count)
    {
        string key = kind + " " + name + " " + count;
        Func<object, object[], object> site;
        if (Sites.TryGetValue(key, out site)) return site;
        var target = Expression.Parameter(typeof(object), "target");
        var args = Expression.Parameter(typeof(object[]), "args");
        var vars = Enumerable.Range(0, count).Select(i => Expression.Variable(typeof(object), "a" + i)).ToArray();
        var body = new List<Expression>();
        for (int i = 0; i < count; ++i) body.Add(Expression.Assign(vars[i], Expression.ArrayIndex(args, Expression.Constant(i))));
        var none = CSharpArgumentInfo.Create(CSharpArgumentInfoFlags.None, null);
        Type context = typeof(Replay);
        Expression call;
        if (kind == "method")
        {
            var info = new[] { none }.Concat(vars.Select(v => CSharpArgumentInfo.Create(CSharpArgumentInfoFlags.IsRef, null)));
            CallSiteBinder binder = Binder.InvokeMember(CSharpBinderFlags.None, name, null, context, info);
            var types = new[] { typeof(CallSite), typeof(object) }.Concat(vars.Select(v => typeof(object).MakeByRefType()))
                        .Concat(new[] { typeof(object) }).ToArray();
            call = Expression.MakeDynamic(Expression.GetDelegateType(types), binder, new Expression[] { target }.Concat(vars));
        }
        else
        {
            Expression member = Expression.Dynamic(Binder.GetMember(CSharpBinderFlags.None, name, context, new[] { none }),
                                                   typeof(object), target);
            int index = kind == "let" ? count - 1 : count;
            var info = Enumerable.Repeat(none, count + 1);
            if (kind == "get")
                call = index == 0 ? member : Expression.Dynamic(Binder.GetIndex(CSharpBinderFlags.None, context, info), typeof(object),
                                                                new[] { member }.Concat(vars));
            else if (index == 0)
                call = Expression.Dynamic(Binder.SetMember(CSharpBinderFlags.None, name, context, new[] { none, none }),
                                          typeof(object), target, vars[0]);
            else
                call = Expression.Dynamic(Binder.SetIndex(CSharpBinderFlags.None, context, info), typeof(object),
                                          new[] { member }.Concat(vars));
        }
        var result = Expression.Variable(typeof(object), "result");
        body.Add(Expression.Assign(result, Expression.Convert(call, typeof(object))));
        for (int i = 0; i < count; ++i) body.Add(Expression.Assign(Expression.ArrayAccess(args, Expression.Constant(i)), vars[i]));
        body.Add(result);
        site = Expression.Lambda<Func<object, object[], object>>(Expression.Block(vars.Concat(new[] { result }), body), target, args).Compile();
        Sites[key] = site;
        return site;
    }

    // A dispatch id: a number, or its text in decimal or "0x" hexadecimal; null for a name.
    static int? DispatchId(object member)
    {
        if (member is JNumber) return (int)long.Parse(((JNumber)member).Text);
        string name = (string)member;
        long id;
        if (name.StartsWith("0x", StringComparison.OrdinalIgnoreCase) &&
            long.TryParse(name.Substring(2), NumberStyles.AllowHexSpecifier, CultureInfo.InvariantCulture, out id))
            return (int)id;
        if (long.TryParse(name, NumberStyles.AllowLeadingSign, CultureInfo.InvariantCulture, out id)) return (int)id;
        return null;
    }

    static void RunStep(object target, Dictionary<string, object> step, string label, List<string> failures, List<IDisposable> made)
    {
        var given = (List<object>)Field(step, "args") ?? new List<object>();
        object[] args = given.Select(a => ToNet(a, made)).ToArray();
        string kind = (string)Field(step, "kind") ?? "method";
        int? id = DispatchId(step["member"]);
        object result = null;
        int? error = null;
        string other = null;
        try
        {
            if (id != null)
                result = Ztl.InvokeId(target, id.Value, kind == "get" ? 2 : kind == "let" ? 4 : 1, args);
            else if (kind == "let" && args.Length == 0)
                Ztl.Set(target, (string)step["member"]);  // no assignment in C# has no value
            else
                result = Site(kind, (string)step["member"], args.Length)(target, args);
            if (kind == "let") result = null;  // an assignment's value is the value assigned, not a result
        }
        catch (ZtlException e) { error = e.Number; }
        catch (Exception e) { other = e.GetType().Name + ": " + e.Message; }
        object expected = Field(step, "result");
        string wanted = step.ContainsKey("error") ? "error " + Json.Show(step["error"]) : Json.Show(expected);
        if (other != null)
        {
            failures.Add(label + ": expected " + wanted + ", got " + other);
            return;
        }
        if (step.ContainsKey("error"))
        {
            if (error != int.Parse(Text(step["error"])))
                failures.Add(label + ": expected " + wanted + ", got " + (error != null ? "error " + error : ShowNet(result)));
            return;
        }
        if (error != null)
        {
            failures.Add(label + ": expected " + wanted + ", got error " + error);
            return;
        }
        if (step.ContainsKey("result") && !Same(expected, result))
            failures.Add(label + ": expected " + wanted + ", got " + ShowNet(result));
        object byref = Field(step, "byref");
        var checks = new List<KeyValuePair<int, object>>();
        if (byref is List<object>) checks.AddRange(((List<object>)byref).Select((v, i) => new KeyValuePair<int, object>(i, v)));
        else if (byref != null) checks.AddRange(((Dictionary<string, object>)byref).Select(p => new KeyValuePair<int, object>(int.Parse(p.Key), p.Value)));
        foreach (var check in checks)
        {
            if (check.Key >= args.Length) continue;
            if (!Same(check.Value, args[check.Key]))
                failures.Add(label + ": argument " + check.Key + " after the call: expected " + Json.Show(check.Value) +
                             ", got " + ShowNet(args[check.Key]));
        }
    }

    static int Run(string path, List<string> failures, Dictionary<string, List<string>> skipped)
    {
        int cases = 0, number = 0;
        foreach (string line in File.ReadAllLines(path, Encoding.UTF8))
        {
            ++number;
            string trimmed = line.Trim();
            if (trimmed.Length == 0 || trimmed.StartsWith("#")) continue;
            ++cases;
            string where = Path.GetFileName(path) + ":" + number;
            var c = (Dictionary<string, object>)Json.Parse(line);
            if (c.ContainsKey("seed")) Ztl.Randomize(ulong.Parse(Text(c["seed"])));
            string cls = (string)c["class"];
            var made = new List<IDisposable>();
            try
            {
                dynamic target;
                try
                {
                    target = Ztl.CreateObject(cls);
                }
                catch (ZtlException e) when (e.Number == 429)
                {
                    var form = new Container();
                    made.Add(form);
                    target = form.Place(cls);
                }
                made.Add((IDisposable)target);
                var steps = c.ContainsKey("steps") ? ((List<object>)c["steps"]).Cast<Dictionary<string, object>>().ToList()
                                                   : new List<Dictionary<string, object>> { c };
                for (int i = 0; i < steps.Count; ++i)
                    RunStep((object)target, steps[i], where + " step " + i + " " + Json.Show(steps[i]["member"]), failures, made);
            }
            catch (Inexpressible e)
            {
                List<string> list;
                if (!skipped.TryGetValue(e.Message, out list)) skipped[e.Message] = list = new List<string>();
                list.Add(where);
            }
            catch (Exception e)
            {
                failures.Add(where + ": " + e.GetType().Name + ": " + e.Message);
            }
            foreach (IDisposable d in made) d.Dispose();
        }
        return cases;
    }

    static int Main(string[] argv)
    {
        var files = new List<string>();
        foreach (string given in argv.Length > 0 ? argv : new[] { "." })
        {
            if (Directory.Exists(given)) files.AddRange(Directory.GetFiles(given, "*.jsonl").OrderBy(f => f, StringComparer.Ordinal));
            else files.Add(given);
        }
        var failures = new List<string>();
        var skipped = new Dictionary<string, List<string>>();
        int count = 0;
        foreach (string file in files) count += Run(file, failures, skipped);
        // Every handle the runs made is released, by Dispose or by a finalizer.
        GC.Collect();
        GC.WaitForPendingFinalizers();
        GC.Collect();
        GC.WaitForPendingFinalizers();
        if (Ztl.LiveHandles != 0) failures.Add(Ztl.LiveHandles + " handles left alive after the finalizers ran");
        foreach (string failure in failures) Console.WriteLine(failure);
        foreach (var reason in skipped)
            Console.WriteLine("skipped, as C# cannot write " + reason.Key + ": " + string.Join(", ", reason.Value));
        Console.WriteLine(count + " cases, " + failures.Count + " failures, " + skipped.Values.Sum(l => l.Count) + " skipped");
        return failures.Count == 0 && count > 0 ? 0 : 1;
    }
}
