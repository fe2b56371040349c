#pragma once
// Filling the search page template: the table rows at conversion, the search field and page size when
// the field is chosen, the document's path and content at save.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/Result.h"
#include "text/Text.h"

namespace orv {

/// "<TR STYLE='background-color:cyan'><TD>" N1 "</TD><TD>" N2 ... "</TD></TR>"; names unchanged.
Text headerRow(const std::vector<Text>& names);

/// One empty `SPAN DATAFLD=name` cell per name in a single row; names unchanged, unquoted.
Text dataRow(const std::vector<Text>& names);

/// Every "[thead]" becomes the header row, then, in a second pass over the whole result, every
/// "[tbody]" the data row. `templateText` is already read by lines with CR LF line ends.
Text fillTableRows(TextView templateText, const std::vector<Text>& names);

/// Every "<search_field>", then every "[kennsaku_field]", becomes `field`; then every "[pagesize]"
/// becomes the integer part of half the line count.
Text fillSearchField(TextView page, TextView field, std::int64_t lineCount);

/// Every "[xmlfile]" becomes the document's path, HTML-escaped ("[" too, so that no placeholder in the
/// path is ever filled), with characters code page 932 cannot hold as character references ("&#xE9;").
Text fillDocumentPath(TextView page, TextView xmlPath);

/// A page in code page 932, cut at each place it carries the document ("[xmldata]").
struct EncodedPage {
  std::vector<std::string> pieces;
};
/// `page`, every other place already filled, encoded; the first character code page 932 cannot hold
/// otherwise. Made before a save asks anything, so that a page that cannot be written refuses the save.
Result<EncodedPage, char32_t> encodePage(TextView page);

/// The page file: its pieces with `xmlBytes`, the document exactly as written to disk, as raw DEFLATE
/// data in base64 between them, so that a page opened from disk shows the records without reading a
/// second file. No document leaves those places empty: the page then reads the file. The compressor's
/// reason when it fails.
Result<std::string, std::string> pageFile(const EncodedPage& page, std::string_view xmlBytes);

}  // namespace orv
