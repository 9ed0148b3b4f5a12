// The setup block: every setting that survives a run, held in memory as the exact 3466-byte
// image of the setup file. Fields are byte arrays (16-bit values little-endian, texts
// zero-terminated in fixed fields), so the record can be read and written in one piece on any
// host and no access can run past a field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace corvane {

// A 16-bit little-endian field.
struct SetupWord {
  std::uint8_t bytes[2] = {0, 0};

  constexpr std::uint16_t get() const {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
  }
  constexpr void set(std::uint16_t value) {
    bytes[0] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
  }
};

// A fixed text field of Size bytes holding at most Size - 1 bytes of text and a terminator.
template <std::size_t Size>
struct SetupText {
  static constexpr std::size_t Capacity = Size - 1;
  char bytes[Size] = {};

  // The text up to the first zero byte, never more than Capacity bytes, so a field that
  // arrived without a terminator still reads safely.
  std::string_view text() const {
    std::size_t n = 0;
    while (n < Capacity && bytes[n] != '\0') ++n;
    return {bytes, n};
  }
  // Stores the text with the rest of the field zeroed. Refuses (false, field unchanged) a
  // text longer than Capacity or one holding a zero byte.
  bool assign(std::string_view value) {
    if (value.size() > Capacity || value.find('\0') != std::string_view::npos) return false;
    std::size_t i = 0;
    for (; i < value.size(); ++i) bytes[i] = value[i];
    for (; i < Size; ++i) bytes[i] = '\0';
    return true;
  }
  void clear() {
    for (char& b : bytes) b = '\0';
  }
  // Forces the terminator into the last byte.
  void terminate() { bytes[Size - 1] = '\0'; }
};

using SetupCommand = SetupText<81>;

// A user-defined function key: comment of up to 8 characters and a command of up to 80.
struct FunctionKeyRecord {
  SetupText<9> comment;
  SetupCommand command;
};

constexpr int SetupColorCount = 23;
constexpr int FunctionKeysPage1Count = 6;
constexpr int FunctionKeysPages23Count = 12;
constexpr int FunctionKeyRecordCount = FunctionKeysPage1Count + FunctionKeysPages23Count;
constexpr int DirectoryEntryCount = 10;
constexpr int EntrySwitchCount = 100;
constexpr int PreferenceCount = 100;

// Bits of the clock flags field.
constexpr std::uint16_t ClockFlag24Hours = 0x01;
constexpr std::uint16_t ClockFlagOn = 0x02;
constexpr std::uint16_t ClockFlagCentre = 0x04;

// The setup file's version text.
constexpr std::string_view SetupVersionText = "2.2 ";

struct SetupBlock {
  std::uint8_t colors[SetupColorCount] = {};  // colour slots 0..22
  SetupWord reserved23;
  SetupWord reserved25;
  SetupWord reserved27;
  SetupCommand editorCommand;         // "Editor :"
  SetupCommand viewerCommand;         // "View   :"
  SetupCommand setupPath;             // the setup file as last loaded (may be cut)
  SetupCommand wordProcessorCommand;  // "Wordprocessing :"
  SetupCommand hexEditorCommand;      // "Hex-Editor :"
  std::uint8_t reserved434[81] = {};
  SetupCommand fileDifferencesCommand;  // "File Differences :"
  SetupWord sortMode;                   // 0 alphabetic .. 5 unsorted
  SetupWord idleMinutes;
  SetupWord userProfile;  // 0 beginner, 1 advanced, 2 professional
  FunctionKeyRecord functionKeysPage1[FunctionKeysPage1Count];
  SetupWord reserved1142;
  SetupText<8> version;
  SetupWord screenLayout;  // 0 one list, 1 list and tree, 3 two lists
  std::uint8_t reserved1154[4] = {};
  SetupWord clockSeconds;                         // 0 or 1
  SetupWord clockFlags;                           // ClockFlag* bits
  SetupCommand directories[DirectoryEntryCount];  // Ctrl+F1 .. Ctrl+F10
  SetupWord commandWindow;                        // 0 with, 1 without
  SetupWord fileDisplay;                          // 0 short, 1 long with attributes, 2 long without
  SetupWord screenSize;                           // 0 80x25, 1 80x50, 2 80x60
  FunctionKeyRecord functionKeysPages23[FunctionKeysPages23Count];
  SetupWord printerPort;     // n of "LPT%d"
  SetupWord keyboardLayout;  // 0 CORVANE, 1 COMMANDER, 2 XTREE
  SetupWord layoutSetting1;  // cleared together with the layout
  SetupWord layoutSetting2;
  SetupWord entrySwitches[EntrySwitchCount];  // user-defined profile, 1 = entry shown
  SetupWord preferences[PreferenceCount];     // 1 = on
};

constexpr std::size_t SetupBlockSize = 3466;

static_assert(sizeof(SetupBlock) == SetupBlockSize);
static_assert(alignof(SetupBlock) == 1);
static_assert(std::is_trivially_copyable_v<SetupBlock>);
static_assert(offsetof(SetupBlock, reserved23) == 23);
static_assert(offsetof(SetupBlock, reserved25) == 25);
static_assert(offsetof(SetupBlock, reserved27) == 27);
static_assert(offsetof(SetupBlock, editorCommand) == 29);
static_assert(offsetof(SetupBlock, viewerCommand) == 110);
static_assert(offsetof(SetupBlock, setupPath) == 191);
static_assert(offsetof(SetupBlock, wordProcessorCommand) == 272);
static_assert(offsetof(SetupBlock, hexEditorCommand) == 353);
static_assert(offsetof(SetupBlock, reserved434) == 434);
static_assert(offsetof(SetupBlock, fileDifferencesCommand) == 515);
static_assert(offsetof(SetupBlock, sortMode) == 596);
static_assert(offsetof(SetupBlock, idleMinutes) == 598);
static_assert(offsetof(SetupBlock, userProfile) == 600);
static_assert(offsetof(SetupBlock, functionKeysPage1) == 602);
static_assert(sizeof(FunctionKeyRecord) == 90);
static_assert(offsetof(SetupBlock, reserved1142) == 1142);
static_assert(offsetof(SetupBlock, version) == 1144);
static_assert(offsetof(SetupBlock, screenLayout) == 1152);
static_assert(offsetof(SetupBlock, reserved1154) == 1154);
static_assert(offsetof(SetupBlock, clockSeconds) == 1158);
static_assert(offsetof(SetupBlock, clockFlags) == 1160);
static_assert(offsetof(SetupBlock, directories) == 1162);
static_assert(offsetof(SetupBlock, commandWindow) == 1972);
static_assert(offsetof(SetupBlock, fileDisplay) == 1974);
static_assert(offsetof(SetupBlock, screenSize) == 1976);
static_assert(offsetof(SetupBlock, functionKeysPages23) == 1978);
static_assert(offsetof(SetupBlock, printerPort) == 3058);
static_assert(offsetof(SetupBlock, keyboardLayout) == 3060);
static_assert(offsetof(SetupBlock, layoutSetting1) == 3062);
static_assert(offsetof(SetupBlock, layoutSetting2) == 3064);
static_assert(offsetof(SetupBlock, entrySwitches) == 3066);
static_assert(offsetof(SetupBlock, preferences) == 3266);

// The built-in defaults of every field.
void setSetupDefaults(SetupBlock& block);
// A block holding the defaults.
SetupBlock makeDefaultBlock();
// Resets the reserved fields to their defaults (23 holds 1, the others zero).
void resetReservedFields(SetupBlock& block);

// Function-key record 0..17 (0..5 page 1, 6..17 pages 2 and 3); nullptr out of range.
FunctionKeyRecord* functionKeyRecord(SetupBlock& block, int index);
const FunctionKeyRecord* functionKeyRecord(const SetupBlock& block, int index);

// The process-wide block, read in place by every part of the program.
SetupBlock& setupBlock();

// Preference switch n (0..99); 0 for any other n.
int preference(int n);
// Sets preference n to on (1) or off (0) and marks the setup as changed; false for an n
// outside 0..99.
bool setPreference(int n, bool on);
// Switch i (0..99) of the user-defined profile; 0 out of range.
int entrySwitch(int i);
bool setEntrySwitch(int i, bool on);

// Whether a configuration change has been made since the last load or save.
bool setupChanged();
void markSetupChanged();
void clearSetupChanged();

}  // namespace corvane
