// What `ztl list`, `ztl describe` and the serve method `describe` say about the type library:
// the classes and, per class, every member slot with its id, kind, parameters and help string.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "json_value.hpp"
#include "ztldata/frame/typelib.hpp"

namespace ztl::cli {

// "utility class" or "component".
std::string_view ClassKindText(ClassKind kind);

// "method", "property get" or "property let".
std::string_view MemberKindText(MemberKind kind);

// "Name(dblNumber1 As Double, [intSize As Integer = 9], ByRef aArray As Variant) As Double".
std::string SignatureText(const MemberInfo& member);

// One line per class: name, kind, registered name.
std::string ListText();

// The class header and one line per slot.
std::string DescribeText(const ClassInfo& info);

// The serve protocol's description of a class.
Json DescribeJson(const ClassInfo& info);

// The registered name of a class ("ZTLData.ZtNumeric").
std::string ProgId(const ClassInfo& info);

}  // namespace ztl::cli
