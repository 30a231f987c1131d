#pragma once

#include "base/backups.h"

#include <QDialog>

#include <vector>

class QLabel;
class QTreeWidget;

// The daily copies of the archive, the register books and the INI files,
// listed by file and date, and the command that puts one back in place of
// its file.
class TfrmCopieSicurezza : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCopieSicurezza(QWidget *parent = nullptr);

    QTreeWidget *list() const { return lstCopie; }

public slots:
    void cmdRipristinaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillList();

    std::vector<Backups::Copy> m_copies;
    QTreeWidget *lstCopie;
    QLabel *lblStato;
};
