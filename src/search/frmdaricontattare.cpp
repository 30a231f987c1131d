#include "search/frmdaricontattare.h"

#include "members/memberarchive.h"
#include "search/resultpage.h"
#include "search/resultrows.h"
#include "ui/look.h"

#include <QPushButton>

TfrmDaRicontattare::TfrmDaRicontattare(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDaRicontattare"));
    Look::fixedDialog(this, QStringLiteral(" Riepilogo soci da ricontattare"), 862, 560);
    Look::setVerticalGradient(this, Look::SteelBlue, Qt::white);
    m_results = new ResultPage(this, QStringLiteral("Soci da ricontattare"),
                               QStringLiteral("Fare doppio clic su una voce in elenco per richiamare la scheda"),
                               QStringLiteral("Riepilogo soci da ricontattare"));
    connect(m_results->btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_results, &ResultPage::memberChosen, this, &TfrmDaRicontattare::lstRecordsDblClick);
    connect(m_results, &ResultPage::noRowChosen, this, &QDialog::reject);
}

void TfrmDaRicontattare::showEvent(QShowEvent *event)
{
    Look::centreOnScreen(this);
    // A failure while reading leaves the rows read so far.
    m_results->setRows(MemberSearch::toRecontact());
    QDialog::showEvent(event);
}

void TfrmDaRicontattare::lstRecordsDblClick(qint64 index)
{
    if (const auto member = MemberArchive().read(index))
        emit memberChosen(index, *member);
    accept();
}
