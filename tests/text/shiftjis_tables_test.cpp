// The table codec against the system converter it was built from, over every character and byte pair.
#include <iconv.h>

#include "common/TextTest.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

// Whole-text conversion by iconv; empty optional when it refuses.
std::optional<std::string> iconvAll(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  std::string out(in.size() * 4 + 8, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(out.size() - dstLeft);
  return out;
}

TEST(ShiftJisTables, EncodeEveryUtf16UnitExactlyAsTheSystemConverter) {
  int encodable = 0;
  for (int unit = 1; unit < 0x10000; ++unit) {
    const char16_t c = static_cast<char16_t>(unit);
    const char le[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    const auto expected = iconvAll("CP932", "UTF-16LE", std::string_view(le, 2));
    const EncodeResult got = encodeCp932(TextView(&c, 1));
    ASSERT_EQ(got.ok, expected.has_value()) << std::hex << unit;
    if (expected) {
      ASSERT_EQ(got.bytes, *expected) << std::hex << unit;
      ++encodable;
    }
  }
  EXPECT_GT(encodable, 7000);
}

TEST(ShiftJisTables, DecodeEveryByteAndBytePairExactlyAsTheSystemConverter) {
  int readable = 0;
  for (int first = 1; first < 256; ++first) {
    for (int second = -1; second < 256; ++second) {
      std::string bytes(1, static_cast<char>(first));
      if (second >= 1) bytes += static_cast<char>(second);
      if (second == 0) continue;
      const auto expected = iconvAll("UTF-16LE", "CP932", bytes);
      const DecodeResult got = decodeText(bytes);
      // Valid UTF-8 and control characters XML cannot carry are refused before the code page is
      // consulted; a final 0x1A is dropped.
      if (got.utf8 || got.control || bytes.back() == '\x1a') continue;
      ASSERT_EQ(got.ok, expected.has_value()) << std::hex << first << " " << second;
      if (!expected) continue;
      std::u16string units;
      for (std::size_t i = 0; i + 1 < expected->size(); i += 2)
        units += static_cast<char16_t>(static_cast<unsigned char>((*expected)[i]) |
                                       (static_cast<unsigned char>((*expected)[i + 1]) << 8));
      ASSERT_EQ(got.text, units) << std::hex << first << " " << second;
      ++readable;
    }
  }
  EXPECT_GT(readable, 8000);
}

}  // namespace
}  // namespace orv
