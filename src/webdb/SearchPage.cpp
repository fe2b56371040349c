#include "webdb/SearchPage.h"

#include "common/Base64.h"

namespace orv {

namespace {

constexpr TextView kTheadMark = u"[thead]";
constexpr TextView kTbodyMark = u"[tbody]";
constexpr TextView kSearchFieldMark = u"<search_field>";
constexpr TextView kKennsakuFieldMark = u"[kennsaku_field]";
constexpr TextView kPageSizeMark = u"[pagesize]";
constexpr TextView kXmlFileMark = u"[xmlfile]";

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
      case u'[':
        // A path may hold a placeholder's text ("[xmldata]" as a folder name): as a character
        // reference it shows the same and is never filled.
        out += u"&#91;";
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

}  // namespace orv
