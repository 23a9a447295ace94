/* Uses the installed C header: the library matches it, and two late-bound calls. */
#include <stdio.h>

#include <ztldata.h>

int main(void) {
  ztl_object* numeric = NULL;
  ztl_variant arg = ztl_variant_long(10), result;
  char* text = NULL;
  if (ztl_abi_version() != ZTL_ABI_VERSION) return 1;
  if (ztl_create_object("ZTLData.ZtNumeric", &numeric) != ZTL_OK) return 1;
  if (ztl_invoke_name(numeric, "Factorial", ZTL_METHOD, &arg, 1, &result) != ZTL_OK) return 1;
  printf("Factorial(10) = %d\n", (int)result.value.lng);
  arg = ztl_variant_integer(1994);
  if (ztl_invoke_name(numeric, "ToRoman", ZTL_METHOD, &arg, 1, &result) != ZTL_OK) return 1;
  if (ztl_variant_to_utf8(&result, &text, NULL) != ZTL_OK) return 1;
  printf("%s\n", text);
  ztl_free(text);
  ztl_variant_clear(&result);
  ztl_object_release(numeric);
  return 0;
}
