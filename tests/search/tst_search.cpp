#include "app/startup.h"
#include "base/blanks.h"
#include "base/recordfile.h"
#include "members/memberarchive.h"
#include "members/placeholderphoto.h"
#include "search/frmdaricontattare.h"
#include "search/frmtrovacandidati.h"
#include "search/quickfind.h"
#include "search/resultpage.h"
#include "search/resultrows.h"
#include "support/filecapabilities.h"
#include "support/realisticmembers.h"
#include "support/testfolder.h"
#include "support/typing.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "ui/shaperect.h"
#include "../members/cardwindow.h"

#include <QApplication>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

using Messages::Kind;

namespace {

struct Member
{
    QString candidato, dataNasc, codFisc, cel, settore, note;
    bool ricontatta = false;
};

void writeArchive(const QList<Member> &members)
{
    MemberArchive archive;
    for (const Member &m : members) {
        TSchedaAnagrafica s;
        s.Candidato = m.candidato;
        s.DataNasc = m.dataNasc;
        s.CodFisc = m.codFisc;
        s.Cel = m.cel;
        s.Settore = m.settore;
        s.Note = m.note;
        s.Cittadinanza = QStringLiteral("Italiana");
        s.setRicontatta(m.ricontatta);
        QVERIFY(archive.append(s));
    }
}

const QList<Member> kMembers = {
    {"Rossi Mario", "10/12/1980", "RSSMRA80T10H501A", "333 111", "Presidente", "", true},
    {"De Rossi Anna", "01/02/1975", "DRSNNA75B41H501B", "333 222", "Segretaria", "chiamare la sera"},
    {"Bianchi Luca", "05/05/1980", "BNCLCU80E05F205C", "347 333", "Socio ordinario", "Rossi è il cognato", true},
    {"Verdi Giulia", "12/11/1990", "VRDGLI90S52L219D", "328 444", "Socio fondatore", "fine 1980"},
};

QStringList names(const ResultRows &rows)
{
    QStringList list;
    for (const ResultRow &r : rows)
        list << r.text.left(30).trimmed();
    return list;
}

ResultRows rowsOf(const QStringList &texts)
{
    ResultRows rows;
    for (const QString &t : texts)
        rows.push_back({t, qint64(rows.size())});
    return rows;
}

void doubleClick(QListView *list, int row)
{
    QTRY_VERIFY(!list->visualRect(list->model()->index(row, 0)).isEmpty());
    const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { m_messages = new Messages::Recorder; }
    void cleanup();

    void rowFormat_data();
    void rowFormat();
    void sortOrder();
    void orderOverARealisticRegister();
    void searchSemantics_data();
    void searchSemantics();
    void damagedArchiveListsWhatItReads();
    void archiveShortenedUnderASearch();
    void quickFind();
    void searchWindowFlow();
    void searchWindowUnreadableArchive();
    void searchWindowEmptyQuickFind();
    void doubleClickLoadsTheClickedRow();
    void enterLoadsTheSelectedRow();
    void doubleClickAwayFromTheRows_data();
    void doubleClickAwayFromTheRows();
    void printSummaryFromTheSearch();
    void recontactSummary();
    void recontactDoubleClickLoadsTheClickedRow();

private:
    Messages::Recorder *m_messages = nullptr;
};

void TestSearch::initTestCase()
{
    Startup::prepareApplication(*qApp);
    RecordFile::setLockTimeout(200);
}

void TestSearch::cleanup()
{
    delete m_messages;
    Modal::setHandlerForTesting({});
}

void TestSearch::rowFormat_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("row");
    QTest::newRow("padded") << QStringList{"Rossi Mario", "RSSMRA80T10H501A", "333 111", "Presidente", "nota"}
                            << "Rossi Mario                     C.F. RSSMRA80T10H501A  Cel. 333 111           "
                               "Qualifica: Presidente                Note: nota";
    QTest::newRow("trimmed, no notes keeps its blank")
        << QStringList{"  Bo  ", "", "", "", "   "}
        << "Bo" + QString(28, u' ') + "  C.F. " + QString(16, u' ') + "  Cel. " + QString(16, u' ')
               + "  Qualifica: " + QString(24, u' ') + "  Note: ";
    QTest::newRow("cut to the columns")
        << QStringList{QString(40, u'N'), QString(16, u'C') + "X", QString(20, u'7'), QString(30, u'Q'),
                       "nota intera, anche lunga " + QString(100, u'z')}
        << QString(30, u'N') + "  C.F. " + QString(16, u'C') + "  Cel. " + QString(16, u'7') + "  Qualifica: "
               + QString(24, u'Q') + "  Note: nota intera, anche lunga " + QString(100, u'z');
}

void TestSearch::rowFormat()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, row);
    // The row comes from the record as stored, as the search reads it.
    TSchedaAnagrafica scheda;
    scheda.Candidato = fields[0];
    scheda.CodFisc = fields[1];
    scheda.Cel = fields[2];
    scheda.Settore = fields[3];
    scheda.Note = fields[4];
    QCOMPARE(ResultRowFormat::build(scheda.toBytes().constData()), row);
}

void TestSearch::sortOrder()
{
    ResultRows rows = rowsOf({"verdi", "De Rossi", "de rossi", "Àlfa", "Zeta", "Bianchi", "de Rossi"});
    ResultRowFormat::sort(rows);
    QStringList texts;
    QList<qint64> indexes;
    for (const auto &r : rows) {
        texts << r.text;
        indexes << r.index;
    }
    // A-Z without regard to case; other characters by their code, after Z.
    QCOMPARE(texts, QStringList({"Bianchi", "De Rossi", "de rossi", "de Rossi", "verdi", "Zeta", "Àlfa"}));
    QCOMPARE(indexes.mid(1, 3), QList<qint64>({1, 2, 6})); // equal keys keep file order
}

void TestSearch::orderOverARealisticRegister()
{
    // Thousands of members whose names repeat as in a real register, with
    // rows that tie far into their text: the lists come in the plain order of
    // whole rows compared a character at a time, equal rows by record.
    using S = TSchedaAnagrafica;
    QByteArray bytes;
    for (int i = 0; i < 4000; ++i) {
        S s = RealisticMembers::member(i);
        switch (i % 40) {
        case 1: // the same member twice
            s = RealisticMembers::member(i - 1);
            break;
        case 2: // a name differing only in case
            s = RealisticMembers::member(i - 2);
            s.Candidato = s.Candidato.toLower();
            break;
        case 3: // the same row up to the notes
            s = RealisticMembers::member(i - 3);
            s.Note = QStringLiteral("Nota %1").arg(i);
            break;
        case 4: // the same row up to the fifth figure of the mobile
            s = RealisticMembers::member(i - 4);
            s.Cel = s.Cel.left(4) + QString::number(i % 10) + s.Cel.mid(5);
            break;
        case 5: // letters beyond ASCII, whose codes sort after Z
            s.Candidato = QStringLiteral("%1 Šimić Ærø €uro").arg(i % 3 ? u'à' : u'À');
            break;
        case 6: // call-back fields that are not "No"
            s.Ricontatta = QStringList{"no", "N", "", "Sì", "NO"}.at(i / 40 % 5);
            break;
        }
        bytes += s.toBytes();
    }
    bytes[7 * S::RecordSize + 2103] = char(0xFF); // "No" with a length beyond its field
    TestFolder folder;
    folder.write(QStringLiteral("Archivio_Anagrafico.pro"), bytes);

    const auto plain = [&bytes](const std::function<bool(const char *)> &listed) {
        QList<QPair<QString, qint64>> rows;
        for (qint64 i = 0; i < bytes.size() / S::RecordSize; ++i)
            if (const char *record = bytes.constData() + i * S::RecordSize; listed(record))
                rows.append({ResultRowFormat::build(record), i});
        std::stable_sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) {
            return Blanks::upperAscii(a.first) < Blanks::upperAscii(b.first);
        });
        return rows;
    };
    const auto listed = [](const ResultRows &rows) {
        QList<QPair<QString, qint64>> list;
        for (const ResultRow &r : rows)
            list.append({r.text, r.index});
        return list;
    };

    const auto all = MemberSearch::find(SearchFilters());
    QVERIFY(all);
    QCOMPARE(listed(*all), plain([](const char *) { return true; }));
    const auto flagged = plain([](const char *r) { return S::field(r, S::fRicontatta) != S::RicontattaNo; });
    QVERIFY(flagged.size() > 1500 && flagged.size() < 2500);
    QCOMPARE(listed(MemberSearch::toRecontact()), flagged);
    SearchFilters filters;
    filters[0] = QStringLiteral("MA");
    filters[1] = QStringLiteral("/196");
    filters[5] = QStringLiteral("socio");
    const auto some = plain([](const char *r) {
        return S::field(r, S::fCandidato).contains(QStringLiteral("ma"), Qt::CaseInsensitive)
               && S::field(r, S::fDataNasc).contains(QStringLiteral("/196"))
               && S::field(r, S::fSettore).contains(QStringLiteral("socio"), Qt::CaseInsensitive);
    });
    QVERIFY(some.size() > 20);
    QCOMPARE(listed(*MemberSearch::find(filters)), some);
}

void TestSearch::searchSemantics_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    const QStringList all = {"Bianchi Luca", "De Rossi Anna", "Rossi Mario", "Verdi Giulia"};
    QTest::newRow("no filter lists all") << -1 << "" << all;
    QTest::newRow("substring, any case") << 0 << "ROSS" << QStringList{"De Rossi Anna", "Rossi Mario"};
    QTest::newRow("birth year") << 1 << "1980" << QStringList{"Bianchi Luca", "Rossi Mario"};
    QTest::newRow("blank only is not a filter") << 0 << "   " << all;
    QTest::newRow("trailing blank counts") << 0 << "rossi " << QStringList{"De Rossi Anna", "Rossi Mario"};
    QTest::newRow("trailing blank where none follows") << 0 << "anna " << QStringList{};
    QTest::newRow("leading blank counts") << 0 << " rossi" << QStringList{"De Rossi Anna"};
    QTest::newRow("notes only in notes") << 9 << "rossi" << QStringList{"Bianchi Luca"};
    QTest::newRow("accented letters") << 9 << "È IL" << QStringList{"Bianchi Luca"};
    QTest::newRow("nothing") << 4 << "ZZZ" << QStringList{};
}

void TestSearch::searchSemantics()
{
    QFETCH(int, filter);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    TestFolder folder;
    writeArchive(kMembers);
    SearchFilters filters;
    if (filter >= 0)
        filters[size_t(filter)] = text;
    const auto rows = MemberSearch::find(filters);
    QVERIFY(rows);
    QCOMPARE(names(*rows), found);

    // Filters combine: every active one must hold.
    SearchFilters two;
    two[0] = QStringLiteral("rossi");
    two[1] = QStringLiteral("1980");
    QCOMPARE(names(*MemberSearch::find(two)), QStringList{"Rossi Mario"});
    QCOMPARE(MemberSearch::activeFilters(two), 2);
}

void TestSearch::damagedArchiveListsWhatItReads()
{
    TestFolder folder;
    writeArchive(kMembers.mid(0, 2));
    QByteArray bytes = folder.read(QStringLiteral("Archivio_Anagrafico.pro"));
    bytes[3612] = char(0xFF); // second name with a length beyond its field
    bytes.append(QByteArray(100, 'q'));
    folder.write(QStringLiteral("Archivio_Anagrafico.pro"), bytes);
    const auto rows = MemberSearch::find(SearchFilters());
    QVERIFY(rows);
    QCOMPARE(rows->size(), size_t(2));
    QVERIFY(rows->at(0).text.startsWith(QStringLiteral("De Rossi Anna")));
    QCOMPARE(rows->at(0).index, 1);
}

void TestSearch::archiveShortenedUnderASearch()
{
    // A backup restored over the archive while a search reads it: the search
    // ends with the members it read, without a crash.
    TestFolder folder;
    QByteArray bytes;
    for (int i = 0; i < 3000; ++i) {
        TSchedaAnagrafica s;
        s.Candidato = QStringLiteral("Socio %1").arg(i, 4, 10, QChar(u'0'));
        s.setRicontatta(true);
        bytes += s.toBytes();
    }
    folder.write(QStringLiteral("Archivio_Anagrafico.pro"), bytes);
    const QString path = folder.file(QStringLiteral("Archivio_Anagrafico.pro"));
    // Cut inside a record, once the first block has been read.
    RecordFile::setBetweenBlocksForTesting([&] { QFile::resize(path, 1000 * 3612 + 100); });
    const auto found = MemberSearch::find(SearchFilters());
    QFile::resize(path, 3000 * 3612);
    const ResultRows flagged = MemberSearch::toRecontact();
    RecordFile::setBetweenBlocksForTesting({});
    QVERIFY(found);
    QCOMPARE(found->size(), size_t(1000));
    QVERIFY(found->back().text.startsWith(QStringLiteral("Socio 0999")));
    QCOMPARE(flagged.size(), size_t(1000));
}

void TestSearch::quickFind()
{
    const ResultRows rows = rowsOf({"alfa  Cel. 1", "beta  Cel. 2", "gamma  Cel. 3", "alfabeto  Cel. 4"});
    QuickFind find;
    QCOMPARE(find.next(rows, -1, QStringLiteral("ALFA")), 0);   // new text: row 0 tested first
    QCOMPARE(find.next(rows, 0, QStringLiteral("alfa")), 3);    // same text: moves on
    QCOMPARE(find.next(rows, 3, QStringLiteral("alfa")), 0);    // and wraps round
    QCOMPARE(find.next(rows, 0, QStringLiteral("gamma")), 2);
    QCOMPARE(find.next(rows, 2, QStringLiteral("gamma")), 2);   // the only match stays
    QCOMPARE(find.next(rows, 2, QStringLiteral("zeta")), 2);    // no match: selection stays
    QCOMPARE(find.next(rows, 2, QStringLiteral("cel")), 0);     // new text, from row 0
    QCOMPARE(find.next(rows, 0, QStringLiteral("cel")), 1);     // in every row: one step a press
    QCOMPARE(find.next(rows, 1, QStringLiteral("cel")), 2);
    QCOMPARE(find.next(rows, 1, QString()), 1);                 // empty text never matches
    QCOMPARE(find.next(rows, 1, QString()), 1);
    find.reset();
    QCOMPARE(find.next(rows, 2, QStringLiteral("cel")), 0);
}

void TestSearch::searchWindowFlow()
{
    TestFolder folder;
    writeArchive(kMembers);
    TfrmTrovaCandidati window;
    window.setMode(QStringLiteral("candidati"));
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        QApplication::setActiveWindow(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral(" Trova schede soci in archivio"));
        QCOMPARE(dialog->size(), QSize(862, 560));
        QVERIFY(dialog->findChild<QWidget *>(QStringLiteral("panAvvio"))->isVisible());
        QVERIFY(!window.resultPage()->isVisible());
        QCOMPARE(QApplication::focusWidget(), window.filter(0));

        // Enter goes round the ten filters; only the focused one is framed.
        for (int press = 0; press < 10; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            const auto frames = dialog->findChildren<ShapeRect *>(QRegularExpression(QStringLiteral("^effCampo")));
            QCOMPARE(frames.size(), 10);
            QCOMPARE(std::count_if(frames.begin(), frames.end(), [](ShapeRect *r) { return r->isVisible(); }), 1);
        }
        QCOMPARE(QApplication::focusWidget(), window.filter(0));

        typeText(window.filter(0), QStringLiteral("rossi"));
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCerca")), Qt::LeftButton);
        QVERIFY(!dialog->findChild<QWidget *>(QStringLiteral("panAvvio"))->isVisible());
        QVERIFY(window.resultPage()->isVisible());
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("lblConta"))->text(), QStringLiteral("1"));
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("lblTrovate"))->text(),
                 QStringLiteral("Il presente riepilogo contiene 2 schede"));
        QVERIFY(!dialog->findChild<QLabel *>(QStringLiteral("lblAttendere"))->isVisible());
        QCOMPARE(names(window.resultPage()->rows()), QStringList({"De Rossi Anna", "Rossi Mario"}));
        QCOMPARE(QApplication::focusWidget(), window.resultPage()->txtTrova);
        QCOMPARE(window.resultPage()->lstRecords->font().family(), QStringLiteral("Courier New"));

        // Quick find from the box: Enter only moves to Trova.
        typeText(window.resultPage()->txtTrova, QStringLiteral("mario"));
        QTest::keyClick(window.resultPage()->txtTrova, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), window.resultPage()->btnTrova);
        QCOMPARE(window.resultPage()->selectedRow(), 0);
        QTest::mouseClick(window.resultPage()->btnTrova, Qt::LeftButton);
        QCOMPARE(window.resultPage()->selectedRow(), 1);
        QVERIFY(m_messages->shown().isEmpty());
        QTest::mouseClick(window.resultPage()->btnChiudi, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    });
    Modal::show(&window);
}

void TestSearch::searchWindowUnreadableArchive()
{
    TestFolder folder;
    writeArchive(kMembers);
    const QString path = folder.file(QStringLiteral("Archivio_Anagrafico.pro"));
    {
        // An archive that can only be read is searched as any other.
        TfrmTrovaCandidati readOnly;
        readOnly.show();
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        HonourFilePermissions permissions;
        QTest::mouseClick(readOnly.findChild<QPushButton *>(QStringLiteral("btnCerca")), Qt::LeftButton);
        QVERIFY(m_messages->shown().isEmpty());
        QCOMPARE(readOnly.resultPage()->rows().size(), size_t(kMembers.size()));
    }
    TfrmTrovaCandidati window;
    window.show();
    QFile::setPermissions(path, QFileDevice::Permissions());
    {
        HonourFilePermissions permissions;
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("btnCerca")), Qt::LeftButton);
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Plain);
    QCOMPARE(m_messages->shown().at(0).text, MemberArchive::ErrorText);
    QVERIFY(window.findChild<QWidget *>(QStringLiteral("panAvvio"))->isVisible());
    QVERIFY(!window.resultPage()->isVisible());
}

void TestSearch::searchWindowEmptyQuickFind()
{
    TestFolder folder;
    TfrmTrovaCandidati window;
    window.show();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("btnCerca")), Qt::LeftButton);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblTrovate"))->text(),
             QStringLiteral("Il presente riepilogo contiene 0 schede"));
    QTest::mouseClick(window.resultPage()->btnTrova, Qt::LeftButton);
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Plain);
    QCOMPARE(m_messages->shown().at(0).text,
             QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
}

void TestSearch::doubleClickLoadsTheClickedRow()
{
    CardWindow card;
    // Two members giving the same row, told apart by their birth dates.
    writeArchive({{"Neri Paolo", "01/01/1960", "NRIPLA60A01H501X", "", "", ""},
                  {"Neri Paolo", "02/02/1970", "NRIPLA60A01H501X", "", "", ""},
                  {"Neri Paolo", "03/03/1980", "NRIPLA60A01H501X", "", "", "", true}});
    QImage red(10, 12, QImage::Format_RGB32);
    red.fill(Qt::red);
    MemberArchive::savePhoto(QStringLiteral("1"), red);
    for (int clicked = 0; clicked < 3; ++clicked) {
        Modal::setHandlerForTesting([&](QDialog *dialog) {
            auto *search = qobject_cast<TfrmTrovaCandidati *>(dialog);
            QCOMPARE(search->mode(), QStringLiteral("candidati"));
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCerca")), Qt::LeftButton);
            doubleClick(search->resultPage()->lstRecords, clicked);
            QVERIFY(!dialog->isVisible());
        });
        card.click(QStringLiteral("cmdTrova"));
        QCOMPARE(card.position(), QString::number(clicked + 1));
        QCOMPARE(card.edit(QStringLiteral("txtDataNasc"))->text(), QStringList({"01/01/1960", "02/02/1970",
                                                                                "03/03/1980"})[clicked]);
        QCOMPARE(card.ricontatta()->isChecked(), clicked == 2);
        QCOMPARE(card.photo().size(), clicked == 0 ? QSize(10, 12) : QSize(307, 394));
    }
}

void TestSearch::enterLoadsTheSelectedRow()
{
    CardWindow card;
    writeArchive({{"Neri Paolo", "01/01/1960", "NRIPLA60A01H501X", "", "", ""},
                  {"Neri Paolo", "02/02/1970", "NRIPLA60A01H501X", "", "", ""}});
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        auto *search = qobject_cast<TfrmTrovaCandidati *>(dialog);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCerca")), Qt::LeftButton);
        QListView *list = search->resultPage()->lstRecords;
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
    });
    card.click(QStringLiteral("cmdTrova"));
    QCOMPARE(card.position(), QStringLiteral("2"));
    QCOMPARE(card.edit(QStringLiteral("txtDataNasc"))->text(), QStringLiteral("02/02/1970"));
}

void TestSearch::doubleClickAwayFromTheRows_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("loaded"); // record number in the card after; empty: nothing loaded
    QTest::newRow("search, below the rows: the selected row") << "cmdTrova" << "" << "2";
    QTest::newRow("search, empty list: closes") << "cmdTrova" << "zzz" << "";
    QTest::newRow("summary, empty list: closes") << "cmdScadute" << "" << "";
}

void TestSearch::doubleClickAwayFromTheRows()
{
    QFETCH(QString, opener);
    QFETCH(QString, filter);
    QFETCH(QString, loaded);
    CardWindow card;
    writeArchive({{"Neri Paolo", "01/01/1960", "", "", "", ""}, {"Neri Paolo", "02/02/1970", "", "", "", ""}});
    const QString before = card.position();
    bool shown = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        shown = true;
        auto *page = dialog->findChild<ResultPage *>();
        if (auto *search = qobject_cast<TfrmTrovaCandidati *>(dialog)) {
            search->filter(0)->setText(filter);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCerca")), Qt::LeftButton);
        }
        if (!page->rows().empty())
            page->selectRow(1);
        QListView *list = page->lstRecords;
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, list->viewport()->height() - 5));
        QVERIFY(!dialog->isVisible());
    });
    card.click(opener);
    QVERIFY(shown);
    QCOMPARE(card.position(), loaded.isEmpty() ? before : loaded);
    if (!loaded.isEmpty())
        QCOMPARE(card.edit(QStringLiteral("txtDataNasc"))->text(), QStringLiteral("02/02/1970"));
}

void TestSearch::printSummaryFromTheSearch()
{
    TestFolder folder;
    writeArchive(kMembers);
    TfrmTrovaCandidati window;
    window.show();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("btnCerca")), Qt::LeftButton);
    const QString pdf = folder.file(QStringLiteral("riepilogo.pdf"));
    bool printed = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        auto *print = qobject_cast<QPrintDialog *>(dialog);
        QVERIFY(print);
        QCOMPARE(print->printer()->pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(print->printer()->docName(), QStringLiteral("Riepilogo dati"));
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(pdf);
        printed = true;
        dialog->done(QDialog::Accepted);
    });
    QTest::mouseClick(window.resultPage()->btnStampa, Qt::LeftButton);
    QVERIFY(printed);
    QVERIFY(folder.read(QStringLiteral("riepilogo.pdf")).startsWith("%PDF"));
    QVERIFY(window.isVisible());
}

void TestSearch::recontactSummary()
{
    TestFolder folder;
    writeArchive(kMembers);
    // A damaged flag is anything but "No": listed.
    QByteArray bytes = folder.read(QStringLiteral("Archivio_Anagrafico.pro"));
    bytes.replace(3 * 3612 + 2103, 3, QByteArray("\x01?\0", 3));
    folder.write(QStringLiteral("Archivio_Anagrafico.pro"), bytes);

    TfrmDaRicontattare window;
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral(" Riepilogo soci da ricontattare"));
    QCOMPARE(names(window.resultPage()->rows()), QStringList({"Bianchi Luca", "Rossi Mario", "Verdi Giulia"}));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblIstruzioni"))->text(),
             QStringLiteral("Fare doppio clic su una voce in elenco per richiamare la scheda"));
    typeText(window.resultPage()->txtTrova, QStringLiteral("ROSSI"));
    QTest::mouseClick(window.resultPage()->btnTrova, Qt::LeftButton);
    QCOMPARE(window.resultPage()->selectedRow(), 0); // "Rossi" in Bianchi's notes
    QTest::mouseClick(window.resultPage()->btnTrova, Qt::LeftButton);
    QCOMPARE(window.resultPage()->selectedRow(), 1);

    // A note at a row's end is read whole: as tooltip, and by scrolling
    // sideways to the end of the longest row, never cut with "…".
    QListView *list = window.resultPage()->lstRecords;
    const QModelIndex first = list->model()->index(0, 0);
    const QString row = first.data().toString();
    QVERIFY(row.endsWith(QStringLiteral("Rossi è il cognato")));
    QCOMPARE(first.data(Qt::ToolTipRole).toString(), row);
    QCOMPARE(list->textElideMode(), Qt::ElideNone);
    QVERIFY(first.data(Qt::SizeHintRole).toSize().width() >= list->fontMetrics().horizontalAdvance(row));
    list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
    QVERIFY(list->horizontalScrollBar()->maximum() > 0);

    TestFolder empty;
    TfrmDaRicontattare none;
    none.show();
    QVERIFY(none.resultPage()->rows().empty());
    QTest::mouseClick(none.resultPage()->btnTrova, Qt::LeftButton);
    QCOMPARE(m_messages->texts(), QStringList{"Ricerca non applicabile: la lista non contiene nessuna voce."});
}

void TestSearch::recontactDoubleClickLoadsTheClickedRow()
{
    CardWindow card;
    writeArchive({{"Gialli Eva", "01/01/1960", "", "", "", "", true},
                  {"Gialli Eva", "02/02/1970", "", "", "", "", true}});
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        auto *summary = qobject_cast<TfrmDaRicontattare *>(dialog);
        QVERIFY(summary);
        doubleClick(summary->resultPage()->lstRecords, 0);
        QVERIFY(!dialog->isVisible());
    });
    card.click(QStringLiteral("cmdScadute"));
    QCOMPARE(card.position(), QStringLiteral("1"));
    QCOMPARE(card.edit(QStringLiteral("txtDataNasc"))->text(), QStringLiteral("01/01/1960"));
}

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
