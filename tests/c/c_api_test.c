/* The C interface driven from C: every class through late-bound calls, by-reference arrays and
 * collections, strings, containers saved and loaded, the entry points, and hostile handles and
 * arguments, which must give error codes. Each section ends with no handle left alive. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <sys/stat.h>

#include "ztldata.h"

static int failures = 0;

#define CHECK(cond)                                                                                   \
  do {                                                                                                \
    if (!(cond)) {                                                                                    \
      fprintf(stderr, "%s:%d: CHECK(%s) failed; last error: %s\n", __FILE__, __LINE__, #cond,         \
              ztl_last_error());                                                                      \
      ++failures;                                                                                     \
    }                                                                                                 \
  } while (0)

#define CHECK_CODE(expr, expected)                                                                    \
  do {                                                                                                \
    int got_ = (expr);                                                                                \
    if (got_ != (expected)) {                                                                         \
      fprintf(stderr, "%s:%d: %s gave %d, expected %d; last error: %s\n", __FILE__, __LINE__, #expr,  \
              got_, (int)(expected), ztl_last_error());                                               \
      ++failures;                                                                                     \
    }                                                                                                 \
  } while (0)

/* Every section must release what it made. */
static void CheckNoHandles(const char* section) {
  size_t live = 99;
  int can_unload = 0;
  CHECK_CODE(ztl_live_handles(&live), ZTL_OK);
  CHECK_CODE(ztl_can_unload_now(&can_unload), ZTL_OK);
  if (live != 0 || can_unload != 1) {
    fprintf(stderr, "%s: %zu handle(s) left alive\n", section, live);
    ++failures;
  }
}

/* Whether a value's text (as the library converts it) is `expected`. */
static int TextIs(const ztl_variant* v, const char* expected) {
  char* text = NULL;
  size_t length = 0;
  int same;
  if (ztl_variant_to_utf8(v, &text, &length) != ZTL_OK) return 0;
  same = strlen(expected) == length && memcmp(text, expected, length) == 0;
  if (!same) fprintf(stderr, "  text \"%s\", expected \"%s\"\n", text, expected);
  ztl_free(text);
  return same;
}

static ztl_variant Utf8(const char* text) {
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
  CheckNoHandles("dispatch");
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

/* Sorting a Long array and a Variant array by reference: the caller's handle gets the order. */
static void TestByReferenceArrays(void) {
  static const int32_t kValues[] = {5, -3, 12, 0, 7, -3, 100, 1};
  const size_t n = sizeof kValues / sizeof kValues[0];
  ztl_object* arrays = NULL;
  ztl_array* longs = NULL;
  int32_t lower = 1, count = (int32_t)n, i;
  ztl_variant arg, result;
  CHECK_CODE(ztl_create_object("ZtArrays", &arrays), ZTL_OK);
  CHECK_CODE(ztl_array_new(ZTL_VT_LONG, 1, &lower, &count, &longs), ZTL_OK);
  for (i = 0; i < count; ++i) {
    int32_t index = lower + i;
    ztl_variant value = ztl_variant_long(kValues[i]);
    CHECK_CODE(ztl_array_put(longs, &index, 1, &value), ZTL_OK);
  }
  arg = ztl_variant_array(longs);
  CHECK_CODE(ztl_invoke_name(arrays, "GetSum", ZTL_METHOD, &arg, 1, &result), ZTL_OK);
  CHECK(TextIs(&result, "119"));
  ztl_variant_clear(&result);
  CHECK_CODE(ztl_invoke_name(arrays, "Sort", ZTL_METHOD, &arg, 1, &result), ZTL_OK);
  CHECK(result.type == ZTL_VT_EMPTY);
  CHECK(arg.value.array == longs && arg.type == (ZTL_VT_ARRAY | ZTL_VT_LONG) && arg.owned == 0);
  {
    /* ascending, and the same values: each is at least the previous, and the sum is kept */
    int32_t previous = -1000, sum = 0;
    for (i = 0; i < count; ++i) {
      int32_t index = lower + i;
      ztl_variant value;
      CHECK_CODE(ztl_array_get(longs, &index, 1, &value), ZTL_OK);
      CHECK(value.type == ZTL_VT_LONG && value.value.lng >= previous);
      previous = value.value.lng;
      sum += value.value.lng;
    }
    CHECK(sum == 119 && previous == 100);
  }
  {
    /* the bounds survive, and reading outside them is an error */
    int32_t lo = 0, hi = 0, outside = lower + count;
    size_t dims = 0;
    ztl_variant value;
    CHECK_CODE(ztl_array_dims(longs, &dims), ZTL_OK);
    CHECK(dims == 1);
    CHECK_CODE(ztl_array_bounds(longs, 1, &lo, &hi), ZTL_OK);
    CHECK(lo == 1 && hi == count);
    CHECK_CODE(ztl_array_bounds(longs, 2, &lo, &hi), 9);
    CHECK_CODE(ztl_array_get(longs, &outside, 1, &value), 9);
    CHECK_CODE(ztl_array_get(longs, NULL, 0, &value), 9);
    value = Utf8("abc");
    CHECK_CODE(ztl_array_put(longs, &lower, 1, &value), 13);
    ztl_variant_clear(&value);
    value = ztl_variant_double(3e10);
    CHECK_CODE(ztl_array_put(longs, &lower, 1, &value), 6);
  }
  CHECK_CODE(ztl_array_release(longs), ZTL_OK);

  {
    /* strings in a Variant array sort binary: "B" (66) before "a" (97) */
    static const char* const kWords[] = {"pear", "a", "B", "apple"};
    static const char* const kSorted[] = {"B", "a", "apple", "pear"};
    ztl_array* words = NULL;
    int32_t zero = 0, four = 4;
    CHECK_CODE(ztl_array_new(ZTL_VT_VARIANT, 1, &zero, &four, &words), ZTL_OK);
    for (i = 0; i < 4; ++i) {
      ztl_variant word = Utf8(kWords[i]);
      CHECK_CODE(ztl_array_put(words, &i, 1, &word), ZTL_OK);
      ztl_variant_clear(&word);
    }
    arg = ztl_variant_array(words);
    CHECK_CODE(ztl_invoke(arrays, 0x60030008, ZTL_METHOD, &arg, 1, NULL), ZTL_OK);
    for (i = 0; i < 4; ++i) {
      ztl_variant word;
      CHECK_CODE(ztl_array_get(words, &i, 1, &word), ZTL_OK);
      CHECK(word.type == ZTL_VT_STRING && word.owned && TextIs(&word, kSorted[i]));
      ztl_variant_clear(&word);
    }
    CHECK_CODE(ztl_array_release(words), ZTL_OK);
  }
  {
    /* a two-dimensional array: Dimensions is 2; GetMax reads only dimension 1, so it gives Empty */
    int32_t lowers[2] = {0, -2}, counts[2] = {3, 4}, at[2] = {2, 1};
    ztl_array* grid = NULL;
    ztl_variant value = ztl_variant_double(2.5);
    CHECK_CODE(ztl_array_new(ZTL_VT_DOUBLE, 2, lowers, counts, &grid), ZTL_OK);
    CHECK_CODE(ztl_array_put(grid, at, 2, &value), ZTL_OK);
    CHECK_CODE(ztl_array_put(grid, at, 1, &value), 9);
    arg = ztl_variant_array(grid);
    CHECK_CODE(ztl_invoke_name(arrays, "Dimensions", ZTL_METHOD, &arg, 1, &result), ZTL_OK);
    CHECK(result.type == ZTL_VT_INTEGER && result.value.integer == 2);
    CHECK_CODE(ztl_invoke_name(arrays, "GetMax", ZTL_METHOD, &arg, 1, &result), ZTL_OK);
    CHECK(result.type == ZTL_VT_EMPTY);
    CHECK_CODE(ztl_array_release(grid), ZTL_OK);
  }
  {
    /* arrays that cannot be made */
    static const struct {
      uint16_t type;
      size_t dims;
      int32_t lower, count;
      int code;
    } kBad[] = {
        {ZTL_VT_LONG, 1, 0, -1, ZTL_E_INVALID_ARG},          /* negative count */
        {ZTL_VT_LONG, 1, 2147483647, 2, ZTL_E_INVALID_ARG},  /* ends beyond the Long range */
        {ZTL_VT_EMPTY, 1, 0, 1, ZTL_E_INVALID_ARG},          /* no such element type */
        {ZTL_VT_ARRAY, 1, 0, 1, ZTL_E_INVALID_ARG},
        {ZTL_VT_LONG, 61, 0, 1, ZTL_E_INVALID_ARG},          /* too many dimensions */
        {ZTL_VT_LONG, 1, 0, 2147483647, 7},                  /* too many elements */
    };
    size_t k, d;
    for (k = 0; k < sizeof kBad / sizeof kBad[0]; ++k) {
      int32_t lowers[61], counts[61];
      ztl_array* bad = NULL;
      for (d = 0; d < 61; ++d) {
        lowers[d] = kBad[k].lower;
        counts[d] = kBad[k].count;
      }
      CHECK_CODE(ztl_array_new(kBad[k].type, kBad[k].dims, lowers, counts, &bad), kBad[k].code);
    }
  }
  CHECK_CODE(ztl_object_release(arrays), ZTL_OK);
  CheckNoHandles("by-reference arrays");
}

/* ZtData.Inter exchanges two variants by reference: borrowed strings come back owned. */
static void TestByReferenceVariants(void) {
  static const ztl_char16 kLeft[] = {'l', 'e', 'f', 't'};
  ztl_object* data = NULL;
  ztl_array* array = NULL;
  int32_t zero = 0, two = 2;
  ztl_variant args[2];
  CHECK_CODE(ztl_create_object("ZtData", &data), ZTL_OK);
  args[0] = ztl_variant_string(kLeft, 4);
  args[1] = ztl_variant_long(42);
  CHECK_CODE(ztl_invoke_name(data, "Inter", ZTL_METHOD, args, 2, NULL), ZTL_OK);
  CHECK(args[0].type == ZTL_VT_LONG && args[0].value.lng == 42);
  CHECK(args[1].type == ZTL_VT_STRING && args[1].owned && TextIs(&args[1], "left"));
  CHECK(args[1].value.string.data[4] == 0); /* the library's strings end with a NUL */

  /* an array and a string trade places: the array comes back as a new handle */
  CHECK_CODE(ztl_array_new(ZTL_VT_LONG, 1, &zero, &two, &array), ZTL_OK);
  args[0] = ztl_variant_array(array);
  CHECK_CODE(ztl_invoke_name(data, "Inter", ZTL_METHOD, args, 2, NULL), ZTL_OK);
  CHECK(args[0].type == ZTL_VT_STRING && TextIs(&args[0], "left"));
  CHECK(args[1].type == (ZTL_VT_ARRAY | ZTL_VT_LONG) && args[1].owned && args[1].value.array != array);
  ztl_variant_clear(&args[0]);
  ztl_variant_clear(&args[1]);
  CHECK_CODE(ztl_array_release(array), ZTL_OK);
  CHECK_CODE(ztl_object_release(data), ZTL_OK);
  CheckNoHandles("by-reference variants");
}

/* Collections built in C, sorted by the library, read back; their own errors. */
static void TestCollections(void) {
  static const int32_t kValues[] = {30, 10, 20};
  ztl_object* collection = NULL;
  ztl_object* sorter = NULL;
  ztl_variant arg, item, result;
  int32_t count = 0, i;
  CHECK_CODE(ztl_collection_new(&collection), ZTL_OK);
  for (i = 0; i < 3; ++i) {
    char key[8];
    ztl_variant value = ztl_variant_long(kValues[i]);
    snprintf(key, sizeof key, "k%d", (int)kValues[i]);
    CHECK_CODE(ztl_collection_add(collection, &value, key), ZTL_OK);
  }
  item = ztl_variant_long(1);
  CHECK_CODE(ztl_collection_add(collection, &item, "K10"), 457); /* keys ignore case */
  CHECK_CODE(ztl_create_object("ZtCollections", &sorter), ZTL_OK);
  arg = ztl_variant_object(collection);
  CHECK_CODE(ztl_invoke_name(sorter, "Sort", ZTL_METHOD, &arg, 1, NULL), ZTL_OK);
  CHECK_CODE(ztl_collection_count(collection, &count), ZTL_OK);
  CHECK(count == 3);
  for (i = 1; i <= 3; ++i) {
    CHECK_CODE(ztl_collection_item(collection, i, &item), ZTL_OK);
    CHECK(item.type == ZTL_VT_LONG && item.value.lng == 10 * i);
  }
  {
    /* SearchByKey finds the item of a key; Count through dispatch */
    ztl_variant args[2];
    args[0] = ztl_variant_object(collection);
    args[1] = Utf8("k20");
    CHECK_CODE(ztl_invoke_name(sorter, "SearchByKey", ZTL_METHOD, args, 2, &result), ZTL_OK);
    CHECK(TextIs(&result, "20"));
    ztl_variant_clear(&result);
    ztl_variant_clear(&args[1]);
    CHECK_CODE(ztl_invoke_name(collection, "Count", ZTL_GET, NULL, 0, &result), ZTL_OK);
    CHECK(result.type == ZTL_VT_LONG && result.value.lng == 3);
    /* the host's collection reports its errors: Item(9) is an invalid call */
    args[0] = ztl_variant_long(9);
    CHECK_CODE(ztl_invoke_name(collection, "Item", ZTL_METHOD, args, 1, &result), 5);
  }
  CHECK_CODE(ztl_collection_item(collection, 0, &item), 5);
  CHECK_CODE(ztl_collection_item(collection, 4, &item), 5);
  CHECK_CODE(ztl_collection_remove(collection, 4), 5);
  CHECK_CODE(ztl_collection_remove(collection, 1), ZTL_OK);
  CHECK_CODE(ztl_collection_count(collection, &count), ZTL_OK);
  CHECK(count == 2);
  {
    /* a collection that holds itself: the item comes back as a new handle to the same object */
    int same = 0;
    arg = ztl_variant_object(collection);
    CHECK_CODE(ztl_collection_add(collection, &arg, NULL), ZTL_OK);
    CHECK_CODE(ztl_collection_item(collection, 3, &item), ZTL_OK);
    CHECK(item.type == ZTL_VT_OBJECT && item.owned && item.value.object != collection);
    CHECK_CODE(ztl_object_same(item.value.object, collection, &same), ZTL_OK);
    CHECK(same == 1);
    ztl_variant_clear(&item);
    CHECK_CODE(ztl_collection_remove(collection, 3), ZTL_OK); /* breaks the cycle */
  }
  CHECK_CODE(ztl_object_release(sorter), ZTL_OK);
  CHECK_CODE(ztl_object_release(collection), ZTL_OK);
  CheckNoHandles("collections");
}

/* The components: each placed in a container and driven through its members. */
static void TestComponents(void) {
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
  CheckNoHandles("components");
}

/* A form saved as text and loaded into a new container keeps the design-time properties. */
static void TestContainers(void) {
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
static void TestAbout(void) {
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
static void TestDeviceContexts(void) {
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

/* The entry points: class objects, register and unregister, can-unload-now. */
static void TestEntryPoints(const char* folder) {
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
    /* every class id in the file makes a class object of the class the section names */
    const char* at = text;
    int classes = 0, components = 0;
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

int main(void) {
  char folder[] = "/tmp/ztl_c_test_XXXXXX";
  CHECK(strlen(ztl_version()) > 0);
  CHECK(mkdtemp(folder) != NULL);
  TestUtilityClasses();
  TestCreation();
  TestDispatch();
  TestHostileHandles();
  TestByReferenceArrays();
  TestByReferenceVariants();
  TestCollections();
  TestComponents();
  TestContainers();
  TestAbout();
  TestDeviceContexts();
  TestEntryPoints(folder);
  rmdir(folder);
  if (failures != 0) {
    fprintf(stderr, "%d check(s) failed\n", failures);
    return 1;
  }
  printf("all C interface checks passed\n");
  return 0;
}
