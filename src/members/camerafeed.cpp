#include "members/camerafeed.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QThread>
#include <QVideoFrame>
#include <QVideoSink>

CameraFeed::CameraFeed(QObject *parent)
    : QObject(parent)
    , m_sink(new QVideoSink(this))
    , m_session(new QMediaCaptureSession(this))
{
    m_session->setVideoSink(m_sink);
    connect(m_sink, &QVideoSink::videoFrameChanged, this, &CameraFeed::deliver, Qt::DirectConnection);
}

CameraFeed::~CameraFeed()
{
    switchOff();
}

bool CameraFeed::switchOn()
{
    if (!m_camera) {
        const QCameraDevice device = QMediaDevices::defaultVideoInput();
        if (device.isNull())
            return false;
        m_camera = new QCamera(device, this);
        m_session->setCamera(m_camera);
    }
    m_camera->start();
    return true;
}

void CameraFeed::switchOff()
{
    if (m_camera)
        m_camera->stop();
}

bool CameraFeed::isOn() const
{
    return m_camera && m_camera->isActive();
}

void CameraFeed::deliver(const QVideoFrame &frame)
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, [this, frame] { deliver(frame); }, Qt::BlockingQueuedConnection);
        return;
    }
    const QImage image = frame.toImage();
    if (!image.isNull())
        emit frameReady(image);
}
