// ZtConversion: the interface table of the class and its conversions.

#include "ztldata/numbers/conversion.hpp"

#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kDegrees[] = {In("dblDegrees", Type::Double)};
constexpr ParamInfo kMeters[] = {In("dblMeters", Type::Double)};
constexpr ParamInfo kYards[] = {In("dblYards", Type::Double)};
constexpr ParamInfo kAcre[] = {In("dblAcre", Type::Double)};
constexpr ParamInfo kHa[] = {In("dblHa", Type::Double)};
constexpr ParamInfo kCm[] = {In("dblCm", Type::Double)};
constexpr ParamInfo kInch[] = {In("dblInch", Type::Double)};
constexpr ParamInfo kCC[] = {In("dblCC", Type::Double)};
constexpr ParamInfo kGr[] = {In("dblGr", Type::Double)};
constexpr ParamInfo kOz[] = {In("dblOz", Type::Double)};
constexpr ParamInfo kKg[] = {In("dblKg", Type::Double)};
constexpr ParamInfo kLb[] = {In("dblLb", Type::Double)};
constexpr ParamInfo kCF[] = {In("dblCF", Type::Double)};
constexpr ParamInfo kLtr[] = {In("dblLtr", Type::Double)};
constexpr ParamInfo kGal[] = {In("dblGal", Type::Double)};

// The help texts are the type library's, as it carries them (a trailing space after
// "Fahrenheit" included), even where they name other units than the operation converts.
constexpr MemberInfo kMembers[] = {
    Method<&ZtConversion::FahToCel>("FahToCel", 0x60030000, kDegrees, Type::Double,
                                    "Converts from Fahrenheit to Celsius"),
    Method<&ZtConversion::CelToFah>("CelToFah", 0x60030001, kDegrees, Type::Double,
                                    "Converts from Celsius to Fahrenheit "),
    Method<&ZtConversion::Mt3ToYd3>("Mt3ToYd3", 0x60030002, kMeters, Type::Double,
                                    "Converts from cubic meters into cubic yards"),
    Method<&ZtConversion::Yd3ToMt3>("Yd3ToMt3", 0x60030003, kYards, Type::Double,
                                    "Converts from cubic yards into cubic meters"),
    Method<&ZtConversion::Mt2ToYd2>("Mt2ToYd2", 0x60030004, kMeters, Type::Double,
                                    "Converts from square meters into square yards"),
    Method<&ZtConversion::Yd2ToMt2>("Yd2ToMt2", 0x60030005, kYards, Type::Double,
                                    "Converts from square yards into square meters"),
    Method<&ZtConversion::MtToYd>("MtToYd", 0x60030006, kMeters, Type::Double,
                                  "Converts from meters into yards"),
    Method<&ZtConversion::YdToMt>("YdToMt", 0x60030007, kYards, Type::Double,
                                  "Converts from yards into meters"),
    Method<&ZtConversion::AcreToHa>("AcreToHa", 0x60030008, kAcre, Type::Double,
                                    "Converts from Acres into hectares"),
    Method<&ZtConversion::HaToAcre>("HaToAcre", 0x60030009, kHa, Type::Double,
                                    "Converts from hectares into acres"),
    Method<&ZtConversion::AcreToM>("AcreToM", 0x6003000A, kAcre, Type::Double,
                                   "Converts from Acres into meters"),
    Method<&ZtConversion::MToAcre>("MToAcre", 0x6003000B, kMeters, Type::Double,
                                   "Converts from meters into acres"),
    Method<&ZtConversion::CmToInch>("CmToInch", 0x6003000C, kCm, Type::Double,
                                    "Converts from centimeters into inches"),
    Method<&ZtConversion::InchToCm>("InchToCm", 0x6003000D, kInch, Type::Double,
                                    "Converts from inches into cubic meters"),
    Method<&ZtConversion::CCToInch>("CCToInch", 0x6003000E, kCC, Type::Double,
                                    "Converts from cubic centimeters into cubic inches"),
    Method<&ZtConversion::InchToCC>("InchToCC", 0x6003000F, kInch, Type::Double,
                                    "Converts from inches into acres cubic centimeters"),
    Method<&ZtConversion::GrToOz>("GrToOz", 0x60030010, kGr, Type::Double, "Converts from grams into ounces"),
    Method<&ZtConversion::OzToGr>("OzToGr", 0x60030011, kOz, Type::Double, "Converts from ounces into grams"),
    Method<&ZtConversion::KgToLb>("KgToLb", 0x60030012, kKg, Type::Double,
                                  "Converts from kilograms into pounds"),
    Method<&ZtConversion::LbToKg>("LbToKg", 0x60030013, kLb, Type::Double,
                                  "Converts from pounds into kilograms"),
    Method<&ZtConversion::CFToLtr>("CFToLtr", 0x60030014, kCF, Type::Double,
                                   "Converts from cubic feet into liter"),
    Method<&ZtConversion::LtrToCF>("LtrToCF", 0x60030015, kLtr, Type::Double,
                                   "Converts from liter into cubic feet"),
    Method<&ZtConversion::GalToLtr>("GalToLtr", 0x60030016, kGal, Type::Double,
                                    "Converts from gallons into liters"),
    Method<&ZtConversion::LtrToGal>("LtrToGal", 0x60030017, kLtr, Type::Double,
                                    "Converts from liters into gallons"),
};

}  // namespace

const ClassInfo kZtConversionClass = DefineClass<ZtConversion, "ZtConversion">(
    ClassKind::Utility, {ids::kZtConversionClass, ids::kZtConversionInterface}, kMembers);

const ClassInfo* ZtConversion::Class() const noexcept { return &kZtConversionClass; }

// Each result is the formula evaluated in Double arithmetic in the order written, one
// rounding per operation.

Double ZtConversion::FahToCel(Double dblDegrees) noexcept { return (dblDegrees - 32) / 1.8; }
Double ZtConversion::CelToFah(Double dblDegrees) noexcept { return dblDegrees * 1.8 + 32; }
Double ZtConversion::Mt3ToYd3(Double dblMeters) noexcept { return dblMeters * 1.308; }
Double ZtConversion::Yd3ToMt3(Double dblYards) noexcept { return dblYards / 1.308; }
Double ZtConversion::Mt2ToYd2(Double dblMeters) noexcept { return dblMeters * 1.1959; }
Double ZtConversion::Yd2ToMt2(Double dblYards) noexcept { return dblYards / 1.1959; }
Double ZtConversion::MtToYd(Double dblMeters) noexcept { return dblMeters * 1.0936; }
Double ZtConversion::YdToMt(Double dblYards) noexcept { return dblYards / 1.0936; }
Double ZtConversion::AcreToHa(Double dblAcre) noexcept { return dblAcre / 2.4711; }
Double ZtConversion::HaToAcre(Double dblHa) noexcept { return dblHa * 2.4711; }
Double ZtConversion::AcreToM(Double dblAcre) noexcept { return dblAcre * 4046.85; }
Double ZtConversion::MToAcre(Double dblMeters) noexcept { return dblMeters / 4046.85; }
Double ZtConversion::CmToInch(Double dblCm) noexcept { return dblCm / 2.5399; }
Double ZtConversion::InchToCm(Double dblInch) noexcept { return dblInch * 2.5399; }
Double ZtConversion::CCToInch(Double dblCC) noexcept { return dblCC / 16.39; }
Double ZtConversion::InchToCC(Double dblInch) noexcept { return dblInch * 16.39; }
Double ZtConversion::GrToOz(Double dblGr) noexcept { return dblGr / 28.328; }
Double ZtConversion::OzToGr(Double dblOz) noexcept { return dblOz * 28.328; }
Double ZtConversion::KgToLb(Double dblKg) noexcept { return dblKg * 2.2046; }
Double ZtConversion::LbToKg(Double dblLb) noexcept { return dblLb / 2.2046; }
Double ZtConversion::CFToLtr(Double dblCF) noexcept { return dblCF * 28.3285; }
Double ZtConversion::LtrToCF(Double dblLtr) noexcept { return dblLtr / 28.3285; }
Double ZtConversion::GalToLtr(Double dblGal) noexcept { return dblGal * 4.5454; }
Double ZtConversion::LtrToGal(Double dblLtr) noexcept { return dblLtr / 4.5454; }

}  // namespace ztl
