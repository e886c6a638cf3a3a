#include "DiversityWindow.h"

#include "DiversityPlot.h"
#include "FigureExport.h"
#include "GenusListModel.h"
#include "GroupChecklist.h"
#include "GroupTable.h"
#include "ListCopy.h"
#include "Measures.h"
#include "NotCountedModel.h"
#include "RangeChartWindow.h"
#include "RangeTables.h"
#include "StageTableModel.h"
#include "SurvivorshipDialog.h"
#include "TaxonTree.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

namespace
{

constexpr QSize InitialSize{1200, 800};
constexpr int ShownGroupNames = 4; // in a title; the rest are counted

// A text of the window's in Russian, or for a figure labelled so in English.
QString inLanguage(bool english, const QString &russian, const QString &inEnglish)
{
    return english ? inEnglish : russian;
}

QString thousands(qsizetype number)
{
    return QLocale(QLocale::Russian).toString(number);
}

QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &text, bool checked)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

QTreeView *entryList(QWidget *parent, const QString &name, QAbstractItemModel *model)
{
    auto *list = new QTreeView(parent);
    list->setObjectName(name);
    list->setModel(model);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setStretchLastSection(true);
    addCopyCommands(*list);
    list->header()->resizeSection(0, 150);
    list->header()->resizeSection(1, 140);
    return list;
}

// Each value of a series over the series's greatest, its errors alike; the
// greatest, or 0 where there is no positive value and nothing changes.
double toShares(QList<std::optional<double>> &values, QList<std::optional<double>> &errors)
{
    double greatest = 0;
    for (const std::optional<double> &value : values)
        greatest = std::max(greatest, value.value_or(0));
    if (greatest <= 0)
        return 0;
    for (QList<std::optional<double>> *list : {&values, &errors}) {
        for (std::optional<double> &value : *list) {
            if (value)
                *value /= greatest;
        }
    }
    return greatest;
}

// Every series of the figure as shares of its own greatest value, so that
// the courses of unlike groups compare; the part and the band as shares of
// the first series's.
void showAsShares(FigureContent &content)
{
    const double greatest = toShares(content.values, content.errors);
    QList<std::optional<double>> none;
    if (content.second)
        toShares(content.second->values, content.second->errors);
    for (FigureSeries &series : content.series)
        toShares(series.values, series.errors);
    for (QList<std::optional<double>> *list :
         {&content.bandLow, &content.bandHigh, content.part ? &content.part->values : &none}) {
        for (std::optional<double> &value : *list) {
            if (value && greatest > 0)
                *value /= greatest;
        }
    }
    content.measure += content.english ? u", share of its maximum"_s : u", доля от максимума"_s;
    content.wholeNumbers = false;
}

} // namespace

DiversityWindow::DiversityWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), m_filterText(new QLineEdit(this)),
      m_matchCase(checkBox(this, u"matchCase"_s, u"С учетом регистра"_s, false)),
      m_wholeWords(checkBox(this, u"wholeWords"_s, u"Слово целиком"_s, false)),
      m_binKind(new QComboBox(this)), m_level(new QComboBox(this)), m_measure(new QComboBox(this)),
      m_logScale(checkBox(this, u"logScale"_s, u"Логарифмическая шкала"_s, false)),
      m_splitLiving(checkBox(this, u"splitLiving"_s, u"Вымершие и живущие"_s, false)),
      m_showRange(checkBox(this, u"showRange"_s, u"Пределы"_s, false)),
      m_shareOfMaximum(checkBox(this, u"shareOfMaximum"_s, u"Доля от максимума"_s, false)),
      m_seriesButton(new QToolButton(this)), m_addSeries(new QAction(u"Добавить серию"_s, this)),
      m_oldestMa(new QSpinBox(this)), m_youngestMa(new QSpinBox(this)),
      m_countUncertain(
          checkBox(this, u"countUncertain"_s, u"диапазоны под вопросом («?»)"_s, true)),
      m_countPeriodOnly(
          checkBox(this, u"countPeriodOnly"_s, u"указанные только периодом («K», «l-K»)"_s, false)),
      m_countLiving(checkBox(this, u"countLiving"_s, u"ныне живущие роды"_s, true)),
      m_exportButton(new QToolButton(this)), m_mapCodes(new QPushButton(u"Сопоставить…"_s, this)),
      m_mapCodesItem(new QAction(u"Сопоставить…"_s, this)),
      m_chartButton(new QPushButton(u"Диаграмма…"_s, this)), m_groups(new GroupChecklist(this)),
      m_plot(new DiversityPlot(this)), m_tabs(new QTabWidget(this)),
      m_stageTable(new QTableView(this)), m_stageModel(new StageTableModel(this)),
      m_notCountedModel(new NotCountedModel(this)), m_taxonTree(new TaxonTree(this)),
      m_genusCaption(new QLabel(this)), m_genusModel(new GenusListModel(this)),
      m_statusLine(new QLabel(this))
{
    setObjectName(u"DiversityWindow"_s);
    setWindowTitle(u"Разнообразие во времени"_s);
    m_notCountedList = entryList(this, u"notCountedList"_s, m_notCountedModel);
    m_genusList = entryList(this, u"genusList"_s, m_genusModel);
    m_genusList->setRootIsDecorated(false);
    setUpControls();
    setUpLayout();
    setUpExports();
    m_recount.setSingleShot(true);
    m_recount.setInterval(0);

    connect(&m_recount, &QTimer::timeout, this, &DiversityWindow::recount);
    connect(m_filterText, &QLineEdit::textChanged, this, &DiversityWindow::changeTextFilter);
    connect(m_matchCase, &QCheckBox::toggled, this, &DiversityWindow::changeTextFilter);
    connect(m_wholeWords, &QCheckBox::toggled, this, &DiversityWindow::changeTextFilter);
    connect(m_groups, &GroupChecklist::groupsChanged, &m_recount, qOverload<>(&QTimer::start));
    for (QCheckBox *option :
         {m_countUncertain, m_countPeriodOnly, m_countLiving, m_splitLiving, m_showRange})
        connect(option, &QCheckBox::toggled, &m_recount, qOverload<>(&QTimer::start));
    connect(m_binKind, &QComboBox::currentIndexChanged, &m_recount, qOverload<>(&QTimer::start));
    connect(m_level, &QComboBox::currentIndexChanged, &m_recount, qOverload<>(&QTimer::start));
    connect(m_measure, &QComboBox::currentIndexChanged, this, &DiversityWindow::showMeasure);
    connect(m_logScale, &QCheckBox::toggled, this, &DiversityWindow::showMeasure);
    connect(m_shareOfMaximum, &QCheckBox::toggled, this, &DiversityWindow::showMeasure);
    connect(m_addSeries, &QAction::triggered, this, &DiversityWindow::addSeries);
    for (QSpinBox *end : {m_oldestMa, m_youngestMa})
        connect(end, &QSpinBox::valueChanged, this, &DiversityWindow::showMeasure);
    connect(m_plot, &DiversityPlot::stageClicked, this, &DiversityWindow::chooseStage);
    connect(m_stageTable->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &DiversityWindow::showStage);
    connect(m_genusList, &QTreeView::activated, this,
            [this](const QModelIndex &index) { openEntry(m_genusModel->entryAt(index.row())); });
    connect(m_notCountedList, &QTreeView::activated, this,
            [this](const QModelIndex &index) { openEntry(m_notCountedModel->entryAt(index)); });
    connect(m_tabs, &QTabWidget::currentChanged, this, &DiversityWindow::showNotCounted);
    connect(m_mapCodes, &QPushButton::clicked, this, &DiversityWindow::mapUnknownCodes);
    connect(m_mapCodesItem, &QAction::triggered, this, &DiversityWindow::mapUnknownCodes);
    connect(m_chartButton, &QPushButton::clicked, this, &DiversityWindow::chartRanges);
    connect(m_taxonTree, &TaxonTree::genusActivated, this, &DiversityWindow::openGenus);
    connect(m_taxonTree, &TaxonTree::taxonActivated, this, &DiversityWindow::listTaxon);
    connect(m_taxonTree, &TaxonTree::taxonCharted, this, &DiversityWindow::chartTaxon);
    connect(m_exportButton->menu(), &QMenu::triggered, this, [this](QAction *action) {
        if (action->data().isValid()) // not a size of the figure
            emit exportRequested(DiversityExport(action->data().toInt()));
    });

    auto *close = new QAction(this);
    close->setShortcut(Qt::Key_Escape);
    close->setShortcutContext(Qt::WindowShortcut);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

DiversityWindow::~DiversityWindow() = default;

void DiversityWindow::setUpControls()
{
    m_filterText->setObjectName(u"filterText"_s);
    m_filterText->setPlaceholderText(u"Семейство, отряд или любое слово записи"_s);
    m_filterText->setClearButtonEnabled(true);
    m_filterText->setAccessibleName(u"Текст в записях"_s);
    m_binKind->setObjectName(u"binKind"_s);
    m_binKind->setAccessibleName(u"Интервалы"_s);
    const std::tuple<strata::BinKind, QString, QString> kinds[] = {
        {strata::BinKind::Units, u"единицы каталога"_s,
         u"Самые крупные интервалы, не разрезающие ни одного подразделения, которое пишут "
         u"учтённые роды: региональные подразделения считаются как есть, а не по ярусам"_s},
        {strata::BinKind::Stages, u"ярусы"_s, u"Ярусы общей шкалы"_s},
        {strata::BinKind::Epochs, u"отделы"_s, u"Нижняя, средняя и верхняя части периодов"_s},
        {strata::BinKind::Periods, u"периоды"_s, u"Периоды"_s},
        {strata::BinKind::TenMyr, u"по 10 млн лет"_s,
         u"Ряды ярусов около 10 млн лет, по границам ярусов"_s},
    };
    for (const auto &[kind, name, description] : kinds) {
        m_binKind->addItem(name, int(kind));
        m_binKind->setItemData(m_binKind->count() - 1, description, Qt::ToolTipRole);
    }
    // The names a figure labelled in English gives them.
    const QString inEnglish[] = {u"the catalogue's units"_s, u"stages"_s, u"series"_s, u"periods"_s,
                                 u"10 Myr"_s};
    for (int i = 0; i < m_binKind->count(); ++i)
        m_binKind->setItemData(i, inEnglish[i], Qt::UserRole + 1);
    m_level->setObjectName(u"taxonLevel"_s);
    m_level->setAccessibleName(u"Уровень"_s);
    m_level->addItem(u"роды"_s, int(strata::TaxonLevel::Genus));
    m_level->addItem(u"семейства"_s, int(strata::TaxonLevel::Family));
    m_level->addItem(u"отряды"_s, int(strata::TaxonLevel::Order));
    m_level->setToolTip(u"Считать роды, семейства или отряды: диапазон семейства (отряда) — "
                        u"объединение диапазонов его учтённых родов в группе"_s);
    m_measure->setObjectName(u"measure"_s);
    m_measure->setAccessibleName(u"Мера"_s);
    for (const Measure &measure : measures())
        m_measure->addItem(measure.name);
    for (int i = 0; i < m_measure->count(); ++i)
        m_measure->setItemData(i, measures()[i].description, Qt::ToolTipRole);
    m_plot->setStageDescription([this](int stage) { return describeStage(stage); });
    constexpr int EarthAge = 4600; // Ma
    for (QSpinBox *end : {m_oldestMa, m_youngestMa}) {
        end->setRange(0, EarthAge);
        end->setSuffix(u" млн лет"_s);
    }
    m_oldestMa->setObjectName(u"oldestMa"_s);
    m_oldestMa->setSpecialValueText(u"древнейшего рода"_s);
    m_oldestMa->setAccessibleName(u"Время от"_s);
    m_youngestMa->setObjectName(u"youngestMa"_s);
    m_youngestMa->setAccessibleName(u"Время до"_s);
    m_splitLiving->setToolTip(u"Вымершие и ныне живущие роды (с «Rec») разными оттенками: "
                              u"живущие поднимают кайнозой, что каталог записал до наших дней"_s);
    m_showRange->setToolTip(u"Полоса от числа без диапазонов с «?» до числа с диапазонами, "
                            u"указанными только периодом (по всему периоду)"_s);
    m_shareOfMaximum->setToolTip(u"Каждая серия — доля от своего наибольшего значения, чтобы "
                                 u"сравнивать ход кривых разных групп"_s);
    m_seriesButton->setObjectName(u"seriesButton"_s);
    m_seriesButton->setText(u"&Серии"_s);
    m_seriesButton->setPopupMode(QToolButton::InstantPopup);
    m_seriesButton->setMenu(new QMenu(m_seriesButton));
    m_seriesButton->setToolTip(
        u"Сравнить до %1 выборок групп и текста на одном графике"_s.arg(MaxSeries));
    m_addSeries->setObjectName(u"addSeries"_s);
    m_addSeries->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    m_addSeries->setShortcutContext(Qt::WindowShortcut);
    m_addSeries->setToolTip(u"Оставить выбранные группы и текст на графике как серию"_s);
    addAction(m_addSeries);

    m_stageTable->setObjectName(u"stageTable"_s);
    m_stageTable->setModel(m_stageModel);
    m_stageTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_stageTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_stageTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_stageTable->verticalHeader()->hide();
    m_stageTable->verticalHeader()->setDefaultSectionSize(m_stageTable->fontMetrics().height() + 6);
    m_stageTable->horizontalHeader()->setDefaultSectionSize(110);
    m_notCountedList->setObjectName(u"notCountedList"_s);
    m_genusCaption->setObjectName(u"genusCaption"_s);
    m_chartButton->setObjectName(u"rangeChartButton"_s);
    m_chartButton->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_chartButton->setToolTip(u"Диаграмма распространения (Ctrl+G): выбранные роды списка, "
                              u"если выбрано несколько, иначе все роды списка, а без "
                              u"выбранного интервала — все учтённые"_s);
    m_chartButton->setEnabled(false);
    m_genusCaption->setWordWrap(true);
    m_genusCaption->setTextFormat(Qt::PlainText);
    m_statusLine->setObjectName(u"statusLine"_s);
    m_statusLine->setTextFormat(Qt::PlainText);
    m_statusLine->setText(u"Чтение каталогов…"_s);
}

void DiversityWindow::setUpLayout()
{
    auto *filters = new QHBoxLayout;
    auto *textLabel = new QLabel(u"&Текст:"_s, this);
    textLabel->setBuddy(m_filterText);
    auto *binsLabel = new QLabel(u"&Интервалы:"_s, this);
    binsLabel->setBuddy(m_binKind);
    auto *measureLabel = new QLabel(u"&Мера:"_s, this);
    measureLabel->setBuddy(m_measure);
    filters->addWidget(textLabel);
    filters->addWidget(m_filterText, 1);
    filters->addWidget(m_matchCase);
    filters->addWidget(m_wholeWords);
    filters->addSpacing(16);
    filters->addWidget(measureLabel);
    filters->addWidget(m_measure);
    filters->addWidget(m_exportButton);

    auto *options = new QHBoxLayout;
    options->addWidget(new QLabel(u"Учитывать:"_s, this));
    for (QCheckBox *option : {m_countUncertain, m_countPeriodOnly, m_countLiving})
        options->addWidget(option);
    options->addSpacing(16);
    auto *levelLabel = new QLabel(u"&Уровень:"_s, this);
    levelLabel->setBuddy(m_level);
    options->addWidget(levelLabel);
    options->addWidget(m_level);
    options->addWidget(binsLabel);
    options->addWidget(m_binKind);
    options->addStretch();
    auto *display = new QHBoxLayout;
    display->addWidget(new QLabel(u"Показать:"_s, this));
    for (QCheckBox *shown : {m_logScale, m_splitLiving, m_showRange, m_shareOfMaximum})
        display->addWidget(shown);
    display->addWidget(m_seriesButton);
    display->addStretch();
    auto *fromLabel = new QLabel(u"&Время: от"_s, this);
    fromLabel->setBuddy(m_oldestMa);
    display->addWidget(fromLabel);
    display->addWidget(m_oldestMa);
    display->addWidget(new QLabel(u"до"_s, this));
    display->addWidget(m_youngestMa);

    m_tabs->setObjectName(u"tabs"_s);
    m_tabs->addTab(m_stageTable, u"Интервалы"_s);
    m_tabs->addTab(m_notCountedList, u"Не учтено"_s);
    m_tabs->addTab(m_taxonTree, u"Систематика"_s);
    m_tabs->setTabToolTip(2, u"Группы, классы, отряды, семейства и роды каталогов"_s);
    m_tabs->setTabToolTip(1, u"Записи, которые нельзя поместить во время, по причинам"_s);
    m_mapCodes->setObjectName(u"mapCodes"_s);
    m_mapCodes->setToolTip(u"Считать неизвестные коды ярусов как известные: записать это "
                           u"в свой файл шкалы времени"_s);
    m_mapCodes->setEnabled(false);
    m_tabs->setCornerWidget(m_mapCodes, Qt::TopRightCorner);
    m_mapCodesItem->setObjectName(u"mapCodesItem"_s);
    m_mapCodesItem->setEnabled(false);
    m_notCountedList->addAction(m_mapCodesItem);
    m_survivorshipButton = new QPushButton(u"&Долговечность и выживание…"_s, this);
    m_survivorshipButton->setObjectName(u"survivorshipButton"_s);
    m_survivorshipButton->setToolTip(u"Длительности учтённых родов и выживание родов, "
                                     u"появившихся в выбранном интервале"_s);
    m_survivorshipItem = new QAction(u"Долговечность и выживание…"_s, this);
    m_survivorshipItem->setObjectName(u"survivorshipItem"_s);
    m_stageTable->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_stageTable->addAction(m_survivorshipItem);
    connect(m_survivorshipButton, &QPushButton::clicked, this, &DiversityWindow::showSurvivorship);
    connect(m_survivorshipItem, &QAction::triggered, this, &DiversityWindow::showSurvivorship);
    auto *genera = new QWidget(this);
    auto *generaLayout = new QVBoxLayout(genera);
    generaLayout->setContentsMargins(0, 0, 0, 0);
    auto *captionRow = new QHBoxLayout;
    captionRow->addWidget(m_genusCaption, 1);
    captionRow->addWidget(m_chartButton, 0, Qt::AlignTop);
    captionRow->addWidget(m_survivorshipButton, 0, Qt::AlignTop);
    generaLayout->addLayout(captionRow);
    generaLayout->addWidget(m_genusList, 1);

    auto *lists = new QSplitter(Qt::Horizontal, this);
    lists->addWidget(m_tabs);
    lists->addWidget(genera);
    lists->setStretchFactor(0, 1);
    lists->setStretchFactor(1, 1);
    auto *right = new QSplitter(Qt::Vertical, this);
    right->addWidget(m_plot);
    right->addWidget(lists);
    right->setStretchFactor(0, 3);
    right->setStretchFactor(1, 2);
    auto *main = new QSplitter(Qt::Horizontal, this);
    main->addWidget(m_groups);
    main->addWidget(right);
    main->setStretchFactor(1, 1);
    main->setSizes({220, 980});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(options);
    layout->addLayout(display);
    layout->addWidget(main, 1);
    layout->addWidget(m_statusLine);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(InitialSize.boundedTo(screen->availableGeometry().size() * 0.9));
    else
        resize(InitialSize);
}

void DiversityWindow::setUpExports()
{
    m_exportButton->setObjectName(u"exportButton"_s);
    m_exportButton->setText(u"&Экспорт"_s);
    m_exportButton->setPopupMode(QToolButton::InstantPopup);
    m_exportButton->setEnabled(false);
    auto *menu = new QMenu(m_exportButton);
    const std::pair<DiversityExport, QString> items[] = {
        {DiversityExport::StageTable, u"Таблица интервалов (CSV)..."_s},
        {DiversityExport::GenusList, u"Список родов (CSV)..."_s},
        {DiversityExport::Svg, u"Рисунок (SVG)..."_s},
        {DiversityExport::Png, u"Рисунок (PNG)..."_s},
        {DiversityExport::Pdf, u"Рисунок (PDF)..."_s},
    };
    static const char *const names[] = {"exportStages", "exportGenera", "exportSvg", "exportPng",
                                        "exportPdf"};
    for (const auto &[kind, text] : items) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1StringView(names[int(kind)]));
        action->setData(int(kind));
        if (kind == DiversityExport::GenusList)
            m_exportGenera = action;
    }
    m_exportGenera->setEnabled(false);

    // The size of the figures on paper; their texts keep their sizes.
    menu->addSeparator();
    QMenu *sizes = menu->addMenu(u"Размер рисунка"_s);
    auto *choice = new QActionGroup(sizes);
    const std::tuple<FigureSize, QString, const char *> presets[] = {
        {JournalColumn, u"Колонка журнала, %1 × %2 мм"_s, "figureColumn"},
        {PageWidth, u"Ширина страницы, %1 × %2 мм"_s, "figurePage"},
        {Slide, u"Слайд, %1 × %2 мм"_s, "figureSlide"},
    };
    for (const auto &[size, text, name] : presets) {
        QAction *action = sizes->addAction(text.arg(size.widthMm).arg(size.heightMm));
        action->setObjectName(QLatin1StringView(name));
        action->setCheckable(true);
        action->setChecked(size.widthMm == m_figureSize.widthMm);
        choice->addAction(action);
        connect(action, &QAction::triggered, this, [this, size] { m_figureSize = size; });
    }
    // The language of the figures' own texts.
    QMenu *languages = menu->addMenu(u"Язык подписей"_s);
    auto *language = new QActionGroup(languages);
    for (const auto &[english, text, name] : {std::tuple{false, u"Русский"_s, "labelsRussian"},
                                              std::tuple{true, u"English"_s, "labelsEnglish"}}) {
        QAction *action = languages->addAction(text);
        action->setObjectName(QLatin1StringView(name));
        action->setCheckable(true);
        action->setChecked(english == m_englishFigures);
        language->addAction(action);
        connect(action, &QAction::triggered, this, [this, english] { m_englishFigures = english; });
    }
    m_exportButton->setMenu(menu);
}

void DiversityWindow::setCatalogue(GenusCatalogue catalogue)
{
    const bool first = !m_catalogue;
    m_catalogue = std::make_shared<const GenusCatalogue>(std::move(catalogue));
    m_textFilter.setCatalogue(m_catalogue.get());
    for (ComparedSeries &series : m_series)
        series.text.setCatalogue(m_catalogue.get());
    m_taxonTree->setCatalogue(m_catalogue);
    m_exportButton->setEnabled(true);
    m_chartButton->setEnabled(true);
    recount();
    listSeriesInMenu();
    if (first)
        m_stageTable->resizeColumnsToContents();
}

quint64 DiversityWindow::generation() const
{
    return m_catalogue ? m_catalogue->source->generation() : 0;
}

void DiversityWindow::changeTextFilter()
{
    QTextDocument::FindFlags flags;
    if (m_matchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (m_wholeWords->isChecked())
        flags |= QTextDocument::FindWholeWords;
    m_textFilter.setMatcher(TextMatcher(m_filterText->text(), flags));
    m_recount.start();
}

strata::CountOptions DiversityWindow::options() const
{
    return {m_countUncertain->isChecked(), m_countPeriodOnly->isChecked(),
            m_countLiving->isChecked()};
}

strata::TaxonLevel DiversityWindow::taxonLevel() const
{
    return strata::TaxonLevel(m_level->currentData().toInt());
}

strata::BinKind DiversityWindow::binKind() const
{
    return strata::BinKind(m_binKind->currentData().toInt());
}

int DiversityWindow::measureIndex() const
{
    return std::max(0, m_measure->currentIndex());
}

DiversityWindow::Selection DiversityWindow::select(strata::EntryFilter filter) const
{
    const strata::TaxonLevel level = taxonLevel();
    if (level == strata::TaxonLevel::Genus)
        return {m_catalogue, std::move(filter), {}};
    // Families and orders are made of the genera the filters admit, and
    // counted without them; their lists show the taxa.
    Selection selection;
    for (const strata::GenusEntry &entry : m_catalogue->entries) {
        if (filter.admits(entry))
            selection.admitted.append(entry);
    }
    GenusCatalogue taxa = *m_catalogue;
    taxa.entries = strata::taxaOf(selection.admitted, level, options());
    selection.counted = std::make_shared<const GenusCatalogue>(std::move(taxa));
    return selection;
}

// The counts anew, and everything that shows them.
void DiversityWindow::recount()
{
    m_recount.stop();
    if (!m_catalogue)
        return;
    strata::EntryFilter filter;
    filter.groups = m_groups->checkedGroups();
    if (m_textFilter.isActive())
        filter.accepts = [this](const strata::GenusEntry &entry) {
            return m_textFilter.accepts(entry);
        };
    const strata::TimeScale &scale = *m_catalogue->scale;
    const strata::CountOptions chosen = options();
    const strata::TaxonLevel level = taxonLevel();
    const Selection current = select(std::move(filter));
    m_counted = current.counted;
    QList<Selection> compared;
    for (const ComparedSeries &series : m_series) {
        strata::EntryFilter kept{series.groups, {}};
        if (series.text.isActive())
            kept.accepts = [&text = series.text](const strata::GenusEntry &entry) {
                return text.accepts(entry);
            };
        compared.append(select(std::move(kept)));
    }
    // Bins of the units any selection compared writes.
    QList<int> written =
        strata::writtenUnits(current.counted->entries, scale, current.filter, chosen);
    for (const Selection &other : compared)
        written += strata::writtenUnits(other.counted->entries, scale, other.filter, chosen);
    std::sort(written.begin(), written.end());
    written.erase(std::unique(written.begin(), written.end()), written.end());
    auto bins = std::make_shared<const strata::Bins>(scale, binKind(), written);
    // The same intervals keep the one chosen; others choose none. The bins
    // are always the new ones: they place ranges by the units of this
    // scale.
    if (!m_bins || m_bins->bins() != bins->bins() || m_bins->stageCount() != bins->stageCount())
        m_stage = -1;
    m_bins = std::move(bins);
    const QList<strata::GenusEntry> &counted = m_counted->entries;
    // Under other options a family is the union of other genera.
    const auto countWith = [&](strata::CountOptions with) {
        if (level == strata::TaxonLevel::Genus)
            return std::make_shared<const strata::StageCounts>(counted, *m_bins, current.filter,
                                                               with);
        return std::make_shared<const strata::StageCounts>(
            strata::taxaOf(current.admitted, level, with), *m_bins, current.filter, with);
    };
    m_counts =
        std::make_shared<const strata::StageCounts>(counted, *m_bins, current.filter, chosen);
    for (qsizetype i = 0; i < m_series.size(); ++i)
        m_series[i].counts = std::make_shared<const strata::StageCounts>(
            compared[i].counted->entries, *m_bins, compared[i].filter, chosen);
    m_extinct = m_splitLiving->isChecked() && chosen.living
                    ? countWith({chosen.uncertain, chosen.periodOnly, false})
                    : nullptr;
    const bool range = m_showRange->isChecked();
    m_fewest = range ? countWith({false, false, chosen.living}) : nullptr;
    m_most = range ? countWith({true, true, chosen.living}) : nullptr;
    m_notCountedInPeriods = strata::notCountedInPeriods(*m_counts, counted, scale, *m_bins);
    m_stageModel->setCounts(m_catalogue->scale, m_bins, m_counts);
    showMeasure();
    const QString notCounted = notReadWhole();
    m_statusLine->setText(notCounted.isEmpty() ? totals() : totals() + u'\n' + notCounted);
    m_tabs->setTabText(1, u"Не учтено (%1)"_s.arg(thousands(m_counts->notCounted().size())));
    const bool unknownCodes =
        std::any_of(m_counts->notCounted().cbegin(), m_counts->notCounted().cend(),
                    [](const strata::StageCounts::NotCounted &n) {
                        return n.reason == strata::Reason::UnknownStage;
                    });
    m_mapCodes->setEnabled(unknownCodes);
    m_mapCodesItem->setEnabled(unknownCodes);
    m_notCountedShown = false;
    showNotCounted();
}

// The measure chosen, plotted; the genera behind its count listed.
void DiversityWindow::showMeasure()
{
    m_listed = measures()[measureIndex()].listed;
    m_plot->setContent(figureContent());
    showSeries();
    listGenera();
}

// The current groups and text kept as a series, unless as many are compared
// as a figure holds.
void DiversityWindow::addSeries()
{
    if (!m_counts || m_series.size() >= MaxSeries - 1)
        return;
    m_series.append({selectionName(false), selectionName(true), m_groups->checkedGroups(),
                     m_textFilter, nullptr});
    recount();
    listSeriesInMenu();
}

void DiversityWindow::removeSeries(int series)
{
    if (series < 0)
        m_series.clear();
    else if (series < m_series.size())
        m_series.removeAt(series);
    recount();
    listSeriesInMenu();
}

// The series in the table, a column each under the measure chosen.
void DiversityWindow::showSeries()
{
    QList<StageTableModel::Series> columns;
    for (const ComparedSeries &series : m_series)
        columns.append({series.name, series.counts});
    m_stageModel->setSeries(columns, measureIndex());
}

// The series in the menu, each to be taken away, once they change.
void DiversityWindow::listSeriesInMenu()
{
    QMenu *menu = m_seriesButton->menu();
    menu->clear();
    menu->addAction(m_addSeries);
    m_addSeries->setEnabled(m_counts && m_series.size() < MaxSeries - 1);
    if (m_series.isEmpty())
        return;
    menu->addSeparator();
    for (int i = 0; i < int(m_series.size()); ++i) {
        QAction *remove = menu->addAction(u"Убрать «%1»"_s.arg(m_series[i].name));
        remove->setObjectName(u"removeSeries%1"_s.arg(i));
        connect(remove, &QAction::triggered, this, [this, i] { removeSeries(i); });
    }
    QAction *all = menu->addAction(u"Убрать все серии"_s);
    all->setObjectName(u"removeAllSeries"_s);
    connect(all, &QAction::triggered, this, [this] { removeSeries(-1); });
}

FigureContent DiversityWindow::figureContent(bool english) const
{
    FigureContent content;
    const Measure &measure = measures()[measureIndex()];
    content.english = english;
    content.measure = english ? englishName(measure) : measure.name;
    content.wholeNumbers = measure.isCount();
    content.logarithmic = m_logScale->isChecked();
    content.selected = m_stage;
    if (!m_counts)
        return content;
    content.scale = m_catalogue->scale;
    content.bins = m_bins;
    // From the oldest interval with a counted genus of any series, unless
    // chosen.
    if (m_oldestMa->value() > 0)
        content.oldest = m_oldestMa->value();
    for (int bin = 0; !content.oldest && bin < m_counts->stageCount(); ++bin) {
        bool counted = m_counts->count(bin, strata::Count::Genera) > 0;
        for (const ComparedSeries &series : m_series)
            counted = counted || series.counts->count(bin, strata::Count::Genera) > 0;
        if (counted)
            content.oldest = m_bins->bins().at(bin).base;
    }
    content.youngest = m_youngestMa->value();
    bool shortBin = false; // a bin shorter than a million years
    for (int stage = 0; stage < m_counts->stageCount(); ++stage) {
        content.values.append(measureValue(measure, *m_counts, stage));
        if (measure.rate)
            content.errors.append(m_counts->rateError(stage, *measure.rate));
        shortBin = shortBin || m_bins->bins().at(stage).duration() < 1;
    }
    if (measure.pairedRate) {
        content.valuesName = inLanguage(english, u"Появление (p)"_s, u"Origination (p)"_s);
        FigureSeries extinction{
            inLanguage(english, u"Вымирание (q)"_s, u"Extinction (q)"_s), {}, {}};
        for (int stage = 0; stage < m_counts->stageCount(); ++stage) {
            extinction.values.append(m_counts->rate(stage, *measure.pairedRate));
            extinction.errors.append(m_counts->rateError(stage, *measure.pairedRate));
        }
        content.second = std::move(extinction);
    }
    if (m_extinct && measure.isCount()) {
        content.part = FigureSeries{inLanguage(english, u"вымершие"_s, u"extinct"_s), {}, {}};
        content.restName = inLanguage(english, u"ныне живущие"_s, u"living"_s);
        for (int stage = 0; stage < m_extinct->stageCount(); ++stage)
            content.part->values.append(measureValue(measure, *m_extinct, stage));
    }
    for (int stage = 0; m_fewest && m_most && stage < m_counts->stageCount(); ++stage) {
        const std::optional<double> a = measureValue(measure, *m_fewest, stage);
        const std::optional<double> b = measureValue(measure, *m_most, stage);
        content.bandLow.append(a && b ? std::min(*a, *b) : std::optional<double>());
        content.bandHigh.append(a && b ? std::max(*a, *b) : std::optional<double>());
    }
    for (const ComparedSeries &series : m_series) {
        FigureSeries line{english ? series.englishName : series.name, {}, {}};
        for (int stage = 0; stage < series.counts->stageCount(); ++stage) {
            line.values.append(measureValue(measure, *series.counts, stage));
            if (measure.rate)
                line.errors.append(series.counts->rateError(stage, *measure.rate));
        }
        if (measure.pairedRate)
            line.name += u" (p)"_s;
        content.series.append(std::move(line));
    }
    if (!m_series.isEmpty())
        content.valuesName = selectionName(english) + (measure.pairedRate ? u" (p)"_s : u""_s);
    if (m_shareOfMaximum->isChecked())
        showAsShares(content);
    content.notCounted = m_notCountedInPeriods;
    content.title = title(english);
    content.totals = totals(english);
    if (measure.isPerMyr() && shortBin)
        content.totals += inLanguage(english, u" · пусто: интервалы короче 1 млн лет"_s,
                                     u" · empty: intervals shorter than 1 Myr"_s);
    if (!m_catalogue->source->texts()->unread().isEmpty() ||
        !m_catalogue->source->texts()->cut().isEmpty())
        content.totals += inLanguage(english, u" · каталоги прочитаны не все или не целиком"_s,
                                     u" · not every catalogue read whole"_s);
    return content;
}

// The groups and the text chosen, in words.
QString DiversityWindow::selectionName(bool english) const
{
    const QStringList names = m_groups->checkedNames();
    QString groups = names.isEmpty() ? inLanguage(english, u"Все группы"_s, u"All groups"_s)
                                     : names.mid(0, ShownGroupNames).join(u", ");
    if (names.size() > ShownGroupNames)
        groups += inLanguage(english, u" и ещё %1"_s, u" and %1 more"_s)
                      .arg(names.size() - ShownGroupNames);
    if (m_groups->checkedGroups().count(true) == 0)
        groups = inLanguage(english, u"Ни одной группы"_s, u"No group"_s);
    if (m_textFilter.isActive())
        groups += inLanguage(english, u" · записи с «%1»"_s, u" · entries with “%1”"_s)
                      .arg(m_filterText->text());
    return groups;
}

QString DiversityWindow::title(bool english) const
{
    QString groups = selectionName(english);
    // The options that differ from the usual ones.
    if (!m_countUncertain->isChecked())
        groups += inLanguage(english, u" · без диапазонов под вопросом"_s,
                             u" · without ranges with “?”"_s);
    if (m_countPeriodOnly->isChecked())
        groups += inLanguage(english, u" · с диапазонами только по периоду"_s,
                             u" · with period-only ranges"_s);
    if (!m_countLiving->isChecked())
        groups += inLanguage(english, u" · без ныне живущих"_s, u" · without living genera"_s);
    if (taxonLevel() == strata::TaxonLevel::Family)
        groups += inLanguage(english, u" · семейства"_s, u" · families"_s);
    if (taxonLevel() == strata::TaxonLevel::Order)
        groups += inLanguage(english, u" · отряды"_s, u" · orders"_s);
    if (binKind() != strata::BinKind::Units)
        groups += inLanguage(english, u" · интервалы: "_s, u" · intervals: "_s) +
                  (english ? m_binKind->currentData(Qt::UserRole + 1).toString()
                           : m_binKind->currentText());
    return groups;
}

QString DiversityWindow::totals(bool english) const
{
    if (!m_counts)
        return {};
    const qsizetype admitted = m_counts->admitted();
    if (english) {
        const QLocale locale(QLocale::English);
        const QString taxa[] = {u"genera"_s, u"families"_s, u"orders"_s};
        return u"%1 of %2 %3 counted"_s.arg(locale.toString(m_counts->counted().size()),
                                            locale.toString(admitted), taxa[int(taxonLevel())]);
    }
    return u"Учтено %1 из %2 %3"_s.arg(thousands(m_counts->counted().size()), thousands(admitted),
                                       taxaAfter(admitted, taxonLevel()));
}

// The catalogues whose entries are not all counted because their files could
// not be read whole: which, and how much of each was left out.
QString DiversityWindow::notReadWhole() const
{
    const catalogue::CataloguesPtr &texts = m_catalogue->source->texts();
    QStringList lines;
    for (int group : texts->unread())
        lines << u"%1: файл не прочитан, его роды не учтены"_s.arg(catalogue::captionOf(group));
    for (int group : texts->cut()) {
        const catalogue::CatalogueText &text = texts->at(group);
        lines << u"%1: файл слишком велик, учтено только его начало (не прочитано знаков: %2, "
                 u"абзацев: %3)"_s.arg(catalogue::captionOf(group), thousands(text.leftOut),
                                       thousands(text.leftOutParagraphs));
    }
    return lines.join(u'\n');
}

// A click on a stage of the plot chooses its row in the table, under the
// measure plotted, and goes to the list of its genera.
void DiversityWindow::chooseStage(int stage)
{
    m_tabs->setCurrentWidget(m_stageTable);
    const QModelIndex cell = m_stageModel->index(stage, StageTableModel::columnOf(measureIndex()));
    // Into sight by its row: the columns stay where the user scrolled them.
    m_stageTable->setAutoScroll(false);
    m_stageTable->setCurrentIndex(cell);
    m_stageTable->setAutoScroll(true);
    m_stageTable->scrollTo(m_stageModel->index(stage, std::max(0, m_stageTable->columnAt(0))));
    m_genusList->setFocus(Qt::OtherFocusReason);
    if (m_genusModel->rowCount() > 0)
        m_genusList->setCurrentIndex(m_genusModel->index(0, 0));
}

// The table's current cell gives the stage, and its column the count whose
// genera are listed: a count's own, or the plotted measure's.
void DiversityWindow::showStage(const QModelIndex &current)
{
    m_stage = current.isValid() ? current.row() : -1;
    const Measure *measure = StageTableModel::measureOf(current.column());
    m_listed = (measure ? *measure : measures()[measureIndex()]).listed;
    m_plot->setSelectedStage(m_stage);
    listGenera();
}

void DiversityWindow::listGenera()
{
    const bool chosen = m_counts && m_stage >= 0 && m_stage < m_counts->stageCount();
    m_exportGenera->setEnabled(chosen);
    m_survivorshipButton->setEnabled(chosen);
    m_survivorshipItem->setEnabled(chosen);
    updateSurvivorship();
    if (!chosen) {
        m_genusModel->setGenera(m_counted, {});
        m_genusCaption->setText(u"Роды интервала: выберите интервал на графике или в таблице"_s);
        return;
    }
    m_genusModel->setGenera(m_counted, m_counts->genera(m_stage, m_listed));
    const strata::Bin &bin = m_bins->bins().at(m_stage);
    m_genusCaption->setText(u"%1 — %2, %3–%4 млн лет. %5: %6"_s.arg(
        bin.code, bin.name, formatAge(bin.base), formatAge(bin.top), countName(m_listed),
        thousands(m_genusModel->rowCount())));
}

// The list of what is not counted is made when its tab is shown.
void DiversityWindow::showNotCounted()
{
    if (m_tabs->currentWidget() != m_notCountedList || m_notCountedShown || !m_counts)
        return;
    m_notCountedShown = true;
    m_notCountedModel->setGroups(
        m_counted, strata::groupNotCounted(*m_counts, m_counted->entries, *m_catalogue->scale));
    for (int row = 0; row < m_notCountedModel->rowCount(); ++row)
        m_notCountedList->setFirstColumnSpanned(row, {}, true);
}

// The unknown stage codes of the entries not counted, each once with its
// entries and suggestion, most entries first, in a dialog; what is chosen
// there is handed on.
void DiversityWindow::mapUnknownCodes()
{
    if (!m_counts)
        return;
    QList<UnknownCode> codes;
    for (const strata::ReasonGroup &group :
         strata::groupNotCounted(*m_counts, m_counted->entries, *m_catalogue->scale)) {
        if (group.reason != strata::Reason::UnknownStage)
            continue;
        const auto same = std::find_if(codes.begin(), codes.end(),
                                       [&](const UnknownCode &c) { return c.code == group.code; });
        if (same != codes.end()) {
            same->entries += int(group.entries.size());
            continue;
        }
        codes.append({group.code, int(group.entries.size()),
                      group.suggestion ? group.suggestion->code : QString()});
    }
    auto *dialog = new CodeMappingDialog(codes, *m_catalogue->scale, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        if (const QList<CodeMapping> chosen = dialog->mappings(); !chosen.isEmpty())
            emit codesMapped(chosen);
    });
    dialog->open();
}

// The dialog of the interval chosen, made on first use; its exports are the
// window's.
void DiversityWindow::showSurvivorship()
{
    if (!m_survivorship) {
        m_survivorship = new SurvivorshipDialog(this);
        connect(m_survivorship, &SurvivorshipDialog::durationsExportRequested, this,
                [this] { emit exportRequested(DiversityExport::Durations); });
        connect(m_survivorship, &SurvivorshipDialog::survivalExportRequested, this,
                [this] { emit exportRequested(DiversityExport::Survivorship); });
    }
    m_survivorship->show();
    m_survivorship->raise();
    m_survivorship->activateWindow();
    updateSurvivorship();
}

// While shown, the dialog follows the counts, made anew only with them, and
// the interval chosen.
void DiversityWindow::updateSurvivorship()
{
    if (!m_survivorship || !m_survivorship->isVisible())
        return;
    std::shared_ptr<const strata::Survivorship> made = m_survivorship->content().survivorship;
    if (m_survivorship->content().counts != m_counts)
        made = m_counts ? std::make_shared<const strata::Survivorship>(m_counted->entries,
                                                                       *m_counts, *m_bins)
                        : nullptr;
    m_survivorship->setContent({m_bins, m_counts, std::move(made), m_stage, taxonLevel()});
}

// A genus opens in the catalogue; a family or an order lists its genera:
// the genera counted again, filtered by its name.
void DiversityWindow::openEntry(int entry)
{
    if (!m_counted || entry < 0 || entry >= m_counted->entries.size())
        return;
    const strata::GenusEntry &e = m_counted->entries.at(entry);
    const strata::Reason unnamed = taxonLevel() == strata::TaxonLevel::Family
                                       ? strata::Reason::NoFamily
                                       : strata::Reason::NoOrder;
    if (taxonLevel() != strata::TaxonLevel::Genus && e.placement.reason != unnamed) {
        listTaxon(e.genus().toString());
        return;
    }
    emit genusOpened(GenusPlace::of(e));
}

// A genus of the catalogue's entries, whatever is counted, opens.
void DiversityWindow::openGenus(int entry)
{
    if (!m_catalogue || entry < 0 || entry >= m_catalogue->entries.size())
        return;
    const strata::GenusEntry &e = m_catalogue->entries.at(entry);
    emit genusOpened(GenusPlace::of(e));
}

// The genera of a family or an order, counted: its name as a whole word in
// the text filter, at the genus level, in the table of intervals.
void DiversityWindow::listTaxon(const QString &name)
{
    m_wholeWords->setChecked(true);
    m_filterText->setText(name);
    m_level->setCurrentIndex(0);
    m_tabs->setCurrentWidget(m_stageTable);
}

// The range chart of the genera in the list: the rows selected if several
// are, else all listed; with no interval chosen, every genus counted. Each
// bar runs from the base of the first interval its genus is counted in to
// the top of its last, so that the chart is no finer than the counts.
void DiversityWindow::chartRanges()
{
    if (!m_counts)
        return;
    QList<int> entries;
    QString source;
    QString sourceInEnglish;
    const QModelIndexList selected = m_genusList->selectionModel()->selectedRows();
    if (selected.size() > 1) {
        for (const QModelIndex &row : selected)
            entries.append(m_genusModel->entryAt(row.row()));
        source = u"выбранные в списке"_s;
        sourceInEnglish = u"chosen in the list"_s;
    } else if (m_genusModel->rowCount() > 0) {
        entries = m_genusModel->entries();
        const strata::Bin &bin = m_bins->bins().at(m_stage);
        source = u"%1: %2"_s.arg(bin.code, countName(m_listed));
        sourceInEnglish = bin.code;
    } else {
        entries = m_counts->counted();
        source = u"все учтённые"_s;
        sourceInEnglish = u"all counted"_s;
    }
    chart(entries, source, sourceInEnglish);
}

// The genera of a family or an order, counted as its list shows them, charted.
void DiversityWindow::chartTaxon(const QString &name)
{
    listTaxon(name);
    recount();
    if (m_counts)
        chart(m_counts->counted(), name, name);
}

// A bar for each entry counted of `entries`, in a window of its own.
void DiversityWindow::chart(const QList<int> &entries, const QString &source,
                            const QString &sourceInEnglish)
{
    m_charted = m_counted;
    RangeChartContent content;
    content.scale = m_catalogue->scale;
    if (m_oldestMa->value() > 0)
        content.oldest = m_oldestMa->value();
    content.youngest = m_youngestMa->value();
    for (int entry : entries) {
        const strata::GenusEntry &e = m_charted->entries.at(entry);
        if (!e.placement.isPlaced())
            continue;
        const auto [first, last] = m_bins->binsOf(e.placement);
        content.bars.append({entry, e.genus().toString(), e.family().toString(),
                             m_bins->bins().at(first).base, m_bins->bins().at(last).top,
                             e.placement.extant, e.placement.uncertain});
    }
    content.title = title() + u" · "_s + source;
    content.totals = u"Полос: %1"_s.arg(thousands(content.bars.size()));
    if (!m_rangeChart) {
        m_rangeChart = new RangeChartWindow(this);
        connect(m_rangeChart, &RangeChartWindow::entryOpened, this, &DiversityWindow::openCharted);
        connect(m_rangeChart, &RangeChartWindow::exportRequested, this, [this](ChartFormat format) {
            emit exportRequested(DiversityExport(int(DiversityExport::RangeSvg) + int(format)));
        });
    }
    const QString englishTotals =
        u"%1 bars"_s.arg(QLocale(QLocale::English).toString(content.bars.size()));
    m_rangeChart->setChart(std::move(content), title(true) + u" · "_s + sourceInEnglish,
                           englishTotals);
    m_rangeChart->show();
    m_rangeChart->raise();
    m_rangeChart->activateWindow();
}

// A bar of the chart opens its entry in the catalogue: a genus's own, a
// family's (an order's) first genus's.
void DiversityWindow::openCharted(int entry)
{
    if (m_charted && entry >= 0 && entry < m_charted->entries.size())
        emit genusOpened(GenusPlace::of(m_charted->entries.at(entry)));
}

QString DiversityWindow::describeStage(int stage) const
{
    if (!m_counts || stage < 0 || stage >= m_counts->stageCount())
        return {};
    const strata::TimeScale &scale = *m_catalogue->scale;
    const strata::Bin &bin = m_bins->bins().at(stage);
    QStringList lines{
        u"%1 — %2 (%3)"_s.arg(bin.code, bin.name,
                              strata::joinedNames(scale.stages().at(bin.first).period,
                                                  scale.stages().at(bin.last).period)),
        u"%1–%2 млн лет"_s.arg(formatAge(bin.base), formatAge(bin.top))};
    // What the interval holds: the codes the entries write, the chart's
    // stages; a long list in part, as a tooltip does not wrap.
    const auto listed = [](const QString &codes) {
        constexpr int Shown = 10;
        const QStringList all = codes.split(u' ', Qt::SkipEmptyParts);
        return all.size() <= Shown
                   ? codes
                   : all.mid(0, Shown).join(u' ') + u" и ещё %1"_s.arg(all.size() - Shown);
    };
    if (const QString units = m_bins->unitsIn(scale, stage); !units.isEmpty())
        lines << u"Пишут: %1"_s.arg(listed(units));
    if (bin.first != bin.last || bin.code != scale.stages().at(bin.first).code)
        lines << u"Ярусы: %1"_s.arg(listed(m_bins->stagesIn(scale, stage)));
    for (strata::Count count : {strata::Count::Genera, strata::Count::FirstAppearances,
                                strata::Count::LastAppearances, strata::Count::SingleStage})
        lines << u"%1: %2"_s.arg(countName(count), thousands(m_counts->count(stage, count)));
    if (stage == m_counts->stageCount() - 1)
        lines << youngestLastAppearancesNote();
    if (const int unknown = m_notCountedInPeriods.value(stage); unknown > 0)
        lines << u"Не учтено с неизвестным ярусом этого периода: %1"_s.arg(thousands(unknown));
    const Measure &measure = measures()[measureIndex()];
    if (!measure.isCount()) {
        const QString value = measureText(measure, *m_counts, stage);
        lines << u"%1: %2"_s.arg(measure.name,
                                 value.isEmpty() || value == u" / "_s ? u"не определена"_s : value);
    }
    return lines.join(u'\n');
}

QByteArray DiversityWindow::exportBytes(DiversityExport kind) const
{
    if (!m_counts)
        return {};
    const strata::TimeScale &scale = *m_catalogue->scale;
    FigureContent figure = figureContent(m_englishFigures);
    figure.selected = -1;
    switch (kind) {
    case DiversityExport::StageTable: {
        // The measure chosen of every series compared, a column each.
        const Measure &measure = measures()[measureIndex()];
        QList<strata::ExtraColumn> series;
        for (const ComparedSeries &kept : m_series) {
            strata::ExtraColumn column{u"%1: %2"_s.arg(measure.name, kept.name), {}};
            for (int stage = 0; stage < kept.counts->stageCount(); ++stage)
                column.values.append(measureValue(measure, *kept.counts, stage));
            series.append(std::move(column));
        }
        return binKind() == strata::BinKind::Stages
                   ? strata::stageTable(*m_counts, scale, series)
                   : strata::binTable(*m_counts, scale, *m_bins, series);
    }
    case DiversityExport::GenusList: {
        // The genera listed, as a table of their own: counted again alone,
        // under the same options, every one of them is counted.
        QList<strata::GenusEntry> listed;
        for (int entry : m_genusModel->entries())
            listed.append(m_counted->entries.at(entry));
        QStringList captions;
        for (const data::Group &group : data::GroupTable)
            captions << group.caption.toString();
        return strata::genusTable(listed, strata::StageCounts(listed, scale, {}, options()), scale,
                                  captions);
    }
    case DiversityExport::Svg:
        return figureSvg(figure, m_figureSize);
    case DiversityExport::Png:
        return figurePng(figure, m_figureSize);
    case DiversityExport::Pdf:
        return figurePdf(figure, m_figureSize);
    case DiversityExport::RangeSvg:
        return m_rangeChart ? rangeChartSvg(m_rangeChart->content(m_englishFigures), m_figureSize)
                            : QByteArray();
    case DiversityExport::RangePng:
        return m_rangeChart ? rangeChartPng(m_rangeChart->content(m_englishFigures), m_figureSize)
                            : QByteArray();
    case DiversityExport::RangePdf:
        return m_rangeChart ? rangeChartPdf(m_rangeChart->content(m_englishFigures), m_figureSize)
                            : QByteArray();
    case DiversityExport::Durations:
    case DiversityExport::Survivorship: {
        const int chosen = m_stage < m_counts->stageCount() ? m_stage : -1;
        const strata::Survivorship survivorship(m_counted->entries, *m_counts, *m_bins);
        if (kind == DiversityExport::Durations)
            return strata::durationTable(m_counted->entries, survivorship, *m_bins, chosen);
        return chosen < 0 ? QByteArray() : strata::survivalTable(survivorship, *m_bins, chosen);
    }
    }
    return {};
}

QString DiversityWindow::exportName(DiversityExport kind) const
{
    switch (kind) {
    case DiversityExport::StageTable:
        return binKind() == strata::BinKind::Stages ? u"ярусы.csv"_s : u"интервалы.csv"_s;
    case DiversityExport::GenusList:
        return m_counts && m_stage >= 0 ? u"роды-%1.csv"_s.arg(m_bins->bins().at(m_stage).code)
                                        : u"роды.csv"_s;
    case DiversityExport::Svg:
        return u"разнообразие.svg"_s;
    case DiversityExport::Png:
        return u"разнообразие.png"_s;
    case DiversityExport::Pdf:
        return u"разнообразие.pdf"_s;
    case DiversityExport::RangeSvg:
        return u"распространение.svg"_s;
    case DiversityExport::RangePng:
        return u"распространение.png"_s;
    case DiversityExport::RangePdf:
        return u"распространение.pdf"_s;
    case DiversityExport::Durations:
        return u"длительности.csv"_s;
    case DiversityExport::Survivorship:
        return m_counts && m_stage >= 0 ? u"выживание-%1.csv"_s.arg(m_bins->bins().at(m_stage).code)
                                        : u"выживание.csv"_s;
    }
    return {};
}

} // namespace fosdat::diversity
