#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

#include "app/controls/number_edit.h"
#include "app/dialogs/connect_dialog.h"
#include "app/user_dialogs.h"

namespace korvane {
namespace {

// Once the Connect dialog is up, hands it to `act`, which answers it.
void WhenConnectDialogShows(const std::function<void(ConnectDialog&, NumberEdit&)>& act) {
    QTimer::singleShot(0, [act] {
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
        auto* dialog = qobject_cast<ConnectDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog, *dialog->findChild<NumberEdit*>(QStringLiteral("1001")));
    });
}

// The angle of the last accepted run is offered again for as long as the program runs; a
// cancelled dialog changes nothing.
TEST(QtUserDialogsTest, ConnectDialogOffersTheAngleLastUsed) {
    QtUserDialogs dialogs;
    WhenConnectDialogShows([](ConnectDialog& dialog, NumberEdit& field) {
        field.setText(QStringLiteral("150"));
        dialog.accept();
    });
    float angle = 0.0f;
    ASSERT_TRUE(dialogs.AskLimitAngle(nullptr, angle));
    EXPECT_EQ(angle, 150.0f);

    for (int reopen = 0; reopen < 2; ++reopen) {
        QString offered;
        WhenConnectDialogShows([&offered](ConnectDialog& dialog, NumberEdit& field) {
            offered = field.text();
            field.setText(QStringLiteral("5"));
            dialog.reject();
        });
        EXPECT_FALSE(dialogs.AskLimitAngle(nullptr, angle));
        EXPECT_EQ(offered, QStringLiteral("150.0000")) << reopen;
    }
}

}  // namespace
}  // namespace korvane
