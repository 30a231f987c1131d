#pragma once

#include <QWidget>

// A window created once at start-up and only shown and hidden afterwards, so
// it keeps its controls' contents while hidden.
class PersistentWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PersistentWindow(QWidget *parent = nullptr, bool opensMaximised = false);

    // Shows the window as it opens: normal, or maximised for the large ones.
    void present();

private:
    bool m_opensMaximised;
};

// A work area opened from the launcher: it opens maximised, and closing it in
// any way hides it and shows the launcher again.
class WorkWindow : public PersistentWindow
{
    Q_OBJECT
public:
    explicit WorkWindow(QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;
};
