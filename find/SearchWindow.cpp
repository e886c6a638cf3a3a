#include "SearchWindow.h"

#include "SearchResultDelegate.h"
#include "SearchResultsModel.h"
#include "WindowFront.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace
{

constexpr QSize InitialSize{640, 440};

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

SearchWindow::SearchWindow(QWidget *parent)
    : QWidget(parent, Qt::Window), m_field(new QLineEdit(this)),
      m_matchCase(new QCheckBox(QStringLiteral("С учетом регистра"), this)),
      m_wholeWords(new QCheckBox(QStringLiteral("Слово целиком"), this)),
      m_countLine(new QLabel(this)), m_list(new QListView(this)),
      m_model(new SearchResultsModel(this))
{
    setObjectName(QStringLiteral("SearchWindow"));
    setWindowTitle(QStringLiteral("Поиск по всему каталогу"));
    setUpLayout();

    connect(m_field, &QLineEdit::textEdited, this, &SearchWindow::requestSearch);
    connect(m_matchCase, &QCheckBox::toggled, this, &SearchWindow::requestSearch);
    connect(m_wholeWords, &QCheckBox::toggled, this, &SearchWindow::requestSearch);
    connect(m_list, &QListView::activated, this, &SearchWindow::openResult);

    auto *close = new QAction(this);
    close->setShortcut(Qt::Key_Escape);
    close->setShortcutContext(Qt::WindowShortcut);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::setUpLayout()
{
    m_field->setObjectName(QStringLiteral("searchText"));
    m_field->setPlaceholderText(QStringLiteral("Название рода, семейства или любое слово"));
    m_field->setClearButtonEnabled(true);
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    m_wholeWords->setObjectName(QStringLiteral("wholeWords"));
    m_countLine->setObjectName(QStringLiteral("countLine"));
    m_countLine->setTextFormat(Qt::PlainText);
    m_countLine->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("resultList"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new SearchResultDelegate(m_list));
    // Rows of one height are placed without asking each for its size, so
    // thousands of them come in without delay.
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto *options = new QHBoxLayout;
    options->addWidget(m_matchCase);
    options->addWidget(m_wholeWords);
    options->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_field);
    layout->addLayout(options);
    layout->addWidget(m_countLine);
    layout->addWidget(m_list, 1);
    setTabOrder(m_field, m_matchCase);
    setTabOrder(m_matchCase, m_wholeWords);
    setTabOrder(m_wholeWords, m_list);

    m_field->installEventFilter(this);
    m_list->installEventFilter(this);
    resize(InitialSize);
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

QString SearchWindow::searchText() const
{
    return m_field->text();
}

QTextDocument::FindFlags SearchWindow::searchFlags() const
{
    QTextDocument::FindFlags flags;
    if (m_matchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (m_wholeWords->isChecked())
        flags |= QTextDocument::FindWholeWords;
    return flags;
}

void SearchWindow::clearResults()
{
    m_model->clear();
}

void SearchWindow::addResults(const fosdat::SearchResults &batch)
{
    const bool first = m_model->rowCount() == 0;
    m_model->append(batch);
    if (first && m_model->rowCount() > 0)
        m_list->setCurrentIndex(m_model->index(0));
}

void SearchWindow::showCountLine(const QString &line)
{
    m_countLine->setText(line);
}

void SearchWindow::requestSearch()
{
    emit searchRequested(searchText(), searchFlags());
}

void SearchWindow::openResult(const QModelIndex &index)
{
    if (index.isValid())
        emit resultOpened(m_model->place(index.row()));
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

bool SearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == m_field && key->key() == Qt::Key_Down)
        return enterList();
    if (watched == m_field && isEnter(key->key()) && enterList()) {
        openResult(m_list->currentIndex());
        return true;
    }
    // Up from the first row goes back to the field, and so does typing.
    if (watched == m_list && key->key() == Qt::Key_Up && m_list->currentIndex().row() <= 0) {
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
