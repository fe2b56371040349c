// Where the save puts the XML document, for arbitrary paths in the path box.
//
// Input: the path (UTF-8).
#include "FuzzInput.h"
#include "save/SavePath.h"

namespace {

using namespace orv;
using fuzz::check;

bool endsWith(const Text& text, TextView end) {
  return text.size() >= end.size() && TextView(text).substr(text.size() - end.size()) == end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Text path = fuzz::Pieces(data, size).text(0);
  const Text xml = xmlPathFor(path);
  check(endsWith(xml, u".xml"), "the document's path ends in .xml");
  check(xmlPathFor(xml) == xml, "a second save keeps the document's path");
  if (endsWith(path, u".xml")) {
    check(xml == path, "a path that names the document stays");
    return 0;
  }
  check(xml != path, "the document never replaces the file it was made from");
  // Only the end of the name changes: the folder and the rest of the name stay.
  const std::size_t kept = xml.size() == path.size() ? path.size() - 4 : path.size();
  check(xml.size() == path.size() || xml.size() == path.size() + 4, "at most the extension changes");
  check(xml.compare(0, kept, path, 0, kept) == 0, "the rest of the path stays");
  if (xml.size() == path.size())
    check(endsWith(path, u".txt") || endsWith(path, u".TXT") || endsWith(path, u".csv") ||
              endsWith(path, u".CSV"),
          "only .txt, .TXT, .csv or .CSV is replaced");
  return 0;
}
