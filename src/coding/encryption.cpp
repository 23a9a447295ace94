// ZtEncryption: the interface table of the component and its operations.

#include "ztldata/coding/encryption.hpp"

#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kBufferKey[] = {In("strBuffer", Type::String), In("lngKey", Type::Long)};

constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    Method<&ZtEncryption::Encode>("Encode", 0x60030004, kBufferKey, Type::String),
    Method<&ZtEncryption::Decode>("Decode", 0x60030005, kBufferKey, Type::String),
};

}  // namespace

const ClassInfo kZtEncryptionClass = {
    "ZtEncryption", "_ZtEncryption", "__ZtEncryption", ClassKind::Component,
    ids::kZtEncryptionClass, ids::kZtEncryptionInterface, ids::kZtEncryptionEvents,
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtEncryption>()); },
};

const ClassInfo* ZtEncryption::Class() const noexcept { return &kZtEncryptionClass; }

// The operations are not built yet: they answer with the default of their result type.
String ZtEncryption::Encode(const String&, Long) noexcept { return String(); }
String ZtEncryption::Decode(const String&, Long) noexcept { return String(); }

}  // namespace ztl
