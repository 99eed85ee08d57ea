#include "platform/page_texts.h"

namespace fulgor {

QString talsenPageHeader(const QString& talsenPath) {
    return QStringLiteral("Talsen Script Table - ") + talsenPath;
}

QString kavrinPageHeader(const QString& kavrinPath, const QString& showName) {
    return QStringLiteral("Kavrin Script Table - ") + kavrinPath + showName;
}

QString sdPageHeader(const QString& sdFileCaption) {
    return QStringLiteral("SD Show Script Table - ") + sdFileCaption;
}

std::array<QString, 3> splitPrintLine(const QString& line) {
    std::array<QString, 3> parts;
    qsizetype first = line.indexOf(QLatin1Char('\t'));
    if (first < 0) {
        parts[0] = line;
        return parts;
    }
    parts[0] = line.left(first);
    qsizetype second = line.indexOf(QLatin1Char('\t'), first + 1);
    if (second < 0) {
        parts[1] = line.mid(first + 1);
        return parts;
    }
    parts[1] = line.mid(first + 1, second - first - 1);
    parts[2] = line.mid(second + 1);
    return parts;
}

QString expandPageCodes(const QString& text, int page, int pageCount) {
    QString expanded;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (text[i] == QLatin1Char('\\') &&
            (next == QLatin1Char('p') || next == QLatin1Char('P'))) {
            expanded += QString::number(next == QLatin1Char('p') ? page : pageCount);
            ++i;
        } else {
            expanded += text[i];
        }
    }
    return expanded;
}

}  // namespace fulgor
