#include "base/recordfile.h"
#include "members/memberarchive.h"
#include "members/placeholderphoto.h"
#include "support/filecapabilities.h"
#include "support/testfolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

namespace {

TSchedaAnagrafica member(const QString &name)
{
    TSchedaAnagrafica s;
    s.Candidato = name;
    s.Sesso = QStringLiteral("M");
    s.DataNasc = QStringLiteral("10/12/1985");
    s.Cittadinanza = QStringLiteral("Italiana");
    s.LuogoNasc = QStringLiteral("Roma");
    s.Indirizzo = QStringLiteral("Via dei Fori Imperiali, 1");
    s.Citta = QStringLiteral("Città di Castello");
    s.Cap = QStringLiteral("06012");
    s.Settore = QStringLiteral("Socio ordinario");
    s.CodFisc = QStringLiteral("RSSMRA85T10A562S");
    s.PartitaIva = QStringLiteral("01234567890");
    s.Cel = QStringLiteral("3331234567");
    s.Competenze = QStringLiteral("01/02/2020");
    s.Note = QStringLiteral("Nota € finale");
    s.Desc03 = QStringLiteral("ultimo campo");
    s.setRicontatta(true);
    return s;
}

QByteArray fieldBytes(const QByteArray &record, int offset, int capacity)
{
    return record.mid(offset, capacity + 1);
}

QByteArray field(const char *text, int capacity)
{
    QByteArray f(capacity + 1, '\0');
    const QByteArray t(text);
    f[0] = char(t.size());
    f.replace(1, t.size(), t);
    return f;
}

} // namespace

class TestMemberArchive : public QObject
{
    Q_OBJECT

private slots:
    void init() { RecordFile::setLockTimeout(200); }

    void layoutIsContiguous();
    void writesFieldsAtTheirOffsets();
    void readsBackTrimmedFields();
    void ricontattaReadsThreeWays_data();
    void ricontattaReadsThreeWays();
    void missingArchiveIsCreatedEmpty();
    void firstAndSecondSaveSizes();
    void overwriteKeepsRecordNumber();
    void severalMembersAreAppendedAllOrNone();
    void readOnlyArchiveIsReadAndUnchanged();
    void photoPathAndPlaceholder();
};

void TestMemberArchive::layoutIsContiguous()
{
    int next = 0;
    for (const auto &f : TSchedaAnagrafica::fields()) {
        QVERIFY2(f.offset == next, f.name);
        next = f.offset + f.capacity + 1;
    }
    QCOMPARE(next, TSchedaAnagrafica::RecordSize);
}

void TestMemberArchive::writesFieldsAtTheirOffsets()
{
    const QByteArray r = member(QStringLiteral("  Rossi Mario  ")).toBytes();
    QCOMPARE(r.size(), 3612);
    QCOMPARE(fieldBytes(r, 0, 50), field("Rossi Mario", 50));
    QCOMPARE(fieldBytes(r, 51, 1), field("M", 1));
    QCOMPARE(fieldBytes(r, 287, 50), field("Citt\xE0 di Castello", 50));
    QCOMPARE(fieldBytes(r, 400, 16), field("RSSMRA85T10A562S", 16));
    QCOMPARE(fieldBytes(r, 417, 11), field("01234567890", 11));
    QCOMPARE(fieldBytes(r, 1480, 250), field("01/02/2020", 250));
    QCOMPARE(fieldBytes(r, 1852, 250), field("Nota \x80 finale", 250));
    QCOMPARE(r.mid(2103, 3), QByteArray("\x02\x53\xEC"));
    QCOMPARE(fieldBytes(r, 3361, 250), field("ultimo campo", 250));
    // Empty fields are all zeros.
    QCOMPARE(fieldBytes(r, 852, 50), QByteArray(51, '\0'));

    TSchedaAnagrafica no;
    QCOMPARE(no.toBytes().mid(2103, 3), QByteArray("\x02No"));
}

void TestMemberArchive::readsBackTrimmedFields()
{
    QByteArray r = member(QStringLiteral("Bianchi Anna")).toBytes();
    // A field holding blanks at its ends (written by another program) reads
    // without them; a damaged length reads as far as the field goes.
    r.replace(64, 12, QByteArray("\x0B  Italiana ", 12));
    r.replace(338, 11, QByteArray("\xC8" "06012ABCDE"));
    const TSchedaAnagrafica s = TSchedaAnagrafica::fromBytes(r.constData());
    QCOMPARE(s.Candidato, QStringLiteral("Bianchi Anna"));
    QCOMPARE(s.Cittadinanza, QStringLiteral("Italiana"));
    QCOMPARE(s.Cap, QStringLiteral("06012ABCDE"));
    QCOMPARE(s.Settore, QStringLiteral("Socio ordinario"));
    QCOMPARE(s.Citta, QStringLiteral("Città di Castello"));
    QCOMPARE(s.Note, QStringLiteral("Nota € finale"));
    QCOMPARE(TSchedaAnagrafica::field(r.constData(), TSchedaAnagrafica::fCodFisc), QStringLiteral("RSSMRA85T10A562S"));

    TSchedaAnagrafica longName;
    longName.Candidato = QString(51, QChar(u'n'));
    QCOMPARE(TSchedaAnagrafica::fromBytes(longName.toBytes().constData()).Candidato, QString(50, QChar(u'n')));
}

void TestMemberArchive::ricontattaReadsThreeWays_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected"); // 1 yes, 0 no, -1 unknown
    QTest::newRow("Sì") << QByteArray("\x02\x53\xEC", 3) << 1;
    QTest::newRow("No") << QByteArray("\x02No", 3) << 0;
    QTest::newRow("empty") << QByteArray("\0\0\0", 3) << -1;
    QTest::newRow("other") << QByteArray("\x01X\0", 3) << -1;
}

void TestMemberArchive::ricontattaReadsThreeWays()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QByteArray r = TSchedaAnagrafica().toBytes();
    r.replace(2103, 3, bytes);
    const auto answer = TSchedaAnagrafica::fromBytes(r.constData()).ricontatta();
    QCOMPARE(answer.has_value() ? int(*answer) : -1, expected);
}

void TestMemberArchive::missingArchiveIsCreatedEmpty()
{
    TestFolder folder;
    MemberArchive archive;
    QCOMPARE(archive.count(), std::optional<qint64>(0));
    QVERIFY(QFile::exists(folder.file(QStringLiteral("Archivio_Anagrafico.pro"))));
    QCOMPARE(folder.read(QStringLiteral("Archivio_Anagrafico.pro")).size(), 0);
}

void TestMemberArchive::firstAndSecondSaveSizes()
{
    TestFolder folder;
    MemberArchive archive;
    QCOMPARE(archive.append(member(QStringLiteral("Primo"))), std::optional<qint64>(0));
    QCOMPARE(folder.read(QStringLiteral("Archivio_Anagrafico.pro")).size(), 3612);
    QCOMPARE(archive.append(member(QStringLiteral("Secondo"))), std::optional<qint64>(1));
    QCOMPARE(folder.read(QStringLiteral("Archivio_Anagrafico.pro")).size(), 7224);
    QCOMPARE(archive.read(1)->Candidato, QStringLiteral("Secondo"));
    QCOMPARE(archive.read(0)->ricontatta(), std::optional<bool>(true));

    QStringList names;
    QVERIFY(archive.forEach([&](qint64, const char *r) {
        names << TSchedaAnagrafica::field(r, TSchedaAnagrafica::fCandidato);
        return true;
    }));
    QCOMPARE(names, QStringList({QStringLiteral("Primo"), QStringLiteral("Secondo")}));
}

void TestMemberArchive::overwriteKeepsRecordNumber()
{
    TestFolder folder;
    MemberArchive archive;
    QVERIFY(archive.append(member(QStringLiteral("Uno"))));
    QVERIFY(archive.append(member(QStringLiteral("Due"))));
    TSchedaAnagrafica changed = member(QStringLiteral("Uno bis"));
    changed.setRicontatta(false);
    QVERIFY(archive.overwrite(0, changed));
    QCOMPARE(archive.count(), std::optional<qint64>(2));
    QCOMPARE(archive.read(0)->Candidato, QStringLiteral("Uno bis"));
    QCOMPARE(archive.read(0)->ricontatta(), std::optional<bool>(false));
    QCOMPARE(archive.read(1)->Candidato, QStringLiteral("Due"));
}

void TestMemberArchive::severalMembersAreAppendedAllOrNone()
{
    TestFolder folder;
    MemberArchive archive;
    QVERIFY(archive.append(member(QStringLiteral("Uno"))));
    QVERIFY(archive.append(member(QStringLiteral("Due"))));
    const std::vector<TSchedaAnagrafica> members = {member(QStringLiteral("Tre")), member(QStringLiteral("Quattro")),
                                                    member(QStringLiteral("Cinque"))};
    const auto three = [&](qint64 i) { return members[size_t(i)]; };
    const QByteArray before = folder.read(QStringLiteral("Archivio_Anagrafico.pro"));
    {
        // Room for one more record only: none of the three stays.
        FailingWrites full(folder.path(), FailingWrites::FullDisk, 3 * 3612);
        QVERIFY(!archive.append(3, three));
    }
    QCOMPARE(folder.read(QStringLiteral("Archivio_Anagrafico.pro")), before);
    QVERIFY(!archive.append(0, three));

    QCOMPARE(archive.append(3, three), std::optional<qint64>(2));
    QCOMPARE(archive.count(), std::optional<qint64>(5));
    QCOMPARE(archive.read(2)->Candidato, QStringLiteral("Tre"));
    QCOMPARE(archive.read(4)->Candidato, QStringLiteral("Cinque"));
    QCOMPARE(archive.read(4)->toBytes(), members[2].toBytes());
}

void TestMemberArchive::readOnlyArchiveIsReadAndUnchanged()
{
    TestFolder folder;
    const QByteArray original = member(QStringLiteral("Verdi")).toBytes() + QByteArray(12, 'x');
    folder.write(QStringLiteral("Archivio_Anagrafico.pro"), original);
    const QString path = folder.file(QStringLiteral("Archivio_Anagrafico.pro"));
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    MemberArchive archive;
    {
        HonourFilePermissions permissions;
        QCOMPARE(archive.count(), std::optional<qint64>(1));
        QCOMPARE(archive.read(0)->Candidato, QStringLiteral("Verdi"));
        QVERIFY(!archive.append(member(QStringLiteral("Neri"))));
        QVERIFY(!archive.overwrite(0, member(QStringLiteral("Neri"))));
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(folder.read(QStringLiteral("Archivio_Anagrafico.pro")), original);
    QCOMPARE(MemberArchive::ErrorText,
             QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                            "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma."));
}

void TestMemberArchive::photoPathAndPlaceholder()
{
    TestFolder folder;
    const QString sep = QDir::separator();
    QCOMPARE(MemberArchive::photoPath(QStringLiteral(" 7 ")),
             QDir::toNativeSeparators(folder.path()) + sep + QStringLiteral("Anagrafica") + sep
                 + QStringLiteral("Scheda_Anagrafica_7.jpg"));

    // Missing or damaged: the placeholder, and the folder exists afterwards.
    QCOMPARE(MemberArchive::loadPhoto(QStringLiteral("3")), placeholderPhoto());
    QVERIFY(QDir(folder.file(QStringLiteral("Anagrafica"))).exists());
    folder.write(QStringLiteral("Anagrafica/Scheda_Anagrafica_3.jpg"), QByteArray("not a picture"));
    QCOMPARE(MemberArchive::loadPhoto(QStringLiteral("3")).size(), QSize(307, 394));

    QImage photo(40, 60, QImage::Format_RGB32);
    photo.fill(Qt::red);
    QVERIFY(MemberArchive::savePhoto(QStringLiteral("12"), photo));
    const QImage back = MemberArchive::loadPhoto(QStringLiteral("12"));
    QCOMPARE(back.size(), QSize(40, 60));
    QVERIFY(qRed(back.pixel(20, 30)) > 200);
    QVERIFY(MemberArchive::savePhoto(QStringLiteral("13"), QImage()));
    QCOMPARE(MemberArchive::loadPhoto(QStringLiteral("13")).size(), QSize(307, 394));
}

QTEST_GUILESS_MAIN(TestMemberArchive)
#include "tst_memberarchive.moc"
