#include "ui/filedialogs.h"

#include <QFileDialog>

namespace FileDialogs {

namespace {
Script *g_script = nullptr;
}

Script::Script()
{
    g_script = this;
}

Script::~Script()
{
    g_script = nullptr;
}

QString Script::take(const Request &request)
{
    m_requests.append(request);
    return m_paths.isEmpty() ? QString() : m_paths.takeFirst();
}

QString open(QWidget *parent, const QString &title, const QString &filters, const QString &proposedName)
{
    if (g_script)
        return g_script->take({false, title, filters, proposedName});
    return QFileDialog::getOpenFileName(parent, title, proposedName, filters);
}

QString save(QWidget *parent, const QString &title, const QString &filters, const QString &proposedName,
             bool askBeforeOverwrite)
{
    if (g_script)
        return g_script->take({true, title, filters, proposedName});
    const QFileDialog::Options options =
        askBeforeOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(parent, title, proposedName, filters, nullptr, options);
}

} // namespace FileDialogs
