#include "app/startup.h"
#include "documents/cardtemplate.h"
#include "report/reportoutput.h"
#include "report/reportrenderer.h"
#include "report/summarytemplate.h"
#include "base/fontfamily.h"
#include "report/reportpreview.h"
#include "support/pdfwords.h"
#include "support/testfolder.h"
#include "ui/modal.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPrintDialog>
#include <QAction>
#include <QFontMetricsF>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using Report::Item;
using Report::Page;

namespace {

const Item *findItem(const Page &page, const QString &name)
{
    for (const Item &item : page.items)
        if (item.source->name() == name)
            return &item;
    return nullptr;
}

int countItems(const std::vector<Page> &pages, const QString &name)
{
    int n = 0;
    for (const Page &page : pages)
        for (const Item &item : page.items)
            n += item.source->name() == name;
    return n;
}

int pdfPages(const QByteArray &pdf)
{
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page/")
               + pdf.count("/Type /Page>"));
}

// How wide `text` is in the font of `family` at `points`, from the font's own
// advances at a large size.
qreal advancePoints(const QString &family, bool bold, const QString &text, qreal points)
{
    QFont font = fontOfFamily(family);
    font.setBold(bold);
    font.setPixelSize(1000);
    font.setHintingPreference(QFont::PreferNoHinting);
    return QFontMetricsF(font).horizontalAdvance(text) / 1000 * points;
}

QStringList rows(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("Riga %1 ").arg(i, 4, 10, QChar(u'0')) + QString(300, QChar(u'x'));
    return list;
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Startup::prepareApplication(*qApp); }
    void cleanup() { Modal::setHandlerForTesting({}); }

    void cardLayout();
    void pictureFitsItsFrame_data();
    void pictureFitsItsFrame();
    void textIsLiteralAndNeverWrapped();
    void emptySummary();
    void longSummarySplitsAcrossPages();
    void pdfFromATemplate();
    void printDialogCancelledPrintsNothing();
    void printToAFile();
    void previewIsMaximisedAtFullSize();
    void summaryRowOf161CharactersPrintsWhole();
    void cardFontsPrintAtTheirPointSize();
    void textBeyondItsMemoIsLeftOut();
    void previewOffersWhatWorks();
};

void TestReport::cardLayout()
{
    auto card = CardReport::create();
    QCOMPARE(card->name(), QStringLiteral("Scheda Socio"));
    QCOMPARE(card->sheetSize(), QSizeF(210, 297));
    QCOMPARE(card->printableSize(), QSizeF(190, 277));
    for (const QString &name : CardReport::valueNames())
        QVERIFY2(card->findObject(name), qPrintable(name));
    QVERIFY(!card->findObject(QStringLiteral("nessuno")));

    card->findObject(QStringLiteral("txtCap"))->setText(QStringLiteral("06012"));
    const auto pages = card->prepare();
    QCOMPARE(pages.size(), size_t(1));
    // Positions are from the sheet's corner: the 10 mm margin added.
    const Item *cap = findItem(pages[0], QStringLiteral("txtCap"));
    QCOMPARE(cap->rect, QRectF(105.0, 182.0, 32.0, 6.0));
    QCOMPARE(cap->lines, QStringList{QStringLiteral("06012")});
    QCOMPARE(findItem(pages[0], QStringLiteral("imgLogo"))->rect, QRectF(11.0, 21.0, 188.0, 140.0));
    QCOMPARE(findItem(pages[0], QStringLiteral("txtCandidato"))->lines, QStringList{QStringLiteral("Nome")});
    // The captions are the template's own.
    QStringList captions;
    for (const Item &item : pages[0].items)
        if (item.source->name().startsWith(QStringLiteral("lblCampo")))
            captions << item.lines;
    QCOMPARE(captions.size(), 24);
    QVERIFY(captions.contains(QStringLiteral("QUOTA ASSOCIATIVA E MODALITA' DI PAGAMENTO")));
}

void TestReport::pictureFitsItsFrame_data()
{
    QTest::addColumn<QSize>("photo");
    QTest::addColumn<QRectF>("landed");
    // Frame 188 x 140 mm at (11, 21) on the sheet.
    QTest::newRow("wide fills the width") << QSize(1880, 700) << QRectF(11.0, 56.0, 188.0, 70.0);
    QTest::newRow("tall fills the height") << QSize(307, 394) << QRectF(105 - 140 * 307.0 / 394 / 2, 21.0,
                                                                         140 * 307.0 / 394, 140.0);
    QTest::newRow("small is enlarged") << QSize(47, 35) << QRectF(11.0, 21.0, 188.0, 140.0);
}

void TestReport::pictureFitsItsFrame()
{
    QFETCH(QSize, photo);
    QFETCH(QRectF, landed);
    auto card = CardReport::create();
    QImage image(photo, QImage::Format_RGB32);
    image.fill(Qt::red);
    card->findObject(QStringLiteral("imgLogo"))->picture = image;
    const auto pages = card->prepare();
    const Item *item = findItem(pages[0], QStringLiteral("imgLogo"));
    QVERIFY(qAbs(item->pictureRect.left() - landed.left()) < 0.01);
    QVERIFY(qAbs(item->pictureRect.top() - landed.top()) < 0.01);
    QVERIFY(qAbs(item->pictureRect.width() - landed.width()) < 0.01);
    QVERIFY(qAbs(item->pictureRect.height() - landed.height()) < 0.01);
}

void TestReport::textIsLiteralAndNeverWrapped()
{
    auto card = CardReport::create();
    Report::Object *note = card->findObject(QStringLiteral("txtNote"));
    note->setText(QStringLiteral("[Candidato] + [DATE] ") + QString(400, QChar(u'n')));
    const auto pages = card->prepare();
    const Item *item = findItem(pages[0], QStringLiteral("txtNote"));
    QCOMPARE(item->lines.size(), 1);
    QVERIFY(item->lines.at(0).startsWith(QStringLiteral("[Candidato] + [DATE] ")));
    QCOMPARE(item->rect.width(), 188.0);

    // Drawn, the text stays inside its frame: nothing is painted past it.
    QImage sheet(2100, 2970, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.scale(10, 10);
    Report::renderPage(painter, pages[0]);
    painter.end();
    const int right = int((item->rect.right() + 0.5) * 10);
    for (int y = int(item->rect.top() * 10); y < int(item->rect.bottom() * 10); ++y)
        QCOMPARE(sheet.pixelColor(right + 3, y), QColor(Qt::white));
    bool inked = false;
    for (int y = int(item->rect.top() * 10) + 5; y < int(item->rect.bottom() * 10) - 5 && !inked; ++y)
        for (int x = right - 40; x < right - 15 && !inked; ++x)
            inked = sheet.pixelColor(x, y) != QColor(Qt::white);
    QVERIFY(inked);
}

void TestReport::emptySummary()
{
    auto summary = SummaryReport::create();
    QCOMPARE(summary->name(), QStringLiteral("Riepilogo dati"));
    QCOMPARE(summary->orientation(), QPageLayout::Landscape);
    SummaryReport::fill(*summary, QStringLiteral("Riepilogo soci da ricontattare"), {},
                        QDateTime(QDate(2026, 3, 5), QTime(9, 7, 3)));
    QCOMPARE(summary->findBand(QStringLiteral("MasterData"))->height(), Report::unitsToMm(10));
    const auto pages = summary->prepare();
    QCOMPARE(pages.size(), size_t(1));
    QCOMPARE(findItem(pages[0], QStringLiteral("txtTitolo"))->lines,
             QStringList{QStringLiteral("Riepilogo soci da ricontattare")});
    const QString footer = findItem(pages[0], QStringLiteral("txtPagina"))->lines.value(0);
    QVERIFY(footer.startsWith(QStringLiteral("Stampa eseguita in data 05")));
    QVERIFY(footer.endsWith(QStringLiteral("2026 alle ore 09:07:03")));
    // Title at the top margin, the footer right under the empty data band.
    QCOMPARE(findItem(pages[0], QStringLiteral("txtTitolo"))->rect.top(), 11.0);
    QVERIFY(qAbs(findItem(pages[0], QStringLiteral("txtPagina"))->rect.top() - (10 + 8 + Report::unitsToMm(10) + 2))
            < 0.001);
}

void TestReport::longSummarySplitsAcrossPages()
{
    auto summary = SummaryReport::create();
    const QStringList list = rows(400);
    SummaryReport::fill(*summary, QStringLiteral("Riepilogo"), list, QDateTime::currentDateTime());
    Report::Object *memo = summary->findObject(QStringLiteral("txtRiepilogo"));
    QVERIFY(qAbs(memo->rect().height() - Report::unitsToMm(400 * 12.822)) < 0.001);

    const auto pages = summary->prepare();
    QVERIFY(pages.size() >= 7);
    QCOMPARE(countItems(pages, QStringLiteral("txtTitolo")), 1);
    QCOMPARE(countItems(pages, QStringLiteral("txtPagina")), 1);
    QVERIFY(findItem(pages.front(), QStringLiteral("txtTitolo")));
    QVERIFY(findItem(pages.back(), QStringLiteral("txtPagina")));
    QStringList printed;
    for (const Page &page : pages) {
        QCOMPARE(page.size, QSizeF(297, 210));
        for (const Item &item : page.items) {
            if (item.source->name() != QStringLiteral("txtRiepilogo"))
                continue;
            // Inside the page's printable area, one line per row.
            QVERIFY(item.rect.top() >= 10 - 1e-6);
            QVERIFY(item.rect.bottom() <= 200 + 1e-6);
            QVERIFY(qAbs(item.rect.height() - item.lines.size() * memo->lineHeight()) < 1e-6);
            printed << item.lines;
        }
    }
    QCOMPARE(printed, list);
    const Item *footer = findItem(pages.back(), QStringLiteral("txtPagina"));
    QVERIFY(footer->rect.bottom() <= 200);
}

void TestReport::pdfFromATemplate()
{
    TestFolder folder;
    auto summary = SummaryReport::create();
    SummaryReport::fill(*summary, QStringLiteral("Riepilogo"), rows(120), QDateTime::currentDateTime());
    const size_t expected = summary->prepare().size();
    QVERIFY(expected > 1);
    QVERIFY(Report::writePdf(folder.file(QStringLiteral("riepilogo.pdf")), *summary));
    const QByteArray pdf = folder.read(QStringLiteral("riepilogo.pdf"));
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(pdfPages(pdf), int(expected));
    QVERIFY(!Report::writePdf(folder.file(QStringLiteral("manca/riepilogo.pdf")), *summary));
}

void TestReport::printDialogCancelledPrintsNothing()
{
    auto card = CardReport::create();
    bool asked = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        asked = qobject_cast<QPrintDialog *>(dialog) != nullptr;
        dialog->reject();
    });
    QCOMPARE(ReportOutput::print(nullptr, *card), ReportOutput::Result::Cancelled);
    QVERIFY(asked);
}

void TestReport::printToAFile()
{
    TestFolder folder;
    auto card = CardReport::create();
    const QString path = folder.file(QStringLiteral("scheda.pdf"));
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        auto *print = qobject_cast<QPrintDialog *>(dialog);
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(path);
        dialog->done(QDialog::Accepted); // as OK does, without taking the settings from the dialog's fields
    });
    QCOMPARE(ReportOutput::print(nullptr, *card), ReportOutput::Result::Printed);
    QCOMPARE(pdfPages(folder.read(QStringLiteral("scheda.pdf"))), 1);

    Modal::setHandlerForTesting([&](QDialog *dialog) {
        auto *print = qobject_cast<QPrintDialog *>(dialog);
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(folder.file(QStringLiteral("manca/scheda.pdf")));
        dialog->done(QDialog::Accepted);
    });
    QCOMPARE(ReportOutput::print(nullptr, *card), ReportOutput::Result::Failed);
}

void TestReport::previewIsMaximisedAtFullSize()
{
    auto card = CardReport::create();
    bool shown = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        shown = true;
        QVERIFY(qobject_cast<Report::Preview *>(dialog));
        QVERIFY(dialog->windowState() & Qt::WindowMaximized);
        auto *view = dialog->findChild<QPrintPreviewWidget *>();
        QCOMPARE(view->zoomFactor(), 1.0);
        QCOMPARE(view->pageCount(), 1);
        QCOMPARE(view->orientation(), QPageLayout::Portrait);
    });
    ReportOutput::preview(nullptr, *card);
    QVERIFY(shown);
}

void TestReport::summaryRowOf161CharactersPrintsWhole()
{
    // Courier New 8 pt is 1.693 mm a character: 161 of them fill the 273 mm
    // of the summary's rows.
    TestFolder folder;
    auto summary = SummaryReport::create();
    const QString row = QString(128, QChar(u'x')) + QStringLiteral(" Città di residenza da verificare");
    QCOMPARE(row.size(), 161);
    SummaryReport::fill(*summary, QStringLiteral("Riepilogo"), {row}, QDateTime::currentDateTime());
    const QString pdf = folder.file(QStringLiteral("riepilogo.pdf"));
    QVERIFY(Report::writePdf(pdf, *summary));
    const QList<PdfWord> words = pdfWords(pdf);
    const PdfWord *first = findWord(words, QString(128, QChar(u'x')));
    const PdfWord *last = findWord(words, QStringLiteral("verificare"));
    QVERIFY(first && last);
    const qreal width = last->box.right() - first->box.left();
    QVERIFY2(qAbs(width - 161 * 0.6 * 8) < 1, qPrintable(QString::number(width))); // 772.8 pt
}

void TestReport::cardFontsPrintAtTheirPointSize()
{
    TestFolder folder;
    auto card = CardReport::create();
    card->findObject(QStringLiteral("txtCandidato"))->setText(QStringLiteral("Bartolomei"));
    card->findObject(QStringLiteral("txtCitta"))->setText(QStringLiteral("Perugia"));
    const QString pdf = folder.file(QStringLiteral("scheda.pdf"));
    QVERIFY(Report::writePdf(pdf, *card));
    const QList<PdfWord> words = pdfWords(pdf);
    const struct
    {
        QString text;
        bool bold;
        qreal points;
    } expected[] = {
        {QStringLiteral("Bartolomei"), false, 12}, // the name on the blue bar
        {QStringLiteral("Perugia"), false, 8},     // a box
        {QStringLiteral("CODICE"), true, 8},       // a box's caption
    };
    for (const auto &e : expected) {
        const PdfWord *word = findWord(words, e.text);
        QVERIFY2(word, qPrintable(e.text));
        const qreal width = advancePoints(QStringLiteral("Arial"), e.bold, e.text, e.points);
        QVERIFY2(qAbs(word->box.width() - width) < width * 0.01,
                 qPrintable(QStringLiteral("%1: %2 pt wide, %3 expected").arg(e.text).arg(word->box.width()).arg(width)));
    }
}

void TestReport::textBeyondItsMemoIsLeftOut()
{
    // What does not fit in a box is neither drawn nor in the PDF's text.
    TestFolder folder;
    auto card = CardReport::create();
    card->findObject(QStringLiteral("txtCap"))->setText(QStringLiteral("06100 Perugia centro storico zona nord"));
    const QString pdf = folder.file(QStringLiteral("scheda.pdf"));
    QVERIFY(Report::writePdf(pdf, *card));
    const QRectF frame = findItem(card->prepare().front(), QStringLiteral("txtCap"))->rect;
    const qreal textRight = (frame.right() - 1.0) * kPointsPerMm; // inside the right margin of 1 mm
    const QList<PdfWord> words = pdfWords(pdf);
    QVERIFY(findWord(words, QStringLiteral("06100")));
    QVERIFY(!findWord(words, QStringLiteral("nord")));
    for (const PdfWord &w : words)
        if (qAbs(w.box.center().y() - frame.center().y() * kPointsPerMm) < 5
            && w.box.left() >= frame.left() * kPointsPerMm)
            QVERIFY2(w.box.right() <= textRight + 0.1, qPrintable(w.text));
    for (const PdfWord &w : words)
        QVERIFY2(w.box.right() <= 210 * kPointsPerMm, qPrintable(w.text)); // nothing beyond the sheet
}

void TestReport::previewOffersWhatWorks()
{
    const auto commands = [](QDialog *dialog) {
        QStringList names;
        for (QAction *a : dialog->findChildren<QAction *>())
            if (!a->objectName().isEmpty())
                names << a->objectName();
        return names;
    };
    // One page: no page navigation.
    auto card = CardReport::create();
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        QCOMPARE(commands(dialog), QStringList({"actStampa", "actIngrandisci", "actRiduci", "actAdattaPagina",
                                                "actAdattaLarghezza", "actSchermoIntero", "actChiudi"}));
        auto *view = dialog->findChild<QPrintPreviewWidget *>();
        dialog->findChild<QAction *>(QStringLiteral("actIngrandisci"))->trigger();
        QVERIFY(view->zoomFactor() > 1.0);
        dialog->findChild<QAction *>(QStringLiteral("actRiduci"))->trigger();
        dialog->findChild<QAction *>(QStringLiteral("actRiduci"))->trigger();
        QVERIFY(view->zoomFactor() < 1.0);
        dialog->findChild<QAction *>(QStringLiteral("actAdattaPagina"))->trigger();
        QCOMPARE(view->zoomMode(), QPrintPreviewWidget::FitInView);
        dialog->findChild<QAction *>(QStringLiteral("actAdattaLarghezza"))->trigger();
        QCOMPARE(view->zoomMode(), QPrintPreviewWidget::FitToWidth);
        dialog->findChild<QAction *>(QStringLiteral("actSchermoIntero"))->trigger();
        QVERIFY(dialog->windowState() & Qt::WindowFullScreen);
        dialog->findChild<QAction *>(QStringLiteral("actSchermoIntero"))->trigger();
        QVERIFY(!(dialog->windowState() & Qt::WindowFullScreen));
        bool printAsked = false;
        Modal::setHandlerForTesting([&](QDialog *print) {
            printAsked = qobject_cast<QPrintDialog *>(print) != nullptr;
            print->reject();
        });
        dialog->findChild<QAction *>(QStringLiteral("actStampa"))->trigger();
        QVERIFY(printAsked);
        dialog->findChild<QAction *>(QStringLiteral("actChiudi"))->trigger();
        QVERIFY(!dialog->isVisible());
    });
    ReportOutput::preview(nullptr, *card);

    // Three pages: page by page, with the page number.
    auto summary = SummaryReport::create();
    SummaryReport::fill(*summary, QStringLiteral("Riepilogo"), rows(120), QDateTime::currentDateTime());
    QCOMPARE(summary->prepare().size(), size_t(3));
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        auto *view = dialog->findChild<QPrintPreviewWidget *>();
        QVERIFY(commands(dialog).contains(QStringLiteral("actPaginaSuccessiva")));
        dialog->findChild<QAction *>(QStringLiteral("actPaginaSuccessiva"))->trigger();
        QCOMPARE(view->currentPage(), 2);
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("lblPagina"))->text(), QStringLiteral("Pagina 2 di 3"));
        dialog->findChild<QAction *>(QStringLiteral("actUltimaPagina"))->trigger();
        dialog->findChild<QAction *>(QStringLiteral("actPaginaSuccessiva"))->trigger();
        QCOMPARE(view->currentPage(), 3);
        dialog->findChild<QAction *>(QStringLiteral("actPrimaPagina"))->trigger();
        QCOMPARE(view->currentPage(), 1);
    });
    ReportOutput::preview(nullptr, *summary);
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
