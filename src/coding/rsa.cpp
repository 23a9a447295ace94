// ZtRSA: the interface table of the component, key generation, the "number+" cipher text
// and what the component saves. The arithmetic is in rsa_math.hpp.

#include "ztldata/coding/rsa.hpp"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "coding/rsa_math.hpp"
#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "platform/number_text.hpp"
#include "platform/random_generator.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/platform/code_page.hpp"
#include "ztldata/platform/random.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kKeyLet[] = {NewValue(Type::Long)};
constexpr ParamInfo kCoding[] = {In("strBuffer", Type::String), In("lngPrivateKey", Type::Long),
                                 In("lngPublicKey", Type::Long)};

constexpr auto kPublicKeyGet = Pick<Long() const noexcept>(&ZtRSA::PublicKey);
constexpr auto kPublicKeyLet = Pick<void(Long) noexcept>(&ZtRSA::PublicKey);
constexpr auto kPrivateKey1Get = Pick<Long() const noexcept>(&ZtRSA::PrivateKey1);
constexpr auto kPrivateKey1Let = Pick<void(Long) noexcept>(&ZtRSA::PrivateKey1);
constexpr auto kPrivateKey2Get = Pick<Long() const noexcept>(&ZtRSA::PrivateKey2);
constexpr auto kPrivateKey2Let = Pick<void(Long) noexcept>(&ZtRSA::PrivateKey2);

// Methods and properties are numbered in two series (0x6003xxxx and 0x6803xxxx).
constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    PropertyGet<kPublicKeyGet>("PublicKey", 0x68030002, {}, Type::Long),
    PropertyLet<kPublicKeyLet>("PublicKey", 0x68030002, kKeyLet),
    PropertyGet<kPrivateKey1Get>("PrivateKey1", 0x68030001, {}, Type::Long),
    PropertyLet<kPrivateKey1Let>("PrivateKey1", 0x68030001, kKeyLet),
    PropertyGet<kPrivateKey2Get>("PrivateKey2", 0x68030000, {}, Type::Long),
    PropertyLet<kPrivateKey2Let>("PrivateKey2", 0x68030000, kKeyLet),
    Method<&ZtRSA::GenerateKeys>("GenerateKeys", 0x60030007, {}, Type::Void),
    Method<&ZtRSA::Encode>("Encode", 0x60030008, kCoding, Type::Variant),
    Method<&ZtRSA::Decode>("Decode", 0x60030009, kCoding, Type::Variant),
};

}  // namespace

const ClassInfo kZtRSAClass = DefineClass<ZtRSA, "ZtRSA">(
    ClassKind::Component, {ids::kZtRSAClass, ids::kZtRSAInterface, ids::kZtRSAEvents}, kMembers);

const ClassInfo* ZtRSA::Class() const noexcept { return &kZtRSAClass; }

namespace {

// The largest modulus whose squares of residues are exact in double arithmetic; key sets
// stay at or below it, so the programs that decode with doubles read them too.
constexpr std::int64_t kLargestModulus = 94906265;

enum Slot { kExponent = 0, kInverse = 1, kModulus = 2 };

// Draws the exponent: a prime of at least 10000000, counted upward one by one from a random
// start, that does not divide the totient.
std::int64_t ChooseExponent(std::int64_t totient) {
  RandomizeFromClock();
  std::int64_t e = platform::RandomBetween(10000000, 99999999);
  for (;;) {
    const std::int64_t g = (totient % e) % e;
    const bool prime = coding::TestPrime(e);
    if (g != 0 && prime) return e;
    ++e;
  }
}

// The decimal text of a whole number.
void AppendNumber(String& out, Long v) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
  out.append(digits, end);
}

// The leading number of a token, read like Val, as a Long: a type mismatch for a text Val
// does not read (or no memory to read it), an overflow for a number outside the Long range.
Outcome<Long> TokenNumber(std::u16string_view token) noexcept {
  const std::optional<double> number = Guarded(std::optional<double>(), [&] { return platform::Val(token); });
  if (!number) return Fail(kTypeMismatch);
  return RoundToLong(*number);
}

// Remembers recent powers: a text of n characters has at most 256 different codes, and its
// cipher text as many different tokens.
class PowerCache {
 public:
  PowerCache(Long exponent, Long modulus) : exponent_(exponent), modulus_(modulus) {}
  Long Power(Long base) {
    Entry& entry = entries_[(static_cast<std::uint32_t>(base) * 2654435761u) >> 22];
    if (!entry.used || entry.base != base) entry = {true, base, coding::PowerMod(base, exponent_, modulus_)};
    return entry.power;
  }

 private:
  struct Entry {
    bool used = false;
    Long base = 0;
    Long power = 0;
  };
  Long exponent_, modulus_;
  std::array<Entry, 1024> entries_{};
};

}  // namespace

Long ZtRSA::PublicKey() const noexcept { return Key(kModulus); }
Long ZtRSA::PrivateKey1() const noexcept { return Key(kExponent); }
Long ZtRSA::PrivateKey2() const noexcept { return Key(kInverse); }

void ZtRSA::PublicKey(Long value) noexcept {
  keys_[kModulus] = value;
  PropertyChanged(u"PublicKey");
}

void ZtRSA::PrivateKey1(Long value) noexcept {
  keys_[kExponent] = value;
  PropertyChanged(u"PrivateKey1");
}

void ZtRSA::PrivateKey2(Long value) noexcept {
  keys_[kInverse] = value;
  PropertyChanged(u"PrivateKey2");
}

Long ZtRSA::Key(int slot) const noexcept {
  // A key beyond the Long range reads as 0.
  return RoundToLong(keys_[slot]).value_or(0);
}

void ZtRSA::GenerateKeys() noexcept {
  std::int64_t p = 0, q = 0;
  RandomizeFromClock();
  // Both numbers are tested on every pass and both redrawn whenever the pair does not do:
  // two different primes whose product is at most the largest exact modulus.
  for (;;) {
    const bool p_prime = coding::TestPrime(p);
    const bool q_prime = coding::TestPrime(q);
    if (p_prime && q_prime && p != q && p * q <= kLargestModulus) break;
    p = platform::RandomBetween(4000, 9999);
    q = platform::RandomBetween(4000, 9999);
  }
  prime_p_ = static_cast<Double>(p);
  prime_q_ = static_cast<Double>(q);
  const std::int64_t n = p * q;
  const std::int64_t totient = (p - 1) * (q - 1);
  totient_ = static_cast<Double>(totient);
  const std::int64_t e = ChooseExponent(totient);
  const std::int64_t d = coding::InverseMod(e, totient);
  keys_[kExponent] = static_cast<Double>(e);
  keys_[kInverse] = static_cast<Double>(d);
  keys_[kModulus] = static_cast<Double>(n);
}

Variant ZtRSA::Encode(const String& strBuffer, Long lngPrivateKey, Long lngPublicKey) noexcept {
  if (strBuffer.empty()) return Variant();  // Empty, not ""
  return Guarded(Variant(), [&] {
    PowerCache powers(lngPrivateKey, lngPublicKey);
    String out;
    out.reserve(strBuffer.size() * 9);
    for (const char16_t c : strBuffer) {
      AppendNumber(out, powers.Power(AnsiCode(c)));
      out.push_back(u'+');
    }
    return Variant(std::move(out));
  });
}

Variant ZtRSA::Decode(const String& strBuffer, Long lngPrivateKey, Long lngPublicKey) noexcept {
  // Running out of memory ends the decoding where it was; the text so far is the result.
  String out;
  Guarded([&] {
    PowerCache powers(lngPrivateKey, lngPublicKey);
    const std::u16string_view text(strBuffer);
    std::size_t i = 0;
    while (i < text.size()) {
      // A token runs from i to the next "+"; it is read from a stretch as long as the 1-based
      // position of that "+", as the number reader always was, so a "+" that continues an
      // exponent ("1E+5") is read through. Text after the last "+" is a last token.
      const std::size_t plus = text.find(u'+', i);
      const std::u16string_view token =
          plus == std::u16string_view::npos ? text.substr(i) : text.substr(i, plus + 1);
      i = plus == std::u16string_view::npos ? text.size() : plus + 1;
      const Outcome<Long> v = TokenNumber(token);
      if (!v) continue;  // a number that is no Long adds nothing
      const Long code = powers.Power(*v);
      if (code >= 0 && code <= 255) out.push_back(AnsiChar(static_cast<Byte>(code)));
    }
  });
  return out;
}

void ZtRSA::InitProperties() noexcept {
  GenerateKeys();
  TabStop(false);
}

void ZtRSA::ReadProperties(const PropertyBag& bag) noexcept {
  // Each key that does not convert fails only its own step; the key keeps its value.
  Guarded([&] {
    if (const auto key = ToLong(bag.ReadProperty(u"PublicKey", Integer{0}))) PublicKey(*key);
  });
  Guarded([&] {
    if (const auto key = ToLong(bag.ReadProperty(u"PrivateKey1", Integer{0}))) PrivateKey1(*key);
  });
  Guarded([&] {
    if (const auto key = ToLong(bag.ReadProperty(u"PrivateKey2", Integer{0}))) PrivateKey2(*key);
  });
  TabStop(false);
}

void ZtRSA::WriteProperties(PropertyBag& bag) noexcept {
  // No defaults: the three keys are always saved. "Enabled" is not.
  Guarded([&] { bag.WriteProperty(u"PublicKey", PublicKey()); });
  Guarded([&] { bag.WriteProperty(u"PrivateKey1", PrivateKey1()); });
  Guarded([&] { bag.WriteProperty(u"PrivateKey2", PrivateKey2()); });
}

}  // namespace ztl
