// Times the register page window where books and photos grow: moving through
// a book of 10,000 pages beside a book of 10, and saving a page whose eight
// slots hold 12-megapixel photos beside one with small photos; then eight
// 12-megapixel camera files chosen for the slots as a user chooses them, in
// colour and in greyscale (as scanned identity photos often are): the
// window's peak memory and the time to save the page.
//
//   bench_register [pages]   (default 10000)

#include "app/startup.h"
#include "memberdata.h"
#include "base/programfolder.h"
#include "register/frmlistinoprezzi.h"
#include "register/paginaregistro.h"
#include "register/registerbook.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"
#include "ui/picturebox.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const char *const kSurnames[] = {"Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo", "Ricci"};
const char *const kNames[] = {"Mario", "Anna", "Luca", "Giulia", "Marco", "Sara", "Paolo", "Elena"};

// A book of `pages` pages with the lines an import writes.
void generate(const QString &path, int pages)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block;
    for (int p = 0; p < pages; ++p) {
        TPaginaRegistro page;
        for (int s = 0; s < 8; ++s) {
            const int n = p * 8 + s;
            TSlotPagina &slot = page.slotTexts[size_t(s)];
            slot.Nome = QStringLiteral("%1. %2 %3 (Socio ordinario)").arg(n + 1).arg(QString::fromLatin1(kSurnames[n % 8]),
                                                                                   QString::fromLatin1(kNames[(n / 8) % 8]));
            slot.UM = QStringLiteral("Luogo e data nascita: Perugia (%1/03/1970)  -  C.F. RSSMRA70C%1G478Z").arg(1 + n % 28, 2, 10, QChar(u'0'));
            slot.Caratteristiche = QStringLiteral("Via Garibaldi %1  -  CAP: 06100  -  Perugia").arg(n % 200);
            slot.Codice = QStringLiteral("Ammissione: 01/01/2020");
            slot.Prezzo = QStringLiteral("Cessazione: ");
        }
        block += page.toBytes();
        if (block.size() >= 4 * 1024 * 1024) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

// A photo-like picture: gradients and noise, so that scaling and JPEG work as on a real one.
QImage photo(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 255 / width + int(random.bounded(16))) & 0xFF, (y * 255 / height) & 0xFF,
                           int(random.bounded(64)) + 96);
    }
    return image;
}

// The median of `times` runs of `run`, each after an untimed `prepare`.
template <typename P, typename F>
double median(P &&prepare, F &&run, int times = 15)
{
    BenchData::Series ms;
    for (int i = 0; i < times; ++i) {
        prepare();
        ms.add(BenchData::timed(run));
    }
    return ms.median();
}

struct Navigation
{
    double first, last, next, previous;
};

Navigation navigate(TfrmListinoPrezzi &window)
{
    // Every step lands on a page with its photos: 1, 2, the one before the last, the last.
    Navigation n{};
    n.first = median([&] { window.cmdUltimoClick(); }, [&] { window.cmdPrimoClick(); });
    n.last = median([&] { window.cmdPrimoClick(); }, [&] { window.cmdUltimoClick(); });
    n.next = median([&] { window.cmdPrimoClick(); }, [&] { window.cmdAvantiClick(); });
    n.previous = median([&] { window.cmdUltimoClick(); }, [&] { window.cmdIndietroClick(); });
    return n;
}

double save(TfrmListinoPrezzi &window, const QImage &picture)
{
    return median(
        [&] {
            for (int s = 0; s < 8; ++s)
                window.photo(s)->setImage(picture);
        },
        [&] { window.cmdSalvaClick(); }, 5);
}

struct CameraPhotos
{
    double load, save;
    long peakAbove, peak;
};

// Eight camera files chosen for the eight slots through the window's own
// dialog, then the page saved.
CameraPhotos cameraPhotos(TfrmListinoPrezzi &window, const QString &file)
{
    CameraPhotos result{};
    FileDialogs::Script dialogs;
    const long before = BenchData::resetPeak();
    result.load = BenchData::timed([&] {
        for (int s = 0; s < 8; ++s) {
            dialogs.answerNext(file);
            window.imgFotoClick(s);
        }
    });
    result.save = median([] {}, [&] { window.cmdSalvaClick(); }, 7);
    result.peakAbove = BenchData::peakResidentMegabytes() - before;
    result.peak = BenchData::peakResidentMegabytes();
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Startup::prepareApplication(app);
    const int pages = argc > 1 ? std::atoi(argv[1]) : 10000;

    QTemporaryDir dir;
    ProgramFolder::setForTesting(dir.path());
    Messages::Recorder messages;
    generate(ProgramFolder::file(QStringLiteral("Piccolo.qvl")), 10);
    generate(ProgramFolder::file(QStringLiteral("Grande.qvl")), pages);
    // The pages the navigation lands on have their eight photos.
    const QImage pagePhoto = RegisterBook::pagePhoto(photo(800, 1000));
    for (const auto &[name, count] : {std::pair{QStringLiteral("Piccolo"), 10}, std::pair{QStringLiteral("Grande"), pages}}) {
        const RegisterBook book(ProgramFolder::file(name + RegisterBook::Extension), name);
        for (int page : {1, 2, count - 1, count})
            for (int s = 0; s < 8; ++s)
                RegisterBook::writePhoto(book.photoPath(TPaginaRegistro::letter(s), QString::number(page)), pagePhoto);
    }
    std::printf("books: 10 pages and %d pages (%.0f MB)\n", pages,
                QFile(ProgramFolder::file(QStringLiteral("Grande.qvl"))).size() / 1e6);

    TfrmListinoPrezzi window;
    window.show();
    window.openBook(ProgramFolder::file(QStringLiteral("Piccolo.qvl")), QStringLiteral("Piccolo"));
    const Navigation small = navigate(window);
    window.openBook(ProgramFolder::file(QStringLiteral("Grande.qvl")), QStringLiteral("Grande"));
    const Navigation large = navigate(window);
    std::printf("navigation, median ms (10 pages | %d pages): first %.2f | %.2f, last %.2f | %.2f, "
                "next %.2f | %.2f, previous %.2f | %.2f\n",
                pages, small.first, large.first, small.last, large.last, small.next, large.next, small.previous,
                large.previous);

    window.cmdNuovoClick();
    for (int s = 0; s < 8; ++s)
        window.edit(s, TSlotPagina::fNome)->setText(QStringLiteral("Socio"));
    for (TSlotPagina::FieldId id : {TSlotPagina::fUM, TSlotPagina::fCaratteristiche, TSlotPagina::fCodice})
        window.edit(0, id)->setText(QStringLiteral("riga"));
    const double smallPhotos = save(window, photo(640, 480));
    const double largePhotos = save(window, photo(4000, 3000));
    std::printf("save with eight photos put in the slots, median ms: 640 x 480 %.0f | 4000 x 3000 (12 MP) %.0f\n",
                smallPhotos, largePhotos);

    const QImage camera = photo(4000, 3000);
    const QString colourFile = ProgramFolder::file(QStringLiteral("colore.jpg"));
    const QString greyFile = ProgramFolder::file(QStringLiteral("grigio.jpg"));
    camera.save(colourFile, "JPEG", 92);
    camera.convertToFormat(QImage::Format_Grayscale8).save(greyFile, "JPEG", 92);
    for (const auto &[kind, file] : {std::pair{"colour", colourFile}, std::pair{"greyscale", greyFile}}) {
        window.cmdNuovoClick();
        for (int s = 0; s < 8; ++s)
            window.edit(s, TSlotPagina::fNome)->setText(QStringLiteral("Socio"));
        for (TSlotPagina::FieldId id : {TSlotPagina::fUM, TSlotPagina::fCaratteristiche, TSlotPagina::fCodice})
            window.edit(0, id)->setText(QStringLiteral("riga"));
        const CameraPhotos figures = cameraPhotos(window, file);
        std::printf("eight 12 MP %s files (%.1f MB each) chosen for the slots: loaded in %.0f ms, page saved in "
                    "%.1f ms (median); peak memory %ld MB above the window's before, %ld MB in all\n",
                    kind, QFile(file).size() / 1e6, figures.load, figures.save, figures.peakAbove, figures.peak);
    }
    return 0;
}
