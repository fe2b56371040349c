// The record reader and the document body writer. Input: piece 0, byte 0: number of names (mod 10; 0 ends
// the run), byte 1: bit 0 ends built records with LF alone, bit 1 puts blanks around values, bit 2 a blank
// line after each; then k names and a text, read as it is and also cut at every "|" into values.
#include <utility>

#include "FuzzInput.h"
#include "convert/Records.h"

// The record writer as its steps read, a reference the one-pass writer must reproduce: every search starts
// at the first character of the whole text, every quote is replaced where it stands. Quadratic.
namespace literal {

static bool replaceFirstQuote(Text& text, const Text& replacement) {
  const std::size_t at = text.find(u'"');
  if (at != Text::npos) text.replace(at, 1, replacement);
  return at != Text::npos;
}

/// The body for complete records: commas outside quoted values deleted, "&", "<" and ">" escaped; then the
/// first quote opens the first field's tag (and the record's, on a line of its own), the next closes it,
/// and so on; it stops where a quote is missing.
static Text documentBody(const Text& source, const std::vector<Text>& names) {
  Text text;
  bool inside = false;
  for (const char16_t c : source) {
    inside ^= c == u'"';
    if (c != u',' || inside)
      text += c == u'&' ? u"&amp;" : c == u'<' ? u"&lt;" : c == u'>' ? u"&gt;" : Text(1, c);
  }
  for (std::size_t i = 0, k = names.size(); text.find(u'"') != Text::npos; i = (i + 1) % k)
    if (!replaceFirstQuote(text, (i == 0 ? u"<mivoxml>\r\n<" : u"<") + names[i] + u">") ||
        !replaceFirstQuote(text, u"</" + names[i] + (i + 1 == k ? u">\r\n</mivoxml>\r\n" : u">")))
      break;
  return text;
}

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Pieces in(data, size);
  const std::size_t k = in.number(0, 0) % 10;
  if (k == 0) return 0;
  std::vector<Text> names, values;
  for (std::size_t i = 1; i <= k; ++i) names.push_back(in.text(i, 40));
  // Whatever the text, the reader keeps the first problems in order; a text without any gets only tags.
  const Text source = in.text(k + 1, 2000);
  const RecordCheck c = checkRecords(source, k);
  check(c.problems.size() == std::min<std::size_t>(c.problemCount, RecordCheck::kShownProblems),
        "the first problems kept");
  for (std::size_t i = 0; i < c.problems.size(); ++i)
    check(c.problems[i].line > (i == 0 ? 0 : c.problems[i - 1].line), "problems in text order");
  // The conversion refuses names whose tags could be taken for markup or for a record tag.
  for (const Text& n : names)
    if (n.find_first_of(u"<>\"") != Text::npos || n == kRecordElement || n == u"/mivoxml") return 0;
  const auto tags = static_cast<std::int64_t>(2 + 2 * k) * c.records;
  check(!c.ok() || countOf(writeDocumentBody(source, names, c), u'<') == tags, "only the writer's tags");

  // Records built from the values, each quoted with its quotes doubled, are read back exactly.
  for (std::size_t start = 0, bar = 0; bar != Text::npos; start = bar + 1)
    values.push_back(source.substr(start, (bar = source.find(u'|', start)) - start));
  values.resize((values.size() + k - 1) / k * k);  // the last record's missing values are empty
  const Text lead = in.number(0, 1) & 2 ? u" " : u"", trail = lead.empty() ? u"" : u"\t";  // blanks
  const Text lineEnd = in.number(0, 1) & 1 ? u"\n" : u"\r\n";
  const Text blankLine = in.number(0, 1) & 4 ? u"\u3000" + lineEnd : Text();  // no record, stays as it is
  Text text, expected;
  for (std::size_t at = 0; at < values.size(); at += k) {
    Text fields;
    for (std::size_t f = 0; f < k; ++f) {
      const Text& value = values[at + f];
      text += (f > 0 ? u"," : u"") + lead + u"\"" + replaceAll(value, u"\"", u"\"\"") + u"\"" + trail;
      fields += (f > 0 ? trail + lead : Text()) + u"<" + names[f] + u">" + referenced(value) + u"</" +
                names[f] + u">";
    }
    text += lineEnd + blankLine;
    expected += lead + u"<mivoxml>\r\n" + fields + u"\r\n</mivoxml>\r\n" + trail + lineEnd + blankLine;
  }
  const RecordCheck built = checkRecords(text, k);
  check(built.ok() && std::cmp_equal(built.records, values.size() / k), "one record per k values");
  const Text body = writeDocumentBody(text, names, built);
  check(body == expected, "every value read back as it was");
  // The literal steps wrote every value as it stood: compare where that was right and savable.
  if (text.size() < 4000 && !contains(source, u"\"") && encodeCp932(source).ok)
    check(body == literal::documentBody(text, names), "same as the literal steps");
  return 0;
}
