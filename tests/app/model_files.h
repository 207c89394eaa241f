#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <initializer_list>

namespace korvane::testing {

// A Metasequoia file with one object per name, each a flat grid of 2 x 2 quads whose middle row
// of edges continues straight across, so that Connect Curve has ends to join.
inline QByteArray GridModel(std::initializer_list<const char*> names) {
    QByteArray text("Metasequoia Document\nFormat Text Ver 1.0\n\n");
    for (const char* name : names) {
        text += QByteArray("Object \"") + name + "\" {\n\tvertex 9 {\n";
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                text +=
                    QByteArray::number(column * 10) + " " + QByteArray::number(row * 10) + " 0\n";
            }
        }
        text += "\t}\n\tface 4 {\n";
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 2; ++column) {
                const int corner = row * 3 + column;
                text += "4 V(" + QByteArray::number(corner) + " " + QByteArray::number(corner + 1) +
                        " " + QByteArray::number(corner + 4) + " " +
                        QByteArray::number(corner + 3) + ")\n";
            }
        }
        text += "\t}\n}\n";
    }
    return text + "Eof\n";
}

inline bool WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

}  // namespace korvane::testing
