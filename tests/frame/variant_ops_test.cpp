// Variant arithmetic and comparison against the host platform's known results, the ordering
// the searches and sorts use (CompareVariants), plus properties over generated mixtures of kinds.

#include "frame/variant_ops.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../support/text.hpp"
#include "test_values.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/frame/object.hpp"

namespace ztl {
namespace {

using testing_values::Dec;
using testing_values::Err;
using testing_values::Obj;


Variant Cy(double value) { return Currency{std::llround(value * 10000)}; }
Variant Dt(double value) { return Date{value}; }
Variant Arr() { return SafeArray::Of({Long{1}}); }

__extension__ typedef unsigned __int128 U128;

// A Decimal of any 96-bit magnitude.
Variant BigDec(U128 magnitude, std::uint8_t scale, bool negative = false) {
  return Decimal{static_cast<std::uint64_t>(magnitude), static_cast<std::uint32_t>(magnitude >> 64),
                 scale, negative};
}
const U128 kDecimalMax = (U128{1} << 96) - 1;

// A value written as one line ("Single 7.5").
std::string Show(const Variant& v) {
  char buf[64];
  switch (v.Type()) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Boolean: return *v.If<Boolean>() ? "Boolean True" : "Boolean False";
    case VarType::Byte: return "Byte " + std::to_string(*v.If<Byte>());
    case VarType::Integer: return "Integer " + std::to_string(*v.If<Integer>());
    case VarType::Long: return "Long " + std::to_string(*v.If<Long>());
    case VarType::Single: std::snprintf(buf, sizeof buf, "Single %.9g", *v.If<Single>()); return buf;
    case VarType::Double: std::snprintf(buf, sizeof buf, "Double %.17g", *v.If<Double>()); return buf;
    case VarType::Date: std::snprintf(buf, sizeof buf, "Date %.17g", v.If<Date>()->value); return buf;
    case VarType::Currency: return "Currency " + std::to_string(v.If<Currency>()->scaled) + "e-4";
    case VarType::Decimal: return "Decimal " + testing_support::Narrow(DecimalToText(*v.If<Decimal>()));
    case VarType::String: {
      std::string s = "String \"";
      for (char16_t c : *v.If<String>()) s += c < 128 ? static_cast<char>(c) : '?';
      return s + "\"";
    }
    default: return "other";
  }
}

std::string Show(Ordering o) {
  switch (o) {
    case Ordering::Less: return "Less";
    case Ordering::Equal: return "Equal";
    case Ordering::Greater: return "Greater";
    case Ordering::Unordered: return "Unordered";
  }
  return "?";
}

std::string Fails(Long code) { return "Failure " + std::to_string(code); }

// A result, or the error number its step failed with ("Failure 13").
template <class T>
std::string Shown(const Outcome<T>& result) {
  return result ? Show(*result) : Fails(result.error());
}

// ---- Add ---------------------------------------------------------------------------------

TEST(Add, PlatformVectors) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Long{4}, Long{2}, "Long 6"},
      {Integer{4}, Integer{2}, "Integer 6"},
      {Integer{-13}, Long{5}, "Long -8"},
      {Integer{7}, Single{0.5f}, "Single 7.5"},
      {Single{0.5f}, Long{5}, "Double 5.5"},  // Single with Long widens to Double
      {7.1, false, Show(7.1)},
      {u"12", Integer{4}, "Double 16"},  // a text with a number reads as a Double
      {u"12", Single{0.1f}, Show(12.0 + double{0.1f})},
      {Single{0.2f}, u"12", Show(double{0.2f} + 12.0)},
      {u"12", u"12", "String \"1212\""},
      {Dt(2.25), Long{7}, "Date 9.25"},
      {Dt(1.25), Single{-1.7f}, Show(Dt(1.25 + double{-1.7f}))},
      {Byte{255}, Byte{255}, "Integer 510"},  // overflow promotes Byte to Integer
      {Integer{32767}, Integer{32767}, "Long 65534"},
      {Integer{32767}, Integer{-32768}, "Integer -1"},
      {Integer{-32768}, Integer{-32768}, "Long -65536"},
      {Long{2147483647}, Long{-2147483647 - 1}, "Long -1"},
      {Long{2147483647}, Long{2147483647}, "Double 4294967294"},
      {Long{-2147483647 - 1}, Long{-2147483647 - 1}, "Double -4294967296"},
      {FLT_MAX, FLT_MAX, Show(2.0 * FLT_MAX)},
      {Cy(4711), Byte{9}, Show(Cy(4720))},
      {Long{-11}, Dec(42, 1, true), "Decimal -15.2"},
      {Variant(), Variant(), "Integer 0"},
      {Variant(), u"12", "String \"12\""},
      {Null, Integer{1}, "Null"},
      {u"x", Null, "Null"},
      {Null, Variant(), "Null"},
      {true, true, "Integer -2"},
      {u"abc", Integer{1}, Fails(13)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " + " + Show(c.right));
    EXPECT_EQ(Shown(Add(c.left, c.right)), c.expected);
  }
}

TEST(Add, EmptyLeavesTheOtherOperand) {
  const struct {
    Variant other;
    std::string expected;
  } kCases[] = {
      {Long{5}, "Long 5"},
      {Byte{7}, "Byte 7"},
      {Single{1.5f}, "Single 1.5"},
      {Dt(3.5), "Date 3.5"},
      {Cy(2.5), Show(Cy(2.5))},
      {u"ab", "String \"ab\""},
      {u"", "String \"\""},
      {true, "Integer -1"},  // a Boolean still counts as an Integer
      {false, "Integer 0"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.other));
    EXPECT_EQ(Shown(Add(Variant(), c.other)), c.expected);
    EXPECT_EQ(Shown(Add(c.other, Variant())), c.expected);
  }
}

TEST(Add, KindsAndOverflow) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Byte{200}, Byte{55}, "Byte 255"},
      {Byte{200}, true, "Integer 199"},
      {Byte{1}, Long{1}, "Long 2"},
      {Integer{-32768}, Byte{255}, "Integer -32513"},
      {Single{1.5f}, u"2", "Double 3.5"},
      {Single{1.5f}, Dt(1), "Date 2.5"},
      {Single{1.5f}, Cy(1), Show(Cy(2.5))},
      {1.25, Cy(1), Show(Cy(2.25))},  // Currency ranks above Double
      {u"1.5", Cy(1), Show(Cy(2.5))},
      {u"2", Dt(1), "Date 3"},
      {Cy(1), Dt(1), "Date 2"},
      {u" 1,000 ", Long{1}, "Double 1001"},
      {u"", Long{1}, Fails(13)},
      {Currency{std::numeric_limits<std::int64_t>::max()}, Cy(1), Fails(6)},
      {1e308, 1e308, Fails(6)},
      {std::numeric_limits<double>::infinity(), 1.0, Fails(6)},
      {Dt(1e308), 1e308, Fails(6)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " + " + Show(c.right));
    EXPECT_EQ(Shown(Add(c.left, c.right)), c.expected);
  }
}

TEST(Add, ObjectsArraysAndErrors) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Obj(Long{5}), Long{1}, "Long 6"},  // an object counts as its default value
      {u"a", Obj(Variant(u"b")), "String \"ab\""},
      {Obj(std::nullopt), Long{1}, Fails(438)},
      {Variant(nullptr), Long{1}, Fails(91)},
      {Obj(Arr()), Long{1}, Fails(13)},
      {Arr(), Long{1}, Fails(13)},
      {Long{1}, Arr(), Fails(13)},
      {Err(), Long{1}, Fails(13)},
      {Variant(), Err(), Fails(13)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " + " + Show(c.right));
    EXPECT_EQ(Shown(Add(c.left, c.right)), c.expected);
  }
}

// A Decimal on either side makes the sum a Decimal; the other operand converts first (a
// Double through its 15 significant digits, a Single through 7, a text exactly).
TEST(Add, DecimalWithOtherKinds) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Dec(1, 1), 0.2, "Decimal 0.3"},  // 0.2 is 0.2, not 0.2000000000000000111
      {0.1, Dec(2, 1), "Decimal 0.3"},
      {Dec(1, 1), u"0.2", "Decimal 0.3"},
      {u"0.12345678901234567891", Dec(0, 0), "Decimal 0.12345678901234567891"},  // exact text
      {Dec(1, 0), Single{0.1f}, "Decimal 1.1"},
      {Dec(1, 0), Cy(1.2345), "Decimal 2.2345"},
      {Dt(2.5), Dec(1, 0), "Decimal 3.5"},  // Decimal ranks above Date
      {Dec(1, 0), true, "Decimal 0"},
      {Dec(1, 0), Byte{255}, "Decimal 256"},
      {Dec(1, 0), Long{2147483647}, "Decimal 2147483648"},
      {BigDec(kDecimalMax - 1, 0), Long{1}, "Decimal 79228162514264337593543950335"},
      {Variant(), Dec(42, 1, true), "Decimal -4.2"},
      {Null, Dec(1, 0), "Null"},
      {Obj(Variant(Dec(5, 1))), Long{1}, "Decimal 1.5"},
      {BigDec(kDecimalMax, 0), Long{1}, Fails(6)},
      {Dec(1, 0), 1e300, Fails(6)},  // beyond the Decimal range
      {Dec(1, 0), std::numeric_limits<double>::quiet_NaN(), Fails(6)},
      {Dec(1, 0), u"abc", Fails(13)},
      {Dec(1, 0), u"1e40", Fails(6)},
      {Dec(1, 0), Arr(), Fails(13)},
      {Err(), Dec(1, 0), Fails(13)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " + " + Show(c.right));
    EXPECT_EQ(Shown(Add(c.left, c.right)), c.expected);
  }
}

// ---- Subtract ----------------------------------------------------------------------------

TEST(Subtract, PlatformVectors) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Integer{-13}, Long{5}, "Long -18"},
      {Single{0.5f}, Long{5}, "Double -4.5"},
      {u"12", Integer{4}, "Double 8"},
      {Single{0.2f}, u"12", Show(double{0.2f} - 12.0)},
      {u"12", u"12", "Double 0"},  // two texts subtract as numbers
      {Dt(2.25), Long{7}, "Date -4.75"},
      {Dt(1.25), Single{-1.7f}, Show(Dt(1.25 - double{-1.7f}))},
      {Dt(3.5), Dt(1.25), "Double 2.25"},  // a difference of dates is a Double
      {Byte{255}, Byte{255}, "Byte 0"},
      {Cy(4711), Byte{9}, Show(Cy(4702))},
      {Long{-11}, Dec(42, 1, true), "Decimal -6.8"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " - " + Show(c.right));
    EXPECT_EQ(Shown(Subtract(c.left, c.right)), c.expected);
  }
}

TEST(Subtract, EmptyCountsAsZero) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Variant(), Variant(), "Integer 0"},
      {Variant(), Byte{5}, "Integer -5"},  // Byte 0 - 5 leaves the Byte range
      {Byte{5}, Variant(), "Byte 5"},
      {Byte{0}, Byte{1}, "Integer -1"},
      {Variant(), Long{5}, "Long -5"},
      {Variant(), u"12", "Double -12"},
      {u"12", Variant(), "Double 12"},
      {Variant(), true, "Integer 1"},
      {Variant(), Dt(2), "Date -2"},
      {Null, Variant(), "Null"},
      {Long{-2147483647 - 1}, Long{1}, "Double -2147483649"},
      {u"x", Long{1}, Fails(13)},
      {Currency{std::numeric_limits<std::int64_t>::min()}, Cy(1), Fails(6)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " - " + Show(c.right));
    EXPECT_EQ(Shown(Subtract(c.left, c.right)), c.expected);
  }
}

TEST(Subtract, DecimalWithOtherKinds) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Dec(3, 1), 0.1, "Decimal 0.2"},
      {u"1", Dec(1, 1), "Decimal 0.9"},
      {Dt(3), Dec(1, 0), "Decimal 2"},
      {Variant(), Dec(42, 1), "Decimal -4.2"},
      {Dec(42, 1), Variant(), "Decimal 4.2"},
      {Dec(5, 0), Dec(5, 0), "Decimal 0"},
      {BigDec(kDecimalMax, 0, true), Long{1}, Fails(6)},
      {Null, Dec(1, 0), "Null"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " - " + Show(c.right));
    EXPECT_EQ(Shown(Subtract(c.left, c.right)), c.expected);
  }
}

// ---- Negate ------------------------------------------------------------------------------

TEST(Negate, PlatformVectors) {
  const struct {
    Variant operand;
    std::string expected;
  } kCases[] = {
      {true, "Integer 1"},
      {false, "Integer 0"},
      {Byte{254}, "Integer -254"},
      {Integer{-32768}, "Long 32768"},
      {Integer{5}, "Integer -5"},
      {Long{-2147483647 - 1}, "Double 2147483648"},
      {Long{7}, "Long -7"},
      {u"-1", "Double 1"},
      {Variant(), "Integer 0"},
      {Null, "Null"},
      {Cy(-1), Show(Cy(1))},
      {Single{1.5f}, "Single -1.5"},
      {2.5, "Double -2.5"},
      {Dt(2.5), "Date -2.5"},
      {Obj(Integer{3}), "Integer -3"},
      {Currency{std::numeric_limits<std::int64_t>::min()}, Fails(6)},
      {u"x", Fails(13)},
      {Arr(), Fails(13)},
      {Err(), Fails(13)},
      {Variant(nullptr), Fails(91)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.operand));
    EXPECT_EQ(Shown(Negate(c.operand)), c.expected);
  }
}

TEST(Negate, DecimalFlipsItsSign) {
  const Outcome<Variant> r = Negate(Dec(42, 1, true));
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r->Type(), VarType::Decimal);
  EXPECT_EQ(*r->If<Decimal>(), (Decimal{42, 0, 1, false}));
}

// ---- Divide ------------------------------------------------------------------------------

TEST(Divide, PlatformVectors) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Integer{1}, Integer{2}, "Double 0.5"},
      {Byte{1}, Byte{2}, "Double 0.5"},
      {Single{1}, Integer{2}, "Single 0.5"},
      {Single{1}, Long{2}, "Double 0.5"},
      {Single{1}, true, "Single -1"},
      {Integer{1}, true, "Double -1"},
      {true, true, "Double 1"},
      {u"1", u"2", "Double 0.5"},
      {Dt(1), Dt(2), "Double 0.5"},
      {Variant(), Integer{2}, "Double 0"},
      {Null, Variant(), "Null"},
      {Cy(1), Cy(1), "Double 1"},
      {Cy(1), Byte{2}, "Double 0.5"},
      {Long{100}, Dec(2, 0), "Decimal 50"},
      {1.0, 0.0, Fails(11)},
      {0.0, 0.0, Fails(6)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " / " + Show(c.right));
    EXPECT_EQ(Shown(Divide(c.left, c.right)), c.expected);
  }
}

TEST(Divide, ZeroAndRange) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Long{5}, Variant(), Fails(11)},  // Empty is 0
      {Variant(), Variant(), Fails(6)},
      {Single{3}, Single{2}, "Single 1.5"},
      {Byte{3}, Single{2}, "Single 1.5"},
      {Variant(), Single{2}, "Single 0"},  // Empty with Single as Integer with Single
      {Single{2}, Variant(), Fails(11)},
      {u"3", Single{2}, "Double 1.5"},
      {Single{FLT_MAX}, Single{0.5f}, Show(2.0 * FLT_MAX)},  // Single overflow widens
      {1e308, 1e-308, Fails(6)},
      {Long{1}, u"0", Fails(11)},
      {Long{1}, u"zero", Fails(13)},
      {Null, Arr(), Fails(13)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " / " + Show(c.right));
    EXPECT_EQ(Shown(Divide(c.left, c.right)), c.expected);
  }
}

// A Decimal on either side makes the quotient a Decimal, with as many digits as fit.
TEST(Divide, DecimalWithOtherKinds) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Dec(1, 0), Long{3}, "Decimal 0.3333333333333333333333333333"},
      {Long{2}, Dec(3, 0), "Decimal 0.6666666666666666666666666667"},
      {Dec(10, 0), Integer{4}, "Decimal 2.5"},
      {1.0, Dec(3, 0), "Decimal 0.3333333333333333333333333333"},
      {Dec(1, 0), Single{0.5f}, "Decimal 2"},
      {Variant(), Dec(2, 0), "Decimal 0"},
      {Dec(7, 0), u"2", "Decimal 3.5"},
      {Null, Dec(1, 0), "Null"},
      {Dec(1, 0), Null, "Null"},
      {Dec(1, 0), Variant(), Fails(11)},  // Empty is 0
      {Dec(0, 0), Long{0}, Fails(11)},    // 0 / 0 too: a Decimal division by zero
      {BigDec(kDecimalMax, 0), 0.1, Fails(6)},
      {Dec(1, 0), 1e300, Fails(6)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " / " + Show(c.right));
    EXPECT_EQ(Shown(Divide(c.left, c.right)), c.expected);
  }
}

// ---- Compare -----------------------------------------------------------------------------

TEST(Compare, PlatformVectors) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Integer{2}, Integer{1}, "Greater"},
      {Integer{1}, Integer{2}, "Less"},
      {Long{1}, 1.0, "Equal"},
      {Long{1}, Byte{1}, "Equal"},
      {Variant(), Integer{0}, "Equal"},
      {Integer{2}, Variant(), "Greater"},
      {Variant(), Variant(), "Equal"},
      {Integer{2}, Null, "Unordered"},
      {u"0", Null, "Unordered"},
      {Dt(25570), Null, "Unordered"},
      {u"", u"0", "Less"},
      {u"7", u"0", "Greater"},
      {u"7", u"-1", "Greater"},
      {u"7", u"42", "Greater"},  // texts compare as text, not as numbers
      {u"42", u"7", "Less"},
      {u"", u"", "Equal"},
      {Variant(), u"", "Equal"},
      {u"0", Variant(), "Greater"},
      {u"42", Variant(), "Greater"},
      {u"0", Integer{0}, "Greater"},  // any text sorts after any number
      {u"1", Long{1}, "Greater"},
      {u"-666", Long{1}, "Greater"},
      {u"huh?", Long{2147483647}, "Greater"},
      {Long{0}, u"", "Less"},
      {3.141592, u"", "Less"},
      {u"7", 7.0, "Greater"},
      {Dt(25570), Variant(), "Greater"},
      {Dt(1), Dt(1 + 1e-15), "Less"},
      {Single{1}, 1 + 1e-8, "Equal"},  // the Double is rounded to Single
      {1 + 1e-8, 1.0, "Greater"},
      {Single{1}, Dt(1 + 1e-8), "Equal"},
      {Single{1}, u"1.00000001", "Less"},
      {Single{1}, Dec(100000001, 8), "Less"},
      {Decimal{~0ull, ~0u, 0, false}, DBL_MAX, "Less"},  // DBL_MAX is no Decimal: as Doubles
      {BigDec(U128{100000000000000000ull} * 1000 + 1, 20), 1.0, "Greater"},  // 1 + 1e-20
      {Err(), Err(), "Equal"},
      {Err(), Byte{0}, Fails(13)},
      {Long{1}, Arr(), Fails(13)},
      {Arr(), Arr(), Fails(13)},
      {true, Integer{-1}, "Equal"},
      {true, Integer{1}, "Less"},
      {u"5", Long{4}, "Greater"},
      {Long{5}, Variant(), "Greater"},
      {Long{0}, Variant(), "Equal"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " vs " + Show(c.right));
    EXPECT_EQ(Shown(Compare(c.left, c.right)), c.expected);
  }
}

TEST(Compare, KindsAndObjects) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {u"a", u"B", "Greater"},  // binary: "B" is 66, "a" is 97
      {u"abc", u"ab", "Greater"},
      {u"\u00e9", u"z", "Greater"},
      {u"\xd800", u"\xff00", "Less"},  // code units, not code points
      {Variant(), u"a", "Less"},
      {Variant(), Null, "Unordered"},
      {Null, Null, "Unordered"},
      {true, Byte{255}, "Less"},
      {Dt(2), Long{2}, "Equal"},
      {Dt(2), u"1", "Less"},
      {Cy(2), Long{2}, "Equal"},
      {Cy(1.5), Long{1}, "Greater"},
      {Cy(1), 1.00001, "Less"},  // as Doubles, not at Currency precision
      {Single{1}, 1e300, "Less"},  // a Double beyond the Single range compares as Double
      {Single{0.1f}, 0.1, "Equal"},
      {Dec(15, 1), Single{1.5f}, "Equal"},
      {std::numeric_limits<double>::quiet_NaN(), 1.0, "Unordered"},
      {Obj(Long{3}), Long{3}, "Equal"},
      {Obj(Variant(u"b")), u"a", "Greater"},
      {Obj(std::nullopt), Long{1}, Fails(13)},
      {Long{1}, Variant(nullptr), Fails(13)},
      {Null, Obj(std::nullopt), Fails(13)},
      {Err(), Null, Fails(13)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " vs " + Show(c.right));
    EXPECT_EQ(Shown(Compare(c.left, c.right)), c.expected);
  }
}

// A Decimal against another kind compares as two Decimals (the other side converted as for
// arithmetic), or as Doubles when the other side does not convert.
TEST(Compare, DecimalWithOtherKinds) {
  const struct {
    Variant left, right;
    std::string expected;
  } kCases[] = {
      {Dec(100000001, 8), Single{1}, "Greater"},
      {Dec(1, 1), 0.1, "Equal"},    // 0.1 converts to exactly 0.1
      {Dec(3, 1), 0.1 + 0.2, "Equal"},  // 0.30000000000000004 has the 15 digits 0.3
      {Dec(1, 1), Single{0.1f}, "Equal"},
      // A Single converts through 7 digits: 16777216 becomes 16777220.
      {Dec(16777217, 0), Single{16777216.0f}, "Less"},
      {Dec(100005, 5), Cy(1.0001), "Less"},  // exactly, not at Currency precision
      {Dec(10000, 4), Cy(1), "Equal"},
      {Dec(1, 0, true), true, "Equal"},
      {Dec(0, 0), Variant(), "Equal"},
      {Dec(0, 3, true), Variant(), "Equal"},  // a negative zero is 0
      {Dec(2147483648ull, 0), Long{2147483647}, "Greater"},
      {Dec(450005, 1), Dt(45000.5), "Equal"},
      {BigDec(kDecimalMax, 0, true), -DBL_MAX, "Greater"},
      {Dec(1, 0), 1e300, "Less"},
      {Dec(1, 0), std::numeric_limits<double>::quiet_NaN(), "Unordered"},
      {Dec(1, 0), u"", "Less"},  // a number sorts before any text
      {Dec(1, 0), Null, "Unordered"},
      {Dec(1, 0), Arr(), Fails(13)},
      {Dec(1, 0), Err(), Fails(13)},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(Show(c.left) + " vs " + Show(c.right));
    EXPECT_EQ(Shown(Compare(c.left, c.right)), c.expected);
    const std::string reversed = c.expected == "Less" ? "Greater" : c.expected == "Greater" ? "Less" : c.expected;
    EXPECT_EQ(Shown(Compare(c.right, c.left)), reversed);
  }
}

// ---- CompareVariants ---------------------------------------------------------------------

// An object whose default value is read from a list, one entry per request; an empty entry
// (or the end of the list) means it has none.
class Changing : public Object {
 public:
  explicit Changing(std::vector<std::optional<Variant>> values) : values_(std::move(values)) {}
  std::optional<Variant> DefaultValue() const noexcept override {
    return next_ < values_.size() ? values_[next_++] : std::nullopt;
  }

 private:
  std::vector<std::optional<Variant>> values_;
  mutable std::size_t next_ = 0;
};

Variant ChangingObj(std::vector<std::optional<Variant>> values) {
  return ObjectRef(std::make_shared<Changing>(std::move(values)));
}

TEST(CompareVariants, Order) {
  const struct {
    const char* name;
    Variant a, b;
    Long expected;
  } kCases[] = {
      {"1 before 2", Long{1}, Long{2}, -1},
      {"2 equals 2", Long{2}, Long{2}, 0},
      {"2.5 after 2", 2.5, Long{2}, 1},
      {"binary text order: B (66) before a (97)", u"a", u"B", 1},
      {"a number before any text", Long{5}, u"1", -1},
      {"Empty equals the empty text", Variant(), u"", 0},
      {"Empty equals 0", Variant(), Integer{0}, 0},
      {"True is -1", true, Long{-1}, 0},
      {"Error equals Error", ErrorValue{1}, ErrorValue{2}, 0},
      // A failing first test counts as a before b.
      {"array on the left", SafeArray::Of({Long{1}}), Long{1}, -1},
      {"array on the right", Long{1}, SafeArray::Of({Long{1}}), -1},
      {"Error against a number", ErrorValue{1}, Long{1}, -1},
      {"object without a default value", ChangingObj({}), Long{1}, -1},
      {"Nothing", Variant(nullptr), Long{1}, -1},
      // Null makes both tests false.
      {"Null on the left", Null, Long{1}, 1},
      {"Null on the right", Long{1}, Null, 1},
      {"Null against Null", Null, Null, 1},
      {"object with a default value", ChangingObj({Long{3}, Long{3}}), Long{2}, 1},
      // The second test fetches the default value again; its failure counts as equal.
      {"default value gone at the second test", ChangingObj({Long{3}}), Long{2}, 0},
      {"default value changed at the second test", ChangingObj({Long{3}, Long{2}}), Long{2}, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CompareVariants(c.a, c.b), c.expected);
  }
}

// ---- Properties over generated values ----------------------------------------------------

// A mixture of every scalar kind with values at and around their range ends.
std::vector<Variant> MixedValues() {
  std::vector<Variant> values = {Variant(), true, false};
  for (int b : {0, 1, 127, 254, 255}) values.emplace_back(static_cast<Byte>(b));
  for (int i : {-32768, -32767, -1, 0, 2, 16384, 32767}) values.emplace_back(static_cast<Integer>(i));
  for (long long l : {-2147483648LL, -65536LL, -1LL, 0LL, 3LL, 1LL << 30, 2147483647LL}) {
    values.emplace_back(static_cast<Long>(l));
  }
  for (float f : {-FLT_MAX, -1.5f, 0.0f, 0.1f, 2.0f, 16777217.0f, FLT_MAX}) values.emplace_back(f);
  for (double d : {-1e300, -2.5, 0.0, 0.1, 2.0, 4294967296.0, 1e300}) values.emplace_back(d);
  for (double c : {-1e9, -0.0001, 0.0, 2.0, 1e9}) values.push_back(Cy(c));
  for (double d : {-2.0, 0.0, 2.0, 45000.75}) values.push_back(Dt(d));
  values.push_back(BigDec(kDecimalMax, 0, true));
  values.push_back(Dec(25, 1, true));
  values.push_back(Dec(0, 2, true));
  values.push_back(Dec(0, 0));
  values.push_back(Dec(1, 4));
  values.push_back(Dec(4294967296ull, 0));
  values.push_back(BigDec(kDecimalMax, 0));
  return values;
}

TEST(Add, CommutativeOnNumbers) {
  const std::vector<Variant> values = MixedValues();
  for (const Variant& a : values) {
    for (const Variant& b : values) {
      SCOPED_TRACE(Show(a) + " + " + Show(b));
      EXPECT_EQ(Shown(Add(a, b)), Shown(Add(b, a)));
    }
  }
}

// A sum of whole numbers is exact and lands in the first of the operands' kind, Integer,
// Long and Double that holds it.
TEST(Add, WholeSumsAreExact) {
  const std::vector<Variant> values = MixedValues();
  auto rank = [](VarType t) {
    switch (t) {
      case VarType::Byte: return 0;
      case VarType::Boolean:
      case VarType::Integer: return 1;
      case VarType::Long: return 2;
      default: return 3;
    }
  };
  auto whole = [](const Variant& v) -> std::optional<long long> {
    if (const Boolean* b = v.If<Boolean>()) return *b ? -1 : 0;
    if (const Byte* b = v.If<Byte>()) return *b;
    if (const Integer* i = v.If<Integer>()) return *i;
    if (const Long* l = v.If<Long>()) return *l;
    return std::nullopt;
  };
  const long long kLimits[] = {255, 32767, 2147483647};
  for (const Variant& a : values) {
    for (const Variant& b : values) {
      const auto x = whole(a), y = whole(b);
      if (!x || !y) continue;
      SCOPED_TRACE(Show(a) + " + " + Show(b));
      const long long sum = *x + *y;
      int expected = std::max(rank(a.Type()), rank(b.Type()));
      while (expected < 3 && (sum > kLimits[expected] || sum < (expected == 0 ? 0 : -kLimits[expected] - 1))) {
        ++expected;
      }
      const Outcome<Variant> sum_of = Add(a, b);
      ASSERT_TRUE(sum_of.ok());
      const Variant& r = *sum_of;
      EXPECT_EQ(rank(r.Type()), expected);
      if (expected == 3) {
        EXPECT_EQ(Show(r), Show(static_cast<double>(sum)));
      } else {
        EXPECT_EQ(whole(r), sum);
      }
    }
  }
}

Ordering Reverse(Ordering o) {
  return o == Ordering::Less ? Ordering::Greater : o == Ordering::Greater ? Ordering::Less : o;
}

TEST(Compare, Antisymmetric) {
  std::vector<Variant> values = MixedValues();
  for (const char16_t* s : {u"", u"0", u"10", u"9", u"a", u"B", u"\u00e9"}) values.emplace_back(s);
  values.emplace_back(Null);
  values.push_back(Dec(15, 1, true));
  for (const Variant& a : values) {
    for (const Variant& b : values) {
      SCOPED_TRACE(Show(a) + " vs " + Show(b));
      const Outcome<Ordering> ab = Compare(a, b), ba = Compare(b, a);
      ASSERT_TRUE(ab.ok() && ba.ok());
      EXPECT_EQ(Show(*ab), Show(Reverse(*ba)));
    }
  }
}

// Equal values in different numeric kinds compare Equal, and the order of numbers matches
// the order of their values wherever no Single is involved.
TEST(Compare, NumbersFollowTheirValues) {
  const std::vector<Variant> values = MixedValues();
  auto value = [](const Variant& v) -> double {
    if (const Boolean* b = v.If<Boolean>()) return *b ? -1 : 0;
    if (const Byte* b = v.If<Byte>()) return *b;
    if (const Integer* i = v.If<Integer>()) return *i;
    if (const Long* l = v.If<Long>()) return *l;
    if (const Double* d = v.If<Double>()) return *d;
    if (const Currency* c = v.If<Currency>()) return static_cast<double>(c->scaled) / 10000;
    if (const Date* d = v.If<Date>()) return d->value;
    if (const Decimal* d = v.If<Decimal>()) return DecimalToDouble(*d);
    return 0;  // Empty
  };
  for (const Variant& a : values) {
    for (const Variant& b : values) {
      if (a.Type() == VarType::Single || b.Type() == VarType::Single) continue;
      SCOPED_TRACE(Show(a) + " vs " + Show(b));
      const double x = value(a), y = value(b);
      const Ordering expected = x < y ? Ordering::Less : x > y ? Ordering::Greater : Ordering::Equal;
      EXPECT_EQ(Shown(Compare(a, b)), Show(expected));
    }
  }
}

}  // namespace
}  // namespace ztl
