#pragma once
// The working text read as comma-separated records, and the body of the XML document written from them.
//
// A record ends at a line break outside quotes (CR LF, CR, or LF alone). A field is quoted (a doubled
// quote inside is one quote character; line breaks inside belong to the value) or unquoted (taken as it
// stands, up to the next separator or line break). The separator is the comma, or the tab. Blanks around a
// quoted field stay outside its value, and so do blank lines, which are no records.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "text/Text.h"

namespace orv {

/// Name of the element that wraps every record.
inline constexpr TextView kRecordElement = u"mivoxml";

/// A record that cannot be written as it stands.
struct RecordProblem {
  enum class Kind {
    FieldCount,      ///< another number of fields than the writer's
    UnclosedQuote,   ///< a quoted value that never closes: the rest of the text is inside it
    TextAfterQuote,  ///< text glued to a closing quote, before the next comma or line break
  };
  Kind kind = Kind::FieldCount;
  std::int64_t line = 0;    ///< 1-based line where the record starts
  std::int64_t fields = 0;  ///< fields the record holds (up to the problem)
};

struct RecordCheck {
  static constexpr std::size_t kShownProblems = 5;
  std::int64_t records = 0;
  std::int64_t problemCount = 0;
  std::vector<RecordProblem> problems;  ///< the first kShownProblems, in text order
  std::size_t escapeGrowth = 0;         ///< characters the markup escapes of the values add
  bool ok() const { return problemCount == 0; }
};

/// The field separator of a text: a tab where the first record's line holds tabs and no comma outside
/// quotes (as spreadsheets write "Unicode text" and tab-separated text), else the comma.
char16_t separatorOf(TextView text);

/// The number of fields of the first record of `text`; 0 when it holds none (only blank lines).
std::int64_t fieldsOfFirstRecord(TextView text, char16_t separator = u',');

/// Whether the first record is one field whose line holds a semicolon: a semicolon-separated list, as
/// spreadsheets write where the comma is the decimal mark.
bool semicolonSeparated(TextView text, char16_t separator = u',');

/// The values of the first records of a text, as the writer reads them (a doubled quote is one quote).
struct LeadingValues {
  std::vector<std::vector<Text>> records;
  std::size_t firstEnd = 0;  ///< where the text after the first record begins (its line break included)
};
LeadingValues leadingValues(TextView text, std::size_t records, char16_t separator = u',');

/// Reads `text` as records and finds those that do not hold `fieldsPerRecord` fields. One pass, no copy.
RecordCheck checkRecords(TextView text, std::size_t fieldsPerRecord, char16_t separator = u',');

/// The document body, as the save puts the XML header around it: every record becomes "<mivoxml>" CR LF,
/// its fields as elements named by `names` with "&", "<" and ">" escaped, CR LF "</mivoxml>" CR LF; the
/// blanks around quoted fields and every line break outside values stay where they stood, the separators
/// between fields go. `check` is checkRecords of the same text for names.size() fields and must be ok.
Text writeDocumentBody(TextView text, const std::vector<Text>& names, const RecordCheck& check,
                       char16_t separator = u',');

/// At least the characters of the body writeDocumentBody writes for the same arguments.
std::size_t bodyLengthBound(TextView text, const std::vector<Text>& names, const RecordCheck& check);

/// The same body handed to `take` in pieces of some thousand characters, each ending with a record, so
/// that it never stands whole in memory; with each piece, the point of `text` before which the writer
/// reads nothing again.
using BodyPieces = std::function<void(TextView piece, const char16_t* readThrough)>;
void writeDocumentBody(TextView text, const std::vector<Text>& names, char16_t separator,
                       const BodyPieces& take);

}  // namespace orv
