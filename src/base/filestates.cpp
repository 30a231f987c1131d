#include "base/filestates.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

FileStates::FileStates(const QStringList &paths)
    : m_paths(paths)
{
    m_states.reserve(paths.size());
    for (const QString &path : paths)
        m_states.append(stateOf(path));
}

bool FileStates::unchanged() const
{
    for (qsizetype i = 0; i < m_paths.size(); ++i)
        if (stateOf(m_paths[i]) != m_states[i])
            return false;
    return true;
}

QByteArray FileStates::stateOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QByteArrayLiteral("missing");
    // A named pipe or a device would block the reading for good.
    if (!info.isFile())
        return QByteArrayLiteral("not a file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("unreadable");
    QCryptographicHash digest(QCryptographicHash::Sha256);
    QByteArray block(64 * 1024, Qt::Uninitialized);
    qint64 read = 0;
    while (read < DigestLimit) {
        const qint64 got = file.read(block.data(), qMin<qint64>(block.size(), DigestLimit - read));
        if (got < 0)
            return QByteArrayLiteral("unreadable");
        if (got == 0)
            break;
        digest.addData(QByteArrayView(block.constData(), got));
        read += got;
    }
    QByteArray state = QByteArray::number(read) + ' ' + digest.result().toHex();
    if (read >= DigestLimit)
        state += ' ' + QByteArray::number(file.size()) + ' '
            + QByteArray::number(info.lastModified().toMSecsSinceEpoch());
    return state;
}
