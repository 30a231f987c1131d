#pragma once

#include <QDialog>
#include <QImage>

class CameraFeed;
class PictureBox;
class QLabel;

// Takes a member's photo with the webcam: live view on the left, the captured
// frame on the right; Importa closes the window accepted, and the card that
// opened it takes the capture.
class TfrmWebCam : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmWebCam(QWidget *parent = nullptr);

    // The tag by which the window knows who opened it ("euro_01": the member card).
    void setMemory(const QString &tag);
    CameraFeed *camera() const { return m_camera; }
    // The captured frame, or the placeholder when nothing was captured.
    QImage capture() const;

public slots:
    void btnAccendiClick();
    void btnSpegniClick();
    void btnCatturaClick();
    void btnSalvaFotogrammaClick();
    void btnImportaFotoClick();
    void btnCloseClick();
    // A frame from the camera, on the user-interface thread.
    void showFrame(const QImage &frame);

private:
    CameraFeed *m_camera;
    QLabel *lblMemory;
    PictureBox *imgCamera;
    PictureBox *imgTarget;
    PictureBox *imgBianco;
};
