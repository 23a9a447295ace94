// The versions of the C interface (ztl_version, ztl_abi_version) and the compile-time checks
// that ztldata.h agrees with the library: its version with the build's, its type codes with the
// value model's, its structs' layouts with what the binary interface promises.

#include <cstddef>
#include <string_view>

#include "ztldata.h"
#include "ztldata/base/types.hpp"
#include "ztldata/frame/variant.hpp"

namespace {

// The header's version is the project's (ZTL_BUILD_VERSION comes from the build).
static_assert(std::string_view(ZTL_VERSION) == ZTL_BUILD_VERSION, "ztldata.h: ZTL_VERSION differs from the project");
static_assert(ZTL_VERSION_MAJOR == ZTL_BUILD_VERSION_MAJOR && ZTL_VERSION_MINOR == ZTL_BUILD_VERSION_MINOR &&
                  ZTL_VERSION_PATCH == ZTL_BUILD_VERSION_PATCH,
              "ztldata.h: ZTL_VERSION_MAJOR/MINOR/PATCH differ from the project");

// The type codes are the value model's: values cross the interface by their code alone.
constexpr bool SameCode(int c, ztl::VarType t) noexcept { return c == static_cast<int>(t); }
static_assert(SameCode(ZTL_VT_EMPTY, ztl::VarType::Empty) && SameCode(ZTL_VT_NULL, ztl::VarType::Null) &&
              SameCode(ZTL_VT_INTEGER, ztl::VarType::Integer) && SameCode(ZTL_VT_LONG, ztl::VarType::Long) &&
              SameCode(ZTL_VT_SINGLE, ztl::VarType::Single) && SameCode(ZTL_VT_DOUBLE, ztl::VarType::Double) &&
              SameCode(ZTL_VT_CURRENCY, ztl::VarType::Currency) && SameCode(ZTL_VT_DATE, ztl::VarType::Date) &&
              SameCode(ZTL_VT_STRING, ztl::VarType::String) && SameCode(ZTL_VT_OBJECT, ztl::VarType::Object) &&
              SameCode(ZTL_VT_ERROR, ztl::VarType::Error) && SameCode(ZTL_VT_BOOLEAN, ztl::VarType::Boolean) &&
              SameCode(ZTL_VT_VARIANT, ztl::VarType::Variant) && SameCode(ZTL_VT_DECIMAL, ztl::VarType::Decimal) &&
              SameCode(ZTL_VT_BYTE, ztl::VarType::Byte) && SameCode(ZTL_VT_ARRAY, ztl::VarType::Array));
static_assert(ZTL_PARAM_NOT_FOUND == ztl::ErrorValue::kParamNotFound);
static_assert(sizeof(ztl_char16) == sizeof(char16_t));

// What the binary interface promises. A change here breaks programs built against an earlier
// header: raise ZTL_ABI_VERSION with it.
static_assert(ZTL_ABI_VERSION == 1);
static_assert(ZTL_OK == 0 && ZTL_E_INVALID_ARG == -1 && ZTL_E_INVALID_HANDLE == -2 && ZTL_E_NOT_FOUND == -3 &&
              ZTL_E_IO == -4 && ZTL_E_UNSUPPORTED == -5 && ZTL_E_INTERNAL == -6);
static_assert(ZTL_METHOD == 1 && ZTL_GET == 2 && ZTL_LET == 4);
static_assert(offsetof(ztl_decimal, lo) == 0 && offsetof(ztl_decimal, hi) == 8 && offsetof(ztl_decimal, scale) == 12 &&
              offsetof(ztl_decimal, negative) == 13 && sizeof(ztl_decimal) == 16);
static_assert(offsetof(ztl_string, data) == 0 && offsetof(ztl_string, length) == sizeof(void*) &&
              sizeof(ztl_string) == 2 * sizeof(void*));
static_assert(offsetof(ztl_variant, type) == 0 && offsetof(ztl_variant, owned) == 2 &&
              offsetof(ztl_variant, value) == alignof(ztl_variant) &&
              sizeof(ztl_variant) == alignof(ztl_variant) + 16);
static_assert(sizeof(void*) != 8 || sizeof(ztl_variant) == 24, "a 64-bit variant is 24 bytes");

}  // namespace

extern "C" {

const char* ztl_version(void) { return ZTL_VERSION; }

int ztl_abi_version(void) { return ZTL_ABI_VERSION; }

}  // extern "C"
