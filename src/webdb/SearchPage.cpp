#include "webdb/SearchPage.h"

#include "text/Base64.h"
#include "text/Deflate.h"
#include "text/Markup.h"
#include "text/ShiftJis.h"

namespace orv {

namespace {

constexpr TextView kTheadMark = u"[thead]";
constexpr TextView kTbodyMark = u"[tbody]";
constexpr TextView kSearchFieldMark = u"<search_field>";
constexpr TextView kKennsakuFieldMark = u"[kennsaku_field]";
constexpr TextView kPageSizeMark = u"[pagesize]";
constexpr TextView kXmlFileMark = u"[xmlfile]";
constexpr TextView kXmlDataMark = u"[xmldata]";

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

Result<EncodedPage, char32_t> encodePage(TextView page) {
  EncodedPage encoded;
  for (;;) {
    const std::size_t mark = page.find(kXmlDataMark);
    EncodeResult piece = encodeCp932(page.substr(0, mark));
    if (!piece.ok) return fail(piece.errorChar);
    encoded.pieces.push_back(std::move(piece.bytes));
    if (mark == TextView::npos) return encoded;
    page.remove_prefix(mark + kXmlDataMark.size());
  }
}

Result<std::string, std::string> pageFile(const EncodedPage& page, std::string_view xmlBytes) {
  std::string data;
  if (page.pieces.size() > 1 && !xmlBytes.empty()) {
    Result<std::string, std::string> packed = deflateRaw(xmlBytes);
    if (!packed) return fail(packed.error());
    data = base64(*packed);
  }
  std::size_t size = data.size() * (page.pieces.size() - 1);
  for (const std::string& piece : page.pieces) size += piece.size();
  std::string file;
  file.reserve(size);
  for (std::size_t i = 0; i < page.pieces.size(); ++i) {
    if (i > 0) file += data;
    file += page.pieces[i];
  }
  return file;
}

}  // namespace orv
