// ZtStack: the interface table of the component and its operations.

#include "ztldata/containers/stack.hpp"

#include <utility>

#include "frame/boundary.hpp"
#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"
#include "ztldata/frame/convert.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kStrategyLet[] = {NewValue(Type::ztlStackStrategy)};
constexpr ParamInfo kPush[] = {In("vntData", Type::Variant)};

// Methods and properties are numbered in two series (0x6003xxxx and 0x6803xxxx).
constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    PropertyGet<Pick<ztlStackStrategy() const noexcept>(&ZtStack::Strategy)>("Strategy", 0x68030002, {},
                                                                              Type::ztlStackStrategy),
    PropertyLet<Pick<void(ztlStackStrategy) noexcept>(&ZtStack::Strategy)>("Strategy", 0x68030002, kStrategyLet),
    Method<&ZtStack::Clear>("Clear", 0x60030007, {}, Type::Void),
    Method<&ZtStack::Push>("Push", 0x60030008, kPush, Type::Variant),
    Method<&ZtStack::Pop>("Pop", 0x60030009, {}, Type::Variant),
    PropertyGet<&ZtStack::IsEmpty>("IsEmpty", 0x68030001, {}, Type::Boolean),
    PropertyGet<&ZtStack::Size>("Size", 0x68030000, {}, Type::Long),
    Method<&ZtStack::Peek>("Peek", 0x6003000A, {}, Type::Variant),
};

}  // namespace

const ClassInfo kZtStackClass = DefineClass<ZtStack, "ZtStack">(
    ClassKind::Component, {ids::kZtStackClass, ids::kZtStackInterface, ids::kZtStackEvents}, kMembers);

const ClassInfo* ZtStack::Class() const noexcept { return &kZtStackClass; }

ztlStackStrategy ZtStack::Strategy() const noexcept { return strategy_; }

void ZtStack::Strategy(ztlStackStrategy value) noexcept {
  if (value != ztlStackFIFO && value != ztlStackLIFO) return;
  strategy_ = value;
  PropertyChanged(u"Strategy");
}

void ZtStack::Clear() noexcept { items_.clear(); }

Boolean ZtStack::IsEmpty() const noexcept { return items_.empty(); }

Long ZtStack::Size() const noexcept { return static_cast<Long>(items_.size()); }

Variant ZtStack::Peek() noexcept {
  if (items_.empty()) return Null;
  return Guarded(Variant(), [&] { return strategy_ == ztlStackFIFO ? items_.back() : items_.front(); });
}

void ZtStack::InitProperties() noexcept {
  Enabled(true);
  Strategy(ztlStackFIFO);
  TabStop(false);
}

void ZtStack::ReadProperties(const PropertyBag& bag) noexcept {
  // Each value that does not convert fails only its own step; the property keeps its value.
  Guarded([&] {
    if (const auto enabled = ToBoolean(bag.ReadProperty(u"Enabled", Variant(true)))) Enabled(*enabled);
  });
  Guarded([&] {
    if (const auto strategy = ToLong(bag.ReadProperty(u"Strategy", Variant(Long{0})))) {
      Strategy(static_cast<ztlStackStrategy>(*strategy));
    }
  });
  TabStop(false);
}

void ZtStack::WriteProperties(PropertyBag& bag) noexcept {
  Component::WriteProperties(bag);
  Guarded([&] { bag.WriteProperty(u"Strategy", Variant(static_cast<Long>(strategy_)), Variant(Long{0})); });
}

}  // namespace ztl
