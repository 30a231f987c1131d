#pragma once

#include "fees/owing.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QTableWidget;

// The members still active at a year's end who have not paid that year's
// fee: printed, exported, their e-mail addresses copied for one message to
// all; a double click asks for the member's fees.
class TfrmQuoteMancanti : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmQuoteMancanti(QWidget *parent = nullptr);

    void setYear(int year);
    // The list read again, as the payments now stand.
    void showList();
    QTableWidget *grid() const { return grdMancanti; }
    const std::optional<Owing::List> &list() const { return m_list; }

signals:
    // A member was double-clicked: the caller shows the member's fees; the
    // list is read again afterwards.
    void memberChosen(qint64 record);

public slots:
    void cmdStampaClick();
    void cmdEsportaCsvClick();
    void cmdCopiaEmailClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::optional<Owing::List> m_list;
    QComboBox *cmbAnno = nullptr;
    QTableWidget *grdMancanti = nullptr;
    QLabel *lblTotale = nullptr;
};
