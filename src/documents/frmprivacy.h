#pragma once

#include "members/schedaanagrafica.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

// The privacy notice and consent for the member on the card: the
// association's data (kept in Liberatoria_Privacy.ini), the member's data,
// place and date, written as Modulo_Privacy.rtf and opened.
class TfrmPrivacy : public QDialog
{
    Q_OBJECT
public:
    static const QString IniName;     // "Liberatoria_Privacy.ini"
    static const QString Section;     // "Modulo Privacy"
    static const QString DocumentName; // "Modulo_Privacy.rtf"

    explicit TfrmPrivacy(QWidget *parent = nullptr);

    // The member's data, from the card that opens the window (blanks at the
    // ends removed), and today's date as the date of signing.
    void setMember(const TSchedaAnagrafica &card);

    // The edit of a field ("txtPaziente"), or the edit inside a province box.
    QLineEdit *field(const QString &name) const;

public slots:
    void btnRTFClick();
    void btnChiudiClick();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
};
