// ZtStack: the interface table of the component and its operations.

#include "ztldata/containers/stack.hpp"

#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

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

const ClassInfo kZtStackClass = {
    "ZtStack", "_ZtStack", "__ZtStack", ClassKind::Component,
    ids::kZtStackClass, ids::kZtStackInterface, ids::kZtStackEvents,
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtStack>()); },
};

const ClassInfo* ZtStack::Class() const noexcept { return &kZtStackClass; }

// The operations are not built yet: they answer with the default of their result type.
ztlStackStrategy ZtStack::Strategy() const noexcept { return ztlStackFIFO; }
void ZtStack::Strategy(ztlStackStrategy) noexcept {}
void ZtStack::Clear() noexcept {}
Variant ZtStack::Push(const Variant&) noexcept { return Variant(); }
Variant ZtStack::Pop() noexcept { return Variant(); }
Boolean ZtStack::IsEmpty() const noexcept { return false; }
Long ZtStack::Size() const noexcept { return 0; }
Variant ZtStack::Peek() noexcept { return Variant(); }

}  // namespace ztl
