#include "report/reportpreview.h"

#include "report/reportrenderer.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace Report {

namespace {
// Qt's own preview pictures.
QIcon qtIcon(const QString &name)
{
    return QIcon(QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/") + name
                 + QStringLiteral("-24.png"));
}
} // namespace

void preparePrinter(QPrinter &printer, const Template &report)
{
    printer.setFullPage(true);
    printer.setDocName(report.name());
    printer.setPageOrientation(report.orientation());
}

Preview::Preview(QWidget *parent, const Template &report)
    : QDialog(parent)
    , m_report(report)
    , m_pages(report.prepare())
    , m_printer(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("frmAnteprimaReport"));
    setWindowTitle(QStringLiteral("Anteprima di stampa - ") + report.name());
    preparePrinter(m_printer, report);

    auto *tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("tlbAnteprima"));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_view = new QPrintPreviewWidget(&m_printer, this);
    m_view->setObjectName(QStringLiteral("pvwPagine"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(m_view);

    tools->addAction(command(QStringLiteral("actStampa"), QStringLiteral("Stampa"), QStringLiteral("printer")));
    connect(tools->actions().last(), &QAction::triggered, this, &Preview::printReport);
    tools->addSeparator();
    const struct
    {
        const char *name, *text, *icon;
        void (*run)(QPrintPreviewWidget *view);
    } zoom[] = {
        {"actIngrandisci", "Ingrandisci", "zoom-in", [](QPrintPreviewWidget *view) { view->zoomIn(); }},
        {"actRiduci", "Riduci", "zoom-out", [](QPrintPreviewWidget *view) { view->zoomOut(); }},
        {"actAdattaPagina", "Pagina intera", "zoom-fit-page", [](QPrintPreviewWidget *view) { view->fitInView(); }},
        {"actAdattaLarghezza", "Larghezza pagina", "zoom-fit-width", [](QPrintPreviewWidget *view) { view->fitToWidth(); }},
    };
    for (const auto &z : zoom) {
        QAction *action = command(QString::fromLatin1(z.name), QString::fromUtf8(z.text), QString::fromLatin1(z.icon));
        connect(action, &QAction::triggered, m_view, [this, run = z.run] { run(m_view); });
        tools->addAction(action);
    }

    // Page by page only where there is more than one page.
    if (m_pages.size() > 1) {
        tools->addSeparator();
        const struct
        {
            const char *name, *text, *icon;
            int (*target)(int current, int count);
        } pages[] = {
            {"actPrimaPagina", "Prima", "go-first", [](int, int) { return 1; }},
            {"actPaginaPrecedente", "Precedente", "go-previous", [](int current, int) { return current - 1; }},
            {"actPaginaSuccessiva", "Successiva", "go-next", [](int current, int) { return current + 1; }},
            {"actUltimaPagina", "Ultima", "go-last", [](int, int count) { return count; }},
        };
        for (const auto &p : pages) {
            QAction *action = command(QString::fromLatin1(p.name), QString::fromUtf8(p.text), QString::fromLatin1(p.icon));
            connect(action, &QAction::triggered, m_view, [this, target = p.target] {
                m_view->setCurrentPage(qBound(1, target(m_view->currentPage(), m_view->pageCount()), m_view->pageCount()));
                showPageNumber();
            });
            tools->addAction(action);
        }
        m_pageNumber = new QLabel(tools);
        m_pageNumber->setObjectName(QStringLiteral("lblPagina"));
        m_pageNumber->setContentsMargins(8, 0, 8, 0);
        tools->addWidget(m_pageNumber);
        connect(m_view, &QPrintPreviewWidget::previewChanged, this, &Preview::showPageNumber);
    }

    tools->addSeparator();
    m_fullScreen = command(QStringLiteral("actSchermoIntero"), QStringLiteral("Schermo intero"), QString());
    m_fullScreen->setIcon(style()->standardIcon(QStyle::SP_TitleBarMaxButton));
    m_fullScreen->setCheckable(true);
    connect(m_fullScreen, &QAction::triggered, this, &Preview::toggleFullScreen);
    tools->addAction(m_fullScreen);
    QAction *close = command(QStringLiteral("actChiudi"), QStringLiteral("Chiudi"), QString());
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(close, &QAction::triggered, this, &QDialog::reject);
    tools->addAction(close);

    connect(m_view, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter *target) { paintPages(*target, m_pages, m_report.orientation()); });
    m_view->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_view->setZoomFactor(1.0);

    // The whole screen, also where no window manager maximises windows.
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}

QAction *Preview::command(const QString &name, const QString &text, const QString &icon)
{
    auto *action = new QAction(text, this);
    action->setObjectName(name);
    if (!icon.isEmpty())
        action->setIcon(qtIcon(icon));
    return action;
}

void Preview::printReport()
{
    emit printRequested();
}

void Preview::toggleFullScreen()
{
    if (isFullScreen())
        setWindowState(windowState() & ~Qt::WindowFullScreen);
    else
        setWindowState(windowState() | Qt::WindowFullScreen);
    m_fullScreen->setChecked(isFullScreen());
}

void Preview::showPageNumber()
{
    m_pageNumber->setText(QStringLiteral("Pagina %1 di %2").arg(m_view->currentPage()).arg(m_view->pageCount()));
}

} // namespace Report
