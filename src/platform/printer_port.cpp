#include "platform/printer_port.h"

#include "platform/environment.h"
#include "platform/textf.h"

namespace corvane {

PrinterTarget printerTarget(int number) {
  if (number < 1 || number > PrinterPortCount) number = 1;
  PrinterTarget target;
  target.port = textf("LPT%d", number);
  const std::string variable = "CORVANE_" + target.port;
  std::string value = environmentValue(variable.c_str());
  if (value.empty()) {
#ifdef _WIN32
    target.destination = target.port;  // the device of that name
#else
    target.destination = textf("/dev/lp%d", number - 1);
#endif
    return target;
  }
  target.configured = true;
  if (value.front() == '|') {
    target.command = true;
    target.destination = value.substr(1);
  } else {
    target.destination = value;
  }
  return target;
}

std::string printerPortText(const PrinterTarget& target, FileResult failure) {
  std::string text = target.port + " (" + (target.command ? "|" : "") + target.destination;
  if (!failure) text += ": " + fileErrorText(failure);
  return text + ")";
}

}  // namespace corvane
