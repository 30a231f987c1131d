#pragma once

#include "ui/persistentwindow.h"

class PictureBox;
class ShapeRect;

// The launcher: three tiles open the work areas; the header and footer bands
// hold the information, help, credits, web and exit pictures.
class TfrmAvvio : public PersistentWindow
{
    Q_OBJECT
public:
    explicit TfrmAvvio(QWidget *parent = nullptr);

    // The three work areas, in tile order.
    enum class WorkArea { Archive, NewBook, BookList };

signals:
    void workAreaChosen(TfrmAvvio::WorkArea area);

public slots:
    void imgInfoClick();
    void imgCopieClick();
    void imgSitoClick();
    void imgCopyrightClick();
    void imgEsciClick();
    void openWorkArea(int tile);

protected:
    void closeEvent(QCloseEvent *event) override;
};
