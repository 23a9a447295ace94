// ZtRLE: the interface table of the component and its operations.

#include "ztldata/coding/rle.hpp"

#include "frame/classes.hpp"
#include "frame/component_rows.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kInput[] = {In("strInputString", Type::String)};

constexpr MemberInfo kMembers[] = {
    kAboutRow,
    kEnabledGetRow,
    kEnabledLetRow,
    Method<&ZtRLE::Decompress>("Decompress", 0x60030004, kInput, Type::String),
    Method<&ZtRLE::Compress>("Compress", 0x60030005, kInput, Type::String),
};

}  // namespace

const ClassInfo kZtRLEClass = {
    "ZtRLE", "_ZtRLE", "__ZtRLE", ClassKind::Component,
    ids::kZtRLEClass, ids::kZtRLEInterface, ids::kZtRLEEvents,
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtRLE>()); },
};

const ClassInfo* ZtRLE::Class() const noexcept { return &kZtRLEClass; }

// The operations are not built yet: they answer with the default of their result type.
String ZtRLE::Decompress(const String&) noexcept { return String(); }
String ZtRLE::Compress(const String&) noexcept { return String(); }

}  // namespace ztl
