#include "platform/keyboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/signals.h"
#include "support/headless_fixture.h"

namespace corvane {
namespace {

std::vector<std::string> notes;
int replayAnswer = 0;
int helpCalls = 0;
bool helpIsOpen = false;

class KeyReaderTest : public testing::HeadlessTest {
 protected:
  KeyReaderTest() {
    notes.clear();
    replayAnswer = 0;
    helpCalls = 0;
    helpIsOpen = false;
    KeyReaderHooks hooks;
    hooks.note = [](std::string_view text, int) { notes.emplace_back(text); };
    hooks.message = [](std::string_view text) { notes.emplace_back(text); };
    hooks.replayCount = [] { return replayAnswer; };
    hooks.help = [] { ++helpCalls; };
    hooks.helpOpen = [] { return helpIsOpen; };
    setKeyReaderHooks(hooks);
    resetKeyReader();
  }
  ~KeyReaderTest() override {
    resetKeyReader();
    setKeyReaderHooks({});
  }

  void push(InputRecord r) { console_.pushRecord(r); }
  InputRecord keyRecord(std::uint8_t ch, std::uint8_t scan, std::uint16_t control) {
    InputRecord r;
    r.character = ch;
    r.scanCode = scan;
    r.controlState = control;
    return r;
  }
};

TEST_F(KeyReaderTest, RecordsBecomeTheKeyCodesOfTheTable) {
  struct Case {
    const char* name;
    InputRecord record;
    KeyCode expected;
  };
  const Case cases[] = {
      {"a", keyRecord('a', 0x1E, 0), 0x61},
      {"Ctrl-A", keyRecord(0x01, 0x1E, ControlLeftCtrl), 0x0401},
      {"Ctrl-S", keyRecord(0x13, 0x1F, ControlRightCtrl), 0x0413},
      {"Alt-Q", keyRecord('q', 0x10, ControlLeftAlt), 0x0810},
      {"Alt-Z", keyRecord('z', 0x15, ControlLeftAlt), 0x0815},
      {"Alt-1", keyRecord('1', 0x02, ControlLeftAlt | ControlShift), 0x0802 + 0},
      {"AltGr-x", keyRecord('x', 0x2D, ControlRightAlt), 0x082D},
      {"AltGr-@", keyRecord('@', 0x10, ControlRightAlt), '@'},
      {"F2", keyRecord(0, 0x3C, 0), 0x013C},
      {"Shift-F1", keyRecord(0, 0x3B, ControlShift), 0x023B},
      {"Ctrl-F1", keyRecord(0, 0x3B, ControlLeftCtrl), 0x043B},
      {"Alt-F10", keyRecord(0, 0x44, ControlLeftAlt), 0x0844},
      {"Ctrl-Alt-Home: Ctrl wins", keyRecord(0, 0x47, ControlLeftAlt | ControlLeftCtrl), 0x0447},
      {"Shift-Tab", keyRecord(9, 0x0F, ControlShift), 0x0209},
      {"Ctrl-Tab", keyRecord(9, 0x0F, ControlLeftCtrl), 0x0409},
      {"Ctrl-[ stays plain", keyRecord('[', 0x1A, ControlLeftCtrl), '['},
      {"Ctrl-Backspace", keyRecord(0x7F, 0x0E, ControlLeftCtrl), 0x047F},
      {"alpha 0xE0 typed", keyRecord(0xE0, 0, 0), 0xE0},
  };
  for (const Case& c : cases) {
    if (std::string(c.name) == "Alt-1") continue;  // Alt-1 is a global key, tested below
    push(c.record);
    EXPECT_EQ(readKey(), c.expected) << c.name;
  }
}

TEST_F(KeyReaderTest, AltAlonePressedAndReleasedGivesTwoModifierEventsShiftOne) {
  console_.pushModifier(ModifierKey::Alt, true);
  console_.pushModifier(ModifierKey::Alt, false);
  console_.pushModifier(ModifierKey::Shift, true);
  console_.pushModifier(ModifierKey::Shift, false);
  console_.pushKey('x');
  EXPECT_EQ(readKey(), key::ModifierEvent);
  EXPECT_TRUE(altHeld());
  EXPECT_FALSE(ctrlHeld());
  EXPECT_EQ(readKey(), key::ModifierEvent);
  EXPECT_FALSE(altHeld());
  EXPECT_EQ(readKey(), key::ModifierEvent);  // Shift pressed; its release is not seen
  EXPECT_EQ(readKey(), 'x');
}

TEST_F(KeyReaderTest, MouseZonesWithBottomRowsFallbackAndModifierOffsets) {
  const MouseZone zones[] = {
      {.x1 = 0, .y1 = 2, .x2 = 9, .y2 = 2, .leftCode = 0x0500},
      {.x1 = 0, .y1 = 101, .x2 = 9, .y2 = 101, .leftCode = 'A', .disabled = true},
      {.x1 = 0, .y1 = 102, .x2 = 9, .y2 = 101, .leftCode = 'B'},
      {.x1 = 0, .y1 = MouseZoneFallback, .x2 = 0, .y2 = 0, .leftCode = key::Escape},
  };
  registerMouseZones(zones);
  console_.pushClick(3, 2);
  console_.pushClick(5, 24);   // rows 23..24 from the bottom; the disabled zone is skipped
  console_.pushClick(40, 10);  // outside every zone: the fallback
  console_.pushClick(3, 23, false, ControlLeftCtrl);
  EXPECT_EQ(readKey(), 0x0500);
  EXPECT_EQ(readKey(), 'B');
  EXPECT_EQ(readKey(), key::Escape);
  EXPECT_EQ(readKey(), 'B' + 0x0300);

  clearMouseZones();
  console_.pushClick(3, 2);
  EXPECT_EQ(readKey(), key::ModifierEvent);  // no table: a click is a modifier event
}

TEST_F(KeyReaderTest, DoubleClickTurnsItemCodesIntoEnter) {
  const MouseZone zones[] = {
      {.x1 = 0, .y1 = 0, .x2 = 9, .y2 = 0, .leftCode = 0x0503},
      {.x1 = 0, .y1 = 1, .x2 = 9, .y2 = 1, .leftCode = 0xFE0D},
  };
  registerMouseZones(zones);
  console_.pushClick(2, 0);
  console_.pushClick(2, 0);
  console_.pushClick(2, 1);
  console_.pushClick(2, 1);
  EXPECT_EQ(readKey(), 0x0503);
  EXPECT_EQ(readKey(), key::Enter);
  EXPECT_EQ(readKey(), 0xFE0D);
  EXPECT_EQ(readKey(), 0x7E0D);

  // Too slow, or on another cell: two single clicks.
  console_.pushClick(2, 0);
  EXPECT_EQ(readKey(), 0x0503);
  console_.now += 250;
  console_.pushClick(2, 0);
  EXPECT_EQ(readKey(), 0x0503);
  console_.pushClick(3, 0);
  EXPECT_EQ(readKey(), 0x0503);
}

TEST_F(KeyReaderTest, RightButtonGivesItsCodeOnlyAwayFromTheLastClickRow) {
  const MouseZone zones[] = {
      {.x1 = 0, .y1 = 0, .x2 = 79, .y2 = 5, .leftCode = 'L', .rightCode = 'R'}};
  registerMouseZones(zones);
  console_.pushClick(5, 1);
  console_.pushClick(6, 1, true);  // same row, within the threshold
  console_.pushClick(6, 3, true);  // another row
  EXPECT_EQ(readKey(), 'L');
  EXPECT_EQ(readKey(), key::ModifierEvent);
  EXPECT_EQ(readKey(), 'R');
}

TEST_F(KeyReaderTest, DoubleClickTimeAcceptsOnlyValuesStrictlyBetween100And2000) {
  const MouseZone zones[] = {{.x1 = 0, .y1 = 0, .x2 = 9, .y2 = 0, .leftCode = 0x0501}};
  registerMouseZones(zones);
  setDoubleClickTime(2000);  // refused: stays 200
  console_.pushClick(1, 0);
  EXPECT_EQ(readKey(), 0x0501);
  console_.now += 300;
  console_.pushClick(1, 0);
  EXPECT_EQ(readKey(), 0x0501);
  setDoubleClickTime(1999);
  console_.now += 1500;
  console_.pushClick(1, 0);
  EXPECT_EQ(readKey(), key::Enter);
}

TEST_F(KeyReaderTest, MacroRecordsAndReplaysWithACount) {
  console_.pushKeys({key::alt('1'), 'a', 'b', key::alt('1')});
  console_.pushKey(key::alt('2'));
  console_.pushKey('z');
  EXPECT_EQ(readKey(), 'a');
  EXPECT_EQ(readKey(), 'b');
  replayAnswer = 2;
  // Alt-1 ends the recording, Alt-2 starts two replays; the macro keys come before 'z'.
  std::string got;
  for (int i = 0; i < 5; ++i) got += static_cast<char>(readKey());
  EXPECT_EQ(got, "ababz");
  EXPECT_EQ(macroLength(), 2);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0], "Macro starts");
  EXPECT_EQ(notes[1], "Macro ends");
}

TEST_F(KeyReaderTest, ReplayCountZeroDoesNotReplayAndEscapeEndsAReplay) {
  console_.pushKeys({key::alt('1'), 'a', key::alt('1'), key::alt('2'), 'q'});
  EXPECT_EQ(readKey(), 'a');
  replayAnswer = 0;
  EXPECT_EQ(readKey(), 'q');
  EXPECT_FALSE(macroReplaying());

  replayAnswer = 100;
  console_.pushKeys({key::alt('2')});
  console_.pushKey('r');
  EXPECT_EQ(readKey(), 'a');  // the replay runs
  EXPECT_TRUE(macroReplaying());
  console_.input.clear();
  console_.pushKeys({key::Escape, 'k'});
  EXPECT_EQ(readKey(), 'k');  // Escape stopped the replay and was not passed on
  EXPECT_FALSE(macroReplaying());
}

TEST_F(KeyReaderTest, The513thKeyStopsRecordingAndTheMacroKeeps512) {
  console_.pushKey(key::alt('1'));
  for (int i = 0; i < 513; ++i) console_.pushKey('a' + i % 26);
  for (int i = 0; i < 513; ++i) EXPECT_EQ(readKey(), 'a' + i % 26);
  EXPECT_FALSE(macroRecording());
  EXPECT_EQ(macroLength(), 512);
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.back(), " Macro too long, stopped ");

  console_.pushKey(key::alt('3'));
  console_.pushKey('!');
  for (int i = 0; i < 512; ++i) ASSERT_EQ(readKey(), 'a' + i % 26) << i;
  EXPECT_EQ(readKey(), '!');
}

TEST_F(KeyReaderTest, ReplayWithoutAMacroSaysSo) {
  console_.pushKeys({key::alt('3'), 'x'});
  EXPECT_EQ(readKey(), 'x');
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], "Macro not defined");
}

TEST_F(KeyReaderTest, F1OpensHelpOnlyWhenItIsNotOpen) {
  console_.pushKeys({key::F1, 'x'});
  EXPECT_EQ(readKey(), 'x');
  EXPECT_EQ(helpCalls, 1);
  helpIsOpen = true;
  int beepsBefore = console_.beeps;
  console_.pushKeys({key::F1, 'y'});
  EXPECT_EQ(readKey(), 'y');
  EXPECT_EQ(helpCalls, 1);
  EXPECT_EQ(console_.beeps, beepsBefore + 1);
}

TEST_F(KeyReaderTest, AltF7GoesToTheUserHookOnlyInTheOwnLayout) {
  static int hookCalls = 0;
  hookCalls = 0;
  KeyReaderHooks hooks;
  hooks.userHook = [] { ++hookCalls; };
  setKeyReaderHooks(hooks);
  console_.pushKeys({key::fkey(7, key::ModAlt)});
  EXPECT_EQ(readKey(), 0x0841);
  setOwnKeyboardLayout(true);
  console_.pushKeys({key::fkey(7, key::ModAlt), 'x'});
  EXPECT_EQ(readKey(), 'x');
  EXPECT_EQ(hookCalls, 1);
}

TEST_F(KeyReaderTest, IdleEventComesOncePerIdlePeriod) {
  setIdleMinutes(1);
  noteActivity();
  advanceTicks(60);
  EXPECT_EQ(readKey(), key::IdleEvent);
  EXPECT_EQ(checkKey(), key::IdleEvent);  // long operations see it while it lasts
  console_.pushKey('x');
  EXPECT_EQ(readKey(), 'x');  // not a second idle event before new activity
  setIdleMinutes(5);
}

TEST_F(KeyReaderTest, RequestsFromOutsideAreCarriedOutByTheReader) {
  static int interrupts = 0, ends = 0;
  static KeyCode keyInQuestion = 0;
  interrupts = ends = 0;
  // The interrupt's question reads keys itself; another interrupt while it is open is answered
  // by it, never asked again inside it.
  setSignalRequestHooks({.interrupt =
                             [] {
                               ++interrupts;
                               recordInterruptRequest();
                               keyInQuestion = readKey();
                             },
                         .end = [] { ++ends; }});
  EXPECT_TRUE(signalRequestsServiced());
  recordInterruptRequest();
  console_.pushKeys({'n', 'a', 'b'});
  EXPECT_EQ(readKey(), 'a');
  EXPECT_EQ(keyInQuestion, 'n');
  EXPECT_EQ(readKey(), 'b');
  EXPECT_EQ(interrupts, 1);

  recordEndRequest();
  EXPECT_EQ(checkKey(), 0);  // long operations poll: the end comes there too
  EXPECT_EQ(ends, 1);
  resetSignalRequests();
  EXPECT_FALSE(signalRequestsServiced());
}

TEST_F(KeyReaderTest, CheckKeyReadsOnlyWhenEscapeIsPending) {
  noteActivity();
  console_.pushKey('a');
  EXPECT_EQ(checkKey(), 0);
  EXPECT_EQ(escapePending(), 0);
  console_.pushKey(key::Escape);
  EXPECT_EQ(escapePending(), 27);
  EXPECT_EQ(checkKey(), 'a');
  EXPECT_EQ(checkKey(), key::Escape);
}

TEST_F(KeyReaderTest, AltLetterFollowsTheGermanPositions) {
  EXPECT_EQ(altLetter(0x0815), 'Z');
  EXPECT_EQ(altLetter(0x082C), 'Y');
  EXPECT_EQ(altLetter(0x081E), 'A');
  EXPECT_EQ(altLetter(0x0802), 0);
  EXPECT_EQ(altLetter(0x0802, true), 0x0802);
}

}  // namespace
}  // namespace corvane
