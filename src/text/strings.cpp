// ZtStrings: the interface table of the class and its operations.

#include "ztldata/text/strings.hpp"

#include "frame/classes.hpp"
#include "frame/identities.hpp"
#include "frame/member_table.hpp"

namespace ztl {

namespace {

constexpr ParamInfo kExpand[] = {In("strSource", Type::String), Optional("strChars", Type::String, u" ")};
constexpr ParamInfo kCapital[] = {In("strSource", Type::String)};
constexpr ParamInfo kOccurs[] = {In("strCheckIn", Type::String), In("strCheckFor", Type::String)};
constexpr ParamInfo kPad[] = {In("strBuffer", Type::String), In("intLength", Type::Integer),
                              Optional("intCharPad", Type::Integer, 32)};
constexpr ParamInfo kReplace[] = {In("strString", Type::String), In("strSearch", Type::String),
                                  Optional("strReplace", Type::String, u"")};
constexpr ParamInfo kInStrAdv[] = {In("strBuffer", Type::String), In("strSearch", Type::String),
                                   ByRef("cllCollection", Type::Collection)};
constexpr ParamInfo kPrintf[] = {In("strText", Type::String), ParamArray("Vals")};
constexpr ParamInfo kString[] = {In("strString", Type::String)};
constexpr ParamInfo kText[] = {In("strText", Type::String)};
constexpr ParamInfo kASCII[] = {In("strASCII", Type::String)};
constexpr ParamInfo kEBCDIC[] = {In("strEBCDIC", Type::String)};
constexpr ParamInfo kEllipse[] = {In("strText", Type::String), In("lngWidth", Type::Long),
                                  In("lngHeight", Type::Long), In("hDC", Type::Long),
                                  In("intStyle", Type::ztlEllipseText)};

constexpr MemberInfo kMembers[] = {
    Method<&ZtStrings::Expand>("Expand", 0x60030000, kExpand, Type::String, "Expands a text with other text"),
    Method<&ZtStrings::Capital>("Capital", 0x60030001, kCapital, Type::String,
                                "Capitalizes a text (This Is A Example)"),
    Method<&ZtStrings::Occurs>("Occurs", 0x60030002, kOccurs, Type::Long,
                               "Gets the number of occurrences of a string is into other"),
    Method<&ZtStrings::Pad>("Pad", 0x60030003, kPad, Type::String, "Pads a string"),
    Method<&ZtStrings::Replace>("Replace", 0x60030004, kReplace, Type::String, "Replaces a string into other"),
    Method<&ZtStrings::ReplaceAll>("ReplaceAll", 0x60030005, kReplace, Type::String),
    Method<&ZtStrings::InStrAdv>("InStrAdv", 0x60030006, kInStrAdv, Type::Long,
                                 "Fills a collection with the positions of the occurrences of a string in other"),
    Method<&ZtStrings::sPrintf>("sPrintf", 0x60030007, kPrintf, Type::String,
                                "Transforms a string in a process similar to the C printf function"),
    Method<&ZtStrings::IsAlpha>("IsAlpha", 0x60030008, kString, Type::Boolean, "Determines if a buffer is alphabetic"),
    Method<&ZtStrings::IsAlphaNumeric>("IsAlphaNumeric", 0x60030009, kString, Type::Boolean,
                                       "Determines if a buffer is alphanumeric"),
    Method<&ZtStrings::IsNumeric>("IsNumeric", 0x6003000A, kString, Type::Boolean, "Determines if a text is numeric"),
    Method<&ZtStrings::WinToOem>("WinToOem", 0x6003000B, kText, Type::String,
                                 "Converts a string from windows format to OEM"),
    Method<&ZtStrings::OemToWin>("OemToWin", 0x6003000C, kText, Type::String,
                                 "Converts a string from OEM to windows format"),
    Method<&ZtStrings::ASCIIToEBCDIC>("ASCIIToEBCDIC", 0x6003000D, kASCII, Type::String),
    Method<&ZtStrings::EBCDICToASCII>("EBCDICToASCII", 0x6003000E, kEBCDIC, Type::String),
    Method<&ZtStrings::EllipseText>("EllipseText", 0x6003000F, kEllipse, Type::String),
};

}  // namespace

const ClassInfo kZtStringsClass = {
    "ZtStrings", "_ZtStrings", "", ClassKind::Utility,
    ids::kZtStringsClass, ids::kZtStringsInterface, {},
    kMembers,
    [] { return ObjectRef(std::make_shared<ZtStrings>()); },
};

const ClassInfo* ZtStrings::Class() const noexcept { return &kZtStringsClass; }

// The operations are not built yet: they answer with the default of their result type.
String ZtStrings::Expand(const String&, const String&) noexcept { return String(); }
String ZtStrings::Capital(const String&) noexcept { return String(); }
Long ZtStrings::Occurs(const String&, const String&) noexcept { return 0; }
String ZtStrings::Pad(const String&, Integer, Integer) noexcept { return String(); }
String ZtStrings::Replace(const String&, const String&, const String&) noexcept { return String(); }
String ZtStrings::ReplaceAll(const String&, const String&, const String&) noexcept { return String(); }
Long ZtStrings::InStrAdv(const String&, const String&, const CollectionRef&) noexcept { return 0; }
String ZtStrings::sPrintf(const String&, std::span<const Variant>) noexcept { return String(); }
Boolean ZtStrings::IsAlpha(const String&) noexcept { return false; }
Boolean ZtStrings::IsAlphaNumeric(const String&) noexcept { return false; }
Boolean ZtStrings::IsNumeric(const String&) noexcept { return false; }
String ZtStrings::WinToOem(const String&) noexcept { return String(); }
String ZtStrings::OemToWin(const String&) noexcept { return String(); }
String ZtStrings::ASCIIToEBCDIC(const String&) noexcept { return String(); }
String ZtStrings::EBCDICToASCII(const String&) noexcept { return String(); }

}  // namespace ztl
