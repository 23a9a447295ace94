// Collection.cs: the host's collection: ordered items at positions 1..Count, each with an
// optional unique key (keys ignore case).
using System;
using System.Collections;
using System.Collections.Generic;

namespace ZtlData
{
    /// <summary>The library's collection. Positions count from 1; a position that selects
    /// nothing is error 5, a key in use error 457 (ZtlException). The library changes a
    /// collection passed to it (ZtCollections.Sort, ZtStrings.InStrAdv) in place.</summary>
    public sealed class Collection : IEnumerable<object>, IDisposable
    {
        internal readonly ObjectHandle Handle;
        private readonly object gate = new object();

        public Collection()
        {
            Native.CheckAbi();
            IntPtr handle;
            Errors.Check(Native.ztl_collection_new(out handle));
            Handle = new ObjectHandle(handle);
        }

        internal Collection(ObjectHandle handle) { Handle = handle; }

        public void Dispose() { Handle.Dispose(); }

        /// <summary>Adds an item at the end, with a key or none.</summary>
        public unsafe void Add(object item, string key = null)
        {
            lock (gate)
            using (var frame = new CallFrame())
            {
                CallFrame f = frame;
                NativeVariant v = Values.ToVariant(item, ref f);
                using (var lease = Handle.Use())
                    Errors.Check(Native.ztl_collection_add(lease.Handle, &v, Native.Utf8(key)), "Collection");
            }
        }

        public int Count
        {
            get
            {
                int count;
                using (var lease = Handle.Use()) Errors.Check(Native.ztl_collection_count(lease.Handle, out count), "Collection");
                return count;
            }
        }

        /// <summary>The item at a position (from 1).</summary>
        public unsafe object this[int position]
        {
            get
            {
                var v = new NativeVariant();
                lock (gate)
                using (var lease = Handle.Use())
                    Errors.Check(Native.ztl_collection_item(lease.Handle, position, &v), "Collection");
                return Values.Take(ref v);
            }
        }

        /// <summary>The item under a key (any case).</summary>
        public object this[string key] { get { return CallByName("Item", key); } }

        /// <summary>The key of the item at a position, or null for an item without one.</summary>
        public string Key(int position)
        {
            IntPtr key;
            lock (gate)
            using (var lease = Handle.Use())
                Errors.Check(Native.ztl_collection_key(lease.Handle, position, out key), "Collection");
            return Native.TakeUtf8(key);
        }

        /// <summary>The keys in order (null for an item without one).</summary>
        public IList<string> Keys
        {
            get
            {
                var keys = new List<string>();
                for (int i = 1, n = Count; i <= n; ++i) keys.Add(Key(i));
                return keys;
            }
        }

        public void Remove(int position)
        {
            lock (gate)
            using (var lease = Handle.Use())
                Errors.Check(Native.ztl_collection_remove(lease.Handle, position), "Collection");
        }

        public void Remove(string key) { CallByName("Remove", key); }

        private unsafe object CallByName(string member, object arg)
        {
            var result = new NativeVariant();
            lock (gate)
            using (var frame = new CallFrame())
            {
                CallFrame f = frame;
                NativeVariant v = Values.ToVariant(arg, ref f);
                using (var lease = Handle.Use())
                    Errors.Check(Native.ztl_invoke_name(lease.Handle, Native.Utf8(member), CallKind.Method, &v, (UIntPtr)1, &result), "Collection");
            }
            return Values.Take(ref result);
        }

        public IEnumerator<object> GetEnumerator()
        {
            for (int i = 1, n = Count; i <= n; ++i) yield return this[i];
        }

        IEnumerator IEnumerable.GetEnumerator() { return GetEnumerator(); }

        /// <summary>Whether two wrappers name the same collection.</summary>
        public override bool Equals(object other)
        {
            var c = other as Collection;
            if (c == null) return false;
            if (ReferenceEquals(c, this)) return true;
            return ZtlHandle.SameObject(Handle, c.Handle);
        }

        public override int GetHashCode() { return 17; }
    }
}
