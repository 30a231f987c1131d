#pragma once

#include "ui/persistentwindow.h"
#include "register/registerbook.h"

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;

// The look both book windows share: gradient, centred panel, instruction
// banner and help picture.
class BookWindow : public WorkWindow
{
    Q_OBJECT
protected:
    BookWindow(QWidget *parent, const QString &name, const QString &caption, const QString &heading,
               const QStringList &lines);
    QWidget *panel() const { return m_panel; }

private:
    QWidget *m_panel;
};

// Creates a new, empty register book.
class TfrmCreaCatalogo : public BookWindow
{
    Q_OBJECT
public:
    explicit TfrmCreaCatalogo(QWidget *parent = nullptr);

public slots:
    void btnApplicaClick();
    void btnAnnullaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *txtFile;
    QLabel *lblFile;
};

// Lists the register books, opens one in the page window (through
// bookChosen(), which the window table hands on) or deletes it.
class TfrmApriCatalogo : public BookWindow
{
    Q_OBJECT
public:
    explicit TfrmApriCatalogo(QWidget *parent = nullptr);

    static const QString ReasonStart;   // "avvio": back to the launcher
    static const QString ReasonPages;   // "listino": on to the page window

signals:
    // The window closed on a book to open in the page window.
    void bookChosen(const RegisterBook &book);

public slots:
    void btnApriClick();
    void btnEliminaClick();
    void btnAnnullaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void listBooks();
    // The selected entry, or nothing after the warning for an empty list or
    // no selection.
    std::optional<QString> selectedEntry(const QString &noSelectionWarning);

    // Where the window goes when it closes; lblMemory shows it.
    enum class Reason { Start, Pages };
    void setReason(Reason reason);

    Reason m_reason = Reason::Start;
    // The book to open, chosen with Apri; lblFile shows its path.
    std::optional<RegisterBook> m_chosen;
    QListWidget *lstFiles;
    QLabel *lblCreati;
    QLabel *lblMemory;
    QLabel *lblFile;
};
