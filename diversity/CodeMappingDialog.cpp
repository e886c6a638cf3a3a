#include "CodeMappingDialog.h"

#include "TimeScale.h"

#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStringListModel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace fosdat::diversity
{

using namespace Qt::StringLiterals;

namespace
{

enum Column { CodeColumn, EntriesColumn, KnownColumn };

} // namespace

CodeMappingDialog::CodeMappingDialog(const QList<UnknownCode> &codes,
                                     const strata::TimeScale &scale, QWidget *parent)
    : QDialog(parent), m_table(new QTableWidget(int(codes.size()), 3, this))
{
    setObjectName(u"codeMapping"_s);
    setWindowTitle(u"Сопоставить коды"_s);
    for (const strata::Unit &unit : scale.units())
        m_known << unit.code;
    auto *intro = new QLabel(u"Коды, которых нет в шкале времени. Выберите для кода известный, "
                             u"по которому считать его записи, или оставьте пустым; "
                             u"выбранное будет записано в ваш файл шкалы."_s,
                             this);
    intro->setWordWrap(true);
    m_table->setObjectName(u"codeTable"_s);
    m_table->setHorizontalHeaderLabels({u"Код"_s, u"Записей"_s, u"Считать как"_s});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One list of the scale's codes behind every row's choice: hundreds of
    // unknown codes make hundreds of rows.
    auto *known = new QStringListModel(QStringList{QString()} + m_known, this);
    for (int row = 0; row < int(codes.size()); ++row) {
        const UnknownCode &code = codes[row];
        m_table->setItem(row, CodeColumn, new QTableWidgetItem(code.code));
        auto *count = new QTableWidgetItem(QString::number(code.entries));
        count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(row, EntriesColumn, count);
        auto *choice = new QComboBox(m_table);
        choice->setEditable(true);
        choice->setInsertPolicy(QComboBox::NoInsert);
        choice->setModel(known);
        choice->completer()->setCompletionMode(QCompleter::PopupCompletion);
        choice->completer()->setCaseSensitivity(Qt::CaseSensitive);
        choice->setCurrentText(code.suggestion);
        choice->setAccessibleName(u"Считать «%1» как"_s.arg(code.code));
        m_table->setCellWidget(row, KnownColumn, choice);
    }
    m_table->resizeColumnsToContents();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"Записать"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"Отмена"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);
    resize(520, 420);
}

QList<CodeMapping> CodeMappingDialog::mappings() const
{
    QList<CodeMapping> chosen;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const auto *known = static_cast<QComboBox *>(m_table->cellWidget(row, KnownColumn));
        const QString code = known->currentText().trimmed();
        if (m_known.contains(code))
            chosen.append({m_table->item(row, CodeColumn)->text(), code});
    }
    return chosen;
}

} // namespace fosdat::diversity
