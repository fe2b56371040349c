// The search page filled from arbitrary templates, names, search fields, line counts, paths and documents:
// the path shown as it is, path and compressed document where the template's marks were.
// Input: piece 0, byte 0: number of names (mod 10), bytes 1..8: the line count, byte 9: where the
// document is cut for the slice check; piece 1: the template; pieces 2..k+1: the names; then the search
// field, the document's path (all UTF-8) and the document's bytes.
#include <map>

#include "FuzzInput.h"
#include "text/Deflate.h"
#include "webdb/SearchPage.h"

#define ZLIB_CONST
#include <zlib.h>

using namespace orv;

/// What a browser shows for escaped text: the named references of the markup characters and every
/// numeric one read back; anything else after an "&" fails the run.
static Text fromHtml(const Text& html) {
  static const std::map<std::string, char16_t> named{
      {"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'}, {"apos", u'\''}};
  Text out = html.substr(0, html.find(u'&'));
  for (std::size_t amp = html.find(u'&'); amp != Text::npos; amp = html.find(u'&', amp + 1)) {
    const std::size_t end = html.find(u';', amp);
    check(end != Text::npos, "a reference ends with ';'");
    const std::string ref = toUtf8(html.substr(amp + 1, end - amp - 1));
    const bool hex = ref.starts_with("#x") || ref.starts_with("#X");
    const std::string digits = ref.substr(std::min<std::size_t>(ref.size(), hex ? 2 : 1));
    unsigned long v = named.contains(ref) ? named.at(ref) : 0x110000;
    if (ref.starts_with('#') && !digits.empty() && digits.size() <= 8 &&
        digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") == std::string::npos)
      v = std::stoul(digits, nullptr, hex ? 16 : 10);
    check(v <= 0x10FFFF, "a known reference");
    out += v > 0xFFFF
               ? Text{static_cast<char16_t>(0xD7C0 + (v >> 10)), static_cast<char16_t>(0xDC00 | (v & 0x3FF))}
               : Text(1, static_cast<char16_t>(v));
    out += html.substr(end + 1, html.find(u'&', end) - end - 1);
  }
  return out;
}

/// True when `packed` is one whole raw DEFLATE stream, as the page's DecompressionStream('deflate-raw')
/// reads it, that inflates to `bytes`.
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
  const auto lineCount = static_cast<std::int64_t>(in.number(0, 1, 8));
  const Text page = fillSearchField(fillTableRows(in.text(1), names), in.text(k + 2, 40), lineCount);

  // The document's base64 form: its length, and slices of whole triples join into it (the page is
  // written slice by slice).
  const std::string encoded = base64(xml);
  check(encoded.size() == (xml.size() + 2) / 3 * 4, "base64 length");
  const std::size_t slice = std::min<std::size_t>(in.number(0, 9) * 3, xml.size() / 3 * 3);
  check(base64(xml.substr(0, slice)) + base64(xml.substr(slice)) == encoded, "slices join");

  // The path goes in escaped, so that the page shows it as it is and no mark inside it is filled.
  const Text escapedPath = fillDocumentPath(u"[xmlfile]", path);
  check(fromHtml(escapedPath) == path, "the escaped path reads back as the path");
  check(escapedPath.find_first_of(u"<>\"[") == Text::npos, "no markup or mark in the path");

  // The saved page: the path where the template said [xmlfile], the document where it said [xmldata].
  // The save always has a path (it ends in ".xml"); an empty one could join two halves of a mark.
  if (path.empty()) return 0;
  const auto packed = deflateRaw(xml);
  check(packed && inflatesTo(*packed, xml), "the page's data inflates to the document");
  const std::string packedText = xml.empty() ? std::string() : base64(*packed);
  const Text dataText(packedText.begin(), packedText.end());
  Text expected;
  std::size_t start = 0;
  for (std::size_t mark; (mark = page.find(u"[xmlfile]", start)) != Text::npos; start = mark + 9)
    expected += replaceAll(page.substr(start, mark - start), kXmlDataMark, dataText) + escapedPath;
  expected += replaceAll(page.substr(start), kXmlDataMark, dataText);
  check(fillDocumentData(fillDocumentPath(page, path), xml) == expected,
        "path and document where the marks were");
  return 0;
}
