#include "../members/cardwindow.h"
#include "app/startup.h"
#include "base/tmisc.h"
#include "documents/frmexpcandidati.h"
#include "app/frmcopiesicurezza.h"
#include "help/frmguida.h"
#include "help/helptexts.h"
#include "register/frmcatalogo.h"
#include "register/frmlistinoprezzi.h"
#include "ui/modal.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>

using HelpTexts::Topic;

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Startup::prepareApplication(*qApp);
        TMisc::setOpenerForTesting([this](const QString &command, const QUrl &) { m_opened << command; });
    }
    void cleanup() { Modal::setHandlerForTesting({}); }

    void topics_data();
    void topics();
    void completeGuideGathersTheTopics();
    void helpButtonsOpenTheirTopic();
    void guideLinkOpensThePdf();
    void guideIsBuiltWithEveryTopic();

private:
    QStringList m_opened;
};

void TestHelp::topics_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    const auto row = [](const Topic &t, int count, const char *first, const char *last) {
        QTest::newRow(qPrintable(t.title)) << t.title << count << QString::fromUtf8(first) << QString::fromUtf8(last);
    };
    row(HelpTexts::archive(), 12, "L'app Archivio Soci è uno schedario", "La scheda di ogni singolo socio");
    row(HelpTexts::pages(), 8, "L'app Gestione Pagine Quorvel mette a disposizione", "Il pulsante Frontespizio permette");
    row(HelpTexts::exporting(), 3, "Il pulsante Esporta archivio consente", "A questo punto è sufficiente salvare il file");
    row(HelpTexts::books(), 6, "La schermata di partenza di Quorvel con Vori", "L'icona del cestino consente");
    row(HelpTexts::importing(), 7, "Il pulsante Importa, sotto la griglia", "Il pulsante Annulla l'ultima importazione");
    row(HelpTexts::statistics(), 5, "Il pulsante Statistiche, sull'intestazione", "Anteprima e Stampa producono");
    row(HelpTexts::fees(), 5, "Il pulsante Quote, sull'intestazione", "I versamenti sono nel file Quote.sqlite");
    row(HelpTexts::backups(), 3, "Il programma, ogni giorno, prima della prima modifica", "Per riportare un file com'era");
    row(HelpTexts::guide(), 32, "Quorvel con Vori è un software rivolto ad enti associativi",
        "Quorvel con Vori è quindi lo strumento ideale");
}

void TestHelp::topics()
{
    QFETCH(QString, title);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    const Topic topics[] = {HelpTexts::archive(), HelpTexts::pages(), HelpTexts::exporting(), HelpTexts::books(),
                            HelpTexts::importing(), HelpTexts::statistics(), HelpTexts::fees(),
                            HelpTexts::backups(), HelpTexts::guide()};
    const Topic *topic = std::find_if(std::begin(topics), std::end(topics), [&](const Topic &t) { return t.title == title; });
    QCOMPARE(topic->paragraphs.size(), count);
    QVERIFY(topic->paragraphs.first().startsWith(first));
    QVERIFY(topic->paragraphs.last().startsWith(last));
    // One empty line between paragraphs, nothing before the first or after the last.
    const QString text = topic->text();
    QVERIFY(text.startsWith(first));
    QCOMPARE(text.count(QStringLiteral("\r\n\r\n")), count - 1);
    QVERIFY(!text.contains(QStringLiteral("\r\n\r\n\r\n")));
    QVERIFY(!text.endsWith(u'\n'));
}

void TestHelp::completeGuideGathersTheTopics()
{
    const QStringList guide = HelpTexts::guide().paragraphs;
    QCOMPARE(guide.mid(2, 6), HelpTexts::books().paragraphs);
    QCOMPARE(guide.mid(8, 8), HelpTexts::pages().paragraphs);
    QCOMPARE(guide.mid(16, 12), HelpTexts::archive().paragraphs);
    QVERIFY(guide.at(1).startsWith(QStringLiteral("Come è noto, il Quorvel è il registro")));
    QVERIFY(guide.at(28).startsWith(QStringLiteral("Quorvel con Vori può essere utilizzato anche in una rete locale")));
    QVERIFY(guide.at(29).startsWith(QStringLiteral("L'accesso al software è protetto da una password")));
    QVERIFY(guide.at(29).contains(QStringLiteral("\"lucernaoctavia\"")));
    QVERIFY(guide.at(30).startsWith(QStringLiteral("Quorvel con Vori può essere utilizzato anche su chiavetta USB")));
    QVERIFY(guide.at(31).startsWith(QStringLiteral("Quorvel con Vori è quindi lo strumento ideale")));
    // The daily copies are told in their own topic, not in this one.
    for (const QString &paragraph : guide)
        QVERIFY(!paragraph.contains(QStringLiteral("Backup")));
}

void TestHelp::helpButtonsOpenTheirTopic()
{
    QStringList titles;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        auto *help = qobject_cast<TfrmGuida *>(dialog);
        QVERIFY(help);
        QCOMPARE(help->windowTitle(), QStringLiteral(" Guida all'utilizzo del software"));
        QCOMPARE(help->size(), QSize(670, 572));
        const QString title = help->findChild<QLabel *>(QStringLiteral("lblTitolo"))->text();
        titles << title;
        const QString text = help->findChild<QPlainTextEdit *>(QStringLiteral("txtGuida"))->toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("L'")) || text.startsWith(QStringLiteral("La ")) || text.startsWith(QStringLiteral("Il ")));
    });
    CardWindow card;
    card.click(QStringLiteral("cmdGuida"));
    TfrmListinoPrezzi pages;
    QTest::mouseClick(pages.findChild<QWidget *>(QStringLiteral("cmdGuida")), Qt::LeftButton);
    TfrmExpCandidati exporting;
    QTest::mouseClick(exporting.findChild<QWidget *>(QStringLiteral("cmdGuida")), Qt::LeftButton);
    TfrmCreaCatalogo create;
    QTest::mouseClick(create.findChild<QWidget *>(QStringLiteral("imgGuida")), Qt::LeftButton);
    TfrmApriCatalogo open;
    QTest::mouseClick(open.findChild<QWidget *>(QStringLiteral("imgGuida")), Qt::LeftButton);
    TfrmCopieSicurezza backups;
    QTest::mouseClick(backups.findChild<QWidget *>(QStringLiteral("cmdGuida")), Qt::LeftButton);
    QCOMPARE(titles, QStringList({"App Archivio Soci", "App Gestione Pagine Quorvel", "Esportazione archivio soci in Excel",
                                  "Creazione e apertura Quorvel", "Creazione e apertura Quorvel", "Copie di sicurezza"}));
}

void TestHelp::guideLinkOpensThePdf()
{
    TestFolder folder;
    m_opened.clear();
    TfrmGuida help;
    help.setTopic(HelpTexts::guide());
    QTest::mouseClick(help.findChild<QWidget *>(QStringLiteral("imgPDF")), Qt::LeftButton);
    QTest::mouseClick(help.findChild<QWidget *>(QStringLiteral("lnkWeb")), Qt::LeftButton);
    const QString expected = u'"' + QDir::toNativeSeparators(folder.path()) + QDir::separator() + QStringLiteral("Guida.pdf\"");
    QCOMPARE(m_opened, QStringList({expected, expected}));
    QCOMPARE(help.findChild<QLabel *>(QStringLiteral("lblTitolo"))->text(), QStringLiteral("Uno sguardo a Quorvel con Vori"));
}

void TestHelp::guideIsBuiltWithEveryTopic()
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral(QUORVEL_GUIDE_PDF), QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(30000));
    QCOMPARE(pdftotext.exitCode(), 0);
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (const Topic &t : {HelpTexts::guide(), HelpTexts::books(), HelpTexts::pages(), HelpTexts::archive(),
                           HelpTexts::exporting(), HelpTexts::importing(), HelpTexts::statistics(),
                           HelpTexts::fees(), HelpTexts::backups()})
        QVERIFY2(text.contains(t.title), qPrintable(t.title));
    QVERIFY(text.contains(QStringLiteral("lucernaoctavia")));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
