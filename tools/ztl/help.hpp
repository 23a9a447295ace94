// The help texts of `ztl` and of each of its commands.
#pragma once

#include <string_view>

namespace ztl::cli {

extern const std::string_view kMainHelp;
extern const std::string_view kListHelp;
extern const std::string_view kDescribeHelp;
extern const std::string_view kCallHelp;
extern const std::string_view kServeHelp;

// The help of a command by name, or empty for a name that is no command.
std::string_view CommandHelp(std::string_view command);

}  // namespace ztl::cli
