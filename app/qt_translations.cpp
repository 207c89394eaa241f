#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace korvane {

std::unique_ptr<QTranslator> InstallQtTranslations(bool english) {
    if (english) {
        return nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    return translator;
}

}  // namespace korvane
