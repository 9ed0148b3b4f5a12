#include "config/setup_block.h"

#include "config/config_state.h"

namespace corvane {

SetupBlock makeDefaultBlock() {
  SetupBlock block;
  setSetupDefaults(block);
  return block;
}

void resetReservedFields(SetupBlock& block) {
  block.reserved23.set(1);
  block.reserved25.set(0);
  block.reserved27.set(0);
  for (std::uint8_t& b : block.reserved434) b = 0;
  block.reserved1142.set(0);
  for (std::uint8_t& b : block.reserved1154) b = 0;
}

void setSetupDefaults(SetupBlock& block) {
  block = SetupBlock{};  // every byte zero: empty texts, zero words
  resetReservedFields(block);
  block.sortMode.set(0);
  block.idleMinutes.set(5);
  block.userProfile.set(1);
  block.version.assign(SetupVersionText);
  block.screenLayout.set(3);
  block.clockSeconds.set(0);
  block.clockFlags.set(ClockFlag24Hours | ClockFlagOn);
  block.commandWindow.set(0);
  block.fileDisplay.set(0);
  block.screenSize.set(0);
  block.printerPort.set(1);
  block.keyboardLayout.set(1);
  for (SetupWord& w : block.entrySwitches) w.set(1);
  for (SetupWord& w : block.preferences) w.set(1);
}

FunctionKeyRecord* functionKeyRecord(SetupBlock& block, int index) {
  if (index < 0 || index >= FunctionKeyRecordCount) return nullptr;
  if (index < FunctionKeysPage1Count) return &block.functionKeysPage1[index];
  return &block.functionKeysPages23[index - FunctionKeysPage1Count];
}

const FunctionKeyRecord* functionKeyRecord(const SetupBlock& block, int index) {
  return functionKeyRecord(const_cast<SetupBlock&>(block), index);
}

SetupBlock& setupBlock() { return configState().block; }

int preference(int n) {
  if (n < 0 || n >= PreferenceCount) return 0;
  return setupBlock().preferences[n].get();
}

bool setPreference(int n, bool on) {
  if (n < 0 || n >= PreferenceCount) return false;
  setupBlock().preferences[n].set(on ? 1 : 0);
  markSetupChanged();
  return true;
}

int entrySwitch(int i) {
  if (i < 0 || i >= EntrySwitchCount) return 0;
  return setupBlock().entrySwitches[i].get();
}

bool setEntrySwitch(int i, bool on) {
  if (i < 0 || i >= EntrySwitchCount) return false;
  setupBlock().entrySwitches[i].set(on ? 1 : 0);
  markSetupChanged();
  return true;
}

bool setupChanged() { return configState().changed; }
void markSetupChanged() { configState().changed = true; }
void clearSetupChanged() { configState().changed = false; }

}  // namespace corvane
