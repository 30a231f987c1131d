#pragma once

#include "members/schedaanagrafica.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class ResultPage;

// The member search: ten filters, then the list of the members that match
// them all. A double-click on a row hands that row's member to whoever opened
// the window, through memberChosen(); the mode in lblMemory says who that is
// ("candidati": the archive window; "persona_a" to "persona_h": the register
// page's slots).
class TfrmTrovaCandidati : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmTrovaCandidati(QWidget *parent = nullptr);

    void setMode(const QString &mode);
    QString mode() const;
    QLineEdit *filter(int i) const { return m_filters[size_t(i)]; }
    ResultPage *resultPage() const { return m_results; }

signals:
    // The member of the row double-clicked, read from the archive, and its
    // record index; the window then closes.
    void memberChosen(qint64 index, const TSchedaAnagrafica &member);

public slots:
    void btnCercaClick();
    void lstRecordsDblClick(qint64 index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::array<QLineEdit *, 10> m_filters{};
    QWidget *panAvvio;
    ResultPage *m_results;
    QLabel *lblAttendere;
    QLabel *lblConta;
    QLabel *lblMemory;
    QLabel *lblTrovate;
    QLabel *lblImporta;
};
