#include "convert/Records.h"

#include <algorithm>

#include "text/LargeBuffer.h"
#include "text/Markup.h"

namespace orv {
namespace {

constexpr std::size_t kHeaderRoom = 1024;
/// About how many characters of the body a piece holds.
constexpr std::size_t kBodyPiece = std::size_t{1} << 15;

/// Blanks around quoted fields: a tab only where it does not separate fields.
template <char16_t Sep>
bool isBlank(char16_t c) {
  return c == u' ' || (Sep != u'\t' && c == u'\t') || c == u'\u3000';
}
bool isLineBreak(char16_t c) { return c == kCr || c == kLf; }

/// Walks the records of `t` and tells `v` what it meets, in text order: outside(text) for what stands
/// outside values (blank lines, blanks around quoted fields, line breaks), beginRecord(), quotedField(raw)
/// with its doubled quotes still doubled, unquotedField(raw), endRecord(line, fields, glued) before the
/// blanks and the line break that follow the record, and problem(kind, line, fields) for a quote that
/// never closes, after which nothing follows.
/// The separator is a template argument: the reader runs over millions of characters.
template <char16_t Sep, class Visitor>
void readRecords(TextView t, Visitor& v) {
  const std::size_t n = t.size();
  auto skipBlanks = [&](std::size_t at) {
    while (at < n && isBlank<Sep>(t[at])) ++at;
    return at;
  };
  auto breakLength = [&](std::size_t at) -> std::size_t {
    return t[at] == kCr && at + 1 < n && t[at + 1] == kLf ? 2 : 1;
  };
  std::int64_t line = 1;
  std::size_t i = 0;
  while (i < n) {
    if constexpr (requires { v.done(); }) {
      if (v.done()) return;
    }
    const std::size_t content = skipBlanks(i);
    if (content == n || isLineBreak(t[content])) {
      const std::size_t end = content == n ? n : content + breakLength(content);
      v.outside(t.substr(i, end - i));
      line += content < n;
      i = end;
      continue;
    }
    const std::int64_t recordLine = line;
    std::int64_t fields = 0;
    bool glued = false;
    for (;;) {
      const std::size_t start = skipBlanks(i);
      TextView after;  // blanks after a closing quote
      if (start < n && t[start] == kQuote) {
        v.outside(t.substr(i, start - i));
        if (fields++ == 0) v.beginRecord();
        std::size_t j = start + 1;
        for (; j < n; ++j) {
          if (t[j] == kQuote) {
            if (j + 1 < n && t[j + 1] == kQuote) {
              ++j;
              continue;
            }
            break;
          }
          if (isLineBreak(t[j])) {
            j += breakLength(j) - 1;
            ++line;
          }
        }
        if (j >= n) {
          v.problem(RecordProblem::Kind::UnclosedQuote, recordLine, fields);
          return;
        }
        v.quotedField(t.substr(start + 1, j - start - 1));
        i = skipBlanks(j + 1);
        after = t.substr(j + 1, i - j - 1);
        if (i < n && t[i] != Sep && !isLineBreak(t[i])) {
          glued = true;
          while (i < n && t[i] != Sep && !isLineBreak(t[i])) ++i;
        }
      } else {
        if (fields++ == 0) v.beginRecord();
        std::size_t j = i;
        while (j < n && t[j] != Sep && !isLineBreak(t[j])) ++j;
        v.unquotedField(t.substr(i, j - i));
        i = j;
      }
      if (i < n && t[i] == Sep) {
        v.outside(after);
        ++i;
        continue;
      }
      v.endRecord(recordLine, fields, glued);
      v.outside(after);
      if (i < n) {
        const std::size_t length = breakLength(i);
        v.outside(t.substr(i, length));
        i += length;
        ++line;
      }
      break;
    }
  }
}

struct Checker {
  RecordCheck& result;
  std::size_t fieldsPerRecord;

  void add(RecordProblem::Kind kind, std::int64_t line, std::int64_t fields) {
    if (result.problemCount++ < static_cast<std::int64_t>(RecordCheck::kShownProblems))
      result.problems.push_back({kind, line, fields});
  }
  void outside(TextView) {}
  void beginRecord() {}
  void quotedField(TextView raw) { result.escapeGrowth += escapeGrowth(raw); }
  void unquotedField(TextView raw) { result.escapeGrowth += escapeGrowth(raw); }
  void endRecord(std::int64_t line, std::int64_t fields, bool glued) {
    ++result.records;
    if (glued) {
      add(RecordProblem::Kind::TextAfterQuote, line, fields);
    } else if (fields != static_cast<std::int64_t>(fieldsPerRecord)) {
      add(RecordProblem::Kind::FieldCount, line, fields);
    }
  }
  void problem(RecordProblem::Kind kind, std::int64_t line, std::int64_t fields) { add(kind, line, fields); }
};

/// A value's characters that the Shift_JIS document cannot hold go in as character references, which
/// every XML reader turns back into the character: nothing of the value is lost.
constexpr MarkupEscapes kValueEscapes{.outsideCp932 = true};

struct BodyWriter {
  Text& out;
  /// Given, it takes the body in pieces, each ending with a record, and `out` holds one piece at a time.
  const BodyPieces* take = nullptr;
  /// The end of the last part of the text written: the reader never goes back before it.
  const char16_t* through = nullptr;
  std::vector<Text> openTags;
  std::vector<Text> closeTags;
  std::size_t field = 0;

  BodyWriter(Text& body, const std::vector<Text>& names) : out(body) {
    for (const Text& name : names) {
      openTags.push_back(u"<" + name + u">");
      closeTags.push_back(u"</" + name + u">");
    }
  }
  void outside(TextView text) {
    out.append(text);
    through = text.data() + text.size();
  }
  void beginRecord() {
    out.append(u"<").append(kRecordElement).append(u">").append(kCrLf);
    field = 0;
  }
  void value(TextView raw, bool quoted) {
    if (field >= openTags.size()) return;  // only for a text the check refused
    through = raw.data() + raw.size();
    out.append(openTags[field]);
    // In a quoted value every quote is doubled: each pair is one quote of the value.
    for (std::size_t q = quoted ? raw.find(kQuote) : TextView::npos; q != TextView::npos;
         q = raw.find(kQuote)) {
      appendEscaped(out, raw.substr(0, q), kValueEscapes);
      out.push_back(kQuote);
      raw.remove_prefix(std::min(q + 2, raw.size()));
    }
    appendEscaped(out, raw, kValueEscapes);
    out.append(closeTags[field++]);
  }
  void quotedField(TextView raw) { value(raw, true); }
  void unquotedField(TextView raw) { value(raw, false); }
  void endRecord(std::int64_t, std::int64_t, bool) {
    out.append(kCrLf).append(u"</").append(kRecordElement).append(u">").append(kCrLf);
    if (take && out.size() >= kBodyPiece) {
      (*take)(out, through);
      out.clear();
    }
  }
  void problem(RecordProblem::Kind, std::int64_t, std::int64_t) {}
};

/// Reads the values of the first `wanted` records (doubled quotes made one) and where the first one ends
/// (its line break included), and asks to stop after them.
struct LeadingRecords {
  LeadingRecords(TextView text, std::size_t records) : base(text.data()), wanted(records) {}
  const char16_t* base;
  std::size_t wanted;
  std::vector<std::vector<Text>> values;
  std::int64_t firstFields = 0;
  std::size_t firstEnd = TextView::npos;
  bool awaitingBreak = false;
  bool done() const { return values.size() >= wanted && !awaitingBreak; }
  void outside(TextView text) {
    if (!awaitingBreak || text.empty() || !isLineBreak(text.front())) return;
    firstEnd = static_cast<std::size_t>(text.data() + text.size() - base);
    awaitingBreak = false;
  }
  void beginRecord() { values.emplace_back(); }
  void value(TextView raw, bool quoted) {
    Text v(raw);
    if (quoted) replaceAllInPlace(v, u"\"\"", u"\"");
    values.back().push_back(std::move(v));
  }
  void quotedField(TextView raw) { value(raw, true); }
  void unquotedField(TextView raw) { value(raw, false); }
  void endRecord(std::int64_t, std::int64_t count, bool) {
    if (values.size() != 1) return;
    firstFields = count;
    awaitingBreak = true;
  }
  void problem(RecordProblem::Kind, std::int64_t, std::int64_t count) {
    if (values.size() == 1) firstFields = count;
  }
};

template <class Visitor>
void readWith(char16_t separator, TextView text, Visitor& v) {
  if (separator == u'\t') {
    readRecords<u'\t'>(text, v);
  } else {
    readRecords<u','>(text, v);
  }
}

}  // namespace

char16_t separatorOf(TextView text) {
  // The first record's line, outside quotes: a comma there makes it comma-separated, as before.
  bool quoted = false, tab = false;
  for (const char16_t c : text) {
    if (c == kQuote) quoted = !quoted;
    if (quoted) continue;
    if (c == u',') return u',';
    if (isLineBreak(c) && tab) break;
    tab = tab || c == u'\t';
  }
  return tab ? u'\t' : u',';
}

std::int64_t fieldsOfFirstRecord(TextView text, char16_t separator) {
  LeadingRecords first(text, 1);
  readWith(separator, text, first);
  return first.firstFields;
}

bool semicolonSeparated(TextView text, char16_t separator) {
  LeadingRecords first(text, 1);
  readWith(separator, text, first);
  return first.firstFields == 1 && text.substr(0, first.firstEnd).find(u';') != TextView::npos;
}

LeadingValues leadingValues(TextView text, std::size_t records, char16_t separator) {
  LeadingRecords leading(text, records);
  readWith(separator, text, leading);
  return {std::move(leading.values), std::min(leading.firstEnd, text.size())};
}

RecordCheck checkRecords(TextView text, std::size_t fieldsPerRecord, char16_t separator) {
  RecordCheck result;
  Checker checker{result, fieldsPerRecord};
  readWith(separator, text, checker);
  return result;
}

std::size_t bodyLengthBound(TextView text, const std::vector<Text>& names, const RecordCheck& check) {
  std::size_t growthPerRecord = 2 * kRecordElement.size() + 5 + 3 * kCrLf.size();
  for (const Text& name : names) growthPerRecord += 2 * name.size() + 5;
  return text.size() + static_cast<std::size_t>(check.records) * growthPerRecord + check.escapeGrowth;
}

Text writeDocumentBody(TextView text, const std::vector<Text>& names, const RecordCheck& check,
                       char16_t separator) {
  Text body;
  // Sized once for the whole body, with room for the XML header and the closing root tag that the
  // save puts around it in place.
  reserveLarge(body, bodyLengthBound(text, names, check) + kHeaderRoom);
  BodyWriter writer(body, names);
  readWith(separator, text, writer);
  return body;
}

void writeDocumentBody(TextView text, const std::vector<Text>& names, char16_t separator,
                       const BodyPieces& take) {
  Text piece;
  piece.reserve(2 * kBodyPiece);
  BodyWriter writer(piece, names);
  writer.take = &take;
  readWith(separator, text, writer);
  if (!piece.empty()) take(piece, text.data() + text.size());
}

}  // namespace orv
