// The search page preparation with arbitrary templates, names, search fields, line counts, paths and
// documents: the document's path shown as text, and the path and the document (compressed, inflating
// back to its bytes) put where the template says.
//
// Input: piece 0, byte 0: number of names (mod 10), bytes 1..8: the line count, byte 9: where the
// document is cut for the slice check; piece 1: the template; pieces 2..k+1: the names; then the search
// field, the document's path (all UTF-8) and the document's bytes.
#include <algorithm>
#include <string>

#include "FuzzInput.h"
#include "text/Base64.h"
#include "text/Deflate.h"
#include "webdb/SearchPage.h"

#define ZLIB_CONST
#include <zlib.h>

namespace {

using namespace orv;
using fuzz::check;

/// HTML character references read back: the named ones the page may use and every numeric one.
/// False when an "&" starts no reference.
bool fromHtml(const Text& in, Text& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] != u'&') {
      out += in[i];
      continue;
    }
    const std::size_t end = in.find(u';', i);
    if (end == Text::npos || end == i + 1) return false;
    const Text name = in.substr(i + 1, end - i - 1);
    const Text named[] = {u"amp", u"lt", u"gt", u"quot", u"apos"};
    if (const auto n = std::find(std::begin(named), std::end(named), name) - std::begin(named); n < 5) {
      out += u"&<>\"'"[n];
    } else if (name[0] == u'#') {
      const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
      const std::string digits = toUtf8(name.substr(hex ? 2 : 1));
      if (digits.empty() || digits.size() > 8 ||
          digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos ||
          (!hex && digits.find_first_not_of("0123456789") != std::string::npos))
        return false;
      const unsigned long v = std::stoul(digits, nullptr, hex ? 16 : 10);
      if (v > 0x10FFFF) return false;
      out += v > 0xFFFF ? Text{static_cast<char16_t>(0xD800 + ((v - 0x10000) >> 10)),
                               static_cast<char16_t>(0xDC00 + ((v - 0x10000) & 0x3FF))}
                        : Text(1, static_cast<char16_t>(v));
    } else {
      return false;
    }
    i = end;
  }
  return true;
}

/// Raw DEFLATE data inflated, as the page's DecompressionStream('deflate-raw') does; the data must end
/// where the compressed stream does.
std::string inflateRaw(const std::string& packed) {
  z_stream z{};
  check(inflateInit2(&z, -15) == Z_OK, "inflater");
  z.next_in = reinterpret_cast<const Bytef*>(packed.data());
  z.avail_in = static_cast<uInt>(packed.size());
  std::string out;
  int rc = Z_OK;
  while (rc == Z_OK) {
    char buf[16384];
    z.next_out = reinterpret_cast<Bytef*>(buf);
    z.avail_out = sizeof buf;
    rc = inflate(&z, Z_NO_FLUSH);
    out.append(buf, sizeof buf - z.avail_out);
  }
  inflateEnd(&z);
  check(rc == Z_STREAM_END && z.avail_in == 0, "one whole compressed stream");
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Pieces in(data, size);
  const std::size_t k = in.byte(0, 0) % 10;
  const std::int64_t lineCount = in.int64(0, 1);
  const Text templateText = in.text(1);
  std::vector<Text> names;
  for (std::size_t i = 0; i < k; ++i) names.push_back(in.text(2 + i, 40));
  const Text field = in.text(k + 2, 40);
  const Text path = in.text(k + 3, 300);
  const std::string xml(in.bytes(k + 4));

  const Text page = fillSearchField(fillTableRows(templateText, names), field, lineCount);

  // The document's base64 form: its length, and slices of whole triples join into it (the page is
  // written slice by slice).
  const std::string encoded = base64(xml);
  check(encoded.size() == (xml.size() + 2) / 3 * 4, "base64 length");
  const std::size_t slice = std::min<std::size_t>(in.byte(0, 9) * 3u, xml.size() / 3 * 3);
  check(base64(xml.substr(0, slice)) + base64(xml.substr(slice)) == encoded, "slices join");

  // The path goes in escaped, so that the page shows it as it is and no mark inside it is filled.
  const Text escapedPath = fillDocumentPath(u"[xmlfile]", path);
  Text shown;
  check(fromHtml(escapedPath, shown) && shown == path, "the escaped path reads back as the path");
  for (char16_t c : escapedPath)
    check(c != u'<' && c != u'>' && c != u'"' && c != u'[', "no markup or mark in the path");

  // The saved page: the path where the template said [xmlfile], the document where it said [xmldata].
  // The save always has a path (it ends in ".xml"); an empty one could join two halves of a mark.
  if (path.empty()) return 0;
  const Text saved = fillDocumentData(fillDocumentPath(page, path), xml);
  Result<std::string, std::string> packed = deflateRaw(xml);
  check(packed && inflateRaw(*packed) == xml, "the page's data inflates to the document");
  const std::string packedText = xml.empty() ? std::string() : base64(*packed);
  const Text encodedText(packedText.begin(), packedText.end());
  Text expected;
  std::size_t start = 0;
  for (;;) {
    const std::size_t mark = page.find(u"[xmlfile]", start);
    const Text piece = page.substr(start, mark == Text::npos ? Text::npos : mark - start);
    expected += replaceAll(piece, kXmlDataMark, encodedText);
    if (mark == Text::npos) break;
    expected += escapedPath;
    start = mark + 9;
  }
  check(saved == expected, "path and document go where the template put them");
  return 0;
}
