#pragma once

#include "members/schedaanagrafica.h"

#include <QDialog>

class ResultPage;

// The members marked to be contacted again, listed as soon as the window opens;
// a double-click hands the row's member to the window's opener.
class TfrmDaRicontattare : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmDaRicontattare(QWidget *parent = nullptr);

    ResultPage *resultPage() const { return m_results; }

signals:
    // As the search window's: the member double-clicked and its record index.
    void memberChosen(qint64 index, const TSchedaAnagrafica &member);

public slots:
    void lstRecordsDblClick(qint64 index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    ResultPage *m_results;
};
