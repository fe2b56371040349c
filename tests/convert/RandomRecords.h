#pragma once
// Random working texts and element names for the differential test: quoted values with Japanese text,
// half-width katakana, blanks, commas, line breaks and markup; blank lines, CR LF and lone LF.
#include <random>
#include <vector>

#include "common/TextTest.h"

namespace orv::random {

using Engine = std::mt19937;

inline int uniform(Engine& engine, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(engine);
}
inline bool chance(Engine& engine, int percent) { return uniform(engine, 1, 100) <= percent; }
inline const Text& pick(Engine& engine, const std::vector<Text>& pool) {
  return pool[static_cast<std::size_t>(uniform(engine, 0, static_cast<int>(pool.size()) - 1))];
}

/// `count` valid element names of 1 to 20 characters (a surrogate pair counts as one).
inline std::vector<Text> elementNames(Engine& engine, int count) {
  static const std::vector<Text> start = {u"a", u"Z", u"_",  u"住",         u"所",
                                          u"ﾌ", u"ﾘ", u"ア", u"\U00020BB7", u"é"};
  static const std::vector<Text> rest = {u"1", u"-", u".", u"ﾞ", u"·", u"ー", u"b", u"電"};
  std::vector<Text> names(static_cast<std::size_t>(count));
  for (Text& name : names) {
    name = pick(engine, start);
    for (int i = uniform(engine, 1, 20); i > 1; --i) name += pick(engine, chance(engine, 50) ? start : rest);
  }
  return names;
}

/// A working text of up to `maxLines` lines in which every record holds exactly `fields` quoted values
/// (never a quote inside), with blanks around values and commas, blank lines, CR LF and lone LF: the
/// texts that the literal steps already wrote right.
inline Text completeRecords(Engine& engine, int fields, int maxLines) {
  static const std::vector<Text> blanks = {u" ", u"  ", u"\u3000", u"\t"};
  static const std::vector<Text> pool = {u"A",  u"1",  u" ",  u"\u3000", u"東", u"京",        u"ｱ",
                                         u"ﾞ",  u"-",  u",",  u"&",      u"<",  u">",         u"'",
                                         u"\n", u"。", u"ー", u"\r\n",   u"①",  u"<mivoxml>", u"</mivoxml>"};
  auto someBlanks = [&] { return chance(engine, 15) ? pick(engine, blanks) : Text(); };
  Text text;
  const int lines = uniform(engine, 0, maxLines);
  for (int line = 0; line < lines; ++line) {
    const bool blankLine = chance(engine, 8);
    if (blankLine) text += someBlanks();
    for (int f = 0; f < fields && !blankLine; ++f) {
      text += (f > 0 ? u"," : u"") + someBlanks() + u'"';
      for (int i = chance(engine, 15) ? 0 : uniform(engine, 1, 8); i > 0; --i) text += pick(engine, pool);
      text += u'"' + someBlanks();
    }
    if (line + 1 < lines || chance(engine, 80)) text += chance(engine, 85) ? Text(kCrLf) : Text(u"\n");
  }
  return text;
}

}  // namespace orv::random
