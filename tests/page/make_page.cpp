// Writes a search page the way the tool does, for the browser tests to open:
//   make_page TEMPLATE PAGE.htm DOC.xml PATH FIELD LINES LEAVE NAME... < document.utf8.xml
// The template, read by lines, gets the table rows unless LEAVE is "no-rows", the search field and page size
// when FIELD is not empty, then the document's PATH and its content unless LEAVE is "no-data". The document
// is written to DOC.xml in Shift_JIS: those bytes are what the page embeds.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "text/Lines.h"
#include "text/ShiftJis.h"
#include "webdb/SearchPage.h"

namespace {

int fail(const char* message) {
  std::cerr << "make_page: " << message << '\n';
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 9) return fail("usage: TEMPLATE PAGE DOC PATH FIELD LINES LEAVE NAME... < document");
  std::ostringstream templateBytes, xmlText;
  templateBytes << std::ifstream(argv[1], std::ios::binary).rdbuf();
  xmlText << std::cin.rdbuf();
  auto decoded = orv::decodeText(templateBytes.str());
  auto xml = orv::encodeCp932(orv::fromUtf8(xmlText.str()));
  if (!decoded.ok || decoded.text.empty()) return fail("cannot read the template");
  if (!xml.ok) return fail("the document has a character Shift_JIS cannot hold");
  std::ofstream(argv[3], std::ios::binary) << xml.bytes;

  const std::string leave = argv[7];
  orv::Text page = orv::linesWithCrLf(std::move(decoded.text)).text;
  std::vector<orv::Text> names;
  for (int i = 8; i < argc; ++i) names.push_back(orv::fromUtf8(argv[i]));
  if (leave != "no-rows") page = orv::fillTableRows(page, names);
  if (*argv[5]) page = orv::fillSearchField(page, orv::fromUtf8(argv[5]), std::stoll(argv[6]));
  page = orv::fillDocumentPath(page, orv::fromUtf8(argv[4]));
  page = orv::fillDocumentData(page, leave == "no-data" ? std::string() : xml.bytes);
  auto encoded = orv::encodeCp932(page);
  if (!encoded.ok) return fail("the page has a character Shift_JIS cannot hold");
  std::ofstream(argv[2], std::ios::binary) << encoded.bytes;
  return 0;
}
