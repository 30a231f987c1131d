#pragma once

#include <QList>
#include <QString>

class QWidget;

// The open and save dialogs. An empty text means the user cancelled.
namespace FileDialogs {

QString open(QWidget *parent, const QString &title, const QString &filters,
             const QString &proposedName = QString());
QString save(QWidget *parent, const QString &title, const QString &filters,
             const QString &proposedName = QString(), bool askBeforeOverwrite = true);

struct Request
{
    bool save;
    QString title;
    QString filters;
    QString proposedName;
};

// While a Script lives no dialog is shown: each request is recorded and gets
// the next scripted path (a cancel when none is left).
class Script
{
public:
    Script();
    ~Script();
    Script(const Script &) = delete;
    Script &operator=(const Script &) = delete;

    void answerNext(const QString &path) { m_paths.append(path); }
    void cancelNext() { m_paths.append(QString()); }
    const QList<Request> &requests() const { return m_requests; }

    QString take(const Request &request);

private:
    QList<QString> m_paths;
    QList<Request> m_requests;
};

} // namespace FileDialogs
