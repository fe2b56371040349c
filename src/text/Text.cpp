#include "text/Text.h"

#include <algorithm>

namespace orv {

namespace {
std::size_t occurrences(TextView text, TextView from) {
  std::size_t n = 0;
  for (std::size_t p = text.find(from); p != TextView::npos; p = text.find(from, p + from.size())) ++n;
  return n;
}
}  // namespace

Text replaceAll(TextView text, TextView from, TextView to) {
  const std::size_t count = from.empty() ? 0 : occurrences(text, from);
  if (count == 0) return Text(text);
  // Counted first, so the result is allocated once at its exact size: a text of hundreds of
  // megabytes never sits in memory twice over because of capacity doubling.
  Text out;
  out.reserve(text.size() - count * from.size() + count * to.size());
  std::size_t start = 0;
  for (std::size_t p = text.find(from); p != TextView::npos; p = text.find(from, start)) {
    out.append(text.substr(start, p - start));
    out.append(to);
    start = p + from.size();
  }
  out.append(text.substr(start));
  return out;
}

std::size_t replaceAllInPlace(Text& text, TextView from, TextView to) {
  const std::size_t count = from.empty() ? 0 : occurrences(text, from);
  if (count > 0) text = replaceAll(text, from, to);
  return count;
}

bool endsWithIgnoringCase(TextView text, TextView suffix) {
  if (text.size() < suffix.size()) return false;
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  for (std::size_t i = 0; i < suffix.size(); ++i)
    if (lower(text[text.size() - suffix.size() + i]) != suffix[i]) return false;
  return true;
}

bool contains(TextView text, TextView part) { return text.find(part) != TextView::npos; }

std::int64_t countOf(TextView text, char16_t ch) {
  return static_cast<std::int64_t>(std::count(text.begin(), text.end(), ch));
}

Text decimal(std::int64_t value) {
  auto s = std::to_string(value);
  return Text(s.begin(), s.end());
}

CodePoint codePointAt(TextView text, std::size_t i) {
  const char32_t c = text[i];
  if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
    return {0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00), 2};
  return {c, 1};
}

void appendCodePoint(Text& out, char32_t c) {
  if (c >= 0x10000) {
    out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  } else {
    out += static_cast<char16_t>(c);
  }
}

Text joinPath(TextView folder, TextView name) {
  while (!folder.empty() && folder.back() == u'/') folder.remove_suffix(1);
  Text path(folder);
  return path.append(u"/").append(name);
}

namespace {
// UTF-8 of `text`; half a surrogate pair becomes U+FFFD, or, for a name, the byte it stands for.
std::string encodeUtf8(TextView text, bool name) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const CodePoint p = codePointAt(text, i);
    i += p.units;
    if (name && p.value >= kEscapedByte + 0x80 && p.value <= kEscapedByte + 0xFF) {
      out += static_cast<char>(p.value - kEscapedByte);
      continue;
    }
    const char32_t c = isSurrogate(p.value) ? 0xFFFD : p.value;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}
}  // namespace

std::string toUtf8(TextView text) { return encodeUtf8(text, false); }

std::string nameBytes(TextView name) { return encodeUtf8(name, true); }

Text shownName(TextView text) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  Text out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (c < kEscapedByte + 0x80 || c > kEscapedByte + 0xFF) {
      out += c;
      continue;
    }
    out += u"\\x";
    out += kHex[(c >> 4) & 0xF];
    out += kHex[c & 0xF];
  }
  return out;
}

Text fromUtf8(std::string_view s) {
  Text out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<unsigned char>(s[i]);
    char32_t c = 0xFFFD;
    std::size_t len = 1;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      len = 4;
    }
    if (len > 1) {
      if (i + len > s.size()) {
        len = 1;
      } else {
        c = b & (0x7F >> len);
        bool ok = true;
        for (std::size_t k = 1; k < len; ++k) {
          auto cb = static_cast<unsigned char>(s[i + k]);
          if ((cb & 0xC0) != 0x80) ok = false;
          c = (c << 6) | (cb & 0x3F);
        }
        if (!ok) {
          c = 0xFFFD;
          len = 1;
        }
      }
    }
    // A value beyond U+10FFFF keeps only its low 16 bits.
    appendCodePoint(out, c <= 0x10FFFF ? c : static_cast<char16_t>(c));
    i += len;
  }
  return out;
}

}  // namespace orv
