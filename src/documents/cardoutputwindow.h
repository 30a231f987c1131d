#pragma once

#include "members/schedaanagrafica.h"
#include "report/outputwindow.h"

#include <QImage>

#include <memory>

class PictureBox;

namespace Report {
class Template;
}

// The small window between the archive window and the printed member card:
// it takes the card as the archive window hands it over (as it stands on
// screen, saved or not) and prints it, or shows it in the preview. Two windows differ only in that last step.
class CardOutputWindow : public OutputWindow
{
    Q_OBJECT
public:
    ~CardOutputWindow() override;

    Report::Template &report() const { return *m_report; }

public slots:
    void btnStampaClick() override;

protected:
    struct Design
    {
        QString windowName;
        QString caption;
        QString outputButton;
        QString art;
        QString failure;
    };
    CardOutputWindow(QWidget *parent, const Design &design, const TSchedaAnagrafica &card, const QImage &photo);

    // Prints or previews the filled card; false when it failed.
    virtual bool output() = 0;

private:
    Design m_design;
    TSchedaAnagrafica m_card;
    std::unique_ptr<Report::Template> m_report;
    PictureBox *imgLogo;
};

class TfrmStampaCandidati : public CardOutputWindow
{
    Q_OBJECT
public:
    TfrmStampaCandidati(QWidget *parent, const TSchedaAnagrafica &card, const QImage &photo);

protected:
    bool output() override;
};

class TfrmAnteprimaCandidati : public CardOutputWindow
{
    Q_OBJECT
public:
    TfrmAnteprimaCandidati(QWidget *parent, const TSchedaAnagrafica &card, const QImage &photo);

protected:
    bool output() override;
};
