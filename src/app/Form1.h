#pragma once
// The main window as a model: the state of every control and the window-level values, for the life of
// the process. Actions are methods; each is defined in the folder of its subsystem.
#include <array>
#include <cstdint>
#include <vector>

#include "app/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "text/Text.h"

namespace orv {

/// What the model needs from the system around it.
struct Platform {
  Dialogs& dialogs;
  TextFiles& files;
  FileSystem& fs;
  Opener& opener;
  Pointer& pointer;
};

struct ControlState {
  Text text;  ///< text or caption
  bool enabled = true;
  bool visible = true;
  Colour background = 0xFFFFFF;
};

inline constexpr std::int16_t kNormalMode = 0;
inline constexpr std::int16_t kWebDbMode = 10;
inline constexpr std::int16_t kSampleFlagSet = 9999;
extern const TextView kHeaderTemplate;  ///< the XML header template at start (61 characters)
extern const TextView kUserSettei;      ///< "[user_settei]"

class Form1 {
 public:
  explicit Form1(Platform platform);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // --- Control state ---------------------------------------------------------------------------
  const Text& text(Ctl c) const { return controls_[index(c)].text; }
  /// Sets a control's text. A change of `Text1` or `Text4` runs its change action at once, nested;
  /// setting the text a control already holds runs nothing.
  void setText(Ctl c, Text value);
  bool enabled(Ctl c) const { return controls_[index(c)].enabled; }
  void setEnabled(Ctl c, bool on) { controls_[index(c)].enabled = on; }
  bool visible(Ctl c) const { return controls_[index(c)].visible; }
  void setVisible(Ctl c, bool on) { controls_[index(c)].visible = on; }
  Colour background(Ctl c) const { return controls_[index(c)].background; }
  void setBackground(Ctl c, Colour colour) { controls_[index(c)].background = colour; }
  const std::vector<Text>& comboItems() const { return comboItems_; }
  /// Empties the search-field list and its edit part, so no earlier field name is left showing.
  void clearCombo() {
    comboItems_.clear();
    controls_[index(kSearchFieldList)].text.clear();
  }
  void addComboItem(Text item) { comboItems_.push_back(std::move(item)); }
  Ctl focus() const { return focus_; }
  /// Moves the input focus; counted, so a view can tell a new request from an old one.
  void setFocus(Ctl c) {
    focus_ = c;
    ++focusRequests_;
  }
  std::uint64_t focusRequests() const { return focusRequests_; }
  bool busy() const { return busy_; }
  void setBusy(bool busy);

  /// The working text: the text of `RichTextBox1`.
  const Text& workingText() const { return text(kTextView); }
  void setWorkingText(Text value) { setText(kTextView, std::move(value)); }
  /// Moves the working text out (leaving it empty) for a step that rebuilds it whole.
  Text takeWorkingText();
  /// Bumped on every change of the working text, so a view can skip redrawing an unchanged text.
  std::uint64_t workingTextVersion() const { return workingTextVersion_; }

  // --- Window-level values ---------------------------------------------------------------------
  std::int16_t fieldCount = 0;
  std::int64_t lineCount = 0;  ///< wide: a file of millions of lines keeps its true count
  std::int16_t modeValue = kNormalMode;
  Colour savedFieldBoxColour = 0x000000;
  Text searchPagePath;
  /// Where a save writes the search page; empty: XmlSearchTemp.htm in the work folder, as the window does.
  Text searchPageTarget;
  std::int16_t sampleFlag = 0;
  /// The XML header template: the declaration and the root's opening tag, "[user_settei]" standing for
  /// the parent name until the header step fills it in.
  Text headerTemplate{kHeaderTemplate};
  /// The search page: the template with its rows filled at conversion, the search field at the choice
  /// of one, the document's path at save; empty when the template could not be read.
  Text searchPageText;
  /// True while the header template is waiting to be put in front of the working text: set by the
  /// placeholder restore, cleared by the header step.
  bool headerArmed = true;
  /// True while the working text is the result of a conversion, edited by the user or not, until a
  /// load, a file choice or the Cancel command replaces it: a second conversion would damage it.
  bool workingTextConverted = false;
  /// True while the working text is only the first line of a file chosen in the file list; false
  /// once the load command has read a whole file (or Cancel emptied the text). A preview is never
  /// converted or saved: its document would replace the whole file's with a single record.
  bool workingTextIsPreview = false;
  /// Set where no window shows the document (the command line): the conversion encodes the body piece by
  /// piece as it writes it and keeps only its bytes in `encodedBody`, the working text staying empty, and
  /// the save puts the header's bytes around them. A large list's document then never stands whole in
  /// UTF-16 beside the text it is made from.
  bool keepDocumentEncoded = false;
  std::string encodedBody;
  char32_t encodedBodyRefused = 0;  ///< a character of the body code page 932 cannot hold; 0: none

  /// The text file the last load read whole; a save never writes over it, whatever the name.
  Text loadedFile;
  /// The records the last conversion wrote.
  std::int64_t recordCount = 0;
  /// What separates the fields of the working text: the comma, or the tab (found at loading).
  char16_t separator = u',';
  /// True while the first record of the working text holds the column titles that named the fields: the
  /// conversion leaves it out.
  bool firstRecordIsHeader = false;

  // --- File browser state ----------------------------------------------------------------------
  std::vector<Text> driveList;   ///< `Drive1` items
  Text drive;                    ///< `Drive1` value
  Text folder;                   ///< `Dir1` value: the folder path
  std::vector<Text> folderList;  ///< `Dir1` items: the sub-folders of `folder`
  std::vector<Text> fileList;    ///< `File1` items
  Text chosenFile;               ///< `File1` value

  Platform& platform() { return platform_; }
  /// A message box with an OK button and the application title.
  void message(TextView text);
  /// A question with OK and Cancel; true when answered OK.
  bool ask(TextView text, TextView caption);

  // --- Start-up and window (app/) --------------------------------------------------------------
  /// Start-up: the program's folder becomes the current directory, the browser starts there.
  void startUp();
  /// Window load: saved field-box colour, line count 0.
  void windowLoad();
  void cancelCommand();  ///< `Command5`

  // --- Input text file (input/) ----------------------------------------------------------------
  void fieldCountChanged();  ///< change action of `Text1`
  void loadCommand();        ///< `Command1`
  void parentNameChanged();  ///< change action of `Text4`
  /// Names the open field boxes after the first record's values and marks that record as the header.
  void takeNamesFromFirstRecord();
  void placeholderRestore();
  /// Puts the completed header template in front of the working text and the closing root tag after it.
  void headerStep();
  void driveChange(const Text& drive);
  void folderChange(const Text& path);
  void fileChoice(const Text& name);
  /// A file named when the program starts (from a file manager or the shell): the browser goes to its
  /// folder on its drive and the file is chosen as a click on it would; a folder is entered. A path that
  /// does not exist, or a file the list does not show, leaves the browser where it is and says so.
  void openFile(const Text& absolutePath);

  // --- Conversion (convert/) -------------------------------------------------------------------
  void runConversion();  ///< `Command4`

  // --- Search page (webdb/) --------------------------------------------------------------------
  bool prepareSearchPage();
  void switchMode();                 ///< `Command9`
  void chooseSearchField(int item);  ///< `Combo1` item chosen
  /// Normal mode as the window shows it: the mode value, the mode button's caption, the search-field
  /// frame hidden and its list emptied.
  void enterNormalMode();

  // --- Saving (save/) --------------------------------------------------------------------------
  void saveCommand();  ///< `Command3`

  // --- Guidance (guide/) -----------------------------------------------------------------------
  void offerSample();   ///< `Command10`
  void viewCommand();   ///< `Command7`
  void howToCommand();  ///< `Command8`

  // --- Routing of the window's events ----------------------------------------------------------
  /// A click on a button; false for a control without a click action.
  bool click(Ctl c);
  /// The user edited a text box (or the text view).
  void textEdited(Ctl c, Text value);

 private:
  void changeAction(Ctl c);
  /// The drive the browser shows for `path`: the longest drive root that holds it.
  Text driveHolding(const Text& path) const;

  Platform platform_;
  std::array<ControlState, kControlCount> controls_;
  std::vector<Text> comboItems_;
  Ctl focus_ = kPathBox;
  std::uint64_t focusRequests_ = 0;
  bool busy_ = false;
  std::uint64_t workingTextVersion_ = 0;
};

/// Shows the busy pointer for as long as it lives, however the action ends.
class BusyScope {
 public:
  explicit BusyScope(Form1& form) : form_(form), was_(form.busy()) { form_.setBusy(true); }
  ~BusyScope() { form_.setBusy(was_); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  Form1& form_;
  bool was_;
};

}  // namespace orv
