// ZtlObject.cs: a library object (a utility object or a component) as a dynamic object: members
// by name without regard to case, optional parameters left out, named arguments, arguments passed
// by reference written back.
using System;
using System.Collections.Concurrent;
using System.Dynamic;
using System.Linq;

namespace ZtlData
{
    /// <summary>A utility object or a component of the library. Use it through `dynamic`:
    /// <c>n.IsPrime(97)</c>, <c>stack.Strategy = 1</c>, <c>bits.Bit[5] = true</c>.</summary>
    public sealed class ZtlObject : DynamicObject, IDisposable
    {
        internal readonly ObjectHandle Handle;
        internal readonly string ClassName;
        // A placed component keeps its container alive: releasing the container ends it.
        private readonly Container container;
        // The library's objects are not thread-safe: calls on one object take turns. The
        // components placed through a Container take turns with each other and with the
        // container's own calls (Save, Dispose), which reach them too.
        private readonly object gate;

        internal ZtlObject(ObjectHandle handle, string className, Container container)
        {
            Handle = handle;
            ClassName = className;
            this.container = container;
            gate = container != null ? container.Gate : new object();
        }

        /// <summary>Releases this handle to the object (the object lives on while the library or
        /// another handle refers to it).</summary>
        public void Dispose()
        {
            lock (gate) Handle.Dispose();  // never while a call on this object runs
        }

        public override string ToString() { return "ZTLData." + ClassName; }

        /// <summary>The container a placed component belongs to (null for a utility object).</summary>
        internal Container Owner { get { return container; } }

        /// <summary>Whether two wrappers name the same library object.</summary>
        public override bool Equals(object other)
        {
            var o = other as ZtlObject;
            if (o == null) return false;
            if (ReferenceEquals(o, this)) return true;
            return ZtlHandle.SameObject(Handle, o.Handle);
        }

        public override int GetHashCode() { return ClassName.GetHashCode(); }

        // ---- dynamic members ---------------------------------------------------------------

        public override bool TryInvokeMember(InvokeMemberBinder binder, object[] args, out object result)
        {
            result = Call(binder.Name, CallKind.Method, args, binder.CallInfo.ArgumentNames);
            return true;
        }

        public override bool TryGetMember(GetMemberBinder binder, out object result)
        {
            // A property read; a property that needs an index gives a proxy for `obj.Prop[i]`.
            try
            {
                result = Call(binder.Name, CallKind.Method | CallKind.Get, new object[0], null);
            }
            catch (ZtlException e) when (e.Number == 449 || e.Number == 450)
            {
                result = new IndexedProperty(this, binder.Name);
            }
            return true;
        }

        public override bool TrySetMember(SetMemberBinder binder, object value)
        {
            Call(binder.Name, CallKind.Let, new[] { value }, null);
            return true;
        }

        public override bool TryConvert(ConvertBinder binder, out object result)
        {
            result = null;
            if (binder.Type.IsAssignableFrom(typeof(ZtlObject))) { result = this; return true; }
            return false;
        }

        // ---- calls -------------------------------------------------------------------------

        private MemberTable members;

        /// <summary>A member by name (any case), its dispatch id looked up once per spelling.</summary>
        internal Member Resolve(string name)
        {
            if (members == null) members = MemberTable.For(ClassName);
            Member found = members.Find(name);
            if (found != null) return found;
            int dispid = LookUp(new[] { name })[0];
            return members.Add(name, dispid, CarriesBytes(dispid));
        }

        /// <summary>A member whose dispatch id the caller knows (the typed classes).</summary>
        internal Member Known(string name, int dispid)
        {
            if (members == null) members = MemberTable.For(ClassName);
            return members.Find(name) ?? members.Add(name, dispid, CarriesBytes(dispid));
        }

        // Whether the member's text arguments and result are bytes: the library says which.
        private bool CarriesBytes(int dispid)
        {
            using (var lease = Handle.Use())
            {
                int carries;
                return Native.ztl_member_carries_bytes(lease.Handle, dispid, out carries) == 0 && carries != 0;
            }
        }

        internal int DispatchId(string name) { return Resolve(name).DispId; }

        // ztl_get_ids_of_names: the member's id and the positions of the parameter names.
        private unsafe int[] LookUp(string[] names)
        {
            var utf8 = names.Select(Native.Utf8).ToArray();
            var pins = new System.Runtime.InteropServices.GCHandle[utf8.Length];
            var pointers = new IntPtr[utf8.Length];
            var ids = new int[utf8.Length];
            try
            {
                for (int i = 0; i < utf8.Length; ++i)
                {
                    pins[i] = System.Runtime.InteropServices.GCHandle.Alloc(utf8[i], System.Runtime.InteropServices.GCHandleType.Pinned);
                    pointers[i] = pins[i].AddrOfPinnedObject();
                }
                using (var lease = Handle.Use())
                fixed (IntPtr* p = pointers)
                fixed (int* d = ids)
                {
                    int code = Native.ztl_get_ids_of_names(lease.Handle, p, (UIntPtr)names.Length, d);
                    if (code == Native.NotFound)
                    {
                        string unknown = names.Where((n, i) => ids[i] < 0).FirstOrDefault();
                        throw new ZtlException(code, ClassName + "." + names[0] + " has no parameter named " + unknown);
                    }
                    Errors.Check(code, ClassName);
                }
            }
            finally
            {
                foreach (var pin in pins) if (pin.IsAllocated) pin.Free();
            }
            return ids;
        }

        /// <summary>Calls a member by name. Named arguments (the last names.Count of args) go to
        /// their parameters' positions; positions left between are left out.</summary>
        internal object Call(string member, int kind, object[] args, System.Collections.Generic.IReadOnlyCollection<string> names)
        {
            int[] positions = null;
            if (names != null && names.Count > 0)
            {
                var query = new string[names.Count + 1];
                query[0] = member;
                int k = 1;
                foreach (string n in names) query[k++] = n;
                int[] ids = LookUp(query);
                positions = new int[args.Length];
                int positional = args.Length - names.Count;
                for (int i = 0; i < args.Length; ++i) positions[i] = i < positional ? i : ids[i - positional + 1];
            }
            Member m = Resolve(member);
            return CallById(m.DispId, m, kind, args, positions);
        }

        /// <summary>Calls a member by dispatch id; positions[i] is where args[i] goes (null: in
        /// order). By-reference arguments are written back into args (arrays in place).</summary>
        internal unsafe object CallById(int dispid, Member member, int kind, object[] args, int[] positions)
        {
            int count = args.Length;
            if (positions != null) count = positions.Length == 0 ? 0 : positions.Max() + 1;
            bool bytes = member != null && member.Bytes;
            bool gaveBytes = false;
            NativeVariant* natives = stackalloc NativeVariant[count];
            for (int i = 0; i < count; ++i) natives[i] = Values.Missing();
            var result = new NativeVariant();
            // Only members with by-reference parameters (or unknown ones) are written back.
            int[] byref = member == null ? null : member.ByRef;
            bool writeAll = member == null;
            CallFrame frame = null;
            lock (gate)
            {
                try
                {
                    for (int i = 0; i < args.Length; ++i)
                    {
                        int at = positions == null ? i : positions[i];
                        if (bytes && args[i] is byte[]) gaveBytes = true;
                        natives[at] = Values.ToVariant(args[i], ref frame, bytes);
                        // null is Empty, except for an Object or Collection parameter: Nothing.
                        if (args[i] == null && member != null && member.ObjectPositions != null &&
                            Array.IndexOf(member.ObjectPositions, at) >= 0)
                            natives[at].Type = (ushort)VarType.Object;
                    }
                    // What each argument was, to see after the call whether it was written.
                    NativeVariant* before = stackalloc NativeVariant[writeAll || byref != null ? count : 0];
                    if (writeAll || byref != null)
                        for (int i = 0; i < count; ++i) before[i] = natives[i];
                    int code;
                    // Under the object's lock the handle stays open: Dispose takes the lock too.
                    if (Handle.IsClosed) throw new ObjectDisposedException(ClassName, "the object was disposed");
                    code = Native.ztl_invoke(Handle.DangerousGetHandle(), dispid, kind, natives, (UIntPtr)count, &result);
                    if (code != 0) throw Errors.For(code, ClassName);
                    for (int i = 0; i < args.Length; ++i)
                    {
                        int at = positions == null ? i : positions[i];
                        if (writeAll || (byref != null && Array.IndexOf(byref, at) >= 0))
                            WriteBack(ref natives[at], before[at], args, i);
                    }
                }
                finally
                {
                    for (int i = 0; i < count; ++i)
                        if (natives[i].Owned != 0) Native.ztl_variant_clear(&natives[i]);
                    if (frame != null) frame.Dispose();
                }
            }
            object value = Values.Take(ref result);
            if (gaveBytes && value is string) return Values.TextToBytes((string)value);
            if (gaveBytes && value == null) return new byte[0];  // an empty code comes as Empty
            return value;
        }

        private static void WriteBack(ref NativeVariant v, NativeVariant before, object[] args, int i)
        {
            bool isArray = (v.Type & (ushort)VarType.Array) != 0;
            if (isArray && v.Owned == 0 && v.Value.Pointer == before.Value.Pointer)
            {
                // The array passed, perhaps changed in place: its contents go back into the
                // caller's array.
                var target = args[i] as Array;
                if (target != null) Values.CopyBack(v.Value.Pointer, target);
                return;
            }
            // A by-reference argument the call wrote: a new value for the caller's variable.
            if (v.Owned != 0 || v.Type != before.Type || !SameValue(ref v.Value, ref before.Value))
                args[i] = Values.Take(ref v);
        }

        private static unsafe bool SameValue(ref NativeValue a, ref NativeValue b)
        {
            fixed (NativeValue* x = &a)
            fixed (NativeValue* y = &b)
                return ((long*)x)[0] == ((long*)y)[0] && ((long*)x)[1] == ((long*)y)[1];
        }
    }

    /// <summary>An indexed property (ZtBits.Bit) read as <c>obj.Bit[i]</c> or written as
    /// <c>obj.Bit[i] = value</c>; calling it (<c>obj.Bit(i)</c>) reads it too.</summary>
    public sealed class IndexedProperty : DynamicObject
    {
        private readonly ZtlObject owner;
        private readonly string name;

        internal IndexedProperty(ZtlObject owner, string name) { this.owner = owner; this.name = name; }

        public override bool TryGetIndex(GetIndexBinder binder, object[] indexes, out object result)
        {
            result = owner.Call(name, CallKind.Get, indexes, binder.CallInfo.ArgumentNames);
            return true;
        }

        public override bool TrySetIndex(SetIndexBinder binder, object[] indexes, object value)
        {
            var args = new object[indexes.Length + 1];
            indexes.CopyTo(args, 0);
            args[indexes.Length] = value;
            owner.Call(name, CallKind.Let, args, null);
            return true;
        }

        public override bool TryInvoke(InvokeBinder binder, object[] args, out object result)
        {
            result = owner.Call(name, CallKind.Method | CallKind.Get, args, binder.CallInfo.ArgumentNames);
            return true;
        }

        public override string ToString() { return owner.ClassName + "." + name + "[]"; }
    }

    /// <summary>A member of a class as calls need it: its dispatch id, whether it takes bytes,
    /// where null stands for Nothing, which arguments it writes back.</summary>
    internal sealed class Member
    {
        public readonly int DispId;
        public readonly bool Bytes;
        public readonly int[] ObjectPositions;
        public readonly int[] ByRef;

        public Member(string className, string name, int dispid, bool bytes)
        {
            DispId = dispid;
            Bytes = bytes;
            ObjectParameters.Positions.TryGetValue(className + "." + name, out ObjectPositions);
            ByRefParameters.Positions.TryGetValue(className + "." + name, out ByRef);
        }
    }

    /// <summary>The members of one class by the spellings callers use, shared by its objects.</summary>
    internal sealed class MemberTable
    {
        private static readonly ConcurrentDictionary<string, MemberTable> Tables = new ConcurrentDictionary<string, MemberTable>();
        private readonly ConcurrentDictionary<string, Member> byName = new ConcurrentDictionary<string, Member>(StringComparer.Ordinal);
        private readonly string className;

        private MemberTable(string className) { this.className = className; }

        public static MemberTable For(string className) { return Tables.GetOrAdd(className, c => new MemberTable(c)); }

        public Member Find(string name)
        {
            Member m;
            return byName.TryGetValue(name, out m) ? m : null;
        }

        public Member Add(string name, int dispid, bool bytes) { return byName.GetOrAdd(name, new Member(className, name, dispid, bytes)); }
    }
}
