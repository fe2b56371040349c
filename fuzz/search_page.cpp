// The search page filled from arbitrary input: the path shown as it is, path and compressed document where
// the template's marks were. Input: piece 0, byte 0: number of names (mod 10), bytes 1..8: line count; then
// the template, the k names, the search field, the path (all UTF-8) and the document's bytes.
#include "FuzzInput.h"
#include "text/Base64.h"
#include "text/Deflate.h"
#include "text/ShiftJis.h"
#include "webdb/SearchPage.h"

#define ZLIB_CONST
#include <zlib.h>

/// True when `packed` is one whole raw DEFLATE stream (the page's 'deflate-raw') inflating to `bytes`.
static bool inflatesTo(const std::string& packed, const std::string& bytes) {
  std::string out(bytes.size() + 1, '\0');
  z_stream z{};
  z.next_in = reinterpret_cast<const Bytef*>(packed.data());
  z.avail_in = static_cast<uInt>(packed.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const bool whole =
      inflateInit2(&z, -15) == Z_OK && inflate(&z, Z_FINISH) == Z_STREAM_END && z.avail_in == 0;
  inflateEnd(&z);
  return whole && z.avail_out == 1 && out.starts_with(bytes);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Pieces in(data, size);
  const std::size_t k = in.number(0, 0) % 10;
  std::vector<Text> names;
  for (std::size_t i = 0; i < k; ++i) names.push_back(in.text(2 + i, 40));
  const Text path = in.text(k + 3, 300);
  const std::string xml(in.bytes(k + 4));
  const Text page = fillSearchField(fillTableRows(in.text(1), names), in.text(k + 2, 40),
                                    static_cast<std::int64_t>(in.number(0, 1, 8)));

  // The path goes in escaped, so that the page shows it as it is and no mark inside it is filled.
  const Text escapedPath = fillDocumentPath(u"[xmlfile]", path);
  check(escapedPath == referenced(path, true), "the path as references where markup or a mark would be");

  // The saved page: the path where the template said [xmlfile], the document where it said [xmldata].
  // The save always has a path (it ends in ".xml"); an empty one could join two halves of a mark.
  if (path.empty()) return 0;
  const auto packed = deflateRaw(xml);
  check(packed && inflatesTo(*packed, xml), "the page's data inflates to the document");
  const Text dataText = xml.empty() ? Text() : fromUtf8(base64(*packed));
  Text expected;
  std::size_t start = 0;
  for (std::size_t mark; (mark = page.find(u"[xmlfile]", start)) != Text::npos; start = mark + 9)
    expected += replaceAll(page.substr(start, mark - start), u"[xmldata]", dataText) + escapedPath;
  expected += replaceAll(page.substr(start), u"[xmldata]", dataText);
  const auto encoded = encodePage(fillDocumentPath(page, path));
  const EncodeResult whole = encodeCp932(expected);
  check(static_cast<bool>(encoded) == whole.ok, "a page is refused only for a character it cannot hold");
  if (!encoded) return 0;
  const auto file = pageFile(*encoded, xml);
  check(file && *file == whole.bytes, "path and document where the marks were");
  return 0;
}
