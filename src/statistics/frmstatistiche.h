#pragma once

#include "report/reporttemplate.h"
#include "statistics/memberstatistics.h"

#include <QDialog>
#include <QFutureWatcher>

#include <array>
#include <memory>
#include <optional>

class QChartView;
class QComboBox;
class QLabel;
class QPushButton;

// The members at a glance, for the annual assembly: six headline figures and
// four charts for a chosen year, each saying the day or year it describes;
// printed, previewed or exported as the tables behind the charts. The
// archive is read on a worker thread when the window opens, the window
// showing that it is busy; another year's figures come from what was read.
class TfrmStatistiche : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmStatistiche(QWidget *parent = nullptr);
    ~TfrmStatistiche() override;

    // The figures, once computed.
    const std::optional<MemberStatistics> &statistics() const { return m_stats; }
    int year() const;
    Report::Template *report() const { return m_report.get(); }

signals:
    // The figures are computed and shown (or the archive could not be read).
    void ready();

public slots:
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdEsportaCsvClick();
    void cmdMancantiClick();
    void cmdChiudiClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void compute();
    // The archive read: the figures shown, or the failure told.
    void read();
    void showFigures();
    // The template filled with the figures of the chosen year.
    Report::Template &filledReport();

    std::optional<MemberRoll> m_roll;      // the archive, read once
    std::optional<MemberStatistics> m_stats; // the chosen year's figures
    QFutureWatcher<std::optional<MemberRoll>> m_reading;
    std::unique_ptr<Report::Template> m_report;
    std::array<QLabel *, 6> m_captions{};
    std::array<QLabel *, 6> m_figures{};
    std::array<QChartView *, 4> m_charts{};
    QComboBox *cmbAnno = nullptr;
    QLabel *lblAttendere = nullptr;
    QLabel *lblQuote = nullptr;
    std::array<QPushButton *, 4> m_outputs{};
};
