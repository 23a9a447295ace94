// ZtEncryption: the interface table of the component, and the characters' ANSI codes to and
// from the cipher's passes (cipher_passes.cpp), which the byte forms run on directly.

#include "ztldata/coding/encryption.hpp"

#include <array>
#include <cstdint>
#include <vector>

#include "coding/cipher_passes.hpp"
#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "ztldata/platform/code_page.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kBufferKey[] = {In("strBuffer", Type::String), In("lngKey", Type::Long)};

constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    Method<&ZtEncryption::Encode>("Encode", 0x60030004, kBufferKey, Type::String),
    Method<&ZtEncryption::Decode>("Decode", 0x60030005, kBufferKey, Type::String),
};

}  // namespace

const ClassInfo kZtEncryptionClass = DefineClass<ZtEncryption, "ZtEncryption">(
    ClassKind::Component, {ids::kZtEncryptionClass, ids::kZtEncryptionInterface, ids::kZtEncryptionEvents}, kMembers);

const ClassInfo* ZtEncryption::Class() const noexcept { return &kZtEncryptionClass; }

namespace {

std::vector<std::uint8_t> CodesOf(const String& text) {
  std::vector<std::uint8_t> codes(text.size());
  StringToAnsiBytes(text.data(), text.size(), codes.data());
  return codes;
}

String TextOf(const std::vector<std::uint8_t>& codes) {
  static const std::array<char16_t, 256> kCharacters = [] {
    std::array<char16_t, 256> table{};
    for (std::size_t code = 0; code < table.size(); ++code) table[code] = AnsiChar(static_cast<Byte>(code));
    return table;
  }();
  String out(codes.size(), u' ');
  for (std::size_t i = 0; i < codes.size(); ++i) out[i] = kCharacters[codes[i]];
  return out;
}

}  // namespace

String ZtEncryption::Encode(const String& strBuffer, Long lngKey) noexcept {
  return Guarded(String(), [&] {
    std::vector<std::uint8_t> codes = CodesOf(strBuffer);
    CipherEncodeBytes(codes, lngKey);
    return TextOf(codes);
  });
}

String ZtEncryption::Decode(const String& strBuffer, Long lngKey) noexcept {
  return Guarded(String(), [&] {
    std::vector<std::uint8_t> codes = CodesOf(strBuffer);
    CipherDecodeBytes(codes, lngKey);
    return TextOf(codes);
  });
}

void CipherEncodeBytes(std::span<Byte> codes, Long lngKey) noexcept {
  coding::EncodePasses(codes.data(), codes.size(), lngKey);
}

void CipherDecodeBytes(std::span<Byte> codes, Long lngKey) noexcept {
  coding::DecodePasses(codes.data(), codes.size(), lngKey);
}

}  // namespace ztl
