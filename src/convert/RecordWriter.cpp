#include "convert/RecordWriter.h"

#include <algorithm>
#include <cstddef>

namespace orv {
namespace {

constexpr std::size_t kHeaderRoom = 1024;

Text openingTag(TextView name) {
  Text tag;
  tag.reserve(name.size() + 2);
  tag += u'<';
  tag += name;
  tag += u'>';
  return tag;
}

Text closingTag(TextView name) {
  Text tag;
  tag.reserve(name.size() + 3);
  tag += u"</";
  tag += name;
  tag += u'>';
  return tag;
}

/// The replacement for each quote of one record, in the order the quotes are met; with `lineBreaks`
/// the record tags carry the line ends that the two line-break steps would give them.
std::vector<Text> quoteReplacements(const std::vector<Text>& names, bool lineBreaks) {
  const Text recordOpen = openingTag(kRecordElement) + (lineBreaks ? Text(kCrLf) : Text());
  const Text recordClose =
      lineBreaks ? Text(kCrLf) + closingTag(kRecordElement) + Text(kCrLf) : closingTag(kRecordElement);
  std::vector<Text> out;
  out.reserve(names.size() * 2);
  for (const Text& name : names) {
    out.push_back(openingTag(name));
    out.push_back(closingTag(name));
  }
  out.front().insert(0, recordOpen);
  out.back().append(recordClose);
  return out;
}

WriterResult writeRecordsWith(Text text, const std::vector<Text>& names, bool lineBreaks) {
  WriterResult result;
  const std::size_t quotesPerRecord = names.size() * 2;
  const auto quoteCount = static_cast<std::size_t>(std::count(text.begin(), text.end(), kQuote));
  if (quotesPerRecord == 0) {
    result.incomplete = quoteCount > 0;
    result.text = std::move(text);
    return result;
  }
  const std::size_t records = quoteCount / quotesPerRecord;
  result.records = static_cast<std::int64_t>(records);
  result.incomplete = quoteCount % quotesPerRecord != 0;
  if (records == 0) {
    result.text = std::move(text);
    return result;
  }

  const std::vector<Text> replacements = quoteReplacements(names, lineBreaks);
  std::size_t growthPerRecord = 0;
  for (const Text& r : replacements) growthPerRecord += r.size() - 1;

  Text& out = result.text;
  // A little room beyond the body lets the save put the XML header and the closing root tag around it
  // in place, without a second copy of a large document.
  out.reserve(text.size() + records * growthPerRecord + kHeaderRoom);
  const TextView in(text);
  std::size_t start = 0;
  for (std::size_t r = 0; r < records; ++r) {
    for (const Text& replacement : replacements) {
      const std::size_t quote = in.find(kQuote, start);
      out.append(in.substr(start, quote - start));
      out.append(replacement);
      start = quote + 1;
    }
  }
  // Everything after the last complete record, an unfinished record included, stays as it stood.
  out.append(in.substr(start));
  Text().swap(text);
  return result;
}

}  // namespace

WriterResult writeRecords(Text text, const std::vector<Text>& names) {
  return writeRecordsWith(std::move(text), names, false);
}

WriterResult writeRecordsWithLineBreaks(Text text, const std::vector<Text>& names) {
  return writeRecordsWith(std::move(text), names, true);
}

Text breakRecordOpenTags(TextView text) {
  const Text tag = openingTag(kRecordElement);
  return replaceAll(text, tag, tag + Text(kCrLf));
}

Text breakRecordCloseTags(TextView text) {
  const Text tag = closingTag(kRecordElement);
  return replaceAll(text, tag, Text(kCrLf) + tag + Text(kCrLf));
}

}  // namespace orv
