// Where the save puts the XML document, for arbitrary paths in the path box. Input: the path (UTF-8).
#include "FuzzInput.h"
#include "save/SavePath.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Text path = Pieces(data, size).text(0);
  const Text xml = xmlPathFor(path);
  // Only a final list extension (.txt, .csv, .xlsx, .xls, in any letter case) becomes .xml; the document's
  // own path stays; any other path gets .xml added, so that the document never replaces its source.
  Text expected = path + u".xml";
  if (TextView(path).ends_with(u".xml")) expected = path;
  for (TextView list : {u".txt", u".csv", u".xlsx", u".xls"})
    if (endsWithIgnoringCase(path, list)) expected = path.substr(0, path.size() - list.size()) + u".xml";
  check(xml == expected, "the document's path");
  check(xmlPathFor(xml) == xml, "a second save keeps the document's path");
  return 0;
}
