#include "access/frmpassword.h"
#include "app/frmavvio.h"
#include "app/frmcopiesicurezza.h"
#include "app/frminfo.h"
#include "app/frmsplash.h"
#include "app/windowregistry.h"
#include "checks/frmcodfisc.h"
#include "checks/frmpartitaiva.h"
#include "documents/cardoutputwindow.h"
#include "documents/frmexpcandidati.h"
#include "import/frmimportasoci.h"
#include "documents/frmprivacy.h"
#include "fees/frmquote.h"
#include "fees/frmquotemancanti.h"
#include "import/frmvaloricomuni.h"
#include "help/frmguida.h"
#include "members/frmallegacartella.h"
#include "members/frmcandidati.h"
#include "members/frmwebcam.h"
#include "members/frmzoom.h"
#include "members/memberarchive.h"
#include "register/frmcatalogo.h"
#include "register/frmfrontespizioreg.h"
#include "register/frmistruzioni.h"
#include "register/frmlistinoprezzi.h"
#include "register/pageoutputwindow.h"
#include "register/registerbook.h"
#include "search/frmdaricontattare.h"
#include "statistics/frmstatistiche.h"
#include "search/frmtrovacandidati.h"
#include "support/testfolder.h"
#include "support/windowtest.h"
#include "ui/picturebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

namespace {

bool isCommand(const QWidget *w)
{
    return qobject_cast<const QPushButton *>(w) || qobject_cast<const PictureBox *>(w);
}

void activate(QWidget *window)
{
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window))
        qFatal("the window does not become active");
}

// Presses Tab until the named control has the focus.
void tabTo(const char *name)
{
    for (int i = 0; i < 100 && QApplication::focusWidget()->objectName() != QLatin1String(name); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(name));
}

// What Tab goes through in a window, once round, from the widget that has
// the focus: the names, by pressing the key as a user does.
QStringList walkWithTab(QWidget *window)
{
    activate(window);
    if (!QApplication::focusWidget() || !window->isAncestorOf(QApplication::focusWidget()))
        QTest::keyClick(window, Qt::Key_Tab);
    QWidget *start = QApplication::focusWidget();
    QStringList names;
    for (int i = 0; start && i < 300; ++i) {
        QWidget *here = QApplication::focusWidget();
        names << here->objectName();
        QTest::keyClick(here, Qt::Key_Tab);
        if (QApplication::focusWidget() == start)
            break;
        // A control that keeps Tab for itself (a grid moving from cell to
        // cell) traps the keyboard user.
        if (QApplication::focusWidget() == here) {
            names << QStringLiteral("(Tab stays in %1)").arg(here->objectName());
            break;
        }
    }
    return names;
}

// Every command the user can see is reached, after every field.
void checkChain(QWidget *window, const QStringList &chain, const QStringList &fieldsInOrder)
{
    QStringList fields, commands;
    for (const QString &name : chain) {
        QWidget *w = window->findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        (isCommand(w) ? commands : fields) << name;
    }
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const auto *picture = qobject_cast<PictureBox *>(w);
        const bool clickable = qobject_cast<QPushButton *>(w) || (picture && picture->focusPolicy() != Qt::NoFocus);
        if (clickable && w->isVisibleTo(window) && w->isEnabled())
            QVERIFY2(commands.contains(w->objectName()), qPrintable(w->objectName()));
    }
    // Fields first, then commands: rotate the round to start at the first field.
    QStringList round = chain;
    if (!fields.isEmpty())
        std::rotate(round.begin(), round.begin() + round.indexOf(fields.first()), round.end());
    for (qsizetype i = 0; i < fields.size(); ++i)
        QVERIFY2(!isCommand(window->findChild<QWidget *>(round.at(i))), qPrintable(round.at(i)));
    // Each command starts with Space and with Enter, as a click would start
    // it (its own work is the business of its window's tests: here it is
    // cut off).
    for (const QString &name : commands) {
        QWidget *command = window->findChild<QWidget *>(name);
        QObject::disconnect(command, nullptr, nullptr, nullptr);
        QSignalSpy started(command, SIGNAL(clicked()));
        command->setFocus();
        QTest::keyClick(command, Qt::Key_Space);
        QTest::keyClick(command, Qt::Key_Return);
        QVERIFY2(started.count() == 2, qPrintable(name));
    }
    if (!fieldsInOrder.isEmpty()) {
        QStringList fromFirst = fields;
        std::rotate(fromFirst.begin(), fromFirst.begin() + qMax<qsizetype>(0, fromFirst.indexOf(fieldsInOrder.first())),
                    fromFirst.end());
        QCOMPARE(fromFirst.mid(0, fieldsInOrder.size()), fieldsInOrder);
    }
}

QStringList names(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *n : list)
        result << QString::fromLatin1(n);
    return result;
}

} // namespace

class TestKeyboard : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        setUpCase();
        WindowRegistry::instance().createAll();
    }
    void cleanupTestCase() { WindowRegistry::instance().destroyAll(); }
    void init() { setUp(); }
    void cleanup()
    {
        tearDown();
        for (QWidget *w : QApplication::topLevelWidgets())
            w->hide();
    }

    void commandPictureKeys();
    void persistentWindowsByTab_data();
    void persistentWindowsByTab();
    void dialogsByTab_data();
    void dialogsByTab();
    void pageWindowShortcuts();
    void archiveToSearchAndBackByKeys();
    void newBookToSavedPageByKeys();
};

void TestKeyboard::commandPictureKeys()
{
    // Enter and Space start a command picture as a click does; a disabled
    // one does nothing; a plain picture is never reached.
    QWidget window;
    auto *command = new PictureBox(&window);
    command->setClickable(true);
    auto *art = new PictureBox(&window);
    QSignalSpy clicks(command, &PictureBox::clicked);
    window.show();
    command->setFocus();
    QTest::keyClick(command, Qt::Key_Return);
    QTest::keyClick(command, Qt::Key_Space);
    QTest::keyClick(command, Qt::Key_Enter);
    QCOMPARE(clicks.count(), 3);
    command->setEnabled(false);
    QTest::keyClick(command, Qt::Key_Space);
    QCOMPARE(clicks.count(), 3);
    QCOMPARE(command->focusPolicy(), Qt::TabFocus);
    QCOMPARE(art->focusPolicy(), Qt::NoFocus);
    // A click starts it and leaves the focus in the field being filled.
    auto *field = new QLineEdit(&window);
    field->show();
    command->setEnabled(true);
    activate(&window);
    field->setFocus();
    QTest::mouseClick(command, Qt::LeftButton);
    QCOMPARE(clicks.count(), 4);
    QCOMPARE(QApplication::focusWidget(), field);
}

void TestKeyboard::persistentWindowsByTab_data()
{
    using Make = std::function<PersistentWindow *()>;
    QTest::addColumn<Make>("make");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("launcher") << Make([] { return new TfrmAvvio; }) << QStringList();
    QTest::newRow("members archive")
        << Make([] { return new TfrmCandidati; })
        << names({"txtCandidato", "txtSesso", "txtDataNasc", "txtCittadinanza", "txtLuogoNasc", "txtIndirizzo",
                  "txtCitta", "txtCap", "txtSettore", "txtCodFisc", "txtPartitaIva", "txtPatente", "txtStudio",
                  "txtLingue", "txtEmail", "txtTel", "txtCel", "txtDocumento", "txtEnteRil", "txtInizioTes",
                  "txtFineTes", "txtEsperienze", "txtCompetenze", "txtDisponibilita", "txtNote", "chkRicontatta"});
    QStringList slotFields;
    for (QChar x = u'A'; x <= u'H'; x = QChar(x.unicode() + 1))
        for (const char *f : {"txtNome_", "txtUM_", "txtCaratteristiche_", "txtCodice_", "txtPrezzo_"})
            slotFields << QString::fromLatin1(f) + x;
    QTest::newRow("register page") << Make([] { return new TfrmListinoPrezzi; }) << slotFields;
    QTest::newRow("new book") << Make([] { return new TfrmCreaCatalogo; }) << names({"txtFile"});
    QTest::newRow("book list") << Make([] { return new TfrmApriCatalogo; }) << names({"lstFiles"});
    QTest::newRow("password") << Make([] { return new TfrmPassword; }) << names({"txtPassword"});
    QTest::newRow("password change") << Make([] { return new TfrmCambiaPassword; })
                                     << names({"txtPasswordOld", "txtPasswordNew", "txtConferma"});
}

void TestKeyboard::persistentWindowsByTab()
{
    QFETCH(std::function<PersistentWindow *()>, make);
    QFETCH(QStringList, fields);
    TestFolder folder;
    RegisterBook::create(QStringLiteral("Soci"));
    // A window of its own, whose commands can be cut off from their work.
    std::unique_ptr<PersistentWindow> window(make());
    window->present();
    checkChain(window.get(), walkWithTab(window.get()), fields);
}

void TestKeyboard::dialogsByTab_data()
{
    QTest::addColumn<std::function<QDialog *(QWidget *)>>("make");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("defaultButton"); // the one Enter presses wherever the focus is
    using Make = std::function<QDialog *(QWidget *)>;
    QTest::newRow("search") << Make([](QWidget *p) { return new TfrmTrovaCandidati(p); })
                            << names({"txtCandidato", "txtDataNasc", "txtCittadinanza", "txtLuogoNasc"}) << QString();
    QTest::newRow("recontact") << Make([](QWidget *p) { return new TfrmDaRicontattare(p); }) << names({"txtTrova"}) << QString();
    QTest::newRow("attachments") << Make([](QWidget *p) { return new TfrmAllegaCartella(p); }) << QStringList() << QString();
    QTest::newRow("export") << Make([](QWidget *p) {
        // A grid with cells: Tab must still leave it.
        TSchedaAnagrafica member;
        member.Candidato = QStringLiteral("Rossi Mario");
        MemberArchive().append(member);
        return new TfrmExpCandidati(p);
    }) << QStringList() << QString();
    QTest::newRow("privacy") << Make([](QWidget *p) { return new TfrmPrivacy(p); })
                             << names({"txtStudioDent", "txtTelDent", "txtIvaDent", "txtCodFiscDent"}) << QString();
    QTest::newRow("title page") << Make([](QWidget *p) { return new TfrmFrontespizioReg(p); })
                                << names({"txtComune", "txtProvincia", "txtNumero", "txtPagine", "txtCommittente"}) << QString();
    QTest::newRow("fiscal code check") << Make([](QWidget *p) { return new TfrmCodFisc(p); }) << names({"txtCodFisc"}) << QString();
    QTest::newRow("VAT number check") << Make([](QWidget *p) { return new TfrmPartitaIva(p); })
                                      << names({"txtPartitaIva"}) << QString();
    QTest::newRow("help") << Make([](QWidget *p) { return new TfrmGuida(p); }) << QStringList() << QString();
    QTest::newRow("webcam") << Make([](QWidget *p) { return new TfrmWebCam(p); }) << QStringList() << QString();
    QTest::newRow("photo zoom") << Make([](QWidget *p) { return new TfrmZoom(p); }) << QStringList() << QString();
    QTest::newRow("information") << Make([](QWidget *p) { return new TfrmInfo(p); }) << QStringList() << QString();
    QTest::newRow("credits") << Make([](QWidget *p) { return new TfrmSplash(p); }) << QStringList() << QString();
    QTest::newRow("instructions") << Make([](QWidget *p) { return new TfrmIstruzioni(p); }) << QStringList() << QString();
    QTest::newRow("card print")
        << Make([](QWidget *p) { return new TfrmStampaCandidati(p, TSchedaAnagrafica(), QImage()); }) << QStringList() << QStringLiteral("btnStampa");
    QTest::newRow("card preview")
        << Make([](QWidget *p) { return new TfrmAnteprimaCandidati(p, TSchedaAnagrafica(), QImage()); })
        << QStringList() << QStringLiteral("btnStampa");
    QTest::newRow("page print") << Make([](QWidget *p) { return new TfrmStampaProdotto(p, {}); }) << QStringList() << QStringLiteral("btnStampa");
    QTest::newRow("page preview") << Make([](QWidget *p) { return new TfrmAnteprimaProdotto(p, {}); }) << QStringList() << QStringLiteral("btnStampa");
    QTest::newRow("import") << Make([](QWidget *p) { return new TfrmImportaSoci(p); }) << QStringList() << QString();
    QTest::newRow("common values")
        << Make([](QWidget *p) { return new TfrmValoriComuni({{3, QString()}, {8, QStringLiteral("Socio ordinario")}}, p); })
        << names({"txtValore3", "txtValore8"}) << QStringLiteral("cmdOk");
    QTest::newRow("statistics") << Make([](QWidget *p) { return new TfrmStatistiche(p); }) << QStringList() << QString();
    QTest::newRow("backups") << Make([](QWidget *p) { return new TfrmCopieSicurezza(p); }) << names({"lstCopie"})
                             << QString();
    QTest::newRow("fees") << Make([](QWidget *p) {
        auto *w = new TfrmQuote(p);
        TSchedaAnagrafica member;
        member.Candidato = QStringLiteral("Rossi Mario");
        w->setMember(1, member);
        return w;
    }) << names({"grdQuote", "cmbAnno", "txtData", "txtImporto", "cmbModalita", "txtNote"}) << QString();
    QTest::newRow("fees owed") << Make([](QWidget *p) { return new TfrmQuoteMancanti(p); })
                               << names({"cmbAnno", "grdMancanti"}) << QString();
    QTest::newRow("fees settings") << Make([](QWidget *p) { return new TfrmImpostazioniQuote(p); })
                                   << names({"txtNome", "txtIndirizzo", "txtCodiceFiscale", "grdQuoteAnnue"})
                                   << QString();
}

void TestKeyboard::dialogsByTab()
{
    QFETCH(std::function<QDialog *(QWidget *)>, make);
    QFETCH(QStringList, fields);
    QFETCH(QString, defaultButton);
    TestFolder folder;
    QWidget opener;
    opener.show();
    QDialog *dialog = make(&opener);
    bool walked = false;
    Modal::setHandlerForTesting([&](QDialog *shown) {
        walked = true;
        checkChain(shown, walkWithTab(shown), fields);
        // Enter in a field, list or grid belongs to it: no button takes it,
        // unless the window is a form that Enter confirms.
        for (QWidget *w : shown->findChildren<QWidget *>()) {
            if (isCommand(w) || w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(shown) || !w->isEnabled()
                || w->focusProxy())
                continue;
            w->setFocus();
            for (const QPushButton *b : shown->findChildren<QPushButton *>())
                QVERIFY2(b->isDefault() == (b->objectName() == defaultButton),
                         qPrintable(w->objectName() + QStringLiteral(": ") + b->objectName()));
        }
    });
    Modal::show(dialog);
    QVERIFY(walked);
    delete dialog;
}

void TestKeyboard::pageWindowShortcuts()
{
    // The archive's keys work in the page window too, and say so.
    TestFolder folder;
    auto *pages = qobject_cast<TfrmListinoPrezzi *>(WindowRegistry::instance().window(QStringLiteral("frmListinoPrezzi")));
    pages->openBook(folder.file(QStringLiteral("Soci.qvl")), QStringLiteral("Soci"));
    pages->present();
    activate(pages);
    QCOMPARE(pages->findChild<QWidget *>(QStringLiteral("cmdSalva"))->toolTip(),
             QStringLiteral("Salva la scheda corrente. (Ctrl+S)"));
    for (int page = 1; page <= 2; ++page) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
        for (TSlotPagina::FieldId id : {TSlotPagina::fNome, TSlotPagina::fUM, TSlotPagina::fCaratteristiche,
                                        TSlotPagina::fCodice})
            pages->edit(0, id)->setText(QStringLiteral("pagina %1").arg(page));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    }
    const auto shownPage = [pages] { return pages->findChild<QLabel *>(QStringLiteral("lblPosizione"))->text(); };
    QCOMPARE(shownPage(), QStringLiteral("2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(shownPage(), QStringLiteral("1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    QCOMPARE(shownPage(), QStringLiteral("2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    QCOMPARE(shownPage(), QStringLiteral("1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(shownPage(), QStringLiteral("2"));
    QString helped;
    Modal::setHandlerForTesting([&](QDialog *dialog) { helped = dialog->objectName(); });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    QCOMPARE(helped, QStringLiteral("frmGuida"));
    QCOMPARE(m_messages->shown().size(), 2); // the two saves
}

void TestKeyboard::archiveToSearchAndBackByKeys()
{
    // Launcher, members archive, a new member saved, found again with the
    // search window, back to the launcher: keys only.
    TestFolder folder;
    auto *launcher = WindowRegistry::instance().window(QStringLiteral("frmAvvio"));
    launcher->present();
    activate(launcher);
    tabTo("btnApp01");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    auto *archive = WindowRegistry::instance().window(QStringLiteral("frmCandidati"));
    QVERIFY(archive->isVisible());
    activate(archive);

    // The fields a save needs, each reached with Enter.
    const QMap<QString, QString> typed = {
        {"txtCandidato", "Rossi Mario"}, {"txtSesso", "M"}, {"txtDataNasc", "10/12/1980"},
        {"txtCittadinanza", "Italiana"}, {"txtLuogoNasc", "Roma"}, {"txtIndirizzo", "Via Roma 1"},
        {"txtCitta", "Roma"}, {"txtCap", "00184"}, {"txtSettore", "Socio ordinario"}, {"txtCodFisc", "RSSMRA80T10H501A"},
        {"txtCel", "333 1234567"}, {"txtCompetenze", "01/01/2024"}};
    for (int field = 0; field < 25; ++field) {
        const QString name = QApplication::focusWidget()->objectName();
        if (typed.contains(name))
            QTest::keyClicks(QApplication::focusWidget(), typed[name]);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("La scheda corrente è stata inserita in archivio.")});
    QCOMPARE(MemberArchive().read(0)->Candidato, QStringLiteral("Rossi Mario"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    Modal::setHandlerForTesting([](QDialog *dialog) {
        activate(dialog);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("rossi"));
        tabTo("btnCerca");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        tabTo("lstRecords");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(archive->findChild<QLineEdit *>(QStringLiteral("txtCandidato"))->text(), QStringLiteral("Rossi Mario"));
    QCOMPARE(archive->findChild<QLabel *>(QStringLiteral("lblPosizione"))->text(), QStringLiteral("1"));

    activate(archive);
    tabTo("cmdEsci");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!archive->isVisible());
    QVERIFY(launcher->isVisible());
}

void TestKeyboard::newBookToSavedPageByKeys()
{
    // Launcher, a new book named and created with Enter, the book list, the
    // book opened with Enter, its first page saved with Ctrl+S: keys only.
    TestFolder folder;
    auto *launcher = WindowRegistry::instance().window(QStringLiteral("frmAvvio"));
    launcher->present();
    activate(launcher);
    tabTo("btnApp02");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    activate(WindowRegistry::instance().window(QStringLiteral("frmCreaCatalogo")));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Soci 2026"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(QFile::exists(folder.file(QStringLiteral("Soci 2026.qvl"))));
    QVERIFY(launcher->isVisible());

    activate(launcher);
    tabTo("btnApp03");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    auto *list = WindowRegistry::instance().window(QStringLiteral("frmApriCatalogo"));
    activate(list);
    tabTo("lstFiles");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    auto *pages = qobject_cast<TfrmListinoPrezzi *>(WindowRegistry::instance().window(QStringLiteral("frmListinoPrezzi")));
    QVERIFY(pages->isVisible());
    QCOMPARE(pages->bookName(), QStringLiteral("Soci 2026"));
    activate(pages);
    for (const char *line : {"1. Rossi Mario (Socio)", "nato a Roma", "Via Roma 1", "Ammissione: 01/01/2024"}) {
        QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(line));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_messages->texts().last(), QStringLiteral("La scheda corrente è stata inserita in archivio."));
    QCOMPARE(RegisterBook(folder.file(QStringLiteral("Soci 2026.qvl")), QStringLiteral("Soci 2026")).read(1)->slotTexts[0].Nome,
             QStringLiteral("1. Rossi Mario (Socio)"));
    pages->close();
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
