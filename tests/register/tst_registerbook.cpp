#include "base/inifile.h"
#include "members/schedaanagrafica.h"
#include "register/memberimport.h"
#include "register/paginaregistro.h"
#include "register/registerbook.h"
#include "support/testfolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

namespace {

// Slot s, field f holds "s<s>f<f>" followed by `extra`.
TPaginaRegistro numberedPage(const QString &extra = QString())
{
    TPaginaRegistro page;
    for (int s = 0; s < TPaginaRegistro::SlotCount; ++s)
        for (int f = 0; f < TSlotPagina::FieldCount; ++f)
            page.slotTexts[size_t(s)].*TSlotPagina::fields()[size_t(f)].member = QStringLiteral("s%1f%2").arg(s).arg(f) + extra;
    return page;
}

} // namespace

class TestRegisterBook : public QObject
{
    Q_OBJECT

private slots:
    void pageLayoutByteByByte();
    void textsAreTrimmedAndCut();
    void countsWholePages_data();
    void countsWholePages();
    void appendOverwriteRead();
    void photoNames();
    void pagePhotoIsStretched();
    void bookNames_data();
    void bookNames();
    void createAndList();
    void importLines_data();
    void importLines();
    void iniValues();
    void damagedIniReadsEmptyAndIsReplaced_data();
    void damagedIniReadsEmptyAndIsReplaced();
};

void TestRegisterBook::pageLayoutByteByByte()
{
    const QByteArray bytes = numberedPage().toBytes();
    QCOMPARE(bytes.size(), 5320);
    const int offsets[] = {0, 51, 112, 363, 614}; // Codice, Nome, UM, Caratteristiche, Prezzo
    for (int s = 0; s < 8; ++s)
        for (int f = 0; f < 5; ++f) {
            const int at = s * 665 + offsets[f];
            const QByteArray text = QStringLiteral("s%1f%2").arg(s).arg(f).toLatin1();
            QCOMPARE(int(bytes[at]), text.size());
            QCOMPARE(bytes.mid(at + 1, text.size()), text);
        }
    QCOMPARE(bytes.mid(1381 + 1, 4), QByteArray("s2f1")); // Nome of slot C
    QCOMPARE(bytes.mid(5269 + 1, 4), QByteArray("s7f4")); // Prezzo of slot H
    const TPaginaRegistro back = TPaginaRegistro::fromBytes(bytes.constData());
    QCOMPARE(back.slotTexts[2].Nome, QStringLiteral("s2f1"));
    QCOMPARE(back.slotTexts[7].Prezzo, QStringLiteral("s7f4"));
}

void TestRegisterBook::textsAreTrimmedAndCut()
{
    TPaginaRegistro page;
    page.slotTexts[0].Nome = QStringLiteral("  ") + QString(70, QChar(u'n')) + QStringLiteral(" ");
    page.slotTexts[1].UM = QStringLiteral("\t Città  ");
    const QByteArray bytes = page.toBytes();
    QCOMPARE(int(quint8(bytes[51])), 60);
    QCOMPARE(int(quint8(bytes[665 + 112])), 5);
    QCOMPARE(bytes.mid(665 + 113, 5), QByteArray("Citt\xE0"));
    QCOMPARE(bytes.mid(665 + 118, 245), QByteArray(245, '\0')); // unused bytes zeroed
    const TPaginaRegistro back = TPaginaRegistro::fromBytes(bytes.constData());
    QCOMPARE(back.slotTexts[0].Nome, QString(60, QChar(u'n')));
    QCOMPARE(back.slotTexts[1].UM, QStringLiteral("Città"));
}

void TestRegisterBook::countsWholePages_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("pages");
    QTest::newRow("new book") << 0 << 0;
    QTest::newRow("one page") << 5320 << 1;
    QTest::newRow("two pages") << 10640 << 2;
    QTest::newRow("two pages and a part") << 10640 + 100 << 2;
}

void TestRegisterBook::countsWholePages()
{
    QFETCH(int, bytes);
    QFETCH(int, pages);
    TestFolder folder;
    folder.write(QStringLiteral("Libro.qvl"), QByteArray(bytes, 'x'));
    QCOMPARE(RegisterBook(folder.file(QStringLiteral("Libro.qvl")), QStringLiteral("Libro")).count(),
             std::optional<qint64>(pages));
}

void TestRegisterBook::appendOverwriteRead()
{
    TestFolder folder;
    RegisterBook book(folder.file(QStringLiteral("Libro.qvl")), QStringLiteral("Libro"));
    QCOMPARE(book.count(), std::optional<qint64>(0)); // created empty by the first operation
    QCOMPARE(book.append(numberedPage(QStringLiteral("a"))), std::optional<qint64>(1));
    QCOMPARE(book.append(numberedPage(QStringLiteral("b"))), std::optional<qint64>(2));
    QVERIFY(book.overwrite(1, numberedPage(QStringLiteral("c"))));
    QVERIFY(!book.overwrite(3, numberedPage())); // no page 3 to overwrite
    QCOMPARE(book.read(1)->slotTexts[4].UM, QStringLiteral("s4f2c"));
    QCOMPARE(book.read(2)->slotTexts[4].UM, QStringLiteral("s4f2b"));
    QVERIFY(!book.read(3));
    QCOMPARE(QFileInfo(folder.file(QStringLiteral("Libro.qvl"))).size(), 2 * 5320);
}

void TestRegisterBook::photoNames()
{
    TestFolder folder;
    const RegisterBook book(folder.file(QStringLiteral("Iscritti 2024.qvl")), QStringLiteral(" Iscritti 2024 "));
    const QString photos = folder.path() + QDir::separator() + QStringLiteral("Foto_Gruppo") + QDir::separator();
    QCOMPARE(book.photoPath(u'C', QStringLiteral("12")), photos + QStringLiteral("Iscritti 2024_Foto_C_12.jpg"));
    QCOMPARE(book.previewPath(u'H'), photos + QStringLiteral("Iscritti 2024_Anteprima_H.jpg"));
}

void TestRegisterBook::pagePhotoIsStretched()
{
    TestFolder folder;
    QImage square(600, 600, QImage::Format_RGB32);
    square.fill(Qt::red);
    const QImage made = RegisterBook::pagePhoto(square);
    QCOMPARE(made.size(), QSize(282, 366));
    const QString path = folder.file(QStringLiteral("Foto_Gruppo/Libro_Foto_A_1.jpg"));
    QVERIFY(RegisterBook::writePhoto(path, made));
    const QImage written = RegisterBook::readPhoto(path);
    QCOMPARE(written.size(), QSize(282, 366));
    QVERIFY(qRed(written.pixel(141, 183)) > 240 && qGreen(written.pixel(141, 183)) < 20);
    QVERIFY(RegisterBook::readPhoto(folder.file(QStringLiteral("Foto_Gruppo/manca.jpg"))).isNull());
}

void TestRegisterBook::bookNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("plain") << "Iscritti 2024" << true;
    QTest::newRow("accents and dots inside") << "Soci 2024.bis àèì" << true;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("parent folder") << ".." << false;
    QTest::newRow("climbing out") << "../fuori" << false;
    QTest::newRow("drive") << "C:libro" << false;
    QTest::newRow("vertical bar") << "a|b" << false;
    QTest::newRow("control character") << "a\tb" << false;
    QTest::newRow("device name") << "con" << false;
    QTest::newRow("ends with a dot") << "libro." << false;
    QTest::newRow("two dots inside") << "a..b" << false;
    // "<name>_Foto_X_<ten digits>.jpg" must stay within 255 bytes.
    QTest::newRow("longest that fits") << QString(233, u'a') << true;
    QTest::newRow("one too many") << QString(234, u'a') << false;
    QTest::newRow("accents count twice") << QString(117, u'à') << false;
    QTest::newRow("hidden") << ".soci" << false;
    QTest::newRow("final blank") << "libro " << false;
}

void TestRegisterBook::bookNames()
{
    QFETCH(QString, name);
    QFETCH(bool, acceptable);
    QCOMPARE(RegisterBook::acceptableName(name), acceptable);
}

void TestRegisterBook::createAndList()
{
    TestFolder folder;
    QCOMPARE(RegisterBook::entries(), QStringList());
    QCOMPARE(RegisterBook::create(QStringLiteral("  Zeta ")), RegisterBook::Created::Yes);
    QCOMPARE(QFileInfo(folder.file(QStringLiteral("Zeta.qvl"))).size(), 0);
    folder.write(QStringLiteral("Zeta.qvl"), QByteArray(5320, 'p'));
    QCOMPARE(RegisterBook::create(QStringLiteral("Zeta")), RegisterBook::Created::Exists);
    QCOMPARE(folder.read(QStringLiteral("Zeta.qvl")).size(), 5320); // never emptied
    QCOMPARE(RegisterBook::create(QStringLiteral("alfa")), RegisterBook::Created::Yes);
    folder.write(QStringLiteral("note.txt"), "x");
    QDir(folder.path()).mkdir(QStringLiteral("sotto"));
    folder.write(QStringLiteral("sotto/Beta.qvl"), "");
    QCOMPARE(RegisterBook::entries(), QStringList({"alfa.qvl", "Zeta.qvl"}));
}

void TestRegisterBook::importLines_data()
{
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QStringList>("lines"); // Nome, UM, Caratteristiche, Codice, Prezzo
    QTest::newRow("member") << false
                            << QStringList{"#. Rossi Mario (Presidente)",
                                           "Luogo e data nascita: Roma (10/12/1980)  -  C.F. RSSMRA80T10H501A",
                                           "Via Roma 1  -  CAP: 00100  -  Roma", "Ammissione: 01/01/2020",
                                           "Cessazione: 31/12/2023"};
    QTest::newRow("only a name") << true
                                 << QStringList{"#. Verdi Anna ()", "Luogo e data nascita:  ()  -  C.F. ",
                                                "  -  CAP:   -  ", "Ammissione: ", "Cessazione: "};
}

void TestRegisterBook::importLines()
{
    QFETCH(bool, empty);
    QFETCH(QStringList, lines);
    TSchedaAnagrafica m;
    if (empty) {
        m.Candidato = QStringLiteral(" Verdi Anna ");
    } else {
        m.Candidato = QStringLiteral("Rossi Mario");
        m.Settore = QStringLiteral(" Presidente");
        m.LuogoNasc = QStringLiteral("Roma");
        m.DataNasc = QStringLiteral("10/12/1980");
        m.CodFisc = QStringLiteral("RSSMRA80T10H501A");
        m.Indirizzo = QStringLiteral("Via Roma 1");
        m.Cap = QStringLiteral("00100");
        m.Citta = QStringLiteral("Roma");
        m.Competenze = QStringLiteral("01/01/2020");
        m.Disponibilita = QStringLiteral("31/12/2023 ");
    }
    const TSlotPagina slot = MemberImport::slotLines(m);
    QCOMPARE(QStringList({slot.Nome, slot.UM, slot.Caratteristiche, slot.Codice, slot.Prezzo}), lines);
}

void TestRegisterBook::iniValues()
{
    TestFolder folder;
    const QString path = folder.file(QStringLiteral("Quorvel.ini"));
    folder.write(QStringLiteral("Quorvel.ini"), "[Altro]\r\nChiave=tenuta\r\n");
    {
        IniFile ini(path);
        ini.setValue(QStringLiteral("Frontespizio Registro"), QStringLiteral("Denominazione Associazione"),
                     QStringLiteral("Società Mutuo Soccorso"));
        ini.setValue(QStringLiteral("Frontespizio Registro"), QStringLiteral("Sede Legale"),
                     QStringLiteral("Città\ndi Castello"));
        QVERIFY(ini.save());
    }
    const QByteArray bytes = folder.read(QStringLiteral("Quorvel.ini"));
    QVERIFY(bytes.contains("[Frontespizio Registro]"));
    QVERIFY(bytes.contains("\r\nDenominazione Associazione=Societ\xE0 Mutuo Soccorso\r\n")); // one byte for à
    QVERIFY(bytes.indexOf("Denominazione Associazione") < bytes.indexOf("Sede Legale"));
    const IniFile again(path);
    QCOMPARE(again.value(QStringLiteral("Frontespizio Registro"), QStringLiteral("Sede Legale")),
             QStringLiteral("Città di Castello"));
    QCOMPARE(again.value(QStringLiteral("Altro"), QStringLiteral("Chiave")), QStringLiteral("tenuta"));
    QCOMPARE(again.value(QStringLiteral("Altro"), QStringLiteral("Manca")), QString());
}

void TestRegisterBook::damagedIniReadsEmptyAndIsReplaced_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("not an INI file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    QTest::newRow("too large") << QByteArray(IniFile::MaxSize + 10, '[');
}

void TestRegisterBook::damagedIniReadsEmptyAndIsReplaced()
{
    QFETCH(QByteArray, content);
    TestFolder folder;
    const QString path = folder.file(QStringLiteral("Quorvel.ini"));
    if (!content.isNull())
        folder.write(QStringLiteral("Quorvel.ini"), content);
    IniFile ini(path);
    QCOMPARE(ini.value(QStringLiteral("Frontespizio Registro"), QStringLiteral("Numero Libro")), QString());
    ini.setValue(QStringLiteral("Frontespizio Registro"), QStringLiteral("Numero Libro"), QStringLiteral("3"));
    QVERIFY(ini.save());
    QCOMPARE(IniFile(path).value(QStringLiteral("Frontespizio Registro"), QStringLiteral("Numero Libro")),
             QStringLiteral("3"));
}

QTEST_GUILESS_MAIN(TestRegisterBook)
#include "tst_registerbook.moc"
