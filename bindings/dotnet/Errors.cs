// Errors.cs: the library's error numbers as exceptions.
using System;

namespace ZtlData
{
    /// <summary>A failing call of the library: <see cref="Number"/> is the error number (13 type
    /// mismatch, 438 no such member, 450 wrong number of arguments ...; negative numbers are faults
    /// of the call itself) and the message is the library's own text.</summary>
    [Serializable]
    public class ZtlException : Exception
    {
        public int Number { get; private set; }

        public ZtlException(int number, string message) : base(message) { Number = number; HResult = number; }
    }

    internal static class Errors
    {
        /// <summary>Throws for a nonzero code: ObjectDisposedException for a dead handle, else
        /// ZtlException with the library's message.</summary>
        public static void Check(int code, string objectName = null)
        {
            if (code != 0) throw For(code, objectName);
        }

        public static Exception For(int code, string objectName = null)
        {
            string message = Native.LastError();
            if (code == Native.InvalidHandle)
                return new ObjectDisposedException(objectName ?? "ztldata handle", message.Length > 0 ? message : "the handle was released");
            if (message.Length == 0) message = "error " + code;
            return new ZtlException(code, message);
        }
    }
}
