/* The C interface driven from C, arrays and collections: arrays sorted by reference keep their
 * handles and bounds, variants passed by reference come back owned, collections made in C are
 * sorted by the library. Each section ends with no handle left alive. */
#include <stdio.h>
#include <string.h>

#include "c_api_check.h"

/* Sorting a Long array by reference: the caller's handle gets the order and keeps its bounds. */
void TestByReferenceArrays(void) {
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
  CHECK_CODE(ztl_object_release(arrays), ZTL_OK);
  CheckNoHandles("by-reference arrays");
}

/* A Variant array of texts sorted by reference, and a two-dimensional array. */
void TestVariantAndGridArrays(void) {
  ztl_object* arrays = NULL;
  int32_t i;
  ztl_variant arg, result;
  CHECK_CODE(ztl_create_object("ZtArrays", &arrays), ZTL_OK);
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
  CHECK_CODE(ztl_object_release(arrays), ZTL_OK);
  CheckNoHandles("variant and grid arrays");
}

/* Arrays that cannot be made. */
void TestBadArrays(void) {
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
  CheckNoHandles("bad arrays");
}

/* ZtData.Inter exchanges two variants by reference: borrowed strings come back owned. */
void TestByReferenceVariants(void) {
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
void TestCollections(void) {
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
