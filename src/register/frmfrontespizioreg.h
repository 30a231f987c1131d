#pragma once

#include "register/titletemplate.h"
#include "report/reporttemplate.h"

#include <QDialog>

#include <memory>

class QLineEdit;

// The register's title page: ten values kept in Quorvel.ini (section
// "Frontespizio Registro"), previewed and printed on a whole A4 sheet.
class TfrmFrontespizioReg : public QDialog
{
    Q_OBJECT
public:
    static const QString IniName;
    static const QString Section;

    explicit TfrmFrontespizioReg(QWidget *parent = nullptr);
    ~TfrmFrontespizioReg() override;

    Report::Template &report() const { return *m_report; }
    QLineEdit *edit(const QString &name) const;

public slots:
    void btnAnteprimaClick();
    void btnStampaClick();
    void btnChiudiClick();
    // However the window closes, the values are kept.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The ten values as they stand in the boxes.
    TitleReport::Values values() const;
    void fillReport();

    std::unique_ptr<Report::Template> m_report;
};
