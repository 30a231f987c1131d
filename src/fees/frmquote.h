#pragma once

#include "base/backups.h"
#include "fees/feeledger.h"
#include "members/schedaanagrafica.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class StatusHints;

// The membership fees of one member: the payments recorded, year by year,
// with their receipts; a new payment recorded with its receipt number; a
// receipt printed or cancelled; the association's data and the yearly fees.
class TfrmQuote : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmQuote(QWidget *parent = nullptr);

    // The member of that record number (from 1), as the card shows it.
    void setMember(qint64 record, const TSchedaAnagrafica &card);

    // The fees window of the member of that record number, read from the
    // archive.
    static void showMember(QWidget *parent, qint64 record);
    // Who has not paid `year`'s fee; a double click shows the member's fees.
    static void showOwing(QWidget *parent, int year);
    QTableWidget *grid() const { return grdQuote; }

public slots:
    void cmdRegistraClick();
    void cmdRicevutaClick();
    void cmdAnnullaRicevutaClick();
    void cmdImpostazioniClick();
    void cmdMancantiClick();

private:
    void showPayments();
    // The payment of the chosen row; nothing (and a message) when none is chosen.
    std::optional<FeeLedger::Payment> chosen();

    // No copy of the program restores the ledger while this window is open.
    FileInUse m_held;
    qint64 m_record = 0;
    TSchedaAnagrafica m_card;
    QList<FeeLedger::Payment> m_payments;
    QLabel *lblSocio = nullptr;
    QTableWidget *grdQuote = nullptr;
    QComboBox *cmbAnno = nullptr;
    QLineEdit *txtData = nullptr;
    QLineEdit *txtImporto = nullptr;
    QComboBox *cmbModalita = nullptr;
    QLineEdit *txtNote = nullptr;
    QLabel *panInfo = nullptr;
    StatusHints *m_hints = nullptr;
};

// The association's name, address and fiscal code, and the fee of each year.
class TfrmImpostazioniQuote : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImpostazioniQuote(QWidget *parent = nullptr);

public slots:
    void cmdSalvaClick();

private:
    QLineEdit *txtNome = nullptr;
    QLineEdit *txtIndirizzo = nullptr;
    QLineEdit *txtCodiceFiscale = nullptr;
    QTableWidget *grdQuoteAnnue = nullptr;
};
