#include "common/TextTest.h"
#include "convert/XmlName.h"

namespace orv {
namespace {

// A name the document cannot carry must be refused before the conversion writes it as a tag.
TEST(XmlName, AcceptsNamesByTheNameCharacterRangesAndRefusesWhatWouldBreakATag) {
  const Text valid[] = {u"_x",     u"住所1",      u"ﾌﾘｶﾞﾅ",        u"x-1.2",     u"名前·",   u"ー",
                        u"要素１", u"xml",        u"a\u0301",      u"\u037D",    u"a\u203F", u"\u200C",
                        u"é",      u"\U00020BB7", u"a\U00020BB7b", u"\U000EFFFF"};
  for (const Text& name : valid) EXPECT_TRUE(isXmlName(name)) << toUtf8(name);
  const Text invalid[] = {u"",
                          u"a b",
                          u"住\u3000所",
                          u"a\tb",
                          u"1a",
                          u"-a",
                          u".a",
                          u"·a",
                          u"\u0301a",
                          u"\u203F",
                          u"a\"b",
                          u"a<b",
                          u"a&b",
                          u"a>b",
                          u"a'b",
                          u"a=b",
                          u"a/b",
                          u"a,b",
                          u"a:b",
                          u"a×",
                          u"÷",
                          u"a\u037E",
                          u"a\u2000",
                          u"\uFFFE",
                          u"a\uFFFF",
                          u"\U000F0000",
                          Text(1, char16_t{0xD800}),
                          Text(u"a") + char16_t{0xDC00},
                          Text{char16_t{0xDC00}, char16_t{0xD800}}};
  for (const Text& name : invalid) EXPECT_FALSE(isXmlName(name)) << toUtf8(name);
}

}  // namespace
}  // namespace orv
