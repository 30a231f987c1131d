#pragma once

#include "ui/persistentwindow.h"
#include "members/schedaanagrafica.h"
#include "register/paginaregistro.h"
#include "register/pagetemplate.h"
#include "register/registerbook.h"
#include "ui/recordnavigation.h"

#include <array>
#include <optional>

class PictureBox;
class QLabel;
class QLineEdit;
class StatusHints;

// The page editor of one register book: eight member slots A to H, each with
// a photo and five lines; new, save, navigation, import, print and preview.
class TfrmListinoPrezzi : public WorkWindow
{
    Q_OBJECT
public:
    static constexpr int SlotCount = TPaginaRegistro::SlotCount;

    explicit TfrmListinoPrezzi(QWidget *parent = nullptr);

    // The book the window works on, as the book list hands it over.
    void openBook(const RegisterBook &book);
    void openBook(const QString &path, const QString &name) { openBook(RegisterBook(path, name)); }

    // Fills slot `slot` (0 = A) with a member of the archive: the five lines,
    // the member's photo, and its record number in lblRecord.
    void importMember(int slot, qint64 index, const TSchedaAnagrafica &member);

    QLineEdit *edit(int slot, TSlotPagina::FieldId field) const { return m_slots[size_t(slot)].edits[field]; }
    PictureBox *photo(int slot) const { return m_slots[size_t(slot)].photo; }
    // The page's texts as they stand in the slots.
    TPaginaRegistro pageOnScreen() const;
    // The page as a print shows it: the book's name, the slots' pictures and
    // texts, the page number.
    PageReport::Content printed() const;
    // The book name and page number as the window shows them.
    QString bookName() const;
    QString pageNumber() const;

    // Writes the eight preview copies and shows in the slots the pictures as
    // written, so that a print shows exactly that; false when a copy could
    // not be written.
    bool writePreviewCopies();

public slots:
    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdEsciClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdFrontespizioClick();
    void cmdIstruzioniClick();
    void cmdGuidaClick();
    void imgFotoClick(int slot);
    void impProdottoClick(int slot);

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Slot
    {
        PictureBox *photo = nullptr;
        std::array<QLineEdit *, TSlotPagina::FieldCount> edits{};
    };

    void buildToolbar(QWidget *pan);
    void buildSlots(QWidget *pan);
    void wireHints(QWidget *pan);
    void clearPage();
    void showPage(qint64 page);
    void navigate(RecordNavigation::Move move);
    // The number of the page on screen; nothing for a new page. lblPosizione
    // shows it.
    void setPage(std::optional<qint64> page);
    // The page photos of a page number (none for an empty one) and the
    // preview copies; false when one could not be written.
    bool writePagePhotos(const QString &page);
    // The same for a saved page, noting its page photos' files as the ones
    // now loaded.
    bool savePagePhotos(qint64 page);
    // The slot's page photo made from a picture; the placeholder for none.
    void setSlotPhoto(int slot, const QImage &picture);
    QImage blank() const;

    RegisterBook m_book{QString(), QString()};
    std::optional<qint64> m_page;
    std::array<Slot, SlotCount> m_slots;
    // The page as last read from or written to the book, to tell whether
    // another copy of the program saved it since.
    std::optional<TPaginaRegistro> m_loaded;
    // Its page photos' files, likewise.
    FileStates m_loadedPhotos;
    QLabel *lblFile = nullptr;
    QLabel *lblNome = nullptr;
    QLabel *lblPosizione = nullptr;
    QLabel *lblRecord = nullptr;
    QLabel *panInfo = nullptr;
    PictureBox *imgBianco = nullptr;
    StatusHints *m_hints = nullptr;
};
