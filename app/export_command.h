#pragma once

class QWidget;

namespace korvane {

class UserDialogs;

// Export ruvoPatch: asks for a .rvp file and writes every object of the document to it. A file
// that cannot be created or written is reported in the user's language with its name and the
// system's reason; a cancel does nothing.
void RunExportRuvoPatch(UserDialogs& dialogs, QWidget* owner);

}  // namespace korvane
