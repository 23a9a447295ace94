// Conversions between kinds: one table over kinds x targets with the platform's results,
// then Decimal and Currency text round trips and rounding against the C library.

#include "ztldata/frame/convert.hpp"

#include <gtest/gtest.h>

#include "../support/text.hpp"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "test_values.hpp"
#include "ztldata/frame/object.hpp"

namespace ztl {
namespace {

using testing_support::Narrow;
using testing_support::Wide;

using testing_values::Dec;
using testing_values::Err;
using testing_values::Obj;

__extension__ typedef unsigned __int128 U128;

Variant Cy(std::int64_t scaled) { return Currency{scaled}; }
Variant Dt(double days) { return Date{days}; }
Variant LongArray() { return SafeArray(VarType::Long, {{0, 2}}); }

// The kind and the platform's text of a value, or the error number ("Integer 2", "error 6").
std::string Converted(const Variant& value, VarType to) {
  const Outcome<Variant> converted = ChangeType(value, to);
  if (!converted) return "error " + std::to_string(converted.error());
  const Variant& out = *converted;
  switch (out.Type()) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Object: return "Object";
    case VarType::Error: return "Error";
    default:
      if (out.IsArray()) return "Array";
      return std::string(VarTypeName(out.Type())) + " " + Narrow(ToString(out).value_or(u"(no text)"));
  }
}

TEST(ChangeType, KindsByTargets) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double kInf = std::numeric_limits<double>::infinity();
  const struct {
    Variant value;
    VarType to;
    const char* expected;
  } kCases[] = {
      // Integer: half to even, overflow after rounding.
      {2.5, VarType::Integer, "Integer 2"},
      {3.5, VarType::Integer, "Integer 4"},
      {-2.5, VarType::Integer, "Integer -2"},
      {-0.5, VarType::Integer, "Integer 0"},
      {-0.6, VarType::Integer, "Integer -1"},
      {32767.4, VarType::Integer, "Integer 32767"},
      {32767.5, VarType::Integer, "error 6"},
      {-32768.5, VarType::Integer, "Integer -32768"},
      {-32768.6, VarType::Integer, "error 6"},
      {kNaN, VarType::Integer, "error 6"},
      {-kInf, VarType::Integer, "error 6"},
      {Long{40000}, VarType::Integer, "error 6"},
      {Long{-32768}, VarType::Integer, "Integer -32768"},
      {Byte{255}, VarType::Integer, "Integer 255"},
      {true, VarType::Integer, "Integer -1"},
      {Variant(), VarType::Integer, "Integer 0"},
      {Null, VarType::Integer, "error 13"},
      {Single{1.5f}, VarType::Integer, "Integer 2"},
      {Cy(25000), VarType::Integer, "Integer 2"},
      {Cy(-35000), VarType::Integer, "Integer -4"},
      {Cy(25001), VarType::Integer, "Integer 3"},
      {Dec(25, 1), VarType::Integer, "Integer 2"},
      {Dec(35, 1, true), VarType::Integer, "Integer -4"},
      {Dec(32768, 0), VarType::Integer, "error 6"},
      {Dt(1.5), VarType::Integer, "Integer 2"},
      {u"1.5", VarType::Integer, "Integer 2"},
      {u"2.5", VarType::Integer, "Integer 2"},
      {u"-0.5", VarType::Integer, "Integer 0"},
      {u"32767", VarType::Integer, "Integer 32767"},
      {u"32768", VarType::Integer, "error 6"},
      {u"-32769", VarType::Integer, "error 6"},
      {u" &HFFFF ", VarType::Integer, "Integer -1"},
      {u"$\t11", VarType::Integer, "Integer 11"},
      {u"&ha$", VarType::Integer, "error 13"},
      {u"abc", VarType::Integer, "error 13"},
      {u"True", VarType::Integer, "error 13"},
      {u"", VarType::Integer, "error 13"},
      {Err(), VarType::Integer, "error 13"},
      {LongArray(), VarType::Integer, "error 13"},
      {Obj(Long{7}), VarType::Integer, "Integer 7"},
      {Obj(Obj(u"8")), VarType::Integer, "Integer 8"},
      {Obj(std::nullopt), VarType::Integer, "error 438"},
      {nullptr, VarType::Integer, "error 91"},
      // Long.
      {2147483647.4, VarType::Long, "Long 2147483647"},
      {2147483647.5, VarType::Long, "error 6"},
      {-2147483648.5, VarType::Long, "Long -2147483648"},
      {u"2147483648", VarType::Long, "error 6"},
      {u"&H80000002", VarType::Long, "Long -2147483646"},
      {u"(1,500)", VarType::Long, "Long -1500"},
      {Cy(std::numeric_limits<std::int64_t>::max()), VarType::Long, "error 6"},
      {Integer{-7}, VarType::Long, "Long -7"},
      // Byte: True keeps its low byte.
      {true, VarType::Byte, "Byte 255"},
      {false, VarType::Byte, "Byte 0"},
      {Obj(true), VarType::Byte, "Byte 255"},
      {Integer{-1}, VarType::Byte, "error 6"},
      {Integer{256}, VarType::Byte, "error 6"},
      {254.5, VarType::Byte, "Byte 254"},
      {255.5, VarType::Byte, "error 6"},
      {-0.4, VarType::Byte, "Byte 0"},
      {u"255", VarType::Byte, "Byte 255"},
      // Boolean: any number but 0 is True; texts are True/False or numbers.
      {0.0, VarType::Boolean, "Boolean False"},
      {0.1, VarType::Boolean, "Boolean True"},
      {kNaN, VarType::Boolean, "Boolean True"},
      {Long{-5}, VarType::Boolean, "Boolean True"},
      {Cy(1), VarType::Boolean, "Boolean True"},
      {Dec(0, 3), VarType::Boolean, "Boolean False"},
      {Dt(0), VarType::Boolean, "Boolean False"},
      {u"true", VarType::Boolean, "Boolean True"},
      {u"FALSE", VarType::Boolean, "Boolean False"},
      {u"0", VarType::Boolean, "Boolean False"},
      {u"-1", VarType::Boolean, "Boolean True"},
      {u"#TRUE#", VarType::Boolean, "Boolean True"},
      {u"#FALSE#", VarType::Boolean, "Boolean False"},
      {u"#False#", VarType::Boolean, "error 13"},  // the literals in upper case only
      {u" #TRUE#", VarType::Boolean, "error 13"},
      {u"#TRUE#", VarType::Integer, "error 13"},  // and only for Boolean
      {u" True", VarType::Boolean, "error 13"},
      {u"yes", VarType::Boolean, "error 13"},
      {u"", VarType::Boolean, "error 13"},
      {Variant(), VarType::Boolean, "Boolean False"},
      {Null, VarType::Boolean, "error 13"},
      {Err(), VarType::Boolean, "error 13"},
      // Single.
      {0.1, VarType::Single, "Single 0.1"},
      {Long{16777217}, VarType::Single, "Single 1.677722E+07"},
      {3.4028235e38, VarType::Single, "Single 3.402823E+38"},
      {1e39, VarType::Single, "error 6"},
      {u"-1e39", VarType::Single, "error 6"},
      {kInf, VarType::Single, "Single Infinity"},
      {true, VarType::Single, "Single -1"},
      // Double.
      {u"1,000", VarType::Double, "Double 1000"},
      {u"1e400", VarType::Double, "error 6"},
      {u"1 e1", VarType::Double, "error 13"},
      {Cy(125000), VarType::Double, "Double 12.5"},
      {Dec(1, 1), VarType::Double, "Double 0.1"},
      {Dt(45000.25), VarType::Double, "Double 45000.25"},
      {Single{0.1f}, VarType::Double, "Double 0.100000001490116"},
      {Variant(), VarType::Double, "Double 0"},
      {Null, VarType::Double, "error 13"},
      {Obj(u"2.5"), VarType::Double, "Double 2.5"},
      // Currency: half to even at the fourth decimal of the exact value.
      {0.03125, VarType::Currency, "Currency 0.0312"},
      {0.09375, VarType::Currency, "Currency 0.0938"},
      {-0.03125, VarType::Currency, "Currency -0.0312"},
      {1.00005, VarType::Currency, "Currency 1.0001"},  // 1.0000500000000001055...
      {2.00025, VarType::Currency, "Currency 2.0002"},  // 2.0002499999999998614...
      {12.5, VarType::Currency, "Currency 12.5"},
      {1e15, VarType::Currency, "error 6"},
      {9e14, VarType::Currency, "Currency 900000000000000"},
      {kNaN, VarType::Currency, "error 6"},
      {u"922337203685477.5807", VarType::Currency, "Currency 922337203685477.5807"},
      {u"922337203685477.5808", VarType::Currency, "error 6"},
      {u"-922337203685477.5808", VarType::Currency, "Currency -922337203685477.5808"},
      {u"1.23455", VarType::Currency, "Currency 1.2346"},
      {u"1.23445", VarType::Currency, "Currency 1.2344"},
      {u"$1,234.5", VarType::Currency, "Currency 1234.5"},
      {u"$ 11", VarType::Currency, "Currency 11"},
      {u"$&ha", VarType::Currency, "error 13"},
      {u"&HFFFF", VarType::Currency, "Currency -1"},
      {u"x", VarType::Currency, "error 13"},
      {Dec(123445, 5), VarType::Currency, "Currency 1.2344"},
      {Long{5}, VarType::Currency, "Currency 5"},
      {true, VarType::Currency, "Currency -1"},
      {Variant(), VarType::Currency, "Currency 0"},
      {Null, VarType::Currency, "error 13"},
      // Date: numbers are day counts from 100-01-01 to 9999-12-31 (times of day included);
      // texts are date and time texts, never day counts.
      {-657434.0, VarType::Date, "Date 1/1/100"},
      {-657435.0, VarType::Date, "error 6"},
      {2958465.5, VarType::Date, "Date 12/31/9999 12:00:00 PM"},
      {2958466.0, VarType::Date, "error 6"},
      {kNaN, VarType::Date, "error 6"},
      {Long{45000}, VarType::Date, "Date 3/15/2023"},
      {true, VarType::Date, "Date 12/29/1899"},
      {u"2024-01-01", VarType::Date, "Date 1/1/2024"},
      {u"1/1/2024 6:30 PM", VarType::Date, "Date 1/1/2024 6:30:00 PM"},
      {u"2.5", VarType::Date, "Date 2:05:00 AM"},
      {u"45000.5", VarType::Date, "error 13"},
      {u"45000", VarType::Date, "error 13"},
      {u"2024-02-30", VarType::Date, "error 13"},
      {u"2 January, 1970", VarType::Date, "Date 1/2/1970"},
      {u"02.01.1970", VarType::Date, "error 13"},
      {u"6/30/2011\u30001:20:34", VarType::Date, "Date 6/30/2011 1:20:34 AM"},
      {Obj(u"2024-01-01"), VarType::Date, "Date 1/1/2024"},
      {Null, VarType::Date, "error 13"},
      // Decimal.
      {0.1, VarType::Decimal, "Decimal 0.1"},
      {8428818035958585.0, VarType::Decimal, "Decimal 8428818035958590"},  // halfway: away from 0
      {1.0 / 3, VarType::Decimal, "Decimal 0.333333333333333"},
      {1e28, VarType::Decimal, "Decimal 10000000000000000000000000000"},
      {1e29, VarType::Decimal, "error 6"},
      {kInf, VarType::Decimal, "error 6"},
      {Single{0.1f}, VarType::Decimal, "Decimal 0.1"},
      {Cy(125000), VarType::Decimal, "Decimal 12.5"},
      {Long{-5}, VarType::Decimal, "Decimal -5"},
      {Variant(), VarType::Decimal, "Decimal 0"},
      {u"79228162514264337593543950335", VarType::Decimal, "Decimal 79228162514264337593543950335"},
      {u"79228162514264337593543950336", VarType::Decimal, "error 6"},
      {u"-7.9228162514264337593543950335", VarType::Decimal, "Decimal -7.9228162514264337593543950335"},
      // 30 digits: the last one rounds away, and then the 96 bits no longer hold 28 decimals.
      {u"7.92281625142643375935439503355", VarType::Decimal, "Decimal 7.922816251426433759354395034"},
      {u"1.00000000000000000000000000005", VarType::Decimal, "Decimal 1"},
      {u"0.00000000000000000000000000015", VarType::Decimal, "Decimal 0.0000000000000000000000000002"},
      {u"1e-40", VarType::Decimal, "Decimal 0"},
      {u"12.50", VarType::Decimal, "Decimal 12.5"},
      {u"&H10", VarType::Decimal, "Decimal 16"},
      {u"$ 11", VarType::Decimal, "Decimal 11"},
      {u"$&H10", VarType::Decimal, "error 13"},
      {u"-&HFFFF", VarType::Decimal, "Decimal 1"},
      {u"1..5", VarType::Decimal, "error 13"},
      {Null, VarType::Decimal, "error 13"},
      // String.
      {true, VarType::String, "String True"},
      {false, VarType::String, "String False"},
      {0.1, VarType::String, "String 0.1"},
      {-0.0, VarType::String, "String 0"},
      {1e15, VarType::String, "String 1E+15"},
      {Single{0.1f}, VarType::String, "String 0.1"},
      {Cy(-1), VarType::String, "String -0.0001"},
      {Cy(std::numeric_limits<std::int64_t>::min()), VarType::String, "String -922337203685477.5808"},
      {Dec(125, 1, true), VarType::String, "String -12.5"},
      {Dec(1500, 2), VarType::String, "String 15"},
      {Dec(0, 0, true), VarType::String, "String 0"},
      {Integer{-5}, VarType::String, "String -5"},
      {Byte{200}, VarType::String, "String 200"},
      // A Date's text: the date, its time unless midnight, the time alone on day 0.
      {Dt(1.5), VarType::String, "String 12/31/1899 12:00:00 PM"},
      {Dt(36526), VarType::String, "String 1/1/2000"},
      {Dt(0.25), VarType::String, "String 6:00:00 AM"},
      {Dt(0), VarType::String, "String 12:00:00 AM"},
      {Dt(2958466), VarType::String, "error 6"},
      {Variant(), VarType::String, "String "},
      {Null, VarType::String, "error 13"},
      {Obj(u"x"), VarType::String, "String x"},
      {Err(), VarType::String, "error 13"},
      {LongArray(), VarType::String, "error 13"},
      // Object, Error, Empty, Null and arrays convert only to themselves; Variant keeps all.
      {Obj(Long{1}), VarType::Object, "Object"},
      {nullptr, VarType::Object, "Object"},
      {Long{1}, VarType::Object, "error 13"},
      {Err(), VarType::Error, "Error"},
      {Long{1}, VarType::Error, "error 13"},
      {Variant(), VarType::Empty, "Empty"},
      {Long{0}, VarType::Empty, "error 13"},
      {Null, VarType::Null, "Null"},
      {Variant(), VarType::Null, "error 13"},
      {LongArray(), VarType::Array | VarType::Long, "Array"},
      {LongArray(), VarType::Array | VarType::Variant, "error 13"},
      {Long{1}, VarType::Array | VarType::Long, "error 13"},
      {Null, VarType::Variant, "Null"},
      {LongArray(), VarType::Variant, "Array"},
      {Long{3}, VarType::Variant, "Long 3"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(VarTypeName(c.value.Type())) + " to " + std::string(VarTypeName(c.to)) +
                 ": " + c.expected);
    EXPECT_EQ(Converted(c.value, c.to), c.expected);
  }
}

// Rounding to whole numbers agrees with the C library's nearbyint in its default mode
// (ties to even), whatever mode is in force when we round.
TEST(RoundToLong, AgreesWithNearbyint) {
  std::mt19937_64 random(11);
  std::uniform_int_distribution<long long> halves(-(1LL << 33), 1LL << 33);
  std::uniform_real_distribution<double> reals(-3e9, 3e9);
  for (int i = 0; i < 20000; ++i) {
    const double x = i % 2 ? halves(random) / 2.0 : reals(random);
    const double expected = std::nearbyint(x);
    std::fesetround(FE_UPWARD);
    const Outcome<Long> result = RoundToLong(x);
    std::fesetround(FE_TONEAREST);
    SCOPED_TRACE(x);
    if (expected < -2147483648.0 || expected > 2147483647.0) {
      EXPECT_EQ(result.error(), kOverflow);
    } else {
      ASSERT_TRUE(result.ok());
      EXPECT_EQ(static_cast<double>(*result), expected);
    }
  }
}

// Any Decimal written as text reads back as itself; its Double is the C library's reading
// of that text.
TEST(DecimalToText, RoundTrip) {
  std::mt19937_64 random(5);
  for (int i = 0; i < 20000; ++i) {
    Decimal d;
    d.lo = random();
    d.hi = static_cast<std::uint32_t>(random() >> (i % 33));
    d.scale = static_cast<std::uint8_t>(random() % 29);
    d.negative = random() % 2 == 0;
    // Keep the form the library makes: no trailing zeros in the scale, no negative zero.
    while (d.scale > 0 && (((static_cast<U128>(d.hi) << 64) | d.lo) % 10) == 0) {
      d.lo += 1;
    }
    if (d.lo == 0 && d.hi == 0) d.negative = false;
    const String text = DecimalToText(d);
    SCOPED_TRACE(Narrow(text));
    EXPECT_EQ(TextToDecimal(text), d);
    EXPECT_EQ(DecimalToDouble(d), std::strtod(Narrow(text).c_str(), nullptr));
  }
}

// Whether x lies exactly halfway between two 15-digit numbers, where the C library rounds
// to even and the platform away from zero.
bool FifteenDigitTie(double x) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%.55e", x);
  const char* next = std::strchr(buffer, '.') + 15;
  return *next == '5' && std::strspn(next + 1, "0") == 40;
}

// A Double becomes the Decimal of its 15-digit text.
TEST(DoubleToDecimal, FifteenDigitText) {
  std::mt19937_64 random(8);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-30, 27);
  for (int i = 0; i < 5000; ++i) {
    const double x = mantissa(random) * std::pow(10.0, exponent(random));
    if (FifteenDigitTie(x)) continue;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", x);
    SCOPED_TRACE(buffer);
    const Outcome<Decimal> expected = TextToDecimal(Wide(buffer));
    ASSERT_TRUE(expected.ok());
    EXPECT_EQ(DoubleToDecimal(x), *expected);
  }
}

// Any Currency written as text reads back as itself; its Double is the C library's reading.
TEST(CurrencyToText, RoundTrip) {
  std::mt19937_64 random(9);
  for (int i = 0; i < 20000; ++i) {
    const Currency c{static_cast<std::int64_t>(random()) >> (i % 64)};
    const String text = CurrencyToText(c);
    SCOPED_TRACE(Narrow(text));
    EXPECT_EQ(ToCurrency(text), c);
    EXPECT_EQ(CurrencyToDouble(c), std::strtod(Narrow(text).c_str(), nullptr));
  }
}

// Doubles that are exactly k / 10^4 in the C library's reading keep their value.
TEST(DoubleToCurrency, ExactFourDecimals) {
  std::mt19937_64 random(10);
  std::uniform_int_distribution<std::int64_t> scaled(-(1LL << 52), 1LL << 52);
  for (int i = 0; i < 20000; ++i) {
    const std::int64_t n = scaled(random);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%lld.%04lld", n < 0 ? "-" : "",
                  static_cast<long long>(std::llabs(n / 10000)),
                  static_cast<long long>(std::llabs(n % 10000)));
    SCOPED_TRACE(buffer);
    EXPECT_EQ(DoubleToCurrency(std::strtod(buffer, nullptr)), Currency{n});
  }
}

}  // namespace
}  // namespace ztl
