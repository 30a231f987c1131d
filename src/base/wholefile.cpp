#include "base/wholefile.h"

#include "base/filelock.h"

#include <QFile>
#include <QFileInfo>

WholeFile::WholeFile(const QString &path)
    : m_file(path)
{
}

// An unfinished QSaveFile removes its temporary file when it is destroyed.
WholeFile::~WholeFile() = default;

bool WholeFile::open()
{
    m_failed = !m_file.open(QIODevice::WriteOnly);
    return !m_failed;
}

bool WholeFile::write(const char *data, qint64 size)
{
    if (!m_failed && m_file.write(data, size) != size)
        m_failed = true;
    return !m_failed;
}

bool WholeFile::commit()
{
    if (!m_file.isOpen())
        return false;
    if (m_failed || !FileLock::syncToDisk(m_file) || m_file.error() != QFileDevice::NoError) {
        m_file.cancelWriting();
        return false;
    }
    if (!m_file.commit())
        return false;
    FileLock::syncFolder(QFileInfo(m_file.fileName()).absolutePath());
    return true;
}

bool WholeFile::write(const QString &path, const QByteArray &bytes)
{
    WholeFile file(path);
    return file.open() && file.write(bytes) && file.commit();
}

bool WholeFile::copy(const QString &source, const QString &target, const Progress &progress)
{
    if (!QFileInfo(source).isFile())
        return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    WholeFile out(target);
    if (!out.open())
        return false;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    const qint64 total = in.size();
    for (qint64 copied = 0;;) {
        const qint64 got = in.read(buffer.data(), buffer.size());
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (!out.write(buffer.constData(), got))
            return false;
        copied += got;
        if (progress && !progress(copied, total))
            return false;
    }
    return out.commit();
}
