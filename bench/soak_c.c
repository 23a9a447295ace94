/* A long session through the C interface, for scripts/soak: one case repeated COUNT times,
 * printing resident memory after a warm-up and at the end, and the peak, in KiB:
 *
 *     soak_c let|invoke|create COUNT
 *     -> warm=<KiB> end=<KiB> peak=<KiB>
 *
 * let     sets Strategy on a placed ZtStack (the form records the change)
 * invoke  calls ZtNumeric.Num2Letter, freeing each String result
 * create  makes and releases a ZtNumeric, and places and releases a form with a ZtStack */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "ztldata.h"

/* A figure of /proc/self/status in KiB ("VmRSS" resident now, "VmHWM" the peak), or -1. */
static long StatusKiB(const char* field) {
  char line[256];
  long kib = -1;
  const size_t length = strlen(field);
  FILE* status = fopen("/proc/self/status", "r");
  if (!status) return -1;
  while (fgets(line, sizeof line, status)) {
    if (strncmp(line, field, length) == 0 && line[length] == ':') {
      kib = atol(line + length + 1);
      break;
    }
  }
  fclose(status);
  return kib;
}

static void Check(int status, const char* what) {
  if (status == 0) return;
  fprintf(stderr, "soak_c: %s failed: %d %s\n", what, status, ztl_last_error());
  exit(1);
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: soak_c let|invoke|create COUNT\n");
    return 2;
  }
  const char* kind = argv[1];
  const long count = atol(argv[2]);
  const long warm_up = count / 10;
  ztl_container* form = NULL;
  ztl_object* stack = NULL;
  ztl_object* numeric = NULL;
  Check(ztl_container_new(0, &form), "ztl_container_new");
  Check(ztl_container_place(form, "ZtStack", NULL, &stack), "ztl_container_place");
  Check(ztl_create_object("ZtNumeric", &numeric), "ztl_create_object");

  long warm = 0;
  for (long i = 0; i < count; ++i) {
    if (i == warm_up) warm = StatusKiB("VmRSS");
    ztl_variant arg = {0};
    ztl_variant result = {0};
    if (strcmp(kind, "let") == 0) {
      arg.type = ZTL_VT_LONG;
      arg.value.lng = (int32_t)(i & 1);
      Check(ztl_invoke_name(stack, "Strategy", ZTL_LET, &arg, 1, &result), "let Strategy");
    } else if (strcmp(kind, "invoke") == 0) {
      arg.type = ZTL_VT_LONG;
      arg.value.lng = (int32_t)(i % 100000);
      Check(ztl_invoke_name(numeric, "Num2Letter", ZTL_METHOD, &arg, 1, &result), "Num2Letter");
    } else if (strcmp(kind, "create") == 0) {
      ztl_object* made = NULL;
      ztl_container* other = NULL;
      ztl_object* placed = NULL;
      Check(ztl_create_object("ZtNumeric", &made), "ztl_create_object");
      Check(ztl_object_release(made), "ztl_object_release");
      Check(ztl_container_new(0, &other), "ztl_container_new");
      Check(ztl_container_place(other, "ZtStack", NULL, &placed), "ztl_container_place");
      Check(ztl_object_release(placed), "ztl_object_release");
      Check(ztl_container_release(other), "ztl_container_release");
    } else {
      fprintf(stderr, "soak_c: unknown case %s\n", kind);
      return 2;
    }
    ztl_variant_clear(&result);
  }
  printf("warm=%ld end=%ld peak=%ld\n", warm, StatusKiB("VmRSS"), StatusKiB("VmHWM"));

  ztl_object_release(numeric);
  ztl_object_release(stack);
  ztl_container_release(form);
  return 0;
}
