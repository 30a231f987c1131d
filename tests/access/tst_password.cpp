#include "access/frmpassword.h"
#include "access/passwordstore.h"
#include "app/startup.h"
#include "app/windowregistry.h"
#include "support/filecapabilities.h"
#include "support/testfolder.h"
#include "support/typing.h"
#include "ui/messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Messages::Kind;

namespace {

PersistentWindow *window(const char *name)
{
    return WindowRegistry::instance().window(QString::fromLatin1(name));
}

template <typename T = QWidget>
T *child(const char *windowName, const char *name)
{
    T *w = window(windowName)->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

} // namespace

class TestPassword : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { WindowRegistry::instance().destroyAll(); }
    void init();
    void cleanup();

    void installedFileHoldsTheFirstAccessPassword();
    void scrambleRoundTrips_data();
    void scrambleRoundTrips();
    void unscrambleReadsWhatItCan_data();
    void unscrambleReadsWhatItCan();
    void passwordWindowComesFirst();
    void login_data();
    void login();
    void loginWithoutAStoredPassword_data();
    void loginWithoutAStoredPassword();
    void blanksOnlyCannotBeSent();
    void changeFlow();
    void changeRefusesWhatCannotBeStored_data();
    void changeRefusesWhatCannotBeStored();

private:
    Messages::Recorder *m_messages = nullptr;
    TestFolder *m_folder = nullptr;
};

void TestPassword::initTestCase()
{
    Startup::prepareApplication(*qApp);
    WindowRegistry::instance().createAll();
}

void TestPassword::init()
{
    m_messages = new Messages::Recorder;
    m_folder = new TestFolder;
    QFile::copy(QStringLiteral(QUORVEL_SOURCE "/resources/unins000.dll"), m_folder->file(PasswordStore::FileName));
    QFile::setPermissions(m_folder->file(PasswordStore::FileName), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    qobject_cast<TfrmPassword *>(window("frmPassword"))->showEmptied();
}

void TestPassword::cleanup()
{
    delete m_folder;
    delete m_messages;
}

void TestPassword::installedFileHoldsTheFirstAccessPassword()
{
    const QByteArray installed = m_folder->read(PasswordStore::FileName);
    const QString hex = PasswordStore::scramble(QStringLiteral("LUCERNAOCTAVIA"));
    QCOMPARE(hex.size(), 28);
    QCOMPARE(hex, hex.toUpper());
    QVERIFY(installed.contains("[Accesso]"));
    QVERIFY(installed.contains("Valore=" + hex.toLatin1()));
    QCOMPARE(PasswordStore::stored(), std::optional<QString>(QStringLiteral("LUCERNAOCTAVIA")));
}

void TestPassword::scrambleRoundTrips_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("letters") << "LUCERNAOCTAVIA";
    QTest::newRow("accents and symbols") << "CITTÀ È PIÙ ÿ 1€";
    QTest::newRow("empty") << "";
    QTest::newRow("255 characters") << QString(255, QChar(u'Z'));
}

void TestPassword::scrambleRoundTrips()
{
    QFETCH(QString, password);
    const QString hex = PasswordStore::scramble(password);
    QCOMPARE(hex.size(), 2 * password.size());
    QCOMPARE(hex, hex.toUpper());
    QString low8; // what the scrambling keeps of each character
    for (QChar c : password)
        low8 += QChar(char16_t(c.unicode() & 0xFF));
    QCOMPARE(PasswordStore::unscramble(hex), std::optional<QString>(low8));
    QCOMPARE(PasswordStore::unscramble(hex.toLower()), std::optional<QString>(low8));
}

void TestPassword::unscrambleReadsWhatItCan_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<bool>("readable");
    QTest::newRow("odd digit ignored") << PasswordStore::scramble(QStringLiteral("AB")) + u'7' << true;
    QTest::newRow("not hexadecimal") << "D7G6" << false;
    QTest::newRow("blank inside") << "D7 6" << false;
}

void TestPassword::unscrambleReadsWhatItCan()
{
    QFETCH(QString, hex);
    QFETCH(bool, readable);
    const auto password = PasswordStore::unscramble(hex);
    QCOMPARE(bool(password), readable);
    if (readable)
        QCOMPARE(*password, QStringLiteral("AB"));
}

void TestPassword::passwordWindowComesFirst()
{
    QCOMPARE(WindowRegistry::instance().mainWindow()->objectName(), QStringLiteral("frmPassword"));
    QCOMPARE(window("frmPassword")->windowTitle(), QStringLiteral(" Quorvel con Vori - Accesso"));
    QCOMPARE(window("frmPassword")->size(), QSize(388, 405));
    QCOMPARE(window("frmCambiaPassword")->windowTitle(), QStringLiteral(" Cambia password"));
    QVERIFY(!child<QPushButton>("frmPassword", "cmdOK")->isEnabled());
    QCOMPARE(window("frmPassword")->focusWidget(), child("frmPassword", "txtPassword"));
}

void TestPassword::login_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enters");
    QTest::newRow("small letters") << "lucernaoctavia" << true;
    QTest::newRow("capitals") << "LUCERNAOCTAVIA" << true;
    QTest::newRow("blanks around") << "  LucernaOctavia  " << true;
    QTest::newRow("wrong") << "lucerna" << false;
}

void TestPassword::login()
{
    QFETCH(QString, typed);
    QFETCH(bool, enters);
    auto *field = child<QLineEdit>("frmPassword", "txtPassword");
    typeText(field, typed);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(window("frmAvvio")->isVisible(), enters);
    QCOMPARE(window("frmPassword")->isVisible(), !enters);
    if (!enters) {
        QCOMPARE(m_messages->shown().size(), 1);
        QCOMPARE(m_messages->shown().at(0).kind, Kind::Plain);
        QCOMPARE(m_messages->shown().at(0).text, QStringLiteral("Attenzione: password errata."));
        QCOMPARE(field->text(), QString());
    }
}

void TestPassword::loginWithoutAStoredPassword_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file at all
    QTest::addColumn<QString>("message");
    QTest::newRow("no file") << QByteArray() << "Attenzione: password errata.";
    QTest::newRow("no key") << QByteArray("[Altro]\r\nValore=D706\r\n") << "Attenzione: password errata.";
    QTest::newRow("not hexadecimal")
        << QByteArray("[Accesso]\r\nValore=XYZ1\r\n")
        << "Attenzione: si è verificato un errore durante la procedura di lettura della password. Si consiglia di "
           "reinstallare il software.";
}

void TestPassword::loginWithoutAStoredPassword()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFile::remove(m_folder->file(PasswordStore::FileName));
    if (!file.isEmpty())
        m_folder->write(PasswordStore::FileName, file);
    auto *field = child<QLineEdit>("frmPassword", "txtPassword");
    field->setText(QStringLiteral("lucernaoctavia"));
    QTest::mouseClick(child("frmPassword", "cmdOK"), Qt::LeftButton);
    QVERIFY(!window("frmAvvio")->isVisible());
    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(field->text().isEmpty(), message.contains(QStringLiteral("errata")));
    QVERIFY(!QFile::exists(m_folder->file(PasswordStore::FileName)) || !file.isEmpty()); // never created
}

void TestPassword::blanksOnlyCannotBeSent()
{
    auto *field = child<QLineEdit>("frmPassword", "txtPassword");
    typeText(field, QStringLiteral("   "));
    QVERIFY(!child<QPushButton>("frmPassword", "cmdOK")->isEnabled());
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(m_messages->shown().isEmpty());
    QVERIFY(window("frmPassword")->isVisible());
}

void TestPassword::changeFlow()
{
    const auto fields = [] {
        return std::array<QLineEdit *, 3>{child<QLineEdit>("frmCambiaPassword", "txtPasswordOld"),
                                          child<QLineEdit>("frmCambiaPassword", "txtPasswordNew"),
                                          child<QLineEdit>("frmCambiaPassword", "txtConferma")};
    };
    child<QLineEdit>("frmPassword", "txtPassword")->setText(QStringLiteral("qualcosa"));
    QTest::mouseClick(child("frmPassword", "btnCambiaPassword"), Qt::LeftButton);
    QVERIFY(window("frmCambiaPassword")->isVisible());
    QVERIFY(!window("frmPassword")->isVisible());
    auto [old, fresh, confirm] = fields();
    auto *ok = child<QPushButton>("frmCambiaPassword", "cmdOK");
    QVERIFY(!ok->isEnabled());
    QCOMPARE(window("frmCambiaPassword")->focusWidget(), old);

    // Enter moves round the three fields without pressing OK.
    old->setText(QStringLiteral("x"));
    fresh->setText(QStringLiteral("y"));
    confirm->setText(QStringLiteral("z"));
    QVERIFY(ok->isEnabled());
    QTest::keyClick(confirm, Qt::Key_Return);
    QVERIFY(m_messages->shown().isEmpty());

    // A wrong old password.
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(m_messages->texts().last(), QStringLiteral("Attenzione: vecchia password errata."));
    QCOMPARE(old->text(), QString());

    // The confirmation counts letter case.
    old->setText(QStringLiteral(" lucernaoctavia "));
    fresh->setText(QStringLiteral("nuova"));
    confirm->setText(QStringLiteral("NUOVA"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(m_messages->texts().last(),
             QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. E' necessario "
                            "reinserire entrambi i valori."));
    QCOMPARE(fresh->text(), QString());
    QCOMPARE(confirm->text(), QString());
    QCOMPARE(old->text(), QStringLiteral(" lucernaoctavia "));
    QCOMPARE(window("frmCambiaPassword")->focusWidget(), fresh);

    // Changed: stored in capitals, back at the login window, emptied.
    fresh->setText(QStringLiteral(" Nuova è "));
    confirm->setText(QStringLiteral("Nuova è"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(m_messages->texts().last(), QStringLiteral("Modifica della password completata con successo."));
    QCOMPARE(m_messages->shown().last().kind, Kind::Plain);
    // Only the value changed: the file is as it was installed, but for the value.
    QCOMPARE(m_folder->read(PasswordStore::FileName),
             "[Accesso]\r\nValore=" + PasswordStore::scramble(QStringLiteral("NUOVA è")).toLatin1() + "\r\n");
    QVERIFY(!window("frmCambiaPassword")->isVisible());
    QVERIFY(window("frmPassword")->isVisible());
    QCOMPARE(child<QLineEdit>("frmPassword", "txtPassword")->text(), QString());

    // Accented letters are compared as typed.
    auto *field = child<QLineEdit>("frmPassword", "txtPassword");
    field->setText(QStringLiteral("nuova È"));
    QTest::mouseClick(child("frmPassword", "cmdOK"), Qt::LeftButton);
    QCOMPARE(m_messages->texts().last(), QStringLiteral("Attenzione: password errata."));
    field->setText(QStringLiteral("nuova è"));
    QTest::mouseClick(child("frmPassword", "cmdOK"), Qt::LeftButton);
    QVERIFY(window("frmAvvio")->isVisible());
}

void TestPassword::changeRefusesWhatCannotBeStored_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::addColumn<FailingWrites::Kind>("failure");
    const QString refused = QStringLiteral("Attenzione: la password contiene caratteri non ammessi o è troppo lunga.");
    const QString failed = QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della "
                                          "password. Si consiglia di reinstallare il software.");
    QTest::newRow("beyond code 255") << "città€" << refused << FailingWrites::ReadOnlyFolder;
    QTest::newRow("256 characters") << QString(256, QChar(u'a')) << refused << FailingWrites::ReadOnlyFolder;
    QTest::newRow("file that cannot be written") << "buona" << failed << FailingWrites::ReadOnlyFolder;
    QTest::newRow("disk full") << "buona" << failed << FailingWrites::FullDisk;
}

void TestPassword::changeRefusesWhatCannotBeStored()
{
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(FailingWrites::Kind, failure);
    const QByteArray before = m_folder->read(PasswordStore::FileName);
    window("frmCambiaPassword")->present();
    child<QLineEdit>("frmCambiaPassword", "txtPasswordOld")->setText(QStringLiteral("lucernaoctavia"));
    child<QLineEdit>("frmCambiaPassword", "txtPasswordNew")->setText(password);
    child<QLineEdit>("frmCambiaPassword", "txtConferma")->setText(password);
    if (failure == FailingWrites::ReadOnlyFolder)
        QFile::setPermissions(m_folder->file(PasswordStore::FileName), QFileDevice::ReadOwner);
    {
        FailingWrites failing(m_folder->path(), failure);
        QTest::mouseClick(child("frmCambiaPassword", "cmdOK"), Qt::LeftButton);
    }
    QCOMPARE(m_messages->texts(), QStringList{message});
    QVERIFY(window("frmCambiaPassword")->isVisible());
    // The old password still opens the program, and nothing is left beside it.
    QCOMPARE(m_folder->read(PasswordStore::FileName), before);
    QCOMPARE(PasswordStore::stored(), std::optional<QString>(QStringLiteral("LUCERNAOCTAVIA")));
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{PasswordStore::FileName});
    window("frmCambiaPassword")->close();
}

QTEST_MAIN(TestPassword)
#include "tst_password.moc"
