// The static tables of the loop checked against each other: every menu item leads to a
// handler, no table binds one key twice, the menu titles carry their hotkeys.
#include "commands/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "commands/bottom_rows.h"
#include "commands/key_translation.h"
#include "commands/menu_definitions.h"
#include "commands/setup_dialogs.h"
#include "config/user_profile.h"
#include "ui/hotkey_label.h"

namespace corvane::testing {
namespace {

constexpr KeyboardLayout MenuSets[] = {KeyboardCorvane, KeyboardCommander};

// The codes a menu command can reach dispatch as: the command of the COMMANDER key of the
// three window items (none for All windows, whose key does its work), both forms of the
// items that mean the cursor file or the selected files, else the command itself.
std::vector<CommandId> dispatchedCodes(CommandId command) {
  const KeyCode asKey = menuCodeAsCommanderKey(command);
  if (asKey != command) {
    const CommanderTranslation* translation = findCommanderTranslation(asKey);
    EXPECT_NE(translation, nullptr) << command;
    if (translation == nullptr || translation->command == 0) return {};
    return {translation->command};
  }
  if (const EitherForm* form = findEitherForm(command)) return {form->single, form->selected};
  return {command};
}

TEST(CommandTable, EveryMenuCommandHasAHandler) {
  for (KeyboardLayout layout : MenuSets) {
    for (PulldownMenu* menu : menusOf(layout)) {
      for (const MenuItem& item : menu->items) {
        if (isSeparator(item) || item.handler != nullptr) continue;
        const std::vector<CommandId> codes = dispatchedCodes(item.command);
        for (CommandId code : codes)
          EXPECT_NE(findCommand(code), nullptr) << item.label << " gives " << code;
      }
    }
  }
}

TEST(CommandTable, SetupItemsCarryTheirDialogAndNoCommand) {
  int setupItems = 0;
  for (KeyboardLayout layout : MenuSets)
    for (PulldownMenu* menu : menusOf(layout))
      for (const MenuItem& item : menu->items) {
        if (item.handler == nullptr) continue;
        ++setupItems;
        EXPECT_EQ(item.command, 0) << item.label;
        ASSERT_NE(item.data, nullptr) << item.label;
        const int dialog = *static_cast<const int*>(item.data);
        EXPECT_GE(dialog, 0) << item.label;
        EXPECT_LT(dialog, SetupDialogCount) << item.label;
      }
  // Two setup menus of 17 items and three setup items in the COMMANDER " ^Special ".
  EXPECT_EQ(setupItems, 2 * 17 + 3);
}

TEST(CommandTable, TranslationsAndBarsLeadToHandlers) {
  for (const CommanderTranslation& t : commanderTranslations()) {
    // F9 gives Alt-N, which the menu bar takes.
    if (t.command != 0 && t.command != CmdAltN) {
      EXPECT_NE(findCommand(t.command), nullptr) << "key " << t.key;
    }
    if (t.action == CommanderAction::GiveEither) {
      EXPECT_NE(findCommand(t.selectedCommand), nullptr) << "key " << t.key;
    }
  }
  for (const EitherForm& form : eitherForms()) {
    EXPECT_NE(findCommand(form.single), nullptr) << form.code;
    EXPECT_NE(findCommand(form.selected), nullptr) << form.code;
  }
  for (const CommandLabel& label : CommandLabels) {
    // F1 is taken by the key reader (help) before any command sees it.
    if (label.left != key::F1) {
      EXPECT_NE(findCommand(label.left), nullptr) << label.label;
    }
    if (label.right != 0) {
      EXPECT_NE(findCommand(label.right), nullptr) << label.label;
    }
  }
}

TEST(CommandTable, NoCodeOrKeyIsBoundTwice) {
  std::set<CommandId> codes;
  for (const CommandEntry& entry : commandTable()) {
    EXPECT_TRUE(codes.insert(entry.code).second) << "code " << entry.code << " twice";
    EXPECT_NE(entry.handler, nullptr) << entry.code;
    EXPECT_FALSE(entry.code >= 'A' && entry.code <= 'Z') << "letters are listed in lower case";
  }
  std::set<KeyCode> keys;
  for (const CommanderTranslation& t : commanderTranslations())
    EXPECT_TRUE(keys.insert(t.key).second) << "COMMANDER key " << t.key << " twice";
  std::set<CommandId> either;
  for (const EitherForm& form : eitherForms())
    EXPECT_TRUE(either.insert(form.code).second) << form.code;
}

TEST(CommandTable, CommandLabelZonesDoNotOverlap) {
  for (std::size_t i = 0; i < std::size(CommandLabels); ++i) {
    const CommandLabel& a = CommandLabels[i];
    EXPECT_LE(a.first, a.last) << a.label;
    EXPECT_LE(a.first + labelCells(a.label) - 1, a.last) << a.label << " is wider than its zone";
    for (std::size_t j = i + 1; j < std::size(CommandLabels); ++j) {
      const CommandLabel& b = CommandLabels[j];
      if (a.row != b.row) continue;
      EXPECT_TRUE(a.last < b.first || b.last < a.first) << a.label << " and " << b.label;
    }
  }
}

TEST(CommandTable, LookupFoldsLettersOnly) {
  EXPECT_EQ(findCommand('S'), findCommand('s'));
  EXPECT_EQ(findCommand('E'), findCommand('e'));
  EXPECT_NE(findCommand('s'), nullptr);
  EXPECT_EQ(findCommand(0x7FFF), nullptr);
  // Ctrl with a letter reaches the end of the table (a drive change in the CORVANE layout),
  // except Ctrl-P, the word processor.
  EXPECT_EQ(findCommand(key::ctrl('D')), nullptr);
  EXPECT_NE(findCommand(key::ctrl('P')), nullptr);
}

TEST(MenuBars, TitlesAndTheirHotkeysInBothSets) {
  for (KeyboardLayout layout : MenuSets) {
    std::string letters;
    for (PulldownMenu* menu : menusOf(layout))
      letters += static_cast<char>(hotkeyLetter(menu->title));
    EXPECT_EQ(letters, "NFRST");
    EXPECT_EQ(menuBarFor(layout).menus.size(), 5u);
  }
  EXPECT_NE(&menuBarFor(KeyboardCorvane), &menuBarFor(KeyboardCommander));
  EXPECT_EQ(&menuBarFor(KeyboardCorvane), &menuBarFor(KeyboardXtree));
}

// Where the two sets differ: the COMMANDER " ^File" has the mask and no file find; its
// " ^Special " has the autoview and three setup items.
TEST(MenuBars, CommanderSetDiffersWhereItShould) {
  auto commands = [](KeyboardLayout layout, int menu) {
    std::set<int> out;
    for (const MenuItem& item : menusOf(layout)[static_cast<std::size_t>(menu)]->items)
      if (!isSeparator(item) && item.handler == nullptr) out.insert(item.command);
    return out;
  };
  EXPECT_TRUE(commands(KeyboardCommander, 1).count('k'));
  EXPECT_FALSE(commands(KeyboardCorvane, 1).count('k'));
  EXPECT_TRUE(commands(KeyboardCorvane, 1).count(CmdFileFind));
  EXPECT_FALSE(commands(KeyboardCommander, 1).count(CmdFileFind));
  EXPECT_TRUE(commands(KeyboardCommander, 3).count('*'));
  EXPECT_TRUE(commands(KeyboardCorvane, 3).count(CmdSplitFile));
  EXPECT_FALSE(commands(KeyboardCommander, 3).count(CmdSplitFile));
  EXPECT_EQ(commands(KeyboardCorvane, 0), commands(KeyboardCommander, 0));
  EXPECT_EQ(commands(KeyboardCorvane, 2), commands(KeyboardCommander, 2));
}

}  // namespace
}  // namespace corvane::testing
