// Qt's own texts in Russian once the program is set up (the save dialog, the
// context menus of the view, the panel and the group list), the save
// dialog's own question before it names an existing file, the dialog in
// folders whose files cannot all be read, and the program's questions,
// answered "Нет" unless "Да" is chosen.
#include "CatalogueView.h"
#include "Fosdat.h"
#include "Startup.h"
#include "UserDialogs.h"
#include "support/DataTree.h"
#include "support/Fakes.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QStringList actionTexts(const QMenu &menu)
{
    QStringList texts;
    for (const QAction *action : menu.actions())
        texts << action->text().remove(u'&').section(u'\t', 0, 0);
    return texts;
}

void pressEnter(QFileDialog *dialog)
{
    QTest::keyClick(dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")), Qt::Key_Return);
}

// Calls `handle` once, on the first modal window of type T, from within
// whatever event loop runs then.
template <typename T> void whenModal(std::function<void(T *)> handle)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, handle] {
        if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            timer->stop();
            handle(window);
        }
    });
    timer->start(10);
}

} // namespace

class TestQtTexts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The file dialog keeps the folders it showed apart from the user's.
        QStandardPaths::setTestModeEnabled(true);
        setUpApplication();
    }

    void contextMenusAreRussian_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("catalogue view") << QStringLiteral("RichTextBox1");
        QTest::newRow("reference panel") << QStringLiteral("Text2");
        QTest::newRow("group list") << QStringLiteral("Combo1");
    }
    void contextMenusAreRussian()
    {
        QFETCH(QString, control);
        DataTree tree;
        RecordingSoundCue sound;
        RecordingDialogs dialogs;
        Fosdat window(sound, dialogs);
        QWidget *widget = window.findChild<QWidget *>(control);
        QVERIFY(widget);
        std::unique_ptr<QMenu> menu;
        if (auto *view = qobject_cast<QTextEdit *>(widget))
            menu.reset(view->createStandardContextMenu());
        else if (auto *panel = qobject_cast<QPlainTextEdit *>(widget))
            menu.reset(panel->createStandardContextMenu());
        else
            menu.reset(qobject_cast<QComboBox *>(widget)->lineEdit()->createStandardContextMenu());
        const QStringList texts = actionTexts(*menu);
        QVERIFY2(texts.contains(QStringLiteral("Копировать")), qPrintable(texts.join(u'|')));
        QVERIFY2(texts.contains(QStringLiteral("Выделить всё")), qPrintable(texts.join(u'|')));
    }

    // The save dialog, as the save command opens it, calls a folder "Папка"
    // in its type column, which Qt's own Russian translation leaves in English.
    void fileDialogNamesFolders()
    {
        DataTree tree;
        QVERIFY(tree.write(QStringLiteral("dat/BD/FORAM"), "{\\rtf1 x}"));
        QString folderType, headers;
        whenModal<QFileDialog>([&](QFileDialog *dialog) {
            auto *model = dialog->findChild<QFileSystemModel *>();
            QTRY_VERIFY(model->index(tree.path(QStringLiteral("dat"))).isValid());
            const QModelIndex dat = model->index(tree.path(QStringLiteral("dat")));
            folderType = model->index(dat.row(), 2, dat.parent()).data().toString();
            for (int column = 0; column < model->columnCount(); ++column)
                headers += model->headerData(column, Qt::Horizontal).toString() + u'|';
            dialog->reject();
        });
        QtUserDialogs dialogs;
        QCOMPARE(dialogs.saveFileName(nullptr, QStringLiteral("Сохранить информацию"),
                                      QStringLiteral("text.txt"), QStringLiteral("*.txt")),
                 std::nullopt);
        QCOMPARE(folderType, QStringLiteral("Папка"));
        QVERIFY2(!headers.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))),
                 qPrintable(headers));
    }

    // Saving over an existing file: the dialog asks, in Russian, and "Нет"
    // keeps it open; "Да" names the file.
    void saveDialogAsksBeforeReplacing()
    {
        DataTree tree;
        QVERIFY(tree.write(QStringLiteral("old.txt"), "old"));
        const QString existing = tree.path(QStringLiteral("old.txt"));
        QStringList questions;
        QString saveButton;
        const auto answer = [&](QMessageBox::StandardButton button) {
            whenModal<QMessageBox>([&questions, button](QMessageBox *box) {
                questions << box->text();
                box->button(button)->click();
            });
        };
        whenModal<QFileDialog>([&](QFileDialog *dialog) {
            saveButton =
                dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save)->text();
            answer(QMessageBox::No);
            pressEnter(dialog);
            QVERIFY(dialog->isVisible()); // "Нет": still choosing
            answer(QMessageBox::Yes);
            pressEnter(dialog);
        });
        QtUserDialogs dialogs;
        const std::optional<QString> chosen = dialogs.saveFileName(
            nullptr, QStringLiteral("Сохранить информацию"), existing, QStringLiteral("*.txt"));

        QCOMPARE(chosen, std::optional(existing));
        QCOMPARE(saveButton.remove(u'&'), QStringLiteral("Сохранить"));
        QCOMPARE(questions.size(), 2);
        QVERIFY2(questions[0].startsWith(QStringLiteral("old.txt уже существует")),
                 qPrintable(questions[0]));
    }

    // The dialog lists a folder whose files cannot all be read and answers
    // within its own event loop: a FIFO, a link to it, and a link to a file
    // whose reading waits for ever (/proc/kmsg, for root).
    void saveDialogAnswersInAnyFolder()
    {
        DataTree tree;
        QVERIFY(::mkfifo("pipe", 0600) == 0 && ::symlink("pipe", "link-to-pipe") == 0 &&
                ::symlink("/proc/kmsg", "kmsg") == 0);
        const QString kmsg = tree.path(QStringLiteral("kmsg"));
        bool listed = false;
        whenModal<QFileDialog>([&](QFileDialog *dialog) {
            // Listed with its type: the dialog has looked at the file.
            const auto *files = dialog->findChild<QFileSystemModel *>();
            listed =
                QTest::qWaitFor([&] { return !files->type(files->index(kmsg)).isEmpty(); }, 10'000);
            pressEnter(dialog);
        });
        QtUserDialogs dialogs;
        const std::optional<QString> chosen = // every file shown
            dialogs.saveFileName(nullptr, QStringLiteral("Сохранить информацию"),
                                 tree.path(QStringLiteral("new.txt")), QStringLiteral("*"));

        QVERIFY(listed);
        QCOMPARE(chosen, std::optional(tree.path(QStringLiteral("new.txt"))));
    }

    void questionIsNoUnlessYesIsChosen_data()
    {
        QTest::addColumn<int>("key"); // 0: a click on "Да"
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("Enter") << int(Qt::Key_Return) << false;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
        QTest::newRow("Да clicked") << 0 << true;
    }
    void questionIsNoUnlessYesIsChosen()
    {
        QFETCH(int, key);
        QFETCH(bool, confirmed);
        QStringList buttons;
        whenModal<QMessageBox>([&](QMessageBox *box) {
            for (const QAbstractButton *button : box->buttons())
                buttons << button->text().remove(u'&');
            if (key != 0)
                QTest::keyClick(box, Qt::Key(key));
            else
                box->button(QMessageBox::Yes)->click();
        });
        QtUserDialogs dialogs;
        QCOMPARE(dialogs.confirm(nullptr, QStringLiteral("Сохранить?"), QStringLiteral("title")),
                 confirmed);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));
    }
};

QTEST_MAIN(TestQtTexts)
#include "tst_qttexts.moc"
