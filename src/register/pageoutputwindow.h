#pragma once

#include "report/outputwindow.h"
#include "report/reporttemplate.h"

#include <memory>

class TfrmListinoPrezzi;

// Prints the register page on screen, or shows it in the preview: the book
// name, the eight slots' pictures and lines, and the page number.
class PageOutputWindow : public OutputWindow
{
    Q_OBJECT
public:
    ~PageOutputWindow() override;

    Report::Template &report() const { return *m_report; }
    // The template filled from the page window, as the button fills it.
    void fillReport();

public slots:
    void btnStampaClick() override;

protected:
    PageOutputWindow(TfrmListinoPrezzi *pages, const QString &windowName, const QString &caption,
                     const QString &outputButton, const QString &heading, const QStringList &lines);
    virtual void output() = 0;

private:
    TfrmListinoPrezzi *m_pages;
    std::unique_ptr<Report::Template> m_report;
};

class TfrmStampaProdotto : public PageOutputWindow
{
    Q_OBJECT
public:
    explicit TfrmStampaProdotto(TfrmListinoPrezzi *pages);

protected:
    void output() override;
};

class TfrmAnteprimaProdotto : public PageOutputWindow
{
    Q_OBJECT
public:
    explicit TfrmAnteprimaProdotto(TfrmListinoPrezzi *pages);

protected:
    void output() override;
};
