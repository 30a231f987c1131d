#pragma once

#include <QWidget>

#include <memory>

class FileInUse;

// A window created once at start-up and only shown and hidden afterwards, so
// it keeps its controls' contents while hidden.
class PersistentWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PersistentWindow(QWidget *parent = nullptr, bool opensMaximised = false);

    // Shows the window as it opens: normal, or maximised for the large ones.
    void present();

signals:
    // The user asked to end the program (an exit command, or closing a
    // window that ends it).
    void quitAsked();

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
    ~WorkWindow() override;

signals:
    // Closed in any way: the launcher takes its place.
    void left();

protected:
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // Marks the data file the window works on as in use until it is hidden,
    // so that no copy of the program restores a backup over it meanwhile.
    void holdFile(const QString &path);

private:
    std::unique_ptr<FileInUse> m_held;
};
