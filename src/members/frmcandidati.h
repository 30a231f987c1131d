#pragma once

#include "ui/persistentwindow.h"
#include "base/filestates.h"
#include "members/schedaanagrafica.h"
#include "ui/recordnavigation.h"

#include <array>

class PictureBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class StatusHints;

// The members archive: one member card at a time, with its photo, the 25
// fields, the call-back box and the record number; new, save, duplicate,
// navigation and the photo buttons.
class TfrmCandidati : public WorkWindow
{
    Q_OBJECT
public:
    static constexpr int EditCount = 25;

    explicit TfrmCandidati(QWidget *parent = nullptr);

    // Puts record `index` (record number index + 1) on the card, photo included.
    void showRecord(qint64 index, const TSchedaAnagrafica &scheda);
    // The card's three attachments, as the attachments window applies them.
    void setAttachments(const Attachments &attachments);
    // Empty fields and attachments, box unticked, placeholder photo, no record
    // number, focus on the name.
    void clearCard();
    // The card as a record, as Save writes it.
    TSchedaAnagrafica cardRecord() const;

    QLineEdit *edit(TSchedaAnagrafica::FieldId id) const { return m_edits[id]; }

public slots:
    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdDuplicaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdEsciClick();
    void cmdFileClick();
    void cmdEsportaClick();
    void cmdPrivacyClick();
    void cmdStatisticheClick();
    void cmdQuoteClick();
    void cmdGuidaClick();
    void cmdTrovaClick();
    void cmdScaduteClick();
    void cmdStampaClick();
    void cmdAnteprimaClick();
    void btnEmailClick();
    void btnCodFiscClick();
    void btnPartitaIvaClick();
    void btnCaricaFotoClick();
    void btnWebcamClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildToolbar(QWidget *pan);
    void buildCard(QWidget *pan);
    void buildPhotoArea(QWidget *pan);
    void wireHints(QWidget *pan);
    void goToRecord(qint64 index);
    void navigate(RecordNavigation::Move move);
    // The record number of the card on screen; nothing for a new card.
    // lblPosizione shows it.
    void setPosition(std::optional<qint64> number);
    void showPlaceholder();
    // Writes the card's photo as the photo of record `number` and notes its
    // file as the one now loaded; false when it cannot be written.
    bool savePhoto(qint64 number);
    void openCheck(bool vatNumber, const QString &code);

    std::array<QLineEdit *, EditCount> m_edits{};
    // The attachments of the card on screen; the hidden labels lblFile01 to
    // lblDesc03 show them.
    Attachments m_attachments;
    std::array<QLabel *, 6> m_attachmentLabels{};
    QLabel *lblPosizione = nullptr;
    std::optional<qint64> m_position;
    // The member as last read from or written to the archive, to tell
    // whether another copy of the program saved it since.
    TSchedaAnagrafica m_loaded;
    // Its photo file, likewise.
    FileStates m_loadedPhoto;
    QCheckBox *chkRicontatta = nullptr;
    PictureBox *imgFoto = nullptr;
    PictureBox *imgBianco = nullptr;
    QLabel *panInfo = nullptr;
    StatusHints *m_hints = nullptr;
};
