// ZtCRC32: the interface table of the component and its three CRC steps. The register work
// is CrcEngine's (crc32_engine.cpp); this file turns texts into ANSI bytes for it.

#include "ztldata/coding/crc32.hpp"

#include <algorithm>
#include <cstdint>

#include "coding/crc32_engine.hpp"
#include "ztldata/platform/code_page.hpp"

#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kInit[] = {In("lngSeed", Type::Long), In("lngPrecondition", Type::Long)};
constexpr ParamInfo kAdd[] = {In("strBuffer", Type::String), In("lngPrevCRC32", Type::Long)};
constexpr ParamInfo kGet[] = {In("lngCRC32", Type::Long)};

constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    Method<&ZtCRC32::InitCRC32>("InitCRC32", 0x60030005, kInit, Type::Long),
    Method<&ZtCRC32::AddCRC32>("AddCRC32", 0x60030006, kAdd, Type::Long),
    Method<&ZtCRC32::GetCRC32>("GetCRC32", 0x60030007, kGet, Type::Long),
};

}  // namespace

const ClassInfo kZtCRC32Class = DefineClass<ZtCRC32, "ZtCRC32">(
    ClassKind::Component, {ids::kZtCRC32Class, ids::kZtCRC32Interface, ids::kZtCRC32Events}, kMembers);

const ClassInfo* ZtCRC32::Class() const noexcept { return &kZtCRC32Class; }

ZtCRC32::ZtCRC32() noexcept = default;
ZtCRC32::~ZtCRC32() = default;

Long ZtCRC32::InitCRC32(Long lngSeed, Long lngPrecondition) noexcept {
  // Without memory for the tables the component stays as it was.
  Guarded([&] {
    if (!engine_) engine_ = std::make_unique<coding::CrcEngine>();
    engine_->Build(static_cast<std::uint32_t>(lngSeed));
  });
  return lngPrecondition;
}

Long ZtCRC32::AddCRC32(const String& strBuffer, Long lngPrevCRC32) noexcept {
  auto crc = static_cast<std::uint32_t>(lngPrevCRC32);
  const char16_t* text = strBuffer.data();
  std::size_t n = strBuffer.size();
  if (!engine_) {
    // The all-zero table of a component not yet initialised: each character only shifts the
    // register right by 8 bits.
    return static_cast<Long>(n >= 4 ? 0 : crc >> (8 * n));
  }
  // The text goes through in pieces: ANSI bytes into a buffer that stays in the cache, then
  // the register over the buffer.
  constexpr std::size_t kPiece = 8192;
  std::uint8_t bytes[kPiece];
  while (n > 0) {
    const std::size_t m = std::min(n, kPiece);
    StringToAnsiBytes(text, m, bytes);
    crc = engine_->Update(crc, bytes, m);
    text += m;
    n -= m;
  }
  return static_cast<Long>(crc);
}

Long ZtCRC32::GetCRC32(Long lngCRC32) noexcept { return ~lngCRC32; }

Long ZtCRC32::Table(std::size_t i) const noexcept {
  return engine_ ? static_cast<Long>(engine_->Table(i)) : 0;
}

}  // namespace ztl
