#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/korv_app.h"

// GoogleTest first: ctest lists the tests without the tests' environment, and listing must not
// need a display. The one application object of the process follows; its settings file goes to a
// scratch folder so that no test writes beside the test program.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    const char* platform = KORVANE_QT_PLATFORM;
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        platform = "offscreen";
    }
    qputenv("QT_QPA_PLATFORM", platform);
    korvane::CKorvApp app(argc, argv);
    QTemporaryDir scratch;
    app.settingsPath = scratch.filePath(QStringLiteral("k_r_v.ini"));
    return RUN_ALL_TESTS();
}
