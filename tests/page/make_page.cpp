// Writes a search page the way the tool does, for the browser tests to open: the template read by lines,
// the table rows filled at conversion (unless LEAVE is no-rows), the search field and page size when FIELD
// is not empty, then at save the document's PATH and its content (left out when LEAVE is no-data).
//
//   make_page TEMPLATE PAGE.htm DOC.xml PATH NAMES FIELD LINES [no-rows|no-data] < document.utf8.xml
//
// The document comes in as UTF-8 and is written to DOC.xml in Shift_JIS; those exact bytes are what the
// page embeds. NAMES is comma-separated.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "text/Lines.h"
#include "text/ShiftJis.h"
#include "webdb/SearchPage.h"

namespace {

int fail(const std::string& message) {
  std::cerr << "make_page: " << message << '\n';
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 8) return fail("usage: TEMPLATE PAGE DOC PATH NAMES FIELD LINES [no-rows|no-data] < document");
  const std::string leave = argc > 8 ? argv[8] : "";
  std::ostringstream templateBytes, xmlText;
  templateBytes << std::ifstream(argv[1], std::ios::binary).rdbuf();
  xmlText << std::cin.rdbuf();
  auto decoded = orv::decodeText(templateBytes.str());
  auto xml = orv::encodeCp932(orv::fromUtf8(xmlText.str()));
  if (!decoded.ok || decoded.text.empty()) return fail(std::string("cannot read the template ") + argv[1]);
  if (!xml.ok) return fail("the document has a character Shift_JIS cannot hold");
  std::ofstream(argv[3], std::ios::binary) << xml.bytes;

  orv::Text page = orv::linesWithCrLf(std::move(decoded.text)).text;
  std::vector<orv::Text> names;
  std::istringstream list(argv[5]);
  for (std::string name; std::getline(list, name, ',');) names.push_back(orv::fromUtf8(name));
  if (leave != "no-rows") page = orv::fillTableRows(page, names);
  if (*argv[6]) page = orv::fillSearchField(page, orv::fromUtf8(argv[6]), std::stoll(argv[7]));
  page = orv::fillDocumentPath(page, orv::fromUtf8(argv[4]));
  page = orv::fillDocumentData(page, leave == "no-data" ? std::string() : xml.bytes);
  auto encoded = orv::encodeCp932(page);
  if (!encoded.ok) return fail("the page has a character Shift_JIS cannot hold");
  std::ofstream(argv[2], std::ios::binary) << encoded.bytes;
  return 0;
}
