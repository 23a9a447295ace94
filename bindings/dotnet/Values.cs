// Values.cs: .NET values to the library's variants and back.
//
// Arguments borrow: a string is pinned for the call, an array becomes a new library array that
// the call frame releases afterwards (after its contents went back into the caller's array), an
// object passes its handle. Results are owned: strings are copied, arrays read into .NET arrays,
// object handles taken over by the wrappers that come back.
using System;
using System.Collections.Generic;
using System.Reflection;
using System.Runtime.InteropServices;

namespace ZtlData
{
    /// <summary>What the arguments of one call hold on to until it is over.</summary>
    internal sealed class CallFrame : IDisposable
    {
        private List<GCHandle> pins;
        private List<IntPtr> arrays;
        private List<ZtlHandle.Lease> leases;

        public IntPtr Pin(object o)
        {
            if (pins == null) pins = new List<GCHandle>();
            GCHandle pin = GCHandle.Alloc(o, GCHandleType.Pinned);
            pins.Add(pin);
            return pin.AddrOfPinnedObject();
        }

        public void Own(IntPtr array)
        {
            if (arrays == null) arrays = new List<IntPtr>();
            arrays.Add(array);
        }

        public IntPtr Use(ZtlHandle handle)
        {
            if (leases == null) leases = new List<ZtlHandle.Lease>();
            ZtlHandle.Lease lease = handle.Use();
            leases.Add(lease);
            return lease.Handle;
        }

        public void Dispose()
        {
            if (pins != null) foreach (GCHandle pin in pins) pin.Free();
            if (arrays != null) foreach (IntPtr array in arrays) Native.ztl_array_release(array);
            if (leases != null) foreach (ZtlHandle.Lease lease in leases) lease.Dispose();
            pins = null;
            arrays = null;
            leases = null;
        }
    }

    internal static unsafe class Values
    {
        // ---- bytes as Windows-1252 characters ----------------------------------------------

        // The characters of bytes 0x80..0x9F; the five codes Windows-1252 leaves undefined stay
        // the control characters of the same codes, so every byte has a character.
        private static readonly char[] High = {
            '\u20AC', '\u0081', '\u201A', '\u0192', '\u201E', '\u2026', '\u2020', '\u2021',
            '\u02C6', '\u2030', '\u0160', '\u2039', '\u0152', '\u008D', '\u017D', '\u008F',
            '\u0090', '\u2018', '\u2019', '\u201C', '\u201D', '\u2022', '\u2013', '\u2014',
            '\u02DC', '\u2122', '\u0161', '\u203A', '\u0153', '\u009D', '\u017E', '\u0178',
        };
        private static readonly Dictionary<char, byte> HighBytes = MakeHighBytes();

        private static Dictionary<char, byte> MakeHighBytes()
        {
            var bytes = new Dictionary<char, byte>();
            for (int i = 0; i < High.Length; ++i) bytes[High[i]] = (byte)(0x80 + i);
            return bytes;
        }

        public static string BytesToText(byte[] bytes)
        {
            var chars = new char[bytes.Length];
            for (int i = 0; i < bytes.Length; ++i)
            {
                byte b = bytes[i];
                chars[i] = b >= 0x80 && b < 0xA0 ? High[b - 0x80] : (char)b;
            }
            return new string(chars);
        }

        public static byte[] TextToBytes(string text)
        {
            var bytes = new byte[text.Length];
            for (int i = 0; i < text.Length; ++i)
            {
                char c = text[i];
                byte b;
                if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) bytes[i] = (byte)c;
                else if (HighBytes.TryGetValue(c, out b)) bytes[i] = b;
                else bytes[i] = (byte)'?';  // not a Windows-1252 character
            }
            return bytes;
        }

        // ---- .NET to variant ---------------------------------------------------------------

        public static NativeVariant Missing()
        {
            var v = new NativeVariant { Type = (ushort)VarType.Error };
            v.Value.Error = NativeVariant.ParamNotFound;
            return v;
        }

        /// <summary>A borrowing variant for an argument; `bytes` passes a byte[] as the text of a
        /// byte operation.</summary>
        public static NativeVariant ToVariant(object value, ref CallFrame frame, bool bytes = false)
        {
            var v = new NativeVariant();
            if (value == null) return v;  // Empty
            if (value is string) return Text((string)value, ref frame);
            if (value is int) { v.Type = (ushort)VarType.Long; v.Value.Long = (int)value; return v; }
            if (value is double) return Dbl((double)value);
            if (value is bool) { v.Type = (ushort)VarType.Boolean; v.Value.Boolean = (short)((bool)value ? -1 : 0); return v; }
            if (value is short) { v.Type = (ushort)VarType.Integer; v.Value.Integer = (short)value; return v; }
            if (value is byte) { v.Type = (ushort)VarType.Byte; v.Value.Byte = (byte)value; return v; }
            if (value is float) { v.Type = (ushort)VarType.Single; v.Value.Single = (float)value; return v; }
            if (value is decimal) { v.Type = (ushort)VarType.Decimal; v.Value.Decimal = ToNative((decimal)value); return v; }
            if (value is DateTime) { v.Type = (ushort)VarType.Date; v.Value.Double = ToDate((DateTime)value); return v; }
            if (value is DBNull) { v.Type = (ushort)VarType.Null; return v; }
            if (value is Missing) return Missing();
            if (value is ZtlObject) { v.Type = (ushort)VarType.Object; v.Value.Pointer = Frame(ref frame).Use(((ZtlObject)value).Handle); return v; }
            if (value is Collection) { v.Type = (ushort)VarType.Object; v.Value.Pointer = Frame(ref frame).Use(((Collection)value).Handle); return v; }
            if (value is ZtlTyped) return ToVariant(((ZtlTyped)value).Object, ref frame);
            if (value is CurrencyWrapper) { v.Type = (ushort)VarType.Currency; v.Value.Currency = ToCurrency(((CurrencyWrapper)value).WrappedObject); return v; }
            if (value is ErrorWrapper) { v.Type = (ushort)VarType.Error; v.Value.Error = ((ErrorWrapper)value).ErrorCode; return v; }
            if (value is DispatchWrapper && ((DispatchWrapper)value).WrappedObject == null) { v.Type = (ushort)VarType.Object; return v; }
            if (value is char) return Text(value.ToString(), ref frame);
            if (value is long) return Wide((long)value);
            if (value is sbyte) { v.Type = (ushort)VarType.Integer; v.Value.Integer = (sbyte)value; return v; }
            if (value is ushort) { v.Type = (ushort)VarType.Long; v.Value.Long = (ushort)value; return v; }
            if (value is uint) return Wide((uint)value);
            if (value is ulong) { ulong ul = (ulong)value; return ul <= long.MaxValue ? Wide((long)ul) : Dbl(ul); }
            if (value is byte[] && bytes) return Text(BytesToText((byte[])value), ref frame);
            if (value is Array) return ArrayVariant((Array)value, ref frame);
            if (value is Enum) return ToVariant(Convert.ChangeType(value, Enum.GetUnderlyingType(value.GetType())), ref frame);
            throw new ArgumentException("a " + value.GetType() + " has no counterpart among the library's values");
        }

        /// <summary>The frame, made when the first argument needs one (numbers do not).</summary>
        private static CallFrame Frame(ref CallFrame frame) { return frame ?? (frame = new CallFrame()); }

        private static NativeVariant Text(string s, ref CallFrame frame)
        {
            var v = new NativeVariant { Type = (ushort)VarType.String };
            v.Value.String.Data = s.Length == 0 ? IntPtr.Zero : Frame(ref frame).Pin(s);
            v.Value.String.Length = (UIntPtr)s.Length;
            return v;
        }

        // A Long when it fits, else a Double (as a number literal of the platform is).
        private static NativeVariant Wide(long l)
        {
            if (l < int.MinValue || l > int.MaxValue) return Dbl(l);
            var v = new NativeVariant { Type = (ushort)VarType.Long };
            v.Value.Long = (int)l;
            return v;
        }

        private static NativeVariant Dbl(double d)
        {
            var v = new NativeVariant { Type = (ushort)VarType.Double };
            v.Value.Double = d;
            return v;
        }

        public static NativeDecimal ToNative(decimal m)
        {
            int[] bits = decimal.GetBits(m);
            return new NativeDecimal
            {
                Lo = (uint)bits[0] | ((ulong)(uint)bits[1] << 32),
                Hi = (uint)bits[2],
                Scale = (byte)((bits[3] >> 16) & 0xFF),
                Negative = (byte)(bits[3] < 0 ? 1 : 0),
            };
        }

        public static decimal FromNative(NativeDecimal d)
        {
            return new decimal((int)(uint)d.Lo, (int)(uint)(d.Lo >> 32), (int)d.Hi, d.Negative != 0, d.Scale);
        }

        private static long ToCurrency(object value)
        {
            decimal m = Convert.ToDecimal(value);
            try { return decimal.ToInt64(decimal.Round(m * 10000m, MidpointRounding.ToEven)); }
            catch (OverflowException) { throw new ZtlException(6, "Overflow: " + m + " is outside the range of Currency"); }
        }

        /// <summary>A Currency (the value times 10000) as a decimal without trailing zeros.</summary>
        public static decimal FromCurrency(long scaled)
        {
            decimal m = new decimal(scaled) / 10000m;
            return m / 1.0000000000000000000000000000m;  // drops the trailing zeros of the scale
        }

        // The library's dates run from 100-01-01 to 9999-12-31, as DateTime's OLE dates do.
        private static readonly DateTime FirstDate = new DateTime(100, 1, 1);

        public static double ToDate(DateTime t)
        {
            if (t < FirstDate) throw new ZtlException(6, "Overflow: " + t.ToString("yyyy-MM-dd") + " is before the first Date, 100-01-01");
            return t.ToOADate();
        }

        public static DateTime FromDate(double days)
        {
            if (!(days > -657435.0 - 1e-9 && days < 2958466.0)) throw new ZtlException(6, "Overflow: the Date " + days + " is outside the range of DateTime");
            return DateTime.FromOADate(days);
        }

        // ---- arrays ------------------------------------------------------------------------

        private static VarType ElementCode(Type t)
        {
            if (t == typeof(bool)) return VarType.Boolean;
            if (t == typeof(byte)) return VarType.Byte;
            if (t == typeof(short)) return VarType.Integer;
            if (t == typeof(int)) return VarType.Long;
            if (t == typeof(float)) return VarType.Single;
            if (t == typeof(double)) return VarType.Double;
            if (t == typeof(decimal)) return VarType.Decimal;
            if (t == typeof(DateTime)) return VarType.Date;
            if (t == typeof(string)) return VarType.String;
            if (t == typeof(CurrencyWrapper)) return VarType.Currency;
            if (t == typeof(ErrorWrapper)) return VarType.Error;
            return VarType.Variant;
        }

        public static Type ElementType(VarType code)
        {
            switch (code)
            {
                case VarType.Boolean: return typeof(bool);
                case VarType.Byte: return typeof(byte);
                case VarType.Integer: return typeof(short);
                case VarType.Long: return typeof(int);
                case VarType.Single: return typeof(float);
                case VarType.Double: return typeof(double);
                case VarType.Decimal: case VarType.Currency: return typeof(decimal);
                case VarType.Date: return typeof(DateTime);
                case VarType.String: return typeof(string);
                default: return typeof(object);
            }
        }

        /// <summary>The subscripts of every element, the first dimension fastest (the library's
        /// storage order).</summary>
        public static IEnumerable<int[]> Subscripts(int[] lower, int[] count)
        {
            long total = 1;
            foreach (int c in count) total *= c;
            if (lower.Length == 0) total = 0;
            for (long i = 0; i < total; ++i)
            {
                var index = new int[lower.Length];
                long rest = i;
                for (int d = 0; d < lower.Length; ++d)
                {
                    index[d] = lower[d] + (int)(rest % count[d]);
                    rest /= count[d];
                }
                yield return index;
            }
        }

        private static void Shape(Array a, out int[] lower, out int[] count)
        {
            // An empty one-dimensional array stands for an array that is not allocated.
            int dims = a.Rank == 1 && a.Length == 0 ? 0 : a.Rank;
            lower = new int[dims];
            count = new int[dims];
            for (int d = 0; d < dims; ++d)
            {
                lower[d] = a.GetLowerBound(d);
                count[d] = a.GetLength(d);
            }
        }

        /// <summary>A new library array with the contents of a .NET array (owned by the frame).</summary>
        private static NativeVariant ArrayVariant(Array a, ref CallFrame frame)
        {
            VarType code = ElementCode(a.GetType().GetElementType());
            int[] lower, count;
            Shape(a, out lower, out count);
            IntPtr array;
            fixed (int* l = lower, c = count)
                Errors.Check(Native.ztl_array_new((ushort)code, (UIntPtr)lower.Length, l, c, out array));
            Frame(ref frame).Own(array);
            foreach (int[] index in Subscripts(lower, count))
            {
                CallFrame itemFrame = null;
                try
                {
                    NativeVariant item = ToVariant(a.GetValue(index), ref itemFrame);
                    fixed (int* i = index) Errors.Check(Native.ztl_array_put(array, i, (UIntPtr)index.Length, &item));
                }
                finally
                {
                    if (itemFrame != null) itemFrame.Dispose();
                }
            }
            var v = new NativeVariant { Type = (ushort)((ushort)VarType.Array | (ushort)code) };
            v.Value.Pointer = array;
            return v;
        }

        /// <summary>Reads a library array's elements back into the .NET array it was made from,
        /// when the shape still matches; false when it does not.</summary>
        public static bool CopyBack(IntPtr array, Array target)
        {
            int[] lower, count;
            if (!Bounds(array, out lower, out count)) return false;
            int[] tl, tc;
            Shape(target, out tl, out tc);
            if (tl.Length != lower.Length) return false;
            for (int d = 0; d < lower.Length; ++d)
                if (tl[d] != lower[d] || tc[d] != count[d]) return false;
            Type element = target.GetType().GetElementType();
            foreach (int[] index in Subscripts(lower, count)) target.SetValue(Fit(Element(array, index), element), index);
            return true;
        }

        private static bool Bounds(IntPtr array, out int[] lower, out int[] count)
        {
            UIntPtr dims;
            Errors.Check(Native.ztl_array_dims(array, out dims));
            int n = (int)dims;
            lower = new int[n];
            count = new int[n];
            for (int d = 0; d < n; ++d)
            {
                int upper;
                Errors.Check(Native.ztl_array_bounds(array, (UIntPtr)(d + 1), out lower[d], out upper));
                count[d] = upper - lower[d] + 1;
            }
            return true;
        }

        private static object Element(IntPtr array, int[] index)
        {
            var item = new NativeVariant();
            fixed (int* i = index) Errors.Check(Native.ztl_array_get(array, i, (UIntPtr)index.Length, &item));
            return Take(ref item);
        }

        /// <summary>A library array as a .NET array: T[] for one dimension from 0, otherwise an
        /// array with the library's bounds.</summary>
        public static Array ReadArray(IntPtr array)
        {
            ushort code;
            Errors.Check(Native.ztl_array_element_type(array, out code));
            Type element = ElementType((VarType)code);
            int[] lower, count;
            Bounds(array, out lower, out count);
            if (lower.Length == 0) return Array.CreateInstance(element, 0);
            Array result = lower.Length == 1 && lower[0] == 0
                ? Array.CreateInstance(element, count[0])
                : Array.CreateInstance(element, count, lower);
            foreach (int[] index in Subscripts(lower, count)) result.SetValue(Fit(Element(array, index), element), index);
            return result;
        }

        // An element read from the library as a value of the .NET array's element type.
        private static object Fit(object value, Type element)
        {
            if (value == null || element == typeof(object) || element.IsInstanceOfType(value)) return value;
            if (element == typeof(CurrencyWrapper)) return new CurrencyWrapper(value);
            return Convert.ChangeType(value, element, System.Globalization.CultureInfo.InvariantCulture);
        }

        // ---- variant to .NET ---------------------------------------------------------------

        /// <summary>An owned variant as a .NET value; the variant is cleared (its object handle
        /// goes to the wrapper that is returned).</summary>
        public static object Take(ref NativeVariant v)
        {
            try
            {
                return Read(ref v);
            }
            finally
            {
                // Only what the library owns needs it: numbers and borrowed values hold nothing.
                if (v.Owned != 0 && v.Type != (ushort)VarType.Empty)
                    fixed (NativeVariant* p = &v) Native.ztl_variant_clear(p);
            }
        }

        private static object Read(ref NativeVariant v)
        {
            if ((v.Type & (ushort)VarType.Array) != 0) return ReadArray(v.Value.Pointer);
            switch ((VarType)v.Type)
            {
                case VarType.Empty: return null;
                case VarType.Null: return DBNull.Value;
                case VarType.Integer: return v.Value.Integer;
                case VarType.Long: return v.Value.Long;
                case VarType.Single: return v.Value.Single;
                case VarType.Double: return v.Value.Double;
                case VarType.Currency: return FromCurrency(v.Value.Currency);
                case VarType.Date: return FromDate(v.Value.Double);
                case VarType.String:
                    return v.Value.String.Data == IntPtr.Zero ? "" : new string((char*)v.Value.String.Data, 0, (int)v.Value.String.Length);
                case VarType.Error: return new ErrorWrapper(v.Value.Error);
                case VarType.Boolean: return v.Value.Boolean != 0;
                case VarType.Decimal: return FromNative(v.Value.Decimal);
                case VarType.Byte: return v.Value.Byte;
                case VarType.Object:
                {
                    IntPtr handle = v.Value.Pointer;
                    if (handle == IntPtr.Zero) return null;
                    if (v.Owned == 0)
                    {
                        // A borrowed handle: take a handle of our own to the same object.
                        var copy = new NativeVariant();
                        fixed (NativeVariant* p = &v) Errors.Check(Native.ztl_variant_copy(&copy, p));
                        handle = copy.Value.Pointer;
                    }
                    v.Type = (ushort)VarType.Empty;  // the wrapper owns the handle now
                    return Wrap(handle);
                }
            }
            throw new ZtlException(13, "Type mismatch: a value of type code " + v.Type + " has no .NET counterpart");
        }

        /// <summary>A wrapper that takes over an owned object handle.</summary>
        public static object Wrap(IntPtr handle)
        {
            var owner = new ObjectHandle(handle);
            IntPtr name;
            Errors.Check(Native.ztl_object_class(handle, out name));
            string cls = Native.FromUtf8(name);
            if (cls == "Collection") return new Collection(owner);
            return new ZtlObject(owner, cls, null);
        }
    }
}
