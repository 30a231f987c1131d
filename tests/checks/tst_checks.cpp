#include "app/startup.h"
#include "checks/codicefiscale.h"
#include "checks/frmcodfisc.h"
#include "checks/frmpartitaiva.h"
#include "checks/partitaiva.h"
#include "support/typing.h"
#include "ui/messages.h"
#include "ui/modal.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

using Messages::Kind;

namespace {

const QString kCodFiscLength =
    QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");
const QString kPartitaIvaLength =
    QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");

QString vatValid(const QString &office)
{
    return QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                          "E' stato rilasciato dall'Ufficio IVA del Comune di ")
        + office + QStringLiteral(".");
}

const QString kVatWrong = QStringLiteral(
    "Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
    "Non è quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato.");

// Opens the window as its caller does and runs `use` while it is open.
void runWindow(QDialog &window, const std::function<void(QDialog *)> &use)
{
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        QApplication::setActiveWindow(dialog);
        use(dialog);
    });
    Modal::show(&window);
    Modal::setHandlerForTesting({});
}

} // namespace

class TestChecks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Startup::prepareApplication(*qApp); }

    void fiscalCodes_data();
    void fiscalCodes();
    void vatNumbers_data();
    void vatNumbers();
    void offices_data();
    void offices();

    void fiscalCodeWindow_data();
    void fiscalCodeWindow();
    void keyboardPressesTheFocusedButton_data();
    void keyboardPressesTheFocusedButton();
    void fiscalCodeWindowTyping();
    void vatWindow_data();
    void vatWindow();
    void vatWindowTyping();
    void typingGoesOnAfterTheWarning_data();
    void typingGoesOnAfterTheWarning();
};

void TestChecks::fiscalCodes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("valid");
    QTest::newRow("real") << "RSSMRA85T10A562S" << true;
    QTest::newRow("real, wrong check") << "RSSMRA85T10A562T" << false;
    QTest::newRow("another real") << "VRDGPP80A01L219M" << true;
    QTest::newRow("all A") << "AAAAAA00A00A000I" << true;
    QTest::newRow("all A, wrong") << "AAAAAA00A00A000A" << false;
    QTest::newRow("letters and digits") << "ABCDEF12G34H567S" << true;
    QTest::newRow("homocode, one letter") << "RSSMRA85T10A56NH" << true;
    QTest::newRow("homocode, every digit") << "RSSMRAURTMLARSNL" << true;
    QTest::newRow("sign counts zero") << "BNCLRA70:01H501W" << true;
    QTest::newRow("sign differs from its digit") << "BNCLRA70:01H501X" << false;
    QTest::newRow("blank inside") << "RSSMRA85 10A562S" << false;
    QTest::newRow("hyphen inside") << "RSSMRA85-10A562S" << false;
    QTest::newRow("accented letter") << "RSSMRÀ85T10A562S" << false;
    QTest::newRow("small letters are not capitals") << "rssmra85t10a562s" << false;
    QTest::newRow("15 characters") << "RSSMRA85T10A562" << false;
    QTest::newRow("17 characters") << "RSSMRA85T10A562SX" << false;
}

void TestChecks::fiscalCodes()
{
    QFETCH(QString, code);
    QFETCH(bool, valid);
    QCOMPARE(CodFiscValido(code), valid);
}

void TestChecks::vatNumbers_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("valid");
    QTest::newRow("one to nine, zero, three") << "12345678903" << true;
    QTest::newRow("same, four") << "12345678904" << false;
    QTest::newRow("eleven zeros") << "00000000000" << true;
    QTest::newRow("office 058") << "12345670587" << true;
    QTest::newRow("letter") << "1234567890A" << false;
    QTest::newRow("blank") << "1234567890 " << false;
    QTest::newRow("ten digits") << "1234567890" << false;
    QTest::newRow("twelve digits") << "123456789031" << false;
}

void TestChecks::vatNumbers()
{
    QFETCH(QString, number);
    QFETCH(bool, valid);
    QCOMPARE(PartitaIvaValida(number), valid);
}

void TestChecks::offices_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("office");
    QTest::newRow("001") << "001" << "Torino";
    QTest::newRow("040") << "040" << "Forlì";
    QTest::newRow("058") << "058" << "Roma 1";
    QTest::newRow("096") << "096" << "Monza (Milano 2)";
    QTest::newRow("101") << "101" << "Bologna 2";
    QTest::newRow("102") << "102" << "Napoli 2";
    QTest::newRow("120") << "120" << "Bologna 2";
    QTest::newRow("121") << "121" << "Napoli 2";
    QTest::newRow("103 not in the table") << "103" << "";
    QTest::newRow("000") << "000" << "";
    QTest::newRow("890") << "890" << "";
    QTest::newRow("not three characters") << "58" << "";
}

void TestChecks::offices()
{
    QFETCH(QString, code);
    QFETCH(QString, office);
    QCOMPARE(UfficioIva(code), office);
}

void TestChecks::fiscalCodeWindow_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("closes");
    QTest::newRow("valid") << "RSSMRA85T10A562S" << int(Kind::Information)
                           << "Il codice fiscale digitato è VALIDO." << true;
    QTest::newRow("small letters from the caller") << "rssmra85t10a562s" << int(Kind::Information)
                                                   << "Il codice fiscale digitato è VALIDO." << true;
    QTest::newRow("wrong") << "AAAAAA00A00A000A" << int(Kind::Warning)
                           << "Attenzione: il codice fiscale digitato è ERRATO." << true;
    QTest::newRow("empty") << "" << int(Kind::Warning) << kCodFiscLength << false;
    QTest::newRow("15 characters") << "RSSMRA85T10A562" << int(Kind::Warning) << kCodFiscLength << false;
}

void TestChecks::fiscalCodeWindow()
{
    QFETCH(QString, code);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(bool, closes);
    Messages::Recorder recorder;
    TfrmCodFisc window;
    window.field()->setText(code);
    runWindow(window, [&](QDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral(" Controllo codice fiscale"));
        QCOMPARE(dialog->size(), QSize(478, 254));
        QCOMPARE(QApplication::focusWidget(), window.field());
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnControlla")), Qt::LeftButton);
        QCOMPARE(recorder.shown().size(), 1);
        QCOMPARE(int(recorder.shown().at(0).kind), kind);
        QCOMPARE(recorder.shown().at(0).text, message);
        QCOMPARE(dialog->isVisible(), !closes);
        if (!closes)
            QCOMPARE(QApplication::focusWidget(), window.field());
    });
}

void TestChecks::keyboardPressesTheFocusedButton_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void TestChecks::keyboardPressesTheFocusedButton()
{
    QFETCH(int, key);
    Messages::Recorder recorder;
    TfrmCodFisc window;
    window.field()->setText(QStringLiteral("RSSMRA85T10A562S"));
    runWindow(window, [&](QDialog *dialog) {
        auto *check = dialog->findChild<QPushButton *>(QStringLiteral("btnControlla"));
        const QImage unfocused = check->grab().toImage();
        QTest::keyClick(window.field(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), check);
        QVERIFY(check->grab().toImage() != unfocused); // the focus mark
        QVERIFY(recorder.shown().isEmpty());
        QTest::keyClick(check, Qt::Key(key));
        QCOMPARE(recorder.shown().size(), 1);
        QCOMPARE(recorder.shown().at(0).text, QStringLiteral("Il codice fiscale digitato è VALIDO."));
        QVERIFY(!dialog->isVisible());
    });
}

void TestChecks::fiscalCodeWindowTyping()
{
    Messages::Recorder recorder;
    TfrmCodFisc window;
    runWindow(window, [&](QDialog *dialog) {
        QLineEdit *field = window.field();
        typeText(field, QStringLiteral("abcdef12g34h567s"));
        QCOMPARE(field->text(), QStringLiteral("ABCDEF12G34H567S"));
        typeText(field, QStringLiteral("X")); // a seventeenth character cannot be typed
        QCOMPARE(field->text(), QStringLiteral("ABCDEF12G34H567S"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), dialog->findChild<QPushButton *>(QStringLiteral("btnControlla")));
        QVERIFY(recorder.shown().isEmpty());
        QVERIFY(dialog->isVisible());
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnChiudi")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(recorder.shown().isEmpty());
    });
}

void TestChecks::vatWindow_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("closes");
    QTest::newRow("valid, office not in table") << "12345678903" << int(Kind::Information) << vatValid(QString()) << true;
    QTest::newRow("eleven zeros") << "00000000000" << int(Kind::Information) << vatValid(QString()) << true;
    QTest::newRow("Roma 1") << "12345670587" << int(Kind::Information) << vatValid(QStringLiteral("Roma 1")) << true;
    QTest::newRow("120 is Bologna 2") << "00000011205" << int(Kind::Information)
                                      << vatValid(QStringLiteral("Bologna 2")) << true;
    QTest::newRow("wrong check digit") << "12345678904" << int(Kind::Warning) << kVatWrong << true;
    QTest::newRow("letter from the caller") << "1234567890A" << int(Kind::Warning) << kVatWrong << true;
    QTest::newRow("empty") << "" << int(Kind::Warning) << kPartitaIvaLength << false;
    QTest::newRow("16 digits from the fiscal code field") << "1234567890312345" << int(Kind::Warning)
                                                          << kPartitaIvaLength << false;
}

void TestChecks::vatWindow()
{
    QFETCH(QString, number);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(bool, closes);
    Messages::Recorder recorder;
    TfrmPartitaIva window;
    window.field()->setText(number);
    QCOMPARE(window.field()->text(), number); // shown whole, whatever its length
    runWindow(window, [&](QDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral(" Controllo partita IVA"));
        QCOMPARE(dialog->size(), QSize(480, 254));
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnControlla")), Qt::LeftButton);
        QCOMPARE(recorder.shown().size(), 1);
        QCOMPARE(int(recorder.shown().at(0).kind), kind);
        QCOMPARE(recorder.shown().at(0).text, message);
        QCOMPARE(dialog->isVisible(), !closes);
    });
}

void TestChecks::vatWindowTyping()
{
    Messages::Recorder recorder;
    TfrmPartitaIva window;
    runWindow(window, [&](QDialog *dialog) {
        QLineEdit *field = window.field();
        typeText(field, QStringLiteral("12a 34-5"));
        QCOMPARE(field->text(), QStringLiteral("12345"));
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClick(field, Qt::Key_Left);
        QTest::keyClick(field, Qt::Key_Delete);
        QCOMPARE(field->text(), QStringLiteral("123"));
        typeText(field, QStringLiteral("456789012345"));
        QCOMPARE(field->text().size(), 11);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), dialog->findChild<QPushButton *>(QStringLiteral("btnControlla")));
        QVERIFY(recorder.shown().isEmpty());
    });
}

void TestChecks::typingGoesOnAfterTheWarning_data()
{
    QTest::addColumn<bool>("vat");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("warning");
    QTest::newRow("fiscal code") << false << QStringLiteral("AAAAAA00A00A000") << QStringLiteral("I") << kCodFiscLength;
    QTest::newRow("VAT number") << true << QStringLiteral("0636339100") << QStringLiteral("1") << kPartitaIvaLength;
}

void TestChecks::typingGoesOnAfterTheWarning()
{
    // One character short, Controlla, the warning closed: the next character
    // typed goes at the end, where the cursor was.
    QFETCH(bool, vat);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, warning);
    Messages::Recorder recorder;
    TfrmCodFisc codeWindow;
    TfrmPartitaIva vatWindow;
    IdentifierCheckWindow &window = vat ? static_cast<IdentifierCheckWindow &>(vatWindow) : codeWindow;
    runWindow(window, [&](QDialog *dialog) {
        typeText(window.field(), first);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnControlla")), Qt::LeftButton);
        QCOMPARE(recorder.texts(), QStringList{warning});
        QCOMPARE(QApplication::focusWidget(), window.field());
        typeText(window.field(), last);
        QCOMPARE(window.field()->text(), first + last);
    });
}

QTEST_MAIN(TestChecks)
#include "tst_checks.moc"
