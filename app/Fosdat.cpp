#include "Fosdat.h"

#include "DataFiles.h"
#include "DataPaths.h"
#include "GroupTable.h"
#include "ResumeNext.h"
#include "SoundCue.h"
#include "UserDialogs.h"
#include "ui_Fosdat.h"

#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>

Q_LOGGING_CATEGORY(lcSteps, "fosdat.steps", QtWarningMsg)

using namespace fosdat;

namespace
{
const QString AppTitle = QStringLiteral("база данных Тарвина");
} // namespace

Fosdat::Fosdat(SoundCue &sound, UserDialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::Fosdat>()), m_sound(sound), m_dialogs(dialogs)
{
    ui->setupUi(this);

    // Only a choice from the list loads a group: no completion while typing,
    // and Enter in the edit field chooses nothing.
    ui->Combo1->setCompleter(nullptr);
    ui->Combo1->setCurrentIndex(-1); // the edit field starts empty
    ui->Combo1->lineEdit()->installEventFilter(this);

    connect(ui->Command1, &QPushButton::clicked, this, &Fosdat::Command1_Click);
    connect(ui->Combo1, &QComboBox::activated, this, &Fosdat::Combo1_Click);
    connect(ui->mnuSave, &QAction::triggered, this, &Fosdat::mnuSave_Click);
}

Fosdat::~Fosdat() = default;

void Fosdat::Form_Load()
{
    resumeNext(
        [&] { ui->Command1->click(); },
        [&] { m_RefsText = data::readAnsiTextFile(data::nativePath(data::Refs1Path)).value(); },
        [&] { ui->Text2->setPlainText(m_RefsText); },
        [&] { ui->RichTextBox1->LoadFile(data::nativePath(u"dat\\BD\\FORAM")); },
        // Selecting the first item sets the text to its caption and makes the
        // arrow keys go on from there; it raises no Combo1_Click.
        [&] { ui->Combo1->setCurrentIndex(0); }, [&] { Command1_Click(); });
}

void Fosdat::Command1_Click()
{
    const QString text = ui->Combo1->currentText();
    resumeNext(
        [&] { m_sound.play(); },
        [&] {
            for (const Group &group : GroupTable) {
                if (text == group.caption)
                    m_CatalogPath = group.catalogPath.toString();
            }
        },
        [&] { ui->RichTextBox1->LoadFile(data::nativePath(m_CatalogPath.value_or(QString()))); });
}

void Fosdat::Combo1_Click()
{
    ui->Command1->click();
}

// Writes the whole catalogue view as RTF to a file the user names, whatever
// its extension. A cancelled dialog writes nothing; a failed write leaves any
// earlier file of that name as it was and is reported.
void Fosdat::mnuSave_Click()
{
    const std::optional<QString> path = m_dialogs.saveFileName(
        this, QStringLiteral("Сохранить информацию"), m_saveFileName, QStringLiteral("*.txt"));
    if (!path)
        return;
    m_saveFileName = *path;
    const rtf::SaveResult saved = ui->RichTextBox1->SaveFile(*path);
    if (!saved.ok) {
        m_dialogs.message(this,
                          QStringLiteral("Не удалось сохранить файл %1:\r\n%2")
                              .arg(QDir::toNativeSeparators(*path), saved.errorString),
                          AppTitle, QMessageBox::Critical);
    }
}

bool Fosdat::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->Combo1->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
