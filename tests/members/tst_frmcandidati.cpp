#include "app/startup.h"
#include "base/tmisc.h"
#include "base/recordfile.h"
#include "cardwindow.h"
#include "checks/frmcodfisc.h"
#include "checks/frmpartitaiva.h"
#include "members/memberarchive.h"
#include "members/placeholderphoto.h"
#include "support/filecapabilities.h"
#include "support/typing.h"
#include "support/windowtest.h"
#include "ui/messages.h"
#include "ui/modal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using Messages::Kind;
using S = TSchedaAnagrafica;

namespace {

const QString kEmpty = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kSaved = QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");

TSchedaAnagrafica member(const QString &name, bool ricontatta = false)
{
    TSchedaAnagrafica s;
    s.Candidato = name;
    s.Sesso = QStringLiteral("M");
    s.CodFisc = name.toUpper();
    s.File01 = name + QStringLiteral(".pdf");
    s.Desc01 = QStringLiteral("documento di ") + name;
    s.setRicontatta(ricontatta);
    return s;
}

void writeArchive(const QList<TSchedaAnagrafica> &members)
{
    MemberArchive archive;
    for (const auto &m : members)
        QVERIFY(archive.append(m));
}

QImage solid(const QColor &colour, const QSize &size = QSize(60, 80))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Another copy of the program, a process of its own, saving only the photo of
// member `number` in the program folder `folder`.
void otherCopySavesPhoto(const QString &folder, const QString &number, const QColor &colour)
{
    QProcess copy;
    copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    copy.start(QStringLiteral(QUORVEL_PROBE), {QStringLiteral("memberphoto"), folder, number, colour.name()});
    QVERIFY(copy.waitForFinished(60000));
    QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
    QCOMPARE(copy.exitCode(), 0);
}

bool hasColour(const QImage &image, const QColor &colour)
{
    const QColor p = image.pixelColor(image.width() / 2, image.height() / 2);
    return qAbs(p.red() - colour.red()) < 40 && qAbs(p.green() - colour.green()) < 40
        && qAbs(p.blue() - colour.blue()) < 40;
}

} // namespace

class TestFrmCandidati : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout();
    void opensOnAnEmptyCard();
    void enterCyclesThroughTheCard();
    void typingFilters();
    void mandatoryFields_data();
    void mandatoryFields();
    void saveNewThenOverwrite();
    void savePhotoFileEachTime();
    void photoThatCannotBeWrittenKeepsTheRecord();
    void duplicate();
    void duplicateNeedsASavedCard();
    void navigationOnEmptyArchive();
    void navigationSteps();
    void unknownRicontattaLeavesTheBox();
    void damagedRecordShowsWhatItCan();
    void savesOverWhatItReadWithoutAsking();
    void saveOverAnotherCopysChange_data();
    void saveOverAnotherCopysChange();
    void saveOverAnotherCopysPhoto_data();
    void saveOverAnotherCopysPhoto();
    void ownPhotoSavesAreNoOtherCopysChange_data();
    void ownPhotoSavesAreNoOtherCopysChange();
    void archiveErrors_data();
    void archiveErrors();
    void hints();
    void emailButton();
    void checkButtons_data();
    void checkButtons();
    void closingReturnsToTheLauncher();
    void longValuesShowTheirStart();
    void shortcutsRunTheirCommands();
    void shownAgainStartsWithTheReadyText();

private:
    Messages::Recorder *m_messages = nullptr;
    QList<QUrl> m_opened;
};

void TestFrmCandidati::initTestCase()
{
    Startup::prepareApplication(*qApp);
    RecordFile::setLockTimeout(200);
    TMisc::setOpenerForTesting([this](const QString &, const QUrl &url) { m_opened << url; });
}

void TestFrmCandidati::init()
{
    m_messages = new Messages::Recorder;
    m_opened.clear();
}

void TestFrmCandidati::cleanup()
{
    delete m_messages;
    Modal::setHandlerForTesting({});
}

void TestFrmCandidati::layout()
{
    TestFolder folder;
    TfrmCandidati window;
    window.present();
    QVERIFY(window.windowState() & Qt::WindowMaximized);

    CardWindow card;
    QCOMPARE(card.window.objectName(), QStringLiteral("frmCandidati"));
    QCOMPARE(card.window.windowTitle(), QStringLiteral(" Quorvel con Vori - Archivio Soci"));
    QCOMPARE(card.child(QStringLiteral("panContainer"))->size(), QSize(996, 692));
    QCOMPARE(card.child(QStringLiteral("imgFoto"))->geometry(), QRect(38, 102, 307, 394));
    QCOMPARE(card.child(QStringLiteral("lblPosizione"))->geometry(), QRect(648, 34, 52, 24));
    QCOMPARE(card.edit(QStringLiteral("txtNote"))->geometry().topLeft(), QPoint(32, 596));
    QCOMPARE(card.edit(QStringLiteral("txtCittadinanza"))->geometry().topLeft(), QPoint(794, 164));
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblCitta"))->text(), QStringLiteral("Città:"));
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblCitta"))->pos(), QPoint(364, 242));
    for (const auto &f : S::fields()) {
        const QString name = QString::fromLatin1(f.name);
        if (f.offset < 2103) // the 25 edits
            QCOMPARE(card.edit(QStringLiteral("txt") + name)->maxLength(), f.capacity);
        else if (name != QStringLiteral("Ricontatta"))
            QVERIFY(!card.child(QStringLiteral("lbl") + name)->isVisible());
    }
    for (const char *name : {"cmdNuovo", "cmdDuplica", "cmdSalva", "cmdTrova", "cmdFile", "cmdAnteprima", "cmdStampa",
                             "cmdPrimo", "cmdIndietro", "cmdAvanti", "cmdUltimo", "cmdScadute", "cmdEsporta",
                             "cmdGuida", "cmdEsci", "cmdPrivacy", "btnCaricaFoto", "btnWebcam", "btnSalvaFoto",
                             "btnCancFoto", "btnZoomFoto", "btnCodFisc", "btnPartitaIva", "btnEmail"})
        QVERIFY2(card.child(QString::fromLatin1(name))->cursor().shape() == Qt::PointingHandCursor, name);
    QVERIFY(!card.child(QStringLiteral("imgBianco"))->isVisible());
}

void TestFrmCandidati::opensOnAnEmptyCard()
{
    CardWindow card;
    writeArchive({member(QStringLiteral("Rossi"), true)});
    card.click(QStringLiteral("cmdPrimo"));
    QCOMPARE(card.position(), QStringLiteral("1"));
    QVERIFY(card.ricontatta()->isChecked());

    card.window.hide();
    card.window.present();
    QApplication::setActiveWindow(&card.window);
    QCOMPARE(card.position(), QString());
    QCOMPARE(card.edit(QStringLiteral("txtCandidato"))->text(), QString());
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblFile01"))->text(), QString());
    QVERIFY(!card.ricontatta()->isChecked());
    QCOMPARE(card.photo(), placeholderPhoto());
    QCOMPARE(QApplication::focusWidget(), card.edit(QStringLiteral("txtCandidato")));
}

void TestFrmCandidati::enterCyclesThroughTheCard()
{
    CardWindow card;
    QLineEdit *first = card.edit(QStringLiteral("txtCandidato"));
    first->setFocus();
    QStringList visited;
    for (int press = 0; press < 25; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(QApplication::focusWidget(), first);
    QCOMPARE(visited.mid(9, 3), QStringList({QStringLiteral("txtPartitaIva"), QStringLiteral("txtPatente"),
                                             QStringLiteral("txtStudio")}));
    QCOMPARE(visited.at(23), QStringLiteral("txtNote"));
    QVERIFY(m_messages->shown().isEmpty());
}

void TestFrmCandidati::typingFilters()
{
    CardWindow card;
    typeText(card.edit(QStringLiteral("txtCodFisc")), QStringLiteral("rssmra85 "));
    QCOMPARE(card.edit(QStringLiteral("txtCodFisc"))->text(), QStringLiteral("RSSMRA85"));
    typeText(card.edit(QStringLiteral("txtSesso")), QStringLiteral("f"));
    QCOMPARE(card.edit(QStringLiteral("txtSesso"))->text(), QStringLiteral("F"));
    typeText(card.edit(QStringLiteral("txtEmail")), QStringLiteral(" Anna.Rossi@Esempio.it "));
    QCOMPARE(card.edit(QStringLiteral("txtEmail"))->text(), QStringLiteral("Anna.Rossi@Esempio.it"));
    typeText(card.edit(QStringLiteral("txtPartitaIva")), QStringLiteral("IT 0123"));
    QCOMPARE(card.edit(QStringLiteral("txtPartitaIva"))->text(), QStringLiteral("0123"));
    typeText(card.edit(QStringLiteral("txtCandidato")), QString(55, QChar(u'x')));
    QCOMPARE(card.edit(QStringLiteral("txtCandidato"))->text().size(), 50);
}

void TestFrmCandidati::mandatoryFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("warning");
    const QString prefix = QStringLiteral("Attenzione: per salvare la scheda anagrafica è necessario indicare ");
    QTest::newRow("name") << "txtCandidato" << prefix + "cognome e nome.";
    QTest::newRow("sex") << "txtSesso" << prefix + "il sesso (M o F).";
    QTest::newRow("birth date") << "txtDataNasc" << prefix + "la data di nascita.";
    QTest::newRow("birth place") << "txtLuogoNasc" << prefix + "il luogo di nascita.";
    QTest::newRow("address") << "txtIndirizzo" << prefix + "l'indirizzo di residenza.";
    QTest::newRow("town") << "txtCitta" << prefix + "la città di residenza.";
    QTest::newRow("postcode") << "txtCap" << prefix + "il CAP della città di residenza.";
    QTest::newRow("role") << "txtSettore" << prefix + "la qualifica.";
    QTest::newRow("fiscal code") << "txtCodFisc" << prefix + "il codice fiscale.";
    QTest::newRow("mobile") << "txtCel" << prefix + "il numero di cellulare.";
    QTest::newRow("admission") << "txtCompetenze" << prefix + "la data di ammissione all'associazione.";
}

void TestFrmCandidati::mandatoryFields()
{
    QFETCH(QString, field);
    QFETCH(QString, warning);
    CardWindow card;
    card.fill(QStringLiteral("Rossi Anna"));
    // This field and every later one are blank: only this field's warning shows.
    bool blank = false;
    for (const auto &f : S::fields()) {
        const QString name = QStringLiteral("txt") + QString::fromLatin1(f.name);
        blank = blank || name == field;
        if (blank && f.offset < 2103)
            card.edit(name)->setText(name == field ? QStringLiteral(" \t ") : QString());
    }
    card.edit(QStringLiteral("txtNote"))->setFocus();
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Warning);
    QCOMPARE(m_messages->shown().at(0).text, warning);
    QCOMPARE(QApplication::focusWidget(), card.edit(field));
    QCOMPARE(card.folder.read(QStringLiteral("Archivio_Anagrafico.pro")).size(), 0);
    QVERIFY(!QFile::exists(card.folder.file(QStringLiteral("Anagrafica/Scheda_Anagrafica_1.jpg"))));
}

void TestFrmCandidati::saveNewThenOverwrite()
{
    CardWindow card;
    card.fill(QStringLiteral("  Rossi Anna  "));
    card.ricontatta()->setChecked(true);
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_messages->texts(), QStringList{kInserted});
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Information);
    QCOMPARE(card.position(), QStringLiteral("1"));
    QCOMPARE(card.folder.read(QStringLiteral("Archivio_Anagrafico.pro")).size(), 3612);
    // The edit keeps the blanks as typed; the file does not.
    QCOMPARE(card.edit(QStringLiteral("txtCandidato"))->text(), QStringLiteral("  Rossi Anna  "));
    const QByteArray first = card.folder.read(QStringLiteral("Archivio_Anagrafico.pro"));
    QCOMPARE(first.left(11), QByteArray("\x0ARossi Anna"));
    QCOMPARE(first.mid(2103, 3), QByteArray("\x02\x53\xEC"));

    card.click(QStringLiteral("cmdNuovo"));
    QCOMPARE(card.position(), QString());
    card.fill(QStringLiteral("Bianchi Luca"));
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(card.position(), QStringLiteral("2"));
    QCOMPARE(card.folder.read(QStringLiteral("Archivio_Anagrafico.pro")).size(), 7224);

    card.edit(QStringLiteral("txtNote"))->setText(QStringLiteral("cambiato"));
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_messages->texts().last(), kSaved);
    QCOMPARE(card.position(), QStringLiteral("2"));
    QCOMPARE(card.folder.read(QStringLiteral("Archivio_Anagrafico.pro")).size(), 7224);
    QCOMPARE(MemberArchive().read(1)->Note, QStringLiteral("cambiato"));
    QCOMPARE(MemberArchive().read(0)->Candidato, QStringLiteral("Rossi Anna"));
    QCOMPARE(MemberArchive().read(1)->ricontatta(), std::optional<bool>(false));
}

void TestFrmCandidati::savePhotoFileEachTime()
{
    CardWindow card;
    card.fill(QStringLiteral("Rossi Anna"));
    card.click(QStringLiteral("cmdSalva"));
    const QString photo = card.folder.file(QStringLiteral("Anagrafica/Scheda_Anagrafica_1.jpg"));
    QImage written(photo);
    QCOMPARE(written.size(), QSize(307, 394)); // the placeholder

    // A photo on the card is written at its own resolution, replacing the file.
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(solid(Qt::red, QSize(640, 480)));
    card.click(QStringLiteral("cmdSalva"));
    written = QImage(photo);
    QCOMPARE(written.size(), QSize(640, 480));
    QVERIFY(qRed(written.pixel(320, 240)) > 200);

    card.click(QStringLiteral("btnCancFoto"));
    QCOMPARE(card.photo(), placeholderPhoto());
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(QImage(photo).size(), QSize(307, 394));
}

void TestFrmCandidati::photoThatCannotBeWrittenKeepsTheRecord()
{
    CardWindow card;
    card.folder.write(QStringLiteral("Anagrafica"), QByteArray("a file where the folder should be"));
    card.fill(QStringLiteral("Rossi Anna"));
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(solid(Qt::red));
    card.click(QStringLiteral("cmdSalva"));
    // Saved, but not announced as saved whole: the photo stays to be saved again.
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Warning);
    QCOMPARE(card.position(), QStringLiteral("1"));
    QCOMPARE(card.folder.read(QStringLiteral("Archivio_Anagrafico.pro")).size(), 3612);
    QCOMPARE(card.photo(), solid(Qt::red));
}

void TestFrmCandidati::duplicate()
{
    CardWindow card;
    writeArchive({member(QStringLiteral("uno")), member(QStringLiteral("due")), member(QStringLiteral("tre"), true)});
    card.click(QStringLiteral("cmdUltimo"));
    QCOMPARE(card.position(), QStringLiteral("3"));
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblFile01"))->text(), QStringLiteral("tre.pdf"));
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(solid(Qt::blue));
    card.fill(QStringLiteral("tre"));

    card.click(QStringLiteral("cmdDuplica"));
    QCOMPARE(m_messages->texts(),
             QStringList{QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                                        "Al termine premere Salva per inserire la scheda in archivio.")});
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Information);
    QCOMPARE(card.position(), QString());
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblFile01"))->text(), QString());
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblDesc01"))->text(), QString());
    QVERIFY(!card.ricontatta()->isChecked());
    QCOMPARE(card.photo(), placeholderPhoto());
    QCOMPARE(card.edit(QStringLiteral("txtCandidato"))->text(), QStringLiteral("tre"));
    QCOMPARE(QApplication::focusWidget(), card.edit(QStringLiteral("txtCandidato")));

    const QByteArray before = MemberArchive().read(2)->toBytes();
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(card.position(), QStringLiteral("4"));
    const auto copy = MemberArchive().read(3);
    QCOMPARE(copy->Candidato, QStringLiteral("tre"));
    QCOMPARE(copy->ricontatta(), std::optional<bool>(false));
    QCOMPARE(copy->File01, QString());
    QCOMPARE(MemberArchive().read(2)->toBytes(), before);
    QCOMPARE(QImage(card.folder.file(QStringLiteral("Anagrafica/Scheda_Anagrafica_4.jpg"))).size(), QSize(307, 394));
}

void TestFrmCandidati::duplicateNeedsASavedCard()
{
    CardWindow card;
    card.fill(QStringLiteral("Rossi"));
    card.window.setAttachments({{QString(), QStringLiteral("x.pdf"), QString()}, {}});
    card.click(QStringLiteral("cmdDuplica"));
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire "
                                                             "soltanto dopo che questa è stata inserita in archivio.")});
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Warning);
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblFile02"))->text(), QStringLiteral("x.pdf"));
    QCOMPARE(card.edit(QStringLiteral("txtCandidato"))->text(), QStringLiteral("Rossi"));
}

void TestFrmCandidati::navigationOnEmptyArchive()
{
    CardWindow card;
    for (const char *button : {"cmdPrimo", "cmdUltimo", "cmdIndietro"}) {
        card.child<QLabel>(QStringLiteral("lblPosizione"))->setText(QStringLiteral("5"));
        card.click(QString::fromLatin1(button));
        QCOMPARE(card.position(), QStringLiteral("5"));
    }
    card.click(QStringLiteral("cmdAvanti"));
    QCOMPARE(card.position(), QString());
    QCOMPARE(m_messages->texts(), QStringList({kEmpty, kEmpty, kEmpty, kEmpty}));
    QCOMPARE(m_messages->shown().at(3).kind, Kind::Information);
    QCOMPARE(card.folder.read(QStringLiteral("Archivio_Anagrafico.pro")).size(), 0);
}

void TestFrmCandidati::navigationSteps()
{
    CardWindow card;
    writeArchive({member(QStringLiteral("uno")), member(QStringLiteral("due")), member(QStringLiteral("tre"))});
    MemberArchive::savePhoto(QStringLiteral("2"), solid(Qt::green));
    const auto shown = [&] { return card.edit(QStringLiteral("txtCandidato"))->text() + card.position(); };

    card.click(QStringLiteral("cmdAvanti")); // a new card moves on to record 1
    QCOMPARE(shown(), QStringLiteral("uno1"));
    QCOMPARE(card.child<QLabel>(QStringLiteral("lblDesc01"))->text(), QStringLiteral("documento di uno"));
    QCOMPARE(card.photo(), placeholderPhoto()); // no photo file
    card.click(QStringLiteral("cmdIndietro")); // on record 1: nothing
    QCOMPARE(shown(), QStringLiteral("uno1"));
    card.click(QStringLiteral("cmdAvanti"));
    QCOMPARE(shown(), QStringLiteral("due2"));
    QCOMPARE(card.photo().size(), QSize(60, 80));
    card.edit(QStringLiteral("txtNote"))->setText(QStringLiteral("non salvato"));
    card.click(QStringLiteral("cmdAvanti"));
    QCOMPARE(shown(), QStringLiteral("tre3"));
    card.click(QStringLiteral("cmdAvanti")); // on the last: nothing
    QCOMPARE(shown(), QStringLiteral("tre3"));
    card.click(QStringLiteral("cmdIndietro"));
    QCOMPARE(shown(), QStringLiteral("due2"));
    QCOMPARE(card.edit(QStringLiteral("txtNote"))->text(), QString()); // the change was dropped
    card.click(QStringLiteral("cmdPrimo"));
    QCOMPARE(shown(), QStringLiteral("uno1"));
    card.click(QStringLiteral("cmdUltimo"));
    QCOMPARE(shown(), QStringLiteral("tre3"));
    card.click(QStringLiteral("cmdNuovo"));
    card.click(QStringLiteral("cmdIndietro")); // a new card goes back to record 1
    QCOMPARE(shown(), QStringLiteral("uno1"));
    QVERIFY(m_messages->shown().isEmpty());
}

void TestFrmCandidati::unknownRicontattaLeavesTheBox()
{
    CardWindow card;
    writeArchive({member(QStringLiteral("uno"), true), member(QStringLiteral("due")), member(QStringLiteral("tre"))});
    QByteArray bytes = card.folder.read(QStringLiteral("Archivio_Anagrafico.pro"));
    bytes.replace(3612 + 2103, 3, QByteArray("\x01?\0", 3));
    card.folder.write(QStringLiteral("Archivio_Anagrafico.pro"), bytes);

    card.click(QStringLiteral("cmdPrimo"));
    QVERIFY(card.ricontatta()->isChecked());
    card.click(QStringLiteral("cmdAvanti")); // unknown: stays ticked
    QVERIFY(card.ricontatta()->isChecked());
    card.click(QStringLiteral("cmdAvanti")); // "No"
    QVERIFY(!card.ricontatta()->isChecked());
    card.click(QStringLiteral("cmdIndietro")); // unknown: stays unticked
    QVERIFY(!card.ricontatta()->isChecked());
}

void TestFrmCandidati::damagedRecordShowsWhatItCan()
{
    CardWindow card;
    writeArchive({member(QStringLiteral("uno"))});
    QByteArray bytes = card.folder.read(QStringLiteral("Archivio_Anagrafico.pro"));
    bytes[0] = char(0xFF);          // name length beyond its field
    bytes[53] = char(0xFF);         // empty birth date with a huge length
    bytes.append(QByteArray(1000, 'z')); // a short trailing record
    card.folder.write(QStringLiteral("Archivio_Anagrafico.pro"), bytes);

    card.click(QStringLiteral("cmdUltimo"));
    QCOMPARE(card.position(), QStringLiteral("1"));
    QCOMPARE(card.edit(QStringLiteral("txtCandidato"))->text().left(3), QStringLiteral("uno"));
    QVERIFY(card.edit(QStringLiteral("txtCandidato"))->text().size() <= 50);
    QCOMPARE(card.edit(QStringLiteral("txtSesso"))->text(), QStringLiteral("M"));
    QVERIFY(m_messages->shown().isEmpty());

    // Still usable: a new member is appended after the last whole record.
    card.click(QStringLiteral("cmdNuovo"));
    card.fill(QStringLiteral("due"));
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(card.position(), QStringLiteral("2"));
    QCOMPARE(card.folder.read(QStringLiteral("Archivio_Anagrafico.pro")).size(), 7224);
}

void TestFrmCandidati::savesOverWhatItReadWithoutAsking()
{
    // A record as older programs leave them, with remains of other texts
    // after each field's text, reached by navigation and saved twice: the
    // window's own record never counts as another copy's change.
    CardWindow card;
    card.fill(QStringLiteral("uno"));
    card.click(QStringLiteral("cmdSalva"));
    QByteArray bytes = card.folder.read(QStringLiteral("Archivio_Anagrafico.pro"));
    for (const auto &f : TSchedaAnagrafica::fields())
        for (int i = quint8(bytes[f.offset]); i < f.capacity; ++i)
            bytes[f.offset + 1 + i] = 'j';
    card.folder.write(QStringLiteral("Archivio_Anagrafico.pro"), bytes);
    card.click(QStringLiteral("cmdNuovo"));
    card.click(QStringLiteral("cmdPrimo"));
    for (const QString &note : {QStringLiteral("prima"), QStringLiteral("seconda")}) {
        m_messages->clear();
        card.edit(QStringLiteral("txtNote"))->setText(note);
        card.click(QStringLiteral("cmdSalva"));
        QCOMPARE(m_messages->texts(), QStringList{kSaved});
        QCOMPARE(MemberArchive().read(0)->Note, note);
    }
}

void TestFrmCandidati::saveOverAnotherCopysChange_data()
{
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("Yes overwrites") << true;
    QTest::newRow("No keeps the other copy's change") << false;
}

void TestFrmCandidati::saveOverAnotherCopysChange()
{
    // A second window on the same archive stands for another copy of the
    // program that saved the member meanwhile.
    QFETCH(bool, overwrite);
    CardWindow card;
    card.fill(QStringLiteral("uno"));
    card.click(QStringLiteral("cmdSalva"));
    QVERIFY(MemberArchive().append(member(QStringLiteral("due"))));
    {
        TfrmCandidati other;
        other.showRecord(0, *MemberArchive().read(0));
        other.findChild<QLineEdit *>(QStringLiteral("txtCel"))->setText(QStringLiteral("333 000 1111"));
        other.cmdSalvaClick();
    }
    m_messages->clear();
    m_messages->answerNext(overwrite);
    card.edit(QStringLiteral("txtEmail"))->setText(QStringLiteral("uno@esempio.it"));
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Question);
    QCOMPARE(m_messages->shown().at(0).text, kChangedElsewhere);
    QVERIFY(m_messages->shown().at(0).noByDefault);
    QCOMPARE(m_messages->shown().size(), overwrite ? 2 : 1);
    const TSchedaAnagrafica stored = *MemberArchive().read(0);
    QCOMPARE(stored.Email, overwrite ? QStringLiteral("uno@esempio.it") : QStringLiteral("email"));
    QCOMPARE(stored.Cel, overwrite ? QStringLiteral("cel") : QStringLiteral("333 000 1111"));
    QCOMPARE(card.edit(QStringLiteral("txtEmail"))->text(), QStringLiteral("uno@esempio.it"));
    QCOMPARE(MemberArchive().read(1)->Candidato, QStringLiteral("due"));
}

void TestFrmCandidati::saveOverAnotherCopysPhoto_data()
{
    QTest::addColumn<bool>("photoWhenLoaded");
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("No keeps the other copy's photo") << true << false;
    QTest::newRow("Yes writes this copy's photo") << true << true;
    QTest::newRow("No, the photo file was missing when loaded") << false << false;
}

void TestFrmCandidati::saveOverAnotherCopysPhoto()
{
    // Another copy changes only the member's photo after this window loaded
    // the card; this window then changes a text: the question is the same as
    // for another copy's text.
    QFETCH(bool, photoWhenLoaded);
    QFETCH(bool, overwrite);
    CardWindow card;
    card.fill(QStringLiteral("uno"));
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(solid(Qt::red));
    card.click(QStringLiteral("cmdSalva"));
    const QString photo = card.folder.file(QStringLiteral("Anagrafica/Scheda_Anagrafica_1.jpg"));
    if (!photoWhenLoaded)
        QVERIFY(QFile::remove(photo));
    card.click(QStringLiteral("cmdNuovo"));
    card.click(QStringLiteral("cmdPrimo"));
    m_messages->clear();

    otherCopySavesPhoto(card.folder.path(), QStringLiteral("1"), Qt::green);
    m_messages->answerNext(overwrite);
    card.edit(QStringLiteral("txtEmail"))->setText(QStringLiteral("uno@esempio.it"));
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_messages->shown().at(0).kind, Kind::Question);
    QCOMPARE(m_messages->shown().at(0).text, kChangedElsewhere);
    QVERIFY(m_messages->shown().at(0).noByDefault);
    QCOMPARE(m_messages->shown().size(), overwrite ? 2 : 1);
    QCOMPARE(MemberArchive().read(0)->Email, overwrite ? QStringLiteral("uno@esempio.it") : QStringLiteral("email"));
    QVERIFY(hasColour(QImage(photo), overwrite ? QColor(Qt::red) : QColor(Qt::green)));

    // Once saved, or seen again, the window saves without asking.
    if (!overwrite)
        card.click(QStringLiteral("cmdPrimo"));
    m_messages->clear();
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_messages->texts(), QStringList{kSaved});
}

void TestFrmCandidati::ownPhotoSavesAreNoOtherCopysChange_data()
{
    QTest::addColumn<bool>("inserted");
    QTest::newRow("card loaded from the archive") << false;
    QTest::newRow("card inserted by this window") << true;
}

void TestFrmCandidati::ownPhotoSavesAreNoOtherCopysChange()
{
    // The window's own saves, of the photo alone and then of a text, never
    // ask; a photo another copy saves after them still counts.
    QFETCH(bool, inserted);
    CardWindow card;
    card.fill(QStringLiteral("uno"));
    card.click(QStringLiteral("cmdSalva"));
    if (!inserted) {
        card.click(QStringLiteral("cmdNuovo"));
        card.click(QStringLiteral("cmdPrimo"));
    }
    m_messages->clear();
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(solid(Qt::red));
    card.click(QStringLiteral("cmdSalva"));
    card.edit(QStringLiteral("txtEmail"))->setText(QStringLiteral("uno@esempio.it"));
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_messages->texts(), (QStringList{kSaved, kSaved}));
    QCOMPARE(MemberArchive().read(0)->Email, QStringLiteral("uno@esempio.it"));

    otherCopySavesPhoto(card.folder.path(), QStringLiteral("1"), Qt::green);
    m_messages->clear();
    m_messages->answerNext(false);
    card.edit(QStringLiteral("txtNote"))->setText(QStringLiteral("nota"));
    card.click(QStringLiteral("cmdSalva"));
    QCOMPARE(m_messages->texts(), QStringList{kChangedElsewhere});
    QVERIFY(hasColour(QImage(card.folder.file(QStringLiteral("Anagrafica/Scheda_Anagrafica_1.jpg"))), Qt::green));
}

void TestFrmCandidati::archiveErrors_data()
{
    // An archive that cannot be opened fails every step; one that can only be
    // read (a locked share, a read-only medium) is browsed, and only the save
    // fails.
    QTest::addColumn<bool>("readable");
    QTest::newRow("no access") << false;
    QTest::newRow("read only") << true;
}

void TestFrmCandidati::archiveErrors()
{
    QFETCH(bool, readable);
    CardWindow card;
    writeArchive({member(QStringLiteral("uno"))});
    const QString path = card.folder.file(QStringLiteral("Archivio_Anagrafico.pro"));
    const QByteArray before = card.folder.read(QStringLiteral("Archivio_Anagrafico.pro"));
    QFile::setPermissions(path, readable ? QFileDevice::ReadOwner : QFileDevice::Permissions());
    {
        HonourFilePermissions permissions;
        for (const char *button : {"cmdPrimo", "cmdUltimo", "cmdAvanti", "cmdIndietro"})
            card.click(QString::fromLatin1(button));
        QCOMPARE(card.edit(QStringLiteral("txtCandidato"))->text(), readable ? QStringLiteral("uno") : QString());
        card.fill(QStringLiteral("due"));
        card.click(QStringLiteral("cmdSalva"));
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(m_messages->shown().size(), readable ? 1 : 5);
    for (const auto &shown : m_messages->shown()) {
        QCOMPARE(shown.kind, Kind::Error);
        QCOMPARE(shown.text, MemberArchive::ErrorText);
    }
    QCOMPARE(card.position(), readable ? QStringLiteral("1") : QString());
    QCOMPARE(card.edit(QStringLiteral("txtCandidato"))->text(), QStringLiteral("due"));
    QCOMPARE(card.folder.read(QStringLiteral("Archivio_Anagrafico.pro")), before);
}

void TestFrmCandidati::hints()
{
    CardWindow card;
    QVERIFY(QTest::qWaitForWindowExposed(&card.window));
    auto *panInfo = card.child<QLabel>(QStringLiteral("panInfo"));
    QCOMPARE(panInfo->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));
    QTest::mouseMove(card.child(QStringLiteral("cmdSalva")), QPoint(10, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Salva la scheda in archivio."));
    QTest::mouseMove(card.edit(QStringLiteral("txtCitta")), QPoint(10, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Salva la scheda in archivio."));
    QTest::mouseMove(card.child(QStringLiteral("btnZoomFoto")), QPoint(10, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Visualizza la foto nelle sue dimensioni reali."));
    // A label lets the mouse through to the background behind it.
    QTest::mouseMove(card.child(QStringLiteral("lblCitta")), QPoint(5, 5));
    QCOMPARE(panInfo->text(), QString());
    QWidget *chk = card.child(QStringLiteral("chkRicontatta"));
    QTest::mouseMove(chk, QPoint(10, 10));
    QVERIFY(panInfo->text().startsWith(QStringLiteral("Spunta questa casella")));
    QTest::mouseMove(card.child(QStringLiteral("imgFoto")), QPoint(100, 100));
    QCOMPARE(panInfo->text(), QString());
}

void TestFrmCandidati::emailButton()
{
    CardWindow card;
    card.edit(QStringLiteral("txtEmail"))->setText(QStringLiteral(" anna@esempio.it "));
    card.click(QStringLiteral("btnEmail"));
    card.edit(QStringLiteral("txtEmail"))->clear();
    card.click(QStringLiteral("btnEmail"));
    QCOMPARE(m_opened, QList<QUrl>({QUrl(QStringLiteral("mailto:anna@esempio.it")), QUrl(QStringLiteral("mailto:"))}));

    // What looks like headers in the stored address stays part of the address.
    m_opened.clear();
    card.edit(QStringLiteral("txtEmail"))->setText(QStringLiteral("socio@example.it?cc=x&attach=/etc/passwd"));
    card.click(QStringLiteral("btnEmail"));
    QCOMPARE(m_opened.size(), 1);
    const QUrl link = m_opened.at(0);
    QVERIFY(!link.hasQuery());
    QCOMPARE(link.path(), QStringLiteral("socio@example.it?cc=x&attach=/etc/passwd"));
    QCOMPARE(link.toString(QUrl::FullyEncoded),
             QStringLiteral("mailto:socio@example.it%3Fcc%3Dx%26attach%3D%2Fetc%2Fpasswd"));
}

void TestFrmCandidati::checkButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("codFisc");
    QTest::addColumn<QString>("partitaIva");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("shown");
    QTest::newRow("fiscal code with letters") << "btnCodFisc" << "rssmra85t10a562s" << "" << "frmCodFisc"
                                              << "rssmra85t10a562s";
    QTest::newRow("fiscal code of digits") << "btnCodFisc" << " 12345678903 " << "" << "frmPartitaIva"
                                           << "12345678903";
    QTest::newRow("16 digits") << "btnCodFisc" << "1234567890312345" << "" << "frmPartitaIva" << "1234567890312345";
    QTest::newRow("empty fiscal code") << "btnCodFisc" << "" << "1" << "frmCodFisc" << "";
    QTest::newRow("VAT number") << "btnPartitaIva" << "X" << "12345678903" << "frmPartitaIva" << "12345678903";
    QTest::newRow("empty VAT number") << "btnPartitaIva" << "X" << "" << "frmPartitaIva" << "";
}

void TestFrmCandidati::checkButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, codFisc);
    QFETCH(QString, partitaIva);
    QFETCH(QString, window);
    QFETCH(QString, shown);
    CardWindow card;
    card.edit(QStringLiteral("txtCodFisc"))->setText(codFisc);
    card.edit(QStringLiteral("txtPartitaIva"))->setText(partitaIva);
    QString opened, inField;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        opened = dialog->objectName();
        inField = static_cast<IdentifierCheckWindow *>(dialog)->field()->text();
        QCOMPARE(dialog->parentWidget(), &card.window);
    });
    card.click(button);
    QCOMPARE(opened, window);
    QCOMPARE(inField, shown);
    QCOMPARE(card.edit(QStringLiteral("txtCodFisc"))->text(), codFisc);
}

void TestFrmCandidati::closingReturnsToTheLauncher()
{
    // Without a launcher in the registry the window only hides.
    CardWindow card;
    QVERIFY(card.window.isVisible());
    card.click(QStringLiteral("cmdEsci"));
    QVERIFY(!card.window.isVisible());
    QVERIFY(m_messages->shown().isEmpty());
}

void TestFrmCandidati::longValuesShowTheirStart()
{
    CardWindow card;
    TSchedaAnagrafica s = member(QStringLiteral("Bartolomei Santarelli Giovanna Maria"));
    s.Documento = QStringLiteral("Carta d'identità CA21889RN rilasciata nel 2019");
    s.EnteRil = QStringLiteral("Comune di Milano, ufficio anagrafe");
    s.Email = QStringLiteral("giovanna.maria.bartolomei@example.it");
    TSchedaAnagrafica sister = s; // the same long document and office, another name
    sister.Candidato = QStringLiteral("Bartolomei Santarelli Francesca Romana");
    writeArchive({s, sister});
    card.edit(QStringLiteral("txtDocumento"))->setFocus(); // the focus stays in a field
    const auto showsStarts = [&] {
        for (const char *name : {"txtCandidato", "txtDocumento", "txtEnteRil", "txtEmail"}) {
            QLineEdit *edit = card.edit(QString::fromLatin1(name));
            QVERIFY2(edit->fontMetrics().horizontalAdvance(edit->text()) > edit->width(), name); // longer than the field
            QCOMPARE(edit->cursorPosition(), 0);
            QVERIFY2(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() < 6, name); // first letter at the left
        }
    };
    card.click(QStringLiteral("cmdUltimo"));
    showsStarts();
    card.click(QStringLiteral("cmdIndietro")); // the same values again
    showsStarts();
    card.edit(QStringLiteral("txtEnteRil"))->end(false);
    card.click(QStringLiteral("cmdPrimo")); // the member on screen, loaded again
    showsStarts();

    // Typing at the end of a long value keeps the cursor where it types.
    QLineEdit *note = card.edit(QStringLiteral("txtNote"));
    note->setFocus();
    note->end(false);
    QTest::keyClicks(note, QStringLiteral(" e poi ancora"));
    QCOMPARE(note->cursorPosition(), note->text().size());
}

void TestFrmCandidati::shortcutsRunTheirCommands()
{
    CardWindow card;
    QVERIFY(QTest::qWaitForWindowActive(&card.window));
    writeArchive({member(QStringLiteral("uno")), member(QStringLiteral("due")), member(QStringLiteral("tre"))});
    QLineEdit *name = card.edit(QStringLiteral("txtCandidato"));
    name->setFocus();
    const auto shown = [&] { return name->text() + card.position(); };

    QTest::keyClick(name, Qt::Key_PageDown);
    QCOMPARE(shown(), QStringLiteral("uno1"));
    QTest::keyClick(name, Qt::Key_PageDown);
    QCOMPARE(shown(), QStringLiteral("due2"));
    QTest::keyClick(name, Qt::Key_PageUp);
    QCOMPARE(shown(), QStringLiteral("uno1"));
    QTest::keyClick(name, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(shown(), QStringLiteral("tre3"));
    QTest::keyClick(name, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(shown(), QStringLiteral("uno1"));
    QTest::keyClick(name, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(shown(), QString());

    // Save with its own warnings; search and print open their windows.
    QTest::keyClick(name, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).text,
             QStringLiteral("Attenzione: per salvare la scheda anagrafica è necessario indicare cognome e nome."));
    QStringList opened;
    Modal::setHandlerForTesting([&](QDialog *dialog) { opened << dialog->objectName(); });
    QTest::keyClick(name, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(name, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(opened, QStringList({QStringLiteral("frmTrovaCandidati"), QStringLiteral("frmStampaCandidati")}));
}

void TestFrmCandidati::shownAgainStartsWithTheReadyText()
{
    CardWindow card;
    QVERIFY(QTest::qWaitForWindowExposed(&card.window));
    auto *panInfo = card.child<QLabel>(QStringLiteral("panInfo"));
    QTest::mouseMove(card.child(QStringLiteral("cmdEsci")), QPoint(10, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Esci da questa schermata di lavoro."));
    QCOMPARE(card.child(QStringLiteral("cmdEsci"))->toolTip(), QStringLiteral("Esci da questa schermata di lavoro."));
    // The export's tooltip says that the import lies behind it too; its line
    // in the status bar stays as it was.
    QTest::mouseMove(card.child(QStringLiteral("cmdEsporta")), QPoint(10, 10));
    QCOMPARE(panInfo->text(), QStringLiteral("Esporta l'archivio in un file di Microsoft Excel."));
    QVERIFY(card.child(QStringLiteral("cmdEsporta"))->toolTip().contains(QStringLiteral("si importano anche i soci")));
    card.click(QStringLiteral("cmdEsci"));
    card.window.present();
    QCOMPARE(panInfo->text(), QStringLiteral("Pronto per archiviare una nuova scheda..."));
}

QTEST_MAIN(TestFrmCandidati)
#include "tst_frmcandidati.moc"
