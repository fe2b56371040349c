// Switching between normal mode and WEB_DB mode.
#include "app/Form1.h"

namespace orv {

void Form1::switchMode() {
  if (text(Ctl::Command9) == u"WEB_DB作成") {
    modeValue = kNormalMode;
    setText(Ctl::Command9, u"通常");
    clearCombo();
    setVisible(Ctl::Frame2, false);
  } else {
    modeValue = kWebDbMode;
    setText(Ctl::Command9, u"WEB_DB作成");
    setVisible(Ctl::Frame2, true);
  }
  clearCombo();
  int last = 0;
  for (int i = 0; i < kNameBoxes; ++i)
    if (!text(text2(i)).empty()) last = i;
  for (int i = 0; i <= last; ++i) addComboItem(text(text2(i)));
}

}  // namespace orv
