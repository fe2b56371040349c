#include "common/TextTest.h"
#include "convert/XmlName.h"

namespace orv {
namespace {

TEST(XmlName, AcceptsJapaneseAndOtherNamesByTheNameCharacterRanges) {
  const Text valid[] = {u"a",          u"_x",           u"code",      u"住所1",  u"読み",    u"ﾌﾘｶﾞﾅ",
                        u"x-1.2",      u"名前·",        u"é",         u"ー",     u"要素１",  u"Ａ",
                        u"xml",        u"a\u0301",      u"a\u036F",   u"\u037D", u"a\u203F", u"\u200C",
                        u"\U00020BB7", u"a\U00020BB7b", u"\U000EFFFF"};
  for (const Text& name : valid) EXPECT_TRUE(isXmlName(name)) << toUtf8(name);
}

TEST(XmlName, RefusesNamesAMarkupCharacterBlankOrBadStartWouldBreak) {
  const struct {
    const char* why;
    Text name;
  } rows[] = {
      {"empty", u""},
      {"leading blank", u" a"},
      {"blank inside", u"a b"},
      {"ideographic space", u"住\u3000所"},
      {"tab", u"a\tb"},
      {"line end", u"a\r\n"},
      {"leading digit", u"1a"},
      {"leading hyphen", u"-a"},
      {"leading dot", u".a"},
      {"leading middle dot", u"·a"},
      {"leading combining mark", u"\u0301a"},
      {"leading undertie", u"\u203F"},
      {"double quote", u"a\"b"},
      {"less than", u"a<b"},
      {"ampersand", u"a&b"},
      {"greater than", u"a>b"},
      {"apostrophe", u"a'b"},
      {"equals", u"a=b"},
      {"slash", u"a/b"},
      {"comma", u"a,b"},
      {"colon inside", u"a:b"},
      {"colon first", u":a"},
      {"multiplication sign", u"a×"},
      {"division sign", u"÷"},
      {"Greek question mark", u"a\u037E"},
      {"en quad", u"a\u2000"},
      {"non-character FFFE", u"\uFFFE"},
      {"non-character FFFF", u"a\uFFFF"},
      {"plane 15", u"\U000F0000"},
      {"lone high surrogate", Text(1, char16_t{0xD800})},
      {"lone low surrogate", Text(u"a") + char16_t{0xDC00}},
      {"surrogates swapped", Text{char16_t{0xDC00}, char16_t{0xD800}}},
  };
  for (const auto& row : rows) EXPECT_FALSE(isXmlName(row.name)) << row.why;
}

}  // namespace
}  // namespace orv
