#include "support/pdfwords.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

// The word as printed: pdftotext writes XML entities for & < > ' ".
QString unescaped(QString text)
{
    return text.replace(QStringLiteral("&apos;"), QStringLiteral("'"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

} // namespace

QList<PdfWord> pdfWords(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
        qFatal("pdftotext could not read %s", qPrintable(pdf));
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<PdfWord> words;
    auto it = word.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput()));
    while (it.hasNext()) {
        const auto m = it.next();
        words.push_back({unescaped(m.captured(5)), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                               QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return words;
}

const PdfWord *findWord(const QList<PdfWord> &words, const QString &text)
{
    for (const PdfWord &w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}
