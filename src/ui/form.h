// Forms: a framed window of labelled fields (text, numbers, YES/NO switches, buttons) walked
// with Tab and the cursor keys. A form is static data, like a menu:
//
//   std::string pattern;  std::uint16_t addSelection = 0;
//   constexpr FormItem SelectItems[] = {
//       {.label = "Pattern :", .type = FormText, .text = &pattern, .maxLength = 260},
//       {.label = "Add Selection ?", .type = FormSwitch, .flag = &addSelection},
//       {.type = FormSeparator},
//       {.label = FormKeyLine, .type = FormStatic}};
//   constexpr FormDescriptor SelectForm{.x = 10, .y = 5, .width = 40, .valueColumn = 12,
//                                       .title = "Select :", .items = SelectItems};
//   if (runForm(SelectForm) == FormAccepted) ...
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

constexpr int FormAccepted = 13;
constexpr int FormCancelled = 27;

// The line of key hints forms put on their last row; the four mouse zones of that row
// (Enter, Tab, Shift-Tab, Escape) lie under its four parts.
constexpr std::string_view FormKeyLine = "< RETURN > < TAB > < SHIFT TAB > < ESC >";
constexpr const char* FormSwitchFormat = "[%s]";
constexpr const char* FormSwitchYes = "YES";
constexpr const char* FormSwitchNo = "NO ";
constexpr const char* FormButtonFormat = "<%s>";

enum FormItemType : int {
  FormText = 1,       // text field: text, maxLength
  FormSwitch = 2,     // YES/NO switch on flag (non-zero is YES)
  FormStatic = 3,     // the label as text; never holds the focus
  FormButton = 4,     // "<label>"; Enter calls handler
  FormSeparator = 5,  // a line across the window; never holds the focus
  FormNumber = 6,     // text field taking digits only: text, maxLength
};

// Results of a button handler besides "read the next key".
constexpr int ButtonCloseForm = 0;    // the form closes with FormCancelled
constexpr int ButtonRestartForm = 9;  // the interior is cleared and the first item focused
constexpr int ButtonStay = 1;

// Called with the button's label and its index among the items. May open its own dialogs
// and change the values of other items (all items are drawn again afterwards).
using FormButtonHandler = int (*)(std::string_view label, int index);

struct FormItem {
  std::string_view label{};  // shown at column 1 (buttons inside "<" and ">"); a caret
                             // marks a hotkey letter, as in menu labels
  FormItemType type = FormStatic;
  std::string* text = nullptr;          // FormText, FormNumber: edited in place
  int maxLength = 0;                    // FormText, FormNumber: the most bytes text may hold
  std::uint16_t* flag = nullptr;        // FormSwitch
  FormButtonHandler handler = nullptr;  // FormButton
  int helpContext = 0;                  // the window's help context while the item has the focus
};

struct FormDescriptor {
  int x = 1, y = 1;     // top-left corner, 1-based; moved left when the form would not fit
  int width = 0;        // least inner width
  int valueColumn = 1;  // where values start (labels start at column 1)
  std::string_view title{};
  std::span<const FormItem> items{};
};

// Where the window goes and where values stand, after the labels have had their say.
struct FormLayout {
  int x = 1;            // 1-based column of the window
  int valueColumn = 1;  // window column of the values
  int innerWidth = 0;   // the window is innerWidth + 3 wide, items + 2 high
};
// A field or switch label that would reach the value column moves the values to its length
// plus 3. The inner width is at least the descriptor's, wide enough for static texts,
// buttons, separators and switches, at most columns - 4; x moves left so that the window and
// its shadow stay on the screen.
FormLayout layoutForm(const FormDescriptor& form);

// Runs the form until Enter (FormAccepted) or Escape (FormCancelled); FormCancelled also when
// a button handler returns ButtonCloseForm. Fields are edited in place, also when the form is
// cancelled. Keys: Tab and Down next item, Shift-Tab and Up previous (both wrapping), Home
// first, End last, Space toggles a switch, Enter on a button calls its handler; a click on an
// item focuses it (and toggles a switch). Static texts and separators are passed over in the
// direction of the move. The caller's mouse zones are put back afterwards.
int runForm(const FormDescriptor& form);

// A form of the given least inner width in the middle of the screen (by its width and its
// height of items plus the frame), values from column 1.
FormDescriptor centredForm(int width, std::string_view title, std::span<const FormItem> items);

}  // namespace corvane
