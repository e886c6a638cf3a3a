#include "SurvivorshipDialog.h"

#include "Bins.h"
#include "HideWithParent.h"
#include "Measures.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <functional>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

namespace
{

// The plots' layout, in logical pixels.
constexpr double LeftMargin = 48; // the value axis's labels
constexpr double RightMargin = 12;
constexpr double TopMargin = 10;
constexpr double BottomMargin = 36; // the time axis's labels and its name
constexpr int MostTimeTicks = 6;

const QColor ExtinctColor(0x1f, 0x4e, 0x99);
const QColor LivingColor(0x1f, 0x4e, 0x99, 90); // lighter: their durations are minimums
const QColor GridColor(0xe2, 0xe2, 0xe2);
const QColor AxisColor(0x40, 0x40, 0x40);

QString number(double value)
{
    return QLocale(QLocale::Russian).toString(value, 'g', 6);
}

// One axis of a small plot: the values at its two ends, which may run
// downwards (time in Ma, old on the left), its labelled ticks and its name.
struct Axis {
    double from = 0;
    double to = 1;
    QList<std::pair<double, QString>> ticks;
    QString name;

    double at(double value, double start, double length) const
    {
        return to == from ? start : start + (value - from) / (to - from) * length;
    }
};

// Ticks every `step` from the round value at or after `from` to `to`.
QList<std::pair<double, QString>> ticksOf(double from, double to, double step,
                                          const std::function<QString(double)> &label)
{
    QList<std::pair<double, QString>> ticks;
    const double low = std::min(from, to);
    const double high = std::max(from, to);
    for (double v = std::ceil(low / step - 1e-9) * step; v <= high + step * 1e-9; v += step)
        ticks.append({v, label(v)});
    return ticks;
}

} // namespace

// A small plot with a value axis up the left and another along the foot,
// painted by what it shows between them.
class SmallPlot : public QWidget
{
public:
    SmallPlot(const QString &name, const QString &accessible, QWidget *parent) : QWidget(parent)
    {
        setObjectName(name);
        setAccessibleName(accessible);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    QSize sizeHint() const override { return {460, 220}; }
    QSize minimumSizeHint() const override { return {260, 140}; }

protected:
    QRectF plotArea() const
    {
        return QRectF(rect()).adjusted(LeftMargin, TopMargin, -RightMargin, -BottomMargin);
    }
    QPointF point(double x, double y) const
    {
        const QRectF area = plotArea();
        return {m_x.at(x, area.left(), area.width()), m_y.at(y, area.bottom(), -area.height())};
    }
    // Sets the axes and whether there is anything to show; else `empty` is said.
    virtual bool layOut(QString &empty) = 0;
    virtual void paintValues(QPainter &painter) const = 0;

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        QString empty;
        if (!layOut(empty)) {
            painter.setPen(AxisColor);
            painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, empty);
            return;
        }
        const QRectF area = plotArea();
        const QFontMetricsF metrics(painter.font());
        for (const auto &[value, label] : m_y.ticks) {
            const double y = point(m_x.from, value).y();
            painter.setPen(QPen(GridColor, 1));
            painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
            painter.setPen(AxisColor);
            painter.drawText(QRectF(0, y - metrics.height() / 2, LeftMargin - 4, metrics.height()),
                             Qt::AlignRight | Qt::AlignVCenter, label);
        }
        for (const auto &[value, label] : m_x.ticks) {
            const double x = point(value, m_y.from).x();
            painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 3));
            painter.drawText(QRectF(x - 40, area.bottom() + 3, 80, metrics.height()),
                             Qt::AlignHCenter | Qt::AlignTop, label);
        }
        painter.drawText(QRectF(area.left(), area.bottom() + 3 + metrics.height(), area.width(),
                                metrics.height()),
                         Qt::AlignCenter, m_x.name);
        painter.setRenderHint(QPainter::Antialiasing);
        paintValues(painter);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(AxisColor, 1));
        painter.drawLine(area.bottomLeft(), area.bottomRight());
        painter.drawLine(area.bottomLeft(), area.topLeft());
    }

    Axis m_x;
    Axis m_y;
};

// The durations in classes, the extinct genera from the axis up, the living
// ones above them in a lighter shade.
class DurationPlot : public SmallPlot
{
public:
    explicit DurationPlot(QWidget *parent) : SmallPlot(u"durationPlot"_s, u"Длительности"_s, parent)
    {
    }
    void setClasses(QList<strata::DurationClass> classes)
    {
        m_classes = std::move(classes);
        update();
    }
    const QList<strata::DurationClass> &classes() const { return m_classes; }

protected:
    bool layOut(QString &empty) override
    {
        empty = u"Нет учтённых родов"_s;
        if (m_classes.isEmpty())
            return false;
        int most = 0;
        for (const strata::DurationClass &c : m_classes)
            most = std::max(most, c.extinct + c.living);
        const double width = m_classes.front().to - m_classes.front().from;
        // Every class's start labelled, or every second, fifth...: a few labels.
        const double labelStep = width * std::max(1.0, strata::niceStep(m_classes.size() / 8.0));
        m_x = {0, m_classes.back().to, ticksOf(0, m_classes.back().to, labelStep, number),
               u"Длительность, млн лет"_s};
        const double step = std::max(1.0, strata::niceStep(most / 4.0));
        const double top = std::max(step, std::ceil(most / step) * step);
        m_y = {0, top, ticksOf(0, top, step, number), {}};
        return true;
    }
    void paintValues(QPainter &painter) const override
    {
        for (const strata::DurationClass &c : m_classes) {
            const QPointF base = point(c.from, 0);
            const QPointF extinct = point(c.to, c.extinct);
            const QPointF all = point(c.to, c.extinct + c.living);
            painter.fillRect(QRectF(base, extinct).normalized().adjusted(0.5, 0, -0.5, 0),
                             ExtinctColor);
            painter.fillRect(
                QRectF(QPointF(base.x(), extinct.y()), all).normalized().adjusted(0.5, 0, -0.5, 0),
                LivingColor);
        }
    }

private:
    QList<strata::DurationClass> m_classes;
};

// The share of a cohort still there, a step over each interval's span in
// time, old on the left.
class SurvivalPlot : public SmallPlot
{
public:
    explicit SurvivalPlot(QWidget *parent)
        : SmallPlot(u"survivalPlot"_s, u"Выживание когорты"_s, parent)
    {
    }
    void setSteps(std::shared_ptr<const strata::Bins> bins, QList<strata::CohortStep> steps)
    {
        m_bins = std::move(bins);
        m_steps = std::move(steps);
        update();
    }

protected:
    bool layOut(QString &empty) override
    {
        empty = m_steps.isEmpty() ? u"Выберите интервал в таблице"_s
                                  : u"В интервале не появился ни один род"_s;
        if (!m_bins || m_steps.isEmpty() || !m_steps.front().share)
            return false;
        const double oldest = m_bins->bins().at(m_steps.front().bin).base;
        const double youngest = m_bins->bins().at(m_steps.back().bin).top;
        const double step = strata::niceStep((oldest - youngest) / MostTimeTicks);
        m_x = {oldest, youngest, ticksOf(oldest, youngest, step, formatAge), u"Время, млн лет"_s};
        m_y = {0, 1, ticksOf(0, 1, 0.25, [](double v) { return number(v * 100) + u" %"_s; }), {}};
        return true;
    }
    void paintValues(QPainter &painter) const override
    {
        QPolygonF line;
        for (const strata::CohortStep &s : m_steps) {
            const strata::Bin &bin = m_bins->bins().at(s.bin);
            line << point(bin.base, s.share.value_or(0)) << point(bin.top, s.share.value_or(0));
        }
        painter.setPen(QPen(ExtinctColor, 2));
        painter.drawPolyline(line);
    }

private:
    std::shared_ptr<const strata::Bins> m_bins;
    QList<strata::CohortStep> m_steps;
};

SurvivorshipDialog::SurvivorshipDialog(QWidget *parent)
    : QDialog(parent), m_caption(new QLabel(this)),
      m_cohortOnly(new QCheckBox(u"Только &когорта"_s, this)), m_durations(new DurationPlot(this)),
      m_survival(new SurvivalPlot(this)), m_csv(new QToolButton(this)),
      m_exportDurations(new QAction(u"Длительности родов (CSV)…"_s, this)),
      m_exportSurvival(new QAction(u"Выживание когорты (CSV)…"_s, this))
{
    setObjectName(u"survivorship"_s);
    setWindowTitle(u"Долговечность и выживание"_s);
    m_caption->setObjectName(u"survivorshipCaption"_s);
    m_caption->setWordWrap(true);
    m_caption->setTextFormat(Qt::PlainText);
    m_cohortOnly->setObjectName(u"cohortOnly"_s);
    m_cohortOnly->setToolTip(u"Длительности только родов, появившихся в выбранном интервале"_s);
    m_exportDurations->setObjectName(u"exportDurations"_s);
    m_exportSurvival->setObjectName(u"exportSurvival"_s);
    m_csv->setObjectName(u"survivorshipCsv"_s);
    m_csv->setText(u"&Записать CSV…"_s);
    m_csv->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(m_csv);
    menu->addAction(m_exportDurations);
    menu->addAction(m_exportSurvival);
    m_csv->setMenu(menu);

    auto *durationsLabel = new QLabel(
        u"Длительности: от подошвы первого интервала до кровли последнего; светлее — ныне "
        u"живущие, их длительность — нижняя граница"_s,
        this);
    durationsLabel->setWordWrap(true);
    auto *survivalLabel =
        new QLabel(u"Доля когорты, ещё живущей в каждом следующем интервале"_s, this);
    survivalLabel->setWordWrap(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cohortOnly);
    buttons->addStretch();
    buttons->addWidget(m_csv);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(durationsLabel);
    layout->addWidget(m_durations, 1);
    layout->addWidget(survivalLabel);
    layout->addWidget(m_survival, 1);
    layout->addLayout(buttons);

    connect(m_cohortOnly, &QCheckBox::toggled, this, &SurvivorshipDialog::showDurations);
    connect(m_exportDurations, &QAction::triggered, this,
            &SurvivorshipDialog::durationsExportRequested);
    connect(m_exportSurvival, &QAction::triggered, this,
            &SurvivorshipDialog::survivalExportRequested);
    setContent({});
    hideWithParent(*this);
}

void SurvivorshipDialog::setContent(SurvivorshipContent content)
{
    m_content = std::move(content);
    const strata::Survivorship *survivorship = m_content.survivorship.get();
    const bool chosen = survivorship && m_content.bins && m_content.bin >= 0 &&
                        m_content.bin < survivorship->binCount();
    m_exportDurations->setEnabled(survivorship != nullptr);
    m_exportSurvival->setEnabled(chosen);
    m_cohortOnly->setEnabled(chosen);
    showDurations();
    if (!chosen) {
        m_caption->setText(u"Выберите интервал в таблице интервалов или на графике"_s);
        m_survival->setSteps(nullptr, {});
        return;
    }
    const strata::Bin &bin = m_content.bins->bins().at(m_content.bin);
    const QList<strata::GenusSpan> cohort = survivorship->cohort(m_content.bin);
    const auto living = std::count_if(cohort.cbegin(), cohort.cend(),
                                      [](const strata::GenusSpan &g) { return g.living; });
    const qsizetype counted = survivorship->spans().size();
    m_caption->setText(u"Когорта интервала %1 — %2, %3–%4 млн лет: появились в нём %5 из %6 %7; "
                       u"ныне живущих из них: %8"_s.arg(
                           bin.code, bin.name, formatAge(bin.base), formatAge(bin.top),
                           formatValue(cohort.size(), true), formatValue(counted, true),
                           taxaAfter(counted, m_content.level), formatValue(living, true)));
    m_survival->setSteps(m_content.bins, survivorship->survival(m_content.bin));
}

// Of every genus counted, or of the cohort alone.
void SurvivorshipDialog::showDurations()
{
    const strata::Survivorship *survivorship = m_content.survivorship.get();
    if (!survivorship) {
        m_durations->setClasses({});
        return;
    }
    const bool cohort = m_cohortOnly->isEnabled() && m_cohortOnly->isChecked();
    m_durations->setClasses(strata::Survivorship::durationClasses(
        cohort ? survivorship->cohort(m_content.bin) : survivorship->spans()));
}

} // namespace fosdat::diversity
