// Code page 437, the OEM code page, beside Windows-1252 (ztldata/platform/code_page.hpp): the
// byte-to-byte conversions between the two that the system's CharToOem and OemToChar make.
// Codes below 0x80 are the same in both pages and pass unchanged.
#pragma once

#include "ztldata/base/types.hpp"

namespace ztl::platform {

// The OEM byte for an ANSI byte: the same character where code page 437 has it, otherwise
// the system's best fit ("À" gives "A", "“" gives '"'), or "?" when there is none ("€").
Byte AnsiToOem(Byte ansi) noexcept;

// The ANSI byte for an OEM byte, the same way round: box-drawing characters give "+", "-"
// or "¦", Greek and mathematical signs a look-alike ("α" gives "a", "∞" gives "8").
// Note: the round trip is not the identity ("À" comes back as "A").
Byte OemToAnsi(Byte oem) noexcept;

}  // namespace ztl::platform
