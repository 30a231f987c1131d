#pragma once

#include <QWidget>

// A window created once at start-up and only shown and hidden afterwards, so
// it keeps its controls' contents while hidden.
class PersistentWindow : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Shows the window as it opens: normal, or maximised for the large ones.
    virtual void present();
};
