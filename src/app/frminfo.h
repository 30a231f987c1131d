#pragma once

#include <QDialog>

// The information window: what the program is, and the maker's e-mail link.
class TfrmInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget *parent = nullptr);

public slots:
    void lnkWebClick();

protected:
    void showEvent(QShowEvent *event) override;
};
