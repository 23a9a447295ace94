// ZtConversion: conversions between metric and imperial units, each by one fixed short
// factor (and the offset 32 for temperatures). A stateless utility class.
//
// Example:
//   ztl::ZtConversion c;
//   c.CelToFah(100);   // 212
//   c.InchToCm(1);     // 2.5399, not 2.54
#pragma once

#include "ztldata/frame/object.hpp"

namespace ztl {

// Note: the factors are the library's own approximations (2.5399 cm per inch, 28.328 g per
// ounce, 28.3285 litres per cubic foot, 4.5454 litres per imperial gallon ...); results
// come out of exactly these, evaluated in the order written with one rounding per step
// (CelToFah rounds x * 1.8 before adding 32). Each pair uses one factor, once to multiply
// and once to divide, so there and back returns within one rounding step. Where a help
// text names other units, the operation converts what its name says. A product beyond the
// Double range gives an infinity; NaN and infinities pass through.
class ZtConversion : public Object {
 public:
  const ClassInfo* Class() const noexcept override;

  Double FahToCel(Double dblDegrees) noexcept;  // (x - 32) / 1.8
  Double CelToFah(Double dblDegrees) noexcept;  // x * 1.8 + 32
  Double Mt3ToYd3(Double dblMeters) noexcept;   // x * 1.308
  Double Yd3ToMt3(Double dblYards) noexcept;    // x / 1.308
  Double Mt2ToYd2(Double dblMeters) noexcept;   // x * 1.1959
  Double Yd2ToMt2(Double dblYards) noexcept;    // x / 1.1959
  Double MtToYd(Double dblMeters) noexcept;     // x * 1.0936
  Double YdToMt(Double dblYards) noexcept;      // x / 1.0936
  Double AcreToHa(Double dblAcre) noexcept;     // x / 2.4711
  Double HaToAcre(Double dblHa) noexcept;       // x * 2.4711
  Double AcreToM(Double dblAcre) noexcept;      // acres to square metres: x * 4046.85
  Double MToAcre(Double dblMeters) noexcept;    // square metres to acres: x / 4046.85
  Double CmToInch(Double dblCm) noexcept;       // x / 2.5399
  Double InchToCm(Double dblInch) noexcept;     // x * 2.5399
  Double CCToInch(Double dblCC) noexcept;       // cubic centimetres to cubic inches: x / 16.39
  Double InchToCC(Double dblInch) noexcept;     // cubic inches to cubic centimetres: x * 16.39
  Double GrToOz(Double dblGr) noexcept;         // x / 28.328
  Double OzToGr(Double dblOz) noexcept;         // x * 28.328
  Double KgToLb(Double dblKg) noexcept;         // x * 2.2046
  Double LbToKg(Double dblLb) noexcept;         // x / 2.2046
  Double CFToLtr(Double dblCF) noexcept;        // x * 28.3285
  Double LtrToCF(Double dblLtr) noexcept;       // x / 28.3285
  Double GalToLtr(Double dblGal) noexcept;      // x * 4.5454
  Double LtrToGal(Double dblLtr) noexcept;      // x / 4.5454
};

}  // namespace ztl
