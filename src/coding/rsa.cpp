// ZtRSA: the interface table of the component and its operations.

#include "ztldata/coding/rsa.hpp"

#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kKeyLet[] = {NewValue(Type::Long)};
constexpr ParamInfo kCoding[] = {In("strBuffer", Type::String), In("lngPrivateKey", Type::Long),
                                 In("lngPublicKey", Type::Long)};

constexpr auto kPublicKeyGet = Pick<Long() const noexcept>(&ZtRSA::PublicKey);
constexpr auto kPublicKeyLet = Pick<void(Long) noexcept>(&ZtRSA::PublicKey);
constexpr auto kPrivateKey1Get = Pick<Long() const noexcept>(&ZtRSA::PrivateKey1);
constexpr auto kPrivateKey1Let = Pick<void(Long) noexcept>(&ZtRSA::PrivateKey1);
constexpr auto kPrivateKey2Get = Pick<Long() const noexcept>(&ZtRSA::PrivateKey2);
constexpr auto kPrivateKey2Let = Pick<void(Long) noexcept>(&ZtRSA::PrivateKey2);

// Methods and properties are numbered in two series (0x6003xxxx and 0x6803xxxx).
constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    PropertyGet<kPublicKeyGet>("PublicKey", 0x68030002, {}, Type::Long),
    PropertyLet<kPublicKeyLet>("PublicKey", 0x68030002, kKeyLet),
    PropertyGet<kPrivateKey1Get>("PrivateKey1", 0x68030001, {}, Type::Long),
    PropertyLet<kPrivateKey1Let>("PrivateKey1", 0x68030001, kKeyLet),
    PropertyGet<kPrivateKey2Get>("PrivateKey2", 0x68030000, {}, Type::Long),
    PropertyLet<kPrivateKey2Let>("PrivateKey2", 0x68030000, kKeyLet),
    Method<&ZtRSA::GenerateKeys>("GenerateKeys", 0x60030007, {}, Type::Void),
    Method<&ZtRSA::Encode>("Encode", 0x60030008, kCoding, Type::Variant),
    Method<&ZtRSA::Decode>("Decode", 0x60030009, kCoding, Type::Variant),
};

}  // namespace

const ClassInfo kZtRSAClass = {
    "ZtRSA", "_ZtRSA", "__ZtRSA", ClassKind::Component,
    ids::kZtRSAClass, ids::kZtRSAInterface, ids::kZtRSAEvents,
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtRSA>()); },
};

const ClassInfo* ZtRSA::Class() const noexcept { return &kZtRSAClass; }

// The operations are not built yet: they answer with the default of their result type.
Long ZtRSA::PublicKey() const noexcept { return 0; }
void ZtRSA::PublicKey(Long) noexcept {}
Long ZtRSA::PrivateKey1() const noexcept { return 0; }
void ZtRSA::PrivateKey1(Long) noexcept {}
Long ZtRSA::PrivateKey2() const noexcept { return 0; }
void ZtRSA::PrivateKey2(Long) noexcept {}
void ZtRSA::GenerateKeys() noexcept {}
Variant ZtRSA::Encode(const String&, Long, Long) noexcept { return Variant(); }
Variant ZtRSA::Decode(const String&, Long, Long) noexcept { return Variant(); }

}  // namespace ztl
