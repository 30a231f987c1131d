#include "../members/cardwindow.h"
#include "app/startup.h"
#include "app/tmisc.h"
#include "base/filelock.h"
#include "base/recordfile.h"
#include "documents/archivetable.h"
#include "documents/frmexpcandidati.h"
#include "members/memberarchive.h"
#include "support/filecapabilities.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "support/windowtest.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
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

QByteArray headerRow()
{
    const char *const titles[] = {"Cognome e nome", "Data nascita", "Cittadinanza", "Luogo nascita",
                                  "Indirizzo residenza", "Citt\xE0", "CAP", "Qualifica", "Codice fiscale",
                                  "Partita IVA", "Tessera n.", "Titolo di studio", "Lingue conosciute", "E-mail",
                                  "Tel. casa", "Tel. cellulare", "Documento", "Ente rilascio", "Data rilascio",
                                  "Data scadenza", "Quota associativa", "Data ammissione", "Data cessazione", "Note",
                                  "Da ricontattare"};
    const int widths[] = {250, 200, 250, 280, 300, 280, 180, 280, 250, 200, 250, 400, 350,
                          280, 220, 220, 300, 280, 250, 250, 400, 250, 250, 400, 160};
    QByteArray row;
    for (int i = 0; i < 25; ++i)
        row += "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(widths[i]) + '>'
            + titles[i] + "</td>";
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
    void gridShowsTheArchiveAndKeepsEditsBeside();
    void exportFromTheWindow_data();
    void exportFromTheWindow();
    void exportThatCannotBeWrittenKeepsTheEarlierFile_data();
    void exportThatCannotBeWrittenKeepsTheEarlierFile();
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
}

void TestExport::fileBytesForASmallArchive()
{
    TestFolder folder;
    TSchedaAnagrafica second;
    second.Candidato = QStringLiteral("Verdi Anna");
    second.setRicontatta(false);
    MemberArchive archive;
    QVERIFY(archive.append(fullMember()));
    QVERIFY(archive.append(second));
    ArchiveTable table;
    QVERIFY(table.load());
    QCOMPARE(table.rowCount(), 2);
    table.setCell(1, 6, QStringLiteral(" 06100 ")); // CAP typed into the grid
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

void TestExport::exportFromTheWindow_data()
{
    QTest::addColumn<bool>("exportNow");
    QTest::addColumn<bool>("openIt");
    QTest::newRow("not now") << false << false;
    QTest::newRow("exported, not opened") << true << false;
    QTest::newRow("exported and opened") << true << true;
}

void TestExport::exportFromTheWindow()
{
    QFETCH(bool, exportNow);
    QFETCH(bool, openIt);
    TestFolder folder;
    QVERIFY(MemberArchive().append(fullMember()));
    TfrmExpCandidati window;
    window.show();
    m_messages->answerNext(exportNow);
    m_messages->answerNext(openIt);
    window.cmdEsportaClick();
    QStringList expected = {QStringLiteral("L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del "
                                           "numero di schede presenti in archivio.\n\r\n\rSi vuole esportare i dati "
                                           "adesso?")};
    if (exportNow)
        expected << QStringLiteral("Le schede in archivio sono state esportate con successo.\n\r\n\rSi vuole aprire il "
                                   "file di Excel?");
    QCOMPARE(m_messages->texts(), expected);
    QCOMPARE(QFile::exists(folder.file(QStringLiteral("Archivio_Soci.xls"))), exportNow);
    QCOMPARE(m_opened, openIt ? QStringList{u'"' + folder.file(QStringLiteral("Archivio_Soci.xls")).replace(u'/', QDir::separator()) + u'"'}
                              : QStringList());
}

void TestExport::exportThatCannotBeWrittenKeepsTheEarlierFile_data()
{
    FailingWrites::addRows();
}

void TestExport::exportThatCannotBeWrittenKeepsTheEarlierFile()
{
    QFETCH(FailingWrites::Kind, failure);
    TestFolder folder;
    QVERIFY(MemberArchive().append(fullMember()));
    folder.write(QStringLiteral("Archivio_Soci.xls"), "esportazione precedente");
    TfrmExpCandidati window;
    window.show();
    m_messages->answerNext(true);
    {
        FailingWrites failing(folder.path(), failure);
        window.cmdEsportaClick();
    }
    QCOMPARE(m_messages->shown().last().kind, Messages::Kind::Plain);
    QCOMPARE(m_messages->shown().last().text,
             QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di "
                            "Excel non sia già aperto."));
    QCOMPARE(folder.read(QStringLiteral("Archivio_Soci.xls")), QByteArray("esportazione precedente"));
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
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
