#include "../members/cardwindow.h"
#include "app/startup.h"
#include "documents/cardoutputwindow.h"
#include "report/reportpreview.h"
#include "report/reporttemplate.h"
#include "ui/messages.h"
#include "ui/modal.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

using Messages::Kind;

namespace {

// What the print dialog should do when the card asks for it.
enum class Printer { Cancel, ToFile, Broken };

} // namespace

class TestCardPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Startup::prepareApplication(*qApp); }
    void init() { m_messages = new Messages::Recorder; }
    void cleanup()
    {
        delete m_messages;
        Modal::setHandlerForTesting({});
    }

    void printsTheCardAsOnScreen();
    void cancelledPrintIsSilent();
    void failedPrintAdvisesASmallerPhoto();
    void previewShowsTheCard();
    void cancelButtonPrintsNothing();

private:
    // Opens the print window from the card and drives it; returns the texts and
    // picture the card's template was filled with.
    void print(CardWindow &card, Printer printer);

    Messages::Recorder *m_messages = nullptr;
    QStringList m_values;
    QImage m_photo;
    int m_printDialogs = 0;
};

void TestCardPrint::print(CardWindow &card, Printer printer)
{
    m_values.clear();
    m_printDialogs = 0;
    const QString pdf = card.folder.file(printer == Printer::Broken ? QStringLiteral("manca/scheda.pdf")
                                                                     : QStringLiteral("scheda.pdf"));
    Modal::setHandlerForTesting([&, printer, pdf](QDialog *dialog) {
        if (auto *printDialog = qobject_cast<QPrintDialog *>(dialog)) {
            ++m_printDialogs;
            if (printer == Printer::Cancel)
                return dialog->reject();
            printDialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            printDialog->printer()->setOutputFileName(pdf);
            return dialog->done(QDialog::Accepted);
        }
        auto *window = qobject_cast<TfrmStampaCandidati *>(dialog);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral(" Stampa documento"));
        QCOMPARE(window->size(), QSize(364, 287));
        QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("btnStampa"))->text(), QStringLiteral("Stampa"));
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("btnStampa")), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        for (const char *name : {"txtCandidato", "txtSesso", "txtCap", "txtNote", "txtPartitaIva"})
            m_values << window->report().findObject(QString::fromLatin1(name))->lines().join(u'|');
        m_photo = window->report().findObject(QStringLiteral("imgLogo"))->picture;
    });
    card.click(QStringLiteral("cmdStampa"));
}

void TestCardPrint::printsTheCardAsOnScreen()
{
    CardWindow card;
    card.edit(QStringLiteral("txtCandidato"))->setText(QStringLiteral("  Rossi [Mario]  "));
    card.edit(QStringLiteral("txtSesso"))->setText(QStringLiteral("M"));
    card.edit(QStringLiteral("txtCap"))->setText(QStringLiteral("   "));
    card.edit(QStringLiteral("txtNote"))->setText(QStringLiteral("non salvata"));
    QImage photo(640, 200, QImage::Format_RGB32);
    photo.fill(Qt::green);
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(photo);

    print(card, Printer::ToFile);
    QCOMPARE(m_printDialogs, 1);
    QCOMPARE(m_values, QStringList({"Rossi [Mario]", "M", "", "non salvata", ""}));
    QCOMPARE(m_photo.size(), QSize(640, 200));
    QVERIFY(card.folder.read(QStringLiteral("scheda.pdf")).startsWith("%PDF"));
    QVERIFY(m_messages->shown().isEmpty());
    QCOMPARE(card.edit(QStringLiteral("txtCandidato"))->text(), QStringLiteral("  Rossi [Mario]  "));
}

void TestCardPrint::cancelledPrintIsSilent()
{
    CardWindow card;
    print(card, Printer::Cancel);
    QCOMPARE(m_printDialogs, 1);
    QVERIFY(m_messages->shown().isEmpty());
    QCOMPARE(m_photo.size(), QSize(307, 394)); // the card's placeholder
}

void TestCardPrint::failedPrintAdvisesASmallerPhoto()
{
    CardWindow card;
    print(card, Printer::Broken);
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Warning);
    QCOMPARE(m_messages->shown().at(0).text,
             QStringLiteral("Attenzione: la stampa non è andata a buon fine.\n\r\n\r"
                            "Si consiglia di ridurre le dimensioni della foto."));
}

void TestCardPrint::previewShowsTheCard()
{
    CardWindow card;
    card.edit(QStringLiteral("txtCitta"))->setText(QStringLiteral("Città di Castello"));
    bool previewed = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        if (auto *preview = qobject_cast<Report::Preview *>(dialog)) {
            previewed = true;
            QVERIFY(preview->windowState() & Qt::WindowMaximized);
            return;
        }
        auto *window = qobject_cast<TfrmAnteprimaCandidati *>(dialog);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral(" Anteprima di stampa"));
        QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("btnStampa"))->text(),
                 QStringLiteral("Mostra anteprima"));
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("btnStampa")), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->report().findObject(QStringLiteral("txtCitta"))->lines(),
                 QStringList{QStringLiteral("Città di Castello")});
    });
    card.click(QStringLiteral("cmdAnteprima"));
    QVERIFY(previewed);
    QVERIFY(m_messages->shown().isEmpty());
}

void TestCardPrint::cancelButtonPrintsNothing()
{
    CardWindow card;
    int dialogs = 0;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        ++dialogs;
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnAnnulla")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    });
    card.click(QStringLiteral("cmdStampa"));
    card.click(QStringLiteral("cmdAnteprima"));
    QCOMPARE(dialogs, 2);
    QVERIFY(m_messages->shown().isEmpty());
}

QTEST_MAIN(TestCardPrint)
#include "tst_cardprint.moc"
