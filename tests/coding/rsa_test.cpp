// ZtRSA: the arithmetic against the double-precision routine it replaces, generated key
// sets, the "number+" text both ways, and the keys through placing, saving and loading.

#include "ztldata/coding/rsa.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <numeric>
#include <random>
#include <string>

#include "coding/rsa_math.hpp"
#include "platform/codepage.hpp"

namespace ztl {
namespace {

using coding::InverseMod;
using coding::PowerMod;
using coding::TestPrime;

bool IsPrimeReference(std::int64_t x) {
  if (x < 2) return false;
  for (std::int64_t d = 2; d * d <= x; ++d) {
    if (x % d == 0) return false;
  }
  return true;
}

// The modular power as the original computed it, in doubles with floored remainders.
double DoublePowerMod(double base, double exponent, double m) {
  auto floor_mod = [](double x, double mod) { return mod == 0 ? 0.0 : x - std::floor(x / mod) * mod; };
  double acc = 1;
  while (exponent > 0) {
    while (exponent / 2 == std::floor(exponent / 2)) {
      base = floor_mod(base * base, m);
      exponent = exponent / 2;
    }
    acc = std::nearbyint(floor_mod(acc * base, m));
    exponent = exponent - 1;
  }
  return acc;
}

TEST(TestPrime, SmallAndLargeNumbers) {
  const struct {
    std::int64_t x;
    bool prime;
  } kCases[] = {{-7, false}, {0, false}, {1, false}, {2, false}, {3, true},          {9, false},
                {25, false}, {4001, true}, {4003, true}, {9973, true}, {9999, false}, {99999989, true},
                {99999991, false}};
  for (const auto& c : kCases) EXPECT_EQ(TestPrime(c.x), c.prime) << c.x;
  for (std::int64_t x = 3; x < 20000; x += 2) ASSERT_EQ(TestPrime(x), IsPrimeReference(x)) << x;
}

TEST(InverseMod, GivesTheInverseOfCoprimeNumbers) {
  std::mt19937 random(2);
  for (int i = 0; i < 2000; ++i) {
    const std::int64_t b = 2 + random() % 99000000;
    const std::int64_t a = 1 + random() % 110000000;  // may exceed b, as exponents do
    if (std::gcd(a, b) != 1) continue;
    const std::int64_t d = InverseMod(a, b);
    ASSERT_TRUE(d >= 0 && d < b) << a << " " << b;
    ASSERT_EQ(a % b * d % b, 1 % b) << a << " " << b;
  }
}

TEST(PowerMod, EdgeCases) {
  const struct {
    Long base, exponent, modulus, power;
  } kCases[] = {
      {7, 0, 13, 1},           {7, -3, 13, 1},          {7, 0, 0, 1},
      {7, 5, 1, 0},            {7, 5, -1, 0},           {7, 5, 0, 0},
      {2, 10, 1000, 24},       {2, 3, -5, -2},          {-2, 3, 7, 6},
      {-1, 2, -3, -2},         {65, 2147483647, 2147483647, 65},
      {std::numeric_limits<Long>::min(), 3, std::numeric_limits<Long>::min(), 0},
      {std::numeric_limits<Long>::max(), 2, std::numeric_limits<Long>::min(), -2147483647},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(PowerMod(c.base, c.exponent, c.modulus), c.power) << c.base << " " << c.exponent << " " << c.modulus;
  }
}

TEST(PowerMod, MatchesTheDoubleRoutineWhereThatIsExact) {
  std::mt19937 random(12);
  const Long kLargest = 94906265;
  for (int i = 0; i < 20000; ++i) {
    const Long base = static_cast<Long>(random() % (2 * kLargest + 1)) - kLargest;
    const Long exponent = static_cast<Long>(random()) >> (random() % 31);
    Long modulus = static_cast<Long>(random() % (kLargest + 1));
    if (i % 3 == 0) modulus = -modulus;
    if (i % 5 == 0) modulus %= 300;
    ASSERT_EQ(PowerMod(base, exponent, modulus), DoublePowerMod(base, exponent, modulus))
        << base << " " << exponent << " " << modulus;
  }
}

TEST(Encode, TokensPerCharacter) {
  const struct {
    const char* situation;
    String text;
    Long exponent, modulus;
    String code;
  } kCases[] = {
      {"three characters, three tokens", u"abc", 1, 1000, u"97+98+99+"},
      {"exponent 0", u"ab", 0, 1000, u"1+1+"},
      {"negative exponent", u"ab", -5, 1000, u"1+1+"},
      {"modulus 0", u"ab", 3, 0, u"0+0+"},
      {"modulus 1", u"ab", 3, 1, u"0+0+"},
      {"a negative modulus gives negative numbers", u"A", 3, -7, u"-6+"},
      {"outside the code page reads as ?", u"\u4E00", 1, 1000, u"63+"},
      {"the largest modulus is exact", u"A", 2147483647, 2147483647, u"65+"},
      {"NUL", String(1, u'\0'), 5, 77, u"0+"},
  };
  ZtRSA rsa;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.situation);
    EXPECT_EQ(rsa.Encode(c.text, c.exponent, c.modulus), Variant(c.code));
  }
  EXPECT_TRUE(rsa.Encode(u"", 5, 77).IsEmpty());
  EXPECT_EQ(rsa.Decode(u"", 5, 77), Variant(u""));
}

TEST(Decode, TokenReading) {
  // With exponent 1 and modulus 1000 each token's number comes back modulo 1000.
  const struct {
    const char* situation;
    String code;
    String text;
  } kCases[] = {
      {"plain tokens", u"65+66+", u"AB"},
      {"a trailing fragment is a last token", u"65+66", u"AB"},
      {"no + at all", u"65", u"A"},
      {"blanks inside a number", u" 6 5+", u"A"},
      {"a sign", u"-935+", u"A"},
      {"a leading + is an empty token", u"+65+", String(u"\0A", 2)},
      {"a number that is no Long adds nothing", u"99999999999+65+", u"A"},
      {"a code above 255 adds nothing", u"300+65+", u"A"},
      {"no number reads as 0", u"abc+", String(1, u'\0')},
      {"a fraction rounds half to even", u"2.5+3.5+", u"\x02\x04"},
      {"a fraction with a type suffix adds nothing", u"1.5%+65+", u"A"},
      {"an exponent ends at its +", u"1E+2+", u"\x01\x02"},
      // The second token is read from a stretch as long as the position of its "+", which
      // here reaches past that "+" into the exponent.
      {"an exponent read through", u"7+6E+1+", u"\x07<\x01"},
      {"a code page character", u"128+", u"\u20AC"},
  };
  ZtRSA rsa;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.situation);
    EXPECT_EQ(rsa.Decode(c.code, 1, 1000), Variant(c.text));
  }
}

struct Keys {
  Long e, d, n;
};

Keys KeysOf(const ZtRSA& rsa) { return {rsa.PrivateKey1(), rsa.PrivateKey2(), rsa.PublicKey()}; }

TEST(GenerateKeys, EveryKeySetDecodesWhatItEncodes) {
  String text;
  for (int code = 0; code < 256; ++code) text += platform::AnsiChar(static_cast<Byte>(code));
  text += u"The quick brown fox \u20AC\u2122";
  ZtRSA rsa;
  for (int round = 0; round < 25; ++round) {
    rsa.GenerateKeys();
    const Keys k = KeysOf(rsa);
    SCOPED_TRACE(::testing::Message() << "e " << k.e << ", d " << k.d << ", n " << k.n);
    std::int64_t p = 4001;
    while (p <= 9973 && k.n % p != 0) ++p;
    ASSERT_LE(p, 9973);
    const std::int64_t q = k.n / p;
    EXPECT_TRUE(IsPrimeReference(p) && IsPrimeReference(q));
    EXPECT_NE(p, q);
    EXPECT_TRUE(q >= 4001 && q <= 9973);
    EXPECT_LE(k.n, 94906265);
    const std::int64_t totient = (p - 1) * (q - 1);
    EXPECT_TRUE(IsPrimeReference(k.e));
    EXPECT_GE(k.e, 10000000);
    EXPECT_NE(totient % k.e, 0);
    EXPECT_EQ(std::int64_t{k.e} % totient * k.d % totient, 1);
    for (const auto& [encode, decode] : {std::pair{k.e, k.d}, std::pair{k.d, k.e}}) {
      const Variant code = rsa.Encode(text, encode, k.n);
      ASSERT_TRUE(code.IsString());
      ASSERT_EQ(rsa.Decode(*code.If<String>(), decode, k.n), Variant(text));
    }
  }
}

TEST(Keys, PropertiesMarkTheirChangeButGenerateKeysDoesNot) {
  Container form;
  auto rsa = std::static_pointer_cast<ZtRSA>(form.Place(u"ZtRSA", u"Keys"));
  ASSERT_NE(rsa, nullptr);
  EXPECT_TRUE(form.Changes().empty());  // placing generated keys without marking them
  rsa->PublicKey(12345);
  rsa->PrivateKey1(-5);
  rsa->PrivateKey2(0);
  EXPECT_EQ(rsa->PublicKey(), 12345);
  EXPECT_EQ(rsa->PrivateKey1(), -5);
  rsa->GenerateKeys();
  ASSERT_EQ(form.Changes().size(), 3u);
  EXPECT_EQ(form.Changes()[0].second, u"PublicKey");
  EXPECT_EQ(form.Changes()[1].second, u"PrivateKey1");
  EXPECT_EQ(form.Changes()[2].second, u"PrivateKey2");
}

TEST(Keys, SurviveSavingAndLoading) {
  for (const bool keep_defaults : {false, true}) {
    SCOPED_TRACE(keep_defaults);
    Container form;
    auto rsa = std::static_pointer_cast<ZtRSA>(form.Place(u"ZtRSA"));
    ASSERT_NE(rsa, nullptr);
    const Keys k = KeysOf(*rsa);
    EXPECT_TRUE(k.e != 0 && k.d != 0 && k.n != 0);
    EXPECT_TRUE(rsa->Enabled());
    EXPECT_FALSE(rsa->TabStop());
    rsa->Enabled(false);
    const std::string saved = form.Save(keep_defaults);
    for (const Long key : {k.n, k.e, k.d}) EXPECT_NE(saved.find("Long " + std::to_string(key)), std::string::npos);
    const std::size_t public_at = saved.find("PublicKey = Long");
    const std::size_t first_at = saved.find("PrivateKey1 = Long");
    const std::size_t second_at = saved.find("PrivateKey2 = Long");
    EXPECT_TRUE(public_at < first_at && first_at < second_at && second_at != std::string::npos) << saved;
    EXPECT_EQ(saved.find("Enabled"), std::string::npos) << saved;

    const auto loaded = Container::Load(saved);
    auto back = std::static_pointer_cast<ZtRSA>(loaded->Find(u"ZtRSA1"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->PublicKey(), k.n);
    EXPECT_EQ(back->PrivateKey1(), k.e);
    EXPECT_EQ(back->PrivateKey2(), k.d);
    EXPECT_TRUE(back->Enabled());  // not saved, so back at its initial True
    EXPECT_FALSE(back->TabStop());
    EXPECT_EQ(loaded->Changes().size(), 3u);  // each key set through its property
  }
  // Keys set to 0 are saved too.
  Container form;
  auto rsa = std::static_pointer_cast<ZtRSA>(form.Place(u"ZtRSA"));
  rsa->PublicKey(0);
  EXPECT_NE(form.Save().find("PublicKey = Long 0"), std::string::npos);
}

TEST(Keys, ABadSavedValueFailsOnlyItsOwnStep) {
  const std::string document =
      "ZTLData form 1\n"
      "Begin ZTLData.ZtRSA K\n"
      "  PublicKey = String \"abc\"\n"
      "  PrivateKey1 = String \"  17 \"\n"
      "  PrivateKey2 = Double 1E+20\n"
      "End\n"
      "Begin ZTLData.ZtRSA L\n"
      "End\n";
  const auto form = Container::Load(document);
  auto k = std::static_pointer_cast<ZtRSA>(form->Find(u"K"));
  auto l = std::static_pointer_cast<ZtRSA>(form->Find(u"L"));
  ASSERT_TRUE(k && l);
  EXPECT_EQ(k->PublicKey(), 0);
  EXPECT_EQ(k->PrivateKey1(), 17);
  EXPECT_EQ(k->PrivateKey2(), 0);
  EXPECT_FALSE(k->TabStop());
  EXPECT_EQ(l->PublicKey(), 0);  // missing keys read as their default 0
  EXPECT_EQ(l->PrivateKey1(), 0);
}

}  // namespace
}  // namespace ztl
