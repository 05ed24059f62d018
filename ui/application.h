#pragma once

namespace vorta::ui {

// Names the running application "Vorta". Call once the QApplication exists, before any window
// is made. No display name is set: Qt's X11 platform appends it to every window's caption.
// A message box without a title then shows the application name, as an untitled box should.
void setUpApplication();

}  // namespace vorta::ui
