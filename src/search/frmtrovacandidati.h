#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class ResultPage;

// The member search: ten filters, then the list of the members that match
// them all. What a double-click does depends on who opened the window, told
// by the mode in lblMemory: "candidati" loads the member into the archive
// window; "persona_a" to "persona_h" are the register page's slots.
class TfrmTrovaCandidati : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmTrovaCandidati(QWidget *parent = nullptr);

    void setMode(const QString &mode);
    QString mode() const;
    QLineEdit *filter(int i) const { return m_filters[size_t(i)]; }
    ResultPage *resultPage() const { return m_results; }

    // Shows record `index` in the archive window `archive` (a TfrmCandidati);
    // nothing when either cannot be had.
    static void loadIntoArchive(QWidget *archive, qint64 index);
    // Imports member `index` into slot `slot` of the page window.
    static void importIntoPage(QWidget *pages, int slot, qint64 index);

public slots:
    void btnCercaClick();
    void lstRecordsDblClick(qint64 index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The page slot of an import mode ("persona_a" is 0), or -1.
    int importSlot() const;
    std::array<QLineEdit *, 10> m_filters{};
    QWidget *panAvvio;
    ResultPage *m_results;
    QLabel *lblAttendere;
    QLabel *lblConta;
    QLabel *lblMemory;
    QLabel *lblTrovate;
};
