#include "common/Fakes.h"
#include "common/TextTest.h"

namespace orv {
namespace {

const Text kStartTemplate = u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<[user_settei]>\r\n";

TEST(HeaderTemplate, StartsAsTheSixtyOneCharacters) {
  Harness h;
  EXPECT_EQ(h.f().headerTemplate.size(), 61u);
  EXPECT_TEXT_EQ(h.f().headerTemplate, kStartTemplate);
}

TEST(HeaderStep, WrapsTheBodyOnceInDeclarationAndRootTags) {
  Harness h;
  h.f().setWorkingText(u"<mivoxml>\r\nbody\r\n</mivoxml>\r\n\r\n");
  h.f().textEdited(kParentNameBox, u"items");
  h.f().headerStep();
  const Text expected =
      u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<items>\r\n<mivoxml>\r\nbody\r\n</mivoxml>\r\n\r\n</items>";
  EXPECT_TEXT_EQ(h.f().workingText(), expected);
  h.f().headerStep();
  EXPECT_TEXT_EQ(h.f().workingText(), expected) << "a second save adds nothing";
  EXPECT_TEXT_EQ(h.f().headerTemplate, u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<items>\r\n");
}

TEST(PlaceholderRestore, PutsBackTheWholeStartTemplateWhateverTheName) {
  // Names that also occur in the declaration, and a name changed after the save, must all leave a
  // sound declaration and re-arm the header.
  for (const char* name : {"xml", "1.0", "S", "items"}) {
    SCOPED_TRACE(name);
    Harness h;
    h.f().setWorkingText(u"x");
    h.f().textEdited(kParentNameBox, T(name));
    h.f().headerStep();
    h.f().textEdited(kParentNameBox, u"renamed");
    h.f().textEdited(kParentNameBox, u"");
    EXPECT_TEXT_EQ(h.f().headerTemplate, kStartTemplate);
    EXPECT_TRUE(h.f().headerArmed);
  }
}

TEST(HeaderStep, AParentNamedLikeThePlaceholderStillGetsOneHeader) {
  Harness h;
  h.f().setWorkingText(u"x");
  h.f().textEdited(kParentNameBox, u"[user_settei]");
  h.f().headerStep();
  Text once = h.f().workingText();
  h.f().headerStep();
  EXPECT_TEXT_EQ(h.f().workingText(), once);
}

TEST(HeaderStep, ALoadReArmsIt) {
  Harness h;
  h.disk.put(u"/data/a.txt", u"\"a\"\r\n");
  h.f().setWorkingText(u"x");
  h.f().textEdited(kParentNameBox, u"items");
  h.f().headerStep();
  EXPECT_FALSE(h.f().headerArmed);
  h.f().textEdited(kPathBox, u"/data/a.txt");
  h.f().loadCommand();
  EXPECT_TRUE(h.f().headerArmed);
  EXPECT_TEXT_EQ(h.f().headerTemplate, kStartTemplate);
}

}  // namespace
}  // namespace orv
