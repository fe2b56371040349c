#include "convert/RecordWriter.h"

#include <algorithm>
#include <cstddef>

namespace orv {
namespace {

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

/// The replacement for each quote of one record, in the order the quotes are met.
std::vector<Text> quoteReplacements(const std::vector<Text>& names) {
  const Text recordOpen = openingTag(kRecordElement);
  const Text recordClose = closingTag(kRecordElement);
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

/// Replace-all with the result allocated once: the matches are counted before anything is copied, so a
/// text of hundreds of megabytes never sits in memory twice over because of capacity doubling.
Text replaceEvery(TextView text, TextView from, TextView to) {
  std::size_t count = 0;
  for (std::size_t p = text.find(from); p != TextView::npos; p = text.find(from, p + from.size())) ++count;
  if (count == 0) return Text(text);
  Text out;
  out.reserve(text.size() - count * from.size() + count * to.size());
  std::size_t start = 0;
  for (std::size_t p = text.find(from); p != TextView::npos; p = text.find(from, start)) {
    out.append(text.substr(start, p - start));
    out.append(to);
    start = p + from.size();
  }
  out.append(text.substr(start));
  return out;
}

}  // namespace

WriterResult writeRecords(Text text, const std::vector<Text>& names) {
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

  const std::vector<Text> replacements = quoteReplacements(names);
  std::size_t growthPerRecord = 0;
  for (const Text& r : replacements) growthPerRecord += r.size() - 1;

  Text& out = result.text;
  out.reserve(text.size() + records * growthPerRecord);
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
  return result;
}

Text breakRecordOpenTags(TextView text) {
  const Text tag = openingTag(kRecordElement);
  return replaceEvery(text, tag, tag + Text(kCrLf));
}

Text breakRecordCloseTags(TextView text) {
  const Text tag = closingTag(kRecordElement);
  return replaceEvery(text, tag, Text(kCrLf) + tag + Text(kCrLf));
}

}  // namespace orv
