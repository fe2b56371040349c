#include "common/Fakes.h"
#include "common/TextTest.h"

namespace orv {
namespace {

// Names that also occur in the declaration or the placeholder once left a broken declaration or a
// second header; a change of name after a save, or a load, must re-arm the header whole.
TEST(HeaderStep, WrapsTheBodyOnceWhateverTheNameAndIsReArmedWhole) {
  for (const char* name : {"items", "xml", "1.0", "S", "[user_settei]"}) {
    SCOPED_TRACE(name);
    Harness h;
    h.disk.put(u"/data/a.txt", u"\"a\"\r\n");
    h.f().setWorkingText(u"<mivoxml>\r\nbody\r\n</mivoxml>\r\n\r\n");
    h.f().textEdited(kParentNameBox, T(name));
    h.f().headerStep();
    const Text once = h.f().workingText();
    EXPECT_TEXT_EQ(once, u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<" + T(name) +
                             u">\r\n<mivoxml>\r\nbody\r\n</mivoxml>\r\n\r\n</" + T(name) + u">");
    h.f().headerStep();
    EXPECT_TEXT_EQ(h.f().workingText(), once) << "a second save adds nothing";
    h.f().textEdited(kParentNameBox, u"renamed");
    h.f().textEdited(kParentNameBox, u"");
    EXPECT_TEXT_EQ(h.f().headerTemplate, kHeaderTemplate);
    EXPECT_TRUE(h.f().headerArmed);
    h.f().textEdited(kParentNameBox, u"x");
    h.f().headerStep();
    h.f().textEdited(kPathBox, u"/data/a.txt");
    h.f().loadCommand();
    EXPECT_TRUE(h.f().headerArmed) << "a load re-arms it";
    EXPECT_TEXT_EQ(h.f().headerTemplate, kHeaderTemplate);
  }
}

}  // namespace
}  // namespace orv
