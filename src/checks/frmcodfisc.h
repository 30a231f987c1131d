#pragma once

#include "checks/identifiercheckwindow.h"

// Checks the check character of a fiscal code.
class TfrmCodFisc : public IdentifierCheckWindow
{
    Q_OBJECT
public:
    explicit TfrmCodFisc(QWidget *parent = nullptr);

public slots:
    void btnControllaClick() override;
};
