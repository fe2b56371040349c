#pragma once
// The controls of the main window, named as the window's design names them.
#include <cstdint>

namespace orv {

// The controls in the order of the window's design, grouped as it groups them.
// clang-format off
enum class Ctl : int {
  Frame1, Text5, Drive1, Dir1, File1, Label3, Label4, Text1, Command1, Command10, Command9, Frame2, Label5,
  Combo1, Label2, Text4,
  Label1_0, Label1_1, Label1_2, Label1_3, Label1_4, Label1_5, Label1_6, Label1_7, Label1_8,
  Text2_0, Text2_1, Text2_2, Text2_3, Text2_4, Text2_5, Text2_6, Text2_7, Text2_8,
  RichTextBox1, Command4, Text7, Command8, Command3, Command5, Command7, Command6,
  Count
};
// clang-format on

// The controls in the user's words, as the logic names them.
inline constexpr Ctl kTextFileFrame = Ctl::Frame1;
inline constexpr Ctl kPathBox = Ctl::Text5;
inline constexpr Ctl kDriveList = Ctl::Drive1;
inline constexpr Ctl kFolderList = Ctl::Dir1;
inline constexpr Ctl kFileList = Ctl::File1;
inline constexpr Ctl kTitleLabel = Ctl::Label3;
inline constexpr Ctl kFieldCountLabel = Ctl::Label4;
inline constexpr Ctl kFieldCountBox = Ctl::Text1;
inline constexpr Ctl kLoadButton = Ctl::Command1;
inline constexpr Ctl kFirstTimeButton = Ctl::Command10;
inline constexpr Ctl kModeButton = Ctl::Command9;
inline constexpr Ctl kSearchFieldFrame = Ctl::Frame2;
inline constexpr Ctl kSearchFieldLabel = Ctl::Label5;
inline constexpr Ctl kSearchFieldList = Ctl::Combo1;
inline constexpr Ctl kParentNameLabel = Ctl::Label2;
inline constexpr Ctl kParentNameBox = Ctl::Text4;
inline constexpr Ctl kTextView = Ctl::RichTextBox1;
inline constexpr Ctl kConvertButton = Ctl::Command4;
inline constexpr Ctl kStatusLine = Ctl::Text7;
inline constexpr Ctl kHowToButton = Ctl::Command8;
inline constexpr Ctl kSaveButton = Ctl::Command3;
inline constexpr Ctl kCancelButton = Ctl::Command5;
inline constexpr Ctl kViewButton = Ctl::Command7;
inline constexpr Ctl kExitButton = Ctl::Command6;

inline constexpr int kControlCount = static_cast<int>(Ctl::Count);
inline constexpr int kNameBoxes = 9;

/// `Label1(i)`, i = 0 to 8: the labels "要素1" to "要素9".
constexpr Ctl fieldNameLabel(int i) { return static_cast<Ctl>(static_cast<int>(Ctl::Label1_0) + i); }
/// `Text2(i)`, i = 0 to 8: the field element name boxes.
constexpr Ctl fieldNameBox(int i) { return static_cast<Ctl>(static_cast<int>(Ctl::Text2_0) + i); }
constexpr int index(Ctl c) { return static_cast<int>(c); }

using Colour = std::uint32_t;                        ///< 0xRRGGBB
inline constexpr Colour kTextBackground = 0xFFFFFF;  ///< the platform's usual text background

}  // namespace orv
