#pragma once
// Random working texts and element names for the differential tests: quoted values with Japanese text,
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

/// A valid element name of 1 to 20 characters (a surrogate pair counts as one).
inline Text elementName(Engine& engine) {
  static const std::vector<Text> start = {u"a", u"Z", u"_", u"x", u"住", u"所", u"読",         u"氏", u"名",
                                          u"ﾌ", u"ﾘ", u"ｶ", u"ﾅ", u"ア", u"の", u"\U00020BB7", u"é"};
  static const std::vector<Text> rest = {u"1", u"9", u"-", u".", u"ﾞ", u"ﾟ", u"·", u"ー", u"b", u"電", u"話"};
  Text name = pick(engine, start);
  const int length = uniform(engine, 1, 20);
  for (int i = 1; i < length; ++i) name += chance(engine, 50) ? pick(engine, start) : pick(engine, rest);
  return name;
}

inline std::vector<Text> elementNames(Engine& engine, int count) {
  std::vector<Text> names;
  for (int i = 0; i < count; ++i) names.push_back(elementName(engine));
  return names;
}

/// Content of a quoted value: never a double quote, sometimes empty.
inline Text value(Engine& engine) {
  static const std::vector<Text> pool = {
      u"A",  u"1", u"0",  u" ",  u"\u3000", u"東",         u"京",        u"都",         u"港",
      u"区", u"ｱ", u"ｲ",  u"ﾞ",  u"ｰ",      u"-",          u",",         u"&",          u"<",
      u">",  u"'", u"\n", u"。", u"ー",     u"\U0001F600", u"<mivoxml>", u"</mivoxml>", u"\r\n"};
  Text text;
  const int length = chance(engine, 15) ? 0 : uniform(engine, 1, 8);
  for (int i = 0; i < length; ++i) text += pick(engine, pool);
  return text;
}

/// A working text of up to `maxLines` lines in which every record holds exactly `fields` quoted values
/// (never a quote inside), with blanks around values and commas, blank lines, CR LF and lone LF: the
/// texts that the literal steps already wrote right.
inline Text completeRecords(Engine& engine, int fields, int maxLines) {
  static const std::vector<Text> blanks = {u" ", u"  ", u"\u3000", u"\t"};
  auto someBlanks = [&] { return chance(engine, 15) ? pick(engine, blanks) : Text(); };
  Text text;
  const int lines = uniform(engine, 0, maxLines);
  for (int line = 0; line < lines; ++line) {
    if (chance(engine, 8)) {
      text += someBlanks();
    } else {
      for (int f = 0; f < fields; ++f) {
        if (f > 0) text += u',';
        text += someBlanks() + u'"' + value(engine) + u'"' + someBlanks();
      }
    }
    const bool last = line + 1 == lines;
    if (!(last && chance(engine, 20))) text += chance(engine, 85) ? Text(kCrLf) : Text(u"\n");
  }
  return text;
}

}  // namespace orv::random
