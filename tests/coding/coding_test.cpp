// ZtCRC32, ZtEncryption, ZtRLE and ZtRSA beyond the vector corpus: CRCs against zlib and a
// bit-at-a-time register; round trips of the cipher, the run-length coder and generated RSA
// keys over generated data; the fast paths against the plain ones; the coder against a stream
// model; the RSA arithmetic against trial division and the double-precision routine it
// replaces; and RSA keys through saving and loading a form (hostile saved values too).

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <tuple>

#include "coding/cipher_passes.hpp"
#include "coding/crc32_engine.hpp"
#include "coding/rsa_math.hpp"
#include "ztldata/coding/crc32.hpp"
#include "ztldata/coding/encryption.hpp"
#include "ztldata/coding/rle.hpp"
#include "ztldata/coding/rsa.hpp"
#include "ztldata/platform/code_page.hpp"

namespace ztl {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The given values followed by n drawn ones.
template <typename T>
std::vector<T> AndRandom(std::mt19937& random, std::vector<T> values, int n) {
  while (n-- > 0) values.push_back(static_cast<T>(random()));
  return values;
}

Bytes RandomBytes(std::mt19937& random, std::size_t n, unsigned limit = 256) {
  Bytes bytes(n);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random() % limit);
  return bytes;
}

// The text whose ANSI bytes are the given bytes.
String TextOf(const Bytes& bytes) {
  String text;
  for (const std::uint8_t b : bytes) text += AnsiChar(b);
  return text;
}

// The reflected register one bit at a time: the definition, with no table.
std::uint32_t BitwiseCrc(std::uint32_t polynomial, std::uint32_t crc, const Bytes& bytes) {
  for (const std::uint8_t b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ polynomial : crc >> 1;
  }
  return crc;
}

TEST(ZtCRC32, AgreesWithZlib) {
  std::mt19937 random(3);
  ZtCRC32 crc;
  auto standard = [&](const String& text) {  // polynomial 0xEDB88320
    return static_cast<std::uint32_t>(crc.GetCRC32(crc.AddCRC32(text, crc.InitCRC32(-306674912, -1))));
  };
  auto zlib = [](const Bytes& b) { return static_cast<std::uint32_t>(crc32(0, b.data(), static_cast<uInt>(b.size()))); };
  for (std::size_t i = 0; i <= 340; ++i) {  // every length to 299, then longer ones
    const std::size_t n = i < 300 ? i : i < 340 ? random() % 40000 : 1 << 20;
    const Bytes bytes = RandomBytes(random, n, n % 2 ? 128 : 256);  // plain ASCII takes a fast path
    ASSERT_EQ(standard(TextOf(bytes)), zlib(bytes)) << n;
  }
  EXPECT_EQ(standard(u"\xD800" u"a\xDFFF"), zlib({'?', 'a', '?'}));  // lone surrogates
}

// Any polynomial (without the x^0 term, 0 and all ones too), any start, any length: the
// component, fed whole or in pieces, and every path of the engine give the bitwise register.
TEST(ZtCRC32, AnyPolynomialGivesTheBitwiseRegister) {
  using Path = coding::CrcEngine::Path;
  std::mt19937 random(8);
  ZtCRC32 crc;
  coding::CrcEngine engine;
  for (const std::uint32_t polynomial :
       AndRandom<std::uint32_t>(random, {0, 1, 0x80000000, 0xEDB88320, 0x82F63B78, 0xFFFFFFFF}, 30)) {
    engine.Build(polynomial);
    const auto start = static_cast<std::uint32_t>(random());
    ASSERT_EQ(crc.InitCRC32(static_cast<Long>(polynomial), static_cast<Long>(start)), static_cast<Long>(start));
    for (int round = 0; round < 30; ++round) {
      const Bytes bytes = RandomBytes(random, round < 20 ? 60 + round * 3 : random() % 3000);
      const std::uint32_t expected = BitwiseCrc(polynomial, start, bytes);
      SCOPED_TRACE(::testing::Message() << std::hex << "polynomial " << polynomial << ", length 0x" << bytes.size());
      for (const Path path : {Path::kBytewise, Path::kSlicing, Path::kFolding})
        ASSERT_EQ(engine.Update(start, bytes.data(), bytes.size(), path), expected);
      ASSERT_EQ(engine.Update(start, bytes.data(), bytes.size()), expected);
      const String text = TextOf(bytes);
      ASSERT_EQ(static_cast<std::uint32_t>(crc.AddCRC32(text, static_cast<Long>(start))), expected);
      Long pieces = static_cast<Long>(start);
      for (std::size_t at = 0, n = 0; at < text.size(); at += n) {
        n = std::min<std::size_t>(text.size() - at, random() % 200);
        pieces = crc.AddCRC32(text.substr(at, n), pieces);
      }
      ASSERT_EQ(static_cast<std::uint32_t>(pieces), expected);
    }
  }
}

TEST(ZtEncryption, DecodeUndoesEncodeUnderEveryKey) {
  std::mt19937 random(9);
  ZtEncryption cipher;
  for (const Long key : AndRandom<Long>(random, {0, -1, -12, -232, -233, INT32_MIN, INT32_MAX}, 200)) {
    const String text = TextOf(RandomBytes(random, random() % 300)), code = cipher.Encode(text, key);
    ASSERT_EQ(code.size(), text.size()) << key;
    ASSERT_EQ(cipher.Decode(code, key), text) << key;
  }
  // A long text, and characters outside the code page (a lone surrogate too) that read as
  // question marks.
  const String text = TextOf(RandomBytes(random, 100000));
  EXPECT_EQ(cipher.Decode(cipher.Encode(text, -777), -777), text);
  EXPECT_EQ(cipher.Encode(u"a\u4E00b\xD800", 99), cipher.Encode(u"a?b?", 99));
}

// Every way of running the encoding passes against the position-at-a-time loops (a way this
// processor cannot run takes the loops): keys giving even, odd and negative multipliers;
// lengths of none to three, around one and two 64-position blocks and the eight and sixteen
// blocks the pipeline keeps, and long.
TEST(ZtEncryption, PlanePassesGiveTheLoopsResult) {
  std::mt19937 random(10);
  std::vector<std::size_t> lengths = {0,   1,   2,   3,    64,   65,   66,   67,   128,  129,
                                      130, 131, 513, 514, 515, 1025, 1026, 1027, 20000};
  for (int i = 0; i < 12; ++i) lengths.push_back(random() % 5000);
  for (const auto path : {coding::PassPath::kPlanes32, coding::PassPath::kPlanes64}) {
    for (const Long key : AndRandom<Long>(random, {0, 1, -1, -20, 232, 233, INT32_MIN}, 40)) {
      for (const std::size_t length : lengths) {
        Bytes planes = RandomBytes(random, length), loops = planes;
        coding::EncodePasses(planes.data(), length, key, path);
        coding::EncodePasses(loops.data(), length, key, coding::PassPath::kLoops);
        ASSERT_EQ(planes, loops) << "path " << static_cast<int>(path) << ", key " << key << ", length " << length;
      }
    }
  }
}

// The coder as a stream, written independently of the run-at-a-time coder, for texts without
// "~": each character compared with the one before and after, a pending count flushed when the
// run ends or reaches 254.
String StreamCompress(const String& in) {
  String out;
  int count = 0;
  bool in_run = false;
  auto flush = [&] { out += count > 0 ? String{u'~', AnsiChar(static_cast<Byte>(count))} : u""; count = 0; };
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (!in_run || in[i] != in[i - 1]) {  // a new run
      flush(), out += in[i], in_run = true;
    } else if ((i + 1 == in.size() || in[i + 1] != in[i]) && count == 0) {  // a run of two
      out += in[i];
    } else if (++count == 254) {  // the longest count: the next character starts a run
      flush(), in_run = false;
    }
  }
  flush();
  return out;
}

TEST(ZtRLE, RoundTripsGeneratedTexts) {
  std::mt19937 random(71);
  ZtRLE rle;
  for (int round = 0; round < 300; ++round) {
    // Long runs of a few characters, NULs, lone surrogates and (every other round) tildes among
    // them, of lengths beyond 32767 too.
    const bool with_tildes = round % 2 == 1;
    const String alphabet = with_tildes ? String(u"ab~\u20AC\0\xD800", 6) : String(u"ab\u20AC\0\xD800Z", 6);
    String text;
    for (const std::size_t length = random() % 4 == 0 ? 33000 + random() % 2000 : random() % 700; text.size() < length;) {
      const char16_t c = alphabet[random() % 6];
      text.append(random() % 3 == 0 ? random() % 600 : 1 + random() % 3, c);
    }
    const String packed = rle.Compress(text);
    ASSERT_EQ(rle.Decompress(packed), text) << "round " << round;
    if (with_tildes) continue;
    EXPECT_EQ(packed, StreamCompress(text)) << "round " << round;
    EXPECT_LE(packed.size(), text.size()) << "round " << round;
  }
}

bool IsPrime(std::int64_t x) {
  std::int64_t d = 2;
  while (d * d <= x && x % d != 0) ++d;
  return x >= 2 && d * d > x;
}

// The modular power as the original computed it, in doubles with floored remainders.
double DoublePowerMod(double base, double exponent, double m) {
  auto floor_mod = [](double x, double mod) { return mod == 0 ? 0.0 : x - std::floor(x / mod) * mod; };
  double acc = 1;
  for (; exponent > 0; exponent = exponent - 1) {
    for (; exponent / 2 == std::floor(exponent / 2); exponent = exponent / 2) base = floor_mod(base * base, m);
    acc = std::nearbyint(floor_mod(acc * base, m));
  }
  return acc;
}

TEST(ZtRSA, ArithmeticAgreesWithTrialDivisionAndTheDoubleRoutine) {
  for (std::int64_t x = -7; x < 20000; ++x) ASSERT_EQ(coding::TestPrime(x), x != 2 && IsPrime(x)) << x;
  EXPECT_TRUE(coding::TestPrime(99999989));
  EXPECT_FALSE(coding::TestPrime(99999991));
  std::mt19937 random(12);
  const Long kLargest = 94906265;  // where the double routine is still exact
  for (int i = 0; i < 20000; ++i) {
    const Long base = static_cast<Long>(random() % (2 * kLargest + 1)) - kLargest;
    const Long exponent = static_cast<Long>(random()) >> (random() % 31);
    Long modulus = static_cast<Long>(random() % (kLargest + 1)) * (i % 3 == 0 ? -1 : 1);
    if (i % 5 == 0) modulus %= 300;
    ASSERT_EQ(coding::PowerMod(base, exponent, modulus), DoublePowerMod(base, exponent, modulus))
        << base << " " << exponent << " " << modulus;
  }
}

TEST(ZtRSA, EveryGeneratedKeySetDecodesWhatItEncodes) {
  String text = u"The quick brown fox \u20AC\u2122";
  for (int code = 0; code < 256; ++code) text += AnsiChar(static_cast<Byte>(code));
  ZtRSA rsa;
  for (int round = 0; round < 25; ++round) {
    rsa.GenerateKeys();
    const Long e = rsa.PrivateKey1(), d = rsa.PrivateKey2(), n = rsa.PublicKey();
    SCOPED_TRACE(::testing::Message() << "e " << e << ", d " << d << ", n " << n);
    std::int64_t p = 4001;  // the key is the product of two primes from 4001 to 9973
    while (p <= 9973 && n % p != 0) ++p;
    const std::int64_t q = n / p, totient = (p - 1) * (q - 1);
    ASSERT_LE(p, 9973);
    ASSERT_NE(p, q);
    ASSERT_GE(q, 4001);
    ASSERT_LE(q, 9973);
    ASSERT_TRUE(IsPrime(p));
    ASSERT_TRUE(IsPrime(q));
    EXPECT_TRUE(IsPrime(e));
    EXPECT_GE(e, 10000000);
    EXPECT_NE(totient % e, 0);
    EXPECT_EQ(std::int64_t{e} % totient * d % totient, 1);
    for (const auto& [encode, decode] : {std::pair{e, d}, std::pair{d, e}}) {
      const Variant code = rsa.Encode(text, encode, n);
      ASSERT_TRUE(code.IsString());
      ASSERT_EQ(rsa.Decode(*code.If<String>(), decode, n), Variant(text));
    }
  }
}

TEST(ZtRSA, KeysSurviveSavingAndLoading) {
  auto keys_of = [](const ZtRSA& r) { return std::tuple{r.PublicKey(), r.PrivateKey1(), r.PrivateKey2()}; };
  for (const bool keep_defaults : {false, true}) {
    Container form;
    auto rsa = std::static_pointer_cast<ZtRSA>(form.Place(u"ZtRSA"));
    EXPECT_TRUE(form.Changes().empty());  // placing generates keys without marking them
    const auto keys = keys_of(*rsa);
    rsa->Enabled(false);  // Enabled is not saved
    const std::string saved = form.Save(keep_defaults);
    EXPECT_EQ(saved, "ZTLData form 1\nBegin ZTLData.ZtRSA ZtRSA1\n    PublicKey = Long " +
                         std::to_string(std::get<0>(keys)) + "\n    PrivateKey1 = Long " + std::to_string(std::get<1>(keys)) +
                         "\n    PrivateKey2 = Long " + std::to_string(std::get<2>(keys)) + "\nEnd\n");
    const auto loaded = Container::Load(saved);
    auto back = std::static_pointer_cast<ZtRSA>(loaded->Find(u"ZtRSA1"));
    ASSERT_TRUE(back);
    EXPECT_EQ(keys_of(*back), keys);
    EXPECT_TRUE(back->Enabled());
    EXPECT_FALSE(back->TabStop());
    EXPECT_EQ(loaded->Changes().size(), 3u);  // each key set through its property
  }
  // Keys set through their properties are marked changed, those GenerateKeys makes are not;
  // a key of 0 is saved too.
  Container form;
  auto rsa = std::static_pointer_cast<ZtRSA>(form.Place(u"ZtRSA"));
  rsa->PublicKey(0);
  EXPECT_NE(form.Save().find("PublicKey = Long 0"), std::string::npos);
  rsa->GenerateKeys();
  EXPECT_EQ(form.Changes().size(), 1u);
  // A bad saved value fails only its own step; missing keys read as 0.
  const auto loaded = Container::Load(
      "ZTLData form 1\nBegin ZTLData.ZtRSA K\n  PublicKey = String \"abc\"\n  PrivateKey1 = String \"  17 \"\n"
      "  PrivateKey2 = Double 1E+20\nEnd\nBegin ZTLData.ZtRSA L\nEnd\n");
  auto k = std::static_pointer_cast<ZtRSA>(loaded->Find(u"K")), l = std::static_pointer_cast<ZtRSA>(loaded->Find(u"L"));
  ASSERT_TRUE(k);
  ASSERT_TRUE(l);
  EXPECT_EQ(keys_of(*k), (std::tuple{0, 17, 0}));
  EXPECT_FALSE(k->TabStop());
  EXPECT_EQ((std::tuple{l->PublicKey(), l->PrivateKey1()}), (std::tuple{0, 0}));
}

}  // namespace
}  // namespace ztl
