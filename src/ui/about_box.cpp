#include "ui/about_box.h"

#include "platform/keyboard.h"
#include "ui/boxes.h"
#include "ui/help_viewer.h"
#include "ui/window.h"

namespace corvane {

void aboutBox() {
  help(AboutHelpPage);
  WindowHandle box;
  if (openInfoWindow(box, ProductTitleLine) != 0) return;
  for (KeyCode key = readKey(); key == key::ModifierEvent || key == key::IdleEvent;)
    key = readKey();
  closeInfoWindow(box);
}

}  // namespace corvane
