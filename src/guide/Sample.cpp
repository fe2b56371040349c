// The guided sample: an address book loaded, named and converted, with a message between the stages.
#include "app/Form1.h"

namespace orv {

void Form1::offerSample() {
  sampleFlag = kSampleFlagSet;
  if (!ask(u"一体何が出来るツールか分からない方へ\rサンプル自動実行を用意しました。\rご覧になりますか？？", u"確認"))
    return;
  setText(kPathBox, u"sample.txt");
  setText(kFieldCountBox, u"5");
  loadCommand();
  message(u"次に各要素を設定します。");
  setText(kParentNameBox, u"住所録");
  const char16_t* names[] = {u"読み", u"名前", u"住所1", u"住所2", u"電話"};
  for (int i = 0; i < 5; ++i) setText(fieldNameBox(i), names[i]);
  message(u"次に「変換実行」をｸﾘｯｸしてXMLへの変換が開始されます。");
  runConversion();
}

}  // namespace orv
