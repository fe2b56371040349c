// Start-up, window load, Cancel and the header guard.
#include "app/Form1.h"
#include "text/Numeric.h"

namespace orv {

void Form1::startUp() {
  Text home = platform_.fs.programFolder();
  platform_.fs.setCurrentDirectory(home);
  driveList = platform_.fs.drives();
  // The drive is the longest root that holds the program's folder.
  for (const Text& d : driveList) {
    bool holds = home.compare(0, d.size(), d) == 0 &&
                 (home.size() == d.size() || d.back() == u'/' || home[d.size()] == u'/');
    if (holds && d.size() >= drive.size()) drive = d;
  }
  folderChange(home);
}

void Form1::windowLoad(double outerWidthTwips, double outerHeightTwips) {
  savedFieldBoxColour = background(text2(0));
  lockedWidthTwips = roundToInt16(outerWidthTwips).value_or(32767);
  lockedHeightTwips = roundToInt16(outerHeightTwips).value_or(32767);
  lineCount = 0;
}

void Form1::cancelCommand() {
  setText(Ctl::Command9, u"通常");
  setEnabled(Ctl::Command9, false);
  clearCombo();
  setVisible(Ctl::Frame2, false);
  setText(Ctl::Text1, Text());
  setText(Ctl::Text4, Text());
  for (int i = 0; i < kNameBoxes; ++i) {
    setBackground(text2(i), savedFieldBoxColour);
    setEnabled(text2(i), false);
    setText(text2(i), Text());
    setEnabled(label1(i), false);
  }
  setWorkingText(Text());
  workingTextConverted = false;
  workingTextIsPreview = false;
  setText(Ctl::Text5, Text());
  setEnabled(Ctl::Command3, false);
  setEnabled(Ctl::Command4, false);
  setText(Ctl::Text7, Text());
  setText(Ctl::Text1, Text());
}

void Form1::headerGuard() { message(u"編集は出来ません！"); }

}  // namespace orv
