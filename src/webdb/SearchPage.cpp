#include "webdb/SearchPage.h"

#include "text/Base64.h"
#include "text/Deflate.h"
#include "text/Markup.h"

namespace orv {

namespace {

constexpr TextView kTheadMark = u"[thead]";
constexpr TextView kTbodyMark = u"[tbody]";
constexpr TextView kSearchFieldMark = u"<search_field>";
constexpr TextView kKennsakuFieldMark = u"[kennsaku_field]";
constexpr TextView kPageSizeMark = u"[pagesize]";
constexpr TextView kXmlFileMark = u"[xmlfile]";

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
  // The path lands in an attribute value and in element text. A path may hold a placeholder's text
  // ("[xmldata]" as a folder name), and characters code page 932 cannot hold (an accented letter, an
  // emoji in a folder name): as references they show the same, are never filled, and can be saved.
  return replaceAll(page, kXmlFileMark,
                    escapeMarkup(xmlPath, {.quote = true, .bracket = true, .outsideCp932 = true}));
}

Text fillDocumentData(TextView page, std::string_view xmlBytes) {
  Text out(page);
  if (contains(out, kXmlDataMark)) {
    // No document stays no data: the page then reads the document beside it.
    Result<std::string, std::string> packed = deflateRaw(xmlBytes);
    const std::string encoded = xmlBytes.empty() || !packed ? std::string() : base64(*packed);
    replaceAllInPlace(out, kXmlDataMark, Text(encoded.begin(), encoded.end()));
  }
  return out;
}

}  // namespace orv
