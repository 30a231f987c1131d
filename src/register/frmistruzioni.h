#pragma once

#include <QDialog>
#include <QImage>

// How to fill in a register page: a picture with the instructions and a
// sample slot, and Chiudi.
class TfrmIstruzioni : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmIstruzioni(QWidget *parent = nullptr);

    // The instructions as the window shows them, 590 x 530.
    static QImage instructions();

protected:
    void showEvent(QShowEvent *event) override;
};
