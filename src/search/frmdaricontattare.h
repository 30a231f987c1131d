#pragma once

#include <QDialog>

class ResultPage;

// The members marked to be contacted again, listed as soon as the window opens;
// a double-click loads the member into the archive window.
class TfrmDaRicontattare : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmDaRicontattare(QWidget *parent = nullptr);

    ResultPage *resultPage() const { return m_results; }

public slots:
    void lstRecordsDblClick(qint64 index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    ResultPage *m_results;
};
