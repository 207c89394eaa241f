#include "app/display_name.h"

#include <QByteArrayView>
#include <QStringDecoder>

namespace korvane {

QString DisplayName(const std::string& bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) {
        return text;
    }
    QStringDecoder shiftJis("Shift_JIS", QStringDecoder::Flag::Stateless);
    text = shiftJis.decode(view);
    return shiftJis.isValid() ? text : QString::fromLatin1(view);
}

}  // namespace korvane
