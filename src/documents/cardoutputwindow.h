#pragma once

#include "report/outputwindow.h"

#include <memory>

class PictureBox;

namespace Report {
class Template;
}

// The small window between the archive window and the printed member card:
// it takes the card as it stands on screen (saved or not) and prints it, or
// shows it in the preview. Two windows differ only in that last step.
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
    CardOutputWindow(QWidget *parent, const Design &design);

    // Prints or previews the filled card; false when it failed.
    virtual bool output() = 0;
    void showEvent(QShowEvent *event) override;

private:
    void fillReport();

    Design m_design;
    std::unique_ptr<Report::Template> m_report;
    PictureBox *imgLogo;
    PictureBox *imgTemp;
};

class TfrmStampaCandidati : public CardOutputWindow
{
    Q_OBJECT
public:
    explicit TfrmStampaCandidati(QWidget *parent = nullptr);

protected:
    bool output() override;
};

class TfrmAnteprimaCandidati : public CardOutputWindow
{
    Q_OBJECT
public:
    explicit TfrmAnteprimaCandidati(QWidget *parent = nullptr);

protected:
    bool output() override;
};
