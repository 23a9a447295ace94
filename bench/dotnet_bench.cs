// The cost of a late-bound call from C#, beside the anchor of a direct P/Invoke of
// ztl_abi_version() in the same run (Ztl.AbiVersion, a property that is nothing but that call,
// so that the assembly's own library mapping applies), as a ratio, so the numbers mean
// something on any machine.
//
//   MONO_PATH=build/release/bindings/dotnet mono build/release/bench/dotnet_bench.exe [--quick]
//
// Each case is the best of several timed runs (the least disturbed one). Not a test: it prints.
using System;
using System.Diagnostics;
using ZtlData;

static class DotnetBench
{
    const double Target = 10;  // a late-bound call within this many anchor calls

    static double Best(Action<int> loop, int number, int repeat)
    {
        loop(number / 10);  // warm up: call sites bound, code compiled
        double best = double.MaxValue;
        for (int r = 0; r < repeat; ++r)
        {
            var watch = Stopwatch.StartNew();
            loop(number);
            best = Math.Min(best, watch.Elapsed.TotalMilliseconds * 1e6 / number);
        }
        return best;
    }

    static int Main(string[] args)
    {
        bool quick = args.Length > 0 && args[0] == "--quick";
        int number = quick ? 2000 : 200000, repeat = quick ? 3 : 7;
        dynamic n = Ztl.CreateObject("ZtNumeric");
        var typed = new ZtNumeric();
        var form = new Container();
        dynamic stack = form.Place("ZtStack");
        var typedStack = new ZtStack(form);
        int sink = 0;
        var rows = new[]
        {
            new { Name = "ztl_abi_version() P/Invoke (anchor)", Loop = (Action<int>)(k => { for (int i = 0; i < k; ++i) sink += Ztl.AbiVersion; }), Targeted = false },
            new { Name = "n.IsEven(4) (dynamic)", Loop = (Action<int>)(k => { for (int i = 0; i < k; ++i) if (n.IsEven(4)) ++sink; }), Targeted = true },
            new { Name = "n.IsEven(4) (typed)", Loop = (Action<int>)(k => { for (int i = 0; i < k; ++i) if (typed.IsEven(4)) ++sink; }), Targeted = true },
            new { Name = "n.Num2Letter(12) (dynamic)", Loop = (Action<int>)(k => { for (int i = 0; i < k; ++i) sink += ((string)n.Num2Letter(12)).Length; }), Targeted = false },
            new { Name = "stack.Size (dynamic property)", Loop = (Action<int>)(k => { for (int i = 0; i < k; ++i) sink += (int)stack.Size; }), Targeted = false },
            new { Name = "stack.Size (typed property)", Loop = (Action<int>)(k => { for (int i = 0; i < k; ++i) sink += typedStack.Size; }), Targeted = false },
        };
        double anchor = 0;
        bool missed = false;
        Console.WriteLine("{0,-40} {1,10} {2,8}", "case", "ns/call", "ratio");
        foreach (var row in rows)
        {
            double ns = Best(row.Loop, number, repeat);
            if (anchor == 0) anchor = ns;
            double ratio = ns / anchor;
            string mark = "";
            if (row.Targeted)
            {
                mark = string.Format("  (target {0}x: {1})", Target, ratio <= Target ? "met" : "MISSED");
                missed |= ratio > Target;
            }
            Console.WriteLine("{0,-40} {1,10:F0} {2,7:F1}x{3}", row.Name, ns, ratio, mark);
        }
        form.Dispose();
        GC.KeepAlive(sink);
        return missed && !quick ? 1 : 0;
    }
}
