// Switching between normal mode and WEB_DB mode.
#include "app/Form1.h"
#include "app/Messages.h"

namespace orv {

void Form1::switchMode() {
  // The press follows what the button says: after a file choice in WEB_DB mode the mode value is back
  // to normal while the caption still reads "WEB_DB作成", and the next press then turns it to "通常".
  if (text(kModeButton) == msg::kWebDbMode) {
    modeValue = kNormalMode;
    setText(kModeButton, Text(msg::kNormalMode));
    clearCombo();
    setVisible(kSearchFieldFrame, false);
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
