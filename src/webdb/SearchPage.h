#pragma once
// Filling the search page template: the table rows at conversion, the search field and page size when
// the field is chosen, the document's path and content at save.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/Base64.h"
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

/// Every "[xmldata]" becomes `xmlBytes`, the document exactly as written to disk, as raw DEFLATE data in
/// base64, so that a page opened from disk can show the records without reading a second file. No
/// document (or one that could not be compressed) leaves it empty: the page then reads the file.
Text fillDocumentData(TextView page, std::string_view xmlBytes);

/// Where the page carries the XML document itself, compressed, as base64.
inline constexpr TextView kXmlDataMark = u"[xmldata]";

}  // namespace orv
