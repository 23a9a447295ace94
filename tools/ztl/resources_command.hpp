// `ztl resources export DIR`: the components' pictures as files.
#pragma once

#include <span>
#include <string_view>

namespace ztl::cli {

int RunResources(std::span<const std::string_view> args);

}  // namespace ztl::cli
