#include "workbook/Cells.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace orv::workbook {

NumberKind builtInFormatKind(int id) {
  if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || id == 34 || id == 35 || id == 36 ||
      (id >= 50 && id <= 58))
    return NumberKind::Date;
  if ((id >= 18 && id <= 21) || id == 32 || id == 33 || id == 45 || id == 47) return NumberKind::Time;
  if (id == 22) return NumberKind::DateTime;
  if (id == 46) return NumberKind::Duration;
  return NumberKind::Plain;
}

NumberKind customFormatKind(std::string_view code) {
  bool date = false, time = false, month = false, elapsed = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == ';') break;  // the first section shows positive numbers, and dates
    if (c == '"') {
      const std::size_t close = code.find('"', i + 1);
      if (close == std::string_view::npos) break;
      i = close;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // an escaped character, a space as wide as one, a fill character
    } else if (c == '[') {
      const std::size_t close = code.find(']', i + 1);
      if (close == std::string_view::npos) break;
      const std::string_view inside = code.substr(i + 1, close - i - 1);
      if (!inside.empty() && inside.find_first_not_of("hHmMsS") == std::string_view::npos) elapsed = true;
      i = close;
    } else if (code.substr(i, 7) == "General" || code.substr(i, 7) == "general") {
      i += 6;
    } else {
      const char lower = static_cast<char>(c | 0x20);
      date = date || lower == 'y' || lower == 'd';
      time = time || lower == 'h' || lower == 's';
      month = month || lower == 'm';
    }
  }
  if (elapsed) return NumberKind::Duration;
  date = date || (month && !time);
  return date && time ? NumberKind::DateTime
         : date       ? NumberKind::Date
         : time       ? NumberKind::Time
                      : NumberKind::Plain;
}

Text generalNumber(double value) {
  if (value == 0 || !std::isfinite(value)) return u"0";
  // Rounded to the 15 significant digits a spreadsheet shows, then written as the shortest decimal
  // that reads back as that double: 0.1+0.2 is "0.3", as the cell shows it.
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  value = std::strtod(buf, nullptr);
  const double size = std::fabs(value);
  const bool fixed = size >= 1e-6 && size < 1e21;
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value,
                                 fixed ? std::chars_format::fixed : std::chars_format::scientific);
  if (ec != std::errc()) return u"0";
  Text out(buf, end);
  for (char16_t& c : out)
    if (c == u'e') c = u'E';
  return out;
}

namespace {

// Days since 1970-01-01 to a civil date, for the proleptic Gregorian calendar.
void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

Text dateText(std::int64_t y, unsigned m, unsigned d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04lld/%02u/%02u", static_cast<long long>(y), m, d);
  return Text(buf, buf + std::char_traits<char>::length(buf));
}

Text timeText(std::int64_t hours, std::int64_t minutes, std::int64_t seconds) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", static_cast<long long>(hours),
                static_cast<long long>(minutes), static_cast<long long>(seconds));
  return Text(buf, buf + std::char_traits<char>::length(buf));
}

// 1899-12-30 and 1904-01-01 as days since 1970-01-01.
constexpr std::int64_t kEpoch1900 = -25569;
constexpr std::int64_t kEpoch1904 = -24107;
constexpr double kLastSerial = 2958465;  // 9999-12-31 in the 1900 system

}  // namespace

Text serialDate(double serial, NumberKind kind, bool from1904) {
  if (!(serial >= 0) || serial >= kLastSerial + 1) return {};
  auto days = static_cast<std::int64_t>(std::floor(serial));
  std::int64_t seconds = std::llround((serial - static_cast<double>(days)) * 86400.0);
  if (seconds == 86400) ++days, seconds = 0;
  const Text time = timeText(kind == NumberKind::Duration ? days * 24 + seconds / 3600 : seconds / 3600,
                             seconds / 60 % 60, seconds % 60);
  if (kind == NumberKind::Time || kind == NumberKind::Duration) return time;
  // The 1900 system counts 1900/02/29, which never was: its days before it are one day later, and
  // its day 0 is shown as 1900/01/00.
  Text date;
  if (!from1904 && days == 60) {
    date = u"1900/02/29";
  } else if (!from1904 && days == 0) {
    date = u"1900/01/00";
  } else {
    std::int64_t y = 0;
    unsigned m = 0, d = 0;
    civilFromDays((from1904 ? kEpoch1904 : kEpoch1900) + days + (!from1904 && days < 60), y, m, d);
    date = dateText(y, m, d);
  }
  return kind == NumberKind::DateTime ? date + u" " + time : date;
}

Text isoDate(std::string_view iso, NumberKind kind) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  const bool hasDate = std::sscanf(std::string(iso).c_str(), "%d-%d-%d", &y, &mo, &d) == 3;
  const std::size_t t = iso.find('T');
  const std::string_view clock = t != std::string_view::npos ? iso.substr(t + 1) : hasDate ? "" : iso;
  const bool hasTime = std::sscanf(std::string(clock).c_str(), "%d:%d:%d", &h, &mi, &s) >= 2;
  if (!hasDate && !hasTime) return fromUtf8(iso);
  const Text date = hasDate ? dateText(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) : Text();
  const Text time = hasTime ? timeText(h, mi, s) : Text();
  if (kind == NumberKind::Time || kind == NumberKind::Duration || !hasDate) return time;
  if (kind == NumberKind::Date || time.empty() || (kind == NumberKind::Plain && h == 0 && mi == 0 && s == 0))
    return date;
  return date + u" " + time;
}

Text unescapeString(std::string_view utf8) {
  Text text = fromUtf8(utf8);
  if (text.find(u"_x") == Text::npos) return text;
  Text out;
  out.reserve(text.size());
  auto hex = [](char16_t c) -> int {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
      int value = 0;
      bool ok = true;
      for (std::size_t k = 2; k < 6 && ok; ++k) {
        const int digit = hex(text[i + k]);
        ok = digit >= 0;
        value = value * 16 + digit;
      }
      if (ok) {
        out += static_cast<char16_t>(value);
        i += 6;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::optional<CellPosition> parseReference(std::string_view ref) {
  CellPosition p;
  std::size_t i = 0;
  std::int64_t column = 0;
  for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z'; ++i) {
    column = column * 26 + (ref[i] - 'A' + 1);
    if (column > (std::int64_t{1} << 40)) return std::nullopt;
  }
  if (i == 0) return std::nullopt;
  p.column = column - 1;
  for (; i < ref.size() && ref[i] >= '0' && ref[i] <= '9'; ++i) {
    p.row = p.row * 10 + (ref[i] - '0');
    if (p.row > (std::int64_t{1} << 40)) return std::nullopt;
  }
  if (i != ref.size()) return std::nullopt;
  return p;
}

std::string referenceOf(std::int64_t column, std::int64_t row) {
  std::string letters;
  for (std::int64_t c = column + 1; c > 0; c = (c - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return letters + std::to_string(row);
}

}  // namespace orv::workbook
