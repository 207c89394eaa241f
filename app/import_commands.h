#pragma once

#include <QString>

class QWidget;

namespace korvane {

class UserDialogs;

// Import Metasequoia: asks for a .mqo file and reads it into the document, appending its objects;
// then refreshes the object tree and redraws, also after a cancel or a failure. Failures are told
// in the user's language.
void RunImportMetasequoia(UserDialogs& dialogs, QWidget* owner);

// Import LightWave: the same for a .lwo file, but the object tree is not refreshed.
void RunImportLightWave(UserDialogs& dialogs, QWidget* owner);

// A model file named on the command line goes through the import command of its kind, as if the
// user had chosen it in that command's file dialog. A file of neither kind is read as Metasequoia,
// which says that it is not.
void ImportModelFromCommandLine(const QString& path, UserDialogs& dialogs, QWidget* owner);

}  // namespace korvane
