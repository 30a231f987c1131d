#include "statistics/statisticscharts.h"
#include "base/formats.h"

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

// The sizes of a chart's type, in points as they come out on screen or
// on paper.
struct Type
{
    qreal title, names, values;
};
constexpr Type kScreen{8.5, 7, 6};
constexpr Type kPaper{11, 8.5, 8.5};

// On paper a chart is drawn at this many scene units to the millimetre and
// its type set in scene units, so that its printed size does not depend on
// the screen.
constexpr qreal kPaperUnitsPerMm = 5;

QFont font(qreal points, Medium medium, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    if (medium == Medium::Paper)
        f.setPixelSize(qRound(points * kPaperUnitsPerMm * 25.4 / 72));
    else
        f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

const Type &typeOf(Medium medium)
{
    return medium == Medium::Paper ? kPaper : kScreen;
}

QBarSet *set(const QString &name, const QColor &colour, const QList<qint64> &values, Medium medium)
{
    auto *bars = new QBarSet(name);
    bars->setLabelFont(font(typeOf(medium).values, medium));
    bars->setColor(colour);
    bars->setBorderColor(colour);
    bars->setLabelColor(Qt::black);
    for (qint64 v : values)
        bars->append(qreal(v));
    return bars;
}

// A chart of bar sets over categories, each bar with its number on it.
QChart *barChart(const QString &title, const QStringList &categories, const QList<QBarSet *> &sets, bool horizontal,
                 Medium medium)
{
    const Type &type = typeOf(medium);
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(font(type.title, medium, true));
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    QAbstractBarSeries *series = horizontal ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries)
                                            : static_cast<QAbstractBarSeries *>(new QBarSeries);
    for (QBarSet *s : sets)
        series->append(s);
    // Bars side by side fill their category: each is as thick as it can be,
    // so that the numbers at the ends of neighbouring bars do not meet.
    series->setBarWidth(0.95);
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
    names->setLabelsFont(font(type.names, medium));
    names->setTruncateLabels(false);
    auto *values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%d"));
    values->setLabelsFont(font(type.names, medium));
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
    chart->legend()->setFont(font(type.names, medium));
    chart->setBackgroundRoundness(0);
    return chart;
}

QChart *ranked(const QString &title, const QString &setName, const QList<QPair<QString, qint64>> &rows, Medium medium)
{
    QStringList categories;
    QList<qint64> values;
    // Largest at the top: a horizontal chart lists its categories upwards.
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        categories << it->first;
        values << it->second;
    }
    return barChart(title, categories, {set(setName, kBlue, values, medium)}, true, medium);
}

} // namespace

QChart *make(Chart which, const MemberStatistics &stats, Medium medium)
{
    using Stats = MemberStatistics;
    const QString then = Stats::onDay(stats.reference);
    switch (which) {
    case Years: {
        QStringList categories;
        QList<qint64> active, admitted, left;
        const QList<int> years = stats.yearsUpTo(10);
        for (int y : years) {
            categories << QString::number(y);
            active << stats.activeAtEndOf(y);
            admitted << stats.admittedIn(y);
            left << stats.leftIn(y);
        }
        const QString span = years.size() > 1 ? QStringLiteral("%1-%2").arg(years.first()).arg(years.last())
                                              : QString::number(stats.year);
        const QString activeName = stats.year >= stats.today.year()
            ? QStringLiteral("Attivi a fine anno (il %1 %2)").arg(stats.today.year()).arg(Stats::onDay(stats.today))
            : QStringLiteral("Attivi a fine anno");
        return barChart(QStringLiteral("Soci attivi, ammessi e cessati, %1").arg(span), categories,
                        {set(activeName, kBlue, active, medium), set(QStringLiteral("Ammessi"), kOrange, admitted, medium),
                         set(QStringLiteral("Cessati"), kGrey, left, medium)},
                        false, medium);
    }
    case AgeAndSex: {
        // Across, for the bands' names to have room; the youngest at the top.
        QStringList categories;
        std::array<QList<qint64>, Stats::SexCount> bySex;
        for (int b = Stats::AgeBandCount - 1; b >= 0; --b) {
            categories << Stats::ageBandName(b);
            for (int s = 0; s < Stats::SexCount; ++s)
                bySex[size_t(s)] << stats.activeByAgeAndSex[size_t(b)][size_t(s)];
        }
        return barChart(QStringLiteral("Soci attivi %1 per fascia di età").arg(then), categories,
                        {set(QStringLiteral("Donne"), kOrange, bySex[Stats::Women], medium),
                         set(QStringLiteral("Uomini"), kBlue, bySex[Stats::Men], medium),
                         set(Stats::Unknown, kGrey, bySex[Stats::SexUnknown], medium)},
                        true, medium);
    }
    case Qualifications:
        return ranked(QStringLiteral("Soci attivi %1 per qualifica").arg(then), QStringLiteral("Soci attivi"),
                      Stats::largest(stats.activeByQualification, 10, true), medium);
    case Towns:
    case ChartCount:
        break;
    }
    return ranked(QStringLiteral("Soci in archivio %1 per località").arg(Stats::onDay(stats.today)),
                  QStringLiteral("Soci"), stats.towns(10), medium);
}

std::unique_ptr<Report::Template> page(const MemberStatistics &stats)
{
    using Stats = MemberStatistics;
    auto report = std::make_unique<Report::Template>(QStringLiteral("Statistiche soci"), QPageLayout::Portrait,
                                                     QMarginsF(10, 10, 10, 10));
    Report::Template &r = *report;
    r.addText(QStringLiteral("txtTitolo"), {0, 0, 190, 9}, QStringLiteral("Arial"), 16, true, Qt::AlignCenter,
              QColor(0x1F, 0x3B, 0x57))
        ->setText(QStringLiteral("Statistiche soci"));
    r.addText(QStringLiteral("txtSottotitolo"), {0, 9, 190, 6}, QStringLiteral("Arial"), 10, false, Qt::AlignCenter,
              Qt::black)
        ->setText(QStringLiteral("Anno %1 - situazione %2 - stampato il %3")
                      .arg(stats.year)
                      .arg(Stats::onDay(stats.reference), Formats::shortDate(stats.today)));
    const QList<Stats::Figure> all = stats.headline();
    for (int i = 0; i < all.size(); ++i) {
        const QRectF box(i % 3 * 64.0, 17 + i / 3 * 13.0, 62, 12);
        Report::Object *o = r.addText(QString::fromLatin1(all.at(i).name), box, QStringLiteral("Arial"), 10, true,
                                      Qt::AlignCenter, Qt::black);
        o->fill = QColor(0xEE, 0xF4, 0xF9);
        o->frame = QColor(0xC8, 0xD6, 0xE3);
        o->setText(all.at(i).caption() + u'\n' + QString::number(all.at(i).value));
    }
    // The four charts drawn as vectors: the years and the ages across the
    // page (their bars come in threes), the qualifications and the towns
    // side by side below.
    const QRectF frames[ChartCount] = {{0, 46, 190, 70}, {0, 120, 190, 84}, {0, 208, 94, 69}, {96, 208, 94, 69}};
    for (int c = 0; c < ChartCount; ++c) {
        const QRectF &frame = frames[c];
        Report::Object *o = r.addObject(Report::Object::Drawing, QStringLiteral("imgGrafico%1").arg(c + 1), frame);
        o->draw = [stats, c](QPainter &painter, const QRectF &mm) {
            QGraphicsScene scene;
            QChart *chart = make(Chart(c), stats, Medium::Paper);
            scene.addItem(chart);
            const QSizeF size = mm.size() * kPaperUnitsPerMm;
            chart->setGeometry(QRectF(QPointF(0, 0), size));
            scene.setSceneRect(QRectF(QPointF(0, 0), size));
            scene.render(&painter, mm, scene.sceneRect());
        };
    }
    return report;
}

} // namespace StatisticsCharts
