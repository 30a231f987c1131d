#include "search/statisticscharts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QPainter>
#include <QValueAxis>

#include <cmath>

namespace StatisticsCharts {

namespace {

const QColor kBlue(0x2F, 0x65, 0x94);
const QColor kOrange(0xE8, 0xA3, 0x3D);
const QColor kGrey(0x9A, 0xA8, 0xB6);

// Small type: many bars and names share a chart.
QFont small(qreal points, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QBarSet *set(const QString &name, const QColor &colour, const QList<qint64> &values)
{
    auto *bars = new QBarSet(name);
    bars->setLabelFont(small(6.5));
    bars->setColor(colour);
    bars->setBorderColor(colour);
    bars->setLabelColor(Qt::black);
    for (qint64 v : values)
        bars->append(qreal(v));
    return bars;
}

// A chart of bar sets over categories, each bar with its number on it.
QChart *barChart(const QString &title, const QStringList &categories, const QList<QBarSet *> &sets, bool horizontal)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(small(8.5, true));
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    QAbstractBarSeries *series = horizontal ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries)
                                            : static_cast<QAbstractBarSeries *>(new QBarSeries);
    for (QBarSet *s : sets)
        series->append(s);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    // Upright bars carry their numbers upright too: narrow bars side by side
    // keep them apart.
    if (!horizontal)
        series->setLabelsAngle(-90);
    chart->addSeries(series);
    auto *names = new QBarCategoryAxis;
    names->append(categories);
    names->setLabelsFont(small(7));
    names->setTruncateLabels(false);
    auto *values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%d"));
    values->setLabelsFont(small(7));
    qreal most = 0;
    for (QBarSet *s : sets)
        for (int i = 0; i < s->count(); ++i)
            most = qMax(most, s->at(i));
    // Whole numbers only, and room beyond the longest bar for its number.
    const qreal top = qMax<qreal>(1, std::ceil(most * 1.3));
    // A round step: 1, 2 or 5 times a power of ten.
    const qreal rough = qMax<qreal>(1, top / 5);
    const qreal magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    const qreal residual = rough / magnitude;
    const qreal step = (residual <= 1 ? 1 : residual <= 2 ? 2 : residual <= 5 ? 5 : 10) * magnitude;
    values->setRange(0, std::ceil(top / step) * step);
    values->setTickType(QValueAxis::TicksDynamic);
    values->setTickAnchor(0);
    values->setTickInterval(step);
    chart->addAxis(names, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(values, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(names);
    series->attachAxis(values);
    chart->legend()->setVisible(sets.size() > 1);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(small(7));
    chart->setBackgroundRoundness(0);
    return chart;
}

QChart *ranked(const QString &title, const QString &setName, const QList<QPair<QString, qint64>> &rows)
{
    QStringList categories;
    QList<qint64> values;
    // Largest at the top: a horizontal chart lists its categories upwards.
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        categories << it->first;
        values << it->second;
    }
    return barChart(title, categories, {set(setName, kBlue, values)}, true);
}

} // namespace

QChart *make(Chart which, const MemberStatistics &stats, int year)
{
    switch (which) {
    case Years: {
        QStringList categories;
        QList<qint64> active, admitted, left;
        for (int y : stats.yearsUpTo(year, 10)) {
            categories << QString::number(y);
            active << stats.activeAtEndOf(y);
            admitted << stats.admittedIn(y);
            left << stats.leftIn(y);
        }
        return barChart(QStringLiteral("Soci attivi a fine anno, ammessi e cessati"), categories,
                        {set(QStringLiteral("Attivi a fine anno"), kBlue, active),
                         set(QStringLiteral("Ammessi"), kOrange, admitted), set(QStringLiteral("Cessati"), kGrey, left)},
                        false);
    }
    case AgeAndSex: {
        QStringList categories;
        std::array<QList<qint64>, MemberStatistics::SexCount> bySex;
        for (int b = 0; b < MemberStatistics::AgeBandCount; ++b) {
            categories << MemberStatistics::ageBandName(b);
            for (int s = 0; s < MemberStatistics::SexCount; ++s)
                bySex[size_t(s)] << stats.activeByAgeAndSex[size_t(b)][size_t(s)];
        }
        return barChart(QStringLiteral("Soci attivi per fascia di età"), categories,
                        {set(QStringLiteral("Donne"), kOrange, bySex[MemberStatistics::Women]),
                         set(QStringLiteral("Uomini"), kBlue, bySex[MemberStatistics::Men]),
                         set(MemberStatistics::Unknown, kGrey, bySex[MemberStatistics::SexUnknown])},
                        false);
    }
    case Qualifications:
        return ranked(QStringLiteral("Soci attivi per qualifica"), QStringLiteral("Soci attivi"),
                      MemberStatistics::largest(stats.activeByQualification, 10, true));
    case Towns:
    case ChartCount:
        break;
    }
    return ranked(QStringLiteral("Soci per città di residenza"), QStringLiteral("Soci"),
                  MemberStatistics::largest(stats.byTown, 10, false));
}

std::unique_ptr<Report::Template> page(const MemberStatistics &stats, int year, const QDate &reference)
{
    auto report = std::make_unique<Report::Template>(QStringLiteral("Statistiche soci"), QPageLayout::Portrait,
                                                     QMarginsF(10, 10, 10, 10));
    Report::Template &r = *report;
    r.addText(QStringLiteral("txtTitolo"), {0, 0, 190, 9}, QStringLiteral("Arial"), 16, true, Qt::AlignCenter,
              QColor(0x1F, 0x3B, 0x57))
        ->setText(QStringLiteral("Statistiche soci"));
    r.addText(QStringLiteral("txtSottotitolo"), {0, 9, 190, 6}, QStringLiteral("Arial"), 10, false, Qt::AlignCenter,
              Qt::black)
        ->setText(QStringLiteral("Anno %1 - situazione al %2").arg(year).arg(reference.toString(QStringLiteral("dd/MM/yyyy"))));
    const QList<QPair<QString, qint64>> figures = {
        {QStringLiteral("Soci in archivio"), stats.total},
        {QStringLiteral("Soci attivi"), stats.active},
        {QStringLiteral("Soci cessati"), stats.ceased},
        {QStringLiteral("Ammessi nel %1").arg(year), stats.admittedIn(year)},
        {QStringLiteral("Cessati nel %1").arg(year), stats.leftIn(year)},
        {QStringLiteral("Da ricontattare"), stats.toRecontact},
    };
    static const char *const names[] = {"txtTotale", "txtAttivi", "txtCessati", "txtAmmessiAnno", "txtCessatiAnno",
                                        "txtRicontattare"};
    for (int i = 0; i < figures.size(); ++i) {
        const QRectF box(i % 3 * 64.0, 19 + i / 3 * 12.0, 62, 10);
        Report::Object *o = r.addText(QString::fromLatin1(names[i]), box, QStringLiteral("Arial"), 11, true,
                                      Qt::AlignCenter, Qt::black);
        o->fill = QColor(0xEE, 0xF4, 0xF9);
        o->frame = QColor(0xC8, 0xD6, 0xE3);
        o->setText(figures.at(i).first + QStringLiteral(": ") + QString::number(figures.at(i).second));
    }
    // The four charts, two by two, drawn as vectors.
    for (int c = 0; c < ChartCount; ++c) {
        const QRectF frame(c % 2 * 96.0, 46 + c / 2 * 116.0, 94, 112);
        Report::Object *o = r.addObject(Report::Object::Drawing, QStringLiteral("imgGrafico%1").arg(c + 1), frame);
        o->draw = [stats, year, c](QPainter &painter, const QRectF &mm) {
            QGraphicsScene scene;
            QChart *chart = make(Chart(c), stats, year);
            scene.addItem(chart);
            // Drawn at five scene units to the millimetre (the size the
            // window shows), then fitted: the texts come out at about five points.
            const QSizeF size = mm.size() * 5;
            chart->setGeometry(QRectF(QPointF(0, 0), size));
            scene.setSceneRect(QRectF(QPointF(0, 0), size));
            scene.render(&painter, mm, scene.sceneRect());
        };
    }
    return report;
}

} // namespace StatisticsCharts
