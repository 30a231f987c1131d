#include "app/startup.h"
#include "register/pagetemplate.h"
#include "register/titletemplate.h"
#include "report/reportrenderer.h"
#include "support/pdfwords.h"
#include "support/testfolder.h"

#include <QApplication>
#include <QSet>
#include <QTest>

namespace {

// Each printed value lies inside the frame its template gives it, measured
// on the PDF the renderer writes.
void checkPrinted(const Report::Template &report, const QString &pdf, const QList<std::pair<QString, QString>> &expected)
{
    QVERIFY(Report::writePdf(pdf, report));
    const std::vector<Report::Page> pages = report.prepare();
    QCOMPARE(pages.size(), size_t(1));
    const QList<PdfWord> words = pdfWords(pdf);
    for (const auto &[object, text] : expected) {
        const Report::Item *item = nullptr;
        for (const Report::Item &i : pages[0].items)
            if (i.source->name() == object)
                item = &i;
        QVERIFY2(item, qPrintable(object));
        QCOMPARE(item->lines, QStringList{text});
        const QRectF frame(item->rect.topLeft() * kPointsPerMm, item->rect.size() * kPointsPerMm);
        for (const QString &part : text.split(u' ', Qt::SkipEmptyParts)) {
            const PdfWord *word = findWord(words, part);
            QVERIFY2(word, qPrintable(object + u' ' + part));
            QVERIFY2(frame.adjusted(-1, -1, 1, 1).contains(word->box), qPrintable(object + u' ' + part));
        }
    }
}

} // namespace

class TestPagePrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Startup::prepareApplication(*qApp); }

    void printedPageFromData();
    void titlePageFromData();
    void titlePageTableIsComplete();
};

void TestPagePrint::printedPageFromData()
{
    // Every line of every slot, the book's name and the page number, each
    // at its place; the photos where the slots put them.
    TestFolder folder;
    TPaginaRegistro page;
    std::array<QImage, TPaginaRegistro::SlotCount> photos;
    QList<std::pair<QString, QString>> expected = {{QStringLiteral("txtNome"), QStringLiteral("Soci 2025")},
                                                   {QStringLiteral("txtPagina"), QStringLiteral("Pagina 12")}};
    for (int s = 0; s < TPaginaRegistro::SlotCount; ++s) {
        const QString x = QString(TPaginaRegistro::letter(s));
        for (const TSlotPagina::Field &f : TSlotPagina::fields()) {
            const QString value = QString::fromLatin1(f.name) + x;
            page.slotTexts[size_t(s)].*f.member = QStringLiteral("  ") + value + QStringLiteral(" ");
            expected.push_back({QStringLiteral("txt") + QString::fromLatin1(f.name) + u'_' + x, value});
        }
        photos[size_t(s)] = QImage(282, 366, QImage::Format_RGB32);
        photos[size_t(s)].fill(QColor::fromHsv(s * 40, 255, 255));
    }
    auto report = PageReport::create();
    PageReport::fill(*report, {QStringLiteral(" Soci 2025 "), page, photos, QStringLiteral("12")});
    checkPrinted(*report, folder.file(QStringLiteral("pagina.pdf")), expected);
    for (int s = 0; s < TPaginaRegistro::SlotCount; ++s)
        QCOMPARE(report->findObject(QStringLiteral("imgFoto_") + TPaginaRegistro::letter(s))->picture, photos[size_t(s)]);
}

void TestPagePrint::titlePageFromData()
{
    TestFolder folder;
    TitleReport::Values values;
    QList<std::pair<QString, QString>> expected;
    const QString texts[TitleReport::ValueCount] = {
        QStringLiteral("Società Mutuo Soccorso"), QStringLiteral("Perugia, via Mazzini 3"), QStringLiteral("1/2025"),
        QStringLiteral("128"), QStringLiteral("Assistenza e cultura"), QStringLiteral("Casella postale 12"),
        QStringLiteral("94012340548"), QStringLiteral("075 123456 soci@esempio.it"), QStringLiteral("Anna Verdi"),
        QStringLiteral("Luca Neri"),
    };
    for (int i = 0; i < TitleReport::ValueCount; ++i) {
        values[size_t(i)] = u' ' + texts[i] + u' ';
        expected.push_back({QString::fromLatin1(TitleReport::values()[size_t(i)].name), texts[i]});
    }
    auto report = TitleReport::create();
    TitleReport::fill(*report, values);
    checkPrinted(*report, folder.file(QStringLiteral("frontespizio.pdf")), expected);
}

void TestPagePrint::titlePageTableIsComplete()
{
    // Each value has its text on the page and a key of its own in the file.
    const auto report = TitleReport::create();
    QSet<QString> names, keys;
    for (const TitleReport::Value &v : TitleReport::values()) {
        QVERIFY2(report->findObject(QString::fromLatin1(v.name)), v.name);
        names.insert(QString::fromLatin1(v.name));
        keys.insert(QString::fromLatin1(v.key));
    }
    QCOMPARE(names.size(), TitleReport::ValueCount);
    QCOMPARE(keys.size(), TitleReport::ValueCount);
}

QTEST_MAIN(TestPagePrint)
#include "tst_pageprint.moc"
