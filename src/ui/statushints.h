#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QWidget;

// The status line of a window (`panInfo`): moving the mouse over a command
// shows the command's hint; moving it over the window or one of its listed
// background objects empties the line; anywhere else the text stays. Each
// command shows its hint as a tooltip too.
class StatusHints : public QObject
{
    Q_OBJECT
public:
    StatusHints(QLabel *panInfo, const QString &initialText);

    void addHint(QWidget *command, const QString &hint);
    void addClearer(QWidget *background);

    void show(const QString &text);
    // The text the line starts with, for a window shown again.
    void showReady() { show(m_ready); }

private:
    QLabel *m_panInfo;
    QString m_ready;
};
