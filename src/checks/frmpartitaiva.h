#pragma once

#include "checks/identifiercheckwindow.h"

// Checks the check digit of a VAT number and names the office that issued it.
class TfrmPartitaIva : public IdentifierCheckWindow
{
    Q_OBJECT
public:
    explicit TfrmPartitaIva(QWidget *parent = nullptr);

public slots:
    void btnControllaClick() override;
};
