#include "app/frmavvio.h"
#include "app/frminfo.h"
#include "app/frmsplash.h"
#include "app/startup.h"
#include "base/tmisc.h"
#include "ui/persistentwindow.h"
#include "app/windowregistry.h"
#include "support/testfolder.h"
#include "ui/linklabel.h"
#include "ui/modal.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

template <typename T = QWidget>
T *child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

class TestLauncher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void opensMaximisedWithItsCaption();
    void controlsStandWhereTheyBelong_data();
    void controlsStandWhereTheyBelong();
    void picturesShowTheHandCursor();
    void bookTilesAndBack_data();
    void bookTilesAndBack();
    void archiveTileAndBack();
    void webBandOpensTheMakersSite();
    void informationWindow();
    void creditsWindow();
    void eachOpeningIsAFreshWindow();
    void exitPictureEndsTheProgram();
    void closeBoxEndsTheProgram();

private:
    TfrmAvvio *launcher() const;
    QList<QPair<QString, QUrl>> m_opened;
};

void TestLauncher::initTestCase()
{
    Startup::prepareApplication(*qApp);
    WindowRegistry::instance().createAll();
    TMisc::setOpenerForTesting([this](const QString &c, const QUrl &u) { m_opened.append({c, u}); });
}

void TestLauncher::cleanupTestCase()
{
    TMisc::setOpenerForTesting({});
    WindowRegistry::instance().destroyAll();
}

void TestLauncher::init()
{
    m_opened.clear();
    launcher()->present();
    QVERIFY(QTest::qWaitForWindowExposed(launcher()));
}

void TestLauncher::cleanup()
{
    Modal::setHandlerForTesting({});
}

TfrmAvvio *TestLauncher::launcher() const
{
    return qobject_cast<TfrmAvvio *>(WindowRegistry::instance().window(QStringLiteral("frmAvvio")));
}

void TestLauncher::opensMaximisedWithItsCaption()
{
    QVERIFY(launcher());
    QCOMPARE(launcher()->windowTitle(), QStringLiteral(" Quorvel con Vori"));
    QVERIFY(launcher()->windowState() & Qt::WindowMaximized);
    // The design panel stays centred however large the window grows.
    QWidget *pan = child(launcher(), "panContainer");
    QCOMPARE(pan->size(), QSize(995, 692));
    launcher()->showNormal();
    launcher()->resize(1400, 1000);
    QTRY_COMPARE(pan->geometry().topLeft(), QPoint((1400 - 995) / 2, (1000 - 692) / 2));
}

void TestLauncher::controlsStandWhereTheyBelong_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("shpNomeApp") << "shpNomeApp" << QRect(8, 8, 978, 114);
    QTest::newRow("icoTitoloApp") << "icoTitoloApp" << QRect(132, 28, 739, 57);
    QTest::newRow("imgSottotitolo") << "imgSottotitolo" << QRect(17, 90, 961, 22);
    QTest::newRow("imgInfo") << "imgInfo" << QRect(16, 16, 30, 30);
    QTest::newRow("imgGuida") << "imgGuida" << QRect(950, 16, 29, 28);
    QTest::newRow("bkgApp06") << "bkgApp06" << QRect(8, 128, 320, 480);
    QTest::newRow("bkgApp08") << "bkgApp08" << QRect(337, 128, 320, 480);
    QTest::newRow("bkgApp10") << "bkgApp10" << QRect(666, 128, 320, 480);
    QTest::newRow("imgApp01") << "imgApp01" << QRect(19, 150, 298, 388);
    QTest::newRow("imgApp02") << "imgApp02" << QRect(348, 150, 298, 388);
    QTest::newRow("imgApp03") << "imgApp03" << QRect(677, 150, 298, 388);
    QTest::newRow("btnApp01") << "btnApp01" << QRect(40, 544, 258, 45);
    QTest::newRow("btnApp02") << "btnApp02" << QRect(369, 544, 258, 45);
    QTest::newRow("btnApp03") << "btnApp03" << QRect(698, 544, 258, 45);
    QTest::newRow("shpCalce") << "shpCalce" << QRect(8, 616, 978, 70);
    QTest::newRow("imgSito") << "imgSito" << QRect(17, 626, 961, 22);
    QTest::newRow("imgCopyright") << "imgCopyright" << QRect(16, 658, 23, 22);
    QTest::newRow("imgEsci") << "imgEsci" << QRect(958, 662, 17, 18);
}

void TestLauncher::controlsStandWhereTheyBelong()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QWidget *w = launcher()->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->parentWidget()->objectName(), QStringLiteral("panContainer"));
    QCOMPARE(w->geometry(), geometry);
    if (auto *shape = qobject_cast<ShapeRect *>(w)) {
        QCOMPARE(shape->fillTop(), QColor(Qt::white));
        QCOMPARE(shape->borderStart(), QColor(0xD8, 0xE5, 0xEF));
    } else {
        auto *picture = qobject_cast<PictureBox *>(w);
        QVERIFY(picture);
        QVERIFY(!picture->image().isNull());
    }
}

void TestLauncher::picturesShowTheHandCursor()
{
    for (const char *name : {"imgInfo", "imgGuida", "imgApp01", "btnApp01", "imgApp02", "btnApp02", "imgApp03",
                             "btnApp03", "imgSito", "imgCopyright", "imgEsci"})
        QVERIFY2(child(launcher(), name)->cursor().shape() == Qt::PointingHandCursor, name);
}

void TestLauncher::bookTilesAndBack_data()
{
    QTest::addColumn<QString>("tile");
    QTest::addColumn<QString>("window");
    QTest::newRow("create, picture") << "imgApp02" << "frmCreaCatalogo";
    QTest::newRow("create, button") << "btnApp02" << "frmCreaCatalogo";
    QTest::newRow("open, picture") << "imgApp03" << "frmApriCatalogo";
    QTest::newRow("open, button") << "btnApp03" << "frmApriCatalogo";
}

void TestLauncher::bookTilesAndBack()
{
    QFETCH(QString, tile);
    QFETCH(QString, window);
    TestFolder folder;
    PersistentWindow *books = WindowRegistry::instance().window(window);
    QVERIFY(books);
    QTest::mouseClick(child(launcher(), qPrintable(tile)), Qt::LeftButton);
    QVERIFY(books->isVisible());
    QVERIFY(books->windowState() & Qt::WindowMaximized);
    QVERIFY(!launcher()->isVisible());
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget *w) { return w->isVisible(); }), 1);
    books->close();
    QVERIFY(!books->isVisible());
    QVERIFY(launcher()->isVisible());
}

void TestLauncher::archiveTileAndBack()
{
    TestFolder folder;
    PersistentWindow *archive = WindowRegistry::instance().window(QStringLiteral("frmCandidati"));
    QVERIFY(archive);
    for (const char *name : {"imgApp01", "btnApp01"}) {
        QTest::mouseClick(child(launcher(), name), Qt::LeftButton);
        QVERIFY(archive->isVisible());
        QVERIFY(archive->windowState() & Qt::WindowMaximized);
        QVERIFY(!launcher()->isVisible());
        // Whatever was typed is gone when the archive is opened again.
        auto *candidato = child<QLineEdit>(archive, "txtCandidato");
        QCOMPARE(candidato->text(), QString());
        candidato->setText(QStringLiteral("Rossi"));
        archive->close();
        QVERIFY(!archive->isVisible());
        QVERIFY(launcher()->isVisible());
    }
}

void TestLauncher::webBandOpensTheMakersSite()
{
    QTest::mouseClick(child(launcher(), "imgSito"), Qt::LeftButton);
    QCOMPARE(m_opened.size(), 1);
    QCOMPARE(m_opened.at(0).second, QUrl(QStringLiteral("https://www.quorvel.it")));
}

void TestLauncher::informationWindow()
{
    bool opened = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        opened = true;
        QCOMPARE(dialog->objectName(), QStringLiteral("frmInfo"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral(" Informazioni su Quorvel con Vori"));
        QCOMPARE(dialog->size(), QSize(473, 579));
        QCOMPARE(dialog->parentWidget(), launcher());
        QVERIFY(launcher()->isVisible());

        auto *link = child<LinkLabel>(dialog, "lnkWeb");
        auto *picture = child<PictureBox>(dialog, "imgEmail");
        QCOMPARE(link->pos(), QPoint(46, 528));
        QCOMPARE(picture->geometry(), QRect(15, 531, 23, 16));
        QCOMPARE(textColour(link), QColor(0x00, 0x00, 0x8B));
        for (QWidget *pressed : {static_cast<QWidget *>(link), static_cast<QWidget *>(picture)}) {
            QTest::mousePress(pressed, Qt::LeftButton);
            QCOMPARE(textColour(link), QColor(0xFF, 0xA5, 0x00));
            QTest::mouseRelease(pressed, Qt::LeftButton);
            QCOMPARE(textColour(link), QColor(0x00, 0x00, 0x8B));
        }
        // Both clicks above asked for exactly the quoted mail link.
        QCOMPARE(m_opened.size(), 2);
        for (const auto &asked : m_opened) {
            QCOMPARE(asked.first, QStringLiteral("\"mailto:info@quorvel.it\""));
            QCOMPARE(asked.second, QUrl(QStringLiteral("mailto:info@quorvel.it")));
        }
        QTest::mouseClick(child(dialog, "btnChiudi"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    });
    QTest::mouseClick(child(launcher(), "imgInfo"), Qt::LeftButton);
    QVERIFY(opened);
    QVERIFY(!launcher()->findChild<TfrmInfo *>());
}

void TestLauncher::creditsWindow()
{
    bool opened = false;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        opened = true;
        QCOMPARE(dialog->objectName(), QStringLiteral("frmSplash"));
        QVERIFY(dialog->windowTitle().startsWith(QStringLiteral(" Quorvel con Vori")));
        QCOMPARE(dialog->size(), QSize(661, 467));
        QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(child(dialog, "imgLogo")->geometry(), QRect(8, 8, 625, 380));
        QCOMPARE(child(dialog, "btnChiudi")->geometry(), QRect(473, 402, 160, 34));

        auto *link = child<LinkLabel>(dialog, "lnkWeb");
        QCOMPARE(link->text(), QStringLiteral("www.quorvel.it"));
        QTest::mousePress(child(dialog, "imgWeb"), Qt::LeftButton);
        QCOMPARE(textColour(link), QColor(0xFF, 0xA5, 0x00));
        QTest::mouseRelease(child(dialog, "imgWeb"), Qt::LeftButton);
        QCOMPARE(textColour(link), QColor(0x00, 0x00, 0x8B));
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(m_opened.size(), 2);
        QCOMPARE(m_opened.at(1).second, QUrl(QStringLiteral("https://www.quorvel.it")));

        QTest::mouseClick(child(dialog, "btnChiudi"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
    });
    QTest::mouseClick(child(launcher(), "imgCopyright"), Qt::LeftButton);
    QVERIFY(opened);
}

void TestLauncher::eachOpeningIsAFreshWindow()
{
    // A change made in the first window does not survive into the second.
    QList<bool> pressedLook;
    Modal::setHandlerForTesting([&](QDialog *dialog) {
        auto *link = child<LinkLabel>(dialog, "lnkWeb");
        pressedLook << link->isPressedLook();
        QTest::mousePress(link, Qt::LeftButton); // left pressed on purpose
    });
    QTest::mouseClick(child(launcher(), "imgCopyright"), Qt::LeftButton);
    QTest::mouseClick(child(launcher(), "imgCopyright"), Qt::LeftButton);
    QCOMPARE(pressedLook, QList<bool>({false, false}));
    QVERIFY(!launcher()->findChild<TfrmSplash *>());
}

void TestLauncher::exitPictureEndsTheProgram()
{
    QTimer::singleShot(0, this, [this] { QTest::mouseClick(child(launcher(), "imgEsci"), Qt::LeftButton); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!launcher()->isVisible());
}

void TestLauncher::closeBoxEndsTheProgram()
{
    QTimer::singleShot(0, this, [this] { launcher()->close(); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!launcher()->isVisible());
}

QTEST_MAIN(TestLauncher)
#include "tst_launcher.moc"
