// The registry of the type library: the sixteen classes, lookup of classes and members by
// name or dispatch id, and the names of the declared types.

#include "ztldata/frame/typelib.hpp"

#include "classes.hpp"
#include "identities.hpp"
#include "type_rows.hpp"
#include "ztldata/platform/names.hpp"

namespace ztl {

namespace {

constexpr const ClassInfo* kClasses[] = {
    &kZtArraysClass, &kZtBasesClass,   &kZtConversionClass, &kZtCollectionsClass,
    &kZtDateClass,   &kZtDataClass,    &kZtNumericClass,    &kZtObjectsClass,
    &kZtStringsClass, &kZtBitsClass,   &kZtStackClass,      &kZtTokenClass,
    &kZtRLEClass,    &kZtEncryptionClass, &kZtCRC32Class,   &kZtRSAClass,
};

constexpr EnumConstant kEllipseText[] = {{"ztlEllipsePath", ztlEllipsePath}, {"ztlEllipseEnd", ztlEllipseEnd}};
constexpr EnumConstant kStackStrategy[] = {{"ztlStackFIFO", ztlStackFIFO}, {"ztlStackLIFO", ztlStackLIFO}};
constexpr EnumInfo kEnumerations[] = {{"ztlEllipseText", kEllipseText}, {"ztlStackStrategy", kStackStrategy}};

constexpr LibraryInfo kLibrary = {"ZTLData", ids::kLibrary, 1, 4, 1033};

// Whether a member of this kind answers a call of that kind: a method call also reaches a
// property get and the other way round, as automation allows; a let reaches only a let.
bool Answers(MemberKind member, MemberKind call) {
  if (member == call) return true;
  return member != MemberKind::PropertyLet && call != MemberKind::PropertyLet;
}

template <class Matches>
const MemberInfo* Find(const ClassInfo& info, MemberKind kind, Matches matches) {
  const MemberInfo* fallback = nullptr;
  for (const MemberInfo& m : info.members) {
    if (!matches(m) || !Answers(m.kind, kind)) continue;
    if (m.kind == kind) return &m;
    if (!fallback) fallback = &m;
  }
  return fallback;
}

}  // namespace

const LibraryInfo& Library() noexcept { return kLibrary; }

std::span<const ClassInfo* const> Classes() noexcept { return kClasses; }

std::span<const EnumInfo> Enumerations() noexcept { return kEnumerations; }

const ClassInfo* FindClass(const Guid& clsid) noexcept {
  for (const ClassInfo* info : kClasses) {
    if (info->clsid == clsid) return info;
  }
  return nullptr;
}

const ClassInfo* FindClass(std::u16string_view name) noexcept {
  constexpr std::string_view kPrefix = "ZTLData.";
  if (name.size() > kPrefix.size() && EqualsIgnoringAsciiCase(name.substr(0, kPrefix.size()), kPrefix)) {
    name.remove_prefix(kPrefix.size());
  }
  for (const ClassInfo* info : kClasses) {
    if (EqualsIgnoringAsciiCase(name, info->name)) return info;
  }
  return nullptr;
}

const MemberInfo* FindMember(const ClassInfo& info, std::u16string_view name, MemberKind kind) noexcept {
  return Find(info, kind, [&](const MemberInfo& m) { return EqualsIgnoringAsciiCase(name, m.name); });
}

const MemberInfo* FindMember(const ClassInfo& info, std::string_view utf8_name, MemberKind kind) noexcept {
  return Find(info, kind, [&](const MemberInfo& m) { return EqualsIgnoringAsciiCase(utf8_name, m.name); });
}

const MemberInfo* FindMember(const ClassInfo& info, DispId dispid, MemberKind kind) noexcept {
  // Most members are numbered in table order from a base whose low 16 bits are 0, so the member
  // at the id's low bits is tried first. A class has one member per id and kind, so a hit is
  // the member the scan would find.
  const std::size_t guess = static_cast<std::uint32_t>(dispid) & 0xFFFFu;
  if (guess < info.members.size()) {
    const MemberInfo& m = info.members[guess];
    if (m.dispid == dispid && m.kind == kind) return &m;
  }
  return Find(info, kind, [&](const MemberInfo& m) { return m.dispid == dispid; });
}

bool CarriesBytes(const ClassInfo& info, const MemberInfo& member) noexcept {
  struct Operation {
    std::string_view class_name, member;
  };
  static constexpr Operation kByteOperations[] = {
      {"ZtCRC32", "AddCRC32"},        {"ZtRLE", "Compress"},        {"ZtRLE", "Decompress"},
      {"ZtEncryption", "Encode"},     {"ZtEncryption", "Decode"},   {"ZtRSA", "Encode"},
      {"ZtRSA", "Decode"},            {"ZtStrings", "ASCIIToEBCDIC"}, {"ZtStrings", "EBCDICToASCII"},
  };
  if (member.kind != MemberKind::Method) return false;
  for (const Operation& operation : kByteOperations) {
    if (operation.class_name == info.name && operation.member == member.name) return true;
  }
  return false;
}

std::string_view TypeName(Type type) noexcept { return RowOf(type).name; }

}  // namespace ztl
