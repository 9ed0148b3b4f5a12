#include "tools/print_file.h"

#include <cerrno>
#include <cstdio>

#include "config/setup_block.h"
#include "fileops/copy_engine.h"
#include "fileops/file_commands.h"
#include "fileops/fileops_texts.h"
#include "platform/file_system.h"
#include "platform/printer_port.h"
#include "platform/screen.h"
#include "platform/textf.h"
#include "tools/tools_texts.h"
#include "ui/boxes.h"
#include "ui/file_failure.h"

namespace corvane {
namespace {

constexpr std::size_t PrintBlock = 1000;
constexpr char FormFeed = '\x0C';

int portNumber() {
  const int number = setupBlock().printerPort.get();
  return number <= 0 || number > PrinterPortCount ? 1 : number;
}

int portFailed(FileResult reason) { return reportFailure(TextWriteError, reason, PrintPortFailed); }

}  // namespace

int printFile(std::string_view path) {
  FileHandle file;
  if (FileResult r = openRegularFile(path, file); !r)
    return reportFileFailure(FormatFileOpenError, path, r, PrintSourceFailed);
  WindowHandle note;
  (void)openInfoWindow(note, TextPrinting);
  PrinterPort port;
  if (FileResult r = port.open(portNumber()); !r) {
    closeInfoWindow(note);
    messageBox(textf(FormatFileOpenError, printerPortText(port.target(), r).c_str()));
    return PrintPortFailed;
  }
  // Esc while the port takes nothing: "Y" gives the port up.
  bool givenUp = false;
  const PrinterWait keepWaiting = [&] {
    givenUp = givenUp || (escapePressed() && askCancelOperation());
    return !givenUp;
  };
  int result = PrintDone;
  char block[PrintBlock];
  for (;;) {
    const std::size_t got = std::fread(block, 1, sizeof block, file.get());
    if (got < sizeof block && std::ferror(file.get()) != 0) {
      const int error = errno != 0 ? errno : EIO;
      closeInfoWindow(note);
      result = reportFailure(TextReadError, fileFailure(error), PrintSourceFailed);
      break;
    }
    if (got == 0) break;
    if (FileResult r = port.write({block, got}, keepWaiting); !r) {
      closeInfoWindow(note);
      result = r.error == ECANCELED ? PrintCancelled : portFailed(r);
      break;
    }
    if (got < sizeof block) break;
    if (escapePressed() && askCancelOperation()) {
      // The form feed still ends the output, but nothing is waited for any more.
      givenUp = true;
      result = PrintCancelled;
      break;
    }
  }
  if (result == PrintDone || result == PrintCancelled) {
    FileResult ended = port.write(std::string_view(&FormFeed, 1), keepWaiting);
    const FileResult closed = port.close(keepWaiting);
    if (ended) ended = closed;
    closeInfoWindow(note);
    if (!ended && result == PrintDone)
      result = ended.error == ECANCELED ? PrintCancelled : portFailed(ended);
  }
  closeInfoWindow(note);
  return result;
}

int printCommand(CommandContext& context, CommandId) {
  const FileNode* node = cursorEntry(context);
  if (node == nullptr || node->entry.isDirectory() || context.currentPanel().archiveType != 0) {
    rejectBeep();
    return LoopContinue;
  }
  if (question(QuestionDefaultNo, textf(FormatPrintQuestion, node->entry.name.c_str())) !=
      QuestionYes)
    return LoopContinue;
  Panel& panel = context.currentPanel();
  (void)printFile(entryPath(panel, panel.cursor));
  return LoopContinue;
}

int printSelectedFile(SelectedFilesRun& run, SelectedFile& file) {
  if (run.confirm) {
    const int answer =
        question(QuestionDefaultNo, textf(FormatPrintQuestion, file.entry.name.c_str()));
    if (answer == QuestionNo) return SelectedKept;
    if (answer != QuestionYes) return SelectedKept | SelectedStop;
  }
  switch (printFile(file.path)) {
    case PrintDone:
      return SelectedHandled;
    case PrintSourceFailed:
      return SelectedKept;
    default:
      return SelectedKept | SelectedStop;
  }
}

}  // namespace corvane
