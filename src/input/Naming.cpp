// The parent element name, the XML header template and the header step.
#include "app/Form1.h"

namespace orv {

void Form1::parentNameChanged() {
  if (!text(Ctl::Text4).empty()) {
    rememberedParentName = text(Ctl::Text4);
  } else {
    placeholderRestore();
  }
}

void Form1::placeholderRestore() {
  // The template goes back to its start form as a whole. Replacing the remembered name inside it
  // would also hit the declaration (a name such as "xml" or "1.0") and miss a name changed after a
  // save; the declaration must always stay intact.
  setText(Ctl::Text3, Text(kHeaderTemplate));
  headerArmed = true;
}

void Form1::headerStep() {
  // The header goes in once after each restore, whatever the name holds (even "[user_settei]").
  if (!headerArmed) return;
  const Text& parent = text(Ctl::Text4);
  setText(Ctl::Text3, replaceAll(text(Ctl::Text3), kUserSettei, parent));
  Text document = takeWorkingText();
  document.insert(0, text(Ctl::Text3));
  document.append(u"</").append(parent).append(u">");
  setWorkingText(std::move(document));
  headerArmed = false;
}

}  // namespace orv
