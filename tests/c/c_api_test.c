/* The C interface from a C99 program: what the C host adds to the calls that the vector corpus
 * replays through it (tests/replay/c_replay.cpp): every value type marshalled both ways, arrays,
 * ownership and release, error numbers and texts, hostile handles and inputs, the byte-buffer
 * functions, forms saved and loaded, and the entry points. Each section ends with no handle alive. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "ztldata.h"

static int failures = 0;

static void Failed(int line, const char* what) {
  fprintf(stderr, "c_api_test.c:%d: %s failed; last error: %s\n", line, what, ztl_last_error());
  ++failures;
}

/* Whether a call gave `expected` and ztl_last_error holds `text` (and is empty after success). */
static int Gave(int got, int expected, const char* text) {
  const int ok = got == expected && strstr(ztl_last_error(), text) != NULL && (got == 0) == !*ztl_last_error();
  if (!ok) fprintf(stderr, "  code %d, expected %d\n", got, expected);
  return ok;
}

#define CHECK(cond) ((cond) ? (void)0 : Failed(__LINE__, #cond))
#define CHECK_ERROR(expr, expected, text) CHECK(Gave((expr), (expected), (text)))
#define CHECK_CODE(expr, expected) CHECK_ERROR(expr, expected, "")

/* The number of live handles, one more while the library says it cannot be unloaded without. */
static size_t Live(void) {
  size_t live = 99;
  int can_unload = 0;
  CHECK(ztl_live_handles(&live) == ZTL_OK && ztl_can_unload_now(&can_unload) == ZTL_OK);
  return live + (can_unload != (live == 0));
}

/* Whether the library's text of a value is `expected` (NULL: the value has no text). */
static int TextIs(const ztl_variant* v, const char* expected) {
  char* text = NULL;
  const int code = ztl_variant_to_utf8(v, &text, NULL);
  const int same = code == ZTL_OK && expected != NULL ? strcmp(text, expected) == 0 : code != ZTL_OK && !expected;
  if (!same) fprintf(stderr, "  text \"%s\", expected \"%s\"\n", text ? text : "-", expected ? expected : "-");
  ztl_free(text);
  return same;
}

/* Every value type into a call and back out: ZtData.Inter swaps its two by-reference arguments,
 * so each value comes back as the library writes it (owned, the same type and bits; an object or
 * array as a new handle), and as ztl_variant_copy copies it. The text is ztl_variant_to_utf8's. */
static void TestValues(void) {
  static const ztl_char16 kText[] = {'a', 0, 0xD83D, 0xDE00}; /* an embedded NUL and a surrogate pair */
  ztl_object *data = NULL, *collection = NULL;
  ztl_array* array = NULL;
  ztl_variant v = ztl_variant_empty();
  int32_t zero = 0, two = 2;
  size_t i;
  CHECK_CODE(ztl_create_object("ZtData", &data), ZTL_OK);
  CHECK_CODE(ztl_collection_new(&collection), ZTL_OK);
  CHECK_CODE(ztl_array_new(ZTL_VT_LONG, 1, &zero, &two, &array), ZTL_OK);
  {
    const struct {
      ztl_variant v;
      const char* text;
    } kValues[] = {
        {{ZTL_VT_EMPTY, 0, {0}}, ""},
        {{ZTL_VT_NULL, 0, {0}}, NULL},
        {{ZTL_VT_INTEGER, 0, {.integer = INT16_MIN}}, "-32768"},
        {{ZTL_VT_LONG, 0, {.lng = INT32_MIN}}, "-2147483648"},
        {{ZTL_VT_SINGLE, 0, {.single = 0.1f}}, "0.1"},
        {{ZTL_VT_DOUBLE, 0, {.dbl = -2.5}}, "-2.5"},
        {{ZTL_VT_CURRENCY, 0, {.currency = -15001}}, "-1.5001"},
        {{ZTL_VT_DATE, 0, {.date = 45351.5}}, "2/29/2024 12:00:00 PM"},
        {{ZTL_VT_STRING, 0, {.string = {kText, 4}}}, "a"}, /* up to the NUL */
        {{ZTL_VT_OBJECT, 0, {.object = collection}}, NULL},
        {{ZTL_VT_OBJECT, 0, {.object = NULL}}, NULL},
        {{ZTL_VT_ERROR, 0, {.error = 5}}, NULL},
        {{ZTL_VT_BOOLEAN, 0, {.boolean = -1}}, "True"},
        {{ZTL_VT_DECIMAL, 0, {.decimal = {125, 0, 1, 1}}}, "-12.5"},
        {{ZTL_VT_BYTE, 0, {.byte = 255}}, "255"},
        {{ZTL_VT_ARRAY | ZTL_VT_LONG, 0, {.array = array}}, NULL},
    };
    for (i = 0; i < sizeof kValues / sizeof kValues[0]; ++i) {
      const ztl_variant* in = &kValues[i].v;
      ztl_variant args[2] = {kValues[i].v, ztl_variant_long(7)}, copy = ztl_variant_empty();
      const int handle = (in->type == ZTL_VT_OBJECT && in->value.object) || (in->type & ZTL_VT_ARRAY);
      int same = 1;
      CHECK(TextIs(in, kValues[i].text));
      CHECK_CODE(ztl_invoke_name(data, "Inter", ZTL_METHOD, args, 2, NULL), ZTL_OK);
      CHECK_CODE(ztl_variant_copy(&copy, in), ZTL_OK);
      CHECK(args[0].type == ZTL_VT_LONG && args[0].value.lng == 7 && args[1].type == in->type && copy.type == in->type);
      if (in->type == ZTL_VT_STRING) {
        CHECK(args[1].owned && args[1].value.string.length == 4 && args[1].value.string.data[4] == 0);
        CHECK(memcmp(args[1].value.string.data, kText, sizeof kText) == 0 && copy.value.string.data != kText);
        CHECK(memcmp(copy.value.string.data, kText, sizeof kText) == 0);
      } else if (handle) {
        if (in->type == ZTL_VT_OBJECT) CHECK_CODE(ztl_object_same(args[1].value.object, collection, &same), ZTL_OK);
        CHECK(same && args[1].owned && copy.owned && args[1].value.object != in->value.object);
      } else {
        CHECK(memcmp(&args[1].value, &in->value, sizeof in->value) == 0 && TextIs(&args[1], kValues[i].text));
        CHECK(memcmp(&copy.value, &in->value, sizeof in->value) == 0);
      }
      ztl_variant_clear(&args[1]);
      ztl_variant_clear(&copy);
      CHECK(args[1].type == ZTL_VT_EMPTY && copy.type == ZTL_VT_EMPTY);
    }
  }
  /* bytes that are no UTF-8 become U+FFFD; UTF-16 in, UTF-8 out */
  CHECK_CODE(ztl_variant_set_utf8(&v, "a\xFF" "b", 3), ZTL_OK);
  CHECK(v.owned && TextIs(&v, "a\xEF\xBF\xBD" "b"));
  CHECK_CODE(ztl_variant_set_utf16(&v, kText + 2, 2), ZTL_OK);
  CHECK(v.owned && TextIs(&v, "\xF0\x9F\x98\x80"));
  ztl_variant_clear(&v);
  ztl_array_release(array);
  ztl_object_release(collection);
  ztl_object_release(data);
  CHECK(Live() == 0);
}

/* Arrays of every element type: their bounds, each element its type's default until a value is
 * stored, converted to the type; subscripts outside the bounds; arrays that cannot be made. (The
 * corpus passes arrays by reference through the C interface in c_replay.cpp.) */
static void TestArrays(void) {
  static const struct {
    uint16_t type;
    int put_code;     /* storing the text "12" */
    const char* text; /* the element's text afterwards */
  } kTypes[] = {
      {ZTL_VT_INTEGER, 0, "12"},  {ZTL_VT_LONG, 0, "12"},  {ZTL_VT_SINGLE, 0, "12"}, {ZTL_VT_DOUBLE, 0, "12"},
      {ZTL_VT_CURRENCY, 0, "12"}, {ZTL_VT_DATE, 13, "12:00:00 AM"}, {ZTL_VT_STRING, 0, "12"},
      {ZTL_VT_OBJECT, 13, NULL},  {ZTL_VT_ERROR, 13, NULL}, {ZTL_VT_BOOLEAN, 0, "True"},
      {ZTL_VT_VARIANT, 0, "12"},  {ZTL_VT_DECIMAL, 0, "12"}, {ZTL_VT_BYTE, 0, "12"},
  };
  static const struct {
    uint16_t type;
    size_t dims;
    int32_t lower, count;
    int code;
  } kBad[] = {
      {ZTL_VT_LONG, 1, 0, -1, ZTL_E_INVALID_ARG},         /* a negative count */
      {ZTL_VT_LONG, 1, 2147483647, 2, ZTL_E_INVALID_ARG}, /* ends beyond the Long range */
      {ZTL_VT_EMPTY, 1, 0, 1, ZTL_E_INVALID_ARG},         /* no element type */
      {ZTL_VT_ARRAY, 1, 0, 1, ZTL_E_INVALID_ARG},
      {ZTL_VT_LONG, 61, 0, 1, ZTL_E_INVALID_ARG}, /* too many dimensions */
      {ZTL_VT_LONG, 1, 0, 2147483647, 7},         /* too many elements */
  };
  int32_t lower[61] = {-1, 5}, count[61] = {2, 3}, at[2] = {0, 7}, outside[2] = {1, 8}, lo = 0, hi = 0;
  ztl_array* a = NULL;
  ztl_variant v = ztl_variant_empty(), text = ztl_variant_empty();
  uint16_t type = 0;
  size_t t, d, dims = 9;
  CHECK_CODE(ztl_variant_set_utf8(&text, "12", 2), ZTL_OK);
  for (t = 0; t < sizeof kTypes / sizeof kTypes[0]; ++t) {
    CHECK_CODE(ztl_array_new(kTypes[t].type, 2, lower, count, &a), ZTL_OK);
    CHECK_CODE(ztl_array_element_type(a, &type), ZTL_OK);
    CHECK_CODE(ztl_array_dims(a, &dims), ZTL_OK);
    CHECK_CODE(ztl_array_bounds(a, 2, &lo, &hi), ZTL_OK);
    CHECK(type == kTypes[t].type && dims == 2 && lo == 5 && hi == 7);
    CHECK_CODE(ztl_array_get(a, at, 2, &v), ZTL_OK);
    CHECK(v.type == (type == ZTL_VT_VARIANT ? ZTL_VT_EMPTY : type));
    ztl_variant_clear(&v);
    CHECK_CODE(ztl_array_put(a, at, 2, &text), kTypes[t].put_code);
    CHECK_CODE(ztl_array_get(a, at, 2, &v), ZTL_OK);
    CHECK(v.type == (type == ZTL_VT_VARIANT ? ZTL_VT_STRING : type) && TextIs(&v, kTypes[t].text));
    ztl_variant_clear(&v);
    CHECK_CODE(ztl_array_get(a, outside, 2, &v), 9);
    CHECK_CODE(ztl_array_put(a, at, 1, &text), 9);
    CHECK_CODE(ztl_array_bounds(a, 3, &lo, &hi), 9);
    CHECK_CODE(ztl_array_release(a), ZTL_OK);
  }
  ztl_variant_clear(&text);
  for (t = 0; t < sizeof kBad / sizeof kBad[0]; ++t) {
    for (d = 0; d < 61; ++d) lower[d] = kBad[t].lower, count[d] = kBad[t].count;
    CHECK_CODE(ztl_array_new(kBad[t].type, kBad[t].dims, lower, count, &a), kBad[t].code);
  }
  /* unallocated: no dimensions, no elements */
  CHECK_CODE(ztl_array_new(ZTL_VT_LONG, 0, NULL, NULL, &a), ZTL_OK);
  CHECK_CODE(ztl_array_dims(a, &dims), ZTL_OK);
  CHECK_CODE(ztl_array_get(a, NULL, 0, &v), 9);
  CHECK(dims == 0 && ztl_array_release(a) == ZTL_OK && Live() == 0);
}

/* Who frees what: each handle the library gives out is the caller's to release once, a copy owns
 * its handle, clearing a borrowing variant frees nothing; a collection holding itself and a
 * component whose container is released live while a handle holds them. */
static void TestOwnership(void) {
  ztl_object *collection = NULL, *stack = NULL, *found = NULL;
  ztl_container* form = NULL;
  ztl_variant borrowed, item = ztl_variant_empty(), copy = ztl_variant_empty();
  int same = 0;
  CHECK_CODE(ztl_collection_new(&collection), ZTL_OK);
  borrowed = ztl_variant_object(collection);
  CHECK_CODE(ztl_collection_add(collection, &borrowed, "self"), ZTL_OK);
  CHECK_CODE(ztl_variant_copy(&copy, &borrowed), ZTL_OK);
  ztl_variant_clear(&borrowed);
  CHECK_CODE(ztl_collection_item(collection, 1, &item), ZTL_OK);
  CHECK_CODE(ztl_object_same(item.value.object, copy.value.object, &same), ZTL_OK);
  CHECK(same && Live() == 3 && copy.owned && item.owned && item.value.object != collection);
  ztl_variant_clear(&item);
  ztl_variant_clear(&copy);
  CHECK(Live() == 1);
  CHECK_CODE(ztl_collection_remove(collection, 1), ZTL_OK); /* breaks the cycle */
  CHECK_CODE(ztl_object_release(collection), ZTL_OK);
  CHECK_CODE(ztl_object_release(collection), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_container_new(0, &form), ZTL_OK);
  CHECK_CODE(ztl_container_place(form, "ZtStack", "Jobs", &stack), ZTL_OK);
  CHECK_CODE(ztl_container_find(form, "JOBS", &found), ZTL_OK);
  CHECK_CODE(ztl_object_same(found, stack, &same), ZTL_OK);
  CHECK(same && found != stack);
  CHECK_CODE(ztl_container_release(form), ZTL_OK);
  CHECK_CODE(ztl_invoke_name(stack, "Push", ZTL_METHOD, &borrowed, 1, NULL), ZTL_OK);
  CHECK(ztl_object_release(stack) == ZTL_OK && ztl_object_release(found) == ZTL_OK && Live() == 0);
}

/* Error numbers and the texts ztl_last_error gives with them. */
static void TestErrors(void) {
  ztl_object *numeric = NULL, *collection = NULL, *none = NULL;
  ztl_container* form = NULL;
  ztl_variant nine[2] = {ztl_variant_long(9), ztl_variant_long(9)}, text = ztl_variant_empty();
  ztl_variant missing = ztl_variant_missing(), big = ztl_variant_long(70000), result = ztl_variant_empty();
  const char* names[3] = {"CompressNumber", "intDecimals", "nope"};
  char* key = NULL;
  int32_t ids[3];
  CHECK_CODE(ztl_create_object("ZtNumeric", &numeric), ZTL_OK);
  CHECK_CODE(ztl_collection_new(&collection), ZTL_OK);
  CHECK_CODE(ztl_container_new(0, &form), ZTL_OK);
  CHECK_CODE(ztl_variant_set_utf8(&text, "abc", (size_t)-1), ZTL_OK);
  CHECK_ERROR(ztl_invoke_name(numeric, "Factorial", ZTL_METHOD, nine, 2, &result), 450, "takes 1 argument(s), got 2");
  CHECK_ERROR(ztl_invoke_name(numeric, "Factorial", ZTL_METHOD, &text, 1, &result), 13, "(lngNumber) of ZtNumeric");
  CHECK_ERROR(ztl_invoke_name(numeric, "Factorial", ZTL_METHOD, &missing, 1, &result), 449, "Argument not optional");
  CHECK_ERROR(ztl_invoke_name(numeric, "ToRoman", ZTL_METHOD, &big, 1, &result), 6, "Overflow: argument 1");
  CHECK_ERROR(ztl_invoke_name(numeric, "Frob", ZTL_METHOD, NULL, 0, &result), 438, "ZtNumeric has no method Frob");
  CHECK_ERROR(ztl_invoke(numeric, 0x12345, ZTL_METHOD, NULL, 0, &result), 438, "0x00012345");
  CHECK_ERROR(ztl_invoke_slot(numeric, 21, NULL, 0, &result), 438, "slot 21");
  CHECK_ERROR(ztl_invoke_name(numeric, "Factorial", 8, nine, 1, &result), ZTL_E_INVALID_ARG, "not 8");
  CHECK_ERROR(ztl_get_ids_of_names(numeric, names, 3, ids), ZTL_E_NOT_FOUND, "nope");
  CHECK(ids[0] == 0x60030009 && ids[1] == 2 && ids[2] == -1);
  CHECK_ERROR(ztl_get_ids_of_names(numeric, names + 2, 1, ids), 438, "nope");
  CHECK_ERROR(ztl_create_object("9657b338-7fda-53c1-9b5b-3ebcec9ede53", &none), ZTL_OK, ""); /* ZtNumeric's id */
  CHECK(ztl_object_release(none) == ZTL_OK);
  CHECK_ERROR(ztl_create_object("ZtStack", &none), 429, "is a component");
  CHECK_ERROR(ztl_container_place(form, "ZtNumeric", NULL, &none), 429, "is no component");
  CHECK_ERROR(ztl_container_place(form, "ZtStack", "x", &none), ZTL_OK, "");
  CHECK_ERROR(ztl_container_place(form, "ZtStack", "X", &none), ZTL_E_INVALID_ARG, "");
  CHECK_ERROR(ztl_container_find(form, "y", &none), ZTL_E_NOT_FOUND, "no component named 'y'");
  CHECK_ERROR(ztl_collection_add(collection, &text, "k"), ZTL_OK, "");
  CHECK_ERROR(ztl_collection_add(collection, &text, "K"), 457, "key is already associated");
  CHECK_ERROR(ztl_collection_item(collection, 9, &result), 5, "no item 9");
  CHECK_ERROR(ztl_collection_key(collection, 9, &key), 5, "no item 9");
  CHECK(ztl_collection_key(collection, 1, &key) == ZTL_OK && strcmp(key, "k") == 0);
  ztl_free(key);
  CHECK_CODE(ztl_collection_add(collection, &text, NULL), ZTL_OK);
  CHECK(ztl_collection_key(collection, 2, &key) == ZTL_OK && key == NULL);
  CHECK_CODE(ztl_collection_key(collection, 1, NULL), ZTL_E_INVALID_ARG);
  CHECK_ERROR(ztl_invoke_name(collection, "Item", ZTL_METHOD, nine, 1, &result), 5, "Collection.Item");
  /* a call that succeeds empties the last error; clearing a value leaves it */
  CHECK_ERROR(ztl_invoke_slot(numeric, 8, nine, 1, &result), ZTL_OK, ""); /* slot 8: Factorial */
  CHECK(result.type == ZTL_VT_LONG && result.value.lng == 362880);
  CHECK_ERROR(ztl_invoke_name(numeric, "Factorial", ZTL_METHOD, &text, 1, &result), 13, "lngNumber");
  ztl_variant_clear(&text);
  CHECK(strstr(ztl_last_error(), "lngNumber") != NULL);
  ztl_object_release(none);
  ztl_container_release(form);
  ztl_object_release(collection);
  ztl_object_release(numeric);
  CHECK(Live() == 0);
}

/* Null, released, forged and wrong-kind handles and malformed values: error codes, no crash. */
static void TestHostile(void) {
  static int32_t forged_memory[16];
  ztl_object *object = NULL, *forged = (ztl_object*)forged_memory;
  ztl_array* array = NULL;
  ztl_container* container = NULL;
  ztl_class_object* factory = NULL;
  ztl_variant v = ztl_variant_empty();
  size_t size = 0, k;
  int32_t n = 0;
  int same = 0;
  CHECK_CODE(ztl_create_object("ZtNumeric", &object), ZTL_OK);
  CHECK_CODE(ztl_array_new(ZTL_VT_LONG, 0, NULL, NULL, &array), ZTL_OK);
  CHECK_CODE(ztl_container_new(0, &container), ZTL_OK);
  CHECK_CODE(ztl_get_class_object("ZtNumeric", &factory), ZTL_OK);
  {
    const ztl_variant kBad[] = {
        {ZTL_VT_OBJECT, 0, {.object = (ztl_object*)factory}}, {ZTL_VT_ARRAY, 0, {.array = (ztl_array*)container}},
        {ZTL_VT_OBJECT, 0, {.object = forged}},               {ZTL_VT_STRING, 0, {.string = {NULL, 3}}},
        {99, 0, {0}},                                         {ZTL_VT_DECIMAL, 0, {.decimal = {0, 0, 29, 0}}},
        {ZTL_VT_VARIANT, 0, {0}},
    };
    for (k = 0; k < sizeof kBad / sizeof kBad[0]; ++k) {
      const int code = k < 3 ? ZTL_E_INVALID_HANDLE : ZTL_E_INVALID_ARG;
      CHECK_CODE(ztl_invoke_name(object, "Factorial", ZTL_METHOD, (ztl_variant*)&kBad[k], 1, &v), code);
      CHECK_CODE(ztl_variant_copy(&v, &kBad[k]), code);
    }
  }
  CHECK_CODE(ztl_invoke_name(forged, "Max", ZTL_METHOD, NULL, 0, &v), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_object_release(forged), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_array_release((ztl_array*)forged), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_object_same(object, forged, &same), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_object_release(NULL), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_array_dims(NULL, &size), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_container_save(NULL, NULL, NULL), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_collection_count(object, &n), ZTL_E_INVALID_HANDLE); /* no collection */
  CHECK_CODE(ztl_object_release((ztl_object*)array), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_array_release((ztl_array*)container), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_class_object_create((ztl_class_object*)container, &object), ZTL_E_INVALID_HANDLE);
  /* required pointers */
  CHECK_CODE(ztl_invoke_name(object, "Factorial", ZTL_METHOD, NULL, 1, &v), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_invoke_name(object, NULL, ZTL_METHOD, NULL, 0, &v), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_create_object("ZtNumeric", NULL), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_array_dims(array, NULL), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_container_place(container, NULL, NULL, &object), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_container_load(NULL, 5, &container, NULL), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_variant_set_utf8(NULL, "x", 1), ZTL_E_INVALID_ARG);
  /* device contexts: the built-in font needs no files; sizes 1..1000 */
  CHECK_CODE(ztl_device_context_new("fixed-pitch", 10, &n), ZTL_OK);
  CHECK_CODE(ztl_device_context_release(n), ZTL_OK);
  CHECK_CODE(ztl_device_context_release(n), ZTL_E_INVALID_HANDLE);
  CHECK_CODE(ztl_device_context_new("fixed-pitch", 1001, &n), ZTL_E_INVALID_ARG);
  ztl_variant_clear(NULL);
  ztl_free(NULL);
  CHECK_CODE(ztl_object_release(object), ZTL_OK);
  CHECK_CODE(ztl_object_class(object, NULL), ZTL_E_INVALID_HANDLE); /* released */
  ztl_array_release(array);
  ztl_container_release(container);
  ztl_class_object_release(factory);
  CHECK(Live() == 0);
}

/* A key set of ZtRSA (modulus, exponent, its inverse), as `ztl rsa keygen` prints one. */
enum { kRsaModulus = 33495907, kRsaExponent = 99663953, kRsaInverse = 29133137 };

/* Codes with a byte-buffer function: 0 RLE, 1 and 2 the cipher under two keys, 3 RSA, 4 EBCDIC. */
static int Code(int codec, int decode, const uint8_t* in, size_t length, uint8_t** out, size_t* out_length) {
  switch (codec) {
    case 0: return (decode ? ztl_rle_decompress : ztl_rle_compress)(in, length, out, out_length);
    case 1: return (decode ? ztl_cipher_decode : ztl_cipher_encode)(in, length, 1234, out, out_length);
    case 2: return (decode ? ztl_cipher_decode : ztl_cipher_encode)(in, length, INT32_MIN, out, out_length);
    case 3:
      return decode ? ztl_rsa_decode((const char*)in, length, kRsaInverse, kRsaModulus, out, out_length)
                    : ztl_rsa_encode(in, length, kRsaExponent, kRsaModulus, (char**)out, out_length);
    default: return (decode ? ztl_ebcdic_decode : ztl_ebcdic_encode)(in, length, out, out_length);
  }
}

/* The byte-buffer functions: every byte value through each coding and back, alone and in runs
 * (up to 300 long, of 0, '~' and others, for the run-length coding); the empty input; a CRC fed
 * in pieces; and the inputs they refuse, which leave no buffer behind. */
static void TestBytes(void) {
  static const struct {
    int codec, decode;
    size_t length; /* of "1+2+3"; 9: NULL data; 0: more than a String holds */
    int32_t exponent, modulus;
  } kRefused[] = {
      {0, 0, 9, 0, 0}, {1, 1, 9, 0, 0}, {4, 0, 9, 0, 0}, {1, 0, 0, 0, 0}, {3, 1, 9, kRsaInverse, kRsaModulus},
      {3, 0, 5, 0, kRsaModulus}, {3, 0, 5, -7, kRsaModulus}, {3, 1, 5, kRsaInverse, 255},
  };
  static uint8_t input[20000];
  uint8_t *coded = NULL, *back = NULL;
  size_t n = 0, coded_length = 0, back_length = 0, k;
  uint32_t crc = 0, whole = 0;
  int b, codec;
  for (b = 0; b < 256; ++b) input[n++] = (uint8_t)b;
  for (b = 0; b < 256; ++b) {
    for (k = 0; k < (b % 14 == 0 ? 300u : (size_t)b % 4 + 1); ++k) input[n++] = (uint8_t)b; /* 126 is '~' */
  }
  for (codec = 0; codec < 5; ++codec) {
    CHECK_CODE(Code(codec, 0, input, n, &coded, &coded_length), ZTL_OK);
    CHECK_CODE(Code(codec, 1, coded, coded_length, &back, &back_length), ZTL_OK);
    CHECK(back_length == n && memcmp(back, input, n) == 0 && coded[coded_length] == 0 && back[back_length] == 0);
    CHECK(codec == 0 || codec == 3 || coded_length == n);
    ztl_free(coded);
    ztl_free(back);
    CHECK_CODE(Code(codec, 0, NULL, 0, &coded, &coded_length), ZTL_OK);
    CHECK(coded != NULL && coded_length == 0 && coded[0] == 0);
    ztl_free(coded);
  }
  for (k = 0; k < n; k += 1000) CHECK_CODE(ztl_crc32(input + k, n - k < 1000 ? n - k : 1000, &crc), ZTL_OK);
  CHECK_CODE(ztl_crc32(input, n, &whole), ZTL_OK);
  CHECK(crc == whole);
  crc = 0xFFFFFFFFu;
  CHECK_CODE(ztl_crc32_add(input, n, ZTL_CRC32_POLYNOMIAL, &crc), ZTL_OK);
  CHECK(~crc == whole);
  for (k = 0; k < sizeof kRefused / sizeof kRefused[0]; ++k) {
    const int codec = kRefused[k].codec, decode = kRefused[k].decode, e = kRefused[k].exponent, m = kRefused[k].modulus;
    const char* in = kRefused[k].length == 9 ? NULL : "1+2+3";
    const size_t length = kRefused[k].length ? kRefused[k].length : (size_t)INT32_MAX + 1;
    uint8_t* out = (uint8_t*)"untouched";
    size_t out_length = 99;
    const int code = codec != 3 ? Code(codec, decode, (const uint8_t*)in, length, &out, &out_length)
                     : decode   ? ztl_rsa_decode(in, length, e, m, &out, &out_length)
                                : ztl_rsa_encode(in, length, e, m, (char**)&out, &out_length);
    CHECK(Gave(code, ZTL_E_INVALID_ARG, "") && out == NULL && out_length == 0);
  }
  CHECK_CODE(ztl_rle_compress("abc", 3, NULL, &n), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_ebcdic_decode("abc", 3, &coded, NULL), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_crc32("abc", 3, NULL), ZTL_E_INVALID_ARG);
  CHECK_CODE(ztl_crc32_add(NULL, 1, ZTL_CRC32_POLYNOMIAL, &crc), ZTL_E_INVALID_ARG);
}

/* A form saved as text and loaded into a new container keeps its components and their
 * design-time properties, not their run-time data; damaged text loads what it can. */
static void TestForms(void) {
  ztl_container *form = NULL, *loaded = NULL;
  ztl_object *stack = NULL, *found = NULL;
  ztl_variant value = ztl_variant_long(1), result = ztl_variant_empty(); /* 1: ztlStackLIFO */
  char *text = NULL, *problems = NULL, *name = NULL;
  size_t length = 0, count = 0;
  CHECK_CODE(ztl_container_new(1, &form), ZTL_OK);
  CHECK_CODE(ztl_container_place(form, "ZtStack", "Jobs", &stack), ZTL_OK);
  CHECK_CODE(ztl_invoke_name(stack, "Strategy", ZTL_LET, &value, 1, NULL), ZTL_OK);
  CHECK_CODE(ztl_invoke_name(stack, "Push", ZTL_METHOD, &value, 1, NULL), ZTL_OK);
  CHECK_CODE(ztl_container_save(form, &text, &length), ZTL_OK);
  CHECK(text != NULL && strlen(text) == length && strstr(text, "Jobs") != NULL);
  CHECK_CODE(ztl_container_load(text, length, &loaded, &problems), ZTL_OK);
  CHECK(problems != NULL && problems[0] == '\0');
  CHECK_CODE(ztl_container_count(loaded, &count), ZTL_OK);
  CHECK_CODE(ztl_container_component(loaded, 0, &name, &found), ZTL_OK);
  CHECK(count == 1 && name != NULL && strcmp(name, "Jobs") == 0);
  CHECK_CODE(ztl_invoke_name(found, "Strategy", ZTL_GET, NULL, 0, &result), ZTL_OK);
  CHECK(result.type == ZTL_VT_LONG && result.value.lng == 1);
  CHECK_CODE(ztl_invoke_name(found, "Size", ZTL_GET, NULL, 0, &result), ZTL_OK);
  CHECK(result.type == ZTL_VT_LONG && result.value.lng == 0);
  CHECK_CODE(ztl_container_component(loaded, 1, NULL, &found), 9);
  ztl_free(name);
  ztl_free(problems);
  ztl_free(text);
  ztl_container_release(loaded);
  CHECK_CODE(ztl_container_load("Begin ZTLData.NoSuchThing X\nEnd\nno form\n", (size_t)-1, &loaded, &problems), ZTL_OK);
  CHECK(problems != NULL && strstr(problems, "NoSuchThing") != NULL);
  CHECK(ztl_container_count(loaded, &count) == ZTL_OK && count == 0);
  ztl_free(problems);
  ztl_container_release(loaded);
  ztl_object_release(found);
  ztl_object_release(stack);
  ztl_container_release(form);
  CHECK(Live() == 0);
}

static void RecordAbout(const char* text, size_t length, void* calls) {
  *(int*)calls += text != NULL && length > 0 && strlen(text) >= length;
}

/* The entry points: the about box's display; the registration file, each class id of which makes
 * a class object (of a component, one that makes no instance); unregistering; the default path. */
static void TestEntryPoints(void) {
  char folder[] = "/tmp/ztl_c_test_XXXXXX", path[64], line[256], expected[96], *name = NULL;
  ztl_container* form = NULL;
  ztl_object *crc = NULL, *object = NULL;
  ztl_class_object* factory = NULL;
  int calls = 0, classes = 0, components = 0;
  FILE* file;
  CHECK(mkdtemp(folder) != NULL);
  CHECK_CODE(ztl_set_about_display(RecordAbout, &calls), ZTL_OK);
  CHECK_CODE(ztl_container_new(0, &form), ZTL_OK);
  CHECK_CODE(ztl_container_place(form, "ZtCRC32", NULL, &crc), ZTL_OK);
  CHECK_CODE(ztl_invoke(crc, -552, ZTL_METHOD, NULL, 0, NULL), ZTL_OK);
  CHECK(calls == 1 && ztl_set_about_display(NULL, NULL) == ZTL_OK);
  ztl_object_release(crc);
  ztl_container_release(form);

  snprintf(path, sizeof path, "%s/a/registration", folder);
  CHECK_CODE(ztl_register_server(path), ZTL_OK);
  CHECK((file = fopen(path, "r")) != NULL);
  while (file != NULL && fgets(line, sizeof line, file) != NULL) {
    if (strncmp(line, "ClassId=", 8) != 0) continue;
    line[strcspn(line, "\n")] = '\0';
    CHECK_CODE(ztl_get_class_object(line + 8, &factory), ZTL_OK);
    if (ztl_class_object_create(factory, &object) == ZTL_OK) ztl_object_release(object);
    else components += strstr(ztl_last_error(), "component") != NULL;
    ztl_class_object_release(factory);
    ++classes;
  }
  if (file != NULL) fclose(file);
  CHECK(classes == 16 && components == 7);
  CHECK_CODE(ztl_unregister_server(path), ZTL_OK);
  CHECK_CODE(ztl_unregister_server(path), ZTL_OK); /* nothing left to remove */
  /* a file that is no registration file is left alone; a folder cannot be written */
  CHECK(access(path, F_OK) != 0 && (file = fopen(path, "w")) != NULL);
  CHECK(fputs("data\n", file) >= 0 && fclose(file) == 0);
  CHECK_CODE(ztl_unregister_server(path), ZTL_E_IO);
  CHECK(access(path, F_OK) == 0 && remove(path) == 0);
  CHECK_CODE(ztl_register_server(folder), ZTL_E_IO);
  CHECK_CODE(ztl_register_server(""), ZTL_E_INVALID_ARG);
  /* the default place follows XDG_DATA_HOME */
  setenv("XDG_DATA_HOME", folder, 1);
  snprintf(expected, sizeof expected, "%s/ztldata/registration", folder);
  CHECK_CODE(ztl_registration_path(&name), ZTL_OK);
  CHECK(name != NULL && strcmp(name, expected) == 0);
  ztl_free(name);
  CHECK(ztl_register_server(NULL) == ZTL_OK && access(expected, F_OK) == 0);
  CHECK(ztl_unregister_server(NULL) == ZTL_OK && access(expected, F_OK) != 0);
  snprintf(path, sizeof path, "%s/a", folder);
  CHECK(rmdir(path) == 0 && rmdir(folder) == 0 && Live() == 0);
}

/* Which members carry bytes: the byte operations do, other text members and unknown ids not. */
static void TestByteMembers(void) {
  static const struct {
    const char* class_name;
    const char* member;
    int carries;
  } kRows[] = {
      {"ZtRLE", "Compress", 1},          {"ZtEncryption", "Decode", 1}, {"ZtStrings", "ASCIIToEBCDIC", 1},
      {"ZtStrings", "ReplaceAll", 0},    {"ZtNumeric", "Num2Letter", 0},
  };
  ztl_container* form = NULL;
  CHECK_CODE(ztl_container_new(0, &form), ZTL_OK);
  for (size_t i = 0; i < sizeof kRows / sizeof kRows[0]; ++i) {
    ztl_object* object = NULL;
    int32_t id = -1;
    int carries = -1;
    const char* names[1] = {kRows[i].member};
    /* The coding classes are components, placed in a container; the others are created. */
    if (ztl_create_object(kRows[i].class_name, &object) != ZTL_OK) {
      CHECK_CODE(ztl_container_place(form, kRows[i].class_name, NULL, &object), ZTL_OK);
    }
    CHECK_CODE(ztl_get_ids_of_names(object, names, 1, &id), ZTL_OK);
    CHECK_CODE(ztl_member_carries_bytes(object, id, &carries), ZTL_OK);
    CHECK(carries == kRows[i].carries);
    CHECK_CODE(ztl_member_carries_bytes(object, 0x7FFF0000, &carries), 438);
    ztl_object_release(object);
  }
  ztl_container_release(form);
  CHECK(Live() == 0);
}

int main(void) {
  CHECK(strcmp(ztl_version(), ZTL_VERSION) == 0 && ztl_abi_version() == ZTL_ABI_VERSION);
  TestValues();
  TestArrays();
  TestOwnership();
  TestErrors();
  TestHostile();
  TestBytes();
  TestByteMembers();
  TestForms();
  TestEntryPoints();
  if (failures != 0) fprintf(stderr, "%d check(s) failed\n", failures);
  else printf("all C interface checks passed\n");
  return failures != 0;
}
