#pragma once

#include "search/quickfind.h"
#include "search/resultrows.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class ResultListModel;

// The result page shared by the search window and the members-to-recontact
// summary: the quick-find box, the list of rows, the hint line, Chiudi and
// Stampa. A double-click on the list reports the record of the selected row,
// or that no row is selected.
class ResultPage : public QWidget
{
    Q_OBJECT
public:
    ResultPage(QWidget *parent, const QString &heading, const QString &hint, const QString &printTitle);

    void setRows(ResultRows rows);
    const ResultRows &rows() const;
    int selectedRow() const;
    void selectRow(int row);

    QLineEdit *txtTrova = nullptr;
    QPushButton *btnTrova = nullptr;
    QListView *lstRecords = nullptr;
    QPushButton *btnChiudi = nullptr;
    QPushButton *btnStampa = nullptr;

public slots:
    void btnTrovaClick();
    void btnStampaClick();

signals:
    // The record (0-based index) of the double-clicked row.
    void memberChosen(qint64 index);
    // A double-click on the list with no row selected.
    void noRowChosen();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ResultListModel *m_model;
    QuickFind m_quickFind;
    QString m_printTitle;
};
