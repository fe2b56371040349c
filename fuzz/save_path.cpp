// Where the save puts the XML document, for arbitrary paths in the path box. Input: the path (UTF-8).
#include "FuzzInput.h"
#include "save/SavePath.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Text path = Pieces(data, size).text(0);
  const Text xml = xmlPathFor(path);
  // Only a final .txt or .csv, in any letter case, becomes .xml; the document's own path stays; any other
  // path gets .xml added, so that the document never replaces the text it was made from.
  const std::size_t n = path.size(), stem = n - std::min<std::size_t>(n, 4);
  const TextView end = TextView(path).substr(stem);
  Text lower(end);
  for (char16_t& c : lower) c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
  const bool text = lower == u".txt" || lower == u".csv";
  check(xml == (end == u".xml" ? path : path.substr(0, text ? stem : n) + u".xml"), "the document's path");
  check(xmlPathFor(xml) == xml, "a second save keeps the document's path");
  return 0;
}
