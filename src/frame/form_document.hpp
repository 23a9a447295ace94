// The saved form as text: one block per component with its class, its name and its saved
// properties with their types. docs/forms.md describes the format.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ztldata/frame/property_bag.hpp"

namespace ztl {

struct SavedComponent {
  String class_name;  // the registered name, "ZTLData.ZtStack"
  String name;
  PropertyBag bag;
};

std::string WriteForm(const std::vector<SavedComponent>& components);

struct ParsedForm {
  std::vector<SavedComponent> components;
  std::vector<std::string> problems;  // "line 7: ..." for each line that could not be read
};

// Reads what it can; never fails.
ParsedForm ReadForm(std::string_view document);

}  // namespace ztl
