/* The C interface driven from C, second part: the components placed in containers, forms saved
 * and loaded, the about box, device contexts and the entry points. Each section ends with no
 * handle left alive. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "c_api_check.h"

/* ZtBits and ZtToken, each placed in a container and driven through its members. */
void TestComponents(void) {
  ztl_container* form = NULL;
  ztl_object* c = NULL;
  ztl_variant args[3], result;
  CHECK_CODE(ztl_container_new(0, &form), ZTL_OK);

  /* ZtBits: Bit(5) = True through a property let, then read back */
  CHECK_CODE(ztl_container_place(form, "ZtBits", NULL, &c), ZTL_OK);
  args[0] = ztl_variant_long(100);
  CHECK_CODE(ztl_invoke_name(c, "Create", ZTL_METHOD, args, 1, NULL), ZTL_OK);
  args[0] = ztl_variant_long(5);
  args[1] = ztl_variant_bool(1);
  CHECK_CODE(ztl_invoke(c, 0x68030000, ZTL_LET, args, 2, NULL), ZTL_OK);
  CHECK_CODE(ztl_invoke(c, 0x68030000, ZTL_GET, args, 1, &result), ZTL_OK);
  CHECK(result.type == ZTL_VT_BOOLEAN && result.value.boolean == -1);
  args[0] = ztl_variant_long(6);
  CHECK_CODE(ztl_invoke(c, 0x68030000, ZTL_GET, args, 1, &result), ZTL_OK);
  CHECK(result.type == ZTL_VT_BOOLEAN && result.value.boolean == 0);
  CHECK_CODE(ztl_object_release(c), ZTL_OK);

  /* ZtToken */
  CHECK_CODE(ztl_container_place(form, "ZTLData.ZtToken", "Words", &c), ZTL_OK);
  args[0] = Utf8("alpha, beta;;gamma");
  args[1] = ztl_variant_missing();
  CHECK_CODE(ztl_invoke_name(c, "Create", ZTL_METHOD, args, 2, NULL), ZTL_OK);
  ztl_variant_clear(&args[0]);
  CHECK_CODE(ztl_invoke_name(c, "Count", ZTL_GET, NULL, 0, &result), ZTL_OK);
  CHECK(result.type == ZTL_VT_LONG && result.value.lng == 3);
  args[0] = ztl_variant_long(2);
  CHECK_CODE(ztl_invoke_name(c, "GetToken", ZTL_METHOD, args, 1, &result), ZTL_OK);
  CHECK(TextIs(&result, "beta"));
  ztl_variant_clear(&result);
  CHECK_CODE(ztl_object_release(c), ZTL_OK);
  CHECK_CODE(ztl_container_release(form), ZTL_OK);
  CheckNoHandles("components");
}

/* The coding components: what they encode comes back, and the CRC is the standard one. */
void TestCodingComponents(void) {
  ztl_container* form = NULL;
  ztl_object* c = NULL;
  ztl_variant args[3], result;
  CHECK_CODE(ztl_container_new(0, &form), ZTL_OK);

  /* ZtRLE and ZtEncryption: decoding gives back what was encoded */
  {
    static const char* const kTexts[] = {"", "aaaaab", "a~~~~~~~b", "The quick brown fox", "\xc3\xa9t\xc3\xa9"};
    size_t i;
    ztl_object* rle = NULL;
    ztl_object* cipher = NULL;
    CHECK_CODE(ztl_container_place(form, "ZtRLE", NULL, &rle), ZTL_OK);
    CHECK_CODE(ztl_container_place(form, "ZtEncryption", NULL, &cipher), ZTL_OK);
    for (i = 0; i < sizeof kTexts / sizeof kTexts[0]; ++i) {
      ztl_variant coded = ztl_variant_empty(), back = ztl_variant_empty();
      args[0] = Utf8(kTexts[i]);
      CHECK_CODE(ztl_invoke_name(rle, "Compress", ZTL_METHOD, args, 1, &coded), ZTL_OK);
      CHECK_CODE(ztl_invoke_name(rle, "Decompress", ZTL_METHOD, &coded, 1, &back), ZTL_OK);
      CHECK(TextIs(&back, kTexts[i]));
      ztl_variant_clear(&coded);
      ztl_variant_clear(&back);
      args[1] = ztl_variant_long(1234);
      CHECK_CODE(ztl_invoke_name(cipher, "Encode", ZTL_METHOD, args, 2, &coded), ZTL_OK);
      ztl_variant_clear(&args[0]);
      args[0] = coded;
      CHECK_CODE(ztl_invoke_name(cipher, "Decode", ZTL_METHOD, args, 2, &back), ZTL_OK);
      CHECK(TextIs(&back, kTexts[i]));
      ztl_variant_clear(&coded);
      ztl_variant_clear(&back);
    }
    ztl_object_release(rle);
    ztl_object_release(cipher);
  }

  /* ZtCRC32: the standard check value, fed in two pieces */
  CHECK_CODE(ztl_container_place(form, "ZtCRC32", NULL, &c), ZTL_OK);
  args[0] = ztl_variant_long(-306674912); /* 0xEDB88320 */
  args[1] = ztl_variant_long(-1);
  CHECK_CODE(ztl_invoke_name(c, "InitCRC32", ZTL_METHOD, args, 2, &result), ZTL_OK);
  args[0] = Utf8("1234");
  args[1] = result;
  CHECK_CODE(ztl_invoke_name(c, "AddCRC32", ZTL_METHOD, args, 2, &result), ZTL_OK);
  ztl_variant_clear(&args[0]);
  args[0] = Utf8("56789");
  args[1] = result;
  CHECK_CODE(ztl_invoke_name(c, "AddCRC32", ZTL_METHOD, args, 2, &result), ZTL_OK);
  ztl_variant_clear(&args[0]);
  CHECK_CODE(ztl_invoke_name(c, "GetCRC32", ZTL_METHOD, &result, 1, &result), ZTL_OK);
  CHECK(result.type == ZTL_VT_LONG && (uint32_t)result.value.lng == 0xCBF43926u);
  CHECK_CODE(ztl_object_release(c), ZTL_OK);

  /* ZtRSA: text encoded with one private key decodes with the other */
  {
    int32_t keys[3];
    static const char* const kKeys[] = {"PublicKey", "PrivateKey1", "PrivateKey2"};
    size_t k;
    ztl_variant coded = ztl_variant_empty(), back = ztl_variant_empty();
    CHECK_CODE(ztl_container_place(form, "ZtRSA", "Keys", &c), ZTL_OK);
    CHECK_CODE(ztl_invoke_name(c, "GenerateKeys", ZTL_METHOD, NULL, 0, NULL), ZTL_OK);
    for (k = 0; k < 3; ++k) {
      CHECK_CODE(ztl_invoke_name(c, kKeys[k], ZTL_GET, NULL, 0, &result), ZTL_OK);
      keys[k] = result.value.lng;
    }
    args[0] = Utf8("hi there");
    args[1] = ztl_variant_long(keys[1]);
    args[2] = ztl_variant_long(keys[0]);
    CHECK_CODE(ztl_invoke_name(c, "Encode", ZTL_METHOD, args, 3, &coded), ZTL_OK);
    ztl_variant_clear(&args[0]);
    args[0] = coded;
    args[1] = ztl_variant_long(keys[2]);
    CHECK_CODE(ztl_invoke_name(c, "Decode", ZTL_METHOD, args, 3, &back), ZTL_OK);
    CHECK(TextIs(&back, "hi there"));
    ztl_variant_clear(&coded);
    ztl_variant_clear(&back);
    CHECK_CODE(ztl_object_release(c), ZTL_OK);
  }
  CHECK_CODE(ztl_container_release(form), ZTL_OK);
  CheckNoHandles("coding components");
}

/* A form saved as text and loaded into a new container keeps the design-time properties. */
void TestContainers(void) {
  ztl_container* form = NULL;
  ztl_container* loaded = NULL;
  ztl_object* stack = NULL;
  ztl_object* found = NULL;
  ztl_variant value, result;
  char* text = NULL;
  char* problems = NULL;
  char* name = NULL;
  size_t length = 0, count = 0;
  CHECK_CODE(ztl_container_new(1, &form), ZTL_OK);
  CHECK_CODE(ztl_container_place(form, "ZtStack", "Jobs", &stack), ZTL_OK);
  value = ztl_variant_long(1); /* ztlStackLIFO */
  CHECK_CODE(ztl_invoke(stack, 0x68030002, ZTL_LET, &value, 1, NULL), ZTL_OK);
  value = ztl_variant_long(7);
  CHECK_CODE(ztl_invoke_name(stack, "Push", ZTL_METHOD, &value, 1, NULL), ZTL_OK);
  CHECK_CODE(ztl_container_place(form, "ZtStack", "jobs", &found), ZTL_E_INVALID_ARG); /* name used */
  CHECK_CODE(ztl_container_place(form, "ZtNumeric", NULL, &found), 429);
  CHECK_CODE(ztl_container_place(form, "NoSuchClass", NULL, &found), 429);
  CHECK_CODE(ztl_container_place(form, "ZtRSA", NULL, &found), ZTL_OK); /* named ZtRSA1 */
  CHECK_CODE(ztl_object_release(found), ZTL_OK);
  CHECK_CODE(ztl_container_find(form, "JOBS", &found), ZTL_OK);
  {
    int same = 0;
    CHECK_CODE(ztl_object_same(found, stack, &same), ZTL_OK);
    CHECK(same == 1);
  }
  CHECK_CODE(ztl_object_release(found), ZTL_OK);
  CHECK_CODE(ztl_container_find(form, "Nobody", &found), ZTL_E_NOT_FOUND);

  CHECK_CODE(ztl_container_save(form, &text, &length), ZTL_OK);
  CHECK(text != NULL && strlen(text) == length && strstr(text, "Jobs") != NULL);
  CHECK_CODE(ztl_container_load(text, length, &loaded, &problems), ZTL_OK);
  CHECK(problems != NULL && problems[0] == '\0');
  CHECK_CODE(ztl_container_count(loaded, &count), ZTL_OK);
  CHECK(count == 2);
  CHECK_CODE(ztl_container_component(loaded, 0, &name, &found), ZTL_OK);
  CHECK(name != NULL && strcmp(name, "Jobs") == 0);
  CHECK_CODE(ztl_invoke_name(found, "Strategy", ZTL_GET, NULL, 0, &result), ZTL_OK);
  CHECK(result.type == ZTL_VT_LONG && result.value.lng == 1);
  /* the stack's items are run-time data: they are not saved */
  CHECK_CODE(ztl_invoke_name(found, "Size", ZTL_GET, NULL, 0, &result), ZTL_OK);
  CHECK(result.type == ZTL_VT_LONG && result.value.lng == 0);
  CHECK_CODE(ztl_container_component(loaded, 2, &name, &found), 9);
  ztl_free(name);
  ztl_free(problems);
  ztl_free(text);

  /* damaged text loads what it can and describes the rest */
  {
    static const char kDamaged[] = "Begin ZTLData.NoSuchThing X\nEnd\nthis is no form\n";
    ztl_container* partial = NULL;
    CHECK_CODE(ztl_container_load(kDamaged, sizeof kDamaged - 1, &partial, &problems), ZTL_OK);
    CHECK(problems != NULL && strlen(problems) > 0);
    ztl_free(problems);
    CHECK_CODE(ztl_container_release(partial), ZTL_OK);
    /* a NUL-terminated text by (size_t)-1 */
    CHECK_CODE(ztl_container_load(kDamaged, (size_t)-1, &partial, NULL), ZTL_OK);
    CHECK_CODE(ztl_container_release(partial), ZTL_OK);
    CHECK_CODE(ztl_container_load(NULL, 0, &partial, NULL), ZTL_OK);
    CHECK_CODE(ztl_container_count(partial, &count), ZTL_OK);
    CHECK(count == 0);
    CHECK_CODE(ztl_container_release(partial), ZTL_OK);
  }

  /* a component outlives its released container as long as a handle holds it */
  CHECK_CODE(ztl_container_release(form), ZTL_OK);
  CHECK_CODE(ztl_invoke_name(stack, "Pop", ZTL_METHOD, NULL, 0, &result), ZTL_OK);
  CHECK_CODE(ztl_object_release(stack), ZTL_OK);
  CHECK_CODE(ztl_object_release(found), ZTL_OK);
  CHECK_CODE(ztl_container_release(loaded), ZTL_OK);
  CheckNoHandles("containers");
}

static char about_text[512];
static int about_calls = 0;
static void RecordAbout(const char* text, size_t length, void* user_data) {
  size_t n = length < sizeof about_text - 1 ? length : sizeof about_text - 1;
  memcpy(about_text, text, n);
  about_text[n] = '\0';
  about_calls += *(int*)user_data;
}

/* A component's About reaches the display the C program sets. */
void TestAbout(void) {
  ztl_container* form = NULL;
  ztl_object* crc = NULL;
  int one = 1;
  CHECK_CODE(ztl_set_about_display(RecordAbout, &one), ZTL_OK);
  CHECK_CODE(ztl_container_new(0, &form), ZTL_OK);
  CHECK_CODE(ztl_container_place(form, "ZtCRC32", NULL, &crc), ZTL_OK);
  CHECK_CODE(ztl_invoke(crc, -552, ZTL_METHOD, NULL, 0, NULL), ZTL_OK);
  CHECK(about_calls == 1 && strlen(about_text) > 0);
  CHECK_CODE(ztl_set_about_display(NULL, NULL), ZTL_OK);
  CHECK_CODE(ztl_object_release(crc), ZTL_OK);
  CHECK_CODE(ztl_container_release(form), ZTL_OK);
  CheckNoHandles("about");
}

/* A device context for EllipseText: the built-in font needs no files. */
void TestDeviceContexts(void) {
  int32_t hdc = 0;
  int code = ztl_device_context_new("fixed-pitch", 10, &hdc);
  if (code == ZTL_E_UNSUPPORTED) return;
  CHECK_CODE(code, ZTL_OK);
  {
    /* 10 pixels a character: 60 pixels hold at most 6 characters */
    ztl_object* strings = NULL;
    ztl_variant args[5], result;
    char* text = NULL;
    size_t length = 0;
    CHECK_CODE(ztl_create_object("ZtStrings", &strings), ZTL_OK);
    args[0] = Utf8("abcdefghijklmnopqrstuvwxyz");
    args[1] = ztl_variant_long(60);
    args[2] = ztl_variant_long(20);
    args[3] = ztl_variant_long(hdc);
    args[4] = ztl_variant_long(-32768); /* ztlEllipseEnd */
    CHECK_CODE(ztl_invoke_name(strings, "EllipseText", ZTL_METHOD, args, 5, &result), ZTL_OK);
    CHECK(result.type == ZTL_VT_STRING);
    CHECK_CODE(ztl_variant_to_utf8(&result, &text, &length), ZTL_OK);
    CHECK(length <= 6);
    ztl_free(text);
    ztl_variant_clear(&result);
    ztl_variant_clear(&args[0]);
    ztl_object_release(strings);
  }
  CHECK_CODE(ztl_device_context_release(hdc), ZTL_OK);
  CHECK_CODE(ztl_device_context_release(hdc), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_device_context_new("fixed-pitch", 0, &hdc), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_device_context_new("fixed-pitch", 1001, &hdc), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_device_context_new(NULL, 10, &hdc), ZTL_E_INVALID_ARG);
  CheckNoHandles("device contexts");
}

static char* ReadFile(const char* path) {
  FILE* file = fopen(path, "rb");
  char* text;
  long size;
  if (file == NULL) return NULL;
  fseek(file, 0, SEEK_END);
  size = ftell(file);
  fseek(file, 0, SEEK_SET);
  text = (char*)malloc((size_t)size + 1);
  if (fread(text, 1, (size_t)size, file) != (size_t)size) size = 0;
  text[size] = '\0';
  fclose(file);
  return text;
}

static int Exists(const char* path) {
  struct stat info;
  return stat(path, &info) == 0;
}

/* Every class id in a registration file makes a class object of the class its section names;
 * the components come with their control entries. */
static void CheckRegistrationFile(const char* text) {
  const char* at = text;
  int classes = 0, components = 0, can_unload = 0;
  CHECK(strstr(text, "LibId={18EAE66B-1A14-5F52-AEA3-1A3EF9B86F17}") != NULL);
  CHECK(strstr(text, "Version=1.4\n") != NULL);
  CHECK(strstr(text, "[ZTLData.ZtBits]") != NULL);
  while ((at = strstr(at, "\nClassId=")) != NULL) {
    char id[64], cls[64];
    const char* section = at;
    ztl_class_object* factory = NULL;
    ztl_object* object = NULL;
    int code;
    sscanf(at + 9, "%63s", id);
    while (section > text && *section != '[') --section;
    sscanf(section, "[ZTLData.%63[^]]", cls);
    CHECK_CODE(ztl_can_unload_now(&can_unload), ZTL_OK);
    CHECK(can_unload == 1);
    CHECK_CODE(ztl_get_class_object(id, &factory), ZTL_OK);
    CHECK_CODE(ztl_can_unload_now(&can_unload), ZTL_OK);
    CHECK(can_unload == 0);
    code = ztl_class_object_create(factory, &object);
    if (code == ZTL_OK) {
      const char* name = NULL;
      CHECK_CODE(ztl_object_class(object, &name), ZTL_OK);
      CHECK(name != NULL && strcmp(name, cls) == 0);
      ztl_object_release(object);
    } else {
      /* components come with their control entries */
      const char* end = strstr(at + 1, "\n[");
      const char* misc = strstr(at, "MiscStatus=148881\n");
      const char* bitmap = strstr(at, "ToolboxBitmap=300");
      CHECK(code == 429);
      CHECK(misc != NULL && (end == NULL || misc < end));
      CHECK(bitmap != NULL && (end == NULL || bitmap < end));
      ++components;
    }
    CHECK(strstr(section, "ThreadingModel=Apartment") != NULL);
    CHECK_CODE(ztl_class_object_release(factory), ZTL_OK);
    ++classes;
    ++at;
  }
  CHECK(classes == 16 && components == 7);
}

/* The entry points: class objects, register and unregister, can-unload-now. */
void TestEntryPoints(const char* folder) {
  char path[512], nested[512], foreign[512];
  char* text;
  int can_unload = 0;
  snprintf(path, sizeof path, "%s/registration", folder);
  snprintf(nested, sizeof nested, "%s/a/b/registration", folder);
  snprintf(foreign, sizeof foreign, "%s/foreign", folder);

  CHECK_CODE(ztl_can_unload_now(&can_unload), ZTL_OK);
  CHECK(can_unload == 1);
  CHECK_CODE(ztl_register_server(path), ZTL_OK);
  text = ReadFile(path);
  CHECK(text != NULL);
  if (text != NULL) {
    CheckRegistrationFile(text);
    free(text);
  }
  CHECK_CODE(ztl_unregister_server(path), ZTL_OK);
  CHECK(!Exists(path));
  CHECK_CODE(ztl_unregister_server(path), ZTL_OK); /* nothing left to remove */

  /* folders are made as needed */
  CHECK_CODE(ztl_register_server(nested), ZTL_OK);
  CHECK(Exists(nested));
  CHECK_CODE(ztl_unregister_server(nested), ZTL_OK);

  /* a file that is no registration file is left alone */
  {
    FILE* file = fopen(foreign, "w");
    fputs("important data\n", file);
    fclose(file);
    CHECK_CODE(ztl_unregister_server(foreign), ZTL_E_IO);
    CHECK(Exists(foreign));
    remove(foreign);
  }
  /* a folder in the way cannot be written */
  CHECK_CODE(ztl_register_server(folder), ZTL_E_IO);
  CHECK_CODE(ztl_register_server(""), ZTL_E_INVALID_ARG);

  /* the default place follows XDG_DATA_HOME */
  {
    char* where = NULL;
    char expected[600];
    setenv("XDG_DATA_HOME", folder, 1);
    snprintf(expected, sizeof expected, "%s/ztldata/registration", folder);
    CHECK_CODE(ztl_registration_path(&where), ZTL_OK);
    CHECK(where != NULL && strcmp(where, expected) == 0);
    ztl_free(where);
    CHECK_CODE(ztl_register_server(NULL), ZTL_OK);
    CHECK(Exists(expected));
    CHECK_CODE(ztl_unregister_server(NULL), ZTL_OK);
    CHECK(!Exists(expected));
    snprintf(expected, sizeof expected, "%s/ztldata", folder);
    CHECK(!Exists(expected));
  }

  /* class objects by name, and unknown ids */
  {
    ztl_class_object* factory = NULL;
    ztl_object* object = NULL;
    CHECK_CODE(ztl_get_class_object("{00000000-0000-0000-0000-000000000000}", &factory), 429);
    CHECK_CODE(ztl_get_class_object("9657B338-7FDA-53C1-9B5B-3EBCEC9EDE53", &factory), ZTL_OK);
    CHECK_CODE(ztl_class_object_create(factory, &object), ZTL_OK);
    CHECK_CODE(ztl_class_object_release(factory), ZTL_OK);
    /* the object lives on without its class object, and keeps the library loaded */
    CHECK_CODE(ztl_can_unload_now(&can_unload), ZTL_OK);
    CHECK(can_unload == 0);
    CHECK_CODE(ztl_object_release(object), ZTL_OK);
    CHECK_CODE(ztl_can_unload_now(&can_unload), ZTL_OK);
    CHECK(can_unload == 1);
  }
  CheckNoHandles("entry points");
}
