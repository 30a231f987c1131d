#include "base/clock.h"
#include "documents/frmexpcandidati.h"
#include "import/frmimportasoci.h"
#include "import/frmvaloricomuni.h"
#include "import/importhistory.h"
#include "import/importtablemodel.h"
#include "sheets/spreadsheetfile.h"
#include "help/frmguida.h"
#include "members/memberarchive.h"
#include "support/filecapabilities.h"
#include "support/testfolder.h"
#include "support/windowtest.h"
#include "ui/filedialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>

using S = TSchedaAnagrafica;

namespace {

const char *const kHeadings = "Cognome;Nome;Sesso;Data di nascita;Luogo di nascita;Indirizzo;Città;CAP;Qualifica;"
                              "C.F.;Cellulare;Data iscrizione;Note";

QString row(const QString &surname, const QString &code, const QString &postcode = QStringLiteral("06100"),
            const QString &note = QString())
{
    return surname + QStringLiteral(";Mario;M;01/01/1980;Roma;Via Roma 1;Perugia;") + postcode
        + QStringLiteral(";Socio ordinario;") + code + QStringLiteral(";3331234567;01/02/2020;") + note;
}

// One row of each kind, in the order ready, missing, wrong code, already in
// the archive, too long; the archive holds the member the fourth repeats.
QString mixedSheet(const TestFolder &folder)
{
    S archived;
    archived.Candidato = QStringLiteral("Bianchi Luca");
    archived.CodFisc = QStringLiteral("BNCLCU70C05G478A");
    MemberArchive().append(archived);
    const QStringList lines = {QString::fromUtf8(kHeadings),
                               row(QStringLiteral("Rossi"), QStringLiteral("RSSMRA80A01H501U")),
                               row(QStringLiteral("Verdi"), QStringLiteral("VRDNNA85M41D612H"), QString()),
                               row(QStringLiteral("Neri"), QStringLiteral("VRDNNA85M41D612A")),
                               row(QStringLiteral("Bianchi"), QStringLiteral("BNCLCU70C05G478A")),
                               row(QStringLiteral("Gialli"), QStringLiteral("RSSMRA80T10H501J"), QStringLiteral("06100"),
                                   QString(300, u'n'))};
    QByteArray bytes;
    for (QChar c : lines.join(QStringLiteral("\r\n")))
        bytes += char(c.unicode());
    folder.write(QStringLiteral("soci.csv"), bytes);
    return folder.file(QStringLiteral("soci.csv"));
}

const QString kQuestion = QStringLiteral("Saranno importati in archivio %1 soci, dalle 5 righe del file.\n\r\n\rSi vuole "
                                         "procedere con l'importazione?");

} // namespace

class TestImportWindow : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpCase(); }
    void init()
    {
        setUp();
        Clock::setForTesting(QDateTime(QDate(2025, 6, 15), QTime(10, 30)));
    }
    void cleanup()
    {
        tearDown();
        Clock::setForTesting(QDateTime());
    }

    void importFromTheExportWindow();
    void nothingIsWrittenWhenCancelled_data();
    void nothingIsWrittenWhenCancelled();
    void headerSendsAColumnToAnotherField();
    void openingSaysWhatIsWrong_data();
    void openingSaysWhatIsWrong();
    void confirmingJudgesTheArchiveAsItIsNow();
    void reportIsSavedAsText();
    void failedWriteLeavesTheArchiveAsItWas_data();
    void failedWriteLeavesTheArchiveAsItWas();
    void hintsAndHelp();
    void fieldMenuByKeyboard_data();
    void fieldMenuByKeyboard();
    void tabLeavesTheGrid();
    void windowGrowsWithTheGrid_data();
    void windowGrowsWithTheGrid();
    void judgementIsReadWhole();
    void fileLineIsReadWhole();
    void stoppedImportLeavesTheArchiveAsItWas();
    void stoppedReadingOpensNothing();
    void stoppedJudgingOpensNothing();
    void aValueForEveryRowFromItsWindow();
    void lastImportUndoneFromTheWindow();

private:
    // Opens `path` in the window through its file dialog.
    static void open(TfrmImportaSoci &window, const QString &path)
    {
        FileDialogs::Script dialogs;
        dialogs.answerNext(path);
        QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("cmdApri")), Qt::LeftButton);
    }
    static QStringList statuses(const TfrmImportaSoci &window)
    {
        QStringList list;
        const QAbstractItemModel *model = window.findChild<QTableView *>(QStringLiteral("grdImport"))->model();
        for (int r = 0; r < model->rowCount(); ++r)
            list << model->index(r, 1).data().toString();
        return list;
    }
    static void click(const TfrmImportaSoci &window, const QString &name)
    {
        QTest::mouseClick(window.findChild<QWidget *>(name), Qt::LeftButton);
    }
    static void activate(QWidget *window)
    {
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
};

void TestImportWindow::importFromTheExportWindow()
{
    TestFolder folder;
    const QString path = mixedSheet(folder);
    TfrmExpCandidati exporting;
    exporting.show();
    QCOMPARE(exporting.grid()->model()->rowCount(), 1);
    // A CAP typed into the grid for the export before importing.
    QAbstractItemModel *grid = exporting.grid()->model();
    QVERIFY(grid->setData(grid->index(0, 7), QStringLiteral("06100")));
    bool shown = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        shown = true;
        auto *window = qobject_cast<TfrmImportaSoci *>(dialog);
        QVERIFY(window);
        QCOMPARE(window->objectName(), QStringLiteral("frmImportaSoci"));
        QCOMPARE(window->windowTitle(), QStringLiteral(" Importazione soci da foglio di calcolo"));
        open(*window, path);
        QCOMPARE(statuses(*window),
                 QStringList({"Pronta", "Manca: CAP", "Codice fiscale errato", "Già in archivio (scheda 1)",
                              "Testo troppo lungo: Note"}));
        const QAbstractItemModel *model = window->findChild<QTableView *>(QStringLiteral("grdImport"))->model();
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("2")); // the sheet's row
        QCOMPARE(model->index(1, 1).data(Qt::BackgroundRole).value<QColor>(),
                 ImportTableModel::kindColour(SpreadsheetImport::Missing));
        QCOMPARE(model->index(4, 2 + 12).data().toString(), QString(250, u'n')); // shown cut
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Cognome\n→ Cognome"));
        auto *total = window->findChild<QLabel *>(QStringLiteral("lblRiepilogo"));
        QCOMPARE(total->text(), QStringLiteral("Righe da importare: 1 su 5"));
        click(*window, QStringLiteral("chkDoppi"));
        click(*window, QStringLiteral("chkLunghi"));
        QCOMPARE(total->text(), QStringLiteral("Righe da importare: 3 su 5"));
        m_messages->answerNext(true);
        m_messages->answerNext(false);
        click(*window, QStringLiteral("cmdConferma"));
        // The rows went in: the grid is empty, so that they cannot go in twice.
        QCOMPARE(model->rowCount(), 0);
        QVERIFY(!window->findChild<QWidget *>(QStringLiteral("cmdConferma"))->isEnabled());
    });
    QTest::mouseClick(exporting.findChild<QWidget *>(QStringLiteral("cmdImporta")), Qt::LeftButton);
    QVERIFY(shown);
    QCOMPARE(m_messages->texts(),
             QStringList({kQuestion.arg(3),
                          "Sono stati importati in archivio 3 soci (schede da 2 a 4).\n\r\n\rRighe non importate: 2 "
                          "(1 con dati obbligatori mancanti, 1 con codice fiscale errato).\n\r\n\rSi vuole salvare il "
                          "riepilogo dell'importazione in un file di testo?"}));
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->index(0, 7).data().toString(), QStringLiteral("06100"));
    QCOMPARE(grid->index(1, 1).data().toString(), QStringLiteral("Rossi Mario"));
    MemberArchive archive;
    QCOMPARE(archive.read(1)->Candidato, QStringLiteral("Rossi Mario"));
    QCOMPARE(archive.read(2)->Candidato, QStringLiteral("Bianchi Mario"));
    QCOMPARE(archive.read(3)->Note, QString(250, u'n'));
}

void TestImportWindow::nothingIsWrittenWhenCancelled_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("No to the question") << "no";
    QTest::newRow("the window closed") << "closed";
    QTest::newRow("no file chosen") << "no file";
}

void TestImportWindow::nothingIsWrittenWhenCancelled()
{
    QFETCH(QString, how);
    TestFolder folder;
    const QString path = mixedSheet(folder);
    const QByteArray before = folder.read(MemberArchive::FileName);
    {
        TfrmImportaSoci window;
        window.show();
        open(window, how == QLatin1String("no file") ? QString() : path);
        if (how == QLatin1String("no")) {
            m_messages->answerNext(false);
            click(window, QStringLiteral("cmdConferma"));
            QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Sarà importato in archivio 1 socio, dalle 5 righe del file.\n\r\n\rSi vuole "
                                                          "procedere con l'importazione?")});
            QCOMPARE(statuses(window).size(), 5); // still there to import
        } else if (how == QLatin1String("closed")) {
            click(window, QStringLiteral("cmdChiudi"));
            QVERIFY(!window.isVisible());
        } else {
            QCOMPARE(statuses(window).size(), 0);
            window.cmdConfermaClick();
            QCOMPARE(m_messages->texts(),
                     QStringList{"Attenzione: aprire prima il foglio di calcolo con i soci da importare."});
        }
        QCOMPARE(window.importedCount(), 0);
    }
    QCOMPARE(folder.read(MemberArchive::FileName), before);
}

void TestImportWindow::headerSendsAColumnToAnotherField()
{
    TestFolder folder;
    const QString path = mixedSheet(folder);
    TfrmImportaSoci window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    open(window, path);
    auto *grid = window.findChild<QTableView *>(QStringLiteral("grdImport"));
    QHeaderView *header = grid->horizontalHeader();
    const int place = 2 + 4; // "Luogo di nascita"
    grid->scrollTo(grid->model()->index(0, place));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(place) + 10, header->height() / 2));
    auto *menu = window.findChild<QMenu *>(QStringLiteral("mnuCampi"));
    QVERIFY(menu->isVisible());
    QAction *checked = nullptr;
    QAction *note = nullptr;
    for (QAction *a : menu->actions()) {
        if (a->isChecked())
            checked = a;
        if (a->text() == QLatin1String("Note"))
            note = a;
    }
    QCOMPARE(checked->text(), QStringLiteral("Luogo nascita"));
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("(ignorata)"));
    note->trigger();
    QCOMPARE(grid->model()->headerData(place, Qt::Horizontal).toString(), QStringLiteral("Luogo di nascita\n→ Note"));
    QCOMPARE(grid->model()->headerData(2 + 12, Qt::Horizontal).toString(), QStringLiteral("Note\n(ignorata)"));
    QCOMPARE(statuses(window).first(), QStringLiteral("Manca: luogo di nascita"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblRiepilogo"))->text(),
             QStringLiteral("Righe da importare: 0 su 5"));
}

void TestImportWindow::openingSaysWhatIsWrong_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("file"); // what the window then says of it
    QTest::newRow("a picture") << QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11) << int(Messages::Kind::Plain)
                               << "Attenzione: non è stato possibile leggere il file scelto.\n\r\n\r"
                                      + SpreadsheetFile::unreadable()
                               << "Nessun file aperto.";
    QTest::newRow("headings only") << QByteArray(kHeadings) + "\r\n" << int(Messages::Kind::Warning)
                                   << "Attenzione: il file scelto non contiene righe di soci da importare."
                                   << "soci.csv  -  testo CSV, separatore punto e virgola, codifica UTF-8, 0 righe di dati";
    QTest::newRow("no heading known") << QByteArray("Codice;Importo\r\nA1;10\r\n") << int(Messages::Kind::Warning)
        << "Attenzione: nessuna colonna del file è stata riconosciuta come un campo della scheda.\n\r\n\rFare clic "
           "sull'intestazione di ogni colonna da importare per scegliere il campo in cui importarla."
        << "soci.csv  -  testo CSV, separatore punto e virgola, codifica UTF-8, 1 riga di dati";
}

void TestImportWindow::openingSaysWhatIsWrong()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, file);
    TestFolder folder;
    folder.write(QStringLiteral("soci.csv"), bytes);
    TfrmImportaSoci window;
    window.show();
    open(window, folder.file(QStringLiteral("soci.csv")));
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(int(m_messages->shown().at(0).kind), kind);
    QCOMPARE(m_messages->shown().at(0).text, text);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblFile"))->text(), file);
}

// Another copy of the program may save members between opening the file and
// confirming: the rows are judged again first.
void TestImportWindow::confirmingJudgesTheArchiveAsItIsNow()
{
    TestFolder folder;
    TfrmImportaSoci window;
    window.show();
    open(window, mixedSheet(folder));
    S rossi;
    rossi.Candidato = QStringLiteral("Rossi Mario");
    rossi.CodFisc = QStringLiteral("RSSMRA80A01H501U");
    QVERIFY(MemberArchive().append(rossi));
    const QByteArray before = folder.read(MemberArchive::FileName);
    m_messages->answerNext(false); // should the import be offered after all
    click(window, QStringLiteral("cmdConferma"));
    QCOMPARE(m_messages->texts(),
             QStringList{"Attenzione: con le scelte fatte nessuna riga del file può essere importata."});
    QCOMPARE(statuses(window).first(), QStringLiteral("Già in archivio (scheda 2)"));
    QCOMPARE(folder.read(MemberArchive::FileName), before);
}

void TestImportWindow::reportIsSavedAsText()
{
    TestFolder folder;
    const QString path = mixedSheet(folder);
    TfrmImportaSoci window;
    window.show();
    open(window, path);
    FileDialogs::Script dialogs;
    dialogs.answerNext(folder.file(QStringLiteral("riepilogo.txt")));
    m_messages->answerNext(true);
    m_messages->answerNext(true);
    click(window, QStringLiteral("cmdConferma"));
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().at(0).proposedName, QStringLiteral("Riepilogo_Importazione.txt"));
    const QByteArray saved = folder.read(QStringLiteral("riepilogo.txt"));
    QVERIFY(saved.startsWith("\xEF\xBB\xBFImportazione soci da foglio di calcolo\r\nFile: "));
    QVERIFY(saved.contains("\r\nSoci importati in archivio: 1 (scheda 2)\r\n"));
    QVERIFY(saved.contains("\r\nRiga 4 - Neri Mario: Codice fiscale errato\r\n"));
    QVERIFY(saved.contains(QStringLiteral("\r\nRiga 5 - Bianchi Mario: Già in archivio (scheda 1)\r\n").toUtf8()));
    QCOMPARE(window.importedCount(), 1);
}

void TestImportWindow::failedWriteLeavesTheArchiveAsItWas_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("full disk") << false;
    QTest::newRow("read-only archive") << true;
}

void TestImportWindow::failedWriteLeavesTheArchiveAsItWas()
{
    QFETCH(bool, readOnly);
    TestFolder folder;
    const QString path = mixedSheet(folder);
    const QByteArray before = folder.read(MemberArchive::FileName);
    TfrmImportaSoci window;
    window.show();
    open(window, path);
    click(window, QStringLiteral("chkMancanti"));
    m_messages->answerNext(true);
    const QString archive = folder.file(MemberArchive::FileName);
    if (readOnly) {
        QFile::setPermissions(archive, QFileDevice::ReadOwner);
        HonourFilePermissions permissions;
        window.cmdConfermaClick();
    } else {
        // Room for one more member, not for the two.
        FailingWrites full(folder.path(), FailingWrites::FullDisk, before.size() + S::RecordSize);
        window.cmdConfermaClick();
    }
    QFile::setPermissions(archive, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(m_messages->shown().size(), 2);
    QCOMPARE(m_messages->shown().at(1).kind, Messages::Kind::Error);
    QCOMPARE(m_messages->shown().at(1).text, MemberArchive::ErrorText);
    QCOMPARE(folder.read(MemberArchive::FileName), before);
    QCOMPARE(window.importedCount(), 0);
    QCOMPARE(statuses(window).size(), 5); // still there, to try again
}

void TestImportWindow::hintsAndHelp()
{
    TestFolder folder;
    TfrmImportaSoci window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *panInfo = window.findChild<QLabel *>(QStringLiteral("panInfo"));
    QCOMPARE(panInfo->text(), QStringLiteral("Importazione in archivio dei soci di un foglio di calcolo."));
    QTest::mouseMove(window.findChild<QWidget *>(QStringLiteral("cmdApri")), QPoint(10, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Sceglie il foglio di calcolo con i soci da importare."));
    QTest::mouseMove(window.findChild<QWidget *>(QStringLiteral("chkDoppi")), QPoint(10, 10));
    QVERIFY(panInfo->text().startsWith(QStringLiteral("Importa anche i soci già presenti in archivio")));

    QString title;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        if (auto *help = qobject_cast<TfrmGuida *>(dialog))
            title = help->findChild<QLabel *>(QStringLiteral("lblTitolo"))->text();
    });
    click(window, QStringLiteral("cmdGuida"));
    QCOMPARE(title, QStringLiteral("Importazione soci da foglio di calcolo"));
}

void TestImportWindow::fieldMenuByKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("opens");
    const int place = 2 + 4; // "Luogo di nascita"
    QTest::newRow("Enter") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << place << true;
    QTest::newRow("Enter of the keypad") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << place
                                         << true;
    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << place << true;
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << Qt::KeyboardModifiers() << place << true;
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << Qt::KeyboardModifiers(Qt::ShiftModifier) << place << true;
    // The judgement goes to no field; Enter there presses no button either.
    QTest::newRow("Enter on the judgement") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 1 << false;
}

void TestImportWindow::fieldMenuByKeyboard()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, column);
    QFETCH(bool, opens);
    TestFolder folder;
    const QString path = mixedSheet(folder);
    TfrmImportaSoci window;
    window.show();
    activate(&window);
    open(window, path);
    auto *grid = window.findChild<QTableView *>(QStringLiteral("grdImport"));
    auto *menu = window.findChild<QMenu *>(QStringLiteral("mnuCampi"));
    // Where a click on the column's heading places the menu.
    QHeaderView *header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
    const QPoint clicked = menu->pos();
    menu->hide();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, column));
    // The current cell alone is marked, so the column the keys act on shows.
    QCOMPARE(grid->selectionModel()->selectedIndexes(), QModelIndexList{grid->model()->index(0, column)});
    const QString heading = grid->model()->headerData(column, Qt::Horizontal).toString();
    QTest::keyClick(grid, Qt::Key(key), modifiers);
    if (!opens) {
        QVERIFY(!menu->isVisible());
        QVERIFY(window.isVisible());
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(m_messages->shown().size(), 0);
        QCOMPARE(window.importedCount(), 0);
        return;
    }
    QVERIFY(menu->isVisible());
    // Under the column's heading, the field chosen now the active one.
    QCOMPARE(menu->pos(), clicked);
    QVERIFY(menu->activeAction());
    QCOMPARE(menu->activeAction()->text(), QStringLiteral("Luogo nascita"));
    QList<QAction *> fields;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            fields << a;
    const QString next = fields.at(fields.indexOf(menu->activeAction()) + 1)->text();
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    QVERIFY(!menu->isVisible());
    QCOMPARE(grid->model()->headerData(column, Qt::Horizontal).toString(),
             heading.section(u'\n', 0, 0) + QStringLiteral("\n→ ") + next);
}

void TestImportWindow::tabLeavesTheGrid()
{
    // Forwards from the grid: the choices of rows, then the commands up to
    // Importa, each once; no button is the default one that Enter presses.
    TestFolder folder;
    const QString path = mixedSheet(folder);
    TfrmImportaSoci window;
    QStringList walked;
    Modal::setHandlerForTesting([&](QDialog *) {
        activate(&window);
        open(window, path);
        auto *grid = window.findChild<QTableView *>(QStringLiteral("grdImport"));
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 3));
        for (int i = 0; i < 20 && !walked.contains(QStringLiteral("cmdConferma")); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << QApplication::focusWidget()->objectName();
        }
        window.findChild<QWidget *>(QStringLiteral("chkMancanti"))->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), grid);
        for (QPushButton *b : window.findChildren<QPushButton *>())
            QVERIFY2(!b->isDefault() && !b->autoDefault(), qPrintable(b->objectName()));
    });
    Modal::show(&window);
    QVERIFY(walked.size() >= 5);
    QCOMPARE(walked.mid(0, 4), QStringList({"chkMancanti", "chkCodFisc", "chkDoppi", "chkLunghi"}));
    QCOMPARE(walked.last(), QStringLiteral("cmdConferma"));
    QCOMPARE(walked.count(QStringLiteral("grdImport")), 0);
}

void TestImportWindow::windowGrowsWithTheGrid_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("as designed") << QSize(980, 680) << QSize(980, 680);
    QTest::newRow("enlarged") << QSize(1400, 900) << QSize(1400, 900);
    QTest::newRow("never smaller") << QSize(700, 500) << QSize(980, 680);
}

void TestImportWindow::windowGrowsWithTheGrid()
{
    QFETCH(QSize, size);
    QFETCH(QSize, shown);
    TestFolder folder;
    TfrmImportaSoci window;
    QVERIFY(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    QCOMPARE(window.minimumSize(), QSize(980, 680));
    window.resize(size);
    window.show();
    QCOMPARE(window.size(), shown);
    const int dw = shown.width() - 980, dh = shown.height() - 680;
    const auto at = [&window](const char *name) { return window.findChild<QWidget *>(QLatin1String(name))->geometry(); };
    QCOMPARE(at("grdImport"), QRect(16, 142, 948 + dw, 314 + dh));
    QCOMPARE(at("cmdApri"), QRect(16, 104, 150, 30));
    QCOMPARE(at("cmdValori"), QRect(764 + dw, 104, 200, 30));
    QCOMPARE(at("lblFile"), QRect(178, 102, 574 + dw, 34));
    QCOMPARE(at("shpScelte"), QRect(16, 488 + dh, 948 + dw, 84));
    QCOMPARE(at("chkLunghi").topLeft(), QPoint(496 + 20, 546 + dh));
    QCOMPARE(at("cmdConferma"), QRect(676 + dw, 584 + dh, 140, 32));
    QCOMPARE(at("cmdChiudi"), QRect(824 + dw, 584 + dh, 140, 32));
    QCOMPARE(at("lblRiepilogo").topLeft(), QPoint(16, 592 + dh));
    QCOMPARE(at("shpInfo"), QRect(16, 632 + dh, 948 + dw, 32));
}

void TestImportWindow::judgementIsReadWhole()
{
    // A row missing three fields, its code wrong: the column fits the whole
    // judgement and the user may widen it; the current row's is said whole
    // under the grid.
    TestFolder folder;
    QByteArray bytes = QByteArray(kHeadings) + "\r\n";
    for (QChar c : row(QStringLiteral("Rossi"), QStringLiteral("RSSMRA80A01H501U")))
        bytes += char(c.unicode());
    bytes += "\r\nVerdi;Anna;F;01/01/1980;;;Perugia;;Socio ordinario;VRDNNA85M41D612A;3331234567;01/02/2020;\r\n";
    folder.write(QStringLiteral("soci.csv"), bytes);
    TfrmImportaSoci window;
    window.show();
    open(window, folder.file(QStringLiteral("soci.csv")));
    auto *grid = window.findChild<QTableView *>(QStringLiteral("grdImport"));
    const QString status = QStringLiteral("Mancano: luogo di nascita, indirizzo, CAP; codice fiscale errato");
    QCOMPARE(statuses(window).at(1), status);
    QVERIFY(grid->columnWidth(1) > grid->fontMetrics().horizontalAdvance(status));
    QCOMPARE(grid->horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
    auto *esito = window.findChild<QLabel *>(QStringLiteral("lblEsito"));
    QVERIFY(esito);
    QVERIFY(!esito->accessibleName().isEmpty());
    QCOMPARE(esito->text(), QString());
    grid->setCurrentIndex(grid->model()->index(1, 4));
    QCOMPARE(esito->text(), QStringLiteral("Riga 3: ") + status);
    QVERIFY(esito->width() >= esito->fontMetrics().horizontalAdvance(esito->text()));
}

void TestImportWindow::fileLineIsReadWhole()
{
    // A long name, its kind and its rows: all of it stays in sight beside
    // Apri file..., wrapped if need be.
    TestFolder folder;
    const QString name = QStringLiteral("Elenco soci Roma 2026 aggiornato.csv");
    QByteArray bytes = QByteArray(kHeadings) + "\r\n";
    for (QChar c : row(QStringLiteral("Rossi"), QStringLiteral("RSSMRA80A01H501U")))
        bytes += char(c.unicode());
    folder.write(name, bytes + "\r\n");
    TfrmImportaSoci window;
    window.show();
    open(window, folder.file(name));
    auto *file = window.findChild<QLabel *>(QStringLiteral("lblFile"));
    QVERIFY(file->text().startsWith(name));
    QVERIFY(file->text().endsWith(QStringLiteral("1 riga di dati")));
    const int needed = file->wordWrap() ? file->heightForWidth(file->width())
                                        : file->fontMetrics().horizontalAdvance(file->text()) > file->width()
                                            ? 2 * file->height()
                                            : file->height();
    QVERIFY2(needed <= file->height(), qPrintable(file->text()));
    QVERIFY(file->geometry().right() < window.findChild<QWidget *>(QStringLiteral("cmdValori"))->geometry().left());
}

void TestImportWindow::stoppedImportLeavesTheArchiveAsItWas()
{
    TestFolder folder;
    const QString path = mixedSheet(folder);
    const QByteArray before = folder.read(MemberArchive::FileName);
    TfrmImportaSoci window;
    window.show();
    open(window, path);
    click(window, QStringLiteral("chkMancanti"));
    QStringList steps;
    WorkProgress::setAnswerForTesting([&](const QString &text, qint64 done, qint64 total) {
        steps << QStringLiteral("%1 %2/%3").arg(text).arg(done).arg(total);
        return false; // Interrompi at once
    });
    FileDialogs::Script noReport; // were the import to go ahead
    m_messages->answerNext(true);
    click(window, QStringLiteral("cmdConferma"));
    QCOMPARE(steps, QStringList{"Importazione dei soci... 2/2"});
    QCOMPARE(m_messages->shown().size(), 2);
    QCOMPARE(m_messages->shown().at(1).kind, Messages::Kind::Information);
    QCOMPARE(m_messages->shown().at(1).text, QStringLiteral("Importazione interrotta: l'archivio è rimasto com'era."));
    QCOMPARE(folder.read(MemberArchive::FileName), before);
    QVERIFY(!QFile::exists(MemberArchive().file().journalPath()));
    bool failed = true;
    QVERIFY(!ImportHistory::last(&failed));
    QVERIFY(!failed);
    QCOMPARE(window.importedCount(), 0);

    // The rows are still there, and go in when not stopped.
    QCOMPARE(statuses(window).size(), 5);
    WorkProgress::setAnswerForTesting({});
    m_messages->answerNext(true);
    m_messages->answerNext(false);
    click(window, QStringLiteral("cmdConferma"));
    QCOMPARE(window.importedCount(), 2);
    QVERIFY(ImportHistory::last());
}

void TestImportWindow::stoppedReadingOpensNothing()
{
    TestFolder folder;
    const QString path = mixedSheet(folder);
    TfrmImportaSoci window;
    window.show();
    QStringList steps;
    WorkProgress::setAnswerForTesting([&](const QString &text, qint64 done, qint64 total) {
        steps << QStringLiteral("%1 %2/%3").arg(text).arg(done).arg(total);
        return done < 3; // Interrompi at the third row
    });
    open(window, path);
    QCOMPARE(steps, QStringList({"Lettura del foglio di calcolo... 1/0", "Lettura del foglio di calcolo... 2/0",
                                 "Lettura del foglio di calcolo... 3/0"}));
    QCOMPARE(m_messages->texts(), QStringList{"Lettura interrotta: il file non è stato aperto."});
    QCOMPARE(m_messages->shown().at(0).kind, Messages::Kind::Information);
    QCOMPARE(statuses(window).size(), 0);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblFile"))->text(), QStringLiteral("Nessun file aperto."));
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("cmdConferma"))->isEnabled());
}

void TestImportWindow::stoppedJudgingOpensNothing()
{
    // A sheet long enough for its rows' check to be stopped part way.
    TestFolder folder;
    QStringList lines{QString::fromUtf8(kHeadings)};
    for (int i = 0; i < 2100; ++i)
        lines << row(QStringLiteral("Rossi%1").arg(i), QStringLiteral("RSSMRA80A01H501U"));
    folder.write(QStringLiteral("lunga.csv"), lines.join(QStringLiteral("\r\n")).toLatin1());
    TfrmImportaSoci window;
    window.show();
    QStringList checks;
    WorkProgress::setAnswerForTesting([&](const QString &text, qint64 done, qint64 total) {
        if (text != QLatin1String("Controllo delle righe..."))
            return true;
        checks << QStringLiteral("%1/%2").arg(done).arg(total);
        return false;
    });
    open(window, folder.file(QStringLiteral("lunga.csv")));
    WorkProgress::setAnswerForTesting({});
    QCOMPARE(checks, QStringList{"1024/2100"});
    QCOMPARE(m_messages->texts(), QStringList{"Lettura interrotta: il file non è stato aperto."});
    QCOMPARE(statuses(window).size(), 0);
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("cmdConferma"))->isEnabled());
}

void TestImportWindow::aValueForEveryRowFromItsWindow()
{
    // A list without a Qualifica column: the field gets one value for every
    // row from its own window, and the rows become ready.
    TestFolder folder;
    QString headings = QString::fromUtf8(kHeadings);
    headings.replace(QStringLiteral("Qualifica"), QStringLiteral("Reparto"));
    folder.write(QStringLiteral("soci.csv"),
                 (headings + QStringLiteral("\r\n") + row(QStringLiteral("Rossi"), QStringLiteral("RSSMRA80A01H501U")))
                     .toLatin1());
    TfrmImportaSoci window;
    window.show();
    open(window, folder.file(QStringLiteral("soci.csv")));
    QCOMPARE(statuses(window), QStringList{"Manca: qualifica"});
    bool shown = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        shown = true;
        QCOMPARE(dialog->objectName(), QStringLiteral("frmValoriComuni"));
        auto *qualifica = dialog->findChild<QLineEdit *>(QStringLiteral("txtValore%1").arg(int(S::fSettore)));
        QVERIFY(qualifica);
        QCOMPARE(qualifica->accessibleName(), QStringLiteral("Qualifica"));
        QVERIFY(!dialog->findChild<QLineEdit *>(QStringLiteral("txtValore%1").arg(int(S::fCandidato))));
        qualifica->setText(QStringLiteral("Socio ordinario"));
        QTest::mouseClick(dialog->findChild<QWidget *>(QStringLiteral("cmdOk")), Qt::LeftButton);
    });
    click(window, QStringLiteral("cmdValori"));
    Modal::setHandlerForTesting({});
    QVERIFY(shown);
    QCOMPARE(statuses(window), QStringList{"Pronta"});
    m_messages->answerNext(true);
    m_messages->answerNext(false);
    click(window, QStringLiteral("cmdConferma"));
    QCOMPARE(MemberArchive().read(0)->Settore, QStringLiteral("Socio ordinario"));
}

void TestImportWindow::lastImportUndoneFromTheWindow()
{
    TestFolder folder;
    const QString path = mixedSheet(folder);
    const QByteArray before = folder.read(MemberArchive::FileName);
    TfrmImportaSoci window;
    window.show();
    click(window, QStringLiteral("cmdAnnullaImportazione"));
    QCOMPARE(m_messages->texts(), QStringList{"Attenzione: non risulta alcuna importazione da annullare."});
    open(window, path);
    m_messages->answerNext(true);
    m_messages->answerNext(false);
    click(window, QStringLiteral("cmdConferma"));
    QCOMPARE(MemberArchive().count(), std::optional<qint64>(2));
    // Opened again, the row is in the archive now.
    open(window, path);
    QVERIFY(statuses(window).at(0).contains(QStringLiteral("in archivio (scheda 2)")));

    // No to the question keeps the card; yes takes it away and says where
    // its copy is.
    m_messages->clear();
    m_messages->answerNext(false);
    click(window, QStringLiteral("cmdAnnullaImportazione"));
    QCOMPARE(m_messages->texts(),
             QStringList{"L'ultima importazione, del 15/06/2025 alle 10:30 dal file soci.csv, ha aggiunto all'archivio "
                         "la scheda 2.\n\r\n\rSi vuole annullarla togliendo la scheda dall'archivio?"});
    QCOMPARE(MemberArchive().count(), std::optional<qint64>(2));
    m_messages->clear();
    m_messages->answerNext(true);
    click(window, QStringLiteral("cmdAnnullaImportazione"));
    QCOMPARE(m_messages->texts().size(), 2);
    QVERIFY(m_messages->texts().at(1).startsWith(
        QStringLiteral("È stata tolta dall'archivio 1 scheda, aggiunta dall'ultima importazione.\n\r\n\rUna copia delle "
                       "schede tolte è nel file Importazione_annullata_2025-06-15_10-30-00.pro della cartella Backup.")));
    QCOMPARE(m_messages->shown().at(1).kind, Messages::Kind::Plain);
    QCOMPARE(folder.read(MemberArchive::FileName), before);
    // The rows on show are judged against the archive without it.
    QCOMPARE(statuses(window).at(0), QStringLiteral("Pronta"));
}

QTEST_MAIN(TestImportWindow)
#include "tst_importwindow.moc"
