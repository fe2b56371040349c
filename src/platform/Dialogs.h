#pragma once
#include "text/Text.h"

namespace orv {

enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };

/// Modal message boxes: text (a CR is a line break), buttons, caption; no icon. OK is the default
/// button and Escape answers Cancel. Any answer but OK counts as Cancel.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual Answer show(const Text& text, Buttons buttons, const Text& caption) = 0;
};

}  // namespace orv
