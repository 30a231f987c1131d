#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// The three files attached to the member on the card: their names (copies
// kept in Documenti_Allegati) and descriptions, browse, erase and open.
class TfrmAllegaCartella : public QDialog
{
    Q_OBJECT
public:
    static const QString Folder; // "Documenti_Allegati"

    explicit TfrmAllegaCartella(QWidget *parent = nullptr);

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
