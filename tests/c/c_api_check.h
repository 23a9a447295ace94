/* What the files of the C test share: the checks, which count failures instead of stopping, the
 * helpers every section uses, and the sections of the other files that main() runs. */
#ifndef ZTL_C_API_CHECK_H
#define ZTL_C_API_CHECK_H

#include <stdio.h>

#include "ztldata.h"

extern int failures;

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
void CheckNoHandles(const char* section);
/* Whether a value's text (as the library converts it) is `expected`. */
int TextIs(const ztl_variant* v, const char* expected);
/* An owned String made from UTF-8 text. */
ztl_variant Utf8(const char* text);

/* Arrays and collections (c_api_arrays_test.c). */
void TestByReferenceArrays(void);
void TestVariantAndGridArrays(void);
void TestBadArrays(void);
void TestByReferenceVariants(void);
void TestCollections(void);

/* Components, forms and the entry points (c_api_forms_test.c). */
void TestComponents(void);
void TestCodingComponents(void);
void TestContainers(void);
void TestAbout(void);
void TestDeviceContexts(void);
void TestEntryPoints(const char* folder);

/* The byte-buffer functions (c_api_bytes_test.c). */
void TestBytes(void);

#endif
