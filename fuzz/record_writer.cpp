// The record reader and the document body writer on arbitrary text and names.
//
// Input: piece 0, byte 0: number of names (mod 10; 0 ends the run), byte 1: bit 0 ends the built records
// with LF alone, bit 1 puts blanks around the values, bit 2 a blank line after each record; pieces 1..k: the
// names (UTF-8); piece k+1: a working text (UTF-8), read as it stands and also cut at every "|" into values
// from which records are built.
#include <algorithm>
#include <cstdio>

#include "FuzzInput.h"
#include "LiteralWriter.h"
#include "convert/Records.h"
#include "text/ShiftJis.h"

namespace {

using namespace orv;
using fuzz::check;

/// A value as the document holds it: markup escaped, and what Shift_JIS cannot hold as a reference.
Text escaped(TextView value) {
  Text out;
  for (std::size_t i = 0; i < value.size();) {
    const CodePoint p = codePointAt(value, i);
    const TextView c = value.substr(i, p.units);
    i += p.units;
    if (c == u"&" || c == u"<" || c == u">") {
      out += c == u"&" ? u"&amp;" : c == u"<" ? u"&lt;" : u"&gt;";
    } else if (encodeCp932(c).ok) {
      out += c;
    } else {
      char hex[16];
      std::snprintf(hex, sizeof hex, "&#x%X;", static_cast<unsigned>(p.value));
      out += fromUtf8(hex);
    }
  }
  return out;
}

std::vector<Text> cut(const Text& text, char16_t at) {
  std::vector<Text> parts(1);
  for (const char16_t c : text) {
    if (c == at) {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  return parts;
}

/// Whatever the text, the reader ends, keeps the first problems in text order, and writes a body with
/// one record tag pair per record when it found none.
void readArbitrary(const Text& text, const std::vector<Text>& names, bool tagSafeNames) {
  const RecordCheck c = checkRecords(text, names.size());
  check(c.problems.size() ==
            std::min<std::size_t>(static_cast<std::size_t>(c.problemCount), RecordCheck::kShownProblems),
        "the first problems are kept");
  for (std::size_t i = 0; i < c.problems.size(); ++i)
    check(c.problems[i].line >= 1 && (i == 0 || c.problems[i].line > c.problems[i - 1].line),
          "lines in order");
  if (!c.ok() || !tagSafeNames) return;
  const Text body = writeDocumentBody(text, names, c);
  check(countOf(body, u'<') == c.records * static_cast<std::int64_t>(2 + 2 * names.size()),
        "only the writer's tags");
}

/// Records built from values, each quoted with its quotes doubled, read back exactly; without a quote in
/// any value, byte for byte what the literal steps give.
void readBuilt(const std::vector<Text>& values, const std::vector<Text>& names, int flags) {
  const bool lfAlone = flags & 1, blanks = flags & 2, blankLines = flags & 4;
  const std::size_t k = names.size();
  const Text lineEnd = lfAlone ? u"\n" : u"\r\n";
  Text text, expected;
  for (std::size_t at = 0; at < values.size(); at += k) {
    Text fields;
    for (std::size_t f = 0; f < k; ++f) {
      const Text value = at + f < values.size() ? values[at + f] : Text();
      if (f > 0) text += u',';
      if (f > 0 && blanks) fields += u"\t ";
      text += (blanks ? u" \"" : u"\"") + replaceAll(value, u"\"", u"\"\"") + (blanks ? u"\"\t" : u"\"");
      fields += u"<" + names[f] + u">" + escaped(value) + u"</" + names[f] + u">";
    }
    text += lineEnd;
    expected += (blanks ? u" " : u"") + Text(u"<mivoxml>\r\n") + fields + u"\r\n</mivoxml>\r\n" +
                (blanks ? u"\t" : u"") + lineEnd;
    if (blankLines) {  // a blank line is no record and stays as it is
      text += u"\u3000" + lineEnd;
      expected += u"\u3000" + lineEnd;
    }
  }
  const RecordCheck c = checkRecords(text, k);
  check(c.ok(), "built records are read without a problem");
  check(c.records == static_cast<std::int64_t>((values.size() + k - 1) / k), "one record per k values");
  const Text body = writeDocumentBody(text, names, c);
  check(body == expected, "every value read back as it was");
  // The literal steps wrote every value as it stood: compare where that was right and savable.
  const bool quoteFree = std::none_of(values.begin(), values.end(),
                                      [](const Text& v) { return contains(v, u"\"") || !encodeCp932(v).ok; });
  if (quoteFree && text.size() < 4000)
    check(body == literal::documentBody(text, names), "same as the literal steps");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Pieces in(data, size);
  const std::size_t k = in.byte(0, 0) % 10;
  if (k == 0) return 0;
  std::vector<Text> names;
  for (std::size_t i = 1; i <= k; ++i) names.push_back(in.text(i, 40));
  // The conversion refuses names whose tags could be taken for markup or for a record tag.
  const bool tagSafeNames = std::none_of(names.begin(), names.end(), [](const Text& n) {
    return contains(n, u"<") || contains(n, u">") || contains(n, u"\"") || n == kRecordElement ||
           n == u"/" + Text(kRecordElement);
  });
  const Text text = in.text(k + 1);
  readArbitrary(text, names, tagSafeNames);
  if (tagSafeNames) readBuilt(cut(text.substr(0, 2000), u'|'), names, in.byte(0, 1));
  return 0;
}
