// Writes a search page the way the tool does: the template read by lines, the table rows filled at
// conversion, the search field when one is chosen, the document's path and content at save. The
// browser tests open what it writes.
//
//   make_page --template search.mvo --out page.htm --names 読み,名前 [--no-rows]
//             [--field 名前 --lines 31] [--xml-source doc.utf8.xml --xml-out doc.xml]
//             [--xml-path "C:\data\doc.xml"] [--no-data] [--no-save]
//
// --xml-source is UTF-8 text; it is written to --xml-out in Shift_JIS and those exact bytes are what
// the page embeds. --no-data saves with no document content (the data element stays empty);
// --no-save leaves the path and data placeholders unfilled; leaving out --field leaves the search
// field and page size placeholders unfilled.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "text/Lines.h"
#include "text/ShiftJis.h"
#include "webdb/SearchPage.h"

namespace {

bool readBytes(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  *out = bytes.str();
  return true;
}

bool writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

int fail(const std::string& message) {
  std::cerr << "make_page: " << message << '\n';
  return 2;
}

std::vector<orv::Text> splitNames(const std::string& list) {
  std::vector<orv::Text> names;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    names.push_back(orv::fromUtf8(list.substr(start, comma - start)));
    if (comma == std::string::npos) return names;
    start = comma + 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> opt;
  for (int i = 1; i < argc; ++i) {
    const std::string key = argv[i];
    if (key == "--no-rows" || key == "--no-data" || key == "--no-save") {
      opt[key] = "1";
    } else if (key.rfind("--", 0) == 0 && i + 1 < argc) {
      opt[key] = argv[++i];
    } else {
      return fail("unknown argument " + key);
    }
  }
  for (const char* required : {"--template", "--out", "--names"}) {
    if (!opt.count(required)) return fail(std::string("missing ") + required);
  }

  std::string bytes;
  if (!readBytes(opt["--template"], &bytes)) return fail("cannot read " + opt["--template"]);
  auto decoded = orv::decodeCp932(bytes);
  if (!decoded.ok) return fail("template is not Shift_JIS");
  orv::Text page = orv::linesWithCrLf(std::move(decoded.text)).text;

  if (!opt.count("--no-rows")) page = orv::fillTableRows(page, splitNames(opt["--names"]));
  if (opt.count("--field")) {
    page = orv::fillSearchField(page, orv::fromUtf8(opt["--field"]),
                                std::stoll(opt["--lines"].empty() ? "0" : opt["--lines"]));
  }

  if (!opt.count("--no-save")) {
    std::string xmlBytes;
    if (opt.count("--xml-source")) {
      std::string source;
      if (!readBytes(opt["--xml-source"], &source)) return fail("cannot read " + opt["--xml-source"]);
      auto encoded = orv::encodeCp932(orv::fromUtf8(source));
      if (!encoded.ok) return fail("document has a character Shift_JIS cannot hold");
      xmlBytes = std::move(encoded.bytes);
      if (!opt.count("--xml-out")) return fail("--xml-source needs --xml-out");
      if (!writeBytes(opt["--xml-out"], xmlBytes)) return fail("cannot write " + opt["--xml-out"]);
    }
    const std::string path = opt.count("--xml-path") ? opt["--xml-path"] : opt["--xml-out"];
    page = orv::fillDocumentPath(page, orv::fromUtf8(path));
    page = orv::fillDocumentData(page, opt.count("--no-data") ? std::string() : xmlBytes);
  }

  auto encoded = orv::encodeCp932(page);
  if (!encoded.ok) return fail("page has a character Shift_JIS cannot hold");
  if (!writeBytes(opt["--out"], encoded.bytes)) return fail("cannot write " + opt["--out"]);
  return 0;
}
