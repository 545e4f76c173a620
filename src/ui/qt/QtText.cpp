#include "ui/qt/QtText.h"

#include "text/CodePage.h"

namespace vedozer::qtui {

namespace {

QString lines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

}  // namespace

QString fromCodePage(const std::string& text) { return lines(QString::fromStdString(text::cp1252ToUtf8(text))); }

std::string toCodePage(const QString& text) { return text::utf8ToCp1252(text.toStdString()); }

QString fromUtf8(const std::string& text) { return lines(QString::fromStdString(text)); }

std::string toUtf8(const QString& text) { return text.toStdString(); }

QString withoutMnemonic(const QString& caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QChar('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QChar('&')) out += QChar('&'), ++i;
            continue;
        }
        out += caption[i];
    }
    return out;
}

}  // namespace vedozer::qtui
