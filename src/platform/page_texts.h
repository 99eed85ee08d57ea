#pragma once
// The texts printed above and below a script table. Header and footer lines use
// print codes: TAB separates the left, centre and right parts, "\p" stands for
// the page number and "\P" for the page count.

#include <QString>
#include <array>

namespace fulgor {

// "\tPage: \p": the page number in the centre.
inline const QString kPageFooter = QStringLiteral("\tPage: \\p");

QString talsenPageHeader(const QString& talsenPath);
// The show name follows the path with nothing between them.
QString kavrinPageHeader(const QString& kavrinPath, const QString& showName);
QString sdPageHeader(const QString& sdFileCaption);

// The left, centre and right parts of a line; a part not given is empty, and
// TABs beyond the second stay in the right part.
std::array<QString, 3> splitPrintLine(const QString& line);

// `text` with "\p" replaced by `page` and "\P" by `pageCount`; any other
// backslash stays as it is.
QString expandPageCodes(const QString& text, int page, int pageCount);

}  // namespace fulgor
