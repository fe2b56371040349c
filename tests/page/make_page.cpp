// Writes a search page the way the tool does, for the browser tests (and the page benchmark) to open:
//   make_page TEMPLATE PAGE.htm DOC.xml PATH FIELD LINES LEAVE NAME... < document.utf8.xml
// The template, read by lines, gets the table rows unless LEAVE is "no-rows", the search field and page size
// when FIELD is not empty, then the document's PATH and its content unless LEAVE is "no-data". The document
// is written to DOC.xml in Shift_JIS: those bytes are what the page embeds.
//   make_page --first-time FOLDER
// runs the guided sample in the window's model over real files, as a first-time user would (the sample,
// WEB_DB mode, the search field "名前", Save), with FOLDER, holding search.mvo and sample.txt, as the program
// folder; the tool writes sample.xml and XmlSearchTemp.htm there, and the page it opens is printed.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "app/Form1.h"
#include "platform/RealFiles.h"
#include "text/Lines.h"
#include "text/ShiftJis.h"
#include "webdb/SearchPage.h"

namespace {

int fail(const char* message) {
  std::cerr << "make_page: " << message << '\n';
  return 2;
}

/// The real disk with the program in `folder`; every box is answered OK and what the desktop is asked to
/// open is printed.
struct Desktop : orv::RealFileSystem, orv::Dialogs, orv::Opener, orv::Pointer {
  explicit Desktop(const char* programDir) : folder(orv::fromUtf8(programDir)) {}
  orv::Text programFolder() override { return folder; }
  orv::Answer show(const orv::Text& text, orv::Buttons, const orv::Text&) override {
    std::cerr << "box: " << orv::toUtf8(text) << '\n';
    return orv::Answer::Ok;
  }
  void open(const orv::Text& path) override { std::cout << orv::toUtf8(path) << '\n'; }
  void setBusy(bool) override {}
  orv::Text folder;
};

int firstTime(const char* folder) {
  Desktop desktop(folder);
  orv::RealTextFiles files;
  orv::Form1 form(orv::Platform{desktop, files, desktop, desktop, desktop});
  form.startUp();
  form.offerSample();
  form.switchMode();
  form.chooseSearchField(1);
  form.saveCommand();
  return form.searchPagePath.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--first-time") return firstTime(argv[2]);
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
  const auto encoded = orv::encodePage(page);
  if (!encoded) return fail("the page has a character Shift_JIS cannot hold");
  const auto file = orv::pageFile(*encoded, leave == "no-data" ? std::string() : xml.bytes);
  if (!file) return fail("the document cannot be compressed");
  std::ofstream(argv[2], std::ios::binary) << *file;
  return 0;
}
