#include "convert/HeaderRow.h"

#include <algorithm>
#include <set>

#include "convert/XmlName.h"

namespace orv {
namespace {

bool isDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９'); }

// A number, a date, a time, a postal code or a phone number: digits with the marks written between them.
bool isFigure(TextView value) {
  static constexpr TextView kMarks = u"+-.,/:()（）－ー‐−〒 　¥￥%％";
  bool digit = false;
  for (const char16_t c : value) {
    if (isDigit(c)) {
      digit = true;
    } else if (kMarks.find(c) == TextView::npos) {
      return false;
    }
  }
  return digit;
}

// The column's title against the values below it: different in kind from each of them.
bool titleStandsOut(TextView title, const std::vector<std::vector<Text>>& records, std::size_t column) {
  bool figures = !isFigure(title), names = isXmlName(title), any = false;
  for (std::size_t r = 1; r < records.size() && (figures || names); ++r) {
    if (column >= records[r].size() || records[r][column].empty()) continue;
    any = true;
    figures = figures && isFigure(records[r][column]);
    names = names && !isXmlName(records[r][column]);
  }
  return any && (figures || names);
}

}  // namespace

bool looksLikeHeader(const std::vector<std::vector<Text>>& records) {
  if (records.size() < 2) return false;
  const std::vector<Text>& titles = records.front();
  const std::set<Text> distinct(titles.begin(), titles.end());
  if (distinct.size() != titles.size() || distinct.count(Text())) return false;
  for (std::size_t c = 0; c < titles.size(); ++c)
    if (titleStandsOut(titles[c], records, c)) return true;
  return false;
}

}  // namespace orv
