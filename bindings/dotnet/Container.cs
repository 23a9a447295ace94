// Container.cs: a container (a form) in which components are placed, saved and loaded as text.
using System;
using System.Collections;
using System.Collections.Generic;
using System.IO;
using System.Text;

namespace ZtlData
{
    /// <summary>A form holding components: <c>form.Place("ZtStack")</c> gives a new component
    /// (dynamic); <c>form["ZtStack1"]</c> finds one by name; <c>Save</c> and <c>Load</c> write
    /// and read the form as text. Disposing it ends its components.</summary>
    public sealed class Container : IDisposable, IEnumerable<string>
    {
        internal readonly ContainerHandle Handle;
        // Taken by the container's calls and by those of the components placed through it.
        internal readonly object Gate = new object();

        /// <summary>A new, empty container; in design mode it paints its components.</summary>
        public Container(bool designMode = false)
        {
            Native.CheckAbi();
            IntPtr handle;
            Errors.Check(Native.ztl_container_new(designMode ? 1 : 0, out handle));
            Handle = new ContainerHandle(handle);
            Problems = new string[0];
        }

        private Container(IntPtr handle, string[] problems)
        {
            Handle = new ContainerHandle(handle);
            Problems = problems;
        }

        /// <summary>What could not be loaded (one line each); empty for a new container.</summary>
        public string[] Problems { get; private set; }

        /// <summary>Releases the container, ending its components (after a call in progress).</summary>
        public void Dispose()
        {
            lock (Gate) Handle.Dispose();
        }

        /// <summary>Places a new component ("ZtStack" or "ZTLData.ZtStack") under `name`, or
        /// under its class name and a number when name is null.</summary>
        public dynamic Place(string className, string name = null) { return PlaceObject(className, name); }

        internal ZtlObject PlaceObject(string className, string name)
        {
            if (className == null) throw new ArgumentNullException("className");
            IntPtr component;
            lock (Gate)
            using (var lease = Handle.Use())
                Errors.Check(Native.ztl_container_place(lease.Handle, Native.Utf8(className), Native.Utf8(name), out component), "Container");
            return Own(component);
        }

        private ZtlObject Own(IntPtr component)
        {
            var owner = new ObjectHandle(component);
            IntPtr cls;
            Errors.Check(Native.ztl_object_class(component, out cls));
            return new ZtlObject(owner, Native.FromUtf8(cls), this);
        }

        /// <summary>A placed component by name (any case); KeyNotFoundException when there is none.</summary>
        public dynamic this[string name]
        {
            get
            {
                IntPtr component;
                int code;
                lock (Gate)
                using (var lease = Handle.Use())
                    code = Native.ztl_container_find(lease.Handle, Native.Utf8(name), out component);
                if (code == Native.NotFound) throw new KeyNotFoundException("the container holds no component named " + name);
                Errors.Check(code, "Container");
                return Own(component);
            }
        }

        /// <summary>The number of placed components.</summary>
        public int Count
        {
            get
            {
                UIntPtr count;
                using (var lease = Handle.Use()) Errors.Check(Native.ztl_container_count(lease.Handle, out count), "Container");
                return (int)count;
            }
        }

        /// <summary>The placed components with their names, in the order they were placed.</summary>
        public IEnumerable<KeyValuePair<string, dynamic>> Components
        {
            get
            {
                int count = Count;
                for (int i = 0; i < count; ++i)
                {
                    IntPtr name, component;
                    using (var lease = Handle.Use())
                        Errors.Check(Native.ztl_container_component(lease.Handle, (UIntPtr)i, out name, out component), "Container");
                    yield return new KeyValuePair<string, dynamic>(Native.TakeUtf8(name), Own(component));
                }
            }
        }

        /// <summary>The names of the placed components.</summary>
        public IEnumerator<string> GetEnumerator()
        {
            foreach (var entry in Components)
            {
                ((ZtlObject)entry.Value).Dispose();
                yield return entry.Key;
            }
        }

        IEnumerator IEnumerable.GetEnumerator() { return GetEnumerator(); }

        /// <summary>The form as text, with each component's design-time properties.</summary>
        public string Save()
        {
            IntPtr text;
            UIntPtr length;
            lock (Gate)
            using (var lease = Handle.Use())
                Errors.Check(Native.ztl_container_save(lease.Handle, out text, out length), "Container");
            return Native.TakeUtf8(text);
        }

        /// <summary>Saves the form to a file (UTF-8).</summary>
        public void Save(string path) { File.WriteAllText(path, Save(), new UTF8Encoding(false)); }

        /// <summary>A new container from a saved form's text.</summary>
        public static Container Load(string text)
        {
            if (text == null) throw new ArgumentNullException("text");
            return Load(Encoding.UTF8.GetBytes(text));
        }

        /// <summary>A new container from the UTF-8 bytes of a saved form.</summary>
        public static Container Load(byte[] utf8)
        {
            if (utf8 == null) throw new ArgumentNullException("utf8");
            Native.CheckAbi();
            IntPtr handle, problems;
            Errors.Check(Native.ztl_container_load(utf8, (UIntPtr)utf8.Length, out handle, out problems));
            string text = Native.TakeUtf8(problems) ?? "";
            return new Container(handle, text.Split(new[] { '\n' }, StringSplitOptions.RemoveEmptyEntries));
        }

        /// <summary>A new container from a saved form's file.</summary>
        public static Container LoadFile(string path) { return Load(File.ReadAllBytes(path)); }
    }
}
