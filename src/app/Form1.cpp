#include "app/Form1.h"

namespace orv {

const TextView kAppTitle = u"Orvessa108";
const TextView kHeaderTemplate = u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<[user_settei]>\r\n";
const TextView kUserSettei = u"[user_settei]";

namespace {

struct Initial {
  Ctl control;
  const char16_t* text;
  bool enabled;
  bool visible;
  Colour background;
};

// The start state of every control whose start differs from "visible, enabled, empty, white".
constexpr Initial kInitial[] = {
    {Ctl::Frame1, u"ﾃｷｽﾄﾌｧｲﾙ指定", true, true, 0xFFFFFF},
    {Ctl::Label3, u"簡易データベースHTML自動生成ツール", true, true, 0xE0E0E0},
    {Ctl::Label4, u"ﾌｨｰﾙﾄﾞ数", true, true, 0xE0E0E0},
    {Ctl::Command1, u"OK", false, true, 0xFFC0C0},
    {Ctl::Command10, u"初めての方はｸﾘｯｸ！", true, true, 0xFF0000},
    {Ctl::Command9, u"通常", false, true, 0xFFC080},
    {Ctl::Frame2, u"", true, false, 0xE0E0E0},
    {Ctl::Label5, u"検索対象ﾌｨｰﾙﾄﾞ選択", true, true, 0xE0E0E0},
    {Ctl::Combo1, u"Combo1", true, true, 0xFFFFFF},
    {Ctl::Label2, u"親要素", true, true, 0xE0E0E0},
    {Ctl::Command4, u"変換実行", false, true, 0xFF8080},
    {Ctl::Command8, u"使い方", true, true, 0xFFFFC0},
    {Ctl::Command3, u"Save", false, true, 0xFFC0C0},
    {Ctl::Command5, u"Cancel", true, true, 0xE0E0E0},
    {Ctl::Command7, u"確認", true, true, 0xE0E0E0},
    {Ctl::Command6, u"終了", true, true, 0xFF8080},
    {Ctl::Text3, nullptr, true, false, 0xE0E0E0},
    {Ctl::Text6, u"", true, false, 0xFFFFFF},
    {Ctl::Command2, u"Command2", true, false, 0xE0E0E0},
};

}  // namespace

Form1::Form1(Platform platform) : platform_(platform) {
  for (const auto& init : kInitial) {
    auto& c = controls_[index(init.control)];
    c.text = init.text ? Text(init.text) : Text(kHeaderTemplate);
    c.enabled = init.enabled;
    c.visible = init.visible;
    c.background = init.background;
  }
  for (int i = 0; i < kNameBoxes; ++i) {
    auto& label = controls_[index(label1(i))];
    label.text = u"要素" + decimal(i + 1);
    label.enabled = false;
    label.background = 0xE0E0E0;
    auto& box = controls_[index(text2(i))];
    box.enabled = false;
    box.background = 0x000000;
  }
}

void Form1::setText(Ctl c, Text value) {
  auto& current = controls_[index(c)].text;
  if (current == value) return;
  current = std::move(value);
  if (c == Ctl::RichTextBox1) ++workingTextVersion_;
  changeAction(c);
}

Text Form1::takeWorkingText() {
  ++workingTextVersion_;
  Text taken = std::move(controls_[index(Ctl::RichTextBox1)].text);
  controls_[index(Ctl::RichTextBox1)].text.clear();
  return taken;
}

void Form1::changeAction(Ctl c) {
  if (c == Ctl::Text1) fieldCountChanged();
  if (c == Ctl::Text4) parentNameChanged();
}

void Form1::setBusy(bool busy) {
  if (busy_ == busy) return;
  busy_ = busy;
  platform_.pointer.setBusy(busy);
}

void Form1::message(const Text& text) { platform_.dialogs.show(text, Buttons::Ok, Text(kAppTitle)); }

bool Form1::ask(const Text& text, const Text& caption) {
  return platform_.dialogs.show(text, Buttons::OkCancel, caption) == Answer::Ok;
}

bool Form1::click(Ctl c) {
  switch (c) {
    case Ctl::Command1: loadCommand(); return true;
    case Ctl::Command2: headerStep(); return true;
    case Ctl::Command3: saveCommand(); return true;
    case Ctl::Command4: runConversion(); return true;
    case Ctl::Command5: cancelCommand(); return true;
    case Ctl::Command7: viewCommand(); return true;
    case Ctl::Command8: howToCommand(); return true;
    case Ctl::Command9: switchMode(); return true;
    case Ctl::Command10: offerSample(); return true;
    default: return false;
  }
}

void Form1::textEdited(Ctl c, Text value) { setText(c, std::move(value)); }

}  // namespace orv
