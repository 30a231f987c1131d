#pragma once

#include "register/pagetemplate.h"
#include "report/outputwindow.h"
#include "report/reporttemplate.h"

#include <memory>

// Prints a register page, or shows it in the preview, as the page window
// hands it over: the book name, the eight slots' pictures and lines, and the
// page number.
class PageOutputWindow : public OutputWindow
{
    Q_OBJECT
public:
    ~PageOutputWindow() override;

    Report::Template &report() const { return *m_report; }
    // The template filled with the page, as the button fills it.
    void fillReport();

public slots:
    void btnStampaClick() override;

protected:
    PageOutputWindow(QWidget *parent, PageReport::Content page, const QString &windowName, const QString &caption,
                     const QString &outputButton, const QString &heading, const QStringList &lines);
    virtual void output() = 0;

private:
    PageReport::Content m_page;
    std::unique_ptr<Report::Template> m_report;
};

class TfrmStampaProdotto : public PageOutputWindow
{
    Q_OBJECT
public:
    TfrmStampaProdotto(QWidget *parent, PageReport::Content page);

protected:
    void output() override;
};

class TfrmAnteprimaProdotto : public PageOutputWindow
{
    Q_OBJECT
public:
    TfrmAnteprimaProdotto(QWidget *parent, PageReport::Content page);

protected:
    void output() override;
};
