#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QWidget;

// The status line of a window (`panInfo`): moving the mouse over a command
// shows the command's hint; moving it over the window or one of its listed
// background objects empties the line; anywhere else the text stays.
class StatusHints : public QObject
{
    Q_OBJECT
public:
    StatusHints(QLabel *panInfo, const QString &initialText);

    void addHint(QWidget *command, const QString &hint);
    void addClearer(QWidget *background);

    void show(const QString &text);

private:
    QLabel *m_panInfo;
};
