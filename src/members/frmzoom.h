#pragma once

#include <QDialog>

class PictureBox;

// The member's photo as large as the screen allows; a click closes it.
class TfrmZoom : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmZoom(QWidget *parent = nullptr);

    void setPhoto(const QImage &photo);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *m_panel;
    PictureBox *imgFoto;
};
