#include "base/clock.h"
#include "base/recordfile.h"
#include "checks/codicefiscale.h"
#include "documents/archivetable.h"
#include "import/importfields.h"
#include "fees/feeledger.h"
#include "import/importconfirmation.h"
#include "import/importhistory.h"
#include "sheets/spreadsheetfile.h"
#include "import/spreadsheetimport.h"
#include "members/memberarchive.h"
#include "support/testfolder.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>

#include <xlsxwriter.h>
#include <zip.h>

using S = TSchedaAnagrafica;
using Limits = SpreadsheetFile::Limits;

namespace {

const QDate kToday(2025, 6, 15);

QByteArray windows1252(const QString &text)
{
    QByteArray out;
    for (QChar c : text)
        out += char(c.unicode() < 256 ? c.unicode() : '?');
    return out;
}

// Every row the reader hands over, as "number: cell|cell|...".
QStringList rowsOf(const QString &path, SpreadsheetFile::Result *result = nullptr, const Limits &limits = Limits())
{
    QStringList rows;
    const auto read = SpreadsheetFile::read(
        path,
        [&](qint64 number, const QStringList &cells) {
            rows << QString::number(number) + QStringLiteral(": ") + cells.join(u'|');
            return true;
        },
        limits);
    if (result)
        *result = read;
    return rows;
}

// A zip with the given parts, each packed unless it is the mimetype.
void writeZip(const QString &path, const QList<QPair<QString, QByteArray>> &parts)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    QVERIFY(archive);
    for (const auto &[name, bytes] : parts) {
        zip_source_t *source = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        const zip_int64_t index = zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        QVERIFY(index >= 0);
        if (name == QLatin1String("mimetype"))
            zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    QCOMPARE(zip_close(archive), 0); // the buffers are read here, while `parts` lives
}

QByteArray odsContent(const QByteArray &tables)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
           "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
           "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
           "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\">"
           "<office:body><office:spreadsheet>"
        + tables + "</office:spreadsheet></office:body></office:document-content>";
}

void writeOds(const QString &path, const QByteArray &tables)
{
    writeZip(path, {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
                    {QStringLiteral("content.xml"), odsContent(tables)}});
}

QByteArray stringCell(const char *text)
{
    return QByteArray("<table:table-cell office:value-type=\"string\"><text:p>") + text + "</text:p></table:table-cell>";
}

const char *const kHeadings = "Cognome;Nome;Sesso;Data di nascita;Luogo di nascita;Indirizzo;Città;CAP;Qualifica;"
                              "C.F.;Cellulare;Data iscrizione;Note";

// A complete member as a row under kHeadings.
QString readyRow(const QString &surname = QStringLiteral("Rossi"), const QString &code = QStringLiteral("RSSMRA80A01H501U"))
{
    return surname + QStringLiteral(";Mario;M;01/01/1980;Roma;Via Roma 1;Perugia;06100;Socio ordinario;") + code
        + QStringLiteral(";3331234567;01/02/2020;");
}

// A valid fiscal code of the first fifteen characters, its check letter
// found by trying.
QString withCheckLetter(const QString &first15)
{
    for (char check = 'A'; check <= 'Z'; ++check)
        if (CodFiscValido(first15 + QChar(check)))
            return first15 + QChar(check);
    return first15;
}

// The member the archive holds before a sheet is read.
TSchedaAnagrafica archived()
{
    TSchedaAnagrafica s;
    s.Candidato = QStringLiteral("Bianchi Luca");
    s.DataNasc = QStringLiteral("05/03/1970");
    s.CodFisc = QStringLiteral("BNCLCU70C05G478A");
    return s;
}

// A sheet of kHeadings and `lines`, read and judged against an archive that
// holds archived().
void loadSheet(SpreadsheetImport &import, const TestFolder &folder, const QStringList &lines)
{
    QVERIFY(MemberArchive().append(archived()));
    folder.write(QStringLiteral("soci.csv"), windows1252(QString::fromUtf8(kHeadings) + QStringLiteral("\r\n")
                                                         + lines.join(QStringLiteral("\r\n"))));
    const auto read = import.load(folder.file(QStringLiteral("soci.csv")));
    QVERIFY2(read.ok, qPrintable(read.reason));
    QVERIFY(import.judge(kToday));
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RecordFile::setLockTimeout(200); }
    void init() { Clock::setForTesting(QDateTime(kToday, QTime(10, 30))); }
    void cleanup() { Clock::setForTesting(QDateTime()); }

    void csvFiles_data();
    void csvFiles();
    void xlsxFiles_data();
    void xlsxFiles();
    void odsFile();
    void ownExportReadsBack();
    void olderExportKeepsItsTextsAsTyped();
    void hostileFiles_data();
    void hostileFiles();
    void rowsPastTheLimitAreRefused();

    void headings_data();
    void headings();
    void cleanedValues_data();
    void cleanedValues();

    void rowKinds_data();
    void rowKinds();
    void emptyRowsAndTitleRowsAreLeftOut();
    void onlyTheChosenKindsAreImported();
    void columnsSentElsewhere();
    void xlsxDateCells();
    void rowsThatAreNoMembersNeverGoIn();
    void aValueForAFieldNoColumnFills();
    void phoneColumnsAndChoicesByHand();
    void pipesAreRefusedAtOnce();
    void controlCharactersNeverReachACard();
    void lastImportTakenBack_data();
    void lastImportTakenBack();
    void twoCopiesImportingTheSameFile();
    void anImportThatCannotBeNotedStands();
    void aFieldTakesItsFirstColumn();
    void feeColumnAsPayments();
    void confirmationWithoutAWindow_data();
    void confirmationWithoutAWindow();
};

void TestImport::csvFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("semicolons, Windows-1252")
        << QByteArray("Cognome;Citt\xE0\r\nRossi;Citt\xE0 di Castello\r\n")
        << "testo CSV, separatore punto e virgola, codifica Windows-1252"
        << QStringList{"1: Cognome|Città", "2: Rossi|Città di Castello"};
    QTest::newRow("commas, UTF-8") << QString("Cognome,Città\nRossi,Forlì\n").toUtf8()
                                   << "testo CSV, separatore virgola, codifica UTF-8"
                                   << QStringList{"1: Cognome|Città", "2: Rossi|Forlì"};
    QTest::newRow("tabs, UTF-8 with its mark") << "\xEF\xBB\xBF" + QString("\"Cognome\"\tNote\nRossi\tSì\n").toUtf8()
                                               << "testo CSV, separatore tabulazione, codifica UTF-8"
                                               << QStringList{"1: Cognome|Note", "2: Rossi|Sì"};
    QTest::newRow("separators, quotes and line breaks in quotes")
        << QByteArray("Cognome;Indirizzo;Note\r\n\"Rossi\";\"Via Roma; 1\";\"prima\r\nseconda \"\"riga\"\"\"\r\nVerdi;;x")
        << "testo CSV, separatore punto e virgola, codifica UTF-8"
        << QStringList{"1: Cognome|Indirizzo|Note", "2: Rossi|Via Roma; 1|prima\r\nseconda \"riga\"", "3: Verdi||x"};
    QTest::newRow("commas inside quotes of the first row do not count")
        << QByteArray("\"Rossi, Mario\";Roma\nx;y\n") << "testo CSV, separatore punto e virgola, codifica UTF-8"
        << QStringList{"1: Rossi, Mario|Roma", "2: x|y"};
    QTest::newRow("a title without separators above the headings")
        << QByteArray("Soci 2025\r\n\r\nCognome,Note\r\nRossi,\"a; b\"\r\n")
        << "testo CSV, separatore virgola, codifica UTF-8" << QStringList{"1: Soci 2025", "3: Cognome|Note", "4: Rossi|a; b"};
    QTest::newRow("commas in the cells of a semicolon file")
        << QByteArray("Cognome;Indirizzo\r\nRossi;Via Roma, 1, int. 2, scala B\r\n")
        << "testo CSV, separatore punto e virgola, codifica UTF-8"
        << QStringList{"1: Cognome|Indirizzo", "2: Rossi|Via Roma, 1, int. 2, scala B"};
    QTest::newRow("Windows-1252 first seen past the first megabyte")
        << "Cognome;Note\r\n" + QByteArray("\r\n").repeated(600000) + "Rossi;Citt\xE0\r\n"
        << "testo CSV, separatore punto e virgola, codifica Windows-1252"
        << QStringList{"1: Cognome|Note", "600002: Rossi|Città"};
    QTest::newRow("as many commas as semicolons: the next row tells")
        << QByteArray("Cognome,Nome;Note\r\nRossi,Mario,socio\r\n") << "testo CSV, separatore virgola, codifica UTF-8"
        << QStringList{"1: Cognome|Nome;Note", "2: Rossi|Mario|socio"};
    QTest::newRow("as many commas as semicolons throughout")
        << QByteArray("Nome;Città, prov.\r\nRossi;Roma, RM\r\n") << "testo CSV, separatore punto e virgola, codifica UTF-8"
        << QStringList{"1: Nome|Città, prov.", "2: Rossi|Roma, RM"};
    QTest::newRow("empty rows keep their numbers") << QByteArray("A;B\r\n\r\n;\r\n x ; y ")
                                                   << "testo CSV, separatore punto e virgola, codifica UTF-8"
                                                   << QStringList{"1: A|B", "4: x|y"};
    QByteArray utf16("\xFF\xFE");
    for (QChar c : QStringLiteral("Cognome\tCittà\r\nRossi\tForlì\r\n"))
        utf16 += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
    QTest::newRow("Unicode text, as Excel saves it") << utf16 << "testo CSV, separatore tabulazione, codifica UTF-16"
                                                     << QStringList{"1: Cognome|Città", "2: Rossi|Forlì"};
}

void TestImport::csvFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, description);
    QFETCH(QStringList, rows);
    TestFolder folder;
    folder.write(QStringLiteral("soci.csv"), bytes);
    SpreadsheetFile::Result result;
    QCOMPARE(rowsOf(folder.file(QStringLiteral("soci.csv")), &result), rows);
    QVERIFY(result.ok);
    QCOMPARE(result.description, description);
}

void TestImport::xlsxFiles_data()
{
    QTest::addColumn<bool>("inlineStrings");
    QTest::newRow("shared strings") << false;
    QTest::newRow("strings in the cells") << true;
}

void TestImport::xlsxFiles()
{
    QFETCH(bool, inlineStrings);
    TestFolder folder;
    const QByteArray path = QFile::encodeName(folder.file(QStringLiteral("soci.xlsx")));
    lxw_workbook_options options{};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    lxw_workbook *book = workbook_new_opt(path.constData(), &options);
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Soci");
    lxw_format *postcode = workbook_add_format(book);
    format_set_num_format(postcode, "00000");
    lxw_format *date = workbook_add_format(book);
    format_set_num_format(date, "dd/mm/yyyy");
    const char *headings[] = {"Cognome e nome", "CAP", "Data di nascita", "Cellulare", "Quota", "Da ricontattare",
                              "", "Note"};
    for (int c = 0; c < 8; ++c)
        if (*headings[c])
            worksheet_write_string(sheet, 0, lxw_col_t(c), headings[c], nullptr);
    worksheet_write_string(sheet, 1, 0, "Rossi Mario", nullptr);
    worksheet_write_number(sheet, 1, 1, 184, postcode);
    worksheet_write_number(sheet, 1, 2, 29252, date);
    worksheet_write_number(sheet, 1, 3, 3331234567.0, nullptr);
    worksheet_write_number(sheet, 1, 4, 12.5, nullptr);
    worksheet_write_boolean(sheet, 1, 5, 1, nullptr);
    worksheet_write_string(sheet, 1, 7, "Città è <b> & C.", nullptr);
    worksheet_write_string(sheet, 3, 0, "Verdi Anna", nullptr);
    worksheet_write_number(sheet, 3, 2, 59, date); // before the leap day 1900 never had
    lxw_worksheet *second = workbook_add_worksheet(book, "Altro");
    worksheet_write_string(second, 0, 0, "non letto", nullptr);
    QCOMPARE(workbook_close(book), LXW_NO_ERROR);

    SpreadsheetFile::Result result;
    QCOMPARE(rowsOf(QString::fromLocal8Bit(path), &result),
             QStringList({"1: Cognome e nome|CAP|Data di nascita|Cellulare|Quota|Da ricontattare||Note",
                          "2: Rossi Mario|00184|01/02/1980|3331234567|12,5|VERO||Città è <b> & C.",
                          "4: Verdi Anna||28/02/1900"}));
    QVERIFY(result.ok);
    QCOMPARE(result.description, QStringLiteral("cartella di lavoro Excel (.xlsx)"));
}

void TestImport::odsFile()
{
    TestFolder folder;
    const QByteArray tables =
        "<table:table table:name=\"Soci\"><table:table-column table:number-columns-repeated=\"1024\"/>"
        "<table:table-row>" + stringCell("Cognome") + stringCell("Nome") + stringCell("CAP") + stringCell("Nato il")
        + stringCell("Note") + "<table:table-cell table:number-columns-repeated=\"16379\"/></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"2\">"
        "<table:table-cell office:value-type=\"string\"><text:p>De<text:s/>Luca</text:p></table:table-cell>"
        "<table:table-cell office:value-type=\"string\"><text:p>Anna<text:s text:c=\"2\"/><text:span>Maria</text:span>"
        "</text:p></table:table-cell>"
        "<table:table-cell office:value-type=\"float\" office:value=\"184\"><text:p>00184</text:p></table:table-cell>"
        "<table:table-cell office:value-type=\"date\" office:date-value=\"1980-02-01T00:00:00\"><text:p>01/02/80</text:p>"
        "</table:table-cell><table:table-cell office:value-type=\"string\"><office:annotation><text:p>commento</text:p>"
        "</office:annotation><text:p>prima</text:p><text:p>seconda<text:line-break/>terza</text:p></table:table-cell>"
        "</table:table-row>"
        "<table:table-row><table:table-cell table:number-columns-repeated=\"3\" office:value-type=\"string\">"
        "<text:p>x</text:p></table:table-cell><table:covered-table-cell/>"
        "<table:table-cell table:number-columns-repeated=\"2\"/>"
        "<table:table-cell office:value-type=\"float\" office:value=\"12.5\"><text:p>12,50 €</text:p></table:table-cell>"
        "</table:table-row>"
        "<table:table-row table:number-rows-repeated=\"1048570\"><table:table-cell "
        "table:number-columns-repeated=\"16384\"/></table:table-row></table:table>"
        "<table:table table:name=\"Altro\"><table:table-row>" + stringCell("non letto") + "</table:table-row></table:table>";
    writeOds(folder.file(QStringLiteral("soci.ods")), tables);
    SpreadsheetFile::Result result;
    const QString row = QStringLiteral("De Luca|Anna  Maria|00184|01/02/1980|prima\nseconda\nterza");
    QCOMPARE(rowsOf(folder.file(QStringLiteral("soci.ods")), &result),
             QStringList({"1: Cognome|Nome|CAP|Nato il|Note", "2: " + row, "3: " + row, "4: x|x|x||||12,5"}));
    QVERIFY(result.ok);
    QCOMPARE(result.description, QStringLiteral("foglio di calcolo OpenDocument (.ods)"));
}

void TestImport::ownExportReadsBack()
{
    TestFolder folder;
    S full;
    full.Candidato = QStringLiteral("Rossi Mario");
    full.DataNasc = QStringLiteral("10/12/1980");
    full.Cittadinanza = QStringLiteral("Italiana");
    full.LuogoNasc = QStringLiteral("Città di Castello");
    full.Indirizzo = QStringLiteral("Via <Roma> & C. 1");
    full.Citta = QStringLiteral("Perugia");
    full.Cap = QStringLiteral("00044");
    full.Settore = QStringLiteral("Presidente");
    full.CodFisc = QStringLiteral("RSSMRA80T10H501J");
    full.PartitaIva = QStringLiteral("01234567890");
    full.Patente = QStringLiteral("12");
    full.Studio = QStringLiteral("Laurea");
    full.Lingue = QStringLiteral("Inglese");
    full.Email = QStringLiteral("mario@esempio.it");
    full.Tel = QStringLiteral("0612345678");
    full.Cel = QStringLiteral("333 1");
    full.Documento = QStringLiteral("CI AB123");
    full.EnteRil = QStringLiteral("Comune");
    full.InizioTes = QStringLiteral("01/01/2020");
    full.FineTes = QStringLiteral("01/01/2030");
    full.Esperienze = QStringLiteral("50 euro");
    full.Competenze = QStringLiteral("02/02/2020");
    full.Note = QStringLiteral("=1+1 &amp; \"€\"");
    full.setRicontatta(true);
    S sparse;
    sparse.Candidato = QStringLiteral("Verdi Anna");
    MemberArchive archive;
    QVERIFY(archive.append(full) && archive.append(sparse));
    ArchiveTable table;
    QVERIFY(table.load());
    QVERIFY(table.writeSpreadsheet(folder.file(QStringLiteral("Archivio_Soci.xls"))));

    SpreadsheetImport import;
    const auto read = import.load(folder.file(QStringLiteral("Archivio_Soci.xls")));
    QVERIFY(read.ok);
    QCOMPARE(read.description, QStringLiteral("tabella HTML (Archivio_Soci.xls)"));
    QCOMPARE(import.columns().size(), size_t(25));
    for (size_t c = 0; c < 25; ++c)
        QCOMPARE(import.columns()[c].target, int(ArchiveTable::columns()[c].field));
    QCOMPARE(import.rowCount(), 2);
    QVERIFY(import.judge(kToday));
    const S back = import.member(0);
    for (const ArchiveTable::Column &c : ArchiveTable::columns())
        QCOMPARE(back.*S::fields()[size_t(c.field)].member, full.*S::fields()[size_t(c.field)].member);
    QCOMPARE(back.Sesso, QStringLiteral("M")); // not exported: the fiscal code says it
    QCOMPARE(import.member(1).Candidato, QStringLiteral("Verdi Anna"));
    QCOMPARE(import.member(1).Ricontatta, QStringLiteral("No"));
    QCOMPARE(import.firstProblem(0), SpreadsheetImport::Duplicate); // the same archive
}

void TestImport::olderExportKeepsItsTextsAsTyped()
{
    TestFolder folder;
    folder.write(QStringLiteral("Archivio_Soci.xls"),
                 "<html xmlns=\"http://www.w3.org/TR/REC-html40\"><head><meta http-equiv=\"Content-Type\" "
                 "content=\"text/html; charset=windows-1252\"></head><body><table x:str><tr>"
                 "<td style=\"text-align: left; font-weight: bold;\" width=250>Cognome e nome</td>"
                 "<td style=\"text-align: left; font-weight: bold;\" width=280>Citt\xE0</td>"
                 "<td style=\"text-align: left; font-weight: bold;\" width=400>Note</td></tr>"
                 "<tr><td style=\"text-align: left;\">Rossi &amp; Figli</td><td style=\"text-align: left;\">Forl\xEC</td>"
                 "<td style=\"text-align: left;\">a <b> c</TD></tr></table></body></html>");
    QCOMPARE(rowsOf(folder.file(QStringLiteral("Archivio_Soci.xls"))),
             QStringList({"1: Cognome e nome|Città|Note", "2: Rossi &amp; Figli|Forlì|a <b> c"}));
}

void TestImport::hostileFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // empty: the test writes a zip of `parts`
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");   // empty: read, and `rows` says what
    QTest::addColumn<QStringList>("rows");
    const Limits limits;
    QTest::newRow("a row repeated a billion times")
        << "soci.ods" << QByteArray()
        << odsContent("<table:table><table:table-row table:number-rows-repeated=\"1000000000\">" + stringCell("x")
                      + "</table:table-row></table:table>")
        << SpreadsheetFile::tooManyRows(limits) << QStringList();
    QTest::newRow("a cell repeated a billion times") << "soci.ods" << QByteArray()
        << odsContent("<table:table><table:table-row><table:table-cell table:number-columns-repeated=\"1000000000\" "
                      "office:value-type=\"string\"><text:p>x</text:p></table:table-cell></table:table-row></table:table>")
        << QString() << QStringList{"1: " + QStringList(limits.columns, QStringLiteral("x")).join(u'|')};
    QTest::newRow("a part unpacking to far more than it packs") << "soci.ods" << QByteArray()
        << odsContent("<table:table>" + QByteArray(96 << 20, ' ') + "</table:table>") << SpreadsheetFile::tooLarge()
        << QStringList();
    QTest::newRow("a workbook that is no XML") << "soci.xlsx" << QByteArray() << QByteArray(200000, '<')
        << SpreadsheetFile::unreadable() << QStringList();
    QTest::newRow("nested a hundred thousand deep") << "soci.ods" << QByteArray()
        << odsContent(QByteArray("<table:table>") + QByteArray("<a>").repeated(100000)) << SpreadsheetFile::unreadable()
        << QStringList();
    QTest::newRow("a picture") << "soci.csv" << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) << QByteArray()
                               << SpreadsheetFile::unreadable() << QStringList();
    QTest::newRow("old binary Excel") << "soci.xls" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0", 10)
        << QByteArray()
        << "Il file è nel vecchio formato binario di Excel: aprirlo con il foglio di calcolo, salvarlo come .xlsx, .ods "
           "o .csv e importare quel file."
        << QStringList();
    QTest::newRow("a quote never closed") << "soci.csv" << "Cognome;Note\n\"" + QByteArray(3 << 20, 'a')
                                          << QByteArray() << SpreadsheetFile::unreadable()
                                          << QStringList{"1: Cognome|Note"};
    QTest::newRow("an empty file") << "soci.csv" << QByteArray("\n") << QByteArray() << QString() << QStringList();
}

void TestImport::hostileFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QFETCH(QStringList, rows);
    TestFolder folder;
    if (!content.isEmpty()) {
        const bool ods = name.endsWith(QLatin1String(".ods"));
        if (ods)
            writeZip(folder.file(name), {{QStringLiteral("content.xml"), content}});
        else
            writeZip(folder.file(name), {{QStringLiteral("xl/workbook.xml"), content}});
    } else {
        folder.write(name, bytes);
    }
    SpreadsheetFile::Result result;
    const QStringList read = rowsOf(folder.file(name), &result);
    QCOMPARE(result.reason, reason);
    QCOMPARE(result.ok, reason.isEmpty());
    QCOMPARE(read, rows);
}

void TestImport::rowsPastTheLimitAreRefused()
{
    TestFolder folder;
    folder.write(QStringLiteral("soci.csv"), "A\r\nB\r\n\r\nC\r\n"); // the empty row does not count
    Limits limits;
    limits.rows = 3;
    SpreadsheetFile::Result result;
    QCOMPARE(rowsOf(folder.file(QStringLiteral("soci.csv")), &result, limits).size(), 3);
    QVERIFY(result.ok);
    limits.rows = 2;
    rowsOf(folder.file(QStringLiteral("soci.csv")), &result, limits);
    QCOMPARE(result.reason, SpreadsheetFile::tooManyRows(limits));
}

void TestImport::headings_data()
{
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("target");
    const QList<QPair<const char *, const char *>> cases = {
        {"Cognome e nome", "Cognome e nome"}, {"  COGNOME E NOME ", "Cognome e nome"}, {"Cognome", "Cognome"},
        {"Nome", "Nome"}, {"C.F.", "Codice fiscale"}, {"Codice Fiscale", "Codice fiscale"}, {"cf", "Codice fiscale"},
        {"Cellulare", "Tel. cellulare"}, {"Cell.", "Tel. cellulare"}, {"Telefono cellulare", "Tel. cellulare"},
        {"Telefono", "Telefono (cellulare o casa)"}, {"Tel.", "Telefono (cellulare o casa)"},
        {"Tel. casa", "Tel. casa"}, {"Telefono fisso", "Tel. casa"}, {"Data di nascita", "Data nascita"},
        {"Quota 2026", "Quota associativa"}, {"Quota associativa 2026", "Quota associativa"},
        {"Quota anno 2025", "Quota associativa"}, {"Data iscrizione al circolo", "Data ammissione"},
        {"Codice fiscale del socio", "Codice fiscale"}, {"Nome e cognome", "Cognome e nome"},
        {"Nome del padre", "(ignorata)"}, {"Telefono 2", "(ignorata)"},
        {"Nato il", "Data nascita"}, {"Luogo di nascita", "Luogo nascita"}, {"Nato a", "Luogo nascita"},
        {"E-mail", "E-mail"}, {"Email", "E-mail"}, {"Posta elettronica", "E-mail"}, {"MAIL", "E-mail"},
        {"Indirizzo", "Indirizzo residenza"}, {"Via", "Indirizzo residenza"}, {"Comune", "Città"},
        {"Città", "Città"}, {"CITTA'", "Città"}, {"Sesso", "Sesso"}, {"Professione", "Qualifica"},
        {"Qualifica", "Qualifica"}, {"Tessera", "Tessera n."}, {"N. tessera", "Tessera n."},
        {"Data iscrizione", "Data ammissione"}, {"Data ammissione", "Data ammissione"},
        {"Ente rilascio", "Ente di rilascio"}, {"Da ricontattare", "Da ricontattare"}, {"C.A.P.", "CAP"},
        {"Fax", "(ignorata)"}, {"N.", "(ignorata)"}, {"", "(ignorata)"},
    };
    for (const auto &[heading, target] : cases)
        QTest::newRow(heading) << QString::fromUtf8(heading) << QString::fromUtf8(target);
}

void TestImport::headings()
{
    QFETCH(QString, heading);
    QFETCH(QString, target);
    QCOMPARE(ImportFields::label(ImportFields::match(heading)), target);
}

void TestImport::cleanedValues_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cleaned");
    const QString day = QStringLiteral("01/02/1980");
    for (const char *written : {"01/02/1980", "1/2/80", "1980-02-01", "01.02.1980", "01-02-1980", "29252",
                                "1 febbraio 1980", "1-feb-1980", "1 Feb 1980", "1 February 1980", " 01/02/1980 00:00 ",
                                "1980-02-01T00:00:00"})
        QTest::newRow(written) << int(S::fDataNasc) << QString::fromUtf8(written) << day;
    QTest::newRow("two digits: this century") << int(S::fCompetenze) << "3/4/25" << "03/04/2025";
    QTest::newRow("two digits: ahead this year") << int(S::fDataNasc) << "1/12/25" << "01/12/1925";
    QTest::newRow("two digits of an expiry") << int(S::fFineTes) << "1/2/30" << "01/02/2030";
    QTest::newRow("a year alone stays") << int(S::fDataNasc) << "1980" << "1980";
    QTest::newRow("no such day stays") << int(S::fDataNasc) << "31/02/1980" << "31/02/1980";
    QTest::newRow("words stay") << int(S::fDisponibilita) << " in corso " << "in corso";
    QTest::newRow("sex in words") << int(S::fSesso) << "Femmina" << "F";
    QTest::newRow("sex, small letter") << int(S::fSesso) << "m" << "M";
    QTest::newRow("sex unknown stays") << int(S::fSesso) << "X" << "X";
    QTest::newRow("code with blanks") << int(S::fCodFisc) << " rss mra 80a01 h501u " << "RSSMRA80A01H501U";
    QTest::newRow("postcode lost its zeros") << int(S::fCap) << "184" << "00184";
    QTest::newRow("postcode of four digits") << int(S::fCap) << "6100" << "06100";
    QTest::newRow("postcode of two digits") << int(S::fCap) << "12" << "00012";
    QTest::newRow("postcode of one digit") << int(S::fCap) << "9" << "00009";
    QTest::newRow("postcode as a decimal number") << int(S::fCap) << "53.0" << "00053";
    QTest::newRow("postcode as a decimal number, Italian style") << int(S::fCap) << "53,0" << "00053";
    QTest::newRow("postcode of six digits stays") << int(S::fCap) << "123456" << "123456";
    QTest::newRow("eight digits, day first") << int(S::fDataNasc) << "01021980" << "01/02/1980";
    QTest::newRow("eight digits, year first") << int(S::fDataNasc) << "19800201" << "01/02/1980";
    QTest::newRow("eight digits, day past twelve") << int(S::fDataNasc) << "25121979" << "25/12/1979";
    QTest::newRow("control characters") << int(S::fCandidato)
                                        << QString(QStringLiteral("Ros") + QChar(0) + QStringLiteral("si\x01 Ma\x7Frio")
                                                   + QChar(0x85))
                                        << "Rossi Mario";
    QTest::newRow("a delete character alone") << int(S::fCandidato) << "Ros\x7Fsi Mario" << "Rossi Mario";
    QTest::newRow("a tab between words") << int(S::fNote) << "quota\tpagata" << "quota pagata";
    QTest::newRow("postcode whole") << int(S::fCap) << "06100" << "06100";
    QTest::newRow("postcode with words") << int(S::fCap) << "184 Roma" << "184 Roma";
    for (const char *yes : {"Sì", "si", "S", "Yes", "x", "1", "VERO"})
        QTest::newRow(yes) << int(S::fRicontatta) << QString::fromUtf8(yes) << "Sì";
    for (const char *no : {"No", "0", "", "forse", "FALSO"})
        QTest::newRow(no) << int(S::fRicontatta) << QString::fromUtf8(no) << "No";
    QTest::newRow("other texts only trimmed") << int(S::fNote) << " 01/02/1980 " << "01/02/1980";
    QTest::newRow("lines side by side") << int(S::fNote) << "Quota pagata\r\nin contanti\nil 3/2" << "Quota pagata in "
                                                                                                     "contanti il 3/2";
}

void TestImport::cleanedValues()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, cleaned);
    QCOMPARE(ImportFields::clean(field, text, kToday), cleaned);
}

void TestImport::rowKinds_data()
{
    QTest::addColumn<QStringList>("lines"); // under kHeadings; the last is judged
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("kept");         // with no kind ticked
    QString missing = readyRow();
    missing.replace(QStringLiteral("06100;"), QStringLiteral(";")).replace(QStringLiteral("3331234567"), QString());
    QString oneMissing = readyRow();
    oneMissing.replace(QStringLiteral("Socio ordinario"), QString());
    QString bothWrong = missing;
    bothWrong.replace(QStringLiteral("H501U"), QStringLiteral("H501A"));
    QTest::newRow("ready") << QStringList{readyRow()} << "Pronta" << true;
    QTest::newRow("sex and birth from the code")
        << QStringList{"Rossi;Mario;;;Roma;Via Roma 1;Perugia;06100;Socio ordinario;RSSMRA80A01H501U;333;2020-02-01;"}
        << "Pronta" << true;
    QTest::newRow("no such day: birth from the code")
        << QStringList{readyRow().replace(QStringLiteral("01/01/1980"), QStringLiteral("31/02/1990"))} << "Pronta"
        << true;
    QTest::newRow("a year alone is no date")
        << QStringList{readyRow().replace(QStringLiteral("01/02/2020"), QStringLiteral("2019"))}
        << "Manca: data di ammissione" << false;
    QTest::newRow("two fields missing") << QStringList{missing} << "Mancano: CAP, cellulare" << false;
    QTest::newRow("one field missing") << QStringList{oneMissing} << "Manca: qualifica" << false;
    QTest::newRow("wrong check letter") << QStringList{readyRow(QStringLiteral("Rossi"), QStringLiteral("RSSMRA80A01H501A"))}
                                        << "Codice fiscale errato" << false;
    QTest::newRow("a body's VAT number") << QStringList{readyRow(QStringLiteral("Rossi"), QStringLiteral("01234567897"))}
                                         << "Pronta" << true;
    QTest::newRow("in the archive by code")
        << QStringList{readyRow(QStringLiteral("Neri"), QStringLiteral("bnclcu70c05g478a"))}
        << "Già in archivio (scheda 1)" << false;
    QTest::newRow("in the archive by name and birth")
        << QStringList{" bianchi ;LUCA;M;5/3/70;Roma;Via Roma 1;Perugia;06100;Socio ordinario;BNCLCU70C05H501F;333;"
                       "01/02/2020;"}
        << "Già in archivio (scheda 1)" << false;
    QTest::newRow("repeated in the file") << QStringList{readyRow(), readyRow()} << "Ripete la riga 2" << false;
    QTest::newRow("repeated with other capitals")
        << QStringList{readyRow(QStringLiteral("Condò")), readyRow(QStringLiteral("CONDÒ"), QStringLiteral("RSSMRA80T10H501J"))}
        << "Ripete la riga 2" << false;
    QTest::newRow("a note that just fits, accented") << QStringList{readyRow() + QString(250, u'è')} << "Pronta" << true;
    QTest::newRow("nothing but a note") << QStringList{";;;;;;;;;;;;una nota"} << "Non è un socio: senza nome"
                                        << false;
    QTest::newRow("a valid code and nothing else")
        << QStringList{";;;;;;;;;RSSMRA80A01H501U;;;"}
        << "Mancano: cognome e nome, luogo di nascita, indirizzo, città, CAP, qualifica, cellulare, data di ammissione"
        << false;
    QTest::newRow("a note too long") << QStringList{readyRow() + QString(300, u'n')} << "Testo troppo lungo: Note"
                                     << false;
    QTest::newRow("a name too long")
        << QStringList{readyRow(QString(30, u'R')).replace(QStringLiteral("Mario"), QString(30, u'M'))}
        << "Testo troppo lungo: Cognome e nome" << false;
    QTest::newRow("a postcode that is no Italian one")
        << QStringList{readyRow().replace(QStringLiteral("06100"), QStringLiteral("CH-6900"))}
        << "Pronta; CAP non valido (importato così com'è)" << true;
    QTest::newRow("the lowest Italian postcode")
        << QStringList{readyRow().replace(QStringLiteral("06100"), QStringLiteral("00010"))} << "Pronta" << true;
    QTest::newRow("a total") << QStringList{readyRow(), "Totale soci: 301;;;;;;;;;;;;"} << "Non è un socio: riga di totale"
                             << false;
    QTest::newRow("a subtotal per town") << QStringList{"Subtotale Perugia;;;;;;Perugia;;;;;;"}
                                         << "Non è un socio: riga di totale" << false;
    QTest::newRow("a title under the headings") << QStringList{"Elenco dei soci;;;;;;;;;;;;"}
                                                << "Non è un socio: riga di titolo o di nota" << false;
    QTest::newRow("a count in the name") << QStringList{"Perugia (45);;;;;;;;;;;;"}
                                         << "Non è un socio: il nome contiene cifre" << false;
    QTest::newRow("a footer without a name") << QStringList{";;;;;;;;;;;;Stampato il 3/2/2025"}
                                             << "Non è un socio: senza nome" << false;
    QTest::newRow("a body with a number in its name and its VAT number")
        << QStringList{"Circolo 2000;;;;Roma;Via Roma 1;Perugia;06100;Socio ordinario;01234567897;333;01/02/2020;"}
        << "Mancano: sesso, data di nascita" << false;
    QTest::newRow("several problems") << QStringList{bothWrong} << "Mancano: CAP, cellulare; codice fiscale errato"
                                      << false;
}

void TestImport::rowKinds()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, status);
    QFETCH(bool, kept);
    TestFolder folder;
    SpreadsheetImport import;
    loadSheet(import, folder, lines);
    QCOMPARE(import.rowCount(), lines.size());
    const qint64 last = import.rowCount() - 1;
    QCOMPARE(import.status(last), status);
    QCOMPARE(SpreadsheetImport::kept(import.problems(last), 0), kept);
    // Every box ticked lets any member in, never a row that is none.
    QCOMPARE(SpreadsheetImport::kept(import.problems(last), 0xF), !status.startsWith(QStringLiteral("Non è un socio")));
    if (QByteArray(QTest::currentDataTag()) == "no such day: birth from the code")
        QCOMPARE(import.member(last).DataNasc, QStringLiteral("01/01/1980"));
    if (QByteArray(QTest::currentDataTag()) == "sex and birth from the code") {
        quint32 derived = 0;
        const S m = import.member(last, &derived);
        QCOMPARE(m.Sesso, QStringLiteral("M"));
        QCOMPARE(m.DataNasc, QStringLiteral("01/01/1980"));
        QCOMPARE(m.Competenze, QStringLiteral("01/02/2020"));
        QCOMPARE(derived, (1u << S::fSesso) | (1u << S::fDataNasc));
    }
    if (QByteArray(QTest::currentDataTag()) == "a name too long") {
        bool cut = false;
        QCOMPARE(import.cell(last, 0, nullptr, &cut).size(), 30); // the surname as read
        QCOMPARE(import.member(last).Candidato.size(), 61);
    }
}

void TestImport::emptyRowsAndTitleRowsAreLeftOut()
{
    TestFolder folder;
    folder.write(QStringLiteral("soci.csv"),
                 windows1252(QStringLiteral("Elenco soci 2025;;\r\n;;\r\n") + QString::fromUtf8(kHeadings) + "\r\n"
                             + readyRow() + "\r\n;;;;\r\n  ;\t;\r\n" + readyRow(QStringLiteral("Verdi"))));
    SpreadsheetImport import;
    QVERIFY(import.load(folder.file(QStringLiteral("soci.csv"))).ok);
    QCOMPARE(import.columns().front().heading, QStringLiteral("Cognome"));
    QCOMPARE(import.columns().front().target, int(ImportFields::Surname));
    QCOMPARE(import.rowCount(), 2);
    QCOMPARE(import.rowNumber(0), 4);
    QCOMPARE(import.rowNumber(1), 7);
}

void TestImport::onlyTheChosenKindsAreImported()
{
    TestFolder folder;
    SpreadsheetImport import;
    loadSheet(import, folder,
              {readyRow(), readyRow(QStringLiteral("Verdi"), QStringLiteral("VRDNNA85M41D612A")),
               readyRow(QStringLiteral("Bianchi"), QStringLiteral("BNCLCU70C05G478A")), readyRow(QStringLiteral("Neri"))});
    using SI = SpreadsheetImport;
    QCOMPARE(import.keptCount(0), 1);
    QCOMPARE(import.countWith(SI::Duplicate), 2); // in the archive, and repeating row 2
    QCOMPARE(import.keptCount(SI::BadCode), 2);
    QCOMPARE(import.keptCount(SI::BadCode | SI::Duplicate), 4);
    QCOMPARE(import.skippedBy(0), (std::array<qint64, 4>{0, 1, 2, 0}));

    const std::vector<qint64> rows = import.keptRows(SI::Duplicate);
    QCOMPARE(rows, (std::vector<qint64>{0, 2, 3}));
    QCOMPARE(import.member(rows[1]).Candidato, QStringLiteral("Bianchi Mario"));
    QCOMPARE(import.member(rows[2]).Candidato, QStringLiteral("Neri Mario"));
    const auto first = MemberArchive().append(3, [&](qint64 i) { return import.member(rows[size_t(i)]); });
    QCOMPARE(first, std::optional<qint64>(1));
    QCOMPARE(MemberArchive().read(1)->Candidato, QStringLiteral("Rossi Mario"));
    QCOMPARE(MemberArchive().read(1)->Cap, QStringLiteral("06100"));
    QCOMPARE(MemberArchive().read(1)->ricontatta(), std::optional<bool>(false));

    const QString report = import.report(QStringLiteral("/soci.csv"), SI::Duplicate, *first);
    QVERIFY(report.endsWith(QStringLiteral("\r\n")));
    QVERIFY(!report.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
    const QStringList lines = report.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.mid(0, 3), QStringList({"Importazione soci da foglio di calcolo", "File: /soci.csv",
                                           "Data: 15/06/2025 10:30"}));
    QVERIFY(lines.contains(QStringLiteral("Soci importati in archivio: 3 (schede da 2 a 4)")));
    QVERIFY(lines.contains(QStringLiteral("Righe non importate: 1")));
    QVERIFY(lines.contains(QStringLiteral("  con codice fiscale errato: 1")));
    QVERIFY(lines.contains(QStringLiteral("Riga 3 - Verdi Mario: Codice fiscale errato")));
    QVERIFY(lines.contains(QStringLiteral("Riga 4 - Bianchi Mario: Già in archivio (scheda 1)")));
    QVERIFY(lines.indexOf(QStringLiteral("Righe non importate:")) < lines.indexOf(QStringLiteral("Righe importate con avvertenze:")));
}

void TestImport::feeColumnAsPayments()
{
    // A "Quota 2026" column: the members imported with an amount there have
    // that year's payment, dated the day of the import, method Altro; a
    // text that is no amount records nothing.
    TestFolder folder;
    QVERIFY(MemberArchive().append(archived()));
    const QStringList rows = {readyRow() + QStringLiteral(";30,00"),
                              readyRow(QStringLiteral("Verdi"), withCheckLetter(QStringLiteral("VRDMRA80A01H501")))
                                  + QStringLiteral(";25 euro"),
                              readyRow(QStringLiteral("Neri"), withCheckLetter(QStringLiteral("NRENMR80A01H501")))
                                  + QStringLiteral(";non pagata")};
    folder.write(QStringLiteral("soci.csv"), windows1252(QString::fromUtf8(kHeadings) + QStringLiteral(";Quota 2026\r\n")
                                                         + rows.join(QStringLiteral("\r\n"))));
    SpreadsheetImport import;
    QVERIFY(import.load(folder.file(QStringLiteral("soci.csv"))).ok);
    QCOMPARE(import.feeYear(), std::optional<int>(2026));
    ImportConfirmation::Hooks hooks;
    hooks.recordFees = true;
    const auto result = ImportConfirmation::run(import, 0, kToday, hooks);
    QCOMPARE(int(result.kind), int(ImportConfirmation::Result::Imported));
    QCOMPARE(result.outcome.count, 3);
    QVERIFY2(result.message.contains(QStringLiteral("Versamenti della quota 2026 registrati: 2.")), qPrintable(result.message));
    QVERIFY(result.message.endsWith(QStringLiteral("Si vuole salvare il riepilogo dell'importazione in un file di testo?")));
    QCOMPARE(FeeLedger::paidFor(2026), std::optional<QSet<qint64>>(QSet<qint64>{2, 3}));
    const auto verdi = FeeLedger::ofMember(3);
    QCOMPARE(verdi->first().cents, 2500);
    QCOMPARE(verdi->first().method, FeeLedger::Method::Other);
    QCOMPARE(verdi->first().paid, kToday);
    QCOMPARE(verdi->first().name, QStringLiteral("Verdi Mario"));
    // Not asked for: no ledger at all.
    SpreadsheetImport again;
    QVERIFY(again.load(folder.file(QStringLiteral("soci.csv"))).ok);
    QCOMPARE(ImportConfirmation::run(again, SpreadsheetImport::Duplicate, kToday, {}).feesRecorded, 0);
}

void TestImport::confirmationWithoutAWindow_data()
{
    QTest::addColumn<int>("stopAt"); // -1: never; else the stage whose progress stops
    QTest::addColumn<bool>("yes");
    QTest::addColumn<quint8>("accepted");
    QTest::addColumn<int>("kind");
    QTest::addColumn<qint64>("written");
    QTest::addColumn<QString>("message");
    using R = ImportConfirmation::Result;
    using Stage = ImportConfirmation::Stage;
    const QString stopped = QStringLiteral("Importazione interrotta: l'archivio è rimasto com'era.");
    // The duplicates let in: Rossi, Bianchi (in the archive) and Neri
    // (repeating Rossi) go in, Verdi's wrong code keeps him out.
    const quint8 duplicates = SpreadsheetImport::Duplicate;
    QTest::newRow("imported") << -1 << true << duplicates << int(R::Imported) << qint64(3)
                              << QStringLiteral("Sono stati importati in archivio 3 soci (schede da 2 a 4).\n\r\n\r"
                                                "Righe non importate: 1 (1 con codice fiscale errato).\n\r\n\rSi "
                                                "vuole salvare il riepilogo dell'importazione in un file di testo?");
    QTest::newRow("declined") << -1 << false << duplicates << int(R::Declined) << qint64(0) << QString();
    QTest::newRow("stopped while judging") << int(Stage::Judging) << true << duplicates << int(R::StoppedJudging)
                                           << qint64(0) << stopped;
    QTest::newRow("stopped while writing") << int(Stage::Writing) << true << duplicates << int(R::StoppedWriting)
                                           << qint64(0) << stopped;
}

void TestImport::confirmationWithoutAWindow()
{
    // Judged again, asked, written all or none, told: the sequence of
    // Importa as the window runs it, with the user's answers scripted.
    QFETCH(int, stopAt);
    QFETCH(bool, yes);
    QFETCH(quint8, accepted);
    QFETCH(int, kind);
    QFETCH(qint64, written);
    QFETCH(QString, message);
    TestFolder folder;
    SpreadsheetImport import;
    QStringList lines = {readyRow(), readyRow(QStringLiteral("Verdi"), QStringLiteral("VRDNNA85M41D612A")),
                         readyRow(QStringLiteral("Bianchi"), QStringLiteral("BNCLCU70C05G478A")),
                         readyRow(QStringLiteral("Neri"))};
    // The rows are judged a thousand at a time between two looks at the progress.
    if (stopAt == int(ImportConfirmation::Stage::Judging))
        for (int i = 0; i < 1100; ++i)
            lines << readyRow(QStringLiteral("Neri"));
    loadSheet(import, folder, lines);
    const QByteArray before = folder.read(QStringLiteral("Archivio_Anagrafico.pro"));
    QStringList asked;
    ImportConfirmation::Hooks hooks;
    hooks.progress = [stopAt](ImportConfirmation::Stage stage) -> Progress {
        return [stop = int(stage) == stopAt](qint64, qint64) { return !stop; };
    };
    hooks.proceed = [&](const QString &question) {
        asked << question;
        return yes;
    };
    const auto result = ImportConfirmation::run(import, accepted, kToday, hooks);
    QCOMPARE(int(result.kind), kind);
    QCOMPARE(result.message, message);
    QCOMPARE(MemberArchive().count(), std::optional<qint64>(1 + written));
    if (written == 0)
        QCOMPARE(folder.read(QStringLiteral("Archivio_Anagrafico.pro")), before);
    if (stopAt != int(ImportConfirmation::Stage::Judging))
        QCOMPARE(asked, QStringList{QStringLiteral("Saranno importati in archivio 3 soci, dalle 4 righe del file."
                                                   "\n\r\n\rSi vuole procedere con l'importazione?")});
    else
        QVERIFY(asked.isEmpty());
}

void TestImport::aFieldTakesItsFirstColumn()
{
    TestFolder folder;
    folder.write(QStringLiteral("soci.csv"), "Cognome e nome;Note;Annotazioni\r\nRossi Mario;prima;seconda\r\n");
    SpreadsheetImport import;
    QVERIFY(import.load(folder.file(QStringLiteral("soci.csv"))).ok);
    QCOMPARE(import.columns()[2].target, int(ImportFields::Ignored));
    QCOMPARE(import.member(0).Note, QStringLiteral("prima"));
}

void TestImport::columnsSentElsewhere()
{
    TestFolder folder;
    SpreadsheetImport import;
    loadSheet(import, folder, {readyRow()});
    QCOMPARE(import.status(0), QStringLiteral("Pronta"));
    // The place of birth sent to the notes: the row lacks it now.
    import.setTarget(4, S::fNote);
    QCOMPARE(import.columns()[4].target, int(S::fNote));
    QCOMPARE(import.columns()[12].target, int(ImportFields::Ignored)); // the notes' own column gave way
    QCOMPARE(import.member(0).Note, QStringLiteral("Roma"));
    QCOMPARE(import.status(0), QStringLiteral("Manca: luogo di nascita"));
    import.setTarget(4, S::fLuogoNasc);
    import.setTarget(1, ImportFields::Ignored);
    QCOMPARE(import.member(0).Candidato, QStringLiteral("Rossi"));
    QCOMPARE(import.status(0), QStringLiteral("Pronta"));
}

void TestImport::xlsxDateCells()
{
    // Excel's built-in date formats (14 and its kin) carry no format code;
    // a workbook counting from 1904 puts its day numbers four years later.
    TestFolder folder;
    const QByteArray path = QFile::encodeName(folder.file(QStringLiteral("date.xlsx")));
    lxw_workbook *book = workbook_new(path.constData());
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Soci");
    int column = 0;
    for (uint8_t id : {14, 15, 17, 22}) {
        lxw_format *format = workbook_add_format(book);
        format_set_num_format_index(format, id);
        worksheet_write_number(sheet, 0, lxw_col_t(column++), 29252, format);
    }
    QCOMPARE(workbook_close(book), LXW_NO_ERROR);
    QCOMPARE(rowsOf(QString::fromLocal8Bit(path)), QStringList{"1: 01/02/1980|01/02/1980|01/02/1980|01/02/1980"});

    const QByteArray rels = "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                            "relationships\">";
    writeZip(folder.file(QStringLiteral("1904.xlsx")),
             {{QStringLiteral("_rels/.rels"),
               rels + "<Relationship Id=\"r1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                      "relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
              {QStringLiteral("xl/workbook.xml"),
               "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
               "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><workbookPr "
               "date1904=\"1\"/><sheets><sheet name=\"Soci\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
              {QStringLiteral("xl/_rels/workbook.xml.rels"),
               rels + "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                      "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
                      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
                      "Target=\"styles.xml\"/></Relationships>"},
              {QStringLiteral("xl/styles.xml"),
               "<?xml version=\"1.0\"?><styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
               "<cellXfs count=\"2\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs></styleSheet>"},
              {QStringLiteral("xl/worksheets/sheet1.xml"),
               "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
               "<sheetData><row r=\"1\"><c r=\"A1\" s=\"1\"><v>27790</v></c><c r=\"B1\"><v>12</v></c></row>"
               "</sheetData></worksheet>"}});
    SpreadsheetFile::Result result;
    QCOMPARE(rowsOf(folder.file(QStringLiteral("1904.xlsx")), &result), QStringList{"1: 01/02/1980|12"});
    QVERIFY2(result.ok, qPrintable(result.reason));
}

void TestImport::rowsThatAreNoMembersNeverGoIn()
{
    // A list without a Qualifica column, closed by a totals row: with every
    // kind of row ticked the members go in, the total never; read again,
    // every member is already there and the total is still no member.
    TestFolder folder;
    QString headings = QString::fromUtf8(kHeadings);
    headings.replace(QStringLiteral("Qualifica"), QStringLiteral("Altro"));
    QString row = readyRow();
    row.replace(QStringLiteral("Socio ordinario"), QString());
    folder.write(QStringLiteral("soci.csv"),
                 windows1252(headings + "\r\n" + row + "\r\n" + readyRow(QStringLiteral("Verdi"), QStringLiteral("VRDNNA85M41D612C"))
                             .replace(QStringLiteral("Socio ordinario"), QString())
                             + "\r\nTotale soci: 2;;;;;;;;;;;;\r\n"));
    for (int round = 0; round < 2; ++round) {
        SpreadsheetImport import;
        QVERIFY(import.load(folder.file(QStringLiteral("soci.csv"))).ok);
        QVERIFY(import.judge(kToday));
        QCOMPARE(import.status(2), QStringLiteral("Non è un socio: riga di totale"));
        const auto outcome = import.importInto(0xFF);
        QCOMPARE(int(outcome.kind), int(SpreadsheetImport::Outcome::Imported));
        QCOMPARE(outcome.count, 2);
        QCOMPARE(outcome.notMembers, 1);
        QVERIFY(outcome.report.contains(QStringLiteral("\r\n  che non sono soci: 1\r\n")));
    }
    QCOMPARE(MemberArchive().count(), std::optional<qint64>(4)); // twice, as the duplicates were ticked
    for (qint64 i = 0; i < 4; ++i)
        QVERIFY(!MemberArchive().read(i)->Candidato.startsWith(QStringLiteral("Totale")));
    SpreadsheetImport again;
    QVERIFY(again.load(folder.file(QStringLiteral("soci.csv"))).ok);
    QVERIFY(again.judge(kToday));
    QCOMPARE(int(again.importInto(SpreadsheetImport::Missing).kind), int(SpreadsheetImport::Outcome::NoRows));
}

void TestImport::aValueForAFieldNoColumnFills()
{
    TestFolder folder;
    QString headings = QString::fromUtf8(kHeadings);
    headings.replace(QStringLiteral("Qualifica"), QStringLiteral("Altro"));
    folder.write(QStringLiteral("soci.csv"), windows1252(headings + "\r\n" + readyRow()));
    SpreadsheetImport import;
    QVERIFY(import.load(folder.file(QStringLiteral("soci.csv"))).ok);
    QVERIFY(import.judge(kToday));
    QCOMPARE(import.status(0), QStringLiteral("Manca: qualifica"));
    const std::vector<int> unfilled = import.unfilledFields();
    QVERIFY(std::find(unfilled.begin(), unfilled.end(), int(S::fSettore)) != unfilled.end());
    QVERIFY(std::find(unfilled.begin(), unfilled.end(), int(S::fCandidato)) == unfilled.end());
    QVERIFY(std::find(unfilled.begin(), unfilled.end(), int(S::fCodFisc)) == unfilled.end());
    QVERIFY(std::find(unfilled.begin(), unfilled.end(), int(S::fCap)) == unfilled.end());
    // Nor is the fiscal code one value for every row when no column gives it.
    SpreadsheetImport noCodes;
    folder.write(QStringLiteral("senza codici.csv"), "Cognome e nome;Citt\xE0\r\nRossi Mario;Perugia\r\n");
    QVERIFY(noCodes.load(folder.file(QStringLiteral("senza codici.csv"))).ok);
    const std::vector<int> noCodeColumn = noCodes.unfilledFields();
    QVERIFY(std::find(noCodeColumn.begin(), noCodeColumn.end(), int(S::fCodFisc)) == noCodeColumn.end());
    QVERIFY(std::find(noCodeColumn.begin(), noCodeColumn.end(), int(S::fSettore)) != noCodeColumn.end());

    import.setCommonValue(S::fSettore, QStringLiteral(" Socio ordinario "));
    import.setCommonValue(S::fCap, QStringLiteral("99999")); // a column fills it: no common value
    QCOMPARE(import.status(0), QStringLiteral("Pronta"));
    QCOMPARE(import.member(0).Settore, QStringLiteral("Socio ordinario"));
    QCOMPARE(import.member(0).Cap, QStringLiteral("06100"));
    const auto outcome = import.importInto(0);
    QCOMPARE(outcome.count, 1);
    QCOMPARE(MemberArchive().read(0)->Settore, QStringLiteral("Socio ordinario"));
}

void TestImport::phoneColumnsAndChoicesByHand()
{
    TestFolder folder;
    // The only telephone is the mobile number a card needs; beside a mobile
    // column it is the home number.
    folder.write(QStringLiteral("uno.csv"), "Cognome e nome;Telefono;Tel.\r\nRossi Mario;333;075\r\n");
    folder.write(QStringLiteral("due.csv"), "Cognome e nome;Telefono;Cellulare\r\nRossi Mario;075;333\r\n");
    SpreadsheetImport import;
    QVERIFY(import.load(folder.file(QStringLiteral("uno.csv"))).ok);
    QCOMPARE(import.columns()[1].target, int(S::fCel));
    QCOMPARE(import.columns()[2].target, int(S::fTel));
    QVERIFY(import.load(folder.file(QStringLiteral("due.csv"))).ok);
    QCOMPARE(import.columns()[1].target, int(S::fTel));
    QCOMPARE(import.columns()[2].target, int(S::fCel));

    // A field chosen by hand for a heading is what the next sheet with that
    // heading gets, whatever the heading names.
    folder.write(QStringLiteral("tre.csv"), "Cognome e nome;Recapito;Reparto\r\nRossi Mario;333;Cucina\r\n");
    QVERIFY(import.load(folder.file(QStringLiteral("tre.csv"))).ok);
    QCOMPARE(import.columns()[2].target, int(ImportFields::Ignored));
    import.setTarget(2, S::fSettore);
    import.setTarget(1, ImportFields::Ignored);
    SpreadsheetImport later;
    folder.write(QStringLiteral("quattro.csv"), "REPARTO;Cognome e nome;recapito\r\nSala;Verdi Anna;335\r\n");
    QVERIFY(later.load(folder.file(QStringLiteral("quattro.csv"))).ok);
    QCOMPARE(later.columns()[0].target, int(S::fSettore));
    QCOMPARE(later.columns()[2].target, int(ImportFields::Ignored));
    QVERIFY(QFile::exists(folder.file(QString::fromLatin1(ImportHistory::FileName))));
}

void TestImport::pipesAreRefusedAtOnce()
{
    TestFolder folder;
    const QString pipe = folder.file(QStringLiteral("soci.csv"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    SpreadsheetImport import;
    const auto read = import.load(pipe);
    QVERIFY(!read.ok);
    QVERIFY(read.reason.contains(QStringLiteral("non è un file ordinario")));
    QVERIFY(!import.load(folder.path()).ok);
    // A file gone since it was chosen is said to be unopenable, not to be a pipe.
    const auto gone = import.load(folder.file(QStringLiteral("altro.csv")));
    QVERIFY(!gone.ok);
    QVERIFY(gone.reason.startsWith(QStringLiteral("Il file non può essere aperto")));
}

void TestImport::controlCharactersNeverReachACard()
{
    // A NUL byte past the first kilobytes, where the file is already taken
    // for text, and other controls inside the names.
    TestFolder folder;
    QByteArray bytes = QByteArray(kHeadings) + "\r\n";
    while (bytes.size() < 6000)
        bytes += windows1252(readyRow(QStringLiteral("Neri"))) + "\r\n";
    bytes += windows1252(readyRow(QStringLiteral("Ros")).replace(QStringLiteral(";Mario"), QStringLiteral(";Ma\x01rio")))
                 .insert(3, QByteArray("\0si\x1B", 4))
        + "\r\n";
    folder.write(QStringLiteral("soci.csv"), bytes);
    SpreadsheetImport import;
    QVERIFY(import.load(folder.file(QStringLiteral("soci.csv"))).ok);
    const qint64 last = import.rowCount() - 1;
    QCOMPARE(import.member(last).Candidato, QStringLiteral("Rossi Mario"));
    QCOMPARE(import.cell(last, 0), QStringLiteral("Rossi"));
}

void TestImport::lastImportTakenBack_data()
{
    QTest::addColumn<QString>("after"); // what happened after the import
    QTest::addColumn<int>("kind");      // ImportHistory::Undo::Kind
    QTest::newRow("nothing") << "" << int(ImportHistory::Undo::Undone);
    QTest::newRow("a card appended") << "append" << int(ImportHistory::Undo::NotLast);
    QTest::newRow("an imported card saved") << "save" << int(ImportHistory::Undo::Changed);
    QTest::newRow("a photo given to an imported card") << "photo" << int(ImportHistory::Undo::Changed);
    QTest::newRow("an older card saved") << "older" << int(ImportHistory::Undo::Undone);
}

void TestImport::lastImportTakenBack()
{
    QFETCH(QString, after);
    QFETCH(int, kind);
    TestFolder folder;
    SpreadsheetImport import;
    loadSheet(import, folder,
              {readyRow(), readyRow(QStringLiteral("Verdi"), withCheckLetter(QStringLiteral("VRDNNA85M41D612")))});
    const QByteArray before = folder.read(MemberArchive::FileName);
    QCOMPARE(import.importInto(0).count, 2);
    const QByteArray imported = folder.read(MemberArchive::FileName).mid(before.size());
    S changed = *MemberArchive().read(1);
    changed.Tel = QStringLiteral("075 123456");
    if (after == QLatin1String("append"))
        QVERIFY(MemberArchive().append(archived()));
    else if (after == QLatin1String("save"))
        QVERIFY(MemberArchive().overwrite(1, changed));
    else if (after == QLatin1String("photo"))
        QVERIFY(MemberArchive::savePhoto(QStringLiteral("3"), QImage(8, 8, QImage::Format_RGB32)));
    else if (after == QLatin1String("older"))
        QVERIFY(MemberArchive().overwrite(0, changed));
    const QByteArray untilNow = folder.read(MemberArchive::FileName);

    const ImportHistory::Undo undo = ImportHistory::undoLast();
    QCOMPARE(int(undo.kind), kind);
    QCOMPARE(undo.import.first, 1);
    QCOMPARE(undo.import.count, 2);
    QCOMPARE(undo.import.file, QStringLiteral("soci.csv"));
    if (kind != ImportHistory::Undo::Undone) {
        QCOMPARE(folder.read(MemberArchive::FileName), untilNow);
        return;
    }
    QCOMPARE(folder.read(MemberArchive::FileName), untilNow.left(before.size()));
    QCOMPARE(QFileInfo(undo.keptIn).dir(), QDir(folder.file(QStringLiteral("Backup"))));
    QFile kept(undo.keptIn);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), imported);
    // Only once.
    QCOMPARE(int(ImportHistory::undoLast().kind), int(ImportHistory::Undo::NoImport));
}

void TestImport::twoCopiesImportingTheSameFile()
{
    // Two copies of the program, each with the same sheet read and judged
    // against the same archive, import at the same moment: every member
    // goes in once.
    for (int round = 0; round < 4; ++round) {
        TestFolder folder;
        QVERIFY(MemberArchive().append(archived()));
        QStringList lines{QString::fromUtf8(kHeadings)};
        const char *const surnames[] = {"Rossi", "Verdi", "Neri", "Gialli", "Blu", "Russo", "Ferrari", "Esposito"};
        for (const char *surname : surnames)
            lines << readyRow(QString::fromLatin1(surname), withCheckLetter(QStringLiteral("RSSMRA80A01H50%1").arg(lines.size())));
        folder.write(QStringLiteral("soci.csv"), windows1252(lines.join(QStringLiteral("\r\n"))));
        const QString at = QString::number(QDateTime::currentMSecsSinceEpoch() + 1500);
        std::array<QProcess, 2> copies;
        for (QProcess &copy : copies)
            copy.start(QStringLiteral(QUORVEL_PROBE),
                       {QStringLiteral("import"), folder.path(), folder.file(QStringLiteral("soci.csv")), at});
        QList<int> codes;
        for (QProcess &copy : copies) {
            QVERIFY(copy.waitForFinished(30000));
            codes << copy.exitCode();
        }
        std::sort(codes.begin(), codes.end());
        QCOMPARE(codes, QList<int>({0, 3}));
        QCOMPARE(MemberArchive().count(), std::optional<qint64>(9));
    }
}

void TestImport::anImportThatCannotBeNotedStands()
{
    // The history cannot be written (here a folder takes its name): the
    // members are in the archive all the same, and the import is said to be
    // one that cannot be taken back.
    TestFolder folder;
    QVERIFY(QDir(folder.path()).mkdir(QString::fromLatin1(ImportHistory::FileName)));
    SpreadsheetImport import;
    loadSheet(import, folder, {readyRow()});
    const auto outcome = import.importInto(0);
    QCOMPARE(int(outcome.kind), int(SpreadsheetImport::Outcome::Imported));
    QVERIFY(!outcome.undoable);
    QCOMPARE(MemberArchive().count(), std::optional<qint64>(2));
    QCOMPARE(int(ImportHistory::undoLast().kind), int(ImportHistory::Undo::Failed));
    QCOMPARE(MemberArchive().count(), std::optional<qint64>(2));
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
