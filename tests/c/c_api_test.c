/* The C interface driven from C: every class through late-bound calls, strings, and hostile
 * handles and arguments, which must give error codes; arrays and collections are in
 * c_api_arrays_test.c, components, forms and the entry points in c_api_forms_test.c, the byte
 * functions in c_api_bytes_test.c. Each section ends with no handle left alive. main() runs
 * them all. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "c_api_check.h"

int failures = 0;

void CheckNoHandles(const char* section) {
  size_t live = 99;
  int can_unload = 0;
  CHECK_CODE(ztl_live_handles(&live), ZTL_OK);
  CHECK_CODE(ztl_can_unload_now(&can_unload), ZTL_OK);
  if (live != 0 || can_unload != 1) {
    fprintf(stderr, "%s: %zu handle(s) left alive\n", section, live);
    ++failures;
  }
}

int TextIs(const ztl_variant* v, const char* expected) {
  char* text = NULL;
  size_t length = 0;
  int same;
  if (ztl_variant_to_utf8(v, &text, &length) != ZTL_OK) return 0;
  same = strlen(expected) == length && memcmp(text, expected, length) == 0;
  if (!same) fprintf(stderr, "  text \"%s\", expected \"%s\"\n", text, expected);
  ztl_free(text);
  return same;
}

ztl_variant Utf8(const char* text) {
  ztl_variant v = ztl_variant_empty();
  CHECK_CODE(ztl_variant_set_utf8(&v, text, (size_t)-1), ZTL_OK);
  return v;
}

/* An argument of a case table: a Long, Integer, Double, Date, Boolean, String, or left out. */
typedef struct Arg {
  char kind; /* 'l' 'i' 'd' 'D' 'b' 's' 'm', 0 for none */
  double number;
  const char* text;
} Arg;

static ztl_variant MakeArg(Arg a) {
  switch (a.kind) {
    case 'l': return ztl_variant_long((int32_t)a.number);
    case 'i': return ztl_variant_integer((int16_t)a.number);
    case 'd': return ztl_variant_double(a.number);
    case 'D': return ztl_variant_date(a.number);
    case 'b': return ztl_variant_bool(a.number != 0);
    case 's': return Utf8(a.text);
    case 'm': return ztl_variant_missing();
    default: return ztl_variant_empty();
  }
}

/* Every utility class at least once, by name: the result's type and text. */
static void TestUtilityClasses(void) {
  static const struct {
    const char* cls;
    const char* member;
    Arg args[3];
    uint16_t type;
    const char* text;
  } kCases[] = {
      {"ZtNumeric", "Factorial", {{'l', 10, 0}}, ZTL_VT_LONG, "3628800"},
      {"ZtNumeric", "IsPrime", {{'l', 97, 0}}, ZTL_VT_BOOLEAN, "True"},
      {"ZtNumeric", "ToRoman", {{'i', 1994, 0}}, ZTL_VT_STRING, "MCMXCIV"},
      {"ZtNumeric", "ToArabic", {{'s', 0, "MCMXCIV"}}, ZTL_VT_INTEGER, "1994"},
      {"ZtNumeric", "Num2Letter", {{'l', 1234, 0}}, ZTL_VT_STRING, "one thousand two hundred thirty-four"},
      {"ZtBases", "Long2Base", {{'l', 255, 0}, {'i', 16, 0}}, ZTL_VT_STRING, "FF"},
      {"ZtBases", "MakeDWord", {{'i', 1, 0}, {'i', 2, 0}}, ZTL_VT_LONG, "65538"},
      {"ZtConversion", "CelToFah", {{'d', 100, 0}}, ZTL_VT_DOUBLE, "212"},
      {"ZtDate", "IsLeap", {{'D', 45351, 0}}, ZTL_VT_BOOLEAN, "True"},   /* 2024-02-29 */
      {"ZtDate", "GetMonthName", {{'D', 45351, 0}}, ZTL_VT_STRING, "February"},
      {"ZtDate", "LastDay", {{'D', 45332, 0}}, ZTL_VT_DATE, "45351"},  /* from 2024-02-10 */
      {"ZtData", "Purge", {{'l', 5, 0}}, ZTL_VT_INTEGER, "0"},  /* any number purges to the Integer 0 */
      {"ZtData", "Purge", {{'s', 0, "abc"}}, ZTL_VT_STRING, "   "},
      {"ZtArrays", "Dimensions", {{'l', 5, 0}}, ZTL_VT_INTEGER, "0"},
      /* a text that reads as a number converts to a Long parameter */
      {"ztnumeric", "isprime", {{'s', 0, " 97 "}}, ZTL_VT_BOOLEAN, "True"},
  };
  size_t i, a;
  for (i = 0; i < sizeof kCases / sizeof kCases[0]; ++i) {
    ztl_object* object = NULL;
    ztl_variant args[3], result = ztl_variant_empty();
    size_t count = 0;
    for (a = 0; a < 3 && kCases[i].args[a].kind != 0; ++a) args[count++] = MakeArg(kCases[i].args[a]);
    CHECK_CODE(ztl_create_object(kCases[i].cls, &object), ZTL_OK);
    CHECK_CODE(ztl_invoke_name(object, kCases[i].member, ZTL_METHOD, args, count, &result), ZTL_OK);
    if (result.type != kCases[i].type ||
        (result.type == ZTL_VT_DATE ? result.value.date != atof(kCases[i].text) : !TextIs(&result, kCases[i].text))) {
      fprintf(stderr, "case %zu: %s.%s gave type %u\n", i, kCases[i].cls, kCases[i].member, result.type);
      ++failures;
    }
    ztl_variant_clear(&result);
    for (a = 0; a < count; ++a) ztl_variant_clear(&args[a]);
    ztl_object_release(object);
  }
  CheckNoHandles("utility classes");
}

/* ZtObjects.IsSet with an object and with Nothing; the same class created three ways. */
static void TestCreation(void) {
  static const char* const kNames[] = {
      "ZTLData.ZtObjects", "ZtObjects", "ZTLDATA.ZTOBJECTS", "{B51F9076-5ED8-5B64-AA0E-83BC3DA4FC1B}",
      "b51f9076-5ed8-5b64-aa0e-83bc3da4fc1b",
  };
  size_t i;
  for (i = 0; i < sizeof kNames / sizeof kNames[0]; ++i) {
    ztl_object* object = NULL;
    const char* cls = NULL;
    ztl_variant arg = ztl_variant_object(NULL), result;
    CHECK_CODE(ztl_create_object(kNames[i], &object), ZTL_OK);
    CHECK_CODE(ztl_object_class(object, &cls), ZTL_OK);
    CHECK(cls != NULL && strcmp(cls, "ZtObjects") == 0);
    CHECK_CODE(ztl_invoke_name(object, "IsSet", ZTL_METHOD, &arg, 1, &result), ZTL_OK);
    CHECK(result.type == ZTL_VT_BOOLEAN && result.value.boolean == 0);
    arg = ztl_variant_object(object);
    CHECK_CODE(ztl_invoke_name(object, "IsSet", ZTL_METHOD, &arg, 1, &result), ZTL_OK);
    CHECK(result.type == ZTL_VT_BOOLEAN && result.value.boolean == -1);
    CHECK_CODE(ztl_object_release(object), ZTL_OK);
  }
  {
    static const struct {
      const char* name;
      int code;
    } kBad[] = {
        {"ZtStack", 429},                                 /* a component: placed, never created */
        {"ZTLData.ZtRSA", 429},
        {"NoSuchClass", 429},
        {"", 429},
        {"{00000000-0000-0000-0000-000000000000}", 429},
        {"{B51F9076-5ED8-5B64-AA0E-83BC3DA4FC1B", 429}, /* no closing brace */
    };
    for (i = 0; i < sizeof kBad / sizeof kBad[0]; ++i) {
      ztl_object* object = NULL;
      CHECK_CODE(ztl_create_object(kBad[i].name, &object), kBad[i].code);
      CHECK(strlen(ztl_last_error()) > 0);
    }
  }
  CheckNoHandles("creation");
}

/* Dispatch ids, kinds and slots reach the same members; dispatch errors come back as codes. */
static void TestDispatch(void) {
  ztl_object* numeric = NULL;
  ztl_variant arg = ztl_variant_long(10), result = ztl_variant_empty();
  const char* names[] = {"CompressNumber", "intDecimals", "dblNumber"};
  int32_t ids[3];
  CHECK_CODE(ztl_create_object("ZtNumeric", &numeric), ZTL_OK);
  CHECK_CODE(ztl_get_ids_of_names(numeric, names, 3, ids), ZTL_OK);
  CHECK(ids[0] == 0x60030009 && ids[1] == 2 && ids[2] == 0);
  names[1] = "nope";
  CHECK_CODE(ztl_get_ids_of_names(numeric, names, 2, ids), ZTL_E_NOT_FOUND);
  CHECK(ids[0] == 0x60030009 && ids[1] == -1);
  names[0] = "Frob";
  CHECK_CODE(ztl_get_ids_of_names(numeric, names, 1, ids), 438);
  CHECK(ids[0] == -1);

  CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_METHOD, &arg, 1, &result), ZTL_OK);
  CHECK(result.type == ZTL_VT_LONG && result.value.lng == 3628800);
  CHECK(strcmp(ztl_last_error(), "") == 0);
  CHECK_CODE(ztl_invoke_slot(numeric, 8, &arg, 1, &result), ZTL_OK);
  CHECK(result.type == ZTL_VT_LONG && result.value.lng == 3628800);
  {
    /* optional parameters left out take their defaults (9 and 0), by name and by dispatch id */
    ztl_variant args[3], left_out = ztl_variant_empty(), explicit = ztl_variant_empty(), back = ztl_variant_empty();
    args[0] = ztl_variant_double(12345.0);
    args[1] = ztl_variant_missing();
    args[2] = ztl_variant_missing();
    CHECK_CODE(ztl_invoke_name(numeric, "CompressNumber", ZTL_METHOD, args, 1, &left_out), ZTL_OK);
    CHECK_CODE(ztl_invoke(numeric, 0x60030009, ZTL_METHOD, args, 3, &back), ZTL_OK);
    args[1] = ztl_variant_integer(9);
    args[2] = ztl_variant_integer(0);
    CHECK_CODE(ztl_invoke(numeric, 0x60030009, ZTL_METHOD, args, 3, &explicit), ZTL_OK);
    CHECK(left_out.type == ZTL_VT_STRING && explicit.type == ZTL_VT_STRING && back.type == ZTL_VT_STRING);
    /* size 9 packs 10 digits into 5 characters */
    CHECK(left_out.value.string.length == 5 && explicit.value.string.length == 5 && back.value.string.length == 5);
    CHECK(memcmp(left_out.value.string.data, explicit.value.string.data, 5 * sizeof(ztl_char16)) == 0);
    CHECK(memcmp(back.value.string.data, explicit.value.string.data, 5 * sizeof(ztl_char16)) == 0);
    ztl_variant_clear(&back);
    CHECK_CODE(ztl_invoke_name(numeric, "DecompressNumber", ZTL_METHOD, &explicit, 1, &back), ZTL_OK);
    CHECK(back.type == ZTL_VT_DOUBLE && back.value.dbl == 12345.0);
    ztl_variant_clear(&left_out);
    ztl_variant_clear(&explicit);
  }
  /* a result may be left out */
  CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_METHOD, &arg, 1, NULL), ZTL_OK);
  CHECK_CODE(ztl_object_release(numeric), ZTL_OK);
  CheckNoHandles("dispatch");
}

/* What dispatch refuses: wrong counts and types, unknown members, kinds and slots, bad variants. */
static void TestDispatchErrors(void) {
  ztl_object* numeric = NULL;
  ztl_variant arg = ztl_variant_long(10), result = ztl_variant_empty();
  CHECK_CODE(ztl_create_object("ZtNumeric", &numeric), ZTL_OK);
  {
    ztl_variant two[2] = {ztl_variant_long(1), ztl_variant_long(2)};
    ztl_variant text = Utf8("abc");
    ztl_variant big = ztl_variant_long(70000);
    ztl_variant missing = ztl_variant_missing();
    ztl_variant bad_type = ztl_variant_long(1);
    ztl_variant bad_string = ztl_variant_string(NULL, 3);
    ztl_variant bad_decimal = ztl_variant_empty();
    bad_type.type = 99;
    bad_decimal.type = ZTL_VT_DECIMAL;
    bad_decimal.value.decimal.scale = 29;
    CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_METHOD, two, 2, &result), 450);
    CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_METHOD, NULL, 0, &result), 450);
    CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_METHOD, &text, 1, &result), 13);
    CHECK(strstr(ztl_last_error(), "lngNumber") != NULL);
    {
      /* clearing an owned value does not hide why the call failed */
      ztl_variant owned = ztl_variant_empty();
      CHECK_CODE(ztl_collection_new(&owned.value.object), ZTL_OK);
      CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_METHOD, &text, 1, &result), 13);
      owned.type = ZTL_VT_OBJECT;
      owned.owned = 1;
      ztl_variant_clear(&owned);
      CHECK(strstr(ztl_last_error(), "lngNumber") != NULL);
    }
    CHECK_CODE(ztl_invoke_name(numeric, "ToRoman", ZTL_METHOD, &big, 1, &result), 6);
    CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_METHOD, &missing, 1, &result), 449);
    CHECK_CODE(ztl_invoke(numeric, 0x12345, ZTL_METHOD, &arg, 1, &result), 438);
    CHECK_CODE(ztl_invoke_name(numeric, "Frob", ZTL_METHOD, &arg, 1, &result), 438);
    CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_LET, &arg, 1, &result), 438);
    CHECK_CODE(ztl_invoke_slot(numeric, 0, &arg, 1, &result), 438);
    CHECK_CODE(ztl_invoke_slot(numeric, 21, &arg, 1, &result), 438);
    CHECK_CODE(ztl_invoke(numeric, 0x60030007, 8, &arg, 1, &result), ZTL_E_INVALID_ARG);
    CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_METHOD, NULL, 1, &result), ZTL_E_INVALID_ARG);
    CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_METHOD, &bad_type, 1, &result), ZTL_E_INVALID_ARG);
    CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_METHOD, &bad_string, 1, &result), ZTL_E_INVALID_ARG);
    CHECK_CODE(ztl_invoke(numeric, 0x60030007, ZTL_METHOD, &bad_decimal, 1, &result), ZTL_E_INVALID_ARG);
    CHECK_CODE(ztl_invoke_name(numeric, NULL, ZTL_METHOD, &arg, 1, &result), ZTL_E_INVALID_ARG);
    ztl_variant_clear(&text);
  }
  CHECK_CODE(ztl_object_release(numeric), ZTL_OK);
  CheckNoHandles("dispatch errors");
}

/* Null, released and wrong-kind handles give ZTL_E_INVALID_HANDLE; nothing crashes. */
static void TestHostileHandles(void) {
  ztl_object* object = NULL;
  ztl_array* array = NULL;
  ztl_container* container = NULL;
  ztl_class_object* factory = NULL;
  ztl_variant v = ztl_variant_empty();
  const char* cls = NULL;
  size_t size = 0;
  int32_t n = 0;
  int same = 0;
  int32_t index = 0;
  CHECK_CODE(ztl_create_object("ZtNumeric", &object), ZTL_OK);
  CHECK_CODE(ztl_object_release(object), ZTL_OK);
  /* `object` is now released: every use is refused */
  CHECK_CODE(ztl_object_release(object), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_invoke(object, 0x60030007, ZTL_METHOD, NULL, 0, &v), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_object_class(object, &cls), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_object_release(NULL), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_invoke_name(NULL, "Max", ZTL_METHOD, NULL, 0, &v), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_invoke_slot(NULL, 1, NULL, 0, &v), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_object_same(NULL, NULL, &same), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_array_release(NULL), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_array_dims(NULL, &size), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_array_get(NULL, &index, 1, &v), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_container_release(NULL), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_container_save(NULL, NULL, NULL), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_class_object_release(NULL), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_collection_count(NULL, &n), ZTL_E_INVALID_HANDLE);

  /* a handle of one kind passed as another */
  CHECK_CODE(ztl_array_new(ZTL_VT_LONG, 0, NULL, NULL, &array), ZTL_OK);
  CHECK_CODE(ztl_container_new(0, &container), ZTL_OK);
  CHECK_CODE(ztl_get_class_object("ZtNumeric", &factory), ZTL_OK);
  CHECK_CODE(ztl_object_release((ztl_object*)array), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_container_release((ztl_container*)array), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_array_release((ztl_array*)container), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_class_object_create((ztl_class_object*)container, &object), ZTL_E_INVALID_HANDLE);
  v = ztl_variant_object((ztl_object*)factory);
  CHECK_CODE(ztl_variant_copy(&v, &v), ZTL_E_INVALID_HANDLE);
  v = ztl_variant_array((ztl_array*)container);
  CHECK_CODE(ztl_variant_copy(&v, &v), ZTL_E_INVALID_HANDLE);
  /* a Long array handle is no collection */
  CHECK_CODE(ztl_create_object("ZtNumeric", &object), ZTL_OK);
  CHECK_CODE(ztl_collection_count(object, &n), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_object_release(object), ZTL_OK);

  /* required pointers */
  CHECK_CODE(ztl_create_object(NULL, &object), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_create_object("ZtNumeric", NULL), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_array_dims(array, NULL), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_container_place(container, NULL, NULL, &object), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_container_place(container, "ZtStack", NULL, NULL), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_container_load(NULL, 5, &container, NULL), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_get_class_object(NULL, &factory), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_can_unload_now(NULL), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_variant_set_utf8(NULL, "x", 1), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_variant_to_utf8(&v, NULL, NULL), ZTL_E_INVALID_HANDLE);
  ztl_variant_clear(NULL);
  ztl_free(NULL);

  CHECK_CODE(ztl_array_release(array), ZTL_OK);
  CHECK_CODE(ztl_container_release(container), ZTL_OK);
  CHECK_CODE(ztl_class_object_release(factory), ZTL_OK);
  CheckNoHandles("hostile handles");
}

/* The loaded library is the one this header describes. */
static void TestVersions(void) {
  char text[32];
  snprintf(text, sizeof text, "%d.%d.%d", ZTL_VERSION_MAJOR, ZTL_VERSION_MINOR, ZTL_VERSION_PATCH);
  CHECK(strcmp(ztl_version(), ZTL_VERSION) == 0);
  CHECK(strcmp(ZTL_VERSION, text) == 0);
  CHECK(ztl_abi_version() == ZTL_ABI_VERSION);
}

int main(void) {
  char folder[] = "/tmp/ztl_c_test_XXXXXX";
  CHECK(mkdtemp(folder) != NULL);
  TestVersions();
  TestUtilityClasses();
  TestCreation();
  TestDispatch();
  TestDispatchErrors();
  TestHostileHandles();
  TestByReferenceArrays();
  TestVariantAndGridArrays();
  TestBadArrays();
  TestByReferenceVariants();
  TestCollections();
  TestComponents();
  TestCodingComponents();
  TestContainers();
  TestAbout();
  TestDeviceContexts();
  TestEntryPoints(folder);
  TestBytes();
  rmdir(folder);
  if (failures != 0) {
    fprintf(stderr, "%d check(s) failed\n", failures);
    return 1;
  }
  printf("all C interface checks passed\n");
  return 0;
}
