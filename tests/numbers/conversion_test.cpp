// ZtConversion: the fixed factors, the order of evaluation (pinned to exact bit patterns),
// overflow to infinity, and each pair of conversions returning to its input.

#include "ztldata/numbers/conversion.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace ztl {
namespace {

using Conversion = Double (ZtConversion::*)(Double) noexcept;

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Conversion, FactorsAndOffsets) {
  const struct {
    const char* name;
    Conversion convert;
    double x, expected;
  } kCases[] = {
      {"FahToCel", &ZtConversion::FahToCel, 212, 100},
      {"FahToCel", &ZtConversion::FahToCel, 32, 0},
      {"FahToCel", &ZtConversion::FahToCel, -40, -40},
      {"CelToFah", &ZtConversion::CelToFah, 100, 212},
      {"CelToFah", &ZtConversion::CelToFah, -40, -40},
      {"CmToInch", &ZtConversion::CmToInch, 2.5399, 1},
      {"InchToCm", &ZtConversion::InchToCm, 1, 2.5399},  // not 2.54
      {"GrToOz", &ZtConversion::GrToOz, 28.328, 1},
      {"OzToGr", &ZtConversion::OzToGr, 1, 28.328},      // mass: 28.328
      {"CFToLtr", &ZtConversion::CFToLtr, 1, 28.3285},   // volume: 28.3285
      {"AcreToM", &ZtConversion::AcreToM, 1, 4046.85},
      {"MToAcre", &ZtConversion::MToAcre, 4046.85, 1},
      {"KgToLb", &ZtConversion::KgToLb, 1, 2.2046},
      {"LbToKg", &ZtConversion::LbToKg, 2.2046, 1},
      {"GalToLtr", &ZtConversion::GalToLtr, 1, 4.5454},  // the imperial gallon
      {"Mt3ToYd3", &ZtConversion::Mt3ToYd3, 1, 1.308},
      {"Mt2ToYd2", &ZtConversion::Mt2ToYd2, 1, 1.1959},
      {"MtToYd", &ZtConversion::MtToYd, 1, 1.0936},
      {"HaToAcre", &ZtConversion::HaToAcre, 1, 2.4711},
      {"InchToCC", &ZtConversion::InchToCC, 1, 16.39},
      {"CelToFah", &ZtConversion::CelToFah, 1e308, kInf},  // the product overflows
      {"MtToYd", &ZtConversion::MtToYd, -1.7e308, -kInf},
      {"AcreToM", &ZtConversion::AcreToM, kInf, kInf},
      {"LtrToGal", &ZtConversion::LtrToGal, -kInf, -kInf},
  };
  ZtConversion c;
  for (const auto& k : kCases) {
    SCOPED_TRACE(testing::Message() << k.name << "(" << k.x << ")");
    EXPECT_EQ((c.*k.convert)(k.x), k.expected);
  }
  EXPECT_TRUE(std::isnan(c.FahToCel(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_TRUE(std::isnan(c.CelToFah(std::numeric_limits<double>::quiet_NaN())));
}

// Results of each formula for 0.1 and 123.456, worked out independently, one rounding per
// operation in the order written.
TEST(Conversion, ExactBitPatterns) {
  const struct {
    const char* name;
    Conversion convert;
    std::uint64_t of_tenth, of_123_456;
  } kCases[] = {
    {"FahToCel", &ZtConversion::FahToCel, 0xC031B8E38E38E38E, 0x40496789ABCDF012},
    {"Mt3ToYd3", &ZtConversion::Mt3ToYd3, 0x3FC0BE0DED288CE7, 0x40642F5FD47BEDB8},
    {"Yd3ToMt3", &ZtConversion::Yd3ToMt3, 0x3FB39265C6113926, 0x405798A919D5B98A},
    {"Mt2ToYd2", &ZtConversion::Mt2ToYd2, 0x3FBE9D7342EDBB5A, 0x40627483522F77BD},
    {"Yd2ToMt2", &ZtConversion::Yd2ToMt2, 0x3FB5680E8E704C61, 0x4059CEE4BFE33ACE},
    {"MtToYd", &ZtConversion::MtToYd, 0x3FBBFF04577D9557, 0x4060E05E0EA9102F},
    {"YdToMt", &ZtConversion::YdToMt, 0x3FB768AF49391E28, 0x405C38EE358F433C},
    {"AcreToHa", &ZtConversion::AcreToHa, 0x3FA4B8324E96D140, 0x4048FADF361BE8C1},
    {"HaToAcre", &ZtConversion::HaToAcre, 0x3FCFA14CEC41DD1A, 0x4073112768FA955D},
    {"AcreToM", &ZtConversion::AcreToM, 0x40794AF5C28F5C29, 0x411E7E5FA786C227},
    {"MToAcre", &ZtConversion::MToAcre, 0x3EF9E931F23A7EE5, 0x3F9F3D25561DE244},
    {"CmToInch", &ZtConversion::CmToInch, 0x3FA42884A43594A9, 0x40484DA650DAD696},
    {"InchToCm", &ZtConversion::InchToCm, 0x3FD0415F45E0B4E1, 0x4073990DE7494FD5},
    {"CCToInch", &ZtConversion::CCToInch, 0x3F78FDA8383ABA7F, 0x401E212CE3CAA500},
    {"InchToCC", &ZtConversion::InchToCC, 0x3FFA395810624DD4, 0x409F9DC67DFE32A1},
    {"GrToOz", &ZtConversion::GrToOz, 0x3F6CEB1B416D8745, 0x40116EAF63D7399F},
    {"OzToGr", &ZtConversion::OzToGr, 0x4006A9930BE0DED3, 0x40AB5285EC3DAB5C},
    {"KgToLb", &ZtConversion::KgToLb, 0x3FCC38088509BF9D, 0x407102BCD0D646C9},
    {"LbToKg", &ZtConversion::LbToKg, 0x3FA739630D1340BA, 0x404BFFE837EC7DE0},
    {"CFToLtr", &ZtConversion::CFToLtr, 0x4006A9AD42C3C9EF, 0x40AB52A5870DA5DB},
    {"LtrToCF", &ZtConversion::LtrToCF, 0x3F6CEAF9CE24CE9B, 0x40116E9B39C93A4E},
    {"GalToLtr", &ZtConversion::GalToLtr, 0x3FDD172EF0AE5365, 0x40818941560BA550},
    {"LtrToGal", &ZtConversion::LtrToGal, 0x3F96873CB9968008, 0x403B2920176DED3C},
  };
  ZtConversion c;
  for (const auto& k : kCases) {
    SCOPED_TRACE(k.name);
    EXPECT_EQ(std::bit_cast<std::uint64_t>((c.*k.convert)(0.1)), k.of_tenth);
    EXPECT_EQ(std::bit_cast<std::uint64_t>((c.*k.convert)(123.456)), k.of_123_456);
  }
}

// x * 1.8 is rounded before 32 is added. For these inputs one fused multiply-add (a single
// rounding) gives a different last bit, so a compiler that contracted the formula fails here.
TEST(CelToFah, ProductIsRoundedBeforeTheOffset) {
  const struct {
    double celsius;
    std::uint64_t fahrenheit;
  } kCases[] = {
      {-17.7, 0x3FC1EB851EB85200},
      {6.1, 0x40457D70A3D70A3E},
      {-39.8, 0xC043D1EB851EB852},
      {-80.6, 0xC05C451EB851EB84},
  };
  ZtConversion c;
  for (const auto& k : kCases) {
    SCOPED_TRACE(k.celsius);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(c.CelToFah(k.celsius)), k.fahrenheit);
    EXPECT_NE(std::bit_cast<std::uint64_t>(std::fma(k.celsius, 1.8, 32.0)), k.fahrenheit);
  }
}

// Each pair uses one factor once as multiplier and once as divisor: there and back returns
// within one unit in the last place.
TEST(Conversion, PairsReturnToTheirInput) {
  const struct {
    const char* name;
    Conversion there, back;
  } kPairs[] = {
      {"Mt3ToYd3", &ZtConversion::Mt3ToYd3, &ZtConversion::Yd3ToMt3},
      {"Mt2ToYd2", &ZtConversion::Mt2ToYd2, &ZtConversion::Yd2ToMt2},
      {"MtToYd", &ZtConversion::MtToYd, &ZtConversion::YdToMt},
      {"HaToAcre", &ZtConversion::HaToAcre, &ZtConversion::AcreToHa},
      {"AcreToM", &ZtConversion::AcreToM, &ZtConversion::MToAcre},
      {"InchToCm", &ZtConversion::InchToCm, &ZtConversion::CmToInch},
      {"InchToCC", &ZtConversion::InchToCC, &ZtConversion::CCToInch},
      {"OzToGr", &ZtConversion::OzToGr, &ZtConversion::GrToOz},
      {"KgToLb", &ZtConversion::KgToLb, &ZtConversion::LbToKg},
      {"CFToLtr", &ZtConversion::CFToLtr, &ZtConversion::LtrToCF},
      {"GalToLtr", &ZtConversion::GalToLtr, &ZtConversion::LtrToGal},
  };
  ZtConversion c;
  std::mt19937_64 gen(20240611);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_real_distribution<double> exponent(-10, 12);
  for (int i = 0; i < 20000; ++i) {
    const double x = mantissa(gen) * std::pow(10.0, exponent(gen));
    const double ulp = std::nextafter(std::abs(x), kInf) - std::abs(x);
    for (const auto& p : kPairs) {
      ASSERT_LE(std::abs((c.*p.back)((c.*p.there)(x)) - x), ulp) << p.name << " " << x;
      ASSERT_LE(std::abs((c.*p.there)((c.*p.back)(x)) - x), ulp) << p.name << " " << x;
    }
  }
}

// The temperatures add an offset, so the step is one unit in the last place of the largest
// magnitude on the way (32 at least), not of the input.
TEST(Conversion, TemperaturesReturnToTheirInput) {
  ZtConversion c;
  std::mt19937_64 gen(77);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_real_distribution<double> exponent(-6, 10);
  const auto ulp = [](double a, double b) {
    const double m = std::max({std::abs(a), std::abs(b), 32.0});
    return std::nextafter(m, kInf) - m;
  };
  for (int i = 0; i < 20000; ++i) {
    const double x = mantissa(gen) * std::pow(10.0, exponent(gen));
    const double f = c.CelToFah(x);
    ASSERT_LE(std::abs(c.FahToCel(f) - x), ulp(x, f)) << x;
    const double celsius = c.FahToCel(x);
    ASSERT_LE(std::abs(c.CelToFah(celsius) - x), 2 * ulp(x, celsius)) << x;
  }
}

}  // namespace
}  // namespace ztl
