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
  EXPECT_FALSE(f.enabled(Ctl::Command1));
  EXPECT_FALSE(f.enabled(Ctl::Command3));
  EXPECT_FALSE(f.enabled(Ctl::Command4));
  EXPECT_FALSE(f.enabled(Ctl::Command9));
  EXPECT_TEXT_EQ(f.text(Ctl::Command9), u"通常");
  EXPECT_FALSE(f.visible(Ctl::Frame2));
  EXPECT_FALSE(f.visible(Ctl::Text3));
  EXPECT_FALSE(f.visible(Ctl::Text6));
  EXPECT_FALSE(f.visible(Ctl::Command2));
  for (int i = 0; i < 9; ++i) {
    EXPECT_FALSE(f.enabled(text2(i)));
    EXPECT_FALSE(f.enabled(label1(i)));
    EXPECT_TEXT_EQ(f.text(label1(i)), u"要素" + decimal(i + 1));
  }
  EXPECT_EQ(f.savedFieldBoxColour, 0x000000u);
  EXPECT_TEXT_EQ(f.text(Ctl::Combo1), u"Combo1");
}

TEST(WindowLoad, LocksTheOuterSizeInWholeTwipsWithHalvesToEven) {
  Harness h;
  h.f().windowLoad(11384.5, 8310.5);
  EXPECT_EQ(h.f().lockedWidthTwips, 11384);
  EXPECT_EQ(h.f().lockedHeightTwips, 8310);
  EXPECT_EQ(h.f().lineCount, 0);
}

TEST(CancelCommand, InTheStartStateChangesNothingButTheSearchFieldEditText) {
  Harness h;
  Snapshot before = snapshot(h.f());
  h.f().cancelCommand();
  before.controls[index(Ctl::Combo1)].text.clear();  // the emptied list takes its edit text with it
  EXPECT_EQ(differences(before, snapshot(h.f())), "");
}

TEST(CancelCommand, RunsTheNestedChangeActionsInOrderAndKeepsTheWindowValues) {
  Harness h;
  h.disk.put(u"/data/a.txt", u"\"a\",\"b\"\r\n\"c\",\"d\"\r\n");
  h.f().textEdited(Ctl::Text5, u"/data/a.txt");
  h.f().textEdited(Ctl::Text1, u"2");
  h.f().loadCommand();
  h.f().textEdited(Ctl::Text4, u"items");
  h.f().textEdited(text2(0), u"x");
  h.f().textEdited(text2(1), u"y");
  h.f().headerStep();
  h.f().switchMode();
  h.f().textEdited(Ctl::Text1, u"3");  // re-enables OK and conversion
  ASSERT_TRUE(h.f().enabled(Ctl::Command1));
  h.f().cancelCommand();
  Form1& f = h.f();
  EXPECT_TEXT_EQ(f.text(Ctl::Command9), u"通常");
  EXPECT_FALSE(f.enabled(Ctl::Command9));
  EXPECT_TRUE(f.comboItems().empty());
  EXPECT_FALSE(f.visible(Ctl::Frame2));
  EXPECT_EQ(f.modeValue, kWebDbMode) << "the mode value stays until a file choice or a switch";
  EXPECT_FALSE(f.enabled(Ctl::Command1)) << "Text1's change action ran while it emptied";
  EXPECT_FALSE(f.enabled(Ctl::Command4));
  EXPECT_TRUE(f.headerArmed) << "emptying Text4 restored the placeholder";
  for (int i = 0; i < 9; ++i) EXPECT_TEXT_EQ(f.text(text2(i)), u"");
  EXPECT_TEXT_EQ(f.workingText(), u"");
  EXPECT_TEXT_EQ(f.text(Ctl::Text5), u"");
  EXPECT_EQ(f.fieldCount, 2);
  EXPECT_EQ(f.lineCount, 2);
  EXPECT_TEXT_EQ(f.rememberedParentName, u"items");
}

TEST(HeaderGuard, SaysTheTemplateCannotBeEdited) {
  Harness h;
  h.f().headerGuard();
  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{u"編集は出来ません！"});
}

}  // namespace
}  // namespace orv
