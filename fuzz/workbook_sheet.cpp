// The workbook reader on arbitrary sheets, shared strings and styles inside a well-formed archive: it
// refuses or gives rows of quoted values, each ended by CR LF, none shorter than the first, holding no
// character a document cannot carry, within the limit; the first row alone is the preview.
#include "FuzzInput.h"
#include "common/Workbooks.h"
#include "workbook/Workbook.h"

namespace {

// The values of one record of the tool's quoted text, or false where it is not one.
bool quotedValues(orv::TextView line, std::size_t& fields) {
  fields = 0;
  std::size_t i = 0;
  for (;;) {
    if (i >= line.size() || line[i] != u'"') return false;
    for (++i;; ++i) {
      if (i >= line.size()) return false;
      if (line[i] == u'"' && (i + 1 >= line.size() || line[i + 1] != u'"')) break;
      if (line[i] == u'"') ++i;
    }
    ++fields, ++i;
    if (i == line.size()) return true;
    if (line[i++] != u',') return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orv;
  const Pieces in(data, size);
  test::WorkbookParts book("Sheet1", std::string(in.bytes(0)));
  book.extra["xl/sharedStrings.xml"] = "<sst>" + std::string(in.bytes(1)) + "</sst>";
  book.styles = "<numFmts><numFmt numFmtId=\"164\" formatCode=\"" + std::string(in.bytes(2)) +
                "\"/></numFmts><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/>"
                "<xf numFmtId=\"46\"/></cellXfs>";
  book.from1904 = in.number(3, 0) & 1;
  const std::string bytes = book.bytes();
  const std::uint64_t limit = 1 << 16;
  const WorkbookText w = readWorkbook(bytes, limit);
  if (!w.ok()) {
    check(w.text.empty() && w.problem != WorkbookText::Problem::NotWorkbook, "a refusal keeps nothing");
    return 0;
  }
  check(w.text.size() * sizeof(char16_t) <= limit, "the text within the limit");
  check(w.text.empty() || w.text.ends_with(kCrLf), "every row ends with CR LF");
  std::size_t width = 0;
  for (std::size_t start = 0; start < w.text.size();) {
    const std::size_t end = w.text.find(kCrLf, start);
    check(end != Text::npos, "rows end with CR LF");
    const TextView line = TextView(w.text).substr(start, end - start);
    std::size_t fields = 0;
    check(quotedValues(line, fields), "every value quoted, quotes doubled, commas between");
    check(line.find(kCr) == TextView::npos, "no CR inside a row");
    if (start == 0) width = fields;
    check(fields >= width, "no row shorter than the first");
    for (const char16_t c : line) check(c >= 0x20 || c == u'\t' || c == u'\n', "no control character");
    start = end + kCrLf.size();
  }
  const WorkbookText preview = readWorkbook(bytes, limit, 1);
  const std::size_t firstEnd = w.text.find(kCrLf);
  check(preview.ok() && (in.bytes(0).find("mergeCell") != std::string_view::npos ||
                         preview.text == w.text.substr(0, firstEnd == Text::npos ? 0 : firstEnd + 2)),
        "the preview is the first row");
  return 0;
}
