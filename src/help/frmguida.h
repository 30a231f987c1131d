#pragma once

#include "help/helptexts.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;

// A help topic: its title and text, and the link to the whole guide as a PDF.
class TfrmGuida : public QDialog
{
    Q_OBJECT
public:
    static const QString GuideName; // "Guida.pdf"

    explicit TfrmGuida(QWidget *parent = nullptr);

    // Opens a fresh help window on `topic` over `opener`, modally.
    static void showTopic(QWidget *opener, const HelpTexts::Topic &topic);

    void setTopic(const HelpTexts::Topic &topic);

public slots:
    void lnkWebClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *lblTitolo;
    QPlainTextEdit *txtGuida;
};
