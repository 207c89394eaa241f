#pragma once

#include <QString>

class QWidget;

namespace korvane {

class UserDialogs;

// Each import reads a model file into the document, appending its objects, tells failures and
// what was left out in the user's language, then refreshes the object tree and redraws, also
// after a cancel or a failure. Each returns the file it imported, or an empty text when nothing
// was read (cancelled, unreadable, not a model).

// Import Metasequoia: asks for a .mqo or .mqoz file.
QString RunImportMetasequoia(UserDialogs& dialogs, QWidget* owner);

// Import LightWave: asks for a .lwo file.
QString RunImportLightWave(UserDialogs& dialogs, QWidget* owner);

// A file named on the command line, dropped on the window or chosen from the recent files: it
// goes to the reader of its kind by its content, as if the user had chosen it in that command's
// file dialog. A file of neither kind goes to the Metasequoia reader, which says that it is not.
QString ImportModelFile(const QString& path, UserDialogs& dialogs, QWidget* owner);

}  // namespace korvane
