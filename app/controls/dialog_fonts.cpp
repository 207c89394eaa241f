#include "app/controls/dialog_fonts.h"

#include <QStringList>

namespace korvane {
namespace {

QFont NinePointFont(const QStringList& families) {
    QFont font;
    font.setFamilies(families);
    font.setPointSize(9);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

QFont SansSerifDialogFont() {
    return NinePointFont({QStringLiteral("DejaVu Sans"), QStringLiteral("IPAPGothic")});
}

QFont GothicDialogFont() {
    return NinePointFont({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
}

}  // namespace korvane
