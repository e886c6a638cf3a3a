#include "RangeChartWindow.h"

#include "HideWithParent.h"
#include "RangeChartView.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

RangeChartWindow::RangeChartWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), m_caption(new QLabel(this)), m_order(new QComboBox(this)),
      m_export(new QToolButton(this)), m_view(new RangeChartView(this))
{
    setObjectName(u"rangeChart"_s);
    setWindowTitle(u"Диаграмма распространения"_s);
    m_caption->setObjectName(u"rangeCaption"_s);
    m_caption->setTextFormat(Qt::PlainText);
    m_order->setObjectName(u"rangeOrder"_s);
    m_order->setAccessibleName(u"Порядок"_s);
    m_order->addItem(u"по первому появлению"_s, int(RangeOrder::FirstAppearance));
    m_order->addItem(u"по семействам"_s, int(RangeOrder::Family));
    m_export->setObjectName(u"rangeExport"_s);
    m_export->setText(u"&Экспорт"_s);
    m_export->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(m_export);
    const std::tuple<ChartFormat, QString, const char *> formats[] = {
        {ChartFormat::Svg, u"Рисунок (SVG)..."_s, "rangeSvg"},
        {ChartFormat::Png, u"Рисунок (PNG)..."_s, "rangePng"},
        {ChartFormat::Pdf, u"Рисунок (PDF)..."_s, "rangePdf"},
    };
    for (const auto &[format, text, name] : formats) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1StringView(name));
        connect(action, &QAction::triggered, this,
                [this, format] { emit exportRequested(format); });
    }
    m_export->setMenu(menu);

    auto *controls = new QHBoxLayout;
    controls->addWidget(m_caption, 1);
    auto *orderLabel = new QLabel(u"&Порядок:"_s, this);
    orderLabel->setBuddy(m_order);
    controls->addWidget(orderLabel);
    controls->addWidget(m_order);
    controls->addWidget(m_export);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_view, 1);
    resize(900, 700);

    connect(m_order, &QComboBox::currentIndexChanged, this, &RangeChartWindow::order);
    connect(m_view, &RangeChartView::barActivated, this,
            [this](int bar) { emit entryOpened(m_view->content().bars.value(bar).entry); });
    auto *close = new QAction(this);
    close->setShortcut(Qt::Key_Escape);
    close->setShortcutContext(Qt::WindowShortcut);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    hideWithParent(*this);
}

void RangeChartWindow::setChart(RangeChartContent content, const QString &englishTitle,
                                const QString &englishTotals)
{
    m_englishTitle = englishTitle;
    m_englishTotals = englishTotals;
    const QLocale russian(QLocale::Russian);
    const auto count = [&](auto test) {
        return russian.toString(std::count_if(content.bars.cbegin(), content.bars.cend(), test));
    };
    m_caption->setText(u"Полос: %1 · ныне живущих: %2 · под вопросом: %3"_s.arg(
        russian.toString(content.bars.size()), count([](const RangeBar &b) { return b.extant; }),
        count([](const RangeBar &b) { return b.uncertain; })));
    m_view->setContent(std::move(content));
    order();
}

// The bars in the order chosen, from the first.
void RangeChartWindow::order()
{
    RangeChartContent content = m_view->content();
    sortBars(content.bars, RangeOrder(m_order->currentData().toInt()));
    content.byFamily = RangeOrder(m_order->currentData().toInt()) == RangeOrder::Family;
    m_view->setContent(std::move(content));
}

RangeChartContent RangeChartWindow::content(bool english) const
{
    RangeChartContent content = m_view->content();
    content.hovered = -1;
    content.english = english;
    if (english) {
        content.title = m_englishTitle;
        content.totals = m_englishTotals;
    }
    return content;
}

} // namespace fosdat::diversity
