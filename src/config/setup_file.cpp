#include "config/setup_file.h"

#include <cstdio>
#include <cstring>

#include "config/config_state.h"
#include "config/user_profile.h"
#include "platform/charset.h"
#include "platform/clock.h"
#include "platform/color.h"
#include "platform/file_system.h"
#include "platform/replace_file.h"

namespace corvane {
namespace {

constexpr std::uint16_t DefaultIdleMinutes = 5;
constexpr std::uint16_t IdleMinutesLimit = 30000;  // this and more is taken as unset
constexpr std::uint16_t LastSortMode = 5;
constexpr std::uint16_t LayoutTwoLists = 3;
constexpr std::uint16_t LastFileDisplay = 2;
constexpr std::uint16_t LastScreenSize = 2;
constexpr std::uint16_t LastPrinterPort = 9;
constexpr std::uint16_t KeyboardCommander = 1;
constexpr int ColorPresenceBytes = 15;  // all zero: the file carries no colours

std::string& pathInUse() { return configState().loadedPath; }

// The longest prefix of text that fits the field without splitting a character.
template <std::size_t Size>
void assignCut(SetupText<Size>& field, std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::size_t end = 0;
  while (end < text.size()) {
    char32_t ch;
    std::size_t step = decodeChar(text, end, ch);
    if (end + step > SetupText<Size>::Capacity) break;
    end += step;
  }
  field.assign(text.substr(0, end));
}

void clampWord(SetupWord& word, bool (*usable)(std::uint16_t), std::uint16_t replacement) {
  if (!usable(word.get())) word.set(replacement);
}

void normalizeFlag(SetupWord& word) { word.set(word.get() != 0 ? 1 : 0); }

// Replaces what the rest of the program cannot use; see loadSetup.
void normalizeSetup(SetupBlock& b) {
  for (SetupCommand* text :
       {&b.editorCommand, &b.viewerCommand, &b.setupPath, &b.wordProcessorCommand,
        &b.hexEditorCommand, &b.fileDifferencesCommand})
    text->terminate();
  for (int i = 0; i < FunctionKeyRecordCount; ++i) {
    FunctionKeyRecord* key = functionKeyRecord(b, i);
    key->comment.terminate();
    key->command.terminate();
  }
  for (SetupCommand& dir : b.directories) dir.terminate();
  b.version.terminate();

  clampWord(
      b.sortMode, [](std::uint16_t v) { return v <= LastSortMode; }, LastSortMode);
  clampWord(
      b.screenLayout, [](std::uint16_t v) { return v == 0 || v == 1 || v == 3; }, LayoutTwoLists);
  clampWord(
      b.fileDisplay, [](std::uint16_t v) { return v <= LastFileDisplay; }, 0);
  clampWord(
      b.screenSize, [](std::uint16_t v) { return v <= LastScreenSize; }, 0);
  clampWord(
      b.printerPort, [](std::uint16_t v) { return v >= 1 && v <= LastPrinterPort; }, 1);
  clampWord(
      b.commandWindow, [](std::uint16_t v) { return v <= 1; }, 0);
  normalizeFlag(b.clockSeconds);
  b.clockFlags.set(b.clockFlags.get() & (ClockFlag24Hours | ClockFlagOn | ClockFlagCentre));
  for (SetupWord& w : b.entrySwitches) normalizeFlag(w);
  for (SetupWord& w : b.preferences) normalizeFlag(w);
}

}  // namespace

const std::string& loadedSetupPath() { return pathInUse(); }

void applyClockSettings() {
  const SetupBlock& b = setupBlock();
  StatusLineSettings settings;
  settings.dayMonthStyle = (b.clockFlags.get() & ClockFlag24Hours) != 0;
  settings.showSeconds = b.clockSeconds.get() != 0;
  setStatusLineSettings(settings);
}

bool loadSetup(std::string_view path) {
  SetupBlock& b = setupBlock();
  setSetupDefaults(b);
  b.screenLayout.set(LayoutTwoLists);
  pathInUse() = std::string(path);

  // Read into a scratch image so that only the bytes actually read replace defaults.
  std::size_t bytesRead = 0;
  if (FileHandle file = openFile(path, "rb")) {
    unsigned char image[SetupBlockSize];
    bytesRead = std::fread(image, 1, sizeof image, file.get());
    std::memcpy(&b, image, bytesRead);
  }
  normalizeSetup(b);

  bool carriesColors = false;
  for (int i = 0; i < ColorPresenceBytes; ++i) carriesColors |= b.colors[i] != 0;
  if (carriesColors) std::memcpy(colorSlots().data(), b.colors, SetupColorCount);

  assignCut(b.setupPath, path);

  std::uint16_t idle = b.idleMinutes.get();
  if (idle == 0 || idle >= IdleMinutesLimit) idle = DefaultIdleMinutes;
  b.idleMinutes.set(idle);
  setIdleMinutes(idle);

  if (b.version.text() != SetupVersionText) resetReservedFields(b);
  if (bytesRead == 0) {
    for (SetupWord& w : b.entrySwitches) w.set(1);
    for (SetupWord& w : b.preferences) w.set(1);
  }
  b.version.assign(SetupVersionText);

  applyProfile(ProfileProfessional);
  b.userProfile.set(ProfileAdvanced);
  b.keyboardLayout.set(KeyboardCommander);
  b.layoutSetting1.set(0);
  b.layoutSetting2.set(0);
  b.clockFlags.set(b.clockFlags.get() | ClockFlag24Hours);
  applyClockSettings();

  saveSetup(path);
  clearSetupChanged();
  return bytesRead > 0;
}

bool saveSetup(std::string_view path) {
  SetupBlock& b = setupBlock();
  std::memcpy(b.colors, colorSlots().data(), SetupColorCount);
  if (path.empty()) return false;  // no setup directory: nothing is written
  return static_cast<bool>(
      replaceFile(path, std::string_view(reinterpret_cast<const char*>(&b), SetupBlockSize)));
}

}  // namespace corvane
