#include "webdb/SearchPage.h"

namespace orv {

namespace {

constexpr TextView kTheadMark = u"[thead]";
constexpr TextView kTbodyMark = u"[tbody]";
constexpr TextView kSearchFieldMark = u"<search_field>";
constexpr TextView kKennsakuFieldMark = u"[kennsaku_field]";
constexpr TextView kPageSizeMark = u"[pagesize]";
constexpr TextView kXmlFileMark = u"[xmlfile]";
constexpr TextView kXmlDataMark = u"[xmldata]";

Text escapeHtml(TextView text) {
  Text out;
  out.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&':
        out += u"&amp;";
        break;
      case u'<':
        out += u"&lt;";
        break;
      case u'>':
        out += u"&gt;";
        break;
      case u'"':
        out += u"&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

Text headerRow(const std::vector<Text>& names) {
  Text row = u"<TR STYLE='background-color:cyan'><TD>";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) row += u"</TD><TD>";
    row += names[i];
  }
  row += u"</TD></TR>";
  return row;
}

Text dataRow(const std::vector<Text>& names) {
  Text row = u"<TR><TD><SPAN DATAFLD=";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) row += u"</SPAN></TD><TD><SPAN DATAFLD=";
    row += names[i];
    row += u">";
  }
  row += u"</SPAN></TD></TR>";
  return row;
}

Text fillTableRows(TextView templateText, const std::vector<Text>& names) {
  Text page = replaceAll(templateText, kTheadMark, headerRow(names));
  replaceAllInPlace(page, kTbodyMark, dataRow(names));
  return page;
}

Text fillSearchField(TextView page, TextView field, std::int64_t lineCount) {
  Text out = replaceAll(page, kSearchFieldMark, field);
  replaceAllInPlace(out, kKennsakuFieldMark, field);
  replaceAllInPlace(out, kPageSizeMark, decimal(lineCount / 2));
  return out;
}

Text fillDocumentPath(TextView page, TextView xmlPath) {
  return replaceAll(page, kXmlFileMark, escapeHtml(xmlPath));
}

Text fillDocumentData(TextView page, std::string_view xmlBytes) {
  Text out(page);
  if (contains(out, kXmlDataMark)) {
    const std::string encoded = base64(xmlBytes);
    replaceAllInPlace(out, kXmlDataMark, Text(encoded.begin(), encoded.end()));
  }
  return out;
}

Text fillSavedDocument(TextView page, TextView xmlPath, std::string_view xmlBytes) {
  return fillDocumentData(fillDocumentPath(page, xmlPath), xmlBytes);
}

std::string base64(std::string_view bytes) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  auto at = [&](std::size_t k) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k])); };
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t v = (at(i) << 16) | (at(i + 1) << 8) | at(i + 2);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest == 1) {
    const std::uint32_t v = at(i) << 16;
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += "==";
  } else if (rest == 2) {
    const std::uint32_t v = (at(i) << 16) | (at(i + 1) << 8);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += '=';
  }
  return out;
}

}  // namespace orv
