#pragma once

#include <QImage>
#include <QObject>

class QCamera;
class QMediaCaptureSession;
class QVideoFrame;
class QVideoSink;

// The default video input. Frames arrive on the camera's own thread; each is
// handed to the user-interface thread, and the camera thread waits until it
// has been turned into a picture there, so a picture is always a whole frame.
class CameraFeed : public QObject
{
    Q_OBJECT
public:
    explicit CameraFeed(QObject *parent = nullptr);
    ~CameraFeed() override;

    // False, and nothing happens, when the machine has no camera.
    bool switchOn();
    void switchOff();
    bool isOn() const;

    // Where the camera delivers its frames; tests deliver theirs here too.
    QVideoSink *sink() const { return m_sink; }

signals:
    void frameReady(const QImage &frame);

private:
    void deliver(const QVideoFrame &frame);

    QVideoSink *m_sink;
    QMediaCaptureSession *m_session;
    QCamera *m_camera = nullptr;
};
