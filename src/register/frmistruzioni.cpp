#include "register/frmistruzioni.h"

#include "members/placeholderphoto.h"
#include "register/slotlayout.h"
#include "ui/look.h"
#include "ui/picturebox.h"

#include <QPainter>
#include <QPushButton>

namespace {

const char *const kParagraphs[] = {
    "Premere il pulsante Nuovo per preparare una pagina vuota, poi importare i soci dall'archivio con le frecce "
    "verdi poste accanto alla prima riga di ogni riquadro.",
    "Numerare i soci sovrascrivendo il simbolo # all'inizio della riga del nome con il numero progressivo del "
    "socio nel Quorvel, procedendo prima lungo la colonna di sinistra e poi lungo quella di destra.",
    "L'importazione riporta la foto, il cognome e nome, la qualifica, il luogo e la data di nascita, il codice "
    "fiscale, l'indirizzo di residenza, la data di ammissione e quella di eventuale cessazione.",
    "Il numero di pagina viene assegnato quando la pagina viene salvata. Le frecce della barra in alto "
    "permettono di scorrere le pagine del Quorvel.",
};

// The sample slot's lines, by field.
const char *const kSample[TSlotPagina::FieldCount] = {
    "Ammissione: 01/01/2020",
    "12. Rossi Mario (Socio ordinario)",
    "Luogo e data nascita: Roma (10/12/1980)  -  C.F. RSSMRA80T10H501A",
    "Via Garibaldi 8  -  CAP: 06100  -  Perugia",
    "Cessazione: ",
};

} // namespace

QImage TfrmIstruzioni::instructions()
{
    const QSize size(590, 530);
    return Look::drawnImage(size, [&](QPainter &p) {
        p.setPen(Look::SteelBlue);
        p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));

        p.setFont(Look::font(QStringLiteral("Verdana"), 13, true));
        p.drawText(QRectF(0, 14, size.width(), 26), Qt::AlignCenter, QStringLiteral("ISTRUZIONI PER COMPILAZIONE QUORVEL"));
        p.setPen(QColor(0x30, 0x30, 0x30));
        p.setFont(Look::font(QStringLiteral("Verdana"), 9));
        qreal y = 54;
        for (const char *paragraph : kParagraphs) {
            const QRectF room(24, y, size.width() - 48, 200);
            QRectF used;
            p.drawText(room, Qt::TextWordWrap, QString::fromUtf8(paragraph), &used);
            y += used.height() + 10;
        }

        // A filled slot as the page window shows it.
        const QRectF slot(QPointF(61, y + 10), QSizeF(SlotLayout::Frame));
        const auto inSlot = [&](const QRect &part) { return QRectF(part).translated(slot.topLeft()); };
        p.fillRect(slot, QColor(0xE4, 0xE4, 0xE4));
        p.drawImage(inSlot(SlotLayout::Photo), placeholderPhoto());
        p.setFont(Look::font(QStringLiteral("Verdana"), 8, true));
        for (const SlotLayout::Line &line : SlotLayout::Lines) {
            const QRectF field = inSlot(line.geometry);
            p.fillRect(field, Qt::white);
            p.setPen(Look::SkyBlue);
            p.drawRect(field);
            p.setPen(Qt::black);
            p.drawText(field.adjusted(4, 0, -4, 0),
                       Qt::AlignVCenter | (line.id == TSlotPagina::fPrezzo ? Qt::AlignRight : Qt::AlignLeft),
                       QString::fromUtf8(kSample[line.id]));
        }
        p.drawImage(inSlot(SlotLayout::ImportArrow),
                    PictureBox::svgImage(QStringLiteral(":/art/imp_freccia.svg"), QSize(22, 22), Look::DrawnScale));
        p.setPen(QColor(0x30, 0x30, 0x30));
        p.setFont(Look::font(QStringLiteral("Verdana"), 8));
        p.drawText(QRectF(24, slot.bottom() + 8, size.width() - 48, 40), Qt::TextWordWrap | Qt::AlignHCenter,
                   QStringLiteral("Esempio di riquadro compilato: la freccia verde importa i dati del socio dall'archivio."));
    }, Qt::white);
}

TfrmIstruzioni::TfrmIstruzioni(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIstruzioni"));
    Look::fixedDialog(this, QStringLiteral(" Istruzioni per l'uso"), 650, 632);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    auto *imgCorpo = Look::place(new PictureBox(this), QStringLiteral("imgCorpo"), {30, 20, 590, 530});
    imgCorpo->setImage(instructions());
    auto *btnChiudi = Look::button(this, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), {244, 574, 161, 33},
                                   Look::font(QStringLiteral("Verdana"), 9));
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmIstruzioni::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    QDialog::showEvent(event);
}
