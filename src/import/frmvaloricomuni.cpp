#include "import/frmvaloricomuni.h"

#include "base/blanks.h"
#include "import/importfields.h"
#include "members/schedaanagrafica.h"
#include "ui/look.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>

TfrmValoriComuni::TfrmValoriComuni(const std::vector<Value> &values, QWidget *parent)
    : QDialog(parent)
    , m_values(values)
{
    setObjectName(QStringLiteral("frmValoriComuni"));
    Look::fixedDialog(this, QStringLiteral(" Valori uguali per tutte le righe"), 560, 520);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    QWidget *pan = Look::centredPanel(this, 560, 520);

    auto *lblSpiegazione = Look::label(
        pan, QStringLiteral("lblSpiegazione"),
        QStringLiteral("Nessuna colonna del file riempie questi campi della scheda. Il valore scritto accanto a un "
                       "campo sarà dato a tutte le righe importate; un campo lasciato vuoto resta vuoto."),
        {16, 12}, Look::font(QStringLiteral("Verdana"), 9), QColor(0x1F, 0x3B, 0x57));
    lblSpiegazione->setWordWrap(true);
    lblSpiegazione->setFixedSize(528, 48);

    auto *scroll = Look::place(new QScrollArea(pan), QStringLiteral("scrValori"), {16, 68, 528, 388});
    scroll->setAccessibleName(QStringLiteral("Campi senza colonna"));
    scroll->setFocusPolicy(Qt::NoFocus); // Tab goes from value to value; the area follows
    auto *fields = new QWidget;
    fields->setObjectName(QStringLiteral("panValori"));
    const QFont font = Look::font(QStringLiteral("Verdana"), 9);
    const int rowHeight = 30;
    for (size_t i = 0; i < m_values.size(); ++i) {
        const int field = m_values[i].field;
        const int y = 8 + int(i) * rowHeight;
        auto *label = Look::label(fields, QStringLiteral("lblValore%1").arg(field), ImportFields::label(field),
                                  {8, y + 4}, font);
        label->setFixedWidth(180);
        auto *edit = Look::place(new QLineEdit(m_values[i].text, fields), QStringLiteral("txtValore%1").arg(field),
                                 {196, y, 300, 24});
        edit->setFont(font);
        edit->setMaxLength(TSchedaAnagrafica::fields()[size_t(field)].capacity);
        edit->setAccessibleName(ImportFields::label(field));
        label->setBuddy(edit);
        m_edits.push_back(edit);
    }
    fields->setFixedSize(508, 16 + int(m_values.size()) * rowHeight);
    scroll->setWidget(fields);

    const QFont buttonFont = Look::font(QStringLiteral("Tahoma"), 9);
    auto *cmdOk = Look::button(pan, QStringLiteral("cmdOk"), QStringLiteral("OK"), {256, 472, 140, 32}, buttonFont);
    auto *cmdAnnulla =
        Look::button(pan, QStringLiteral("cmdAnnulla"), QStringLiteral("Annulla"), {404, 472, 140, 32}, buttonFont);
    cmdOk->setDefault(true); // Enter in a value confirms them all
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    if (!m_edits.empty())
        m_edits.front()->setFocus();
}

std::vector<TfrmValoriComuni::Value> TfrmValoriComuni::values() const
{
    std::vector<Value> typed = m_values;
    for (size_t i = 0; i < typed.size(); ++i)
        typed[i].text = Blanks::trimmed(m_edits[i]->text());
    return typed;
}
