// The guided sample: an address book loaded, named and converted, with a message between the stages.
#include "app/Form1.h"
#include "app/Messages.h"

namespace orv {

void Form1::offerSample() {
  sampleFlag = kSampleFlagSet;
  if (!ask(msg::kSampleQuestion, msg::kSampleCaption)) return;
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
