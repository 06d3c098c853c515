#include "screens/core_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace livrano {

QString fromCore(std::string_view text) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

std::optional<std::string> toCore(const QString& text) {
    QStringEncoder encoder("windows-1252");
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes.toStdString();
}

QString unencodableText(const QString& what) {
    return QStringLiteral(
               "The %1 holds a character outside the Windows-1252 code page that the simulator reads; "
               "please type another")
        .arg(what);
}

} // namespace livrano
