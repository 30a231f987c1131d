#include "../members/cardwindow.h"
#include "app/startup.h"
#include "base/tmisc.h"
#include "base/clock.h"
#include "base/recordfile.h"
#include "documents/frmprivacy.h"
#include "documents/privacydocument.h"
#include "support/filecapabilities.h"
#include "support/typing.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "support/windowtest.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestPrivacy : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        setUpCase();
        Clock::setForTesting(QDateTime(QDate(2026, 3, 7), QTime(10, 0)));
    }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void piecesWithEmptyFields();
    void valuesAreTrimmedEscapedAndSingleBytes();
    void everyValueIsEscaped();
    void windowTakesTheCardAndKeepsTheAssociation();
    void createTheDocument_data();
    void createTheDocument();
    void documentThatCannotBeWritten_data();
    void documentThatCannotBeWritten();
    void enterGoesThroughTheProvinceBoxes();
    void closingInAnyWayKeepsTheAssociation();

};

void TestPrivacy::piecesWithEmptyFields()
{
    const QStringList pieces = PrivacyDocument::pieces({});
    QCOMPARE(pieces.size(), 50);
    // The six long texts, each as long as the form wants it.
    const int lengths[][2] = {{10, 801}, {16, 1428}, {25, 948}, {29, 612}, {30, 947}, {31, 686}};
    for (const auto &[piece, length] : lengths)
        QCOMPARE(pieces.at(piece - 1).size(), length);
    QVERIFY(pieces.at(9).startsWith(QStringLiteral("\\par \\b0 I dati vengono trattati in relazione alle esigenze contrattuali")));
    QVERIFY(pieces.at(30).endsWith(QStringLiteral("il Socio potrà rivolgersi al Titolare del trattamento.")));
    QCOMPARE(pieces.at(4), QStringLiteral("\\par ") + QString(54, u'_'));
    QCOMPARE(pieces.at(46), QStringLiteral("\\par ") + QString(31, u'_'));
    QCOMPARE(pieces.at(49), QStringLiteral("\\par }"));
    // Empty values leave their bold slots empty and the words around them.
    QVERIFY(pieces.at(6).contains(QStringLiteral(" sede a \\b \\b0  (\\b \\b0 ), CAP: \\b \\b0 , in \\b ")));
    QCOMPARE(pieces.at(42), QStringLiteral("\\par \\b \\b0 , \\b \\b0 ."));
    const QByteArray rtf = PrivacyDocument::rtf({});
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1040{\\fonttbl"));
    QVERIFY(!rtf.contains('\n') && !rtf.contains('\r'));
}

void TestPrivacy::valuesAreTrimmedEscapedAndSingleBytes()
{
    PrivacyDocument::Values values;
    values.association = QStringLiteral("  Circolo {Amici} \\ Città  ");
    values.member = QStringLiteral("Rossi Mario");
    values.place = QStringLiteral("Perugia");
    values.date = QStringLiteral("07/03/2026");
    const QStringList pieces = PrivacyDocument::pieces(values);
    QVERIFY(pieces.at(6).contains(QStringLiteral("Associazione \\b Circolo \\{Amici\\} \\\\ Città\\b0 , con sede a")));
    QVERIFY(pieces.at(6).contains(QStringLiteral("forniti dal Socio Sig. \\b Rossi Mario\\b0 , nato a")));
    QVERIFY(pieces.at(34).startsWith(QStringLiteral("\\par \\pard\\qj\\b0 Io sottoscritto \\b Rossi Mario\\b0 , nato a")));
    QCOMPARE(pieces.at(42), QStringLiteral("\\par \\b Perugia\\b0 , \\b 07/03/2026\\b0 ."));
    const QByteArray rtf = PrivacyDocument::rtf(values);
    QVERIFY(rtf.contains("\\b Circolo \\{Amici\\} \\\\ Citt\xE0\\b0 ")); // à as one byte
    QVERIFY(rtf.contains("nonch\xE9 Responsabile")); // a letter the piece holds itself
    QVERIFY(rtf.contains("finalit\\'e0 e modalit\\'e0")); // escapes the pieces hold
}

void TestPrivacy::windowTakesTheCardAndKeepsTheAssociation()
{
    CardWindow card;
    card.fill(QStringLiteral("  Rossi Mario  "));
    card.edit(QStringLiteral("txtCel"))->setText(QStringLiteral("333 1234567"));
    card.edit(QStringLiteral("txtTel"))->setText(QStringLiteral("075 111"));
    const auto open = [&](const std::function<void(TfrmPrivacy *)> &work) {
        Modal::setHandlerForTesting([&](QDialog *dialog) {
            auto *window = qobject_cast<TfrmPrivacy *>(dialog);
            QVERIFY(window);
            work(window);
        });
        card.click(QStringLiteral("cmdPrivacy"));
        Modal::setHandlerForTesting({});
    };
    open([&](TfrmPrivacy *w) {
        QCOMPARE(w->windowTitle(), QStringLiteral(" Esporta e stampa Modulo Privacy"));
        QCOMPARE(w->size(), QSize(553, 611));
        QCOMPARE(w->field(QStringLiteral("txtPaziente"))->text(), QStringLiteral("Rossi Mario"));
        QCOMPARE(w->field(QStringLiteral("txtRecapito"))->text(), QStringLiteral("333 1234567")); // the mobile
        QCOMPARE(w->field(QStringLiteral("txtCodFisc"))->text(), QStringLiteral("RSSMRA85T10A562S"));
        QCOMPARE(w->field(QStringLiteral("txtData"))->text(), QStringLiteral("07/03/2026"));
        QCOMPARE(w->field(QStringLiteral("txtProvNasc"))->text(), QString());
        QCOMPARE(w->field(QStringLiteral("txtStudioDent"))->text(), QString()); // no INI file yet
        QCOMPARE(w->findChild<QComboBox *>(QStringLiteral("txtProvRes"))->count(), 112);
        typeText(w->field(QStringLiteral("txtProvRes")), QStringLiteral("rm"));
        QCOMPARE(w->field(QStringLiteral("txtProvRes"))->text(), QStringLiteral("RM"));
        typeText(w->field(QStringLiteral("txtIvaDent")), QStringLiteral("01a2"));
        QCOMPARE(w->field(QStringLiteral("txtIvaDent"))->text(), QStringLiteral("012"));
        w->field(QStringLiteral("txtStudioDent"))->setText(QStringLiteral("  Circolo Amici  "));
        w->field(QStringLiteral("txtLuogo"))->setText(QStringLiteral("Perugia"));
        w->field(QStringLiteral("txtPaziente"))->setText(QStringLiteral("non salvato"));
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("btnChiudi")), Qt::LeftButton);
        QVERIFY(!w->isVisible());
    });
    const QByteArray ini = card.folder.read(TfrmPrivacy::IniName);
    QVERIFY(ini.startsWith("[Modulo Privacy]\r\nDenominazione Associazione=Circolo Amici\r\nComune Sede=\r\n"));
    QVERIFY(ini.indexOf("Titolare Privacy=") < ini.indexOf("Luogo=Perugia"));
    QVERIFY(!ini.contains("Rossi") && !ini.contains("07/03/2026")); // the member and the date are never kept

    // Any member, later: the association comes back.
    card.edit(QStringLiteral("txtCandidato"))->setText(QStringLiteral("Verdi Anna"));
    open([&](TfrmPrivacy *w) {
        QCOMPARE(w->field(QStringLiteral("txtStudioDent"))->text(), QStringLiteral("Circolo Amici"));
        QCOMPARE(w->field(QStringLiteral("txtIvaDent"))->text(), QStringLiteral("012"));
        QCOMPARE(w->field(QStringLiteral("txtPaziente"))->text(), QStringLiteral("Verdi Anna"));
    });
}

void TestPrivacy::createTheDocument_data()
{
    QTest::addColumn<bool>("create");
    QTest::addColumn<bool>("openIt");
    QTest::newRow("not now") << false << false;
    QTest::newRow("created, not opened") << true << false;
    QTest::newRow("created and opened") << true << true;
}

void TestPrivacy::createTheDocument()
{
    QFETCH(bool, create);
    QFETCH(bool, openIt);
    TestFolder folder;
    TfrmPrivacy window;
    window.show();
    window.field(QStringLiteral("txtPaziente"))->setText(QStringLiteral("Rossi Mario"));
    m_messages->answerNext(create);
    m_messages->answerNext(openIt);
    window.btnRTFClick();
    QStringList expected = {QStringLiteral("Questa procedura esporterà il modulo per il consenso al trattamento dei dati "
                                           "personali in un documento in formato RTF.\n\r\n\rSi conferma la creazione "
                                           "del file?")};
    if (create)
        expected << QStringLiteral("Il file del modulo per il trattamento dei dati personali è stato creato con "
                                   "successo.\n\r\n\rSi vuole aprire il documento?");
    QCOMPARE(m_messages->texts(), expected);
    const QByteArray document = folder.read(TfrmPrivacy::DocumentName);
    QCOMPARE(document.contains("Sig. \\b Rossi Mario\\b0"), create);
    QCOMPARE(m_opened.size(), openIt ? 1 : 0);
    QVERIFY(window.isVisible()); // the window stays open
}

void TestPrivacy::everyValueIsEscaped()
{
    // Braces and backslashes typed in any field reach the document escaped:
    // its groups stay exactly those of a document with empty fields.
    const auto groups = [](QByteArray rtf) {
        rtf.replace("\\\\", "").replace("\\{", "").replace("\\}", "");
        return std::pair{rtf.count('{'), rtf.count('}')};
    };
    TestFolder folder;
    const auto create = [&](TfrmPrivacy &window) {
        m_messages->answerNext(true);
        m_messages->answerNext(false);
        window.btnRTFClick();
        return folder.read(TfrmPrivacy::DocumentName);
    };
    TfrmPrivacy window;
    window.show();
    const auto empty = groups(create(window));
    QStringList tags;
    // Every line of the window is a field, the province boxes' included.
    for (QLineEdit *edit : window.findChildren<QLineEdit *>()) {
        const QString tag = QStringLiteral("{%1}\\").arg(tags.size());
        edit->setText(edit->maxLength() >= tag.size() ? tag : QStringLiteral("{}\\").left(edit->maxLength()));
        if (edit->maxLength() >= tag.size())
            tags << tag;
    }
    QCOMPARE(tags.size(), 18); // all but the three two-letter province boxes
    const QByteArray document = create(window);
    QCOMPARE(groups(document), empty);
    for (QString tag : tags)
        QVERIFY2(document.contains(tag.replace(u'\\', QStringLiteral("\\\\")).replace(u'{', QStringLiteral("\\{"))
                                       .replace(u'}', QStringLiteral("\\}")).toLatin1()),
                 qPrintable(tag));
}

void TestPrivacy::documentThatCannotBeWritten_data()
{
    FailingWrites::addRows();
}

void TestPrivacy::documentThatCannotBeWritten()
{
    // Neither the document nor the association's data are lost: both files
    // keep what they held, and each failure is said.
    QFETCH(FailingWrites::Kind, failure);
    TestFolder folder;
    folder.write(TfrmPrivacy::DocumentName, "documento precedente");
    const QByteArray association = "[Modulo Privacy]\r\nLuogo=Assisi\r\n";
    folder.write(TfrmPrivacy::IniName, association);
    {
        TfrmPrivacy window;
        window.show();
        window.field(QStringLiteral("txtLuogo"))->setText(QStringLiteral("Spello, località Collepino"));
        m_messages->answerNext(true);
        FailingWrites failing(folder.path(), failure);
        window.btnRTFClick();
        window.close();
    }
    QCOMPARE(m_messages->shown().size(), 3);
    QCOMPARE(m_messages->shown().at(1).kind, Messages::Kind::Plain);
    QCOMPARE(m_messages->shown().at(1).text,
             QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il documento "
                            "non sia già aperto."));
    QCOMPARE(m_messages->shown().at(2).kind, Messages::Kind::Warning);
    QCOMPARE(m_messages->shown().at(2).text,
             QStringLiteral("Attenzione: non è stato possibile salvare i dati dell'Associazione nel file "
                            "Liberatoria_Privacy.ini.\n\r\n\rAccertarsi di possedere i privilegi di scrittura nella "
                            "cartella di installazione del programma."));
    QCOMPARE(folder.read(TfrmPrivacy::DocumentName), QByteArray("documento precedente"));
    QCOMPARE(folder.read(TfrmPrivacy::IniName), association);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

void TestPrivacy::enterGoesThroughTheProvinceBoxes()
{
    TestFolder folder;
    TfrmPrivacy window;
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const struct
    {
        const char *from, *to;
    } steps[] = {{"txtCittaDent", "txtProvDent"}, {"txtProvDent", "txtIndirizzoDent"},
                 {"txtComuneNasc", "txtProvNasc"}, {"txtProvNasc", "txtDataNasc"},
                 {"txtProvRes", "txtIndirizzo"}, {"txtLuogo", "txtStudioDent"}};
    for (const auto &step : steps) {
        QWidget *from = window.findChild<QComboBox *>(QString::fromLatin1(step.from));
        if (!from)
            from = window.field(QString::fromLatin1(step.from));
        from->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY2(window.field(QString::fromLatin1(step.to))->hasFocus(), step.from);
    }
}

void TestPrivacy::closingInAnyWayKeepsTheAssociation()
{
    TestFolder folder;
    {
        TfrmPrivacy window;
        window.show();
        window.field(QStringLiteral("txtLuogo"))->setText(QStringLiteral("Assisi"));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }
    QVERIFY(folder.read(TfrmPrivacy::IniName).contains("\r\nLuogo=Assisi\r\n"));
}

QTEST_MAIN(TestPrivacy)
#include "tst_privacy.moc"
