#include "../members/cardwindow.h"
#include "app/startup.h"
#include "base/tmisc.h"
#include "base/filelock.h"
#include "base/recordfile.h"
#include "documents/archivetable.h"
#include "documents/frmexpcandidati.h"
#include "members/memberarchive.h"
#include "support/filecapabilities.h"
#include "support/xlsxsheet.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "support/windowtest.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

namespace {

// The file's fixed pieces, as the spreadsheet programs expect them.
const QByteArray kHead =
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
    "xmlns=\"http://www.w3.org/TR/REC-html40\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
    "charset=windows-1252\"><!--[if gte mso 9]><xml><x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet>"
    "<x:Name>Archivio Soci</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane><x:Number>1</x:Number>"
    "<x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes><x:ProtectContents>False</x:ProtectContents><x:ProtectObjects>"
    "False</x:ProtectObjects><x:ProtectScenarios>False</x:ProtectScenarios></x:WorksheetOptions></x:ExcelWorksheet>"
    "</x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]--></head><body><table x:str><tr>";
const QByteArray kTail = "</table></body></html>";

// The header titles of both files, in Windows-1252.
const char *const kTitles[] = {"Cognome e nome", "Data nascita", "Cittadinanza", "Luogo nascita",
                               "Indirizzo residenza", "Citt\xE0", "CAP", "Qualifica", "Codice fiscale",
                               "Partita IVA", "Tessera n.", "Titolo di studio", "Lingue conosciute", "E-mail",
                               "Tel. casa", "Tel. cellulare", "Documento", "Ente rilascio", "Data rilascio",
                               "Data scadenza", "Quota associativa", "Data ammissione", "Data cessazione", "Note",
                               "Da ricontattare"};

QByteArray headerRow()
{
    const int widths[] = {250, 200, 250, 280, 300, 280, 180, 280, 250, 200, 250, 400, 350,
                          280, 220, 220, 300, 280, 250, 250, 400, 250, 250, 400, 160};
    QByteArray row;
    for (int i = 0; i < 25; ++i)
        row += "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(widths[i]) + '>'
            + kTitles[i] + "</td>";
    return row + "</tr>";
}

QByteArray dataRow(const QList<QByteArray> &cells)
{
    QByteArray row = "<tr>";
    for (const QByteArray &c : cells)
        row += "<td style=\"text-align: left; mso-number-format:'\\@';\" sdnum=\"1040;0;@\">" + c + "</td>";
    return row + "</tr>";
}

TSchedaAnagrafica fullMember()
{
    TSchedaAnagrafica s;
    s.Candidato = QStringLiteral(" Rossi Mario ");
    s.Sesso = QStringLiteral("M");
    s.DataNasc = QStringLiteral("10/12/1980");
    s.Cittadinanza = QStringLiteral("Italiana");
    s.LuogoNasc = QStringLiteral("Città di Castello");
    s.Indirizzo = QStringLiteral("Via <Roma> & C. 1");
    s.Citta = QStringLiteral("Perugia");
    s.Cap = QStringLiteral("00044");
    s.Settore = QStringLiteral("Presidente");
    s.CodFisc = QStringLiteral("RSSMRA80T10H501A");
    s.PartitaIva = QStringLiteral("01234567890");
    s.Patente = QStringLiteral("12");
    s.Studio = QStringLiteral("Laurea");
    s.Lingue = QStringLiteral("Inglese");
    s.Email = QStringLiteral("mario@esempio.it");
    s.Tel = QStringLiteral("0612345678");
    s.Cel = QStringLiteral("333 1");
    s.Documento = QStringLiteral("CI AB123");
    s.EnteRil = QStringLiteral("Comune");
    s.InizioTes = QStringLiteral("01/01/2020");
    s.FineTes = QStringLiteral("01/01/2030");
    s.Esperienze = QStringLiteral("50 euro");
    s.Competenze = QStringLiteral("02/02/2020");
    s.Disponibilita = QString();
    s.Note = QStringLiteral("=1+1");
    s.File01 = QStringLiteral("non esportato.pdf");
    s.setRicontatta(true);
    return s;
}

const QString kNotReadInFull =
    QStringLiteral("Attenzione: non è stato possibile leggere tutte le schede dell'archivio, quindi i dati non sono "
                   "stati esportati.\n\r\n\rAccertarsi di possedere i privilegi di accesso all'archivio nella cartella "
                   "di installazione del programma.");

const QList<QByteArray> kFullRow = {"Rossi Mario", "10/12/1980", "Italiana", "Citt\xE0 di Castello",
                                    "Via &lt;Roma&gt; &amp; C. 1", "Perugia", "00044", "Presidente",
                                    "RSSMRA80T10H501A", "01234567890", "12", "Laurea", "Inglese", "mario@esempio.it",
                                    "0612345678", "333 1", "CI AB123", "Comune", "01/01/2020", "01/01/2030",
                                    "50 euro", "02/02/2020", "", "=1+1", "S\xEC"};

const QString kNotNow = QStringLiteral("L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del "
                                       "numero di schede presenti in archivio.\n\r\n\rSi vuole esportare i dati "
                                       "adesso?");
const QString kExported = QStringLiteral("Le schede in archivio sono state esportate con successo.\n\r\n\rSi vuole "
                                         "aprire il file di Excel?");
const QString kNotExported = QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                                            "Accertarsi che il file di Excel non sia già aperto.");

// Checks every cell of a worksheet row against the values expected: a string
// cell in the text format for each value, nothing but an empty cell where
// there is none.
void compareRow(const XlsxSheet &sheet, int row, const QStringList &expected, bool header)
{
    for (int c = 0; c < expected.size(); ++c) {
        const XlsxSheet::Cell *cell = sheet.cell(row, c);
        const QString where = XlsxSheet::reference(row, c);
        if (expected[c].isEmpty()) {
            QVERIFY2(!cell || (cell->value.isEmpty() && cell->type.isEmpty()), qPrintable(where));
            continue;
        }
        QVERIFY2(cell, qPrintable(where));
        QVERIFY2(cell->isString(), qPrintable(where + u' ' + cell->type));
        QCOMPARE(cell->value, expected[c]);
        QCOMPARE(sheet.style(*cell).bold, header);
        if (!header)
            QCOMPARE(sheet.style(*cell).numberFormat, QStringLiteral("@"));
    }
}

// The archive of a member with every field and one with a name only, in the
// table with a CAP typed into the grid for the second.
void loadTwoMembers(ArchiveTable &table)
{
    TSchedaAnagrafica second;
    second.Candidato = QStringLiteral("Verdi Anna");
    second.setRicontatta(false);
    MemberArchive archive;
    QVERIFY(archive.append(fullMember()));
    QVERIFY(archive.append(second));
    QVERIFY(table.load());
    QCOMPARE(table.rowCount(), 2);
    table.setCell(1, 6, QStringLiteral(" 06100 "));
}

} // namespace

class TestExport : public WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpCase(); }
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void emptyArchiveGivesTheHeaderRowOnly();
    void fileBytesForASmallArchive();
    void workbookOfASmallArchive();
    void workbookKeepsValuesAsTyped_data();
    void workbookKeepsValuesAsTyped();
    void gridShowsTheArchiveAndKeepsEditsBeside();
    void enterConfirmsTheCell_data();
    void enterConfirmsTheCell();
    void exportFromTheWindow_data();
    void exportFromTheWindow();
    void exportThatCannotBeWrittenKeepsTheEarlierFile_data();
    void exportThatCannotBeWrittenKeepsTheEarlierFile();
    void stoppedExportKeepsTheEarlierFile_data();
    void stoppedExportKeepsTheEarlierFile();
    void archiveNotReadInFullIsNotExported();
    void archiveReadPartWayIsNotExported();
    void hints();

};

void TestExport::emptyArchiveGivesTheHeaderRowOnly()
{
    TestFolder folder;
    ArchiveTable table;
    QVERIFY(table.load());
    QCOMPARE(table.rowCount(), 0);
    QVERIFY(table.writeSpreadsheet(folder.file(QStringLiteral("Archivio_Soci.xls"))));
    QCOMPARE(folder.read(QStringLiteral("Archivio_Soci.xls")), kHead + headerRow() + kTail);

    QVERIFY(table.writeWorkbook(folder.file(QStringLiteral("Archivio_Soci.xlsx"))));
    const XlsxSheet sheet = XlsxSheet::read(folder.file(QStringLiteral("Archivio_Soci.xlsx")));
    QCOMPARE(sheet.error, QString());
    QCOMPARE(sheet.rowCount(), 1);
}

void TestExport::fileBytesForASmallArchive()
{
    TestFolder folder;
    ArchiveTable table;
    loadTwoMembers(table);
    QVERIFY(table.writeSpreadsheet(folder.file(QStringLiteral("Archivio_Soci.xls"))));
    QList<QByteArray> empty(25);
    empty[0] = "Verdi Anna";
    empty[6] = "06100";
    empty[24] = "No";
    const QByteArray bytes = folder.read(QStringLiteral("Archivio_Soci.xls"));
    QCOMPARE(bytes, kHead + headerRow() + dataRow(kFullRow) + dataRow(empty) + kTail);
    QVERIFY(!bytes.contains('\n'));
    QCOMPARE(MemberArchive().read(1)->Cap, QString()); // the archive keeps its own
}

void TestExport::workbookOfASmallArchive()
{
    TestFolder folder;
    ArchiveTable table;
    loadTwoMembers(table);
    const QString path = folder.file(QStringLiteral("Archivio_Soci.xlsx"));
    QVERIFY(table.writeWorkbook(path));

    const XlsxSheet sheet = XlsxSheet::read(path);
    QCOMPARE(sheet.error, QString());
    QCOMPARE(sheet.name, QStringLiteral("Archivio Soci"));
    QCOMPARE(sheet.rowCount(), 3);
    QStringList titles;
    for (const char *t : kTitles)
        titles << QString::fromLatin1(t);
    compareRow(sheet, 0, titles, true);
    QCOMPARE(sheet.frozenRows, 1);
    QCOMPARE(sheet.paneState, QStringLiteral("frozen"));
    QVERIFY(sheet.landscape);
    QCOMPARE(sheet.paperSize, 9);
    QCOMPARE(sheet.printTitles, QStringLiteral("'Archivio Soci'!$1:$1"));
    for (int c = 0; c < ArchiveTable::ColumnCount; ++c)
        QCOMPARE(sheet.columnPixels(c), ArchiveTable::columns()[size_t(c)].width);

    compareRow(sheet, 1,
               {"Rossi Mario", "10/12/1980", "Italiana", "Città di Castello", "Via <Roma> & C. 1", "Perugia", "00044",
                "Presidente", "RSSMRA80T10H501A", "01234567890", "12", "Laurea", "Inglese", "mario@esempio.it",
                "0612345678", "333 1", "CI AB123", "Comune", "01/01/2020", "01/01/2030", "50 euro", "02/02/2020", "",
                "=1+1", "Sì"},
               false);
    QStringList empty(25);
    empty[0] = QStringLiteral("Verdi Anna");
    empty[6] = QStringLiteral("06100");
    empty[24] = QStringLiteral("No");
    compareRow(sheet, 2, empty, false);
}

void TestExport::workbookKeepsValuesAsTyped_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("typed"); // into the grid, rather than stored in the archive
    QTest::addColumn<QString>("expected");
    const QString controls = QStringLiteral("a") + QChar(0) + QStringLiteral("b\x01" "c\rd\te\nf");
    QTest::newRow("leading zeros") << 6 << "00044" << false << "00044";
    QTest::newRow("telephone with prefix") << 15 << "0039 333 1234567" << false << "0039 333 1234567";
    QTest::newRow("digits only") << 9 << "01234567890" << false << "01234567890";
    QTest::newRow("formula") << 23 << "=1+1" << false << "=1+1";
    QTest::newRow("date as typed") << 1 << "1/2/03" << false << "1/2/03";
    QTest::newRow("decimal comma") << 20 << "1,50" << false << "1,50";
    QTest::newRow("accents and euro") << 5 << "Città, Forlì, 50 €" << false << "Città, Forlì, 50 €";
    QTest::newRow("markup") << 4 << "Via <Roma> & \"C.\" 1" << false << "Via <Roma> & \"C.\" 1";
    QTest::newRow("escape look-alikes") << 23 << "_x0041_ _X0041_ _x005F_ __x0" << false
                                        << "_x0041_ _X0041_ _x005F_ __x0";
    QTest::newRow("control characters") << 23 << controls << false << controls;
    QTest::newRow("typed postcode") << 6 << " 06100 " << true << "06100";
    QTest::newRow("typed formula") << 23 << "=SOMMA(A1:A2)" << true << "=SOMMA(A1:A2)";
    QTest::newRow("typed beyond the code page") << 23 << "Łódź – ☎ 😀" << true << "Łódź – ☎ 😀";
    QTest::newRow("typed escape look-alike") << 13 << "_x0041_\x02z" << true << "_x0041_\x02z";
}

void TestExport::workbookKeepsValuesAsTyped()
{
    QFETCH(int, column);
    QFETCH(QString, value);
    QFETCH(bool, typed);
    QFETCH(QString, expected);
    TestFolder folder;
    TSchedaAnagrafica member = fullMember();
    const auto &field = TSchedaAnagrafica::fields()[ArchiveTable::columns()[size_t(column)].field];
    member.*field.member = typed ? QStringLiteral("dall'archivio") : value;
    QVERIFY(MemberArchive().append(member));
    ArchiveTable table;
    QVERIFY(table.load());
    if (typed)
        table.setCell(0, column, value);
    const QString path = folder.file(QStringLiteral("Archivio_Soci.xlsx"));
    QVERIFY(table.writeWorkbook(path));
    const XlsxSheet sheet = XlsxSheet::read(path);
    QCOMPARE(sheet.error, QString());
    const XlsxSheet::Cell *cell = sheet.cell(1, column);
    QVERIFY(cell);
    QVERIFY(cell->isString());
    QCOMPARE(sheet.style(*cell).numberFormat, QStringLiteral("@"));
    QCOMPARE(cell->value, expected);
}

void TestExport::gridShowsTheArchiveAndKeepsEditsBeside()
{
    CardWindow card;
    QVERIFY(MemberArchive().append(fullMember()));
    bool shown = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        shown = true;
        auto *window = qobject_cast<TfrmExpCandidati *>(dialog);
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral(" Esportazione archivio soci in Excel"));
        QCOMPARE(window->size(), QSize(862, 560));
        QAbstractItemModel *model = window->grid()->model();
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->columnCount(), 26);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("N."));
        QCOMPARE(model->headerData(18, Qt::Horizontal).toString(), QStringLiteral("Ente di rilascio"));
        QCOMPARE(window->grid()->columnWidth(1), 220);
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("1"));
        QCOMPARE(model->index(0, 4).data().toString(), QStringLiteral("Città di Castello"));
        QCOMPARE(model->index(0, 25).data().toString(), QStringLiteral("Sì"));
        QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable)); // the name
        QVERIFY(model->flags(model->index(0, 7)) & Qt::ItemIsEditable);    // the postcode
        QVERIFY(!model->setData(model->index(0, 1), QStringLiteral("altro")));
        QVERIFY(model->setData(model->index(0, 24), QStringLiteral("<b>nota</b>")));
        QCOMPARE(model->index(0, 24).data().toString(), QStringLiteral("<b>nota</b>"));
        m_messages->answerNext(true);
        m_messages->answerNext(false);
        QTest::mouseClick(window->findChild<QWidget *>(QStringLiteral("cmdEsporta")), Qt::LeftButton);
    });
    card.click(QStringLiteral("cmdEsporta"));
    QVERIFY(shown);
    QVERIFY(card.folder.read(QStringLiteral("Archivio_Soci.xls")).contains(">&lt;b&gt;nota&lt;/b&gt;</td>"));
    QCOMPARE(MemberArchive().read(0)->Note, QStringLiteral("=1+1"));
}

void TestExport::enterConfirmsTheCell_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Enter") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    QTest::newRow("Enter of the keypad") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
}

void TestExport::enterConfirmsTheCell()
{
    // A postcode typed over the cell, then Enter: the cell takes it and the
    // grid keeps the focus; no command runs, no other window opens, and a
    // second Enter on the grid does nothing either.
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    TestFolder folder;
    QVERIFY(MemberArchive().append(fullMember()));
    QStringList opened;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        if (dialog->objectName() != QStringLiteral("frmExpCandidati")) {
            opened << dialog->objectName();
            return;
        }
        QTableView *grid = qobject_cast<TfrmExpCandidati *>(dialog)->grid();
        QApplication::setActiveWindow(dialog);
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 7));
        QTest::keyClicks(grid, QStringLiteral("0")); // typing starts the edit
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor && grid->isAncestorOf(editor));
        QTest::keyClicks(editor, QStringLiteral("0184"));
        QTest::keyClick(editor, Qt::Key(key), modifiers);
        QTRY_COMPARE(QApplication::focusWidget(), grid); // the editor closes once the key is through
        QCOMPARE(grid->model()->index(0, 7).data().toString(), QStringLiteral("00184"));
        QTest::keyClick(grid, Qt::Key(key), modifiers);
        QVERIFY(dialog->isVisible());
    });
    TfrmExpCandidati window;
    Modal::show(&window);
    Modal::setHandlerForTesting({});
    QCOMPARE(opened, QStringList());
    QVERIFY(m_messages->texts().isEmpty());
}

void TestExport::exportFromTheWindow_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("exportNow");
    QTest::addColumn<bool>("openIt");
    for (const auto &[command, file] : {std::pair{"cmdEsporta", "Archivio_Soci.xls"},
                                        std::pair{"cmdEsportaXlsx", "Archivio_Soci.xlsx"}}) {
        QTest::addRow("%s: not now", file) << command << file << false << false;
        QTest::addRow("%s: exported, not opened", file) << command << file << true << false;
        QTest::addRow("%s: exported and opened", file) << command << file << true << true;
    }
}

void TestExport::exportFromTheWindow()
{
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(bool, exportNow);
    QFETCH(bool, openIt);
    TestFolder folder;
    QVERIFY(MemberArchive().append(fullMember()));
    TfrmExpCandidati window;
    window.show();
    m_messages->answerNext(exportNow);
    m_messages->answerNext(openIt);
    QTest::mouseClick(window.findChild<QWidget *>(command), Qt::LeftButton);
    QStringList expected = {kNotNow};
    if (exportNow)
        expected << kExported;
    QCOMPARE(m_messages->texts(), expected);
    QStringList files = {QStringLiteral("Archivio_Anagrafico.pro")};
    if (exportNow)
        files << file;
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), files);
    QCOMPARE(m_opened, openIt ? QStringList{u'"' + folder.file(file).replace(u'/', QDir::separator()) + u'"'}
                              : QStringList());
}

void TestExport::exportThatCannotBeWrittenKeepsTheEarlierFile_data()
{
    QTest::addColumn<FailingWrites::Kind>("failure");
    QTest::addColumn<qint64>("fullAt");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    for (const auto &[command, file] : {std::pair{"cmdEsporta", "Archivio_Soci.xls"},
                                        std::pair{"cmdEsportaXlsx", "Archivio_Soci.xlsx"}}) {
        QTest::addRow("%s: read-only folder", file) << FailingWrites::ReadOnlyFolder << qint64(0) << command << file;
        QTest::addRow("%s: disk full", file) << FailingWrites::FullDisk << qint64(16) << command << file;
    }
    // The disk fills while the workbook's parts are written, but not before
    // the much smaller packed workbook would fit.
    QTest::newRow("Archivio_Soci.xlsx: disk full part way")
        << FailingWrites::FullDisk << qint64(64 << 10) << "cmdEsportaXlsx" << "Archivio_Soci.xlsx";
}

void TestExport::exportThatCannotBeWrittenKeepsTheEarlierFile()
{
    QFETCH(FailingWrites::Kind, failure);
    QFETCH(qint64, fullAt);
    QFETCH(QString, command);
    QFETCH(QString, file);
    TestFolder folder;
    MemberArchive archive;
    for (int i = 0; i < 300; ++i)
        QVERIFY(archive.append(fullMember()));
    folder.write(file, "esportazione precedente");
    TfrmExpCandidati window;
    window.show();
    m_messages->answerNext(true);
    {
        FailingWrites failing(folder.path(), failure, fullAt);
        QTest::mouseClick(window.findChild<QWidget *>(command), Qt::LeftButton);
    }
    QCOMPARE(m_messages->shown().last().kind, Messages::Kind::Plain);
    QCOMPARE(m_messages->shown().last().text, kNotExported);
    QCOMPARE(folder.read(file), QByteArray("esportazione precedente"));
    // Nothing left behind half written.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("Archivio_Anagrafico.pro"), file}));
}

void TestExport::stoppedExportKeepsTheEarlierFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("earlier");
    for (const auto &[command, file] : {std::pair{"cmdEsporta", "Archivio_Soci.xls"},
                                        std::pair{"cmdEsportaXlsx", "Archivio_Soci.xlsx"}}) {
        QTest::addRow("%s: earlier file kept", file) << command << file << true;
        QTest::addRow("%s: none written", file) << command << file << false;
    }
}

void TestExport::stoppedExportKeepsTheEarlierFile()
{
    // Interrompi half way through the rows.
    QFETCH(QString, command);
    QFETCH(QString, file);
    QFETCH(bool, earlier);
    TestFolder folder;
    MemberArchive archive;
    for (int i = 0; i < 300; ++i)
        QVERIFY(archive.append(fullMember()));
    if (earlier)
        folder.write(file, "esportazione precedente");
    TfrmExpCandidati window;
    window.show();
    QStringList steps;
    WorkProgress::setAnswerForTesting([&](const QString &text, qint64 done, qint64 total) {
        steps << QStringLiteral("%1 %2/%3").arg(text).arg(done).arg(total);
        return done < 150;
    });
    m_messages->answerNext(true);
    QTest::mouseClick(window.findChild<QWidget *>(command), Qt::LeftButton);
    QCOMPARE(steps.size(), 150);
    QCOMPARE(steps.last(), QStringLiteral("Esportazione dell'archivio... 150/300"));
    QCOMPARE(m_messages->shown().size(), 2);
    QCOMPARE(m_messages->shown().last().kind, Messages::Kind::Information);
    QCOMPARE(m_messages->shown().last().text,
             earlier ? QStringLiteral("Esportazione interrotta: il file %1 è rimasto com'era.").arg(file)
                     : QStringLiteral("Esportazione interrotta: il file %1 non è stato scritto.").arg(file));
    QCOMPARE(m_opened, QStringList());
    QStringList files = {QStringLiteral("Archivio_Anagrafico.pro")};
    if (earlier) {
        QCOMPARE(folder.read(file), QByteArray("esportazione precedente"));
        files << file;
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), files);
}

void TestExport::archiveNotReadInFullIsNotExported()
{
    // Read-only is enough to export; an archive that cannot be read at all
    // never replaces a complete sheet with an empty one.
    TestFolder folder;
    QVERIFY(MemberArchive().append(fullMember()));
    folder.write(QStringLiteral("Archivio_Soci.xls"), "esportazione precedente");
    const QString archive = folder.file(QStringLiteral("Archivio_Anagrafico.pro"));
    for (const auto access : {QFileDevice::Permissions(QFileDevice::ReadOwner), QFileDevice::Permissions()}) {
        m_messages->clear();
        QFile::setPermissions(archive, access);
        {
            HonourFilePermissions permissions;
            TfrmExpCandidati window;
            window.show();
            m_messages->answerNext(true);
            m_messages->answerNext(false);
            window.cmdEsportaClick();
        }
        QFile::setPermissions(archive, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (access) {
            QCOMPARE(m_messages->shown().size(), 2);
            QVERIFY(folder.read(QStringLiteral("Archivio_Soci.xls")).contains("Rossi Mario"));
            folder.write(QStringLiteral("Archivio_Soci.xls"), "esportazione precedente");
        } else {
            QCOMPARE(m_messages->shown().size(), 1);
            QCOMPARE(m_messages->shown().at(0).kind, Messages::Kind::Plain);
            QCOMPARE(m_messages->shown().at(0).text, kNotReadInFull);
            QCOMPARE(folder.read(QStringLiteral("Archivio_Soci.xls")), QByteArray("esportazione precedente"));
        }
    }
}

void TestExport::archiveReadPartWayIsNotExported()
{
    // Another program holds the archive locked after the first block was
    // read: the grid has part of the members, and no sheet is made of them.
    TestFolder folder;
    MemberArchive archive;
    for (int i = 0; i < 300; ++i)
        QVERIFY(archive.append(fullMember()));
    folder.write(QStringLiteral("Archivio_Soci.xls"), "esportazione precedente");
    QFile other(folder.file(QStringLiteral("Archivio_Anagrafico.pro")));
    QVERIFY(other.open(QIODevice::ReadWrite));
    RecordFile::setBetweenBlocksForTesting([&] { FileLock::tryLock(other, FileLock::Exclusive); });
    TfrmExpCandidati window;
    window.show();
    RecordFile::setBetweenBlocksForTesting({});
    FileLock::unlock(other);
    QVERIFY(window.findChild<QTableView *>(QStringLiteral("grdRecords"))->model()->rowCount() > 0);
    window.cmdEsportaClick();
    QCOMPARE(m_messages->texts(), QStringList{kNotReadInFull});
    QCOMPARE(folder.read(QStringLiteral("Archivio_Soci.xls")), QByteArray("esportazione precedente"));
}

void TestExport::hints()
{
    TestFolder folder;
    QVERIFY(MemberArchive().append(fullMember()));
    TfrmExpCandidati window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *panInfo = window.findChild<QLabel *>(QStringLiteral("panInfo"));
    QCOMPARE(panInfo->text(), QStringLiteral("Esportazione archivio in Microsoft Excel."));
    QTest::mouseMove(window.findChild<QWidget *>(QStringLiteral("cmdEsci")), QPoint(10, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Esci da questo ambiente di lavoro."));
    QTest::mouseMove(window.grid()->viewport(), QPoint(40, 8)); // over a cell
    QCOMPARE(panInfo->text(), QString());
    QTest::mouseMove(window.findChild<QWidget *>(QStringLiteral("cmdEsporta")), QPoint(10, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Esporta l'archivio in formato Microsoft Excel."));
    QTest::mouseMove(window.grid()->horizontalHeader()->viewport(), QPoint(40, 5));
    QCOMPARE(panInfo->text(), QString());
    // The blue band of the status line, beside its text.
    QTest::mouseMove(window.findChild<QWidget *>(QStringLiteral("cmdGuida")), QPoint(10, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    QTest::mouseMove(window.findChild<QWidget *>(QStringLiteral("shpInfo")), QPoint(800, 16));
    QCOMPARE(panInfo->text(), QString());
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
