#include "app/startup.h"

#include "ui/persistentwindow.h"
#include "app/windowregistry.h"
#include "base/backups.h"
#include "base/recordfile.h"
#include "base/formats.h"
#include "base/imagefiles.h"
#include "ui/eventhook.h"
#include "ui/messages.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QFileInfo>
#include <QTimer>
#include <QTranslator>

#include <memory>

namespace {

// Qt's own dialogs in Italian: "Sì", "Annulla", the print and file dialogs.
void loadItalianTranslations(QApplication &app)
{
    const QStringList folders = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
    };
    for (const char *catalogue : {"qtbase_it", "qtmultimedia_it"}) {
        auto *translator = new QTranslator(&app);
        bool loaded = false;
        for (const QString &folder : folders)
            if ((loaded = translator->load(QString::fromLatin1(catalogue), folder)))
                break;
        if (loaded)
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

// An import killed part way is taken out of the archive when it is next
// opened; the user hears how many cards went.
void showInterruptedAppend(const QString &path, qint64 records)
{
    Messages::warning(QStringLiteral("Attenzione: un'importazione nel file %1 era stata interrotta prima della fine "
                                     "(il programma è stato chiuso o il computer spento).\n\r\n\r%2: il file è di "
                                     "nuovo com'era prima dell'importazione.")
                          .arg(QFileInfo(path).fileName(),
                               records == 1 ? QStringLiteral("La scheda che aveva già scritto è stata tolta")
                                            : QStringLiteral("Le %1 schede che aveva già scritto sono state tolte")
                                                  .arg(QLocale(QLocale::Italian).toString(records))));
}

} // namespace

namespace Startup {

void prepareApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Quorvel con Vori"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/art/app.svg")));
    // Desktops match the windows to the launcher quorvel-con-vori.desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvel-con-vori"));
    // The main window is only hidden while a work window is shown; the program
    // ends through the launcher, not when no window is visible.
    QApplication::setQuitOnLastWindowClosed(false);
    loadItalianTranslations(app);
    Formats::applyProcessWide();
    // In a message box: a status line would be covered by the next hint.
    Backups::setReporter(Messages::warning);
    RecordFile::setRecoveryReporter(showInterruptedAppend);
}

int run(int argc, char **argv)
{
    ImageFiles::limitDecoderMemory();
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    std::unique_ptr<QApplication> app;
    {
        const Formats::ItalianSystemLocale italian;
        app = std::make_unique<QApplication>(argc, argv);
    }
    prepareApplication(*app);

    // The persistent windows are made in the registry's order. The first is
    // shown as soon as it exists, and the others are made once it has been
    // painted, so that it appears without waiting for them.
    WindowRegistry &windows = WindowRegistry::instance();
    PersistentWindow *first = windows.mainWindow();
    new EventHook(first, [made = false](QEvent *event) mutable {
        if (event->type() == QEvent::Paint && !made) {
            made = true;
            QTimer::singleShot(0, [] { WindowRegistry::instance().createAll(); });
        }
        return false;
    });
    first->present();
    const int code = QApplication::exec();
    windows.destroyAll();
    Backups::waitForCopies();
    return code;
}

} // namespace Startup
