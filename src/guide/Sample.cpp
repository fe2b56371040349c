// The guided sample: an address book loaded, named and converted, with a message between the stages.
#include "app/Form1.h"
#include "app/Messages.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

// An installed program's sample lies where the user may not write: the walk-through works on a copy
// in the folder the program writes to, the current directory since start-up, where its document goes.
FileError copySampleToWorkFolder(Platform& p) {
  const Text work = p.fs.workFolder();
  if (p.fs.resourceFolder() == work) return {};
  ReadResult shipped = p.files.readText(joinPath(p.fs.resourceFolder(), u"sample.txt"));
  if (shipped.error) return shipped.error;
  return p.files.writeBytes(joinPath(work, u"sample.txt"), encodeCp932(shipped.text).bytes);
}

}  // namespace

void Form1::offerSample() {
  sampleFlag = kSampleFlagSet;
  if (!ask(msg::kSampleQuestion, msg::kSampleCaption)) return;
  if (FileError err = copySampleToWorkFolder(platform_)) {
    message(msg::fileProblem(err));
    return;
  }
  // The file list shows the copy when it lists the folder the copy went to.
  if (folder == platform_.fs.workFolder()) folderChange(folder);
  setText(kPathBox, u"sample.txt");
  setText(kFieldCountBox, u"5");
  loadCommand();
  message(msg::kSampleNames);
  setText(kParentNameBox, u"住所録");
  const char16_t* names[] = {u"読み", u"名前", u"住所1", u"住所2", u"電話"};
  for (int i = 0; i < 5; ++i) setText(fieldNameBox(i), names[i]);
  message(msg::kSampleConvert);
  runConversion();
}

}  // namespace orv
