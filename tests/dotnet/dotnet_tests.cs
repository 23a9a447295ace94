// The .NET host's own behaviour, over what the C interface already guarantees: values both ways,
// arrays changed in place, Decimal scale, DateTime range, bytes, errors, disposal, threads, the
// typed classes. Each check names what it looks at; the program exits 1 when any fails.
using System;
using System.Collections.Generic;
using System.Linq;
using System.Reflection;
using System.Runtime.InteropServices;
using System.Threading;
using ZtlData;

static class Tests
{
    static readonly List<string> Failures = new List<string>();
    static int checks;

    static void Expect(string what, object expected, object actual)
    {
        ++checks;
        if (!Equals(expected, actual))
            Failures.Add(what + ": expected " + Show(expected) + ", got " + Show(actual));
    }

    // The error a call raises: the exception's type name and, for ZtlException, its number.
    static string Raised(Action call)
    {
        try { call(); }
        catch (ZtlException e) { return "ZtlException " + e.Number; }
        catch (Exception e) { return e.GetType().Name; }
        return "nothing";
    }

    // An array's items in storage order, joined. (Not through LINQ: Mono aborts when a cast to a
    // generic interface meets an array with a lower bound other than 0.)
    static string Items(Array a)
    {
        var items = new List<string>();
        foreach (object item in a)
            items.Add(item is DateTime ? ((DateTime)item).ToString("yyyy-MM-dd")
                      : item is CurrencyWrapper ? Convert.ToString(((CurrencyWrapper)item).WrappedObject, System.Globalization.CultureInfo.InvariantCulture)
                      : Convert.ToString(item, System.Globalization.CultureInfo.InvariantCulture));
        return string.Join(",", items);
    }

    static string Show(object v)
    {
        return v == null ? "null" : v.GetType().Name + " " + Convert.ToString(v, System.Globalization.CultureInfo.InvariantCulture);
    }

    // ---- values both ways: ZtStack.Push gives back the Variant it was given -----------------

    static void Values(dynamic stack)
    {
        var rows = new[]
        {
            new { Name = "bool", Given = (object)true, Back = (object)true },
            new { Name = "byte", Given = (object)(byte)200, Back = (object)(byte)200 },
            new { Name = "short", Given = (object)(short)-32768, Back = (object)(short)-32768 },
            new { Name = "int", Given = (object)int.MinValue, Back = (object)int.MinValue },
            new { Name = "float", Given = (object)0.1f, Back = (object)0.1f },
            new { Name = "double", Given = (object)-2.5e300, Back = (object)-2.5e300 },
            new { Name = "decimal", Given = (object)123.4500m, Back = (object)123.4500m },
            new { Name = "string", Given = (object)"a\0b\u00e9\ud83d\ude00", Back = (object)"a\0b\u00e9\ud83d\ude00" },
            new { Name = "empty string", Given = (object)"", Back = (object)"" },
            new { Name = "DateTime", Given = (object)new DateTime(2024, 2, 29, 12, 30, 15, 250), Back = (object)new DateTime(2024, 2, 29, 12, 30, 15, 250) },
            new { Name = "null (Empty)", Given = (object)null, Back = (object)null },
            new { Name = "DBNull (Null)", Given = (object)DBNull.Value, Back = (object)DBNull.Value },
            new { Name = "long in the Long range", Given = (object)7L, Back = (object)7 },
            new { Name = "long beyond it", Given = (object)(1L << 40), Back = (object)(double)(1L << 40) },
            new { Name = "char", Given = (object)'x', Back = (object)"x" },
            new { Name = "enum", Given = (object)ztlStackStrategy.ztlStackLIFO, Back = (object)1 },
            new { Name = "Currency", Given = (object)new CurrencyWrapper(1.23456m), Back = (object)1.2346m },
        };
        foreach (var row in rows)
        {
            object back = stack.Push(row.Given);
            Expect("value " + row.Name, row.Back, back);
            Expect("type of " + row.Name, row.Back == null ? null : row.Back.GetType(), back == null ? null : back.GetType());
        }
        Expect("Error value", 5, ((ErrorWrapper)stack.Push(new ErrorWrapper(5))).ErrorCode);
        Expect("Nothing", null, (object)stack.Push(new DispatchWrapper(null)));
        Expect("an object comes back as the same object", true, stack.Equals(stack.Push(stack)));
        Expect("no counterpart", "ArgumentException", Raised(() => stack.Push(new Uri("http://x"))));
    }

    // ---- Decimal scale and range --------------------------------------------------------------

    static void Decimals(dynamic stack)
    {
        foreach (string text in new[] { "1.50", "0.00", "-0.0000000000000000000000000001", "79228162514264337593543950335", "12345678901234567890.5" })
        {
            decimal given = decimal.Parse(text, System.Globalization.CultureInfo.InvariantCulture);
            Expect("decimal " + text, text, ((decimal)stack.Push(given)).ToString(System.Globalization.CultureInfo.InvariantCulture));
        }
    }

    // ---- DateTime: the library's range, milliseconds kept -------------------------------------

    static void Dates(dynamic stack)
    {
        foreach (DateTime t in new[] { new DateTime(100, 1, 1), new DateTime(9999, 12, 31, 23, 59, 59), new DateTime(1899, 12, 29, 6, 0, 0), new DateTime(2024, 1, 1, 23, 59, 59, 999) })
            Expect("date " + t.ToString("o"), t, (DateTime)stack.Push(t));
        Expect("a date before 100-01-01", "ZtlException 6", Raised(() => stack.Push(new DateTime(99, 12, 31))));
        dynamic d = Ztl.CreateObject("ZtDate");
        Expect("LastDay", new DateTime(2024, 2, 29), (DateTime)d.LastDay(new DateTime(2024, 2, 10)));
    }

    // ---- arrays: element types, bounds, changed in place --------------------------------------

    static void Arrays(dynamic stack)
    {
        dynamic arrays = Ztl.CreateObject("ZtArrays");
        var sorted = new[]
        {
            new { Name = "int[]", Given = (Array)new[] { 30, 10, 20 }, Items = "10,20,30" },
            new { Name = "object[]", Given = (Array)new object[] { 5, "b", 2.5, "a", -1 }, Items = "-1,2.5,5,a,b" },
            new { Name = "byte[]", Given = (Array)new byte[] { 9, 3 }, Items = "3,9" },
            new { Name = "decimal[]", Given = (Array)new[] { 2.50m, 1.5m }, Items = "1.5,2.50" },
            new { Name = "DateTime[]", Given = (Array)new[] { new DateTime(2024, 1, 2), new DateTime(2023, 5, 6) }, Items = "2023-05-06,2024-01-02" },
            new { Name = "CurrencyWrapper[]", Given = (Array)new[] { new CurrencyWrapper(3.5m), new CurrencyWrapper(1.25m) }, Items = "1.25,3.5" },
        };
        foreach (var row in sorted)
        {
            arrays.Sort(row.Given);
            Expect(row.Name + " sorted in place", row.Items, Items(row.Given));
        }

        Array fromOne = Array.CreateInstance(typeof(string), new[] { 3 }, new[] { 1 });
        fromOne.SetValue("c", 1);
        fromOne.SetValue("a", 2);
        fromOne.SetValue("b", 3);
        arrays.Sort(fromOne);
        Expect("lower bound 1 sorted in place", "a,b,c", Items(fromOne));
        Expect("lower bound 1 kept", 1, fromOne.GetLowerBound(0));

        var grid = new int[,] { { 1, 2, 3 }, { 4, 5, 6 } };
        Expect("Dimensions of int[,]", (short)2, (object)arrays.Dimensions(grid));
        Array counts = Array.CreateInstance(typeof(int), new[] { 3 }, new[] { 1 });
        for (int i = 1; i <= 3; ++i) counts.SetValue(10 * i, i);
        Expect("GetSum with lower bound 1", 60, (object)arrays.GetSum(counts));

        Array back = stack.Push(fromOne);
        Expect("array back: element type", typeof(string), back.GetType().GetElementType());
        Expect("array back: lower bound", 1, back.GetLowerBound(0));
        Array grid2 = stack.Push(grid);
        Expect("2-d array back: rank", 2, grid2.Rank);
        Expect("2-d array back: element [1,2]", 6, grid2.GetValue(1, 2));
        Expect("empty array: not allocated", true, (object)arrays.IsEmpty(new int[0]));

        object x = 1, y = "two";
        Ztl.CreateObject("ZtData").Inter(ref x, ref y);
        Expect("ref argument 1", "two", x);
        Expect("ref argument 2", 1, y);
    }

    // ---- bytes: every value both ways ---------------------------------------------------------

    static void Bytes(Container form)
    {
        var all = Enumerable.Range(0, 256).Select(i => (byte)i).ToArray();
        dynamic rle = form.Place("ZtRLE");
        dynamic cipher = form.Place("ZtEncryption");
        dynamic crc = form.Place("ZtCRC32");
        dynamic strings = Ztl.CreateObject("ZtStrings");
        Expect("RLE round trip", true, all.SequenceEqual((byte[])rle.Decompress(rle.Compress(all))));
        Expect("cipher round trip", true, all.SequenceEqual((byte[])cipher.Decode(cipher.Encode(all, 77), 77)));
        Expect("EBCDIC round trip", true, all.SequenceEqual((byte[])strings.EBCDICToASCII(strings.ASCIIToEBCDIC(all))));
        Expect("EBCDIC of AZaz09", "C1-E9-81-A9-F0-F9", BitConverter.ToString((byte[])strings.ASCIIToEBCDIC(new byte[] { 65, 90, 97, 122, 48, 57 })));
        int register = crc.InitCRC32(unchecked((int)0xEDB88320u), -1);
        register = crc.AddCRC32(all, register);
        Expect("CRC-32 of 0..255", unchecked((int)0x29058C73u), (int)crc.GetCRC32(register));
        Expect("text stays text", typeof(string), ((object)rle.Compress("aaaaab")).GetType());
        Expect("byte[] elsewhere is an array of Byte", (byte)2, (object)Ztl.CreateObject("ZtArrays").GetMax(new byte[] { 1, 2 }));
    }

    // ---- calls: optional, named, parameter arrays, indexed properties --------------------------

    static void Calls(Container form)
    {
        dynamic n = Ztl.CreateObject("ZTLData.ZtNumeric");
        Expect("Num2Letter", "one thousand two hundred thirty-four", (object)n.Num2Letter(1234));
        Expect("member name in any case", true, (object)n.isprime(97));
        Expect("optional left out", (object)n.CompressNumber(1234.5, 9, 0), (object)n.CompressNumber(1234.5));
        Expect("named argument", (object)n.CompressNumber(12.34, 9, 2), (object)n.CompressNumber(12.34, intDecimals: 2));
        Expect("Missing.Value", (object)n.CompressNumber(12.34, 9, 2), (object)n.CompressNumber(12.34, Missing.Value, 2));
        Expect("unknown parameter name", "ZtlException -3", Raised(() => n.CompressNumber(1.5, size: 2)));
        Expect("parameter array", "00003 and 42.00", (object)Ztl.CreateObject("ZtStrings").sPrintf("%05d and %.02f", 3, 42));
        dynamic bits = form.Place("ZtBits", "Flags");
        bits.Create(64);
        bits.Bit[5] = true;
        Expect("indexed property set", true, (object)bits.Bit[5]);
        Expect("indexed property unset", false, (object)bits.Bit[6]);
        Expect("indexed property called", true, (object)bits.Bit(5));
        Expect("by dispatch id", true, Ztl.InvokeId(n, Ztl.DispatchId(n, "IsPrime"), 1, 97));
    }

    // ---- containers and collections -----------------------------------------------------------

    static void Containers()
    {
        string saved;
        using (var form = new Container())
        {
            dynamic stack = form.Place("ZtStack");
            stack.Strategy = ztlStackStrategy.ztlStackLIFO;
            stack.Push("first");
            stack.Push("second");
            Expect("component state", 2, (object)stack.Size);
            Expect("LIFO pops the oldest", "first", (object)stack.Pop());
            form.Place("ZtRSA", "Keys").PublicKey = 77;
            Expect("names", "ZtStack1,Keys", string.Join(",", form));
            Expect("found by name in any case", 77, (object)form["keys"].PublicKey);
            Expect("missing name", "KeyNotFoundException", Raised(() => { var unused = form["nope"]; }));
            Expect("a component cannot be created alone", "ZtlException 429", Raised(() => Ztl.CreateObject("ZtStack")));
            saved = form.Save();
        }
        using (var again = Container.Load(saved))
        {
            Expect("loaded without problems", 0, again.Problems.Length);
            Expect("loaded property", 1, (object)again["ZtStack1"].Strategy);
            Expect("saved again the same", saved, again.Save());
        }

        var c = new Collection();
        c.Add("b", "kb");
        c.Add("a");
        Expect("collection count", 2, c.Count);
        Expect("item by position", "b", c[1]);
        Expect("item by key in any case", "b", c["KB"]);
        Expect("keys", "kb,", string.Join(",", c.Keys));
        Expect("position outside", "ZtlException 5", Raised(() => { var unused = c[5]; }));
        Expect("key in use", "ZtlException 457", Raised(() => c.Add(1, "KB")));
        Ztl.CreateObject("ZtCollections").Sort(c);
        Expect("sorted in place", "a,b", string.Join(",", c));
        var pieces = new Collection();
        Expect("InStrAdv count", 2, (object)Ztl.CreateObject("ZtStrings").InStrAdv(",a,,b ,", ",", pieces));
        Expect("InStrAdv pieces", "a|b ", string.Join("|", pieces));
        Expect("null for an Object parameter is Nothing", false, (object)Ztl.CreateObject("ZtObjects").IsSet(null));
    }

    // ---- errors ---------------------------------------------------------------------------------

    static void Errors()
    {
        dynamic n = Ztl.CreateObject("ZtNumeric");
        var rows = new[]
        {
            new { Name = "type mismatch", Call = (Action)(() => n.Factorial("ten")), Raised = "ZtlException 13" },
            new { Name = "overflow", Call = (Action)(() => n.Sum(1L << 40)), Raised = "ZtlException 6" },
            new { Name = "too few arguments", Call = (Action)(() => n.Sum()), Raised = "ZtlException 450" },
            new { Name = "no such member", Call = (Action)(() => n.NoSuchOperation()), Raised = "ZtlException 438" },
            new { Name = "no such class", Call = (Action)(() => Ztl.CreateObject("ZtNothing")), Raised = "ZtlException 429" },
        };
        foreach (var row in rows) Expect(row.Name, row.Raised, Raised(row.Call));
        try { n.IsPrime("seven"); }
        catch (ZtlException e)
        {
            Expect("the library's message", "Type mismatch: argument 1 (lngNumber) of ZtNumeric.IsPrime cannot be String for Long", e.Message);
        }
    }

    // ---- disposal -----------------------------------------------------------------------------

    static void Disposal()
    {
        dynamic n = Ztl.CreateObject("ZtNumeric");
        n.Dispose();
        Expect("object used after Dispose", "ObjectDisposedException", Raised(() => n.IsPrime(7)));
        Expect("Dispose twice", "nothing", Raised(() => n.Dispose()));
        var form = new Container();
        form.Dispose();
        Expect("container used after Dispose", "ObjectDisposedException", Raised(() => form.Place("ZtStack")));
        var c = new Collection();
        c.Dispose();
        Expect("collection used after Dispose", "ObjectDisposedException", Raised(() => { var unused = c.Count; }));
        dynamic stack;
        using (var owner = new Container()) stack = owner.Place("ZtStack");
        Expect("component outlives its container's handle", "nothing", Raised(() => stack.Push(1)));
        var typed = new ZtNumeric();
        typed.Dispose();
        Expect("typed object used after Dispose", "ObjectDisposedException", Raised(() => typed.IsPrime(7)));
    }

    // ---- threads: calls on separate objects side by side ----------------------------------------

    static void Threads()
    {
        const int workers = 4;
        var primes = new int[workers];
        var threads = Enumerable.Range(0, workers).Select(w => new Thread(() =>
        {
            dynamic n = Ztl.CreateObject("ZtNumeric");
            for (int i = 1; i < 2000; ++i) if (n.IsPrime(i)) ++primes[w];
            n.Dispose();
        })).ToList();
        threads.ForEach(t => t.Start());
        threads.ForEach(t => t.Join());
        for (int w = 0; w < workers; ++w) Expect("primes below 2000 on thread " + w, 303, primes[w]);

        // Calls on one component from several threads take turns.
        using (var form = new Container())
        {
            dynamic stack = form.Place("ZtStack");
            var pushers = Enumerable.Range(0, workers).Select(w => new Thread(() =>
            {
                for (int i = 0; i < 1000; ++i) stack.Push(i);
            })).ToList();
            pushers.ForEach(t => t.Start());
            pushers.ForEach(t => t.Join());
            Expect("pushes from every thread", workers * 1000, (object)stack.Size);
        }
    }

    // ---- typed classes ------------------------------------------------------------------------

    static void Typed(Container form)
    {
        var n = new ZtNumeric();
        Expect("typed method", true, n.IsPrime(97));
        Expect("typed optional left out", n.CompressNumber(1234.5, 9, 0), n.CompressNumber(1234.5));
        var stack = new ZtStack(form);
        stack.Strategy = ztlStackStrategy.ztlStackLIFO;
        Expect("typed enum property", ztlStackStrategy.ztlStackLIFO, stack.Strategy);
        var bits = new ZtBits(form);
        bits.Create(8);
        bits.SetBit(3, true);
        Expect("typed indexed property", true, bits.GetBit(3));
        var all = Enumerable.Range(0, 256).Select(i => (byte)i).ToArray();
        var rle = new ZtRLE(form);
        Expect("typed bytes", true, all.SequenceEqual(rle.Decompress(rle.Compress(all))));
        var arrays = new ZtArrays();
        var numbers = new[] { 3, 1, 2 };
        arrays.Sort(numbers);
        Expect("typed array in place", "1,2,3", string.Join(",", numbers));
        Expect("typed view of a dynamic object", 1, (object)new ZtStack(form.Place("ZtStack")).Push(1));
        Expect("typed view of another class", "ArgumentException", Raised(() => new ZtStack(Ztl.CreateObject("ZtNumeric"))));
    }

    static void All()
    {
        using (var form = new Container())
        {
            dynamic stack = form.Place("ZtStack");
            Values(stack);
            Decimals(stack);
            Dates(stack);
            Arrays(stack);
            Bytes(form);
            Calls(form);
            Typed(form);
        }
        Containers();
        Errors();
        Disposal();
        Threads();
    }

    static int Main()
    {
        long before = Ztl.LiveHandles;
        // On a thread of its own, so that no stack the collector scans still holds a wrapper.
        var run = new Thread(All);
        run.Start();
        run.Join();
        GC.Collect();
        GC.WaitForPendingFinalizers();
        GC.Collect();
        GC.WaitForPendingFinalizers();
        Expect("every handle released by Dispose or a finalizer", before, Ztl.LiveHandles);
        foreach (string failure in Failures) Console.WriteLine("FAILED " + failure);
        Console.WriteLine(checks + " checks, " + Failures.Count + " failures");
        return Failures.Count == 0 ? 0 : 1;
    }
}
