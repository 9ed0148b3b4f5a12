#include "commands/setup_dialogs.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "commands/commands_state.h"
#include "commands/loop_state.h"
#include "commands/loop_texts.h"
#include "commands/setup_texts.h"
#include "config/color_dialog.h"
#include "config/setup_block.h"
#include "config/setup_file.h"
#include "config/setup_path.h"
#include "config/user_profile.h"
#include "exec/associations.h"
#include "exec/exec_commands.h"
#include "exec/run_command.h"
#include "exec/user_menu.h"
#include "platform/charset.h"
#include "platform/clock.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "ui/boxes.h"
#include "ui/form.h"
#include "ui/input_dialog.h"

namespace corvane {
namespace {

constexpr int UnsortedItemValue = 8;
constexpr int DialogX = 40, DialogY = 6;
// Forms open at this column and row (higher on a short screen).
constexpr int FormX = 10, FormRow = 2;
constexpr int FunctionKeysX = 15, FunctionKeysY = 3, FunctionKeysWidth = 50;
constexpr int FunctionKeysValues = 13;  // after "CTRL-F01  : "
constexpr int MenuEntryFormWidth = 60;
constexpr int MenuEntryFormValues = 24;  // after "Programm auslagern   ? "
// An input dialog is its prompt, a blank, the visible field and this much besides.
constexpr int InputFieldExtra = 4;
constexpr int ProgramVisible = 40, ProgramLength = 80;
constexpr int IdleTimeLength = 8, MaxIdleMinutes = 9999;
constexpr int PrinterPortLength = 2, MaxPrinterPort = 9;
constexpr int PreferenceMenuLine = 13;     // " Show the pulldown in first line"
constexpr int PreferenceHiddenFiles = 18;  // " Show also hidden files"

// Help pages of the dialogs.
constexpr int HelpDefineUserPulldown = 52, HelpColors = 107, HelpFunctionKeys = 112;
constexpr int HelpClock = 114, HelpDirectories = 115, HelpCommandWindowLabels = 116;
constexpr int HelpConfirmations = 123, HelpPrograms = 124, HelpMenuEntryForm = 52;

constexpr MenuItem SortItems[] = {
    {.label = TextSortAlphabetic, .command = 0},
    {.label = TextSortSize, .command = 1},
    {.label = TextSortDate, .command = 2},
    {.label = TextSortExtension, .command = 3},
    {.label = TextSortMode, .command = 4},
    {.label = TextSortUnsorted, .command = UnsortedItemValue},
};
constexpr MenuItem ProfileItems[] = {
    {.label = TextProfileBeginner, .command = ProfileBeginner},
    {.label = TextProfileAdvanced, .command = ProfileAdvanced},
    {.label = TextProfileProfessional, .command = ProfileProfessional},
    {.label = TextProfileUserDefined, .command = ProfileUserDefined},
};
constexpr MenuItem LayoutItems[] = {
    {.label = TextSingleFilelist, .command = LayoutSingleList},
    {.label = TextFilelistAndTree, .command = LayoutListAndTree},
    {.label = TextTwoFilelists, .command = LayoutTwoLists},
};
constexpr MenuItem CommandWindowItems[] = {
    {.label = TextWithCommandWindow, .command = 0},
    {.label = TextWithoutCommandWindow, .command = 1},
};
constexpr MenuItem FileDisplayItems[] = {
    {.label = TextShortFileDisplay, .command = 0},
    {.label = TextLongWithAttributes, .command = 1},
    {.label = TextLongWithoutAttributes, .command = 2},
};
constexpr MenuItem ScreenSizeItems[] = {
    {.label = TextScreen80x25, .command = 0},
    {.label = TextScreen80x50, .command = 1},
    {.label = TextScreen80x60, .command = 2},
};
constexpr MenuItem KeyboardItems[] = {
    {.label = TextLayoutCorvane, .command = KeyboardCorvane},
    {.label = TextLayoutCommander, .command = KeyboardCommander},
    {.label = TextLayoutXtree, .command = KeyboardXtree},
};

// A title as the frame shows it: the caret that marks its hotkey is not drawn.
std::string_view shownTitle(std::string_view title) {
  return !title.empty() && title.front() == '^' ? title.substr(1) : title;
}

// Runs a selection pulldown with the item of the current value highlighted. True with the
// chosen item's value, false after Escape.
bool selectValue(std::string_view title, std::span<const MenuItem> items, int current,
                 int& chosen) {
  PulldownMenu menu;
  menu.x = std::min(DialogX, std::max(screenColumns() - 40, 1));
  menu.y = DialogY;
  menu.items = items;
  menu.title = shownTitle(title);
  menu.showTitle = !title.empty();
  menu.currentItem = 0;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].command == current) menu.currentItem = static_cast<int>(i);
  int command = 0;
  if (runPulldown(menu, command) != MenuChosen) return false;
  chosen = command;
  return true;
}

// Stores a 16-bit setup value and marks the setup as changed.
void store(SetupWord& field, int value) {
  field.set(static_cast<std::uint16_t>(value));
  markSetupChanged();
}

// The row a form of that many items opens on: the second, or higher when it would not fit.
int formRow(int items) { return std::clamp(screenRows() - (items + 2) + 1, 1, FormRow); }

// The column of a form's values: two cells after its longest label.
int valueColumnFor(std::span<const FormItem> items) {
  int longest = 0;
  for (const FormItem& item : items)
    if (item.type == FormSwitch || item.type == FormText || item.type == FormNumber)
      longest = std::max(longest, menuLabelCells(item.label));
  return longest + 2;
}

LoopContext* innermost() { return programState().innermost; }

void requestRebuild() {
  if (LoopContext* loop = innermost()) loop->exitRequest = LoopRebuild;
}

bool sortDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  if (!selectValue(TitleSortmode, SortItems,
                   block.sortMode.get() >= 5 ? UnsortedItemValue : block.sortMode.get(), value))
    return false;
  store(block.sortMode, storedSortValue(value));
  if (LoopContext* loop = innermost()) {
    loop->reread = RereadResort;
    loop->otherRequest = OtherResort;
  }
  return true;
}

// A form of one YES/NO switch per label, each starting as value(number) says; true after
// Enter, with the answers in flags (one per label).
bool switchForm(std::string_view title, std::span<const SwitchLabel> labels, int (*value)(int),
                int help, std::vector<std::uint16_t>& flags) {
  flags.assign(labels.size(), 0);
  std::vector<FormItem> items;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    flags[i] = static_cast<std::uint16_t>(value(labels[i].number) != 0);
    items.push_back(
        {.label = labels[i].label, .type = FormSwitch, .flag = &flags[i], .helpContext = help});
  }
  items.push_back({.type = FormSeparator});
  items.push_back({.label = FormKeyLine, .type = FormStatic});
  const FormDescriptor form{.x = FormX,
                            .y = formRow(static_cast<int>(items.size())),
                            .valueColumn = valueColumnFor(items),
                            .title = title,
                            .items = items};
  return runForm(form) == FormAccepted;
}

// The user-defined profile's switches, each that of the command-window entry it names; Enter
// stores them.
bool commandWindowSwitchesDialog() {
  std::vector<std::uint16_t> flags;
  if (!switchForm(TitleCommandWindowSwitches, CommandWindowSwitches, entrySwitch,
                  HelpCommandWindowLabels, flags))
    return false;
  for (std::size_t i = 0; i < flags.size(); ++i)
    setEntrySwitch(CommandWindowSwitches[i].number, flags[i] != 0);
  return true;
}

bool profileDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  if (!selectValue(TitleUserprofile, ProfileItems, block.userProfile.get(), value)) return false;
  if (value == ProfileUserDefined && !commandWindowSwitchesDialog()) return false;
  store(block.userProfile, value);
  applyProfile(value);
  if (LoopContext* loop = innermost()) loop->barDirty = true;
  return true;
}

bool fileDisplayDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  if (!selectValue({}, FileDisplayItems, block.fileDisplay.get(), value)) return false;
  store(block.fileDisplay, value);
  if (LoopContext* loop = innermost()) {
    Panel& panel = *loop->current.panel;
    panel.displayBits = (panel.displayBits & ~DisplayModeBits) | displayBitsForSetting(value);
    loop->reread = RereadRedraw;
  }
  return true;
}

// The screen layout and then the command window; both rebuild the screen.
bool windowsDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  bool chosen = false;
  if (selectValue({}, LayoutItems, block.screenLayout.get(), value)) {
    store(block.screenLayout, value);
    programState().windowLayoutChoice = value;
    chosen = true;
  }
  if (selectValue({}, CommandWindowItems, block.commandWindow.get(), value)) {
    store(block.commandWindow, value);
    chosen = true;
  }
  if (chosen) requestRebuild();
  return chosen;
}

bool screenSizeDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  if (!selectValue({}, ScreenSizeItems, block.screenSize.get(), value)) return false;
  store(block.screenSize, value);
  requestRebuild();
  return true;
}

bool keyboardDialog() {
  SetupBlock& block = setupBlock();
  int value = 0;
  if (!selectValue({}, KeyboardItems, keyboardLayout(), value)) return false;
  store(block.keyboardLayout, value);
  applyKeyboardLayout(keyboardLayout());
  requestRebuild();
  return true;
}

// Opens a definitions file in the editor: the internal one when there is one, else the
// configured editor, else the user's.
void editDefinitionsFile(const std::string& path) {
  if (const FileHook edit = internalProgramHooks().editFile) {
    edit(path);
    return;
  }
  const std::string_view configured = setupBlock().editorCommand.text();
  if (!configured.empty() && checkCommand(configured) != 0) return;
  runCommandLine(configured.empty() ? FallbackEditorCommand : configured, path,
                 ScreenVariant::Console, true, false, false);
}

// The file beside the setup file with the extension in the editor; the rejection beep
// without a setup file.
bool editBesideSetup(std::string_view extension) {
  const std::string& setupPath = loadedSetupPath();
  if (setupPath.empty()) {
    rejectBeep();
    return false;
  }
  editDefinitionsFile(siblingPath(setupPath, extension));
  return true;
}

// A one-line input under its prompt; true after Enter.
bool askLine(std::string& text, std::string_view prompt, int visible, int maxLength) {
  const int width = textCells(prompt) + visible + InputFieldExtra;
  return inputDialog(text, prompt, DialogX - width / 2, DialogY, width, maxLength) == key::Enter;
}

// A number typed as decimal digits (blanks around them allowed); -1 for anything else.
int typedNumber(std::string_view text, int digits) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty() || static_cast<int>(text.size()) > digits) return -1;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

struct ProgramField {
  std::string_view prompt;
  SetupCommand SetupBlock::*field;
};
constexpr ProgramField ProgramFields[] = {
    {PromptEditor, &SetupBlock::editorCommand},
    {PromptViewer, &SetupBlock::viewerCommand},
    {PromptWordProcessor, &SetupBlock::wordProcessorCommand},
    {PromptHexEditor, &SetupBlock::hexEditorCommand},
    {PromptFileDifferences, &SetupBlock::fileDifferencesCommand},
};
constexpr int ProgramAssociations = static_cast<int>(std::size(ProgramFields));
constexpr MenuItem ProgramItems[] = {
    {.label = TextProgramEditor, .helpContext = HelpPrograms, .command = 0},
    {.label = TextProgramViewer, .helpContext = HelpPrograms, .command = 1},
    {.label = TextProgramWordProcessor, .helpContext = HelpPrograms, .command = 2},
    {.label = TextProgramHexEditor, .helpContext = HelpPrograms, .command = 3},
    {.label = TextProgramFileDifferences, .helpContext = HelpPrograms, .command = 4},
    {.label = TextProgramAssociations, .helpContext = HelpPrograms, .command = ProgramAssociations},
};

bool programsDialog() {
  int chosen = 0;
  if (!selectValue(TitlePrograms, ProgramItems, -1, chosen)) return false;
  if (chosen == ProgramAssociations) return editBesideSetup(AssociationsExtension);
  SetupCommand& field = setupBlock().*ProgramFields[chosen].field;
  std::string text(field.text());
  if (!askLine(text, ProgramFields[chosen].prompt, ProgramVisible, ProgramLength)) return false;
  if (!field.assign(text)) return false;
  markSetupChanged();
  return true;
}

bool colorsDialog() {
  constexpr int DefaultColorsItem = 100, MonochromeColorsItem = 101;
  std::vector<MenuItem> items;
  for (const SwitchLabel& slot : ColorSlotLabels)
    items.push_back({.label = slot.label, .helpContext = HelpColors, .command = slot.number});
  items.push_back(
      {.label = TextDefaultColors, .helpContext = HelpColors, .command = DefaultColorsItem});
  items.push_back(
      {.label = TextMonochromeColors, .helpContext = HelpColors, .command = MonochromeColorsItem});
  int chosen = 0;
  if (!selectValue(TitleColor, items, -1, chosen)) return false;
  const bool changed = chosen == DefaultColorsItem      ? setColorSet(ColorSet::Default)
                       : chosen == MonochromeColorsItem ? setColorSet(ColorSet::Monochrome)
                                                        : editColor(static_cast<ColorSlot>(chosen));
  if (!changed) return true;
  markSetupChanged();
  requestRebuild();  // every window in the new colours
  return true;
}

bool darkScreenDialog() {
  SetupBlock& block = setupBlock();
  std::string text = std::to_string(block.idleMinutes.get());
  if (!askLine(text, PromptIdleTime, IdleTimeLength, IdleTimeLength)) return false;
  const int minutes = typedNumber(text, IdleTimeLength);
  if (minutes < 1 || minutes > MaxIdleMinutes) {
    messageBox(TextIllegalTime);
    return false;
  }
  store(block.idleMinutes, minutes);
  setIdleMinutes(minutes);
  return true;
}

bool printerDialog() {
  SetupBlock& block = setupBlock();
  std::string text = std::to_string(block.printerPort.get());
  if (!askLine(text, PromptPrinterPort, PrinterPortLength, PrinterPortLength)) return false;
  const int port = typedNumber(text, PrinterPortLength);
  if (port < 1 || port > MaxPrinterPort) return false;
  store(block.printerPort, port);
  return true;
}

bool clockDialog() {
  SetupBlock& block = setupBlock();
  const std::uint16_t flags = block.clockFlags.get();
  std::uint16_t on = (flags & ClockFlagOn) != 0, hours24 = (flags & ClockFlag24Hours) != 0,
                centre = (flags & ClockFlagCentre) != 0, seconds = block.clockSeconds.get() != 0;
  const FormItem items[] = {
      {.label = TextClockOn, .type = FormSwitch, .flag = &on, .helpContext = HelpClock},
      {.label = TextClock24Hours, .type = FormSwitch, .flag = &hours24, .helpContext = HelpClock},
      {.label = TextClockCentre, .type = FormSwitch, .flag = &centre, .helpContext = HelpClock},
      {.label = TextClockSeconds, .type = FormSwitch, .flag = &seconds, .helpContext = HelpClock},
      {.type = FormSeparator},
      {.label = FormKeyLine, .type = FormStatic},
  };
  const FormDescriptor form{.x = FormX,
                            .y = FormRow,
                            .valueColumn = valueColumnFor(items),
                            .title = TitleClock,
                            .items = items};
  if (runForm(form) != FormAccepted) return false;
  block.clockFlags.set(static_cast<std::uint16_t>(
      (flags & ~(ClockFlagOn | ClockFlag24Hours | ClockFlagCentre)) | (on ? ClockFlagOn : 0) |
      (hours24 ? ClockFlag24Hours : 0) | (centre ? ClockFlagCentre : 0)));
  store(block.clockSeconds, seconds);
  applyClockSettings();
  return true;
}

// " ^Confirmations": the preference switches, effective at once.
bool confirmationsDialog() {
  std::vector<std::uint16_t> flags;
  if (!switchForm(TitleSeveralSettings, SeveralSettings, preference, HelpConfirmations, flags))
    return false;
  bool hiddenFiles = false, menuLine = false;
  for (std::size_t i = 0; i < flags.size(); ++i) {
    const int number = SeveralSettings[i].number;
    if ((preference(number) != 0) == (flags[i] != 0)) continue;
    setPreference(number, flags[i] != 0);
    hiddenFiles = hiddenFiles || number == PreferenceHiddenFiles;
    menuLine = menuLine || number == PreferenceMenuLine;
  }
  markSetupChanged();
  LoopContext* loop = innermost();
  if (loop != nullptr && hiddenFiles) {
    loop->reread = RereadInPlace;
    loop->freshRead = true;
    loop->otherRequest = OtherAlways;
  }
  if (menuLine) requestRebuild();  // the top row with or without the menu titles
  return true;
}

}  // namespace

// " ^Function keys": six keys a page, three pages; "Next Functionkeys" shows the next page.
struct FunctionKeyForm {
  std::array<std::string, FunctionKeyRecordCount> comments, commands;
  int page = 0;  // 0..2
  std::string pageText;
  static constexpr std::size_t PerPage = FunctionKeyLabels.size();
  // The page line, six pairs, the button, a separator and the key line.
  std::array<FormItem, 1 + 2 * PerPage + 3> items{};

  void showPage(int shown) {
    page = shown;
    pageText = textf(FormatFunctionKeyPageShown, page + 1);
    items[0] = {.label = pageText, .type = FormStatic};
    for (std::size_t k = 0; k < PerPage; ++k) {
      const std::size_t record = static_cast<std::size_t>(page) * PerPage + k;
      items[1 + 2 * k] = {.label = TextComment,
                          .type = FormText,
                          .text = &comments[record],
                          .maxLength = static_cast<int>(FunctionKeyRecord{}.comment.Capacity),
                          .helpContext = HelpFunctionKeys};
      items[2 + 2 * k] = {.label = FunctionKeyLabels[k],
                          .type = FormText,
                          .text = &commands[record],
                          .maxLength = static_cast<int>(SetupCommand::Capacity),
                          .helpContext = HelpFunctionKeys};
    }
    items[1 + 2 * PerPage] = {.label = TextNextFunctionKeys,
                              .type = FormButton,
                              .handler = nextFunctionKeyPage,
                              .helpContext = HelpFunctionKeys};
    items[2 + 2 * PerPage] = {.type = FormSeparator};
    items[3 + 2 * PerPage] = {.label = FormKeyLine, .type = FormStatic};
  }

  static int nextFunctionKeyPage(std::string_view, int) {
    FunctionKeyForm* form = commandsState().functionKeyForm;
    if (form == nullptr) return ButtonStay;
    form->showPage((form->page + 1) % FunctionKeyPageCount);
    return ButtonRestartForm;
  }
};

namespace {

bool functionKeysDialog() {
  SetupBlock& block = setupBlock();
  auto form = std::make_unique<FunctionKeyForm>();
  for (int i = 0; i < FunctionKeyRecordCount; ++i) {
    const FunctionKeyRecord& record = *functionKeyRecord(block, i);
    form->comments[static_cast<std::size_t>(i)] = record.comment.text();
    form->commands[static_cast<std::size_t>(i)] = record.command.text();
  }
  form->showPage(0);
  commandsState().functionKeyForm = form.get();
  const FormDescriptor descriptor{.x = FunctionKeysX,
                                  .y = FunctionKeysY,
                                  .width = FunctionKeysWidth,
                                  .valueColumn = FunctionKeysValues,
                                  .title = TitleFunctionKeys,
                                  .items = form->items};
  const int result = runForm(descriptor);
  commandsState().functionKeyForm = nullptr;
  if (result != FormAccepted) return false;
  for (int i = 0; i < FunctionKeyRecordCount; ++i) {
    FunctionKeyRecord& record = *functionKeyRecord(block, i);
    (void)record.comment.assign(form->comments[static_cast<std::size_t>(i)]);
    (void)record.command.assign(form->commands[static_cast<std::size_t>(i)]);
  }
  markSetupChanged();
  return true;
}

bool directoriesDialog() {
  SetupBlock& block = setupBlock();
  std::array<std::string, DirectoryEntryCount> directories;
  std::array<FormItem, DirectoryEntryCount + 2> items{};
  for (std::size_t i = 0; i < directories.size(); ++i) {
    directories[i] = block.directories[i].text();
    items[i] = {.label = DirectoryLabels[i],
                .type = FormText,
                .text = &directories[i],
                .maxLength = static_cast<int>(SetupCommand::Capacity),
                .helpContext = HelpDirectories};
  }
  items[DirectoryEntryCount] = {.type = FormSeparator};
  items[DirectoryEntryCount + 1] = {.label = FormKeyLine, .type = FormStatic};
  const FormDescriptor form{.x = FunctionKeysX,
                            .y = FunctionKeysY,
                            .width = FunctionKeysWidth,
                            .valueColumn = FunctionKeysValues,
                            .title = TitleDirectories,
                            .items = items};
  if (runForm(form) != FormAccepted) return false;
  for (std::size_t i = 0; i < directories.size(); ++i)
    (void)block.directories[i].assign(directories[i]);
  markSetupChanged();
  return true;
}

// The buttons of the menu entry form only say what they are.
int announceButton(std::string_view label, int) {
  while (!label.empty() && label.back() == ' ') label.remove_suffix(1);
  messageBox(label);
  return ButtonStay;
}

// The entry form of a user menu: nothing it holds is written anywhere.
void menuEntryForm() {
  std::string title, x, y, width, number, description, command;
  std::uint16_t swap = 0, window = 0, cursor = 0, wait = 0, parameter = 0;
  const FormItem items[] = {
      {.label = TextMenuTitle,
       .type = FormText,
       .text = &title,
       .maxLength = static_cast<int>(UserMenuTitleChars),
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuX,
       .type = FormNumber,
       .text = &x,
       .maxLength = 3,
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuY,
       .type = FormNumber,
       .text = &y,
       .maxLength = 3,
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuWidth,
       .type = FormNumber,
       .text = &width,
       .maxLength = 3,
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuEntryNumber,
       .type = FormNumber,
       .text = &number,
       .maxLength = 2,
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuDescription,
       .type = FormText,
       .text = &description,
       .maxLength = 60,
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuSwap, .type = FormSwitch, .flag = &swap, .helpContext = HelpMenuEntryForm},
      {.label = TextMenuWindow,
       .type = FormSwitch,
       .flag = &window,
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuCursor,
       .type = FormSwitch,
       .flag = &cursor,
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuWait, .type = FormSwitch, .flag = &wait, .helpContext = HelpMenuEntryForm},
      {.label = TextMenuParameter,
       .type = FormSwitch,
       .flag = &parameter,
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuCommand,
       .type = FormText,
       .text = &command,
       .maxLength = static_cast<int>(SetupCommand::Capacity),
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuSave,
       .type = FormButton,
       .handler = announceButton,
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuDelete,
       .type = FormButton,
       .handler = announceButton,
       .helpContext = HelpMenuEntryForm},
      {.label = TextMenuNext,
       .type = FormButton,
       .handler = announceButton,
       .helpContext = HelpMenuEntryForm},
      {.type = FormSeparator},
      {.label = FormKeyLine, .type = FormStatic},
  };
  const FormDescriptor form{.x = FormX,
                            .y = formRow(static_cast<int>(std::size(items))),
                            .width = MenuEntryFormWidth,
                            .valueColumn = MenuEntryFormValues,
                            .title = TitleMenuEntryForm,
                            .items = items};
  (void)runForm(form);
}

constexpr int EditMenuFileItem = 0, MenuEntryFormItem = 1;
constexpr MenuItem UserPulldownItems[] = {
    {.label = TextEditMenuFile, .helpContext = HelpDefineUserPulldown, .command = EditMenuFileItem},
    {.label = TextMenuEntryForm,
     .helpContext = HelpDefineUserPulldown,
     .command = MenuEntryFormItem},
};

bool userPulldownDialog() {
  int chosen = 0;
  if (!selectValue({}, UserPulldownItems, -1, chosen)) return false;
  if (chosen == MenuEntryFormItem) {
    menuEntryForm();
    return true;
  }
  const std::optional<std::string> file = chooseUserMenuFile();
  if (!file) return false;
  editDefinitionsFile(*file);
  return true;
}

}  // namespace

int storedSortValue(int itemValue) { return std::clamp(itemValue, 0, 5); }

bool runSetupDialog(SetupDialog dialog) {
  switch (dialog) {
    case SetupPrograms:
      return programsDialog();
    case SetupColors:
      return colorsDialog();
    case SetupDarkScreen:
      return darkScreenDialog();
    case SetupUserPulldown:
      return userPulldownDialog();
    case SetupFunctionKeys:
      return functionKeysDialog();
    case SetupClock:
      return clockDialog();
    case SetupDirectories:
      return directoriesDialog();
    case SetupPrinter:
      return printerDialog();
    case SetupArchiver:
      return editBesideSetup(ArchiverDefinitionsExtension);
    case SetupConfirmations:
      return confirmationsDialog();
    case SetupSort:
      return sortDialog();
    case SetupPreferences:
      return profileDialog();
    case SetupDisplayMode:
      return fileDisplayDialog();
    case SetupFileDisplay:
      return windowsDialog();
    case SetupVideoMode:
      return screenSizeDialog();
    case SetupEmulation:
      return keyboardDialog();
    case SetupSave:
      if (!programState().setupPath.empty() && saveSetup(programState().setupPath))
        clearSetupChanged();
      return true;
    case SetupDialogCount:
      break;
  }
  rejectBeep();
  return false;
}

int setupMenuItem(const void* data, int) {
  const int dialog = data != nullptr ? *static_cast<const int*>(data) : -1;
  if (dialog < 0 || dialog >= SetupDialogCount) return 0;
  return runSetupDialog(static_cast<SetupDialog>(dialog)) ? MenuChosen : 0;
}

}  // namespace corvane
