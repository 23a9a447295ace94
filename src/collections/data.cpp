// ZtData: a cleared value of a Variant's kind, the exchange of two variables, and the
// interface table of the class.

#include "ztldata/collections/data.hpp"

#include <chrono>
#include <ctime>
#include <utility>

#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kPurge[] = {In("xVar", Type::Variant)};
constexpr ParamInfo kInter[] = {ByRef("xVar1", Type::Variant), ByRef("xVar2", Type::Variant)};

constexpr MemberInfo kMembers[] = {
    Method<&ZtData::Purge>("Purge", 0x60030000, kPurge, Type::Variant, "Purges the value of a variable"),
    // The help text has two spaces before "two", as the type library carries it.
    Method<&ZtData::Inter>("Inter", 0x60030001, kInter, Type::Void, "Interchanges the value of  two variables"),
};

// Days from 1970-01-01 to a civil date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, unsigned m, unsigned d) noexcept {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

// The current local date and time to the second, as a Date.
Date Now() noexcept {
  const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  if (!localtime_r(&t, &local)) return Date{};
  constexpr long long kDaysTo1970 = 25569;  // 1899-12-30 to 1970-01-01
  const long long days = DaysFromCivil(local.tm_year + 1900LL, static_cast<unsigned>(local.tm_mon + 1),
                                       static_cast<unsigned>(local.tm_mday)) + kDaysTo1970;
  const int seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
  return Date{static_cast<double>(days) + seconds / 86400.0};
}

}  // namespace

const ClassInfo kZtDataClass = DefineClass<ZtData, "ZtData">(
    ClassKind::Utility, {ids::kZtDataClass, ids::kZtDataInterface}, kMembers);

const ClassInfo* ZtData::Class() const noexcept { return &kZtDataClass; }

Variant ZtData::Purge(const Variant& xVar) noexcept {
  switch (xVar.Type()) {
    case VarType::Empty: return Variant();
    case VarType::Null: return Null;
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Decimal:
    case VarType::Byte: return Integer{0};
    case VarType::Date: return Now();
    case VarType::String:  // as many spaces; without the memory for them, Empty
      return Guarded(Variant(), [&] { return Variant(String(xVar.If<String>()->size(), u' ')); });
    case VarType::Object: return nullptr;
    case VarType::Boolean: return false;
    default: return Variant();  // Error values and arrays of every kind
  }
}

void ZtData::Inter(Variant& xVar1, Variant& xVar2) noexcept { std::swap(xVar1, xVar2); }

}  // namespace ztl
