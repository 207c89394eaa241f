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

// Import 3D Studio and Import Other Formats: ask for a .3ds file, or a file of any kind that assimp
// reads, then for the scale, and read it through assimp in its helper process. The scale is kept
// for the next import until the program ends.
QString RunImport3dStudio(UserDialogs& dialogs, QWidget* owner);
QString RunImportOtherFormats(UserDialogs& dialogs, QWidget* owner);

// A file named on the command line, dropped on the window or chosen from the recent files: it
// goes to the reader of its kind by its content (a Metasequoia, LightWave or ruvoPatch file), as
// if the user had chosen it in that command's file dialog; a file of no kind of our own goes to
// assimp, at the scale kept from the last question.
QString RunImportFile(const QString& path, UserDialogs& dialogs, QWidget* owner);

}  // namespace korvane
