/* ztldata.h: the C interface of the ztldata library (C99 and C++).
 * Opaque handles for objects, arrays and containers, a plain variant struct, late-bound calls by
 * name or dispatch id, and the four entry points of an in-process component library.
 * docs/c-api.md is the guide; every function returns 0 or an error code (ZTL_E_* or the
 * platform's error number) and never lets a C++ exception out.
 *
 * Example:
 *   ztl_object* numeric;
 *   ztl_variant args[1] = {ztl_variant_long(1234)}, result;
 *   ztl_create_object("ZTLData.ZtNumeric", &numeric);
 *   ztl_invoke_name(numeric, "Num2Letter", ZTL_METHOD, args, 1, &result);  // a String
 *   ztl_variant_clear(&result);
 *   ztl_object_release(numeric);
 */
#ifndef ZTLDATA_H
#define ZTLDATA_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define ZTL_API
#elif defined(__GNUC__)
#define ZTL_API __attribute__((visibility("default")))
#else
#define ZTL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- error codes ------------------------------------------------------------------------ */

/* 0 is success. Positive codes are the platform's error numbers that a late-bound call reports
 * before the operation runs (6 overflow, 13 type mismatch, 438 no such member, 449 argument not
 * optional, 450 wrong number of arguments, 429 class cannot be created, 7 out of memory) and
 * those the host's collection raises (5, 457). Negative codes are faults of the C call itself. */
enum {
  ZTL_OK = 0,
  ZTL_E_INVALID_ARG = -1,     /* a null pointer where one is needed, a bad kind or type code */
  ZTL_E_INVALID_HANDLE = -2,  /* a null, released or wrong kind of handle */
  ZTL_E_NOT_FOUND = -3,       /* no component of that name in the container */
  ZTL_E_IO = -4,              /* a registration file that cannot be written, read or removed */
  ZTL_E_UNSUPPORTED = -5,     /* a feature this build of the library does not have */
  ZTL_E_INTERNAL = -6         /* an unexpected fault inside the library (a bug) */
};

/* The message of the last failing call on this thread (UTF-8), "" after a call that succeeded.
 * The text stays valid until the next call of this interface on the same thread. */
ZTL_API const char* ztl_last_error(void);

/* ---- versions --------------------------------------------------------------------------- */

/* The version of the library this header belongs to; ztl_version() gives the version of the
 * library actually loaded, which `ztl --version` prints too. */
#define ZTL_VERSION "0.1.0"
#define ZTL_VERSION_MAJOR 0
#define ZTL_VERSION_MINOR 1
#define ZTL_VERSION_PATCH 0

/* The version of the binary interface this header describes. It is raised whenever a program
 * built against an older header would misbehave with the library: a function's parameters or
 * result, a struct's layout or a constant's value changed, a function removed. Adding functions
 * does not raise it. Compare it with ztl_abi_version() when the library is loaded at run time:
 *   if (ztl_abi_version() != ZTL_ABI_VERSION) ... the library does not match this header
 * Note: the structs' layouts are checked at compile time at the end of this header, so a
 * compiler option that packs or reorders them (-fpack-struct) fails to compile. */
#define ZTL_ABI_VERSION 1

/* The library's version ("0.1.0"), the same as ZTL_VERSION of the header it was built with. */
ZTL_API const char* ztl_version(void);
/* The ZTL_ABI_VERSION the library was built with. */
ZTL_API int ztl_abi_version(void);

/* ---- handles ---------------------------------------------------------------------------- */

/* An object: a utility object, a component, or a collection. Each handle the library gives out
 * is the caller's to release once, even when it names an object the caller already holds. */
typedef struct ztl_object ztl_object;
/* An array (any element type, 0..n dimensions, each with its own bounds). */
typedef struct ztl_array ztl_array;
/* A container (a form) in which components are placed. */
typedef struct ztl_container ztl_container;
/* A class object: makes instances of one class. */
typedef struct ztl_class_object ztl_class_object;

/* UTF-16 code unit. In C11 a u"..." literal has this type's size and representation. */
typedef uint16_t ztl_char16;

/* ---- values ----------------------------------------------------------------------------- */

/* Type codes: the automation codes. An array is ZTL_VT_ARRAY | its element type
 * (ZTL_VT_VARIANT for an array of Variants). */
enum {
  ZTL_VT_EMPTY = 0,
  ZTL_VT_NULL = 1,
  ZTL_VT_INTEGER = 2,  /* 16-bit signed */
  ZTL_VT_LONG = 3,     /* 32-bit signed */
  ZTL_VT_SINGLE = 4,
  ZTL_VT_DOUBLE = 5,
  ZTL_VT_CURRENCY = 6, /* 64-bit, the value times 10000 */
  ZTL_VT_DATE = 7,     /* days since 1899-12-30 as a double */
  ZTL_VT_STRING = 8,   /* UTF-16 with a length */
  ZTL_VT_OBJECT = 9,   /* an object handle; NULL is Nothing */
  ZTL_VT_ERROR = 10,   /* a status code; ZTL_PARAM_NOT_FOUND marks an omitted argument */
  ZTL_VT_BOOLEAN = 11, /* -1 True, 0 False */
  ZTL_VT_VARIANT = 12, /* only as the element type of an array */
  ZTL_VT_DECIMAL = 14,
  ZTL_VT_BYTE = 17,
  ZTL_VT_ARRAY = 0x2000
};

/* The Error value that stands for an optional argument left out. */
#define ZTL_PARAM_NOT_FOUND ((int32_t)0x80020004u)

typedef struct ztl_decimal {
  uint64_t lo;      /* low 64 bits of the 96-bit magnitude */
  uint32_t hi;      /* high 32 bits of the magnitude */
  uint8_t scale;    /* 0..28: the value is magnitude / 10^scale */
  uint8_t negative; /* nonzero for a negative value */
} ztl_decimal;

typedef struct ztl_string {
  const ztl_char16* data; /* may be NULL when length is 0; not necessarily NUL-terminated */
  size_t length;          /* in UTF-16 code units */
} ztl_string;

/* A value. Set `type` and the matching member of `value`; leave `owned` 0.
 *
 * Ownership: a variant the library fills (a result, a by-reference argument after a call, an
 * array element read) has `owned` set: it owns its string (library memory, NUL-terminated) and its
 * object or array handle, and ztl_variant_clear frees them. A variant you fill yourself, with
 * `owned` 0, only borrows: the library copies what it needs during the call and never frees or
 * keeps your memory or handles. ztl_variant_clear is safe on both kinds. */
typedef struct ztl_variant {
  uint16_t type;  /* a ZTL_VT_* code */
  uint16_t owned; /* set by the library: the string or handle is the variant's to free */
  union {
    int16_t integer;     /* ZTL_VT_INTEGER */
    int32_t lng;         /* ZTL_VT_LONG */
    float single;        /* ZTL_VT_SINGLE */
    double dbl;          /* ZTL_VT_DOUBLE */
    int64_t currency;    /* ZTL_VT_CURRENCY: value times 10000 */
    double date;         /* ZTL_VT_DATE */
    ztl_string string;   /* ZTL_VT_STRING */
    ztl_object* object;  /* ZTL_VT_OBJECT */
    int32_t error;       /* ZTL_VT_ERROR */
    int16_t boolean;     /* ZTL_VT_BOOLEAN: -1 or 0 (any nonzero value counts as True) */
    ztl_decimal decimal; /* ZTL_VT_DECIMAL */
    uint8_t byte;        /* ZTL_VT_BYTE */
    ztl_array* array;    /* ZTL_VT_ARRAY | element type */
  } value;
} ztl_variant;

/* Frees what an owned variant holds (its string, its object or array handle) and leaves it
 * Empty. A borrowing variant is only reset to Empty. NULL is allowed and does nothing. It leaves
 * ztl_last_error as it was. */
ZTL_API void ztl_variant_clear(ztl_variant* v);

/* Sets `v` to an owned String copied from UTF-8 text (`length` bytes, or up to the NUL when
 * length is (size_t)-1); bytes that are no UTF-8 become U+FFFD. `v` is cleared first. */
ZTL_API int ztl_variant_set_utf8(ztl_variant* v, const char* text, size_t length);
/* Sets `v` to an owned String copied from UTF-16 code units. `v` is cleared first. */
ZTL_API int ztl_variant_set_utf16(ztl_variant* v, const ztl_char16* text, size_t length);
/* The text of any value as the library converts it to a String ("True", "1.5", the string
 * itself), as NUL-terminated UTF-8 in `*text` (free it with ztl_free); `*length` (may be NULL)
 * gets its length in bytes. A value with no text (an array, an object without a default value,
 * Null) gives the conversion's error number. */
ZTL_API int ztl_variant_to_utf8(const ztl_variant* v, char** text, size_t* length);
/* Copies a value: `*copy` is owned (strings copied, handles new), even when `v` borrows. */
ZTL_API int ztl_variant_copy(ztl_variant* copy, const ztl_variant* v);

/* Frees memory the library handed out (texts from the functions above). NULL is allowed. */
ZTL_API void ztl_free(void* memory);

/* Borrowing variants for arguments. */
static inline ztl_variant ztl_variant_empty(void) { ztl_variant v = {ZTL_VT_EMPTY, 0, {0}}; return v; }
static inline ztl_variant ztl_variant_null(void) { ztl_variant v = {ZTL_VT_NULL, 0, {0}}; return v; }
static inline ztl_variant ztl_variant_integer(int16_t x) { ztl_variant v = {ZTL_VT_INTEGER, 0, {0}}; v.value.integer = x; return v; }
static inline ztl_variant ztl_variant_long(int32_t x) { ztl_variant v = {ZTL_VT_LONG, 0, {0}}; v.value.lng = x; return v; }
static inline ztl_variant ztl_variant_double(double x) { ztl_variant v = {ZTL_VT_DOUBLE, 0, {0}}; v.value.dbl = x; return v; }
static inline ztl_variant ztl_variant_date(double days) { ztl_variant v = {ZTL_VT_DATE, 0, {0}}; v.value.date = days; return v; }
static inline ztl_variant ztl_variant_bool(int x) { ztl_variant v = {ZTL_VT_BOOLEAN, 0, {0}}; v.value.boolean = (int16_t)(x ? -1 : 0); return v; }
static inline ztl_variant ztl_variant_byte(uint8_t x) { ztl_variant v = {ZTL_VT_BYTE, 0, {0}}; v.value.byte = x; return v; }
static inline ztl_variant ztl_variant_string(const ztl_char16* data, size_t length) {
  ztl_variant v = {ZTL_VT_STRING, 0, {0}}; v.value.string.data = data; v.value.string.length = length; return v;
}
static inline ztl_variant ztl_variant_object(ztl_object* o) { ztl_variant v = {ZTL_VT_OBJECT, 0, {0}}; v.value.object = o; return v; }
/* An array argument; its type is completed from the handle. */
static inline ztl_variant ztl_variant_array(ztl_array* a) { ztl_variant v = {ZTL_VT_ARRAY, 0, {0}}; v.value.array = a; return v; }
/* An optional argument left out: the parameter takes its default. */
static inline ztl_variant ztl_variant_missing(void) { ztl_variant v = {ZTL_VT_ERROR, 0, {0}}; v.value.error = ZTL_PARAM_NOT_FOUND; return v; }

/* ---- objects and calls ------------------------------------------------------------------ */

/* Call kinds (the platform's values). */
enum { ZTL_METHOD = 1, ZTL_GET = 2, ZTL_LET = 4 };

/* Creates a utility object by its registered name ("ZTLData.ZtNumeric"), its bare class name
 * ("ZtNumeric", any case) or its class id ("{9657B338-7FDA-53C1-9B5B-3EBCEC9EDE53}", braces
 * optional). Components cannot be created this way (429): place them in a container. */
ZTL_API int ztl_create_object(const char* name_or_clsid, ztl_object** object);

/* Releases an object handle. The object itself lives on while anything else refers to it
 * (another handle, an array or collection that holds it, its container). */
ZTL_API int ztl_object_release(ztl_object* object);

/* The class name of an object ("ZtNumeric", "Collection"), as NUL-terminated UTF-8 owned by
 * the library (valid while the library is loaded). */
ZTL_API int ztl_object_class(ztl_object* object, const char** class_name);

/* Whether two handles name the same object: *same is 1 or 0. */
ZTL_API int ztl_object_same(ztl_object* a, ztl_object* b, int* same);

/* The dispatch ids of a member and, optionally, its parameters: names[0] is the member (any
 * case), names[1..count-1] parameter names, which get their 0-based positions. Unknown names get
 * -1 and the call returns 438 (member) or ZTL_E_NOT_FOUND (a parameter). */
ZTL_API int ztl_get_ids_of_names(ztl_object* object, const char* const* names, size_t count,
                                 int32_t* dispids);

/* Whether a method's text arguments and text result are bytes, one character per byte of the
 * ANSI code page (CRC-32, run-length coding, the ciphers, RSA, EBCDIC): *carries is 1 or 0. A host
 * with a byte string type may let its callers pass and receive byte strings there, each byte the
 * Windows-1252 character of its code (as the functions under "bytes" below do). 438 for an
 * unknown id. */
ZTL_API int ztl_member_carries_bytes(ztl_object* object, int32_t dispid, int* carries);

/* Calls a member by dispatch id. `kind` is ZTL_METHOD, ZTL_GET or ZTL_LET (a method call also
 * reaches a property get). `args` are in parameter order (a property let's new value last); use
 * ztl_variant_missing() for an optional argument left out. After the call, arguments of
 * by-reference parameters hold their new values: an array handle passed gets the new contents in
 * place (the variant keeps the handle); any other changed value is written as an owned variant
 * (the old one cleared first). `result` (may be NULL) receives the owned result.
 * Returns 0 or the dispatch error number (438, 449, 450, 13, 6 ...); operations never fail. */
ZTL_API int ztl_invoke(ztl_object* object, int32_t dispid, int kind, ztl_variant* args, size_t arg_count,
                       ztl_variant* result);
/* The same by member name (UTF-8, any case). */
ZTL_API int ztl_invoke_name(ztl_object* object, const char* member, int kind, ztl_variant* args,
                            size_t arg_count, ztl_variant* result);
/* The same by slot (from 1, in interface order; a property's get and let are two slots). A
 * parameter array is passed as one array argument here. */
ZTL_API int ztl_invoke_slot(ztl_object* object, size_t slot, ztl_variant* args, size_t arg_count,
                            ztl_variant* result);

/* ---- arrays ----------------------------------------------------------------------------- */

/* A new array of `element_type` (a scalar ZTL_VT_* code or ZTL_VT_VARIANT) with `dims`
 * dimensions, dimension d having lower bound lower[d] and count[d] elements; every element
 * starts at its type's default. With dims 0 the array is not allocated (lower and count may be
 * NULL). */
ZTL_API int ztl_array_new(uint16_t element_type, size_t dims, const int32_t* lower, const int32_t* count,
                          ztl_array** array);
ZTL_API int ztl_array_release(ztl_array* array);
/* The element type, the number of dimensions, and the bounds of dimension `dim` (from 1). */
ZTL_API int ztl_array_element_type(ztl_array* array, uint16_t* element_type);
ZTL_API int ztl_array_dims(ztl_array* array, size_t* dims);
ZTL_API int ztl_array_bounds(ztl_array* array, size_t dim, int32_t* lower, int32_t* upper);
/* Reads the element at `index` (one subscript per dimension) into the owned `*value`;
 * 9 (subscript out of range) outside the bounds. */
ZTL_API int ztl_array_get(ztl_array* array, const int32_t* index, size_t index_count, ztl_variant* value);
/* Stores a value, converted to the element type (13 or 6 when it does not convert). */
ZTL_API int ztl_array_put(ztl_array* array, const int32_t* index, size_t index_count, const ztl_variant* value);

/* Seeds the library's random generator, so that GetRandom, Shuffle and the like give the same
 * sequence on every run (creating a ZtCollections object or generating RSA keys reseeds it from
 * the clock, as the library always does). */
ZTL_API void ztl_randomize(uint64_t seed);

/* ---- collections ------------------------------------------------------------------------ */

/* A new, empty collection of the host's kind (ordered, 1-based, optional keys that ignore case).
 * It is an object: pass it as ztl_variant_object, or call Add, Item, Count and Remove by name. */
ZTL_API int ztl_collection_new(ztl_object** collection);
/* Adds an item at the end, with a key (UTF-8) or none (NULL): 457 when the key is used. */
ZTL_API int ztl_collection_add(ztl_object* collection, const ztl_variant* item, const char* key);
ZTL_API int ztl_collection_count(ztl_object* collection, int32_t* count);
/* The item at a position 1..count into the owned `*item`; 5 outside. */
ZTL_API int ztl_collection_item(ztl_object* collection, int32_t position, ztl_variant* item);
/* The key of the item at a position 1..count, as owned UTF-8 in `*key` (free it with ztl_free),
 * or NULL for an item without a key; 5 outside. */
ZTL_API int ztl_collection_key(ztl_object* collection, int32_t position, char** key);
/* Removes the item at a position; 5 outside. */
ZTL_API int ztl_collection_remove(ztl_object* collection, int32_t position);

/* ---- containers ------------------------------------------------------------------------- */

/* A new container; in design mode it delivers Paint to its components. */
ZTL_API int ztl_container_new(int design_mode, ztl_container** container);
/* Releases a container: every component placed in it is terminated. */
ZTL_API int ztl_container_release(ztl_container* container);
/* Places a new component by class name ("ZtStack", "ZTLData.ZtStack") under `name` (UTF-8), or
 * under its class name and a number ("ZtStack1") when name is NULL or "". 429 for a class that is
 * no component; ZTL_E_INVALID_ARG for a name already used. */
ZTL_API int ztl_container_place(ztl_container* container, const char* class_name, const char* name,
                                ztl_object** component);
/* A placed component by name (any case); ZTL_E_NOT_FOUND when there is none. */
ZTL_API int ztl_container_find(ztl_container* container, const char* name, ztl_object** component);
/* The number of placed components, and the one at `index` (from 0) with its name (UTF-8, free
 * it with ztl_free; `name` may be NULL). */
ZTL_API int ztl_container_count(ztl_container* container, size_t* count);
ZTL_API int ztl_container_component(ztl_container* container, size_t index, char** name,
                                    ztl_object** component);
/* Saves the form as text (UTF-8, NUL-terminated; free it with ztl_free). */
ZTL_API int ztl_container_save(ztl_container* container, char** text, size_t* length);
/* Loads a saved form (`length` bytes, or up to the NUL when length is (size_t)-1) into a new
 * container. What cannot be loaded is skipped; `problems` (may be NULL) receives a description,
 * one line each, or "" (free it with ztl_free). */
ZTL_API int ztl_container_load(const char* text, size_t length, ztl_container** container, char** problems);

/* ---- bytes ------------------------------------------------------------------------------ */

/* The byte-oriented operations (CRC-32, run-length coding, the cipher, RSA, EBCDIC) on buffers,
 * as the `ztl` byte tools apply them to files: each byte goes in as the Windows-1252 character of
 * that code and each character of the result comes out as its byte, so all 256 byte values pass
 * both ways.
 *
 * Input: `data` and `length` in bytes; `data` may be NULL when `length` is 0. Except for the
 * CRC, an input holds at most 2147483647 bytes, the longest String (ZTL_E_INVALID_ARG beyond).
 * Output: `*out` gets a new buffer of `*out_length` bytes, followed by a 0 byte that is not
 * counted (so a text result is a C string); free it with ztl_free. An empty result is an
 * empty buffer, never NULL. On failure `*out` is NULL and `*out_length` 0.
 *
 * Example:
 *   uint8_t* packed = NULL;
 *   size_t packed_length = 0;
 *   ztl_rle_compress("aaaaab", 6, &packed, &packed_length);   // 4 bytes: a ~ 0x04 b
 *   ztl_free(packed);
 */

/* The standard CRC-32 polynomial, bit-reflected (that of gzip, ZIP and zlib's crc32). */
#define ZTL_CRC32_POLYNOMIAL 0xEDB88320u

/* The standard CRC-32 of the bytes, continued from `*crc`: set it to 0, then call once per piece
 * of the data; it holds the CRC of everything fed so far ("123456789" gives 0xCBF43926), as
 * zlib's crc32 and `ztl crc32` give it. */
ZTL_API int ztl_crc32(const void* data, size_t length, uint32_t* crc);
/* The CRC register after feeding the bytes through it as ZtCRC32 does (InitCRC32 with
 * `polynomial` and the register, then AddCRC32): `*crc_register` is the register before and
 * after. Start it at 0xFFFFFFFF (or another starting value), feed the pieces, and the finished
 * CRC is ~*crc_register (what GetCRC32 gives), or the register xor another final value.
 * `polynomial` is bit-reflected (bit 31 stands for x^0): ZTL_CRC32_POLYNOMIAL, 0x82F63B78 for
 * CRC-32C. Note: any value is taken, as InitCRC32 takes it; one written the usual way round
 * (0x04C11DB7) gives another CRC. */
ZTL_API int ztl_crc32_add(const void* data, size_t length, uint32_t polynomial, uint32_t* crc_register);

/* Run-length coding as ZtRLE.Compress and Decompress: a run of 3 to 255 equal bytes becomes the
 * byte, '~' and a byte holding the number of further copies; decompress gives every input of
 * compress back. */
ZTL_API int ztl_rle_compress(const void* data, size_t length, uint8_t** out, size_t* out_length);
ZTL_API int ztl_rle_decompress(const void* data, size_t length, uint8_t** out, size_t* out_length);

/* The cipher of ZtEncryption.Encode and Decode under a 32-bit key (every value is a key): as
 * many bytes out as in, and decode with the same key gives the input back. */
ZTL_API int ztl_cipher_encode(const void* data, size_t length, int32_t key, uint8_t** out, size_t* out_length);
ZTL_API int ztl_cipher_decode(const void* data, size_t length, int32_t key, uint8_t** out, size_t* out_length);

/* RSA as ZtRSA.Encode: each byte raised to `exponent` modulo `modulus`, written as decimal
 * digits and '+' ("18249366+12614851+"), as NUL-terminated text in `*text` (free it with
 * ztl_free); `*text_length` (may be NULL) gets its length. Encode with one private key of a
 * ZtRSA key set and decode with the other, both with its PublicKey as the modulus.
 * ZTL_E_INVALID_ARG for an exponent below 1 or a modulus below 256, which cannot give every
 * byte back. */
ZTL_API int ztl_rsa_encode(const void* data, size_t length, int32_t exponent, int32_t modulus, char** text,
                           size_t* text_length);
/* RSA as ZtRSA.Decode: the bytes of such text (`length` bytes, or up to the NUL when length is
 * (size_t)-1), one per token. One line end at the very end is ignored, and text of nothing but
 * blanks gives nothing; a token whose power is no byte value (outside 0..255) gives nothing. The
 * same keys are refused as for encoding. */
ZTL_API int ztl_rsa_decode(const char* text, size_t length, int32_t exponent, int32_t modulus, uint8_t** out,
                           size_t* out_length);

/* EBCDIC as ZtStrings.ASCIIToEBCDIC (encode) and EBCDICToASCII (decode): one byte for one byte,
 * each the exact inverse of the other ("AZaz09" encodes to C1 E9 81 A9 F0 F9). */
ZTL_API int ztl_ebcdic_encode(const void* data, size_t length, uint8_t** out, size_t* out_length);
ZTL_API int ztl_ebcdic_decode(const void* data, size_t length, uint8_t** out, size_t* out_length);

/* ---- the about box ---------------------------------------------------------------------- */

/* Receives the about box's text (UTF-8, `length` bytes) when a component's About runs. */
typedef void (*ztl_about_callback)(const char* text, size_t length, void* user_data);
/* Replaces the about box's display for every thread; NULL restores the default (standard error). */
ZTL_API int ztl_set_about_display(ztl_about_callback callback, void* user_data);

/* ---- device contexts -------------------------------------------------------------------- */

/* A device context for ZtStrings.EllipseText: `font` a fontconfig name ("DejaVu Sans") or
 * "fixed-pitch" (a built-in font in which every character is `pixel_size` pixels wide), at
 * 1..1000 pixels. ZTL_E_NOT_FOUND when the font cannot be loaded; ZTL_E_UNSUPPORTED when this
 * build has no device contexts. */
ZTL_API int ztl_device_context_new(const char* font, int32_t pixel_size, int32_t* hdc);
ZTL_API int ztl_device_context_release(int32_t hdc);

/* ---- entry points ----------------------------------------------------------------------- */

/* The class object of one of the sixteen classes, by class id text (braces optional) or name. */
ZTL_API int ztl_get_class_object(const char* clsid, ztl_class_object** class_object);
/* Makes an instance of a utility class; 429 for a component's class (place it in a container). */
ZTL_API int ztl_class_object_create(ztl_class_object* class_object, ztl_object** object);
ZTL_API int ztl_class_object_release(ztl_class_object* class_object);

/* The registration file's default path: $XDG_DATA_HOME/ztldata/registration, or
 * $HOME/.local/share/ztldata/registration when XDG_DATA_HOME is unset or not absolute. Free the
 * text with ztl_free. */
ZTL_API int ztl_registration_path(char** path);
/* Writes the registration file (the type library's id and version and, for each class, its
 * registered name, class id, interface, threading model and, for the components, miscellaneous
 * status and toolbox bitmap) to `path`, or to the default path when NULL; folders are made as
 * needed and the file is replaced whole. */
ZTL_API int ztl_register_server(const char* path);
/* Removes the registration file at `path` (default when NULL). A missing file is no error; a
 * file that is no registration file of this library is left alone (ZTL_E_IO). */
ZTL_API int ztl_unregister_server(const char* path);
/* *can_unload is 1 when no handle of this interface is alive (objects, arrays, containers, class
 * objects), 0 otherwise. */
ZTL_API int ztl_can_unload_now(int* can_unload);
/* The number of live handles of this interface. */
ZTL_API int ztl_live_handles(size_t* count);

#ifdef __cplusplus
}
#endif

/* ---- implementation details: layout checks ---------------------------------------------- */

/* The layouts the library was built with, checked on the compiler that includes this header:
 * the same on every platform, except the pointer-sized members and the padding before a
 * variant's value, which are checked for 64-bit pointers. */
#if defined(__cplusplus)
#define ZTL_LAYOUT_CHECK(condition, name) static_assert(condition, "ztldata.h: layout of " #name)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define ZTL_LAYOUT_CHECK(condition, name) _Static_assert(condition, "ztldata.h: layout of " #name)
#else /* C99: an array of negative size fails to compile */
#define ZTL_LAYOUT_CHECK(condition, name) typedef char ztl_layout_check_##name[(condition) ? 1 : -1]
#endif

ZTL_LAYOUT_CHECK(sizeof(ztl_char16) == 2, ztl_char16);
ZTL_LAYOUT_CHECK(sizeof(ztl_decimal) == 16 && offsetof(ztl_decimal, hi) == 8 && offsetof(ztl_decimal, scale) == 12 &&
                     offsetof(ztl_decimal, negative) == 13,
                 ztl_decimal);
ZTL_LAYOUT_CHECK(sizeof(ztl_string) == 2 * sizeof(void*) && offsetof(ztl_string, length) == sizeof(void*),
                 ztl_string);
ZTL_LAYOUT_CHECK(offsetof(ztl_variant, owned) == 2 && sizeof(ztl_variant) == offsetof(ztl_variant, value) + 16,
                 ztl_variant);
#if UINTPTR_MAX > 0xFFFFFFFFu
ZTL_LAYOUT_CHECK(offsetof(ztl_variant, value) == 8 && sizeof(ztl_variant) == 24, ztl_variant_64);
#endif

#endif /* ZTLDATA_H */
