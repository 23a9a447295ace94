// The class descriptions of the type library, each defined beside its class, listed here so
// that the registry can gather them.
#pragma once

#include "ztldata/frame/typelib.hpp"

namespace ztl {

// Utility classes.
extern const ClassInfo kZtArraysClass;
extern const ClassInfo kZtBasesClass;
extern const ClassInfo kZtConversionClass;
extern const ClassInfo kZtCollectionsClass;
extern const ClassInfo kZtDateClass;
extern const ClassInfo kZtDataClass;
extern const ClassInfo kZtNumericClass;
extern const ClassInfo kZtObjectsClass;
extern const ClassInfo kZtStringsClass;

// Components.
extern const ClassInfo kZtBitsClass;
extern const ClassInfo kZtStackClass;
extern const ClassInfo kZtTokenClass;
extern const ClassInfo kZtRLEClass;
extern const ClassInfo kZtEncryptionClass;
extern const ClassInfo kZtCRC32Class;
extern const ClassInfo kZtRSAClass;

// The host's collection object: dispatchable, but not a class of the library's registry.
extern const ClassInfo kCollectionClass;

}  // namespace ztl
