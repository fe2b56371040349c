#include "app/Form1.h"

#include "app/Messages.h"

namespace orv {

const TextView kHeaderTemplate = u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<[user_settei]>\r\n";
const TextView kUserSettei = u"[user_settei]";

namespace {

struct Initial {
  Ctl control;
  TextView text;
  bool enabled;
  bool visible;
  Colour background;
};

// The start state of every control whose start differs from "visible, enabled, empty, white".
constexpr Initial kInitial[] = {
    {Ctl::Frame1, msg::kTextFileFrame, true, true, 0xFFFFFF},
    {Ctl::Label3, msg::kTitleLabel, true, true, 0xE0E0E0},
    {Ctl::Label4, msg::kFieldCountLabel, true, true, 0xE0E0E0},
    {Ctl::Command1, msg::kLoadButton, false, true, 0xFFC0C0},
    {Ctl::Command10, msg::kFirstTimeButton, true, true, 0xFF0000},
    {Ctl::Command9, msg::kNormalMode, false, true, 0xFFC080},
    {Ctl::Frame2, u"", true, false, 0xE0E0E0},
    {Ctl::Label5, msg::kSearchFieldLabel, true, true, 0xE0E0E0},
    {Ctl::Combo1, msg::kSearchFieldList, true, true, 0xFFFFFF},
    {Ctl::Label2, msg::kParentNameLabel, true, true, 0xE0E0E0},
    {Ctl::Command4, msg::kConvertButton, false, true, 0xFF8080},
    {Ctl::Command8, msg::kHowToButton, true, true, 0xFFFFC0},
    {Ctl::Command3, msg::kSaveButton, false, true, 0xFFC0C0},
    {Ctl::Command5, msg::kCancelButton, true, true, 0xE0E0E0},
    {Ctl::Command7, msg::kViewButton, true, true, 0xE0E0E0},
    {Ctl::Command6, msg::kExitButton, true, true, 0xFF8080},
};

}  // namespace

Form1::Form1(Platform platform) : platform_(platform) {
  for (const auto& init : kInitial) {
    auto& c = controls_[index(init.control)];
    c.text = init.text;
    c.enabled = init.enabled;
    c.visible = init.visible;
    c.background = init.background;
  }
  for (int i = 0; i < kNameBoxes; ++i) {
    auto& label = controls_[index(fieldNameLabel(i))];
    label.text = msg::fieldNameLabel(i);
    label.enabled = false;
    label.background = 0xE0E0E0;
    auto& box = controls_[index(fieldNameBox(i))];
    box.enabled = false;
    box.background = 0x000000;
  }
}

void Form1::setText(Ctl c, Text value) {
  auto& current = controls_[index(c)].text;
  if (current == value) return;
  current = std::move(value);
  if (c == kTextView) ++workingTextVersion_;
  changeAction(c);
}

Text Form1::takeWorkingText() {
  ++workingTextVersion_;
  Text taken = std::move(controls_[index(kTextView)].text);
  controls_[index(kTextView)].text.clear();
  return taken;
}

void Form1::changeAction(Ctl c) {
  if (c == kFieldCountBox) fieldCountChanged();
  if (c == kParentNameBox) parentNameChanged();
}

void Form1::setBusy(bool busy) {
  if (busy_ == busy) return;
  busy_ = busy;
  platform_.pointer.setBusy(busy);
}

void Form1::message(TextView text) { platform_.dialogs.show(Text(text), Buttons::Ok, Text(msg::kAppTitle)); }

bool Form1::ask(TextView text, TextView caption) {
  return platform_.dialogs.show(Text(text), Buttons::OkCancel, Text(caption)) == Answer::Ok;
}

bool Form1::click(Ctl c) {
  switch (c) {
    case kLoadButton:
      loadCommand();
      return true;
    case kSaveButton:
      saveCommand();
      return true;
    case kConvertButton:
      runConversion();
      return true;
    case kCancelButton:
      cancelCommand();
      return true;
    case kViewButton:
      viewCommand();
      return true;
    case kHowToButton:
      howToCommand();
      return true;
    case kModeButton:
      switchMode();
      return true;
    case kFirstTimeButton:
      offerSample();
      return true;
    default:
      return false;
  }
}

void Form1::textEdited(Ctl c, Text value) { setText(c, std::move(value)); }

}  // namespace orv
