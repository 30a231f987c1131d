#include "app/startup.h"
#include "base/tmisc.h"
#include "base/recordfile.h"
#include "cardwindow.h"
#include "members/frmallegacartella.h"
#include "members/memberarchive.h"
#include "support/filecapabilities.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "support/windowtest.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

namespace {

// Runs `work` on the attachments window opened from the card.
void withAttachments(CardWindow &card, const std::function<void(TfrmAllegaCartella *)> &work)
{
    bool opened = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        opened = true;
        auto *window = qobject_cast<TfrmAllegaCartella *>(dialog);
        QVERIFY(window);
        work(window);
    });
    card.click(QStringLiteral("cmdFile"));
    Modal::setHandlerForTesting({});
    QVERIFY(opened);
}

QPushButton *button(QWidget *window, const QString &name)
{
    return window->findChild<QPushButton *>(name);
}

} // namespace

class TestAttachments : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpCase(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void emptyCardOpensThreeEmptySlots();
    void attachCopiesIntoTheFolder();
    void sameNameAsksBeforeReplacing_data();
    void sameNameAsksBeforeReplacing();
    void refusedChoices_data();
    void refusedChoices();
    void failedCopyKeepsTheEarlierCopy_data();
    void failedCopyKeepsTheEarlierCopy();
    void eraserAndOpen();
    void applyReachesTheCardAndTheSavedRecord();
    void cancelLeavesTheCard();

};

void TestAttachments::emptyCardOpensThreeEmptySlots()
{
    CardWindow card;
    withAttachments(card, [&](TfrmAllegaCartella *w) {
        QCOMPARE(w->windowTitle(), QStringLiteral(" Allega file"));
        QCOMPARE(w->size(), QSize(634, 534));
        QCOMPARE(w->memory()->text(), QStringLiteral("candidati"));
        for (int n = 0; n < 3; ++n) {
            QCOMPARE(w->fileEdit(n)->text(), QString());
            QVERIFY(w->fileEdit(n)->isReadOnly());
            QVERIFY(!button(w, QStringLiteral("btnApri0%1").arg(n + 1))->isEnabled());
        }
    });
}

void TestAttachments::attachCopiesIntoTheFolder()
{
    CardWindow card;
    card.folder.write(QStringLiteral("scansione documento.pdf"), "%PDF documento");
    // The longest name the card holds: 250 characters, accents included.
    const QString longest = QStringLiteral("verbale è ") + QString(236, u'a') + QStringLiteral(".pdf");
    card.folder.write(longest, "%PDF verbale");
    FileDialogs::Script dialogs;
    dialogs.answerNext(card.folder.file(QStringLiteral("scansione documento.pdf")));
    dialogs.cancelNext();
    dialogs.answerNext(card.folder.file(longest));
    withAttachments(card, [&](TfrmAllegaCartella *w) {
        QTest::mouseClick(button(w, QStringLiteral("btnSfoglia02")), Qt::LeftButton);
        QCOMPARE(dialogs.requests().at(0).title, QStringLiteral("Selezionare il file da allegare:"));
        QCOMPARE(w->fileEdit(1)->text(), QStringLiteral("scansione documento.pdf"));
        QVERIFY(button(w, QStringLiteral("btnApri02"))->isEnabled());
        QTest::mouseClick(button(w, QStringLiteral("btnSfoglia03")), Qt::LeftButton); // cancelled: nothing changes
        QCOMPARE(w->fileEdit(2)->text(), QString());
        QTest::mouseClick(button(w, QStringLiteral("btnSfoglia01")), Qt::LeftButton);
        QCOMPARE(w->fileEdit(0)->text(), longest);
    });
    QCOMPARE(card.folder.read(QStringLiteral("Documenti_Allegati/scansione documento.pdf")), QByteArray("%PDF documento"));
    QCOMPARE(card.folder.read(QStringLiteral("Documenti_Allegati/") + longest), QByteArray("%PDF verbale"));
    QVERIFY(m_messages->shown().isEmpty());
}

void TestAttachments::sameNameAsksBeforeReplacing_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes replaces the copy") << true;
    QTest::newRow("No keeps the copy") << false;
}

void TestAttachments::sameNameAsksBeforeReplacing()
{
    QFETCH(bool, yes);
    CardWindow card;
    QDir(card.folder.path()).mkdir(QStringLiteral("Documenti_Allegati"));
    card.folder.write(QStringLiteral("Documenti_Allegati/modulo.pdf"), "vecchio");
    // Another member's attachment, whatever its name, is never touched.
    card.folder.write(QStringLiteral("Documenti_Allegati/modulo.pdf.copia"), "di un altro socio");
    card.folder.write(QStringLiteral("modulo.pdf"), "nuovo");
    FileDialogs::Script dialogs;
    dialogs.answerNext(card.folder.file(QStringLiteral("modulo.pdf")));
    m_messages->answerNext(yes);
    withAttachments(card, [&](TfrmAllegaCartella *w) {
        QTest::mouseClick(button(w, QStringLiteral("btnSfoglia01")), Qt::LeftButton);
        QCOMPARE(w->fileEdit(0)->text(), QStringLiteral("modulo.pdf"));
        QVERIFY(button(w, QStringLiteral("btnApri01"))->isEnabled());
    });
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Messages::Kind::Question);
    QVERIFY(m_messages->shown().at(0).noByDefault);
    QCOMPARE(m_messages->shown().at(0).text,
             QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso "
                            "nome.\r\n\r\nSi vuole sovrascrivere il file esistente?"));
    QCOMPARE(card.folder.read(QStringLiteral("Documenti_Allegati/modulo.pdf")),
             yes ? QByteArray("nuovo") : QByteArray("vecchio"));
    QCOMPARE(card.folder.read(QStringLiteral("Documenti_Allegati/modulo.pdf.copia")), QByteArray("di un altro socio"));
    QCOMPARE(QDir(card.folder.file(QStringLiteral("Documenti_Allegati"))).entryList(QDir::Files),
             QStringList({QStringLiteral("modulo.pdf"), QStringLiteral("modulo.pdf.copia")}));
}

void TestAttachments::refusedChoices_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    const QString notADocument =
        QStringLiteral("Attenzione: il file selezionato non può essere allegato perché non è un documento.");
    const QString badName = QStringLiteral("Attenzione: il nome del file selezionato è troppo lungo o contiene "
                                           "caratteri non ammessi.\n\r\n\rRinominare il file prima di allegarlo.");
    QTest::newRow("named pipe") << "tubo" << notADocument;
    QTest::newRow("folder") << "cartella" << notADocument;
    QTest::newRow("outside the code page") << "Ελλάδα.pdf" << badName;
    QTest::newRow("longer than the card holds") << QString(247, u'a') + QStringLiteral(".pdf") << badName;
    QTest::newRow("refused on other systems") << "verbale 12:30.pdf" << badName;
    QTest::newRow("device name") << "con.txt" << badName;
    QTest::newRow("final blank") << "nota.pdf " << badName;
}

void TestAttachments::refusedChoices()
{
    // Refused at once, with a message: the slot keeps what it had and
    // nothing is copied.
    QFETCH(QString, name);
    QFETCH(QString, message);
    CardWindow card;
    const QString chosen = card.folder.file(name);
    if (name == QStringLiteral("tubo"))
        QCOMPARE(mkfifo(QFile::encodeName(chosen).constData(), 0600), 0);
    else if (name == QStringLiteral("cartella"))
        QVERIFY(QDir(card.folder.path()).mkdir(name));
    else
        card.folder.write(name, "contenuto");
    card.window.setAttachments({{QStringLiteral("patente.jpg"), QString(), QString()}, {}});
    FileDialogs::Script dialogs;
    dialogs.answerNext(chosen);
    withAttachments(card, [&](TfrmAllegaCartella *w) {
        QTest::mouseClick(button(w, QStringLiteral("btnSfoglia01")), Qt::LeftButton);
        QCOMPARE(w->fileEdit(0)->text(), QStringLiteral("patente.jpg"));
    });
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(m_messages->shown().at(0).kind, Messages::Kind::Warning);
    QVERIFY(QDir(card.folder.file(QStringLiteral("Documenti_Allegati"))).entryList(QDir::Files).isEmpty());
}

void TestAttachments::failedCopyKeepsTheEarlierCopy_data()
{
    FailingWrites::addRows();
}

void TestAttachments::failedCopyKeepsTheEarlierCopy()
{
    QFETCH(FailingWrites::Kind, failure);
    CardWindow card;
    const QString folder = card.folder.file(QStringLiteral("Documenti_Allegati"));
    QDir(card.folder.path()).mkdir(QStringLiteral("Documenti_Allegati"));
    card.folder.write(QStringLiteral("Documenti_Allegati/modulo.pdf"), "la copia allegata in precedenza");
    card.folder.write(QStringLiteral("modulo.pdf"), "il documento nuovo, che non entra nel disco");
    card.window.setAttachments({{QStringLiteral("patente.jpg"), QString(), QString()}, {}});
    FileDialogs::Script dialogs;
    dialogs.answerNext(card.folder.file(QStringLiteral("modulo.pdf")));
    m_messages->answerNext(true);
    withAttachments(card, [&](TfrmAllegaCartella *w) {
        FailingWrites failing(folder, failure);
        QTest::mouseClick(button(w, QStringLiteral("btnSfoglia01")), Qt::LeftButton);
        QCOMPARE(w->fileEdit(0)->text(), QStringLiteral("patente.jpg"));
    });
    QCOMPARE(m_messages->shown().size(), 2);
    QCOMPARE(m_messages->shown().at(1).kind, Messages::Kind::Warning);
    QCOMPARE(m_messages->shown().at(1).text,
             QStringLiteral("Attenzione: non è stato possibile copiare il file nella cartella dei documenti allegati."
                            "\n\r\n\rAccertarsi che il disco non sia pieno e di possedere i privilegi di scrittura "
                            "nella cartella di installazione del programma."));
    QCOMPARE(card.folder.read(QStringLiteral("Documenti_Allegati/modulo.pdf")),
             QByteArray("la copia allegata in precedenza"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("modulo.pdf")});
}

void TestAttachments::eraserAndOpen()
{
    CardWindow card;
    card.window.setAttachments({{QStringLiteral(" patente.jpg "), QStringLiteral("../../bin/programma"), QString()},
                                {QStringLiteral("Patente di guida"), QString(), QString()}});
    withAttachments(card, [&](TfrmAllegaCartella *w) {
        QCOMPARE(w->fileEdit(0)->text(), QStringLiteral("patente.jpg"));
        QTest::mouseClick(button(w, QStringLiteral("btnApri01")), Qt::LeftButton);
        QTest::mouseClick(button(w, QStringLiteral("btnApri02")), Qt::LeftButton); // not a plain name: nothing
        QCOMPARE(m_opened, QStringList{u'"' + QDir::toNativeSeparators(card.folder.path()) + QDir::separator()
                                       + QStringLiteral("Documenti_Allegati") + QDir::separator()
                                       + QStringLiteral("patente.jpg\"")});
        QTest::mouseClick(w->findChild<QWidget *>(QStringLiteral("imgCancella01")), Qt::LeftButton);
        QCOMPARE(w->fileEdit(0)->text(), QString());
        QVERIFY(!button(w, QStringLiteral("btnApri01"))->isEnabled());
        QCOMPARE(w->descriptionEdit(0)->text(), QStringLiteral("Patente di guida"));
        QTest::mouseClick(button(w, QStringLiteral("btnApplica")), Qt::LeftButton);
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblFile01"))->text(), QString());
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblDesc01"))->text(), QStringLiteral("Patente di guida"));
}

void TestAttachments::applyReachesTheCardAndTheSavedRecord()
{
    CardWindow card;
    card.folder.write(QStringLiteral("domanda.pdf"), "x");
    FileDialogs::Script dialogs;
    dialogs.answerNext(card.folder.file(QStringLiteral("domanda.pdf")));
    withAttachments(card, [&](TfrmAllegaCartella *w) {
        QTest::mouseClick(button(w, QStringLiteral("btnSfoglia03")), Qt::LeftButton);
        w->descriptionEdit(2)->setText(QStringLiteral("  Domanda di ammissione  "));
        QTest::mouseClick(button(w, QStringLiteral("btnApplica")), Qt::LeftButton);
    });
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblFile03"))->text(), QStringLiteral("domanda.pdf"));
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblDesc03"))->text(), QStringLiteral("Domanda di ammissione"));
    card.fill(QStringLiteral("Rossi Mario"));
    card.click(QStringLiteral("cmdSalva"));
    const auto saved = MemberArchive().read(0);
    QVERIFY(saved);
    QCOMPARE(saved->File03, QStringLiteral("domanda.pdf"));
    QCOMPARE(saved->Desc03, QStringLiteral("Domanda di ammissione"));
}

void TestAttachments::cancelLeavesTheCard()
{
    CardWindow card;
    card.window.setAttachments({{}, {QString(), QStringLiteral("prima"), QString()}});
    withAttachments(card, [&](TfrmAllegaCartella *w) {
        w->descriptionEdit(1)->setText(QStringLiteral("dopo"));
        QTest::mouseClick(button(w, QStringLiteral("btnAnnulla")), Qt::LeftButton);
    });
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblDesc02"))->text(), QStringLiteral("prima"));
}

QTEST_MAIN(TestAttachments)
#include "tst_attachments.moc"
