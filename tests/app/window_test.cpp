#include "common/Fakes.h"
#include "common/TextTest.h"

namespace orv {
namespace {

TEST(StartUp, MakesTheProgramFolderCurrentAndStartsTheBrowserThere) {
  Harness h;
  EXPECT_TEXT_EQ(h.disk.cwd, u"/opt/orvessa");
  EXPECT_TEXT_EQ(h.f().folder, u"/opt/orvessa");
}

TEST(CancelCommand, RunsTheNestedChangeActionsInOrderAndKeepsTheWindowValues) {
  Harness h;
  h.disk.put(u"/data/a.txt", u"\"a\",\"b\"\r\n\"c\",\"d\"\r\n");
  h.f().textEdited(kPathBox, u"/data/a.txt");
  h.f().textEdited(kFieldCountBox, u"2");
  h.f().loadCommand();
  h.f().textEdited(kParentNameBox, u"items");
  h.f().textEdited(fieldNameBox(0), u"x");
  h.f().headerStep();
  h.f().switchMode();
  h.f().textEdited(kFieldCountBox, u"3");  // re-enables OK and conversion
  Snapshot expected = snapshot(h.f());
  for (Ctl c : {kPathBox, kFieldCountBox, kParentNameBox, fieldNameBox(0), kTextView, kSearchFieldList})
    expected.controls[index(c)].text.clear();
  expected.controls[index(kModeButton)] = {u"通常", false, true,
                                           expected.controls[index(kModeButton)].background};
  for (Ctl c : {kLoadButton, kConvertButton, fieldNameLabel(0), fieldNameLabel(1)})
    expected.controls[index(c)].enabled = false;
  for (Ctl c : {fieldNameBox(0), fieldNameBox(1)}) expected.controls[index(c)] = {u"", false, true, 0x000000};
  expected.controls[index(kSearchFieldFrame)].visible = false;
  expected.combo.clear();
  expected.headerTemplate = kHeaderTemplate;  // emptying the parent name restored the placeholder
  expected.headerArmed = true;

  h.f().cancelCommand();

  EXPECT_EQ(differences(expected, snapshot(h.f())), "") << "the mode value stays until a choice or a switch";
}

}  // namespace
}  // namespace orv
