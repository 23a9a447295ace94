// The whole public interface of the library: the value model, late binding, containers and
// the sixteen classes. Include a single class's header instead to keep builds small.
//
// Example:
//   #include <ztldata/ztldata.hpp>
//   ztl::ZtNumeric().IsPrime(97);                        // typed call
//   ztl::CreateObject(u"ZTLData.ZtNumeric")->Invoke(u"IsPrime", {97});   // late-bound call
#pragma once

#include "ztldata/base/errors.hpp"
#include "ztldata/base/outcome.hpp"
#include "ztldata/base/types.hpp"

#include "ztldata/platform/code_page.hpp"
#include "ztldata/platform/date_text.hpp"
#include "ztldata/platform/device_context.hpp"
#include "ztldata/platform/file_access.hpp"
#include "ztldata/platform/locale.hpp"
#include "ztldata/platform/random.hpp"
#include "ztldata/platform/utf8.hpp"

#include "ztldata/frame/about.hpp"
#include "ztldata/frame/collection.hpp"
#include "ztldata/frame/component.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/frame/object.hpp"
#include "ztldata/frame/property_bag.hpp"
#include "ztldata/frame/resources.hpp"
#include "ztldata/frame/typelib.hpp"
#include "ztldata/frame/variant.hpp"

#include "ztldata/numbers/bases.hpp"
#include "ztldata/numbers/conversion.hpp"
#include "ztldata/numbers/numeric.hpp"

#include "ztldata/dates/date.hpp"

#include "ztldata/text/ebcdic.hpp"
#include "ztldata/text/strings.hpp"

#include "ztldata/collections/arrays.hpp"
#include "ztldata/collections/collections.hpp"
#include "ztldata/collections/data.hpp"
#include "ztldata/collections/objects.hpp"

#include "ztldata/containers/bits.hpp"
#include "ztldata/containers/stack.hpp"
#include "ztldata/containers/token.hpp"

#include "ztldata/coding/crc32.hpp"
#include "ztldata/coding/encryption.hpp"
#include "ztldata/coding/rle.hpp"
#include "ztldata/coding/rsa.hpp"
