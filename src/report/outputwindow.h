#pragma once

#include <QDialog>
#include <QRect>

class QPushButton;

// The small window between a work window and a printout: a panel with a
// picture that says what will happen, Annulla, and the button that prints or
// shows the preview.
class OutputWindow : public QDialog
{
    Q_OBJECT
public:
    struct Layout
    {
        QRect panel;
        QRect cancelButton;
        QRect outputButton;
    };

protected:
    OutputWindow(QWidget *parent, const QString &windowName, const QString &caption, const QString &outputButton,
                 const Layout &layout);
    // The panel, for the picture that goes on it.
    QWidget *panel() const { return m_panel; }

    virtual void btnStampaClick() = 0;

private:
    QWidget *m_panel;
};
