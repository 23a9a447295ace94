// ZtStack: the interface table of the component and its operations.

#include "ztldata/containers/stack.hpp"

#include <limits>
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

// Size reports the items as a Long.
constexpr std::size_t kMostItems = static_cast<std::size_t>(std::numeric_limits<Long>::max());

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

Variant ZtStack::Push(const Variant& vntData) noexcept {
  // Appending and answering are two steps: an item that cannot be stored (no memory, or a
  // count beyond what Size can report) is not added, and the argument still comes back.
  if (items_.size() < kMostItems) Guarded([&] { items_.push_back(vntData); });
  return Guarded(Variant(), [&] { return vntData; });
}

Variant ZtStack::Pop() noexcept {
  if (items_.empty()) return Null;
  // The item leaves the list, so it is moved out rather than copied: an object stays the
  // same object and nothing can fail.
  const bool newest = strategy_ == ztlStackFIFO;
  Variant result(std::move(newest ? items_.back() : items_.front()));
  if (newest) {
    items_.pop_back();
  } else {
    items_.pop_front();
  }
  return result;
}

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
