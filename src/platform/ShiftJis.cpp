#include "platform/ShiftJis.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace orv {
namespace {

// One iconv conversion descriptor for one direction; closed when done.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (valid()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

std::int64_t lineOfOffset(std::string_view bytes, std::size_t offset) {
  std::int64_t line = 1;
  for (std::size_t i = 0; i < offset && i < bytes.size(); ++i) {
    if (bytes[i] == '\r') {
      if (i + 1 < offset && bytes[i + 1] == '\n') ++i;
      ++line;
    }
  }
  return line;
}

// Offset of the first multi-byte character when `bytes` is valid UTF-8 holding one; else -1.
std::int64_t firstUtf8MultiByte(std::string_view bytes) {
  std::int64_t first = -1;
  std::size_t i = 0;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return 0;
  while (i < bytes.size()) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t len = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
    if (len == 0 || i + len > bytes.size()) return -1;
    for (std::size_t k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return -1;
    if (first < 0) first = static_cast<std::int64_t>(i);
    i += len;
  }
  return first;
}

}  // namespace

DecodeResult decodeCp932(std::string_view bytes) {
  DecodeResult r;
  if (std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
    r.binary = true;
    r.errorOffset = static_cast<std::int64_t>(nul);
    r.errorLine = lineOfOffset(bytes, nul);
    r.errorBytes = std::string(1, '\0');
    return r;
  }
  if (std::int64_t u = firstUtf8MultiByte(bytes); u >= 0) {
    r.utf8 = true;
    r.errorOffset = u;
    r.errorLine = lineOfOffset(bytes, static_cast<std::size_t>(u));
    r.errorBytes = std::string(bytes.substr(static_cast<std::size_t>(u), 3));
    return r;
  }
  Iconv cd("UTF-16LE", "CP932");
  if (!cd.valid()) {
    r.errorOffset = 0;
    return r;
  }
  // Converted through a small buffer into reserved (untouched) space, so that memory is used only for
  // what the text really holds.
  r.text.reserve(bytes.size());  // never more UTF-16 units than bytes
  char16_t buffer[16384];
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* out = reinterpret_cast<char*>(buffer);
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = iconv(cd.get(), &in, &inLeft, &out, &outLeft);
    int err = errno;
    r.text.append(buffer, (sizeof buffer - outLeft) / sizeof(char16_t));
    if (rc == static_cast<std::size_t>(-1) && err != E2BIG) {
      auto offset = static_cast<std::size_t>(in - bytes.data());
      r.errorOffset = static_cast<std::int64_t>(offset);
      r.errorLine = lineOfOffset(bytes, offset);
      // A byte that cannot begin a two-byte character is shown alone.
      const auto lead = static_cast<unsigned char>(bytes[offset]);
      const bool leadByte = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
      r.errorBytes = std::string(bytes.substr(offset, err == EINVAL || !leadByte ? 1 : 2));
      r.text.clear();
      return r;
    }
  }
  r.ok = true;
  return r;
}

EncodeResult encodeCp932(TextView text) {
  EncodeResult r;
  Iconv cd("CP932", "UTF-16LE");
  if (!cd.valid()) {
    r.errorIndex = 0;
    return r;
  }
  r.bytes.reserve(text.size() * 2);  // never more than two bytes a character
  char buffer[32768];
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
  std::size_t inLeft = text.size() * sizeof(char16_t);
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = iconv(cd.get(), &in, &inLeft, &out, &outLeft);
    int err = errno;
    r.bytes.append(buffer, sizeof buffer - outLeft);
    if (rc == static_cast<std::size_t>(-1) && err != E2BIG) {
      auto index = static_cast<std::size_t>(
          (in - reinterpret_cast<const char*>(text.data())) / static_cast<std::ptrdiff_t>(sizeof(char16_t)));
      r.errorIndex = static_cast<std::int64_t>(index);
      char32_t c = index < text.size() ? text[index] : 0;
      if (c >= 0xD800 && c <= 0xDBFF && index + 1 < text.size() && text[index + 1] >= 0xDC00 &&
          text[index + 1] <= 0xDFFF)
        c = 0x10000 + ((c - 0xD800) << 10) + (text[index + 1] - 0xDC00);
      r.errorChar = c;
      r.bytes.clear();
      return r;
    }
  }
  r.ok = true;
  return r;
}

Text hexBytes(std::string_view bytes) {
  std::string s;
  char buf[8];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%s0x%02X", i ? " " : "", static_cast<unsigned char>(bytes[i]));
    s += buf;
  }
  return fromUtf8(s);
}

Text describeChar(char32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  Text t = fromUtf8(buf);
  if (c >= 0x20 && !(c >= 0xD800 && c <= 0xDFFF)) {
    t += u" (";
    if (c >= 0x10000) {
      t += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      t += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      t += static_cast<char16_t>(c);
    }
    t += u")";
  }
  return t;
}

}  // namespace orv
