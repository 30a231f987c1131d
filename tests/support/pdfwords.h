#pragma once

#include <QList>
#include <QRectF>
#include <QString>

// The words of a PDF with their boxes in points, as pdftotext finds them.
struct PdfWord
{
    QString text;
    QRectF box;
};

inline constexpr qreal kPointsPerMm = 72 / 25.4;

QList<PdfWord> pdfWords(const QString &pdf);
// The first word with exactly this text; null when there is none.
const PdfWord *findWord(const QList<PdfWord> &words, const QString &text);
