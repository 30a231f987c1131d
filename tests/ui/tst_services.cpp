#include "app/startup.h"
#include "base/tmisc.h"
#include "support/testfolder.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "ui/workprogress.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QFileDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QTest>
#include <QTimer>

using Messages::Kind;

class TestServices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Startup::prepareApplication(*qApp); }

    void realBoxesHaveTheirKindInItalian_data();
    void realBoxesHaveTheirKindInItalian();
    void recorderKeepsEveryMessageAndScriptsAnswers();
    void modalHandlerWorksOnTheOpenDialog();
    void fileDialogScript();
    void fileDialogsOpenWhereTheUserWorks();
    void realFileDialogInItalian_data();
    void realFileDialogInItalian();
    void shellOpenTargets_data();
    void shellOpenTargets();
    void shellOpenReportsNothing();
    void workProgressStopsAtInterrompi();
};

void TestServices::realBoxesHaveTheirKindInItalian_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("answer");
    const QStringList okCancel = {QStringLiteral("OK"), QStringLiteral("Annulla")};
    QTest::newRow("warning") << int(Kind::Warning) << int(QMessageBox::Warning) << okCancel << true;
    QTest::newRow("error") << int(Kind::Error) << int(QMessageBox::Critical) << okCancel << true;
    QTest::newRow("information") << int(Kind::Information) << int(QMessageBox::Information) << okCancel << true;
    QTest::newRow("plain") << int(Kind::Plain) << int(QMessageBox::NoIcon) << QStringList{QStringLiteral("OK")} << true;
    QTest::newRow("question answered No") << int(Kind::Question) << int(QMessageBox::Question)
                                          << QStringList{QStringLiteral("Sì"), QStringLiteral("No")} << false;
}

void TestServices::realBoxesHaveTheirKindInItalian()
{
    QFETCH(int, kind);
    QFETCH(int, icon);
    QFETCH(QStringList, buttons);
    QFETCH(bool, answer);

    QStringList seenButtons;
    QString seenText;
    int seenIcon = -1;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        seenText = box->text();
        seenIcon = box->icon();
        for (QAbstractButton *b : box->buttons())
            seenButtons << b->text().remove(u'&');
        // The last button is Cancel, or No for a question.
        box->buttons().constLast()->click();
    });
    const QString text = QStringLiteral("Attenzione: prova.\n\r\n\rSeconda frase.");
    bool result = true;
    switch (Kind(kind)) {
    case Kind::Warning: Messages::warning(text); break;
    case Kind::Error: Messages::error(text); break;
    case Kind::Information: Messages::information(text); break;
    case Kind::Plain: Messages::plain(text); break;
    case Kind::Question: result = Messages::question(text); break;
    }
    QCOMPARE(seenText, text);
    QCOMPARE(seenIcon, icon);
    seenButtons.sort();
    buttons.sort();
    QCOMPARE(seenButtons, buttons);
    QCOMPARE(result, answer);
}

void TestServices::recorderKeepsEveryMessageAndScriptsAnswers()
{
    Messages::Recorder recorder;
    recorder.answerNext(false);
    Messages::warning(QStringLiteral("w"));
    QVERIFY(!Messages::question(QStringLiteral("q1")));
    QVERIFY(Messages::question(QStringLiteral("q2"))); // none scripted: Yes
    Messages::plain(QStringLiteral("p"));
    QCOMPARE(recorder.texts(), QStringList({QStringLiteral("w"), QStringLiteral("q1"), QStringLiteral("q2"),
                                            QStringLiteral("p")}));
    QCOMPARE(recorder.shown().at(0).kind, Kind::Warning);
    QCOMPARE(recorder.shown().at(1).kind, Kind::Question);
    QCOMPARE(recorder.shown().at(3).kind, Kind::Plain);
}

void TestServices::modalHandlerWorksOnTheOpenDialog()
{
    int seenWhileOpen = 0;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->isModal());
        seenWhileOpen = dialog->findChild<QLineEdit *>(QStringLiteral("txtA"))->text().toInt();
        dialog->accept();
    });
    QDialog dialog;
    auto *edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("txtA"));
    edit->setText(QStringLiteral("42"));
    QCOMPARE(Modal::show(&dialog), int(QDialog::Accepted));
    QCOMPARE(seenWhileOpen, 42);
    QVERIFY(!dialog.isVisible());

    // Left open by the handler: closed as cancelled.
    Modal::setHandlerForTesting([](QDialog *) {});
    QCOMPARE(Modal::show(&dialog), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    Modal::setHandlerForTesting({});
}

void TestServices::fileDialogScript()
{
    FileDialogs::Script script;
    script.answerNext(QStringLiteral("/tmp/foto.jpg"));
    QCOMPARE(FileDialogs::open(nullptr, QStringLiteral("Carica foto"), QStringLiteral("JPEG (*.jpg)")),
             QStringLiteral("/tmp/foto.jpg"));
    QCOMPARE(FileDialogs::save(nullptr, QStringLiteral("Salva foto"), QStringLiteral("JPEG (*.jpg)"),
                               QStringLiteral("Foto.jpg")),
             QString());
    QCOMPARE(script.requests().size(), 2);
    QVERIFY(!script.requests().at(0).save);
    QVERIFY(script.requests().at(1).save);
    QCOMPARE(script.requests().at(1).proposedName, QStringLiteral("Foto.jpg"));
}

void TestServices::fileDialogsOpenWhereTheUserWorks()
{
    // At first in the user's own folders, then where the last file of the
    // same kind was chosen; never in the program's folder.
    TestFolder folder;
    QDir(folder.path()).mkpath(QStringLiteral("scansioni"));
    FileDialogs::Script script;
    script.answerNext(folder.file(QStringLiteral("scansioni/tessera.pdf")));
    FileDialogs::open(nullptr, QStringLiteral("Allega"), QStringLiteral("*"));
    FileDialogs::open(nullptr, QStringLiteral("Allega"), QStringLiteral("*"));
    FileDialogs::open(nullptr, QStringLiteral("Foto"), QStringLiteral("*.jpg"), QString(), FileDialogs::Place::Pictures);
    const QList<FileDialogs::Request> &asked = script.requests();
    QVERIFY(!asked.at(0).folder.isEmpty());
    QVERIFY(QFileInfo(asked.at(0).folder) != QFileInfo(folder.path()));
    QCOMPARE(QFileInfo(asked.at(1).folder), QFileInfo(folder.file(QStringLiteral("scansioni"))));
    QVERIFY(QFileInfo(asked.at(2).folder) != QFileInfo(asked.at(1).folder)); // photos keep their own folder
}

void TestServices::realFileDialogInItalian_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("open") << false;
    QTest::newRow("save") << true;
}

void TestServices::realFileDialogInItalian()
{
    // The same dialog on every desktop: Qt's own, in Italian, each column
    // wide enough for its whole title; the file chosen comes back.
    QFETCH(bool, save);
    TestFolder folder;
    const QString chosen = folder.file(QStringLiteral("Soci.csv"));
    QFile(chosen).open(QIODevice::WriteOnly);
    // Another Qt program left the dialog's columns fitted to its English
    // titles ("Size" is short), in the settings every Qt program shares.
    QStandardPaths::setTestModeEnabled(true);
    const auto realSettings = qScopeGuard([] { QStandardPaths::setTestModeEnabled(false); });
    {
        QStandardItemModel columns(0, 4);
        QTreeView english;
        english.setModel(&columns);
        for (const auto &[column, width] : {std::pair{0, 200}, {1, 40}, {2, 40}, {3, 70}})
            english.header()->resizeSection(column, width);
        QSettings shared(QSettings::UserScope, QStringLiteral("QtProject"));
        shared.setValue(QStringLiteral("FileDialog/treeViewHeader"), english.header()->saveState());
    }
    QDir(folder.path()).mkdir(QStringLiteral("Verbali"));
    {
        // The dialogs open where the last file was chosen: here.
        FileDialogs::Script script;
        script.answerNext(chosen);
        FileDialogs::open(nullptr, QString(), QString());
    }
    QStringList headings, cut, labels, types;
    bool ownDialog = false;
    QTimer::singleShot(0, this, [&] {
        // Everything is read first: the dialog is closed whatever it shows.
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        ownDialog = dialog->testOption(QFileDialog::DontUseNativeDialog);
        if (auto *list = dialog->findChild<QTreeView *>(QStringLiteral("treeView"))) {
            // The folder is read in the background: its two entries, the
            // file and a folder, as the user sees them.
            QElapsedTimer waited;
            waited.start();
            while (list->model()->rowCount(list->rootIndex()) < 2 && waited.elapsed() < 5000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            const QHeaderView *header = list->header();
            for (int c = 0; c < header->count(); ++c) {
                const QString heading = header->model()->headerData(c, Qt::Horizontal).toString();
                headings << heading;
                int widest = header->fontMetrics().horizontalAdvance(heading);
                for (int r = 0; r < list->model()->rowCount(list->rootIndex()); ++r) {
                    const QString text = list->model()->index(r, c, list->rootIndex()).data().toString();
                    widest = qMax(widest, list->fontMetrics().horizontalAdvance(text) + 24); // with the icon
                    if (c == 2)
                        types << text;
                }
                if (header->sectionSize(c) <= widest + 16)
                    cut << heading;
            }
            // The last column's right edge in sight, without scrolling.
            const int last = header->count() - 1;
            if (header->sectionViewportPosition(last) + header->sectionSize(last) > list->viewport()->width())
                cut << QStringLiteral("(out of sight)");
        }
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            labels << label->text();
        // The name typed, then Apri or Salva.
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QFileInfo(chosen).fileName());
        static_cast<QDialog *>(dialog)->accept();
    });
    const QString got = save ? FileDialogs::save(nullptr, QStringLiteral("Esporta"), QStringLiteral("CSV (*.csv)"),
                                                 QStringLiteral("Soci.csv"), false)
                             : FileDialogs::open(nullptr, QStringLiteral("Importa"), QStringLiteral("CSV (*.csv)"));
    QCOMPARE(QFileInfo(got), QFileInfo(chosen));
    QVERIFY(ownDialog);
    QCOMPARE(headings, (QStringList{QStringLiteral("Nome"), QStringLiteral("Dimensione"), QStringLiteral("Tipo"),
                                    QStringLiteral("Data di modifica")}));
    QCOMPARE(cut, QStringList());
    QVERIFY2(types.contains(QStringLiteral("Cartella")), qPrintable(types.join(u',')));
    QVERIFY2(labels.contains(QStringLiteral("Cerca in:")), qPrintable(labels.join(u',')));
}

void TestServices::shellOpenTargets_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QUrl>("target");
    QTest::newRow("quoted mailto") << QStringLiteral("\"mailto:info@quorvel.it\"")
                                   << QUrl(QStringLiteral("mailto:info@quorvel.it"));
    QTest::newRow("web address") << QStringLiteral("https://www.quorvel.it")
                                 << QUrl(QStringLiteral("https://www.quorvel.it"));
    QTest::newRow("bare www") << QStringLiteral("www.quorvel.it") << QUrl(QStringLiteral("http://www.quorvel.it"));
    QTest::newRow("quoted path with blanks")
        << QStringLiteral("\"/tmp/Documenti Allegati/carta d'identità.pdf\"")
        << QUrl::fromLocalFile(QStringLiteral("/tmp/Documenti Allegati/carta d'identità.pdf"));
}

void TestServices::shellOpenTargets()
{
    QFETCH(QString, command);
    QFETCH(QUrl, target);
    QCOMPARE(TMisc::targetOf(command), target);
}

void TestServices::shellOpenReportsNothing()
{
    QList<QPair<QString, QUrl>> asked;
    TMisc::setOpenerForTesting([&](const QString &c, const QUrl &u) { asked.append({c, u}); });
    Messages::Recorder recorder;
    TMisc::Open(QStringLiteral("\"mailto:info@quorvel.it\""));
    TMisc::Open(QStringLiteral("/nessuna/cartella/file.pdf"));
    TMisc::setOpenerForTesting({});
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.at(0).first, QStringLiteral("\"mailto:info@quorvel.it\""));
    QCOMPARE(asked.at(0).second.scheme(), QStringLiteral("mailto"));
    QVERIFY(asked.at(1).second.isLocalFile());
    // A drive letter is not a URL scheme.
    QVERIFY(TMisc::targetOf(QStringLiteral("\"C:\\Quorvel\\Archivio_Soci.xls\"")).isLocalFile());
    QVERIFY(recorder.shown().isEmpty());
}

void TestServices::workProgressStopsAtInterrompi()
{
    // Not shown for quick work; its Interrompi, in Italian and named, stops
    // the work at the next step; the wait cursor goes with it.
    QWidget window;
    window.show();
    {
        WorkProgress progress(&window, QStringLiteral("Importazione dei soci..."), QStringLiteral("socio scritto"),
                              QStringLiteral("soci scritti"));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        auto *dialog = window.findChild<QProgressDialog *>(QStringLiteral("dlgAvanzamento"));
        QVERIFY(dialog);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->minimumDuration(), 500);
        QCOMPARE(dialog->labelText(), QStringLiteral("Importazione dei soci..."));
        QVERIFY(progress.step(1, 10));
        QVERIFY(!progress.stopped());
        for (QWidget *w : {static_cast<QWidget *>(dialog), dialog->findChild<QWidget *>(QStringLiteral("lblAvanzamento")),
                           dialog->findChild<QWidget *>(QStringLiteral("prbAvanzamento"))})
            QVERIFY(w && !w->accessibleName().isEmpty());
        auto *stop = dialog->findChild<QPushButton *>(QStringLiteral("cmdInterrompi"));
        QVERIFY(stop);
        QCOMPARE(stop->text(), QStringLiteral("Interrompi"));
        QCOMPARE(stop->accessibleName(), QStringLiteral("Interrompi"));
        stop->click();
        QVERIFY(!progress.step(2, 10));
        QVERIFY(progress.stopped());
        QVERIFY(!progress.callback()(3, 10));
    }
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!window.findChild<QProgressDialog *>());
}

QTEST_MAIN(TestServices)
#include "tst_services.moc"
