#include "webdb/SearchPage.h"

#include <cstdio>

#include "text/Base64.h"
#include "text/ShiftJis.h"

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

// The path lands in an attribute value and in element text, where a character reference stands for
// any character. Those code page 932 cannot hold (an accented letter, an emoji in a folder name) go in
// as references, so the page can be saved whatever the folder is called and still shows the true path.
Text referenceWhatCp932CannotHold(TextView text) {
  Text out;
  for (EncodeResult e = encodeCp932(text); !e.ok; e = encodeCp932(text)) {
    const auto at = static_cast<std::size_t>(e.errorIndex);
    char ref[16];
    std::snprintf(ref, sizeof ref, "&#x%X;", static_cast<unsigned>(e.errorChar));
    out.append(text.substr(0, at)).append(fromUtf8(ref));
    text.remove_prefix(at + (e.errorChar > 0xFFFF ? 2 : 1));
  }
  return out.append(text);
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
  return replaceAll(page, kXmlFileMark, referenceWhatCp932CannotHold(escapeHtml(xmlPath)));
}

Text fillDocumentData(TextView page, std::string_view xmlBytes) {
  Text out(page);
  if (contains(out, kXmlDataMark)) {
    const std::string encoded = base64(xmlBytes);
    replaceAllInPlace(out, kXmlDataMark, Text(encoded.begin(), encoded.end()));
  }
  return out;
}

}  // namespace orv
