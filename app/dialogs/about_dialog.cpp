#include "app/dialogs/about_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "app/controls/dialog_fonts.h"
#include "app/controls/dialog_template.h"
#include "korvane_version.h"

namespace korvane {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    const DialogTemplate layout(*this, GothicDialogFont(), QStringLiteral("Version Information"),
                                217, 55, false);
    // The application's icon at its natural 32 x 32 pixels; the style's information icon when
    // the application has none.
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) {
        icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    }
    auto* iconLabel = new QLabel(this);
    iconLabel->setPixmap(icon.pixmap(32, 32));
    iconLabel->setGeometry(layout.X(11), layout.Y(17), 32, 32);

    const auto addText = [&](const QString& text, int top) {
        auto* label = new QLabel(text, this);
        label->setGeometry(layout.Rect(40, top, 119, 8));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
    };
    addText(QStringLiteral("%1 Version %2")
                .arg(QString::fromLatin1(kProductName), QString::fromLatin1(kVersion)),
            10);
    addText(QStringLiteral("Polygon models to spline patches"), 25);

    auto* ok = layout.Place(new QPushButton(QStringLiteral("OK"), this), 1, 178, 7, 32, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace korvane
