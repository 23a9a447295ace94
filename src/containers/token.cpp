// ZtToken: the interface table of the component and its operations.

#include "ztldata/containers/token.hpp"

#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kCreate[] = {In("strList", Type::String), Optional("strDelimiters", Type::String, u"")};
constexpr ParamInfo kGetToken[] = {In("lngToken", Type::Long)};

// Methods and properties are numbered in two series (0x6003xxxx and 0x6803xxxx).
constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    Method<&ZtToken::Create>("Create", 0x60030005, kCreate, Type::Void),
    PropertyGet<&ZtToken::Count>("Count", 0x68030000, {}, Type::Long),
    Method<&ZtToken::GetToken>("GetToken", 0x60030006, kGetToken, Type::String),
};

}  // namespace

const ClassInfo kZtTokenClass = {
    "ZtToken", "_ZtToken", "__ZtToken", ClassKind::Component,
    ids::kZtTokenClass, ids::kZtTokenInterface, ids::kZtTokenEvents,
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtToken>()); },
};

const ClassInfo* ZtToken::Class() const noexcept { return &kZtTokenClass; }

// The operations are not built yet: they answer with the default of their result type.
void ZtToken::Create(const String&, const String&) noexcept {}
Long ZtToken::Count() const noexcept { return 0; }
String ZtToken::GetToken(Long) noexcept { return String(); }

}  // namespace ztl
