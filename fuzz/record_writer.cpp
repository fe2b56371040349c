// Comma removal, markup escaping, the record writer and the two line-break steps on arbitrary text and
// names, against the literal steps kept in the tests.
//
// Input: piece 0, byte 0: number of names (mod 10), byte 1, bit 0: give the writer the text before the
// markup is escaped; pieces 1..k: the names (UTF-8); piece k+1: the working text (UTF-8).
#include <algorithm>

#include "FuzzInput.h"
#include "convert/LiteralWriter.h"
#include "convert/Prepare.h"
#include "convert/RecordWriter.h"

namespace {

using namespace orv;
using fuzz::check;

/// The commas outside quoted values removed, the text taken as alternating outside / inside pieces
/// between its quotes.
Text withoutOutsideCommas(const Text& text) {
  Text out;
  bool inside = false;
  std::size_t start = 0;
  for (;;) {
    const std::size_t quote = text.find(kQuote, start);
    Text piece = text.substr(start, quote == Text::npos ? Text::npos : quote - start);
    if (!inside) piece.erase(std::remove(piece.begin(), piece.end(), u','), piece.end());
    out += piece;
    if (quote == Text::npos) return out;
    out += kQuote;
    inside = !inside;
    start = quote + 1;
  }
}

/// The three entities read back, left to right.
Text unescaped(const Text& text) {
  Text out;
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, 5, u"&amp;") == 0) {
      out += u'&';
      i += 5;
    } else if (text.compare(i, 4, u"&lt;") == 0) {
      out += u'<';
      i += 4;
    } else if (text.compare(i, 4, u"&gt;") == 0) {
      out += u'>';
      i += 4;
    } else {
      check(text[i] != u'&', "every & of the escaped text starts an entity");
      out += text[i++];
    }
  }
  return out;
}

/// Position of the quote with 0-based index `index`, or the end of the text.
std::size_t quoteAt(const Text& text, std::int64_t index) {
  std::int64_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == kQuote && seen++ == index) return i;
  return text.size();
}

Text documentBody(const Text& text) { return breakRecordCloseTags(breakRecordOpenTags(text)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Pieces in(data, size);
  const std::size_t k = in.byte(0, 0) % 10;
  const bool unescapedMarkup = in.byte(0, 1) & 1;
  std::vector<Text> names;
  for (std::size_t i = 1; i <= k; ++i) names.push_back(fuzz::prefix(in.text(i), 40));
  const Text source = in.text(k + 1);

  const Text prepared = removeCommasOutsideQuotes(source);
  check(prepared == withoutOutsideCommas(source), "only the commas outside values go");
  const Text escaped = escapeMarkup(prepared);
  check(escaped.find(u'<') == Text::npos && escaped.find(u'>') == Text::npos, "no markup character is left");
  check(unescaped(escaped) == prepared, "escaping loses nothing");

  const Text text = unescapedMarkup ? prepared : escaped;
  const std::int64_t quotes = countOf(text, kQuote);
  const WriterResult w = writeRecords(text, names);
  if (k == 0) {
    check(w.text == text && w.records == 0 && w.incomplete == (quotes > 0), "no names write nothing");
    return 0;
  }
  const auto perRecord = static_cast<std::int64_t>(2 * k);
  check(w.records == quotes / perRecord, "one record per 2k quotes");
  check(w.incomplete == (quotes % perRecord != 0), "left-over quotes are told");
  const std::size_t cut = quoteAt(text, w.records * perRecord);
  check(w.text.size() >= text.size() - cut && w.text.compare(w.text.size() - (text.size() - cut), Text::npos, text, cut) == 0,
        "an unfinished record stays as it stood");

  // The literal steps read quotes in the inserted names too, and take time in the square of the size.
  const bool quoteInName = std::any_of(names.begin(), names.end(), [](const Text& n) { return contains(n, u"\""); });
  const bool small = static_cast<double>(quotes) * static_cast<double>(w.text.size()) < 4e6;
  if (!quoteInName && small) {
    const literal::Outcome reference = literal::writeRecords(text.substr(0, cut), names);
    check(!reference.stalled && reference.records == w.records, "the literal steps write the same records");
    check(w.text == reference.text + text.substr(cut), "same text as the literal steps");
    check(literal::writeRecords(text, names).stalled == w.incomplete, "both refuse an unfinished record");
    check(documentBody(w.text) == literal::breakRecordCloseTags(literal::breakRecordOpenTags(w.text)),
          "line-break steps as the literal ones");
  }

  // The one-pass writer with line breaks equals the writer and both steps while the only record tags are
  // the writer's own: no "<" in the text, and no name whose tag is or holds a record tag ("mivoxml",
  // "/mivoxml", or one with "<" or ">"). The conversion refuses all such names.
  const bool tagSafeNames = std::none_of(names.begin(), names.end(), [](const Text& n) {
    return contains(n, u"<") || contains(n, u">") || n == kRecordElement || n == u"/" + Text(kRecordElement);
  });
  if (text.find(u'<') == Text::npos && tagSafeNames) {
    const WriterResult broken = writeRecordsWithLineBreaks(text, names);
    check(broken.text == documentBody(w.text), "writer with line breaks = writer + both steps");
    check(broken.records == w.records && broken.incomplete == w.incomplete, "same counts with line breaks");
  }
  return 0;
}
