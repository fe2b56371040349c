// Start-up, window load and Cancel.
#include "app/Form1.h"

namespace orv {

void Form1::startUp() {
  // The program's folder, or the user's data folder for an installed program: where the sample's
  // bare file name is found and where the browser starts.
  Text home = platform_.fs.workFolder();
  platform_.fs.setCurrentDirectory(home);
  driveList = platform_.fs.drives();
  drive = driveHolding(home);
  folderChange(home);
}

void Form1::windowLoad() {
  savedFieldBoxColour = background(fieldNameBox(0));
  lineCount = 0;
}

void Form1::cancelCommand() {
  // Back to normal mode as a whole: a caption reading "通常" over WEB_DB mode would write a page unasked.
  enterNormalMode();
  setEnabled(kModeButton, false);
  setText(kFieldCountBox, Text());
  setText(kParentNameBox, Text());
  for (int i = 0; i < kNameBoxes; ++i) {
    setBackground(fieldNameBox(i), savedFieldBoxColour);
    setEnabled(fieldNameBox(i), false);
    setText(fieldNameBox(i), Text());
    setEnabled(fieldNameLabel(i), false);
  }
  setWorkingText(Text());
  workingTextConverted = false;
  workingTextIsPreview = false;
  firstRecordIsHeader = false;
  setText(kPathBox, Text());
  setEnabled(kSaveButton, false);
  setEnabled(kConvertButton, false);
  setText(kStatusLine, Text());
  setText(kFieldCountBox, Text());
}

}  // namespace orv
