// The components' pictures: every toolbox bitmap is a valid 16 x 15 BMP of its colour depth,
// every design-time picture a valid 32 x 32 GIF whose image data decodes completely.

#include "ztldata/frame/resources.hpp"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ztldata/frame/component.hpp"
#include "ztldata/frame/typelib.hpp"

namespace ztl {
namespace {

std::uint32_t Le(std::span<const std::uint8_t> b, std::size_t at, int size) {
  std::uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

// Decodes the LZW image data of a GIF with a single image and a global colour table, and
// returns its colour indices (empty when the data is not valid).
std::vector<int> DecodeGif(std::span<const std::uint8_t> g) {
  const int table_size = 2 << (g[10] & 7);
  std::size_t at = 13 + ((g[10] & 0x80) ? 3 * table_size : 0);
  if (at >= g.size() || g[at] != 0x2C) return {};
  at += 10;
  const int min_size = g[at++];
  std::vector<std::uint8_t> data;
  while (at < g.size() && g[at] != 0) {
    const std::size_t n = g[at++];
    data.insert(data.end(), g.begin() + at, g.begin() + at + n);
    at += n;
  }
  const int clear = 1 << min_size, end = clear + 1;
  std::vector<std::vector<int>> table;
  const auto reset = [&] {
    table.assign(clear + 2, {});
    for (int i = 0; i < clear; ++i) table[i] = {i};
  };
  reset();
  int size = min_size + 1;
  std::size_t bit = 0;
  std::vector<int> out, previous;
  while (bit + size <= data.size() * 8) {
    int code = 0;
    for (int i = 0; i < size; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
    if (code == clear) {
      reset();
      size = min_size + 1;
      previous.clear();
      continue;
    }
    if (code == end) return out;
    std::vector<int> entry;
    if (code < static_cast<int>(table.size()) && !table[code].empty()) {
      entry = table[code];
    } else if (code == static_cast<int>(table.size()) && !previous.empty()) {
      entry = previous;
      entry.push_back(previous[0]);
    } else {
      return {};
    }
    out.insert(out.end(), entry.begin(), entry.end());
    if (!previous.empty() && table.size() < 4096) {
      previous.push_back(entry[0]);
      table.push_back(previous);
      if (table.size() == (1u << size) && size < 12) ++size;
    }
    previous = entry;
  }
  return {};
}

TEST(Resources, ToolboxBitmapsAreSixteenByFifteenBmpFiles) {
  const struct {
    const char16_t* component;
    int id;
    int bits;
  } kCases[] = {{u"ZtRSA", 30000, 24}, {u"ZtCRC32", 30001, 4}, {u"ZtEncryption", 30002, 24},
                {u"ZtRLE", 30003, 4},   {u"ZtToken", 30004, 4}, {u"ZtStack", 30005, 4},
                {u"ZtBits", 30006, 4}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(ToolboxBitmapId(c.component), c.id);
    const auto b = ToolboxBitmap(c.id);
    ASSERT_GT(b.size(), 54u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le(b, 2, 4), b.size());
    EXPECT_EQ(Le(b, 18, 4), 16u);
    EXPECT_EQ(Le(b, 22, 4), 15u);
    EXPECT_EQ(Le(b, 28, 2), static_cast<std::uint32_t>(c.bits));
    const std::size_t row = ((16 * c.bits + 31) / 32) * 4;
    EXPECT_EQ(Le(b, 10, 4) + row * 15, b.size());  // the pixels end the file
  }
  EXPECT_EQ(ToolboxBitmapId(u"ZtNumeric"), 0);
  EXPECT_TRUE(ToolboxBitmap(29999).empty());
}

TEST(Resources, DesignPicturesAreDistinctThirtyTwoPixelGifs) {
  std::set<std::string> seen;  // the pictures as bytes
  Container form;
  for (const ClassInfo* info : Classes()) {
    const String name(info->name.begin(), info->name.end());
    SCOPED_TRACE(std::string(info->name));
    const auto g = DesignPicture(name);
    if (info->kind != ClassKind::Component) {
      EXPECT_TRUE(g.empty());
      continue;
    }
    ASSERT_GT(g.size(), 13u);
    EXPECT_EQ(std::string(g.begin(), g.begin() + 6), "GIF89a");
    EXPECT_EQ(Le(g, 6, 2), 32u);
    EXPECT_EQ(Le(g, 8, 2), 32u);
    EXPECT_EQ(g.back(), 0x3B);
    const std::vector<int> pixels = DecodeGif(g);
    ASSERT_EQ(pixels.size(), 32u * 32u);
    for (int p : pixels) ASSERT_LT(p, 16);
    EXPECT_TRUE(seen.insert({g.begin(), g.end()}).second);
    const auto placed = form.Place(name);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->Picture().data(), g.data());
  }
  EXPECT_EQ(seen.size(), 7u);
  EXPECT_EQ(ResourceFiles().size(), 14u);
}

}  // namespace
}  // namespace ztl
