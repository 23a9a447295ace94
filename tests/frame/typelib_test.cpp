// The interface tables of the sixteen classes: slot counts and ends, class kinds, help texts
// byte for byte, optional defaults, by-reference parameters and the one parameter array.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "ztldata/ztldata.hpp"

namespace ztl {
namespace {

constexpr MemberKind kM = MemberKind::Method;
constexpr MemberKind kGet = MemberKind::PropertyGet;

const ClassInfo& Info(std::u16string_view name) {
  const ClassInfo* info = FindClass(name);
  EXPECT_NE(info, nullptr);
  static const ClassInfo kNone{};
  return info ? *info : kNone;
}

const MemberInfo* Member(const ClassInfo& info, std::string_view name, MemberKind kind = kM) {
  for (const MemberInfo& m : info.members) {
    if (m.name == name && m.kind == kind) return &m;
  }
  ADD_FAILURE() << info.name << " has no " << name;
  return nullptr;
}

const ParamInfo* Param(const MemberInfo* m, std::string_view name) {
  if (!m) return nullptr;
  for (const ParamInfo& p : m->params) {
    if (p.name == name) return &p;
  }
  ADD_FAILURE() << m->name << " has no parameter " << name;
  return nullptr;
}

std::string Help(const MemberInfo* m) { return m && m->help ? std::string(m->help) : std::string("<none>"); }

TEST(Interfaces, SlotCountsAndEnds) {
  struct End {
    std::string_view name;
    DispId dispid;
    MemberKind kind;
  };
  const struct {
    std::u16string_view cls;
    std::size_t count;
    End first, last;
  } kCases[] = {
      {u"ZtArrays", 10, {"Dimensions", 0x60030000, kM}, {"Shuffle", 0x60030009, kM}},
      {u"ZtBases", 12, {"LoWord", 0x60030000, kM}, {"MakeDWord", 0x6003000B, kM}},
      {u"ZtConversion", 24, {"FahToCel", 0x60030000, kM}, {"LtrToGal", 0x60030017, kM}},
      // No member carries 0x60030000 or 0x60030005; SearchByKey takes the last slot.
      {u"ZtCollections", 5, {"Search", 0x60030001, kM}, {"SearchByKey", 0x60030006, kM}},
      {u"ZtDate", 13, {"LastDay", 0x60030000, kM}, {"Str2Time", 0x6003000C, kM}},
      {u"ZtData", 2, {"Purge", 0x60030000, kM}, {"Inter", 0x60030001, kM}},
      {u"ZtNumeric", 20, {"Max", 0x60030000, kM}, {"Power", 0x60030013, kM}},
      {u"ZtObjects", 1, {"IsSet", 0x60030000, kM}, {"IsSet", 0x60030000, kM}},
      {u"ZtStrings", 16, {"Expand", 0x60030000, kM}, {"EllipseText", 0x6003000F, kM}},
      {u"ZtBits", 9, {"About", -552, kM}, {"FileWrite", 0x60030009, kM}},
      {u"ZtStack", 11, {"About", -552, kM}, {"Peek", 0x6003000A, kM}},
      {u"ZtToken", 6, {"About", -552, kM}, {"GetToken", 0x60030006, kM}},
      {u"ZtRLE", 5, {"About", -552, kM}, {"Compress", 0x60030005, kM}},
      {u"ZtEncryption", 5, {"About", -552, kM}, {"Decode", 0x60030005, kM}},
      {u"ZtCRC32", 6, {"About", -552, kM}, {"GetCRC32", 0x60030007, kM}},
      {u"ZtRSA", 12, {"About", -552, kM}, {"Decode", 0x60030009, kM}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.cls.begin(), c.cls.end()));
    const ClassInfo& info = Info(c.cls);
    ASSERT_EQ(info.members.size(), c.count);
    for (const auto& [end, m] : {std::pair{c.first, &info.members.front()}, std::pair{c.last, &info.members.back()}}) {
      EXPECT_EQ(m->name, end.name);
      EXPECT_EQ(m->dispid, end.dispid);
      EXPECT_EQ(m->kind, end.kind);
    }
  }
}

TEST(Interfaces, ClassKindsAndIdentities) {
  for (const ClassInfo* info : Classes()) {
    SCOPED_TRACE(info->name);
    EXPECT_TRUE(info->interface_name.starts_with("_"));
    EXPECT_EQ(info->interface_name.substr(1), info->name);
    // A slip in a class's create function would make another class's object.
    const ObjectRef object = info->create();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->Class(), info);
    if (info->kind == ClassKind::Component) {
      EXPECT_TRUE(info->event_interface.starts_with("__"));
      EXPECT_EQ(info->event_interface.substr(2), info->name);
      EXPECT_NE(info->event_iid, Guid{});
      // About and the Enabled property head every component's interface, without help texts.
      ASSERT_GE(info->members.size(), 3u);
      EXPECT_EQ(info->members[1].name, "Enabled");
      EXPECT_EQ(info->members[1].kind, kGet);
      EXPECT_EQ(info->members[2].dispid, kDispIdEnabled);
      EXPECT_EQ(info->members[2].kind, MemberKind::PropertyLet);
      for (const MemberInfo& m : info->members) EXPECT_EQ(m.help, nullptr) << m.name;
    } else {
      EXPECT_EQ(info->event_interface, "");
      EXPECT_EQ(info->event_iid, Guid{});
    }
    // Within a class a dispatch id names one get, one let or one method, never two.
    std::set<std::pair<DispId, MemberKind>> seen;
    for (const MemberInfo& m : info->members) {
      EXPECT_TRUE(seen.insert({m.dispid, m.kind}).second) << m.name;
    }
  }
  const struct {
    std::u16string_view cls;
    ClassKind kind;
  } kCases[] = {
      {u"ZtArrays", ClassKind::Utility},   {u"ZtStrings", ClassKind::Utility},
      {u"ZtObjects", ClassKind::Utility},  {u"ZtBits", ClassKind::Component},
      {u"ZtStack", ClassKind::Component},  {u"ZtRSA", ClassKind::Component},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.cls.begin(), c.cls.end()));
    EXPECT_EQ(Info(c.cls).kind, c.kind);
  }
}

TEST(Interfaces, PropertiesOfComponents) {
  const struct {
    std::u16string_view cls;
    std::string_view name;
    DispId dispid;
    std::size_t get_params;
    Type result;
    bool has_let;
  } kCases[] = {
      {u"ZtStack", "Strategy", 0x68030002, 0, Type::ztlStackStrategy, true},
      {u"ZtStack", "IsEmpty", 0x68030001, 0, Type::Boolean, false},
      {u"ZtStack", "Size", 0x68030000, 0, Type::Long, false},
      {u"ZtBits", "Size", 0x68030001, 0, Type::Long, false},
      {u"ZtBits", "Bit", 0x68030000, 1, Type::Boolean, true},
      {u"ZtToken", "Count", 0x68030000, 0, Type::Long, false},
      {u"ZtRSA", "PublicKey", 0x68030002, 0, Type::Long, true},
      {u"ZtRSA", "PrivateKey1", 0x68030001, 0, Type::Long, true},
      {u"ZtRSA", "PrivateKey2", 0x68030000, 0, Type::Long, true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const ClassInfo& info = Info(c.cls);
    const MemberInfo* get = Member(info, c.name, kGet);
    ASSERT_NE(get, nullptr);
    EXPECT_EQ(get->dispid, c.dispid);
    EXPECT_EQ(get->params.size(), c.get_params);
    EXPECT_EQ(get->result, c.result);
    const MemberInfo* let = FindMember(info, c.dispid, MemberKind::PropertyLet);
    EXPECT_EQ(let != nullptr, c.has_let);
    if (let) {
      // The let takes the get's parameters, then the new value, named "value".
      ASSERT_EQ(let->params.size(), c.get_params + 1);
      EXPECT_EQ(let->params.back().name, "value");
      EXPECT_EQ(let->params.back().type, c.result);
    }
  }
}

TEST(Interfaces, SearchByKeyBySlotAndByDispId) {
  const ClassInfo& info = Info(u"ZtCollections");
  ASSERT_EQ(info.members.size(), 5u);
  EXPECT_EQ(FindMember(info, 0x60030006, kM), &info.members[4]);
  EXPECT_EQ(FindMember(info, 0x60030005, kM), nullptr);
  EXPECT_EQ(FindMember(info, 0x60030000, kM), nullptr);
  EXPECT_EQ(info.members[4].help, nullptr);
}

TEST(HelpStrings, ZtConversionByteForByte) {
  const struct {
    std::string_view op;
    std::string_view help;
  } kCases[] = {
      {"FahToCel", "Converts from Fahrenheit to Celsius"},
      {"CelToFah", "Converts from Celsius to Fahrenheit "},  // the trailing space is the library's
      {"Mt3ToYd3", "Converts from cubic meters into cubic yards"},
      {"Yd3ToMt3", "Converts from cubic yards into cubic meters"},
      {"Mt2ToYd2", "Converts from square meters into square yards"},
      {"Yd2ToMt2", "Converts from square yards into square meters"},
      {"MtToYd", "Converts from meters into yards"},
      {"YdToMt", "Converts from yards into meters"},
      {"AcreToHa", "Converts from Acres into hectares"},
      {"HaToAcre", "Converts from hectares into acres"},
      {"AcreToM", "Converts from Acres into meters"},
      {"MToAcre", "Converts from meters into acres"},
      {"CmToInch", "Converts from centimeters into inches"},
      {"InchToCm", "Converts from inches into cubic meters"},
      {"CCToInch", "Converts from cubic centimeters into cubic inches"},
      {"InchToCC", "Converts from inches into acres cubic centimeters"},
      {"GrToOz", "Converts from grams into ounces"},
      {"OzToGr", "Converts from ounces into grams"},
      {"KgToLb", "Converts from kilograms into pounds"},
      {"LbToKg", "Converts from pounds into kilograms"},
      {"CFToLtr", "Converts from cubic feet into liter"},
      {"LtrToCF", "Converts from liter into cubic feet"},
      {"GalToLtr", "Converts from gallons into liters"},
      {"LtrToGal", "Converts from liters into gallons"},
  };
  const ClassInfo& info = Info(u"ZtConversion");
  ASSERT_EQ(info.members.size(), std::size(kCases));
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    SCOPED_TRACE(kCases[i].op);
    EXPECT_EQ(info.members[i].name, kCases[i].op);  // the rows are in slot order
    EXPECT_EQ(info.members[i].dispid, static_cast<DispId>(0x60030000 + i));
    EXPECT_EQ(Help(&info.members[i]), kCases[i].help);
  }
}

TEST(HelpStrings, OddTextsAndMissingOnes) {
  const struct {
    std::u16string_view cls;
    std::string_view op;
    std::string_view help;  // "<none>" when the member carries no help text
  } kCases[] = {
      {u"ZtData", "Inter", "Interchanges the value of  two variables"},  // two spaces
      {u"ZtData", "Purge", "Purges the value of a variable"},
      {u"ZtStrings", "Capital", "Capitalizes a text (This Is A Example)"},
      {u"ZtStrings", "InStrAdv", "Fills a collection with the positions of the occurrences of a string in other"},
      {u"ZtStrings", "ReplaceAll", "<none>"},
      {u"ZtStrings", "ASCIIToEBCDIC", "<none>"},
      {u"ZtStrings", "EBCDICToASCII", "<none>"},
      {u"ZtStrings", "EllipseText", "<none>"},
      {u"ZtCollections", "SearchByKey", "<none>"},
      {u"ZtArrays", "Shuffle", "Unsorts an array"},
      {u"ZtBases", "LShiftWord", "Rotates a word to left the specified times"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.op);
    EXPECT_EQ(Help(Member(Info(c.cls), c.op)), c.help);
  }
}

TEST(Parameters, OptionalDefaults) {
  const struct {
    std::u16string_view cls;
    std::string_view op;
    std::string_view param;
    Type type;
    bool is_text;
    Long number;
    std::u16string_view text;
  } kCases[] = {
      {u"ZtNumeric", "CompressNumber", "intSize", Type::Integer, false, 9, u""},
      {u"ZtNumeric", "CompressNumber", "intDecimals", Type::Integer, false, 0, u""},
      {u"ZtNumeric", "DecompressNumber", "intSize", Type::Integer, false, 9, u""},
      {u"ZtStrings", "Expand", "strChars", Type::String, true, 0, u" "},
      {u"ZtStrings", "Pad", "intCharPad", Type::Integer, false, 32, u""},
      {u"ZtStrings", "Replace", "strReplace", Type::String, true, 0, u""},
      {u"ZtStrings", "ReplaceAll", "strReplace", Type::String, true, 0, u""},
      {u"ZtToken", "Create", "strDelimiters", Type::String, true, 0, u""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.op) + "." + std::string(c.param));
    const MemberInfo* m = Member(Info(c.cls), c.op);
    const ParamInfo* p = Param(m, c.param);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->optional);
    EXPECT_EQ(p->type, c.type);
    EXPECT_EQ(p->default_value.is_text, c.is_text);
    if (c.is_text) {
      EXPECT_EQ(p->default_value.text, c.text);
    } else {
      EXPECT_EQ(p->default_value.number, c.number);
    }
    // Optional parameters come last.
    for (const ParamInfo* q = p; q != m->params.data() + m->params.size(); ++q) EXPECT_TRUE(q->optional);
  }
  // Create's blnPreserve defaults to True (any non-zero number).
  const ParamInfo* preserve = Param(Member(Info(u"ZtBits"), "Create"), "blnPreserve");
  ASSERT_NE(preserve, nullptr);
  EXPECT_TRUE(preserve->optional);
  EXPECT_EQ(preserve->type, Type::Boolean);
  EXPECT_FALSE(preserve->default_value.is_text);
  EXPECT_NE(preserve->default_value.number, 0);
  // Parameters the tables do not mark optional are required.
  EXPECT_FALSE(Param(Member(Info(u"ZtStrings"), "Pad"), "intLength")->optional);
  EXPECT_FALSE(Param(Member(Info(u"ZtBits"), "Create"), "lngBitsSize")->optional);
}

TEST(Parameters, ByReference) {
  const struct {
    std::u16string_view cls;
    std::string_view op;
    std::string_view param;
    bool byref;
  } kCases[] = {
      {u"ZtStrings", "InStrAdv", "cllCollection", true},
      {u"ZtStrings", "InStrAdv", "strBuffer", false},
      {u"ZtData", "Inter", "xVar1", true},
      {u"ZtData", "Inter", "xVar2", true},
      {u"ZtData", "Purge", "xVar", false},
      {u"ZtArrays", "Search", "vntKey", false},
      {u"ZtArrays", "BinarySearch", "vntKey", false},
      {u"ZtCollections", "Sort", "cllCollection", false},
      {u"ZtStack", "Push", "vntData", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.op) + "." + std::string(c.param));
    const ParamInfo* p = Param(Member(Info(c.cls), c.op), c.param);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->byref, c.byref);
  }
  // Every ZtArrays operation takes its array by reference, as its first parameter.
  for (const MemberInfo& m : Info(u"ZtArrays").members) {
    SCOPED_TRACE(m.name);
    ASSERT_FALSE(m.params.empty());
    EXPECT_EQ(m.params[0].name, "aArray");
    EXPECT_EQ(m.params[0].type, Type::Variant);
    EXPECT_TRUE(m.params[0].byref);
  }
}

TEST(Parameters, TheOneParameterArray) {
  const MemberInfo* printf = Member(Info(u"ZtStrings"), "sPrintf");
  ASSERT_NE(printf, nullptr);
  ASSERT_EQ(printf->params.size(), 2u);
  EXPECT_EQ(printf->params[0].name, "strText");
  EXPECT_FALSE(printf->params[0].paramarray);
  EXPECT_EQ(printf->params[1].name, "Vals");
  EXPECT_EQ(printf->params[1].type, Type::Variant);
  EXPECT_TRUE(printf->params[1].paramarray);
  EXPECT_FALSE(printf->params[1].optional);
  // No other member of the library gathers its arguments.
  int arrays = 0;
  for (const ClassInfo* info : Classes()) {
    for (const MemberInfo& m : info->members) {
      for (const ParamInfo& p : m.params) arrays += p.paramarray;
    }
  }
  EXPECT_EQ(arrays, 1);
}

TEST(Parameters, EnumerationsAndObjects) {
  const struct {
    std::u16string_view cls;
    std::string_view op;
    std::string_view param;
    Type type;
  } kCases[] = {
      {u"ZtStrings", "EllipseText", "intStyle", Type::ztlEllipseText},
      {u"ZtStrings", "EllipseText", "hDC", Type::Long},
      {u"ZtObjects", "IsSet", "objObject", Type::Object},
      {u"ZtCollections", "SearchByKey", "cllCollection", Type::Collection},
      {u"ZtBases", "MakeWord", "intHigh", Type::Byte},
      {u"ZtBases", "LoByte", "lngInteger", Type::Long},
      {u"ZtDate", "JulianToGregorian", "intDays", Type::Integer},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::string(c.op) + "." + std::string(c.param));
    const ParamInfo* p = Param(Member(Info(c.cls), c.op), c.param);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->type, c.type);
  }
}

}  // namespace
}  // namespace ztl
