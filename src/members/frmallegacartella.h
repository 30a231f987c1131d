#pragma once

#include "members/schedaanagrafica.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// The three files attached to the member on the card: their names (copies
// kept in Documenti_Allegati) and descriptions, browse, erase and open. The
// window is accepted by Applica e chiudi, and only when the card opened it.
class TfrmAllegaCartella : public QDialog
{
    Q_OBJECT
public:
    static const QString Folder; // "Documenti_Allegati"

    explicit TfrmAllegaCartella(QWidget *parent = nullptr);

    // What the window edits, and the tag of who opened it ("candidati": the
    // member card); blanks at the ends of every text removed.
    void setAttachments(const QString &tag, const Attachments &attachments);
    // The six values as they stand, blanks at their ends removed; the opener
    // takes them when the window was closed with Applica e chiudi.
    Attachments attachments() const;

    QLabel *memory() const { return lblMemory; }
    QLineEdit *fileEdit(int slot) const { return m_slots[size_t(slot)].file; }
    QLineEdit *descriptionEdit(int slot) const { return m_slots[size_t(slot)].description; }

public slots:
    void btnSfogliaClick(int slot);
    void imgCancellaClick(int slot);
    void btnApriClick(int slot);
    void btnApplicaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Slot
    {
        QLineEdit *file = nullptr;
        QLineEdit *description = nullptr;
        QPushButton *open = nullptr;
    };
    std::array<Slot, 3> m_slots;
    QLabel *lblMemory;
};
