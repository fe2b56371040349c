// Switching between normal mode and WEB_DB mode.
#include "app/Form1.h"
#include "app/Messages.h"

namespace orv {

void Form1::enterNormalMode() {
  modeValue = kNormalMode;
  setText(kModeButton, Text(msg::kNormalMode));
  clearCombo();
  setVisible(kSearchFieldFrame, false);
}

void Form1::switchMode() {
  // The press follows what the button says. A file choice returns the caption to "通常" together with
  // the mode value, so one press after it enters WEB_DB mode with the names then in the boxes.
  if (text(kModeButton) == msg::kWebDbMode) {
    enterNormalMode();
  } else {
    modeValue = kWebDbMode;
    setText(kModeButton, Text(msg::kWebDbMode));
    setVisible(kSearchFieldFrame, true);
  }
  clearCombo();
  int last = 0;
  for (int i = 0; i < kNameBoxes; ++i)
    if (!text(fieldNameBox(i)).empty()) last = i;
  for (int i = 0; i <= last; ++i) addComboItem(text(fieldNameBox(i)));
}

}  // namespace orv
