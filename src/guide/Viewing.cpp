// Opening a file in the application the desktop associates with it.
#include "app/Form1.h"
#include "app/Messages.h"

namespace orv {

void Form1::viewCommand() {
  Text target;
  if (modeValue == kWebDbMode) {
    target = searchPagePath;
  } else {
    if (text(kPathBox).empty()) {
      message(msg::kNoXmlFile);
      return;
    }
    target = text(kPathBox);
  }
  platform_.opener.open(target);
}

void Form1::howToCommand() {
  Text path = joinPath(platform_.fs.resourceFolder(), u"how_to_qdx.txt");
  if (platform_.fs.fileExists(path)) {
    platform_.opener.open(path);
  } else {
    message(msg::kHowToMissing);
  }
}

}  // namespace orv
