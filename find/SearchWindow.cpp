#include "SearchWindow.h"

#include "SearchResultDelegate.h"
#include "SearchResultsModel.h"
#include "WindowFront.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>
#include <utility>

namespace
{

constexpr QSize InitialSize{640, 440};
const QString AllGroups = QStringLiteral("все группы");

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// "ссылка 45", as the citing search shows what it searched.
const QRegularExpression &citingForm()
{
    static const QRegularExpression form(QStringLiteral(R"(^\s*ссылка\s+([1-9]\d{0,8})\s*$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    return form;
}

} // namespace

SearchWindow::SearchWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), m_field(new QLineEdit(this)),
      m_matchCase(new QCheckBox(QStringLiteral("С учетом регистра"), this)),
      m_wholeWords(new QCheckBox(QStringLiteral("Слово целиком"), this)),
      m_groupFilter(new QComboBox(this)), m_countLine(new QLabel(this)),
      m_export(new QPushButton(QStringLiteral("Экспорт результатов..."), this)),
      m_list(new QListView(this)), m_model(new SearchResultsModel(this))
{
    setObjectName(QStringLiteral("SearchWindow"));
    setWindowTitle(QStringLiteral("Поиск по всему каталогу"));
    setUpLayout();
    const Commands commands = setUpCommands();

    connect(m_field, &QLineEdit::textEdited, this, &SearchWindow::requestSearch);
    connect(m_matchCase, &QCheckBox::toggled, this, &SearchWindow::requestSearch);
    connect(m_wholeWords, &QCheckBox::toggled, this, &SearchWindow::requestSearch);
    connect(m_groupFilter, &QComboBox::currentIndexChanged, this, &SearchWindow::requestSearch);
    connect(m_list, &QListView::activated, this, &SearchWindow::openResult);
    connect(m_export, &QPushButton::clicked, this, &SearchWindow::exportRequested);
    connect(m_exportAction, &QAction::triggered, this, &SearchWindow::exportRequested);
    connect(commands.copy, &QAction::triggered, this, &SearchWindow::copySelection);
    connect(commands.selectAll, &QAction::triggered, m_list, &QListView::selectAll);
    connect(commands.close, &QAction::triggered, this, &QWidget::close);
    connect(m_model, &QAbstractItemModel::modelReset, this, &SearchWindow::updateExport);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &SearchWindow::updateExport);
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::setUpLayout()
{
    m_field->setObjectName(QStringLiteral("searchText"));
    m_field->setPlaceholderText(QStringLiteral("Название рода, семейства или любое слово"));
    m_field->setClearButtonEnabled(true);
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    m_wholeWords->setObjectName(QStringLiteral("wholeWords"));
    m_groupFilter->setObjectName(QStringLiteral("groupFilter"));
    m_groupFilter->addItem(AllGroups, -1);
    m_groupFilter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_countLine->setObjectName(QStringLiteral("countLine"));
    m_countLine->setTextFormat(Qt::PlainText);
    m_countLine->setWordWrap(true);
    m_export->setObjectName(QStringLiteral("exportResults"));
    m_export->setEnabled(false);
    m_list->setObjectName(QStringLiteral("resultList"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new SearchResultDelegate(m_list));
    m_list->setPalette(SearchResultDelegate::legiblePalette(m_list->palette()));
    // Rows of one height are placed without asking each for its size, so
    // thousands of them come in without delay.
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto *groupLabel = new QLabel(QStringLiteral("&Группа:"), this);
    groupLabel->setBuddy(m_groupFilter);
    auto *options = new QHBoxLayout;
    options->addWidget(m_matchCase);
    options->addWidget(m_wholeWords);
    options->addStretch();
    options->addWidget(groupLabel);
    options->addWidget(m_groupFilter);
    auto *count = new QHBoxLayout;
    count->addWidget(m_countLine, 1);
    count->addWidget(m_export, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_field);
    layout->addLayout(options);
    layout->addLayout(count);
    layout->addWidget(m_list, 1);
    setTabOrder(m_field, m_matchCase);
    setTabOrder(m_matchCase, m_wholeWords);
    setTabOrder(m_wholeWords, m_groupFilter);
    setTabOrder(m_groupFilter, m_list);
    setTabOrder(m_list, m_export);

    m_field->installEventFilter(this);
    m_list->installEventFilter(this);
    resize(InitialSize);
}

// Escape closes the window; the list's context menu copies, selects all and
// exports, with the keys it shows.
SearchWindow::Commands SearchWindow::setUpCommands()
{
    Commands commands{new QAction(this), new QAction(QStringLiteral("Копировать"), m_list),
                      new QAction(QStringLiteral("Выделить всё"), m_list)};
    commands.close->setShortcut(Qt::Key_Escape);
    commands.close->setShortcutContext(Qt::WindowShortcut);
    addAction(commands.close);
    commands.copy->setObjectName(QStringLiteral("copyResults"));
    commands.copy->setShortcut(QKeySequence::Copy);
    commands.selectAll->setObjectName(QStringLiteral("selectAllResults"));
    commands.selectAll->setShortcut(QKeySequence::SelectAll);
    for (QAction *action : {commands.copy, commands.selectAll})
        action->setShortcutContext(Qt::WidgetShortcut);
    m_exportAction = new QAction(m_export->text(), m_list);
    m_exportAction->setObjectName(QStringLiteral("exportResultsItem"));
    m_exportAction->setEnabled(false);
    m_list->addActions({commands.copy, commands.selectAll, m_exportAction});
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    return commands;
}

// The first time at the screen's right edge, beside or over the catalogue
// window's reference panel rather than over its catalogue; later where the
// user left it.
void SearchWindow::showAndFocus()
{
    if (!m_placed) {
        m_placed = true;
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            resize(size().boundedTo(area.size()));
            move(std::max(area.left(), area.right() - width() - 8),
                 area.top() + (area.height() - height()) / 3);
        }
    }
    show();
    bringWindowToFront(*this);
    m_field->setFocus(Qt::OtherFocusReason);
    m_field->selectAll();
}

void SearchWindow::setGroupCaptions(const QStringList &captions)
{
    const QSignalBlocker quiet(m_groupFilter);
    m_groupFilter->clear();
    m_groupFilter->addItem(AllGroups, -1);
    for (qsizetype row = 0; row < captions.size(); ++row)
        m_groupFilter->addItem(captions.at(row), int(row));
}

void SearchWindow::showCitingSearch(int number)
{
    {
        const QSignalBlocker quiet(m_groupFilter);
        m_groupFilter->setCurrentIndex(0);
    }
    m_field->setText(QStringLiteral("ссылка %1").arg(number));
    requestSearch();
}

fosdat::SearchQuery SearchWindow::query() const
{
    fosdat::SearchQuery query{m_field->text(), {}};
    if (m_matchCase->isChecked())
        query.flags |= QTextDocument::FindCaseSensitively;
    if (m_wholeWords->isChecked())
        query.flags |= QTextDocument::FindWholeWords;
    if (const QRegularExpressionMatch citing = citingForm().match(query.text); citing.hasMatch())
        query.citedReference = citing.captured(1).toInt();
    query.group = m_groupFilter->currentData().toInt();
    return query;
}

void SearchWindow::clearResults()
{
    m_model->clear();
}

// The first row is the current one until the user moves in the list, also
// when better ranked rows come in above it.
void SearchWindow::addResults(const fosdat::SearchResults &batch)
{
    m_model->append(batch);
    if (m_model->rowCount() > 0 && (!m_list->hasFocus() || !m_list->currentIndex().isValid()))
        m_list->setCurrentIndex(m_model->index(0));
}

void SearchWindow::showCountLine(const QString &line)
{
    m_countLine->setText(line);
}

void SearchWindow::finishSearch()
{
    m_searching = false;
    if (std::exchange(m_openFirstWhenFound, false))
        openFirstResult();
}

void SearchWindow::requestSearch()
{
    const fosdat::SearchQuery asked = query();
    m_searching = asked.isCitingSearch() || !asked.text.isEmpty();
    m_openFirstWhenFound = false;
    emit searchRequested(asked);
}

void SearchWindow::openResult(const QModelIndex &index)
{
    if (index.isValid())
        emit resultOpened(m_model->place(index.row()));
}

// Once the search has ended, so that a better ranked row still to come is
// the one opened.
void SearchWindow::openFirstResult()
{
    if (m_searching) {
        m_openFirstWhenFound = true;
        return;
    }
    if (m_model->rowCount() == 0)
        return;
    m_list->setCurrentIndex(m_model->index(0));
    m_list->setFocus(Qt::TabFocusReason);
    openResult(m_list->currentIndex());
}

bool SearchWindow::enterList()
{
    if (m_model->rowCount() == 0)
        return false;
    if (!m_list->currentIndex().isValid())
        m_list->setCurrentIndex(m_model->index(0));
    m_list->setFocus(Qt::TabFocusReason);
    return true;
}

QList<int> SearchWindow::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_list->selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<fosdat::ResultLine> SearchWindow::exportedLines() const
{
    QList<int> rows = selectedRows();
    if (rows.size() < 2) {
        rows.resize(m_model->rowCount());
        std::iota(rows.begin(), rows.end(), 0);
    }
    QList<fosdat::ResultLine> lines;
    lines.reserve(rows.size());
    for (const int row : std::as_const(rows))
        lines.append(m_model->resultLine(row));
    return lines;
}

// One row a line: the group, a tab, the catalogue line, so that a row pasted
// into a spreadsheet fills two columns: the line's own tabs and line breaks
// become spaces.
void SearchWindow::copySelection()
{
    QList<int> rows = selectedRows();
    if (rows.isEmpty() && m_list->currentIndex().isValid())
        rows.append(m_list->currentIndex().row());
    QString text;
    for (const int row : std::as_const(rows)) {
        const fosdat::ResultLine line = m_model->resultLine(row);
        text += fosdat::tabSeparatedRow({line.caption, line.line});
    }
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void SearchWindow::updateExport()
{
    m_export->setEnabled(m_model->rowCount() > 0);
    m_exportAction->setEnabled(m_model->rowCount() > 0);
}

bool SearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_field && key->key() == Qt::Key_Down)
        return enterList();
    if (watched == m_field && isEnter(key->key())) {
        openFirstResult();
        return true;
    }
    // Up from the first row goes back to the field, and so does typing.
    if (watched == m_list && key->key() == Qt::Key_Up && m_list->currentIndex().row() <= 0 &&
        !(key->modifiers() & Qt::ShiftModifier)) {
        m_field->setFocus(Qt::BacktabFocusReason);
        return true;
    }
    if (watched == m_list && !key->text().isEmpty() && key->text().at(0).isPrint() &&
        !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        m_field->setFocus(Qt::OtherFocusReason);
        QKeyEvent typed(key->type(), key->key(), key->modifiers(), key->text());
        QCoreApplication::sendEvent(m_field, &typed);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
