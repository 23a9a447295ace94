// The operations the value vectors (tests/vectors/values/*.jsonl) name, each a call of the typed
// C++ API: arguments in, the operation's value or failure out.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ztldata/base/outcome.hpp"
#include "ztldata/frame/variant.hpp"

namespace ztl::replay {

using ValueOp = std::function<Outcome<Variant>(const std::vector<Variant>& args)>;
using ValueOps = std::map<std::string, ValueOp>;

// Arithmetic, comparison and conversions of values (frame_ops.cpp).
void AddFrameOps(ValueOps& ops);
// Number text, formats, dates, code pages and the other platform services (platform_ops.cpp).
void AddPlatformOps(ValueOps& ops);

}  // namespace ztl::replay
