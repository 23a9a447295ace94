// Uses the installed C++ headers: a typed call and a late-bound one.
#include <iostream>

#include <ztldata/ztldata.hpp>

int main() {
  ztl::ZtNumeric numeric;
  std::cout << "ZtNumeric.Factorial(10) = " << numeric.Factorial(10) << '\n';
  ztl::ObjectRef late = ztl::CreateObject(u"ZTLData.ZtNumeric");
  const ztl::Variant roman = late->Invoke(u"ToRoman", {ztl::Integer{1994}});
  for (char16_t c : *roman.If<ztl::String>()) std::cout << static_cast<char>(c);
  std::cout << '\n';
  return 0;
}
