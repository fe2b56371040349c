// Writes a search page the way the tool does: the template read by lines, the table rows filled at
// conversion, the search field when one is chosen, the document's path and content at save. The
// browser tests open what it writes.
//
//   make_page --template search.mvo --out page.htm --names 読み,名前 [--no-rows]
//             [--field 名前 --lines 31] [--xml-source doc.utf8.xml --xml-out doc.xml]
//             [--xml-path "C:\data\doc.xml"] [--no-data] [--no-save]
//
// --xml-source is UTF-8 text; it is written to --xml-out in Shift_JIS and those exact bytes are what
// the page embeds. --no-data saves with no document content; --no-save leaves the path and data
// placeholders unfilled; leaving out --field leaves the search field and page size unfilled.
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "text/Lines.h"
#include "text/ShiftJis.h"
#include "webdb/SearchPage.h"

namespace {

std::string readBytes(const std::string& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

int fail(const std::string& message) {
  std::cerr << "make_page: " << message << '\n';
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> opt;
  for (int i = 1; i < argc; ++i) {
    const std::string key = argv[i];
    const bool flag = key == "--no-rows" || key == "--no-data" || key == "--no-save";
    if (!flag && i + 1 == argc) return fail("no value for " + key);
    opt[key] = flag ? "1" : argv[++i];
  }
  auto decoded = orv::decodeText(readBytes(opt["--template"]));
  if (!decoded.ok || decoded.text.empty()) return fail("cannot read the template " + opt["--template"]);
  orv::Text page = orv::linesWithCrLf(std::move(decoded.text)).text;

  std::vector<orv::Text> names;
  std::istringstream list(opt["--names"]);
  for (std::string name; std::getline(list, name, ',');) names.push_back(orv::fromUtf8(name));
  if (!opt.count("--no-rows")) page = orv::fillTableRows(page, names);
  if (opt.count("--field"))
    page = orv::fillSearchField(page, orv::fromUtf8(opt["--field"]), std::stoll(opt["--lines"]));

  if (!opt.count("--no-save")) {
    std::string xmlBytes;
    if (opt.count("--xml-source")) {
      auto xml = orv::encodeCp932(orv::fromUtf8(readBytes(opt["--xml-source"])));
      if (!xml.ok) return fail("the document has a character Shift_JIS cannot hold");
      xmlBytes = xml.bytes;
      std::ofstream(opt["--xml-out"], std::ios::binary) << xmlBytes;
    }
    page = orv::fillDocumentPath(
        page, orv::fromUtf8(opt.count("--xml-path") ? opt["--xml-path"] : opt["--xml-out"]));
    page = orv::fillDocumentData(page, opt.count("--no-data") ? std::string() : xmlBytes);
  }
  auto encoded = orv::encodeCp932(page);
  if (!encoded.ok) return fail("the page has a character Shift_JIS cannot hold");
  std::ofstream(opt["--out"], std::ios::binary) << encoded.bytes;
  return 0;
}
