#pragma once

#include <QList>
#include <QString>

class QWidget;

// The open and save dialogs. An empty text means the user cancelled.
namespace FileDialogs {

// Where a dialog opens: the folder last used for the same kind of file in
// this session, at first the user's Pictures or Documents folder (never the
// program folder with the program's own files).
enum class Place { Documents, Pictures };

QString open(QWidget *parent, const QString &title, const QString &filters,
             const QString &proposedName = QString(), Place place = Place::Documents);
QString save(QWidget *parent, const QString &title, const QString &filters,
             const QString &proposedName = QString(), bool askBeforeOverwrite = true,
             Place place = Place::Documents);

struct Request
{
    bool save;
    QString title;
    QString filters;
    QString proposedName;
    QString folder; // where the dialog opens
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
