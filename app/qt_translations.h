#pragma once

#include <QTranslator>

#include <memory>

namespace korvane {

// Qt's own texts (the file dialogs, the overwrite question, the standard buttons) in Japanese,
// from Debian's qt6-translations-l10n in Qt's translations folder: the translator, installed in
// the application until it is destroyed. Nothing for English, which Qt speaks already, nor when
// the translations are not installed: Qt's texts then stay English.
std::unique_ptr<QTranslator> InstallQtTranslations(bool english);

}  // namespace korvane
