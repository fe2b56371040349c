#pragma once
// The record writer: turns the double quotes around the fields of the working text into element tags,
// record after record, and lays the record tags out on lines of their own.
#include <cstdint>
#include <vector>

#include "common/Text.h"

namespace orv {

/// Name of the element that wraps every record.
inline constexpr TextView kRecordElement = u"mivoxml";

struct WriterResult {
  Text text;                 ///< the working text after the record loop, before the line-break steps
  std::int64_t records = 0;  ///< complete records written
  bool incomplete = false;   ///< quotes were left over that do not make a whole record
};

/// Writes records of k = names.size() fields. The double quotes of `text` are taken in text order, 2k per
/// record, whatever the line ends: quote 1 of a record becomes "<mivoxml><N1>", quote 2 "</N1>", quote 3
/// "<N2>", ..., quote 2k "</Nk></mivoxml>". Every other character stays where it stood. When fewer than 2k
/// quotes remain, that record is not begun: the rest of the text from its first quote is kept as it was
/// and `incomplete` is set. Names are inserted unchanged; a quote inside a name is not taken as a field
/// delimiter. With no names nothing is written. Linear time.
WriterResult writeRecords(Text text, const std::vector<Text>& names);

/// The record writer and both line-break steps in one pass, with one copy of the text in memory less.
/// Equal to the writer followed by breakRecordOpenTags and breakRecordCloseTags whenever the text holds
/// no "<" (as after escapeMarkup) and no name's tag is or holds a record tag (no name "mivoxml" or
/// "/mivoxml", none with "<" or ">"; the conversion refuses such names), since the only record tags are
/// then the writer's own.
WriterResult writeRecordsWithLineBreaks(Text text, const std::vector<Text>& names);

/// Every "<mivoxml>" followed by CR LF.
Text breakRecordOpenTags(TextView text);

/// Every "</mivoxml>" preceded and followed by CR LF.
Text breakRecordCloseTags(TextView text);

}  // namespace orv
