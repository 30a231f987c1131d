#include "app/startup.h"
#include "base/imagefiles.h"
#include "cardwindow.h"
#include "members/camerafeed.h"
#include "members/frmwebcam.h"
#include "members/frmzoom.h"
#include "members/memberarchive.h"
#include "members/placeholderphoto.h"
#include "support/filecapabilities.h"
#include "ui/filedialogs.h"
#include "ui/picturebox.h"
#include "ui/messages.h"
#include "ui/modal.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <sys/stat.h>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>

#include <atomic>
#include <thread>

namespace {

QImage solid(const QColor &colour, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray jpeg(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

// A JPEG whose Exif block says the camera was turned: orientation 6, shown
// turned a quarter clockwise.
QByteArray jpegTurnedByCamera(const QImage &image)
{
    const QByteArray tiff("MM\x00\x2A\x00\x00\x00\x08" // big-endian header, first directory at 8
                          "\x00\x01"                   // one entry
                          "\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00" // Orientation = 6
                          "\x00\x00\x00\x00",          // no next directory
                          26);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    const int length = payload.size() + 2;
    segment.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
    QByteArray bytes = jpeg(image);
    return bytes.insert(2, segment);
}

// A small JPEG whose header claims 20000 x 20000 pixels.
QByteArray jpegClaimingHugeSize()
{
    QByteArray bytes = jpeg(solid(Qt::gray, QSize(16, 16)));
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    bytes[sof + 5] = char(20000 >> 8);
    bytes[sof + 6] = char(20000 & 0xFF);
    bytes[sof + 7] = char(20000 >> 8);
    bytes[sof + 8] = char(20000 & 0xFF);
    return bytes;
}

QVideoFrame videoFrame(const QColor &colour, const QSize &size)
{
    QVideoFrame frame(QVideoFrameFormat(size, QVideoFrameFormat::Format_BGRA8888));
    frame.map(QVideoFrame::WriteOnly);
    const QImage image = solid(colour, size).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        memcpy(frame.bits(0) + y * frame.bytesPerLine(0), image.constScanLine(y), size_t(size.width()) * 4);
    frame.unmap();
    return frame;
}

} // namespace

class TestPhotos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Startup::prepareApplication(*qApp); }
    void init() { m_messages = new Messages::Recorder; }
    void cleanup()
    {
        delete m_messages;
        Modal::setHandlerForTesting({});
    }

    void loadPhoto_data();
    void loadPhoto();
    void loadCancelledKeepsThePhoto();
    void hostilePhotos_data();
    void hostilePhotos();
    void savePhotoToAFile();
    void savePhotoThatFailsShowsThePlaceholder();
    void cardPhotoThatCannotBeWritten_data() { FailingWrites::addRows(); }
    void cardPhotoThatCannotBeWritten();
    void zoomShowsTheCardPhoto();
    void webcamFramesCaptureAndImport();
    void webcamCancelLeavesTheCard();
    void webcamImportBeforeAnyCapture();
    void webcamOtherTagOnlySwitchesOff();
    void webcamSaveFrame();

private:
    Messages::Recorder *m_messages = nullptr;
};

void TestPhotos::loadPhoto_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("jpeg") << "foto.jpg" << jpeg(solid(Qt::red, QSize(640, 480))) << QSize(640, 480);
    QTest::newRow("phone photo stands upright")
        << "telefono.jpg" << jpegTurnedByCamera(solid(Qt::red, QSize(64, 48))) << QSize(48, 64);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    solid(Qt::blue, QSize(30, 20)).save(&buffer, "BMP");
    QTest::newRow("bitmap") << "foto.bmp" << bmp << QSize(30, 20);
    QTest::newRow("not a picture") << "finto.jpg" << QByteArray("testo, non immagine") << QSize(307, 394);
    QTest::newRow("truncated") << "tronca.jpg" << jpeg(solid(Qt::red, QSize(640, 480))).left(40) << QSize(307, 394);
    // Nothing ever writes into the pipe: reading it would wait for good.
    QTest::newRow("named pipe") << "tubo.jpg" << QByteArray() << QSize(307, 394);
}

void TestPhotos::loadPhoto()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, shown);
    CardWindow card;
    if (bytes.isEmpty())
        QCOMPARE(mkfifo(QFile::encodeName(card.folder.file(name)).constData(), 0600), 0);
    else
        card.folder.write(name, bytes);
    FileDialogs::Script dialogs;
    dialogs.answerNext(card.folder.file(name));
    card.click(QStringLiteral("btnCaricaFoto"));
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().at(0).title,
             QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap."));
    QCOMPARE(card.photo().size(), shown);
    QVERIFY(m_messages->shown().isEmpty());
}

void TestPhotos::loadCancelledKeepsThePhoto()
{
    CardWindow card;
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(solid(Qt::red, QSize(10, 10)));
    FileDialogs::Script dialogs;
    dialogs.cancelNext();
    card.click(QStringLiteral("btnCaricaFoto"));
    QCOMPARE(card.photo().size(), QSize(10, 10));

    // A picture that claims to be enormous is read reduced, or not at all.
    card.folder.write(QStringLiteral("enorme.jpg"), jpegClaimingHugeSize());
    dialogs.answerNext(card.folder.file(QStringLiteral("enorme.jpg")));
    card.click(QStringLiteral("btnCaricaFoto"));
    QVERIFY(card.photo().width() <= 4096 && card.photo().height() <= 4096);
    QVERIFY(!card.photo().isNull());
}

void TestPhotos::hostilePhotos_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QSize>("decoded"); // by the reader; null: the card shows the placeholder
    QTest::newRow("progressive JPEG declaring 40000 x 40000") << "progressive_40000x40000.jpg" << QSize();
    QTest::newRow("GIF declaring 1 x 1, drawing 60000 x 500") << "gif_decodes_60000x500.jpg" << QSize();
    QTest::newRow("genuine 10000 x 2 photo") << "thin_10000x2.jpg" << QSize(4096, 1);
}

void TestPhotos::hostilePhotos()
{
    QFETCH(QString, fixture);
    QFETCH(QSize, decoded);
    const QString path = QStringLiteral(QUORVEL_FIXTURES "/photos/") + fixture;

    // What the card shows.
    TestFolder folder;
    QDir().mkpath(folder.file(QStringLiteral("Anagrafica")));
    QVERIFY(QFile::copy(path, folder.file(QStringLiteral("Anagrafica/Scheda_Anagrafica_1.jpg"))));
    const QImage shown = MemberArchive::loadPhoto(QStringLiteral("1"));
    QCOMPARE(shown.size(), decoded.isValid() ? decoded : QSize(307, 394));
    if (decoded.isValid()) {
        // Drawn in the card's photo box, a thin photo is still a visible line.
        PictureBox box;
        box.resize(307, 394);
        box.setImage(shown);
        const QImage drawn = box.grab().toImage();
        const QColor background = drawn.pixelColor(150, 5);
        bool seen = false;
        for (int y = 190; y <= 204; ++y)
            seen = seen || drawn.pixelColor(150, y) != background;
        QVERIFY(seen);
    }

    // Time and memory, measured in a process of its own beside an ordinary photo.
    const auto probe = [](const QString &photo) {
        QProcess process;
        process.start(QStringLiteral(QUORVEL_PROBE), {QStringLiteral("photo"), photo});
        process.waitForFinished(30000);
        const QList<QByteArray> figures = process.readAllStandardOutput().simplified().split(' ');
        QList<qint64> numbers;
        for (const QByteArray &f : figures)
            numbers << f.toLongLong();
        return numbers;
    };
    folder.write(QStringLiteral("normale.jpg"), jpeg(solid(Qt::red, QSize(640, 480))));
    const QList<qint64> ordinary = probe(folder.file(QStringLiteral("normale.jpg")));
    const QList<qint64> hostile = probe(path);
    QCOMPARE(ordinary.size(), 4);
    QCOMPARE(hostile.size(), 4);
    QCOMPARE(QSize(int(hostile[0]), int(hostile[1])), decoded.isValid() ? decoded : QSize(0, 0));
    QVERIFY2(hostile[2] < 300, qPrintable(QStringLiteral("%1 ms").arg(hostile[2])));
    QVERIFY2(hostile[3] - ordinary[3] < 64 * 1024, qPrintable(QStringLiteral("%1 kB more").arg(hostile[3] - ordinary[3])));
}

void TestPhotos::savePhotoToAFile()
{
    CardWindow card;
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(solid(Qt::red, QSize(800, 600)));
    FileDialogs::Script dialogs;
    dialogs.answerNext(card.folder.file(QStringLiteral("copia")));
    card.click(QStringLiteral("btnSalvaFoto"));
    QCOMPARE(dialogs.requests().at(0).proposedName, QStringLiteral("Vori.jpg"));
    QCOMPARE(dialogs.requests().at(0).title,
             QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg."));
    const QImage written(card.folder.file(QStringLiteral("copia.jpg")));
    QCOMPARE(written.size(), QSize(800, 600));

    dialogs.cancelNext();
    card.click(QStringLiteral("btnSalvaFoto"));
    QCOMPARE(card.photo().size(), QSize(800, 600));
}

void TestPhotos::savePhotoThatFailsShowsThePlaceholder()
{
    CardWindow card;
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(solid(Qt::red, QSize(80, 60)));
    FileDialogs::Script dialogs;
    dialogs.answerNext(card.folder.file(QStringLiteral("manca/cartella/foto.jpg")));
    card.click(QStringLiteral("btnSalvaFoto"));
    QCOMPARE(card.photo(), placeholderPhoto());
    QVERIFY(m_messages->shown().isEmpty());
}

void TestPhotos::cardPhotoThatCannotBeWritten()
{
    // The card is saved; the member's earlier photo stays as it was, the new
    // one stays on the card to be saved again, and the user is told.
    QFETCH(FailingWrites::Kind, failure);
    CardWindow card;
    card.fill(QStringLiteral("Rossi"));
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(solid(Qt::red, QSize(80, 60)));
    card.click(QStringLiteral("cmdSalva"));
    const QString photo = QStringLiteral("Anagrafica/Scheda_Anagrafica_1.jpg");
    const QByteArray before = card.folder.read(photo);
    QVERIFY(!before.isEmpty());
    m_messages->clear();

    // A photo that needs more room than the full disk has left.
    QImage grain(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < grain.height(); ++y)
        for (int x = 0; x < grain.width(); ++x)
            grain.setPixel(x, y, qRgb((x * 7919 + y * 104729) % 256, (x * y) % 256, (x + y * 31) % 256));
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(grain);
    {
        FailingWrites failing(card.folder.file(QStringLiteral("Anagrafica")), failure, TSchedaAnagrafica::RecordSize);
        card.click(QStringLiteral("cmdSalva"));
    }
    QCOMPARE(m_messages->shown().size(), 1);
    QCOMPARE(m_messages->shown().at(0).kind, Messages::Kind::Warning);
    QCOMPARE(m_messages->shown().at(0).text,
             QStringLiteral("Attenzione: la scheda è stata salvata in archivio, ma non è stato possibile salvare la "
                            "foto del socio nella cartella Anagrafica.\n\r\n\rAccertarsi che il disco non sia pieno "
                            "e di possedere i privilegi di scrittura nella cartella di installazione del programma."));
    QCOMPARE(card.folder.read(photo), before);
    QCOMPARE(card.photo(), grain);
    QCOMPARE(QDir(card.folder.file(QStringLiteral("Anagrafica"))).entryList(QDir::Files),
             QStringList{QStringLiteral("Scheda_Anagrafica_1.jpg")});
}

void TestPhotos::zoomShowsTheCardPhoto()
{
    CardWindow card;
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(solid(Qt::red, QSize(40, 30)));
    bool opened = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        opened = true;
        QCOMPARE(dialog->objectName(), QStringLiteral("frmZoom"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
        QVERIFY(dialog->windowState() & Qt::WindowMaximized);
        auto *photo = dialog->findChild<PictureBox *>(QStringLiteral("imgFoto"));
        QCOMPARE(photo->image().size(), QSize(40, 30));
        const QSize screen = dialog->screen()->size();
        QCOMPARE(dialog->findChild<QWidget *>(QStringLiteral("panContainer"))->size(),
                 QSize(screen.width() - 60, screen.height() - 90));
        // Small photos are drawn enlarged to fill the area.
        const QImage drawn = photo->grab().toImage();
        QCOMPARE(drawn.pixelColor(2, drawn.height() / 2), QColor(Qt::red));
        QCOMPARE(drawn.pixelColor(drawn.width() - 3, drawn.height() / 2), QColor(Qt::red));
        QTest::mouseClick(photo, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    });
    card.click(QStringLiteral("btnZoomFoto"));
    QVERIFY(opened);
}

void TestPhotos::webcamFramesCaptureAndImport()
{
    CardWindow card;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        auto *webcam = qobject_cast<TfrmWebCam *>(dialog);
        QVERIFY(webcam);
        QCOMPARE(dialog->windowTitle(), QStringLiteral(" Cattura foto con webcam"));
        QCOMPARE(dialog->size(), QSize(807, 405));
        QCOMPARE(dialog->findChild<QWidget *>(QStringLiteral("lblMemory"))->property("text").toString(),
                 QStringLiteral("euro_01"));
        auto *live = dialog->findChild<PictureBox *>(QStringLiteral("imgCamera"));
        auto *target = dialog->findChild<PictureBox *>(QStringLiteral("imgTarget"));

        // Frames come from the camera's own thread; each is whole on arrival.
        // The camera thread waits until the user-interface thread has the frame.
        std::atomic<bool> delivered = false;
        std::thread camera([&] {
            webcam->camera()->sink()->setVideoFrame(videoFrame(Qt::green, QSize(320, 240)));
            delivered = true;
        });
        QTRY_VERIFY(delivered);
        camera.join();
        QCOMPARE(live->image().size(), QSize(320, 240));
        QCOMPARE(live->image().pixelColor(5, 5), QColor(Qt::green));

        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCattura")), Qt::LeftButton);
        QCOMPARE(target->image().pixelColor(5, 5), QColor(Qt::green));
        // A later frame moves the live view on, not the capture.
        webcam->camera()->sink()->setVideoFrame(videoFrame(Qt::blue, QSize(160, 120)));
        QCOMPARE(live->image().size(), QSize(160, 120));
        QCOMPARE(target->image().size(), QSize(320, 240));

        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnImportaFoto")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    });
    card.click(QStringLiteral("btnWebcam"));
    QCOMPARE(card.photo().size(), QSize(320, 240));
    QCOMPARE(card.photo().pixelColor(5, 5), QColor(Qt::green));
}

void TestPhotos::webcamCancelLeavesTheCard()
{
    CardWindow card;
    card.child<PictureBox>(QStringLiteral("imgFoto"))->setImage(solid(Qt::red, QSize(10, 10)));
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        auto *webcam = qobject_cast<TfrmWebCam *>(dialog);
        webcam->showFrame(solid(Qt::green, QSize(64, 48)));
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCattura")), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnClose")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(!webcam->camera()->isOn());
    });
    card.click(QStringLiteral("btnWebcam"));
    QCOMPARE(card.photo().size(), QSize(10, 10));
}

void TestPhotos::webcamImportBeforeAnyCapture()
{
    CardWindow card;
    QImage illustration;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        // No camera on the test machine: switching on says so, and changes nothing.
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnAccendi")), Qt::LeftButton);
        illustration = dialog->findChild<PictureBox *>(QStringLiteral("imgTarget"))->image();
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnImportaFoto")), Qt::LeftButton);
    });
    card.click(QStringLiteral("btnWebcam"));
    QVERIFY(!illustration.isNull());
    QCOMPARE(card.photo(), illustration);
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Attenzione: non è stata trovata nessuna webcam.\n\r\n\r"
                                                             "Collegare la webcam al computer e premere di nuovo "
                                                             "Accendi webcam.")});
}

void TestPhotos::webcamOtherTagOnlySwitchesOff()
{
    CardWindow card;
    TfrmWebCam webcam(&card.window);
    webcam.setMemory(QStringLiteral("persona_a"));
    webcam.show();
    webcam.showFrame(solid(Qt::green, QSize(64, 48)));
    QTest::mouseClick(webcam.findChild<QPushButton *>(QStringLiteral("btnCattura")), Qt::LeftButton);
    QTest::mouseClick(webcam.findChild<QPushButton *>(QStringLiteral("btnImportaFoto")), Qt::LeftButton);
    QVERIFY(webcam.isVisible());
    QCOMPARE(card.photo(), placeholderPhoto());
}

void TestPhotos::webcamSaveFrame()
{
    CardWindow card;
    TfrmWebCam webcam(&card.window);
    webcam.show();
    webcam.showFrame(solid(Qt::green, QSize(64, 48)));
    QTest::mouseClick(webcam.findChild<QPushButton *>(QStringLiteral("btnCattura")), Qt::LeftButton);
    FileDialogs::Script dialogs;
    dialogs.answerNext(card.folder.file(QStringLiteral("scatto.jpg")));
    dialogs.answerNext(card.folder.file(QStringLiteral("manca/scatto.jpg")));
    auto *save = webcam.findChild<QPushButton *>(QStringLiteral("btnSalvaFotogramma"));
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(QImage(card.folder.file(QStringLiteral("scatto.jpg"))).size(), QSize(64, 48));
    QCOMPARE(dialogs.requests().at(0).proposedName, QStringLiteral("Vori.jpg"));
    // A frame that cannot be written: the capture area shows the webcam again.
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(webcam.findChild<PictureBox *>(QStringLiteral("imgTarget"))->image(),
             webcam.findChild<PictureBox *>(QStringLiteral("imgBianco"))->image());
}

QTEST_MAIN(TestPhotos)
#include "tst_photos.moc"
