#pragma once

#include <QDialog>

// The credits window, opened from the launcher's copyright picture.
class TfrmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent = nullptr);

public slots:
    void lnkWebClick();
};
