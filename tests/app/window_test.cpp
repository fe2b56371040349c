#include "common/Fakes.h"
#include "common/TextTest.h"

namespace orv {
namespace {

TEST(StartUp, MakesTheProgramFolderCurrentAndStartsTheBrowserThere) {
  Harness h;
  EXPECT_TEXT_EQ(h.disk.cwd, u"/opt/orvessa");
  EXPECT_TEXT_EQ(h.f().folder, u"/opt/orvessa");
  EXPECT_TEXT_EQ(h.f().drive, u"/");
}

TEST(StartUp, ControlsStartAsTheWindowDesignSays) {
  Harness h;
  Form1& f = h.f();
  EXPECT_FALSE(f.enabled(kLoadButton));
  EXPECT_FALSE(f.enabled(kSaveButton));
  EXPECT_FALSE(f.enabled(kConvertButton));
  EXPECT_FALSE(f.enabled(kModeButton));
  EXPECT_TEXT_EQ(f.text(kModeButton), u"通常");
  EXPECT_FALSE(f.visible(kSearchFieldFrame));
  for (int i = 0; i < 9; ++i) {
    EXPECT_FALSE(f.enabled(fieldNameBox(i)));
    EXPECT_FALSE(f.enabled(fieldNameLabel(i)));
    EXPECT_TEXT_EQ(f.text(fieldNameLabel(i)), u"要素" + decimal(i + 1));
  }
  EXPECT_EQ(f.savedFieldBoxColour, 0x000000u);
  EXPECT_TEXT_EQ(f.text(kSearchFieldList), u"Combo1");
}

TEST(CancelCommand, InTheStartStateChangesNothingButTheSearchFieldEditText) {
  Harness h;
  Snapshot before = snapshot(h.f());
  h.f().cancelCommand();
  before.controls[index(kSearchFieldList)].text.clear();  // the emptied list takes its edit text with it
  EXPECT_EQ(differences(before, snapshot(h.f())), "");
}

TEST(CancelCommand, RunsTheNestedChangeActionsInOrderAndKeepsTheWindowValues) {
  Harness h;
  h.disk.put(u"/data/a.txt", u"\"a\",\"b\"\r\n\"c\",\"d\"\r\n");
  h.f().textEdited(kPathBox, u"/data/a.txt");
  h.f().textEdited(kFieldCountBox, u"2");
  h.f().loadCommand();
  h.f().textEdited(kParentNameBox, u"items");
  h.f().textEdited(fieldNameBox(0), u"x");
  h.f().textEdited(fieldNameBox(1), u"y");
  h.f().headerStep();
  h.f().switchMode();
  h.f().textEdited(kFieldCountBox, u"3");  // re-enables OK and conversion
  ASSERT_TRUE(h.f().enabled(kLoadButton));
  h.f().cancelCommand();
  Form1& f = h.f();
  EXPECT_TEXT_EQ(f.text(kModeButton), u"通常");
  EXPECT_FALSE(f.enabled(kModeButton));
  EXPECT_TRUE(f.comboItems().empty());
  EXPECT_FALSE(f.visible(kSearchFieldFrame));
  EXPECT_EQ(f.modeValue, kWebDbMode) << "the mode value stays until a file choice or a switch";
  EXPECT_FALSE(f.enabled(kLoadButton)) << "Text1's change action ran while it emptied";
  EXPECT_FALSE(f.enabled(kConvertButton));
  EXPECT_TRUE(f.headerArmed) << "emptying Text4 restored the placeholder";
  for (int i = 0; i < 9; ++i) EXPECT_TEXT_EQ(f.text(fieldNameBox(i)), u"");
  EXPECT_TEXT_EQ(f.workingText(), u"");
  EXPECT_TEXT_EQ(f.text(kPathBox), u"");
  EXPECT_EQ(f.fieldCount, 2);
  EXPECT_EQ(f.lineCount, 2);
}

}  // namespace
}  // namespace orv
