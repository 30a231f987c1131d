#include "search/resultpage.h"

#include "base/clock.h"
#include "report/reportoutput.h"
#include "report/summarytemplate.h"
#include "ui/eventhook.h"
#include "ui/fieldbehaviours.h"
#include "ui/look.h"
#include "ui/messages.h"

#include <QAbstractListModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>

// The rows as a list model: a hundred thousand rows go in at once, without an
// item object each, and only the rows painted are decoded.
class ResultListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    void setRows(ResultRows rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        m_longest = 0;
        for (size_t i = 0; i < m_rows.size(); ++i)
            m_longest = qMax(m_longest, m_rows.bytes(i).size());
        endResetModel();
    }
    const ResultRows &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= int(m_rows.size()))
            return QVariant();
        // The whole row as its tooltip: a note at its end is read without
        // scrolling.
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return m_rows.text(size_t(index.row()));
        // Every row as wide as the longest (the font's characters are all as
        // wide), so that the list scrolls sideways to the end of any row.
        if (role == Qt::SizeHintRole)
            return QSize(int(m_longest) * characterWidth + 8, rowHeight);
        return QVariant();
    }

    int rowHeight = 20;
    int characterWidth = 10;

private:
    ResultRows m_rows;
    qsizetype m_longest = 0; // characters of the longest row
};

ResultPage::ResultPage(QWidget *parent, const QString &heading, const QString &hint, const QString &printTitle)
    : QWidget(parent)
    , m_model(new ResultListModel(this))
    , m_printTitle(printTitle)
{
    setObjectName(QStringLiteral("panContainer"));
    setGeometry(0, 0, 862, 560);
    Look::picture(this, QStringLiteral("imgTitolo"), {16, 12, 830, 50}, QStringLiteral(":/art/trova_titolo.svg"));
    Look::label(this, QStringLiteral("lblTitolo"), heading, {84, 24}, Look::font(QStringLiteral("Verdana"), 14, true),
                Qt::white);

    txtTrova = Look::place(new QLineEdit(this), QStringLiteral("txtTrova"), {16, 76, 300, 28});
    txtTrova->setFont(Look::font(QStringLiteral("Verdana"), 12));
    btnTrova = Look::button(this, QStringLiteral("btnTrova"), QStringLiteral("Trova"), {324, 76, 100, 28},
                            Look::font(QStringLiteral("Verdana"), 9));

    lstRecords = Look::place(new QListView(this), QStringLiteral("lstRecords"), {16, 114, 830, 360});
    lstRecords->setModel(m_model);
    lstRecords->setUniformItemSizes(true);
    lstRecords->setFont(Look::font(QStringLiteral("Courier New"), 12));
    m_model->rowHeight = lstRecords->fontMetrics().height() + 2;
    m_model->characterWidth = lstRecords->fontMetrics().horizontalAdvance(QLatin1Char('M'));
    lstRecords->setTextElideMode(Qt::ElideNone);
    lstRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstRecords->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstRecords->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstRecords->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QPalette listColours = lstRecords->palette();
    listColours.setColor(QPalette::Text, Qt::black);
    lstRecords->setPalette(listColours);

    Look::label(this, QStringLiteral("lblIstruzioni"), hint, {16, 482}, Look::font(QStringLiteral("Verdana"), 9, true),
                QColor(0xDC, 0x14, 0x3C));
    btnChiudi = Look::button(this, QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), {566, 516, 136, 30},
                             Look::font(QStringLiteral("Verdana"), 9));
    btnStampa = Look::button(this, QStringLiteral("btnStampa"), QStringLiteral("Stampa"), {710, 516, 136, 30},
                             Look::font(QStringLiteral("Verdana"), 9));

    FieldBehaviours::enterMovesTo(txtTrova, btnTrova);
    connect(btnTrova, &QPushButton::clicked, this, &ResultPage::btnTrovaClick);
    connect(btnStampa, &QPushButton::clicked, this, &ResultPage::btnStampaClick);
    connect(lstRecords, &QListView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit memberChosen(m_model->rows().index(size_t(index.row())));
    });
    // A double-click on the list away from the rows acts on the selected row,
    // or says that none is selected.
    new EventHook(lstRecords->viewport(), [this](QEvent *event) {
        if (event->type() != QEvent::MouseButtonDblClick)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || lstRecords->indexAt(mouse->position().toPoint()).isValid())
            return false;
        if (const int row = selectedRow(); row >= 0)
            emit memberChosen(m_model->rows().index(size_t(row)));
        else
            emit noRowChosen();
        return true;
    });
    // Enter on the selected row chooses it as a double-click does.
    onEnter(lstRecords, [this] {
        if (const int row = selectedRow(); row >= 0)
            emit memberChosen(m_model->rows().index(size_t(row)));
    });
}

void ResultPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_quickFind.reset();
    txtTrova->clear();
    txtTrova->setFocus();
}

void ResultPage::setRows(ResultRows rows)
{
    m_model->setRows(std::move(rows));
    selectRow(0);
}

const ResultRows &ResultPage::rows() const
{
    return m_model->rows();
}

int ResultPage::selectedRow() const
{
    const QModelIndex current = lstRecords->currentIndex();
    return current.isValid() && lstRecords->selectionModel()->isSelected(current) ? current.row() : -1;
}

void ResultPage::selectRow(int row)
{
    const QModelIndex index = m_model->index(row);
    if (index.isValid())
        lstRecords->setCurrentIndex(index);
}

void ResultPage::btnTrovaClick()
{
    if (rows().empty()) {
        Messages::plain(QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
        return;
    }
    selectRow(m_quickFind.next(rows(), selectedRow(), txtTrova->text()));
}

void ResultPage::btnStampaClick()
{
    auto report = SummaryReport::create();
    QStringList lines;
    lines.reserve(qsizetype(rows().size()));
    for (size_t row = 0; row < rows().size(); ++row)
        lines.append(rows().text(row));
    SummaryReport::fill(*report, m_printTitle, lines, Clock::now());
    ReportOutput::print(window(), *report);
}
