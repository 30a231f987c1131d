#include "app/frmavvio.h"

#include "help/frmguida.h"
#include "app/frmcopiesicurezza.h"
#include "app/frminfo.h"
#include "app/frmsplash.h"
#include "app/maker.h"
#include "base/tmisc.h"
#include "ui/look.h"
#include "ui/modal.h"
#include "ui/picturebox.h"
#include "ui/shaperect.h"

#include <QCloseEvent>

namespace {

struct Tile
{
    int left;
    const char *picture;
    const char *button;
};

const Tile kTiles[3] = {
    {8, ":/art/tile_archivio.svg", ":/art/btn_archivio.svg"},
    {337, ":/art/tile_crea.svg", ":/art/btn_crea.svg"},
    {666, ":/art/tile_apri.svg", ":/art/btn_apri.svg"},
};

QString res(const char *path)
{
    return QString::fromLatin1(path);
}

} // namespace

TfrmAvvio::TfrmAvvio(QWidget *parent)
    : PersistentWindow(parent, true)
{
    setObjectName(QStringLiteral("frmAvvio"));
    setWindowTitle(QStringLiteral(" Quorvel con Vori"));
    resize(1016, 713);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    QWidget *pan = Look::centredPanel(this, 995, 692);

    Look::rect(pan, QStringLiteral("shpNomeApp"), {8, 8, 978, 114}, Qt::white, Look::TileBorder);
    Look::picture(pan, QStringLiteral("icoTitoloApp"), {132, 28, 739, 57}, res(":/art/titolo.svg"));
    Look::picture(pan, QStringLiteral("imgSottotitolo"), {17, 90, 961, 22}, res(":/art/sottotitolo.svg"));
    auto *imgInfo = Look::picture(pan, QStringLiteral("imgInfo"), {16, 16, 30, 30}, res(":/art/ico_info.svg"), true);
    auto *imgGuida = Look::picture(pan, QStringLiteral("imgGuida"), {950, 16, 29, 28}, res(":/art/ico_guida.svg"), true);
    auto *imgCopie = Look::picture(pan, QStringLiteral("imgCopie"), {914, 16, 29, 28}, res(":/art/ico_copie.svg"), true);

    for (int i = 0; i < 3; ++i) {
        const Tile &tile = kTiles[i];
        const QString number = QStringLiteral("%1").arg(i + 1, 2, 10, QChar(u'0'));
        Look::rect(pan, QStringLiteral("bkgApp%1").arg(6 + 2 * i, 2, 10, QChar(u'0')),
                   {tile.left, 128, 320, 480}, Qt::white, Look::TileBorder);
        auto *img = Look::picture(pan, QStringLiteral("imgApp") + number, {tile.left + 11, 150, 298, 388},
                                  res(tile.picture), true);
        auto *btn = Look::picture(pan, QStringLiteral("btnApp") + number, {tile.left + 32, 544, 258, 45},
                                  res(tile.button), true);
        connect(img, &PictureBox::clicked, this, [this, i] { openWorkArea(i); });
        connect(btn, &PictureBox::clicked, this, [this, i] { openWorkArea(i); });
    }

    Look::rect(pan, QStringLiteral("shpCalce"), {8, 616, 978, 70}, Qt::white, Look::TileBorder);
    auto *imgSito = Look::picture(pan, QStringLiteral("imgSito"), {17, 626, 961, 22}, res(":/art/sito.svg"), true);
    auto *imgCopyright = Look::picture(pan, QStringLiteral("imgCopyright"), {16, 658, 23, 22},
                                       res(":/art/ico_copyright.svg"), true);
    auto *imgEsci = Look::picture(pan, QStringLiteral("imgEsci"), {958, 662, 17, 18}, res(":/art/ico_esci.svg"), true);

    imgInfo->setToolTip(QStringLiteral("Informazioni sul programma"));
    imgGuida->setToolTip(QStringLiteral("Guida"));
    connect(imgGuida, &PictureBox::clicked, this, [this] { TfrmGuida::showTopic(this, HelpTexts::guide()); });
    Look::shortcut(this, QKeySequence(Qt::Key_F1), imgGuida);
    imgCopie->setToolTip(QStringLiteral("Copie di sicurezza"));
    imgCopyright->setToolTip(QStringLiteral("Riconoscimenti"));
    imgEsci->setToolTip(QStringLiteral("Esci dal programma"));

    connect(imgInfo, &PictureBox::clicked, this, &TfrmAvvio::imgInfoClick);
    connect(imgCopie, &PictureBox::clicked, this, &TfrmAvvio::imgCopieClick);
    connect(imgSito, &PictureBox::clicked, this, &TfrmAvvio::imgSitoClick);
    connect(imgCopyright, &PictureBox::clicked, this, &TfrmAvvio::imgCopyrightClick);
    connect(imgEsci, &PictureBox::clicked, this, &TfrmAvvio::imgEsciClick);
}

void TfrmAvvio::openWorkArea(int tile)
{
    static constexpr WorkArea inTileOrder[] = {WorkArea::Archive, WorkArea::NewBook, WorkArea::BookList};
    emit workAreaChosen(inTileOrder[tile]);
}

void TfrmAvvio::imgInfoClick()
{
    TfrmInfo frmInfo(this);
    Modal::show(&frmInfo);
}

void TfrmAvvio::imgCopieClick()
{
    TfrmCopieSicurezza frmCopieSicurezza(this);
    Modal::show(&frmCopieSicurezza);
}

void TfrmAvvio::imgSitoClick()
{
    TMisc::Open(Maker::WebAddress);
}

void TfrmAvvio::imgCopyrightClick()
{
    TfrmSplash frmSplash(this);
    Modal::show(&frmSplash);
}

void TfrmAvvio::imgEsciClick()
{
    emit quitAsked();
}

void TfrmAvvio::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit quitAsked();
}
