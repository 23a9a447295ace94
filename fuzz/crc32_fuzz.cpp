// CRC-32: for any polynomial and start register (the first 8 bytes) and any text, the register
// equals a byte-at-a-time reference (its table made bit by bit) over the text's Windows-1252
// bytes, the table is that of the polynomial, and feeding the text in two pieces gives what
// feeding it whole gives. (Texts longer than the pieces the register takes at a time are the
// unit tests' business: at fuzzing speed they cost more than they find.)

#include <algorithm>
#include <string>

#include "harness.hpp"
#include "ztldata/ztldata.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ztl::Container form;
  static const auto crc = std::static_pointer_cast<ztl::ZtCRC32>(form.Place(u"ZtCRC32"));
  const auto polynomial = fuzz::Take<std::uint32_t>(data, size);
  const auto start = fuzz::Take<std::uint32_t>(data, size);
  const auto mode = fuzz::Take<std::uint16_t>(data, size);
  // Texts past 1 KiB add no path (the engine's widest step is 64 bytes) but cost time.
  size = std::min<std::size_t>(size, 1024);
  // One character per byte reaches every ANSI code; two bytes per character reach the
  // characters the code page lacks.
  const ztl::String text = mode & 1 ? fuzz::Utf16(data, size)
                                    : ztl::AnsiBytesToString(std::string(reinterpret_cast<const char*>(data), size));
  const std::string bytes = ztl::StringToAnsiBytes(text);

  const auto begin = static_cast<ztl::Long>(start);
  fuzz::Check(crc->InitCRC32(static_cast<ztl::Long>(polynomial), begin) == begin, "InitCRC32 changed the register");
  for (std::uint32_t i = 0; i < 256; i += 51) {
    fuzz::Check(static_cast<std::uint32_t>(crc->Table(i)) == fuzz::CrcStep(polynomial, i, 0),
                "table entry differs from the polynomial's");
  }
  const auto whole = static_cast<std::uint32_t>(crc->AddCRC32(text, begin));
  fuzz::Check(whole == fuzz::ReferenceCrc(polynomial, start, bytes), "register differs from the bitwise reference");

  const std::size_t cut = text.empty() ? 0 : (mode >> 1) % (text.size() + 1);
  const ztl::Long first = crc->AddCRC32(text.substr(0, cut), begin);
  fuzz::Check(static_cast<std::uint32_t>(crc->AddCRC32(text.substr(cut), first)) == whole,
              "two pieces differ from the whole");
  fuzz::Check(crc->GetCRC32(begin) == ~begin, "GetCRC32 is not the complement");

  // Before any InitCRC32 the table is all zero: each character shifts the register 8 bits.
  static const auto fresh = std::static_pointer_cast<ztl::ZtCRC32>(form.Place(u"ZtCRC32"));
  const std::uint32_t shifted = text.size() >= 4 ? 0 : start >> (8 * text.size());
  fuzz::Check(static_cast<std::uint32_t>(fresh->AddCRC32(text, begin)) == shifted, "zero table is not a shift");
  return 0;
}
