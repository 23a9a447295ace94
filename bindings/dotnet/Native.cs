// Native.cs: the C interface of libztldata (ztldata.h) as P/Invoke declarations and the layouts
// of its value structs. Only this file names the native library; everything else goes through it.
using System;
using System.Runtime.InteropServices;
using System.Security;

namespace ZtlData
{
    /// <summary>The type codes of the library's values (the automation codes).</summary>
    public enum VarType : ushort
    {
        Empty = 0, Null = 1, Integer = 2, Long = 3, Single = 4, Double = 5, Currency = 6, Date = 7,
        String = 8, Object = 9, Error = 10, Boolean = 11, Variant = 12, Decimal = 14, Byte = 17,
        Array = 0x2000,
    }

    [StructLayout(LayoutKind.Sequential)]
    internal struct NativeDecimal
    {
        public ulong Lo;
        public uint Hi;
        public byte Scale;
        public byte Negative;
        private ushort padding;
    }

    [StructLayout(LayoutKind.Sequential)]
    internal struct NativeString
    {
        public IntPtr Data;
        public UIntPtr Length;
    }

    // The union of ztl_variant: 16 bytes at offset 8 (64-bit layout, checked by the header).
    [StructLayout(LayoutKind.Explicit, Size = 16)]
    internal struct NativeValue
    {
        [FieldOffset(0)] public short Integer;
        [FieldOffset(0)] public int Long;
        [FieldOffset(0)] public float Single;
        [FieldOffset(0)] public double Double;
        [FieldOffset(0)] public long Currency;
        [FieldOffset(0)] public NativeString String;
        [FieldOffset(0)] public IntPtr Pointer;  // an object or array handle
        [FieldOffset(0)] public int Error;
        [FieldOffset(0)] public short Boolean;
        [FieldOffset(0)] public NativeDecimal Decimal;
        [FieldOffset(0)] public byte Byte;
    }

    [StructLayout(LayoutKind.Sequential)]
    internal struct NativeVariant
    {
        public ushort Type;
        public ushort Owned;
        public NativeValue Value;

        public const int ParamNotFound = unchecked((int)0x80020004u);
    }

    /// <summary>Call kinds of the C interface.</summary>
    internal static class CallKind
    {
        public const int Method = 1, Get = 2, Let = 4;
    }

    [SuppressUnmanagedCodeSecurity]
    internal static unsafe class Native
    {
        // Resolved as libztldata.so beside the assembly or on the loader's path; under Mono the
        // ZtlData.dll.config beside the assembly maps it to the versioned file name.
        private const string Lib = "ztldata";

        public const int InvalidArg = -1, InvalidHandle = -2, NotFound = -3;

        [DllImport(Lib)] public static extern IntPtr ztl_last_error();
        [DllImport(Lib)] public static extern IntPtr ztl_version();
        [DllImport(Lib)] public static extern int ztl_abi_version();

        [DllImport(Lib)] public static extern void ztl_variant_clear(NativeVariant* v);
        [DllImport(Lib)] public static extern int ztl_variant_copy(NativeVariant* copy, NativeVariant* v);
        [DllImport(Lib)] public static extern void ztl_free(IntPtr memory);

        [DllImport(Lib)] public static extern int ztl_create_object(byte[] name, out IntPtr obj);
        [DllImport(Lib)] public static extern int ztl_object_release(IntPtr obj);
        [DllImport(Lib)] public static extern int ztl_object_class(IntPtr obj, out IntPtr className);
        [DllImport(Lib)] public static extern int ztl_object_same(IntPtr a, IntPtr b, out int same);
        [DllImport(Lib)] public static extern int ztl_get_ids_of_names(IntPtr obj, IntPtr* names, UIntPtr count, int* dispids);
        [DllImport(Lib)] public static extern int ztl_member_carries_bytes(IntPtr obj, int dispid, out int carries);
        [DllImport(Lib)] public static extern int ztl_invoke(IntPtr obj, int dispid, int kind, NativeVariant* args, UIntPtr count, NativeVariant* result);
        [DllImport(Lib)] public static extern int ztl_invoke_name(IntPtr obj, byte[] member, int kind, NativeVariant* args, UIntPtr count, NativeVariant* result);

        [DllImport(Lib)] public static extern int ztl_array_new(ushort elementType, UIntPtr dims, int* lower, int* count, out IntPtr array);
        [DllImport(Lib)] public static extern int ztl_array_release(IntPtr array);
        [DllImport(Lib)] public static extern int ztl_array_element_type(IntPtr array, out ushort elementType);
        [DllImport(Lib)] public static extern int ztl_array_dims(IntPtr array, out UIntPtr dims);
        [DllImport(Lib)] public static extern int ztl_array_bounds(IntPtr array, UIntPtr dim, out int lower, out int upper);
        [DllImport(Lib)] public static extern int ztl_array_get(IntPtr array, int* index, UIntPtr count, NativeVariant* value);
        [DllImport(Lib)] public static extern int ztl_array_put(IntPtr array, int* index, UIntPtr count, NativeVariant* value);

        [DllImport(Lib)] public static extern void ztl_randomize(ulong seed);

        [DllImport(Lib)] public static extern int ztl_collection_new(out IntPtr collection);
        [DllImport(Lib)] public static extern int ztl_collection_add(IntPtr collection, NativeVariant* item, byte[] key);
        [DllImport(Lib)] public static extern int ztl_collection_count(IntPtr collection, out int count);
        [DllImport(Lib)] public static extern int ztl_collection_item(IntPtr collection, int position, NativeVariant* item);
        [DllImport(Lib)] public static extern int ztl_collection_key(IntPtr collection, int position, out IntPtr key);
        [DllImport(Lib)] public static extern int ztl_collection_remove(IntPtr collection, int position);

        [DllImport(Lib)] public static extern int ztl_container_new(int designMode, out IntPtr container);
        [DllImport(Lib)] public static extern int ztl_container_release(IntPtr container);
        [DllImport(Lib)] public static extern int ztl_container_place(IntPtr container, byte[] className, byte[] name, out IntPtr component);
        [DllImport(Lib)] public static extern int ztl_container_find(IntPtr container, byte[] name, out IntPtr component);
        [DllImport(Lib)] public static extern int ztl_container_count(IntPtr container, out UIntPtr count);
        [DllImport(Lib)] public static extern int ztl_container_component(IntPtr container, UIntPtr index, out IntPtr name, out IntPtr component);
        [DllImport(Lib)] public static extern int ztl_container_save(IntPtr container, out IntPtr text, out UIntPtr length);
        [DllImport(Lib)] public static extern int ztl_container_load(byte[] text, UIntPtr length, out IntPtr container, out IntPtr problems);

        [DllImport(Lib)] public static extern int ztl_live_handles(out UIntPtr count);

        /// <summary>NUL-terminated UTF-8 for a C string parameter; null stays null.</summary>
        public static byte[] Utf8(string text)
        {
            if (text == null) return null;
            var bytes = new byte[System.Text.Encoding.UTF8.GetByteCount(text) + 1];
            System.Text.Encoding.UTF8.GetBytes(text, 0, text.Length, bytes, 0);
            return bytes;
        }

        /// <summary>A NUL-terminated UTF-8 C string as text (null for a null pointer).</summary>
        public static string FromUtf8(IntPtr text)
        {
            if (text == IntPtr.Zero) return null;
            byte* p = (byte*)text;
            int length = 0;
            while (p[length] != 0) ++length;
            return new string((sbyte*)p, 0, length, System.Text.Encoding.UTF8);
        }

        /// <summary>Text the library handed out for the caller to free, read and freed.</summary>
        public static string TakeUtf8(IntPtr text)
        {
            try { return FromUtf8(text); }
            finally { ztl_free(text); }
        }

        public static string LastError() { return FromUtf8(ztl_last_error()) ?? ""; }

        // The binary interface these declarations describe (ztldata.h's ZTL_ABI_VERSION).
        public const int AbiVersion = 1;
        private static volatile bool abiChecked;

        /// <summary>Makes sure the library loaded has the binary interface of these declarations
        /// and the 64-bit layout of its variant; called where objects are first made.</summary>
        public static void CheckAbi()
        {
            if (abiChecked) return;
            if (IntPtr.Size != 8)
                throw new PlatformNotSupportedException("ZtlData needs a 64-bit process (the layout of ztl_variant)");
            int loaded = ztl_abi_version();
            if (loaded != AbiVersion)
                throw new ZtlException(-5 /* ZTL_E_UNSUPPORTED */, "libztldata " + FromUtf8(ztl_version()) +
                                       " has binary interface " + loaded + ", ZtlData.dll needs " + AbiVersion);
            abiChecked = true;
        }
    }
}
