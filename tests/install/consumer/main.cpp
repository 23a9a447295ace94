// Uses the installed C++ headers: a typed call, and a late-bound one whose result is read
// through the public conversions.
#include <iostream>

#include <ztldata/frame/convert.hpp>
#include <ztldata/platform/utf8.hpp>
#include <ztldata/ztldata.hpp>

int main() {
  ztl::ZtNumeric numeric;
  std::cout << "ZtNumeric.Factorial(10) = " << numeric.Factorial(10) << '\n';
  ztl::ObjectRef late = ztl::CreateObject(u"ZTLData.ZtNumeric");
  const ztl::Outcome<ztl::Variant> roman = late->Invoke(u"ToRoman", {ztl::Integer{1994}});
  if (!roman) return 1;
  std::cout << ztl::Utf16ToUtf8(ztl::ToString(*roman).value_or(u"")) << '\n';
  return 0;
}
