// Ztl.cs: the entry points: creating utility objects, the library's versions, late-bound calls
// by name or dispatch id for code that has the member's name as data.
using System;
using System.Runtime.InteropServices;

namespace ZtlData
{
    public static class Ztl
    {
        /// <summary>Creates a utility object by its registered name ("ZTLData.ZtNumeric"), bare
        /// class name (any case) or class id; 429 for a component (place it in a Container).</summary>
        public static dynamic CreateObject(string progId)
        {
            return Create(progId);
        }

        internal static ZtlObject Create(string progId)
        {
            if (progId == null) throw new ArgumentNullException("progId");
            Native.CheckAbi();
            IntPtr handle;
            Errors.Check(Native.ztl_create_object(Native.Utf8(progId), out handle));
            var owner = new ObjectHandle(handle);
            IntPtr name;
            Errors.Check(Native.ztl_object_class(handle, out name));
            return new ZtlObject(owner, Native.FromUtf8(name), null);
        }

        /// <summary>The version of the library loaded ("0.1.0").</summary>
        public static string Version { get { return Native.FromUtf8(Native.ztl_version()); } }

        /// <summary>The binary interface version of the library loaded (1 for this assembly).</summary>
        public static int AbiVersion { get { return Native.ztl_abi_version(); } }

        /// <summary>The binary interface version this assembly was written for.</summary>
        public const int ExpectedAbiVersion = Native.AbiVersion;

        /// <summary>Seeds the random generator, for a reproducible GetRandom, Shuffle ...</summary>
        public static void Randomize(ulong seed) { Native.ztl_randomize(seed); }

        /// <summary>The number of live handles of the C interface (for finding leaks).</summary>
        public static long LiveHandles
        {
            get
            {
                UIntPtr count;
                Errors.Check(Native.ztl_live_handles(out count));
                return (long)count;
            }
        }

        /// <summary>The class name of a library object ("ZtNumeric", "ZtStack").</summary>
        public static string ClassName(object obj) { return Unwrap(obj).ClassName; }

        /// <summary>Calls a method (or reads a property) by name; by-reference arguments are
        /// written back into args.</summary>
        public static object Invoke(object obj, string member, params object[] args)
        {
            return Unwrap(obj).Call(member, CallKind.Method, args ?? new object[] { null }, null);
        }

        /// <summary>Reads a property, with its index arguments if it has any.</summary>
        public static object Get(object obj, string property, params object[] index)
        {
            return Unwrap(obj).Call(property, CallKind.Get, index ?? new object[] { null }, null);
        }

        /// <summary>Writes a property: its index arguments, then the new value.</summary>
        public static void Set(object obj, string property, params object[] indexAndValue)
        {
            Unwrap(obj).Call(property, CallKind.Let, indexAndValue ?? new object[] { null }, null);
        }

        /// <summary>Calls a member by dispatch id (as `ztl describe` lists them); kind 1 method,
        /// 2 property get, 4 property let.</summary>
        public static object InvokeId(object obj, int dispid, int kind, params object[] args)
        {
            return Unwrap(obj).CallById(dispid, null, kind, args ?? new object[] { null }, null);
        }

        /// <summary>The dispatch id of a member.</summary>
        public static int DispatchId(object obj, string member) { return Unwrap(obj).DispatchId(member); }

        internal static ZtlObject Unwrap(object obj)
        {
            var typed = obj as ZtlTyped;
            if (typed != null) return typed.Object;
            var o = obj as ZtlObject;
            if (o == null) throw new ArgumentException("not a library object: " + (obj == null ? "null" : obj.GetType().ToString()));
            return o;
        }
    }

    /// <summary>The base of the typed classes (ZtlData.ZtNumeric ...): a library object with
    /// its members as ordinary methods and properties.</summary>
    public abstract class ZtlTyped : IDisposable
    {
        /// <summary>The object itself, for late-bound use.</summary>
        public readonly ZtlObject Object;

        protected ZtlTyped(string className) { Object = Ztl.Create("ZTLData." + className); }

        protected ZtlTyped(Container container, string className, string name)
        {
            if (container == null) throw new ArgumentNullException("container");
            Object = container.PlaceObject(className, name);
        }

        protected ZtlTyped(ZtlObject obj, string className)
        {
            if (obj == null) throw new ArgumentNullException("obj");
            if (!string.Equals(obj.ClassName, className, StringComparison.OrdinalIgnoreCase))
                throw new ArgumentException("a " + obj.ClassName + " is no " + className);
            Object = obj;
        }

        public void Dispose() { Object.Dispose(); }

        public override string ToString() { return Object.ToString(); }

        /// <summary>A call by dispatch id: args in parameter order (Missing.Value leaves one out).</summary>
        internal object Call(int dispid, int kind, string member, params object[] args)
        {
            return Object.CallById(dispid, Object.Known(member, dispid), kind, args, null);
        }

        internal static T Result<T>(object value)
        {
            if (value == null || value is DBNull) return default(T);
            if (value is T) return (T)value;
            if (typeof(T).IsEnum) return (T)Enum.ToObject(typeof(T), value);
            return (T)Convert.ChangeType(value, typeof(T), System.Globalization.CultureInfo.InvariantCulture);
        }

        /// <summary>null for an Object parameter is Nothing.</summary>
        protected static object Nothing(object value) { return value ?? new DispatchWrapper(null); }

        /// <summary>The fixed arguments followed by a parameter array's values.</summary>
        protected static object[] Spread(object[] fixedArgs, object[] rest)
        {
            if (rest == null) rest = new object[] { null };
            var all = new object[fixedArgs.Length + rest.Length];
            fixedArgs.CopyTo(all, 0);
            rest.CopyTo(all, fixedArgs.Length);
            return all;
        }

        protected static object Opt(object value) { return value ?? System.Reflection.Missing.Value; }
    }
}
