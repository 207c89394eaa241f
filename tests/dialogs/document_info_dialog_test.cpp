#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/dialogs/document_info_dialog.h"

namespace korvane {
namespace {

DocumentCounts Counts(std::size_t objects, std::int64_t threePoint, std::int64_t fourPoint) {
    DocumentCounts counts;
    counts.objects.resize(objects);
    counts.totals.triPatches = threePoint;
    counts.totals.quadPatches = fourPoint;
    return counts;
}

QString Field(QDialog& dialog, int id) {
    return dialog.findChild<QLineEdit*>(QString::number(id))->text();
}

TEST(DocumentInfoDialog, ShowsTheObjectsAndThePatchTotalsReadOnly) {
    const struct {
        DocumentCounts counts;
        const char* objects;
        const char* threePoint;
        const char* fourPoint;
    } cases[] = {{Counts(0, 0, 0), "0", "0", "0"},
                 {Counts(3, 2, 7), "3", "2", "7"},
                 {Counts(1, 0, 3'000'000'000), "1", "0", "3000000000"}};
    for (const auto& c : cases) {
        DocumentInfoDialog dialog(c.counts, false);
        EXPECT_EQ(Field(dialog, 1001), QString::fromLatin1(c.objects));
        EXPECT_EQ(Field(dialog, 1003), QString::fromLatin1(c.threePoint));
        EXPECT_EQ(Field(dialog, 1010), QString::fromLatin1(c.fourPoint));
        for (const int id : {1001, 1003, 1010}) {
            EXPECT_TRUE(dialog.findChild<QLineEdit*>(QString::number(id))->isReadOnly()) << id;
        }
    }
}

TEST(DocumentInfoDialog, CaptionAndLabelsFollowTheLanguage) {
    const DocumentCounts counts;
    const auto texts = [](QDialog& dialog) {
        return QStringList{dialog.windowTitle(),
                           dialog.findChild<QLabel*>(QStringLiteral("1000"))->text(),
                           dialog.findChild<QLabel*>(QStringLiteral("1002"))->text(),
                           dialog.findChild<QLabel*>(QStringLiteral("1009"))->text(),
                           dialog.findChild<QPushButton*>(QStringLiteral("1"))->text()};
    };
    DocumentInfoDialog english(counts, true);
    EXPECT_EQ(texts(english),
              (QStringList{"Document", "Object", "3point Patch", "4point Patch", "Close"}));
    DocumentInfoDialog japanese(counts, false);
    EXPECT_EQ(texts(japanese), (QStringList{"ドキュメント", "オブジェクト数", "３点パッチ数",
                                            "４点パッチ数", "Close"}));
}

}  // namespace
}  // namespace korvane
