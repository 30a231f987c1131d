#include "app/startup.h"
#include "app/windowregistry.h"
#include "base/programfolder.h"
#include "base/recordfile.h"
#include "members/memberarchive.h"
#include "register/frmcatalogo.h"
#include "register/frmfrontespizioreg.h"
#include "register/frmlistinoprezzi.h"
#include "register/pageoutputwindow.h"
#include "register/registerbook.h"
#include "register/titletemplate.h"
#include "search/frmtrovacandidati.h"
#include "search/resultpage.h"
#include "support/filecapabilities.h"
#include "support/testfolder.h"
#include "support/windowtest.h"
#include "support/typing.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"
#include "ui/modal.h"
#include "ui/picturebox.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QDateTime>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <cstdio>

using Messages::Kind;

namespace {

const QString kEmptyBook = QStringLiteral("L'archivio non contiene nessuna scheda.");

template <typename T = QWidget>
T *child(const QWidget *window, const QString &name)
{
    T *w = window->findChild<T *>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

void click(const QWidget *window, const QString &name)
{
    QTest::mouseClick(child(window, name), Qt::LeftButton);
}

// The page window on book "Soci" of a fresh program folder.
struct PageWindow
{
    PageWindow()
    {
        window.openBook(folder.file(QStringLiteral("Soci.qvl")), QStringLiteral("Soci"));
        window.present();
        window.showNormal();
        window.resize(1016, 713);
    }
    QLineEdit *edit(int slot, const char *field) const
    {
        return child<QLineEdit>(&window, QStringLiteral("txt") + QString::fromLatin1(field) + u'_' + QChar(u'A' + slot));
    }
    QString page() const { return child<QLabel>(&window, QStringLiteral("lblPosizione"))->text(); }
    // Slot A's four required lines, with a text of the page's own.
    void fillSlotA(const QString &tag)
    {
        for (const char *f : {"Nome", "UM", "Caratteristiche", "Codice"})
            edit(0, f)->setText(tag + QString::fromLatin1(f));
    }
    void save() { click(&window, QStringLiteral("cmdSalva")); }

    TestFolder folder;
    TfrmListinoPrezzi window;
};

void writeMembers(const QList<TSchedaAnagrafica> &members)
{
    MemberArchive archive;
    for (const auto &m : members)
        QVERIFY(archive.append(m));
}

TSchedaAnagrafica member(const QString &name, const QString &birth)
{
    TSchedaAnagrafica m;
    m.Candidato = name;
    m.DataNasc = birth;
    m.LuogoNasc = QStringLiteral("Roma");
    m.Settore = QStringLiteral("Socio");
    m.Competenze = QStringLiteral("01/01/2020");
    return m;
}

} // namespace

class TestPageWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { m_messages = new Messages::Recorder; }
    void cleanup();

    void createBook();
    void refusedBookNames_data();
    void refusedBookNames();
    void listOpenAndDelete();
    void navigationFromANewPage();
    void saveNewThenAgain();
    void overLongValuesAreCut_data();
    void overLongValuesAreCut();
    void slotAMustBeFilled_data();
    void slotAMustBeFilled();
    void browsingPages();
    void pagePhotosAndPreviewCopies();
    void enterCyclesThroughTheSlots();
    void importIntoASlot();
    void pageTemplate();
    void titlePageValuesAreKept();
    void titlePageThatCannotBeKept_data() { FailingWrites::addRows(); }
    void titlePageThatCannotBeKept();
    void unwritableBookAndFolder();
    void pagePhotosThatCannotBeWritten_data();
    void pagePhotosThatCannotBeWritten();
    void savesOverWhatItReadWithoutAsking();
    void saveOverAnotherCopysChange_data();
    void saveOverAnotherCopysChange();
    void saveOverAnotherCopysPhoto_data();
    void saveOverAnotherCopysPhoto();
    void ownPhotoSavesAreNoOtherCopysChange_data();
    void ownPhotoSavesAreNoOtherCopysChange();
    void twoCopiesSavingPages();

private:
    Messages::Recorder *m_messages = nullptr;
};

void TestPageWindow::initTestCase()
{
    Startup::prepareApplication(*qApp);
    RecordFile::setLockTimeout(200);
}

void TestPageWindow::cleanup()
{
    delete m_messages;
    Modal::setHandlerForTesting({});
}

void TestPageWindow::createBook()
{
    TestFolder folder;
    TfrmCreaCatalogo window;
    window.present();
    auto *name = child<QLineEdit>(&window, QStringLiteral("txtFile"));
    QCOMPARE(window.focusWidget(), name);

    // Blanks only: refused.
    name->setText(QStringLiteral("   "));
    click(&window, QStringLiteral("btnApplica"));
    QCOMPARE(m_messages->shown().last().text,
             QStringLiteral("Attenzione: per creare l'archivio è necessario indicare il nome del nuovo Quorvel."));
    QVERIFY(window.isVisible());

    // Typed ? and ç are swallowed, | goes in.
    name->clear();
    typeText(name, QStringLiteral(" Soci?ç 2024 "));
    QCOMPARE(name->text(), QStringLiteral(" Soci 2024 "));
    click(&window, QStringLiteral("btnApplica"));
    QCOMPARE(m_messages->shown().last().kind, Kind::Information);
    QCOMPARE(m_messages->shown().last().text,
             QStringLiteral("Il file di archivio relativo al nuovo Quorvel è stato creato con successo.\r\n\r\n"
                            "E' ora possibile visualizzarlo nell'elenco dei Quorvel esistenti."));
    QVERIFY(!window.isVisible());
    QCOMPARE(QFileInfo(folder.file(QStringLiteral("Soci 2024.qvl"))).size(), 0);

    // The same name again: refused, the file untouched, the name kept.
    folder.write(QStringLiteral("Soci 2024.qvl"), QByteArray(5320, 'p'));
    window.present();
    QCOMPARE(name->text(), QString());
    name->setText(QStringLiteral("Soci 2024"));
    click(&window, QStringLiteral("btnApplica"));
    QVERIFY(m_messages->shown().last().text.startsWith(
        QStringLiteral("Attenzione: il nome del Quorvel indicato è già stato utilizzato in precedenza.\r\n\r\n")));
    QVERIFY(window.isVisible());
    QCOMPARE(name->text(), QStringLiteral("Soci 2024"));
    QCOMPARE(folder.read(QStringLiteral("Soci 2024.qvl")).size(), 5320);
}

void TestPageWindow::refusedBookNames_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::newRow("path separator") << "archivio/soci";
    QTest::newRow("parent folder") << "..";
    QTest::newRow("out of the folder") << "../soci";
    QTest::newRow("vertical bar") << "soci|2024";
    QTest::newRow("page photos' names too long") << QString(250, u'S');
    QTest::newRow("hidden") << ".soci";
}

void TestPageWindow::refusedBookNames()
{
    QFETCH(QString, pasted);
    TestFolder folder;
    TfrmCreaCatalogo window;
    window.present();
    auto *name = child<QLineEdit>(&window, QStringLiteral("txtFile"));
    QApplication::clipboard()->setText(pasted);
    name->paste();
    QCOMPARE(name->text(), pasted);
    click(&window, QStringLiteral("btnApplica"));
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).text, QStringLiteral("Attenzione: il nome del Quorvel contiene caratteri non ammessi."));
    QVERIFY(window.isVisible());
    QDir parent(folder.path());
    parent.cdUp();
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QVERIFY(!QFile::exists(parent.filePath(QStringLiteral("soci.qvl"))));
}

void TestPageWindow::listOpenAndDelete()
{
    TestFolder folder;
    WindowRegistry::instance().createAll();
    auto *list = qobject_cast<TfrmApriCatalogo *>(WindowRegistry::instance().window(QStringLiteral("frmApriCatalogo")));
    auto *pages = qobject_cast<TfrmListinoPrezzi *>(WindowRegistry::instance().window(QStringLiteral("frmListinoPrezzi")));
    QVERIFY(list && pages);
    auto *files = child<QListWidget>(list, QStringLiteral("lstFiles"));
    auto *count = child<QLabel>(list, QStringLiteral("lblCreati"));

    list->present();
    QCOMPARE(count->text(), QStringLiteral("Sono stati creati 0 Quorvel."));
    click(list, QStringLiteral("btnApri"));
    QCOMPARE(m_messages->shown().last().text, QStringLiteral("Attenzione: l'elenco non contiene nessun Quorvel."));
    list->close();

    for (const char *name : {"Zeta.qvl", "Iscritti 2024.qvl", "alfa.qvl"})
        folder.write(QString::fromLatin1(name), "");
    QDir(folder.path()).mkdir(QStringLiteral("Foto_Gruppo"));
    folder.write(QStringLiteral("Foto_Gruppo/alfa_Foto_A_1.jpg"), "x");
    list->present();
    QCOMPARE(count->text(), QStringLiteral("Sono stati creati 3 Quorvel."));
    QStringList shown;
    for (int i = 0; i < files->count(); ++i)
        shown << files->item(i)->text();
    QCOMPARE(shown, QStringList({"alfa.qvl", "Iscritti 2024.qvl", "Zeta.qvl"}));
    // The list taking the focus from the keyboard chooses no book.
    QFocusEvent focused(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(files, &focused);
    QVERIFY(files->selectedItems().isEmpty());
    click(list, QStringLiteral("btnApri"));
    QCOMPARE(m_messages->shown().last().text,
             QStringLiteral("Attenzione: selezionare il Quorvel dall'elenco prima di premere il pulsante Apri archivio."));
    click(list, QStringLiteral("btnElimina"));
    QCOMPARE(m_messages->shown().last().text,
             QStringLiteral("Attenzione: selezionare dall'elenco il Quorvel da eliminare prima di fare clic "
                            "sull'icona del cestino."));

    // Deleting: No keeps the book and the selection; Yes deletes the file only.
    files->setCurrentRow(0);
    m_messages->answerNext(false);
    click(list, QStringLiteral("btnElimina"));
    QVERIFY(m_messages->shown().last().noByDefault); // a stray Enter deletes nothing
    QVERIFY(QFile::exists(folder.file(QStringLiteral("alfa.qvl"))));
    QCOMPARE(files->currentItem()->text(), QStringLiteral("alfa.qvl"));
    m_messages->answerNext(true);
    click(list, QStringLiteral("btnElimina"));
    QCOMPARE(m_messages->shown().last().text, QStringLiteral("Il Quorvel è stato eliminato con successo."));
    QVERIFY(!QFile::exists(folder.file(QStringLiteral("alfa.qvl"))));
    QVERIFY(QFile::exists(folder.file(QStringLiteral("Foto_Gruppo/alfa_Foto_A_1.jpg"))));
    QCOMPARE(count->text(), QStringLiteral("Sono stati creati 2 Quorvel."));
    QCOMPARE(child<QLabel>(list, QStringLiteral("lblMemory"))->text(), QStringLiteral("avvio"));

    // Opening hands the path and the name to the page window.
    files->setCurrentRow(0);
    click(list, QStringLiteral("btnApri"));
    QVERIFY(!list->isVisible());
    QVERIFY(pages->isVisible());
    QCOMPARE(child<QLabel>(pages, QStringLiteral("lblNome"))->text(), QStringLiteral("Iscritti 2024"));
    QCOMPARE(child<QLabel>(pages, QStringLiteral("lblFile"))->text(),
             QDir::toNativeSeparators(folder.path() + QStringLiteral("/Iscritti 2024.qvl")));
    QCOMPARE(child<QLabel>(pages, QStringLiteral("lblPosizione"))->text(), QString());
    pages->close();
    WindowRegistry::instance().destroyAll();
}

void TestPageWindow::navigationFromANewPage()
{
    PageWindow w;
    for (const char *command : {"cmdPrimo", "cmdUltimo", "cmdAvanti", "cmdIndietro"}) {
        click(&w.window, QString::fromLatin1(command));
        QCOMPARE(m_messages->shown().last().text, kEmptyBook);
        QCOMPARE(w.page(), QString());
    }
    QCOMPARE(QFileInfo(w.folder.file(QStringLiteral("Soci.qvl"))).size(), 0); // created empty on the way
}

void TestPageWindow::saveNewThenAgain()
{
    PageWindow w;
    w.fillSlotA(QStringLiteral("uno "));
    w.save();
    QCOMPARE(m_messages->shown().last().kind, Kind::Information);
    QCOMPARE(m_messages->shown().last().text, QStringLiteral("La scheda corrente è stata inserita in archivio."));
    QCOMPARE(w.page(), QStringLiteral("1"));
    w.edit(7, "Prezzo")->setText(QStringLiteral("Cessazione: 2025"));
    w.save();
    QCOMPARE(m_messages->shown().last().text,
             QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
    QCOMPARE(w.page(), QStringLiteral("1"));
    const QByteArray bytes = w.folder.read(QStringLiteral("Soci.qvl"));
    QCOMPARE(bytes.size(), 5320);
    QCOMPARE(bytes.mid(5269, 17), QByteArray("\x10" "Cessazione: 2025"));
}

void TestPageWindow::overLongValuesAreCut_data()
{
    // Each line's room in the book file: typed or imported, a longer text is
    // cut there, on screen and in the file.
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("capacity");
    QTest::newRow("admission line") << "Codice" << 0 << 50;
    QTest::newRow("heading") << "Nome" << 51 << 60;
    QTest::newRow("birth line") << "UM" << 112 << 250;
    QTest::newRow("address line") << "Caratteristiche" << 363 << 250;
    QTest::newRow("leaving line") << "Prezzo" << 614 << 50;
}

void TestPageWindow::overLongValuesAreCut()
{
    QFETCH(QString, field);
    QFETCH(int, offset);
    QFETCH(int, capacity);
    PageWindow w;
    w.fillSlotA(QStringLiteral("a"));
    const QString longer = QString(capacity + 20, u'è');
    w.edit(5, field.toLatin1().constData())->setText(longer);
    QCOMPARE(w.edit(5, field.toLatin1().constData())->text(), longer.left(capacity));
    w.save();
    const QByteArray bytes = w.folder.read(QStringLiteral("Soci.qvl"));
    const int at = 5 * 665 + offset;
    QCOMPARE(int(quint8(bytes[at])), capacity);
    QCOMPARE(bytes.mid(at + 1, capacity), QByteArray(capacity, '\xE8'));
    click(&w.window, QStringLiteral("cmdNuovo"));
    click(&w.window, QStringLiteral("cmdPrimo"));
    QCOMPARE(w.edit(5, field.toLatin1().constData())->text(), longer.left(capacity));
}

void TestPageWindow::slotAMustBeFilled_data()
{
    QTest::addColumn<QString>("blank");
    for (const char *f : {"Nome", "UM", "Caratteristiche", "Codice"})
        QTest::newRow(f) << QString::fromLatin1(f);
}

void TestPageWindow::slotAMustBeFilled()
{
    QFETCH(QString, blank);
    PageWindow w;
    w.fillSlotA(QStringLiteral("x"));
    w.edit(0, qPrintable(blank))->setText(QStringLiteral("  "));
    w.save();
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).text,
             QStringLiteral("Attenzione: per salvare la scheda è necessario compilare i campi riguardanti il socio "
                            "che appare in cima alla pagina."));
    QCOMPARE(w.window.focusWidget(), w.edit(0, qPrintable(blank)));
    QCOMPARE(w.folder.read(QStringLiteral("Soci.qvl")).size(), 0);
}

void TestPageWindow::browsingPages()
{
    PageWindow w;
    for (int i = 1; i <= 10; ++i) {
        click(&w.window, QStringLiteral("cmdNuovo"));
        w.fillSlotA(QStringLiteral("p%1 ").arg(i));
        w.save();
    }
    QCOMPARE(w.page(), QStringLiteral("10"));
    const auto shown = [&] { return w.edit(0, "Nome")->text() + u'@' + w.page(); };
    click(&w.window, QStringLiteral("cmdAvanti")); // on the last page: nothing
    QCOMPARE(shown(), QStringLiteral("p10 Nome@10"));
    click(&w.window, QStringLiteral("cmdPrimo"));
    QCOMPARE(shown(), QStringLiteral("p1 Nome@1"));
    click(&w.window, QStringLiteral("cmdIndietro")); // on page 1: nothing
    QCOMPARE(shown(), QStringLiteral("p1 Nome@1"));
    for (int i = 0; i < 6; ++i)
        click(&w.window, QStringLiteral("cmdAvanti"));
    QCOMPARE(shown(), QStringLiteral("p7 Nome@7"));
    w.edit(0, "Nome")->setText(QStringLiteral("changed"));
    click(&w.window, QStringLiteral("cmdNuovo"));
    QCOMPARE(shown(), QStringLiteral("@"));
    click(&w.window, QStringLiteral("cmdIndietro")); // a new page goes back to page 1
    QCOMPARE(shown(), QStringLiteral("p1 Nome@1"));
    click(&w.window, QStringLiteral("cmdUltimo"));
    click(&w.window, QStringLiteral("cmdIndietro"));
    QCOMPARE(shown(), QStringLiteral("p9 Nome@9"));
    click(&w.window, QStringLiteral("cmdNuovo"));
    click(&w.window, QStringLiteral("cmdAvanti")); // and forward to page 1 too
    QCOMPARE(shown(), QStringLiteral("p1 Nome@1"));
    QVERIFY(m_messages->shown().size() == 10); // only the ten save confirmations
}

void TestPageWindow::pagePhotosAndPreviewCopies()
{
    PageWindow w;
    QImage wide(600, 300, QImage::Format_RGB32);
    wide.fill(Qt::green);
    w.folder.write(QStringLiteral("verde.jpg"), QByteArray());
    QVERIFY(wide.save(w.folder.file(QStringLiteral("verde.jpg"))));
    FileDialogs::Script dialogs;
    dialogs.answerNext(w.folder.file(QStringLiteral("verde.jpg")));
    click(&w.window, QStringLiteral("imgFoto_C"));
    QCOMPARE(dialogs.requests().at(0).title, QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."));
    // The slot keeps the page photo it will write, not the picture's own size.
    QCOMPARE(w.window.photo(2)->image().size(), QSize(282, 366));
    QVERIFY(qGreen(w.window.photo(2)->image().pixel(141, 183)) > 200);
    w.fillSlotA(QStringLiteral("a"));
    w.save();

    const QString photos = w.folder.file(QStringLiteral("Foto_Gruppo")) + QDir::separator();
    for (QChar x = u'A'; x <= u'H'; x = QChar(x.unicode() + 1)) {
        QCOMPARE(QImage(photos + QStringLiteral("Soci_Foto_") + x + QStringLiteral("_1.jpg")).size(), QSize(282, 366));
        QCOMPARE(QImage(photos + QStringLiteral("Soci_Anteprima_") + x + QStringLiteral(".jpg")).size(), QSize(282, 366));
    }
    QCOMPARE(w.window.photo(2)->image().size(), QSize(282, 366)); // the slot shows what was written
    QVERIFY(qGreen(w.window.photo(2)->image().pixel(141, 183)) > 200);

    // A page whose photos have gone shows the placeholder, without a message.
    const qsizetype messages = m_messages->shown().size();
    QVERIFY(QFile::remove(photos + QStringLiteral("Soci_Foto_C_1.jpg")));
    click(&w.window, QStringLiteral("cmdNuovo"));
    click(&w.window, QStringLiteral("cmdPrimo"));
    QCOMPARE(w.window.photo(2)->image(), child<PictureBox>(&w.window, QStringLiteral("imgBianco"))->image());
    QCOMPARE(m_messages->shown().size(), messages);

    // A file that is not a picture leaves the placeholder.
    w.folder.write(QStringLiteral("finta.jpg"), "non una foto");
    dialogs.answerNext(w.folder.file(QStringLiteral("finta.jpg")));
    click(&w.window, QStringLiteral("imgFoto_A"));
    QCOMPARE(w.window.photo(0)->image(), child<PictureBox>(&w.window, QStringLiteral("imgBianco"))->image());
}

void TestPageWindow::enterCyclesThroughTheSlots()
{
    PageWindow w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.edit(0, "Nome")->setFocus();
    const char *order[] = {"UM", "Caratteristiche", "Codice", "Prezzo"};
    for (const char *next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.edit(0, next));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.edit(1, "Nome"));
    w.edit(7, "Prezzo")->setFocus();
    QTest::keyClick(w.edit(7, "Prezzo"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.edit(0, "Nome"));
}

void TestPageWindow::importIntoASlot()
{
    PageWindow w;
    // Two members give the same result row: the clicked one is imported.
    TSchedaAnagrafica first = member(QStringLiteral("Neri Paolo"), QStringLiteral("01/01/1960"));
    TSchedaAnagrafica second = member(QStringLiteral("Neri Paolo"), QStringLiteral("02/02/1970"));
    writeMembers({first, second});
    QImage red(10, 12, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(MemberArchive::savePhoto(QStringLiteral("1"), red));
    w.edit(1, "Nome")->setText(QStringLiteral("slot B"));

    for (int clicked : {0, 1}) {
        QString mode;
        Modal::setHandlerForTesting([&](QDialog *dialog) {
            auto *search = qobject_cast<TfrmTrovaCandidati *>(dialog);
            mode = search->mode();
            QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("lblImporta"))->text(),
                     QStringLiteral("Il socio scelto sarà importato nel riquadro C della pagina."));
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCerca")), Qt::LeftButton);
            QListView *list = search->resultPage()->lstRecords;
            list->setCurrentIndex(list->model()->index(clicked, 0));
            emit search->resultPage()->memberChosen(search->resultPage()->rows()[size_t(clicked)].index);
        });
        click(&w.window, QStringLiteral("impProdotto_C"));
        QCOMPARE(mode, QStringLiteral("persona_c"));
        QCOMPARE(w.edit(2, "UM")->text(), QStringLiteral("Luogo e data nascita: Roma (%1)  -  C.F. ")
                                              .arg(clicked == 0 ? QStringLiteral("01/01/1960") : QStringLiteral("02/02/1970")));
        QCOMPARE(child<QLabel>(&w.window, QStringLiteral("lblRecord"))->text(), QString::number(clicked + 1));
        const QImage shown = w.window.photo(2)->image();
        if (clicked == 0)
            QVERIFY(qRed(shown.pixel(141, 183)) > 200 && qGreen(shown.pixel(141, 183)) < 50);
        else
            QCOMPARE(shown, child<PictureBox>(&w.window, QStringLiteral("imgBianco"))->image());
    }
    QCOMPARE(w.edit(2, "Nome")->text(), QStringLiteral("#. Neri Paolo (Socio)"));
    QCOMPARE(w.edit(2, "Caratteristiche")->text(), QStringLiteral("  -  CAP:   -  "));
    QCOMPARE(w.edit(2, "Codice")->text(), QStringLiteral("Ammissione: 01/01/2020"));
    // Wider than its box: its start is shown, and the whole text as tooltip.
    QCOMPARE(w.edit(2, "Codice")->cursorPosition(), 0);
    QCOMPARE(w.edit(2, "Codice")->toolTip(), QStringLiteral("Ammissione: 01/01/2020"));
    QCOMPARE(w.edit(2, "Prezzo")->toolTip(), QString()); // "Cessazione: " fits
    QCOMPARE(w.edit(2, "Prezzo")->text(), QStringLiteral("Cessazione: "));
    QCOMPARE(w.edit(1, "Nome")->text(), QStringLiteral("slot B")); // the other slots are untouched
    QCOMPARE(w.page(), QString());
    QCOMPARE(w.folder.read(QStringLiteral("Soci.qvl")).size(), 0);
}

void TestPageWindow::pageTemplate()
{
    PageWindow w;
    for (int s = 0; s < 8; ++s)
        w.edit(s, "Nome")->setText(QStringLiteral(" socio %1 ").arg(QChar(u'A' + s)));
    TfrmStampaProdotto output(&w.window, w.window.printed());
    output.fillReport();
    const std::vector<Report::Page> pages = output.report().prepare();
    QCOMPARE(pages.size(), size_t(1));
    const auto item = [&](const QString &name) {
        for (const Report::Item &i : pages[0].items)
            if (i.source->name() == name)
                return i;
        qFatal("no item %s", qPrintable(name));
    };
    QCOMPARE(item(QStringLiteral("txtNome")).lines, QStringList{QStringLiteral("Soci")});
    QCOMPARE(item(QStringLiteral("txtPagina")).lines, QStringList{QStringLiteral("Pagina ")}); // not saved yet
    QCOMPARE(item(QStringLiteral("txtNome_A")).lines, QStringList{QStringLiteral("socio A")});
    QCOMPARE(item(QStringLiteral("txtNome_A")).rect.top(), 10 + 6 + 1.0); // at the top of the sheet
    QCOMPARE(item(QStringLiteral("txtNome_H")).rect.top(), 10 + 237 + 1.0); // at the bottom
    QCOMPARE(item(QStringLiteral("imgFoto_E")).source->picture.size(), QSize(282, 366));
    QCOMPARE(output.report().orientation(), QPageLayout::Portrait);
}

void TestPageWindow::titlePageValuesAreKept()
{
    TestFolder folder;
    folder.write(QStringLiteral("Quorvel.ini"), "questo non e' un file INI \x01\x02");
    {
        TfrmFrontespizioReg window;
        Modal::setHandlerForTesting([&](QDialog *) {
            QCOMPARE(window.edit(QStringLiteral("txtComune"))->text(), QString());
            QCOMPARE(window.focusWidget(), window.edit(QStringLiteral("txtComune")));
            window.edit(QStringLiteral("txtComune"))->setText(QStringLiteral("  Società Mutuo Soccorso  "));
            window.edit(QStringLiteral("txtPagine"))->setText(QStringLiteral("128"));
            window.edit(QStringLiteral("txtResponsabile"))->setText(QStringLiteral("Anna Verdi"));
            click(&window, QStringLiteral("btnChiudi"));
        });
        Modal::show(&window);
    }
    const QByteArray ini = folder.read(QStringLiteral("Quorvel.ini"));
    QVERIFY(ini.contains("[Frontespizio Registro]"));
    QVERIFY(ini.contains("\r\nDenominazione Associazione=Societ\xE0 Mutuo Soccorso\r\n"));
    QVERIFY(ini.indexOf("Numero Libro") < ini.indexOf("Totale Soci"));
    QVERIFY(ini.indexOf("Firma Presidente") < ini.indexOf("Firma Segretario"));

    // Shown again, from the window frame this time: the values come back, trimmed.
    TfrmFrontespizioReg again;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        QCOMPARE(again.edit(QStringLiteral("txtComune"))->text(), QStringLiteral("Società Mutuo Soccorso"));
        QCOMPARE(again.edit(QStringLiteral("txtPagine"))->text(), QStringLiteral("128"));
        again.edit(QStringLiteral("txtNumero"))->setText(QStringLiteral("7"));
        dialog->close();
    });
    Modal::show(&again);
    again.edit(QStringLiteral("txtComune"))->setText(QStringLiteral("altro"));
    QCOMPARE(again.report().findObject(QStringLiteral("txtNumero"))->lines(), QStringList());
    const QByteArray after = folder.read(QStringLiteral("Quorvel.ini"));
    QVERIFY(after.contains("\r\nNumero Libro=7\r\n"));

    // Every one of the ten values goes to its own key and comes back.
    const auto &values = TitleReport::values();
    for (bool reopened : {false, true}) {
        TfrmFrontespizioReg window;
        Modal::setHandlerForTesting([&](QDialog *dialog) {
            for (size_t i = 0; i < values.size(); ++i) {
                QLineEdit *box = window.edit(QString::fromLatin1(values[i].name));
                if (reopened)
                    QCOMPARE(box->text(), QStringLiteral("valore %1").arg(i));
                else
                    box->setText(QStringLiteral("valore %1").arg(i));
            }
            dialog->close();
        });
        Modal::show(&window);
    }
    const QByteArray kept = folder.read(QStringLiteral("Quorvel.ini"));
    for (size_t i = 0; i < values.size(); ++i)
        QVERIFY2(kept.contains("\r\n" + QByteArray(values[i].key) + "=valore " + QByteArray::number(qulonglong(i)) + "\r\n"),
                 values[i].key);
}

void TestPageWindow::titlePageThatCannotBeKept()
{
    QFETCH(FailingWrites::Kind, failure);
    TestFolder folder;
    const QByteArray earlier = "[Frontespizio Registro]\r\nDenominazione Associazione=Circolo\r\n";
    folder.write(QStringLiteral("Quorvel.ini"), earlier);
    TfrmFrontespizioReg window;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        window.edit(QStringLiteral("txtComune"))->setText(QStringLiteral("Società Mutuo Soccorso di Assisi"));
        FailingWrites failing(folder.path(), failure);
        dialog->close();
    });
    Modal::show(&window);
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Warning);
    QCOMPARE(m_messages->shown().at(0).text,
             QStringLiteral("Attenzione: non è stato possibile salvare i dati del frontespizio nel file Quorvel.ini.\n\r"
                            "\n\rAccertarsi di possedere i privilegi di scrittura nella cartella di installazione del "
                            "programma."));
    QCOMPARE(folder.read(QStringLiteral("Quorvel.ini")), earlier);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("Quorvel.ini")});
}

void TestPageWindow::unwritableBookAndFolder()
{
    // A book that cannot be written: the archive error, the file as it was;
    // it can still be browsed.
    PageWindow w;
    w.folder.write(QStringLiteral("Soci.qvl"), QByteArray(5320, '\0'));
    const QString path = w.folder.file(QStringLiteral("Soci.qvl"));
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    w.fillSlotA(QStringLiteral("x"));
    {
        HonourFilePermissions permissions;
        w.save();
        QCOMPARE(w.page(), QString());
        click(&w.window, QStringLiteral("cmdPrimo"));
        QCOMPARE(w.page(), QStringLiteral("1"));
        QCOMPARE(w.edit(0, "Nome")->text(), QString());
        // A page shown from it cannot be saved over either.
        w.fillSlotA(QStringLiteral("y"));
        w.save();
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(m_messages->shown().size(), 2);
    for (const auto &shown : m_messages->shown()) {
        QCOMPARE(shown.kind, Kind::Error);
        QCOMPARE(shown.text, MemberArchive::ErrorText);
    }
    QCOMPARE(w.folder.read(QStringLiteral("Soci.qvl")), QByteArray(5320, '\0'));

    // A book that cannot be deleted is reported, not announced as deleted.
    m_messages->clear();
    TfrmApriCatalogo list;
    list.present();
    auto *files = child<QListWidget>(&list, QStringLiteral("lstFiles"));
    files->setCurrentRow(0);
    QFile::setPermissions(w.folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    m_messages->answerNext(true);
    {
        HonourFilePermissions permissions;
        click(&list, QStringLiteral("btnElimina"));
    }
    QFile::setPermissions(w.folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(m_messages->shown().last().kind, Kind::Warning);
    QCOMPARE(m_messages->shown().last().text,
             QStringLiteral("Attenzione: non è stato possibile eliminare il Quorvel selezionato."));
    QVERIFY(QFile::exists(path));
    QCOMPARE(child<QLabel>(&list, QStringLiteral("lblCreati"))->text(), QStringLiteral("Sono stati creati 1 Quorvel."));
}

// A photo no JPEG encoder can make much smaller than the disk allows.
QImage noise(quint32 seed, QRgb tint)
{
    QImage image(282, 366, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(qRed(tint) / 2 + int(random.bounded(128)), qGreen(tint) / 2 + int(random.bounded(128)),
                                      qBlue(tint) / 2 + int(random.bounded(128))));
    return image;
}

void TestPageWindow::pagePhotosThatCannotBeWritten_data()
{
    FailingWrites::addRows();
}

void TestPageWindow::pagePhotosThatCannotBeWritten()
{
    // The page is saved; its earlier photos stay as they were, the slot keeps
    // the new picture, and the user is told.
    QFETCH(FailingWrites::Kind, failure);
    PageWindow w;
    w.fillSlotA(QStringLiteral("a"));
    w.window.photo(2)->setImage(noise(1, qRgb(255, 0, 0)));
    w.save();
    const QString photos = QStringLiteral("Foto_Gruppo/Soci_Foto_C_1.jpg");
    const QString preview = QStringLiteral("Foto_Gruppo/Soci_Anteprima_C.jpg");
    const QByteArray photoBefore = w.folder.read(photos);
    const QByteArray previewBefore = w.folder.read(preview);
    QVERIFY(photoBefore.size() > 5320);
    const QStringList filesBefore = QDir(w.folder.file(QStringLiteral("Foto_Gruppo"))).entryList(QDir::Files);
    m_messages->clear();

    w.fillSlotA(QStringLiteral("b"));
    w.window.photo(2)->setImage(noise(2, qRgb(0, 0, 255)));
    // A plain picture is small enough for what is left of a full disk: one
    // photo that cannot be written does not keep the others from it.
    QImage plain(282, 366, QImage::Format_RGB32);
    plain.fill(Qt::green);
    w.window.photo(7)->setImage(plain);
    {
        // The book itself (one page) can still be written over.
        FailingWrites failing(w.folder.file(QStringLiteral("Foto_Gruppo")), failure, 5320);
        w.save();
    }
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Warning);
    QCOMPARE(m_messages->shown().at(0).text,
             QStringLiteral("Attenzione: la scheda è stata salvata in archivio, ma non è stato possibile salvare le "
                            "foto dei soci nella cartella Foto_Gruppo.\n\r\n\rAccertarsi che il disco non sia pieno e "
                            "di possedere i privilegi di scrittura nella cartella di installazione del programma."));
    QCOMPARE(RegisterBook(w.folder.file(QStringLiteral("Soci.qvl")), QStringLiteral("Soci")).read(1)->slotTexts[0].Nome,
             QStringLiteral("bNome"));
    QCOMPARE(w.folder.read(photos), photoBefore);
    QCOMPARE(w.folder.read(preview), previewBefore);
    QCOMPARE(QDir(w.folder.file(QStringLiteral("Foto_Gruppo"))).entryList(QDir::Files), filesBefore);
    QVERIFY(qBlue(w.window.photo(2)->image().pixel(141, 183)) > qRed(w.window.photo(2)->image().pixel(141, 183)));
    if (failure == FailingWrites::FullDisk)
        QVERIFY(qGreen(RegisterBook::readPhoto(w.folder.file(QStringLiteral("Foto_Gruppo/Soci_Foto_H_1.jpg"))).pixel(141, 183))
                > 200);
}

void TestPageWindow::savesOverWhatItReadWithoutAsking()
{
    // A page with remains of other texts after each line, as older programs
    // leave them: reached by navigation and saved, it asks nothing.
    PageWindow w;
    w.fillSlotA(QStringLiteral("a"));
    w.save();
    QByteArray bytes = w.folder.read(QStringLiteral("Soci.qvl"));
    for (int s = 0; s < TPaginaRegistro::SlotCount; ++s)
        for (const TSlotPagina::Field &f : TSlotPagina::fields())
            for (int i = quint8(bytes[s * TSlotPagina::Size + f.offset]); i < f.capacity; ++i)
                bytes[s * TSlotPagina::Size + f.offset + 1 + i] = 'j';
    w.folder.write(QStringLiteral("Soci.qvl"), bytes);
    click(&w.window, QStringLiteral("cmdNuovo"));
    click(&w.window, QStringLiteral("cmdPrimo"));
    m_messages->clear();
    w.edit(3, "Nome")->setText(QStringLiteral("socio D"));
    w.save();
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Information);
    QCOMPARE(RegisterBook(w.folder.file(QStringLiteral("Soci.qvl")), QStringLiteral("Soci")).read(1)->slotTexts[3].Nome,
             QStringLiteral("socio D"));
}

void TestPageWindow::saveOverAnotherCopysChange_data()
{
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("Yes overwrites") << true;
    QTest::newRow("No keeps the other copy's change") << false;
}

void TestPageWindow::saveOverAnotherCopysChange()
{
    // Two windows on one book stand for two copies of the program: each saves
    // over what it loaded, and over the other's change only when told to.
    QFETCH(bool, overwrite);
    PageWindow first;
    first.fillSlotA(QStringLiteral("a"));
    first.save();
    TfrmListinoPrezzi second;
    second.openBook(first.folder.file(QStringLiteral("Soci.qvl")), QStringLiteral("Soci"));
    second.present();
    click(&second, QStringLiteral("cmdPrimo"));
    m_messages->clear();

    first.edit(0, "Nome")->setText(QStringLiteral("cambiato dalla prima copia"));
    first.save();
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Information);

    m_messages->clear();
    m_messages->answerNext(overwrite);
    child<QLineEdit>(&second, QStringLiteral("txtUM_A"))->setText(QStringLiteral("cambiato dalla seconda copia"));
    click(&second, QStringLiteral("cmdSalva"));
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Question);
    QCOMPARE(m_messages->shown().at(0).text, kChangedElsewhere);
    QVERIFY(m_messages->shown().at(0).noByDefault);
    QCOMPARE(m_messages->shown().size(), overwrite ? 2 : 1);
    const TSlotPagina stored =
        RegisterBook(first.folder.file(QStringLiteral("Soci.qvl")), QStringLiteral("Soci")).read(1)->slotTexts[0];
    QCOMPARE(stored.Nome, overwrite ? QStringLiteral("aNome") : QStringLiteral("cambiato dalla prima copia"));
    QCOMPARE(stored.UM, overwrite ? QStringLiteral("cambiato dalla seconda copia") : QStringLiteral("aUM"));
    QCOMPARE(child<QLineEdit>(&second, QStringLiteral("txtUM_A"))->text(), QStringLiteral("cambiato dalla seconda copia"));

    // Once saved (or seen again), the window saves without asking.
    if (!overwrite)
        click(&second, QStringLiteral("cmdPrimo"));
    m_messages->clear();
    click(&second, QStringLiteral("cmdSalva"));
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Information);
}

namespace {

// The colour each copy gives its page's photos, and the text of slot B.
QRgb copyColour(int page)
{
    return page == 1 ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
}

bool hasColour(const QImage &image, QRgb colour)
{
    const QRgb p = image.pixel(image.width() / 2, image.height() / 2);
    return qAbs(qRed(p) - qRed(colour)) < 40 && qAbs(qBlue(p) - qBlue(colour)) < 40;
}

// Another copy of the program: saves one page of the book over and over at
// random intervals and checks, after each save, that its slots still show
// its own photos.
int runAsAnotherCopy()
{
    const QString folder = qEnvironmentVariable("QUORVEL_COPY_FOLDER");
    const int page = qEnvironmentVariableIntValue("QUORVEL_COPY_PAGE");
    const qint64 until = qEnvironmentVariable("QUORVEL_COPY_UNTIL").toLongLong();
    ProgramFolder::setForTesting(folder);
    Startup::prepareApplication(*qApp);
    RecordFile::setLockTimeout(5000);
    Messages::Recorder messages;
    TfrmListinoPrezzi window;
    window.openBook(ProgramFolder::file(QStringLiteral("Soci.qvl")), QStringLiteral("Soci"));
    window.present();
    window.cmdPrimoClick();
    for (int p = 1; p < page; ++p)
        window.cmdAvantiClick();
    QRandomGenerator random{quint32(page)};
    // At least a few saves each, however slowly the copy started.
    for (int round = 0; round < 5 || QDateTime::currentMSecsSinceEpoch() < until; ++round) {
        for (int s = 0; s < TPaginaRegistro::SlotCount; ++s) {
            QImage photo(300, 400, QImage::Format_RGB32);
            photo.fill(copyColour(page));
            window.photo(s)->setImage(photo);
        }
        window.edit(1, TSlotPagina::fNome)->setText(QStringLiteral("copia %1 giro %2").arg(page).arg(round));
        messages.clear();
        window.cmdSalvaClick();
        if (messages.texts() != QStringList{QStringLiteral("Le modifiche apportate alla scheda corrente sono state "
                                                           "salvate in archivio.")}) {
            std::fprintf(stderr, "page %d: %s\n", page, qPrintable(messages.texts().join(u'|')));
            return 1;
        }
        for (int s = 0; s < TPaginaRegistro::SlotCount; ++s)
            if (!hasColour(window.photo(s)->image(), copyColour(page))) {
                std::fprintf(stderr, "page %d shows another page's photo in slot %d\n", page, s);
                return 1;
            }
        QThread::msleep(random.bounded(40));
    }
    return 0;
}

} // namespace

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

QImage filled(QRgb colour)
{
    QImage picture(300, 400, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// Another copy of the program, a process of its own, saving only the photo
// of one slot of page 1 of book "Soci" in blue.
void otherCopySavesSlotPhoto(const QString &folder, QChar slot)
{
    QProcess copy;
    copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    copy.start(QStringLiteral(QUORVEL_PROBE), {QStringLiteral("pagephoto"), folder, QStringLiteral("Soci"), QString(slot),
                                                QStringLiteral("1"), QColor(kBlue).name()});
    QVERIFY(copy.waitForFinished(60000));
    QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
    QCOMPARE(copy.exitCode(), 0);
}

} // namespace

void TestPageWindow::saveOverAnotherCopysPhoto_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("photoWhenLoaded");
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("No keeps the other copy's photo of slot A") << 0 << true << false;
    QTest::newRow("Yes writes this copy's photo of slot H") << 7 << true << true;
    QTest::newRow("No, the photo file of slot C was missing when loaded") << 2 << false << false;
}

void TestPageWindow::saveOverAnotherCopysPhoto()
{
    // Another copy changes only a slot's photo after this window loaded the
    // page; this window then changes a text: the question is the same as for
    // another copy's text.
    QFETCH(int, slot);
    QFETCH(bool, photoWhenLoaded);
    QFETCH(bool, overwrite);
    const QChar letter = TPaginaRegistro::letter(slot);
    PageWindow w;
    w.fillSlotA(QStringLiteral("a"));
    w.window.photo(slot)->setImage(filled(kRed));
    w.save();
    const QString photo = w.folder.file(QStringLiteral("Foto_Gruppo/Soci_Foto_%1_1.jpg").arg(letter));
    if (!photoWhenLoaded)
        QVERIFY(QFile::remove(photo));
    click(&w.window, QStringLiteral("cmdPrimo"));

    otherCopySavesSlotPhoto(w.folder.path(), letter);
    m_messages->clear();
    m_messages->answerNext(overwrite);
    w.edit(0, "UM")->setText(QStringLiteral("cambiato"));
    w.save();
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Question);
    QCOMPARE(m_messages->shown().at(0).text, kChangedElsewhere);
    QVERIFY(m_messages->shown().at(0).noByDefault);
    QCOMPARE(m_messages->shown().size(), overwrite ? 2 : 1);
    QCOMPARE(RegisterBook(w.folder.file(QStringLiteral("Soci.qvl")), QStringLiteral("Soci")).read(1)->slotTexts[0].UM,
             overwrite ? QStringLiteral("cambiato") : QStringLiteral("aUM"));
    QVERIFY(hasColour(RegisterBook::readPhoto(photo), overwrite ? kRed : kBlue));

    // Once saved, or seen again, the window saves without asking.
    if (!overwrite)
        click(&w.window, QStringLiteral("cmdPrimo"));
    m_messages->clear();
    w.save();
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Information);
}

void TestPageWindow::ownPhotoSavesAreNoOtherCopysChange_data()
{
    QTest::addColumn<bool>("inserted");
    QTest::newRow("page loaded from the book") << false;
    QTest::newRow("page inserted by this window") << true;
}

void TestPageWindow::ownPhotoSavesAreNoOtherCopysChange()
{
    // The window's own saves, of a slot's photo alone and then of a text,
    // never ask; a photo another copy saves after them still counts.
    QFETCH(bool, inserted);
    PageWindow w;
    if (inserted) {
        w.fillSlotA(QStringLiteral("a"));
        w.save();
    } else {
        TPaginaRegistro content;
        content.slotTexts[0] = {QStringLiteral("aCodice"), QStringLiteral("aNome"), QStringLiteral("aUM"),
                                QStringLiteral("aCaratteristiche"), QString()};
        QCOMPARE(RegisterBook(w.folder.file(QStringLiteral("Soci.qvl")), QStringLiteral("Soci")).append(content),
                 std::optional<qint64>(1));
        click(&w.window, QStringLiteral("cmdPrimo"));
    }
    m_messages->clear();
    w.window.photo(4)->setImage(filled(kRed));
    w.save();
    w.edit(0, "UM")->setText(QStringLiteral("cambiato"));
    w.save();
    QCOMPARE(m_messages->shown().size(), 2);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Information);
    QCOMPARE(m_messages->shown().at(1).kind, Kind::Information);

    otherCopySavesSlotPhoto(w.folder.path(), u'E');
    m_messages->clear();
    m_messages->answerNext(false);
    w.edit(0, "UM")->setText(QStringLiteral("cambiato ancora"));
    w.save();
    QCOMPARE(m_messages->texts(), QStringList{kChangedElsewhere});
    QVERIFY(hasColour(RegisterBook::readPhoto(w.folder.file(QStringLiteral("Foto_Gruppo/Soci_Foto_E_1.jpg"))), kBlue));
}

void TestPageWindow::twoCopiesSavingPages()
{
    // Two copies of the program save pages 1 and 2 of one book at random
    // intervals (for QUORVEL_COPIES_SECONDS, 4 by default): every page keeps
    // its own photos and texts, and each copy's slots show its own pictures.
    TestFolder folder;
    RegisterBook book(folder.file(QStringLiteral("Soci.qvl")), QStringLiteral("Soci"));
    for (int page = 1; page <= 2; ++page) {
        TPaginaRegistro content;
        content.slotTexts[0] = {QStringLiteral("ammessa"), QStringLiteral("pagina %1").arg(page), QStringLiteral("nata"),
                                QStringLiteral("residente"), QString()};
        QCOMPARE(book.append(content), std::optional<qint64>(page));
    }
    const int seconds = qEnvironmentVariableIsSet("QUORVEL_COPIES_SECONDS")
        ? qEnvironmentVariableIntValue("QUORVEL_COPIES_SECONDS")
        : 4;
    const QString until = QString::number(QDateTime::currentMSecsSinceEpoch() + 1000 * seconds);
    std::array<QProcess, 2> copies;
    for (int page = 1; page <= 2; ++page) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUORVEL_COPY_FOLDER"), folder.path());
        env.insert(QStringLiteral("QUORVEL_COPY_PAGE"), QString::number(page));
        env.insert(QStringLiteral("QUORVEL_COPY_UNTIL"), until);
        QProcess &copy = copies[size_t(page - 1)];
        copy.setProcessEnvironment(env);
        copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        copy.start(QCoreApplication::applicationFilePath(), {});
    }
    for (QProcess &copy : copies) {
        QVERIFY(copy.waitForFinished(1000 * seconds + 60000));
        QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
        QCOMPARE(copy.exitCode(), 0);
    }
    for (int page = 1; page <= 2; ++page) {
        const auto content = book.read(page);
        QVERIFY(content);
        QCOMPARE(content->slotTexts[0].Nome, QStringLiteral("pagina %1").arg(page));
        QVERIFY(content->slotTexts[1].Nome.startsWith(QStringLiteral("copia %1 giro ").arg(page)));
        for (int s = 0; s < TPaginaRegistro::SlotCount; ++s)
            QVERIFY(hasColour(RegisterBook::readPhoto(book.photoPath(TPaginaRegistro::letter(s), QString::number(page))),
                              copyColour(page)));
    }
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("QUORVEL_COPY_FOLDER"))
        return runAsAnotherCopy();
    TestPageWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pagewindow.moc"
