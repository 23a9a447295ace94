// Handles.cs: the library's handles as SafeHandles, so that each is released exactly once, by
// Dispose or else by the finalizer, and never while a call that uses it is running.
using System;
using System.Runtime.InteropServices;

namespace ZtlData
{
    internal abstract class ZtlHandle : SafeHandle
    {
        protected ZtlHandle(IntPtr handle) : base(IntPtr.Zero, true) { SetHandle(handle); }

        public override bool IsInvalid { get { return handle == IntPtr.Zero; } }

        /// <summary>The raw handle, kept alive until the returned lease is disposed; a closed
        /// handle throws ObjectDisposedException (as SafeHandle marshalling does).</summary>
        public Lease Use()
        {
            bool added = false;
            DangerousAddRef(ref added);  // throws ObjectDisposedException once closed
            return new Lease(this, added);
        }

        /// <summary>Whether two handles name the same library object.</summary>
        public static bool SameObject(ZtlHandle one, ZtlHandle other)
        {
            using (var a = one.Use())
            using (var b = other.Use())
            {
                int same;
                Errors.Check(Native.ztl_object_same(a.Handle, b.Handle, out same));
                return same != 0;
            }
        }

        internal struct Lease : IDisposable
        {
            private readonly SafeHandle owner;
            private readonly bool added;
            public Lease(SafeHandle owner, bool added) { this.owner = owner; this.added = added; }
            public IntPtr Handle { get { return owner.DangerousGetHandle(); } }
            public void Dispose() { if (added) owner.DangerousRelease(); }
        }
    }

    internal sealed class ObjectHandle : ZtlHandle
    {
        public ObjectHandle(IntPtr handle) : base(handle) { }
        protected override bool ReleaseHandle() { return Native.ztl_object_release(handle) == 0; }
    }

    internal sealed class ArrayHandle : ZtlHandle
    {
        public ArrayHandle(IntPtr handle) : base(handle) { }
        protected override bool ReleaseHandle() { return Native.ztl_array_release(handle) == 0; }
    }

    internal sealed class ContainerHandle : ZtlHandle
    {
        public ContainerHandle(IntPtr handle) : base(handle) { }
        protected override bool ReleaseHandle() { return Native.ztl_container_release(handle) == 0; }
    }
}
