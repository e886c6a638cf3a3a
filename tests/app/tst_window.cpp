// The catalogue window built for real and driven offscreen through mouse and
// keyboard events routed by the window system, so that stacking order, focus
// and shortcuts take part as they do on screen.
#define QTEST_QPA_MOUSE_HANDLING

#include "Fosdat.h"
#include "GroupTable.h"
#include "support/DataTree.h"
#include "support/Fakes.h"

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <memory>

using namespace fosdat::data;

namespace
{

// One catalogue window, shown and active, with fakes for sound and dialogs.
struct Window {
    RecordingSoundCue sound;
    RecordingDialogs dialogs;
    Fosdat window{sound, dialogs};

    Window()
    {
        sound.snapshot = [this] { return panelText(); };
        window.show();
        window.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window); }

    template <typename T = QWidget> T *child(const QString &name) const
    {
        T *found = window.findChild<T *>(name);
        if (!found)
            qWarning("no child %s", qPrintable(name));
        return found;
    }
    QColor foreColor(const QString &label) const
    {
        return child(label)->palette().color(QPalette::WindowText);
    }
    // Moves the mouse to a point of the client area, as a user would.
    void moveTo(QPoint clientPoint) const { QTest::mouseMove(window.centralWidget(), clientPoint); }
    void click(const QString &label) const { QTest::mouseClick(child(label), Qt::LeftButton); }
    QString panelText() const { return child<QPlainTextEdit>("Text2")->toPlainText(); }
    // The combo box passes its focus on to its edit field.
    bool hasFocus(const QString &name) const
    {
        QWidget *focus = QApplication::focusWidget();
        return focus && (focus == child(name) || child(name)->isAncestorOf(focus));
    }
};

const QColor DarkBlue(0, 0, 192);
const QColor Red(255, 0, 0);

// Reference lists as the data set stores them: Windows-1251, CR LF line
// ends, blanks at both ends that must survive.
const QByteArray Refs1 = "  1. \xca\xee\xf0\xe0\xeb\xeb\xfb \xb9 1\r\n"
                         "2. \xc3\xf3\xe1\xea\xe8\r\n\r\n"
                         "400. \xdd\xed\xe4 \xb8\xeb\xea\xe0  \r\n";
const QString Refs1Text = QStringLiteral("  1. Кораллы № 1\r\n2. Губки\r\n\r\n400. Энд ёлка  \r\n");
const QByteArray Refs2 = "401. \xd2\xf0\xe8\xeb\xee\xe1\xe8\xf2\xfb\r\n800. \xdf";
const QString Refs2Text = QStringLiteral("401. Трилобиты\r\n800. Я");
const QByteArray Refs3 = "801. \xcc\xf8\xe0\xed\xea\xe8\r\n1200.\r\n";
const QString Refs3Text = QStringLiteral("801. Мшанки\r\n1200.\r\n");

// A property as the design gives it; besides Qt's own: "color" (of the
// text), "pointSize" and "bold" (of the font), "menu" (the menu that holds
// an action), "shortcut" (an action's first) and "menus" (the menu bar's).
QVariant propertyOf(const QObject &object, const QString &property)
{
    const auto *widget = qobject_cast<const QWidget *>(&object);
    const auto *action = qobject_cast<const QAction *>(&object);
    if (property == u"color" && widget)
        return widget->palette().color(QPalette::WindowText);
    if (property == u"pointSize" && widget)
        return widget->font().pointSizeF();
    if (property == u"bold" && widget)
        return widget->font().bold();
    if (property == u"shortcut" && action)
        return action->shortcut();
    if (property == u"menu" && action) {
        for (const QObject *menu : action->associatedObjects()) {
            if (qobject_cast<const QMenu *>(menu))
                return menu->objectName();
        }
        return QString();
    }
    if (property == u"menus" && qobject_cast<const QMenuBar *>(&object)) {
        QStringList titles;
        for (const QAction *entry : static_cast<const QMenuBar &>(object).actions())
            titles << entry->text();
        return titles;
    }
    return object.property(qPrintable(property));
}

QString shownAs(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<DataTree> m_data;

    void writeRefs(const QString &name, const QByteArray &bytes)
    {
        QVERIFY(m_data->write(QStringLiteral("dat/BD/") + name, bytes));
    }

private slots:
    // Each test gets a fresh data set with the three reference lists.
    void init()
    {
        m_data = std::make_unique<DataTree>();
        writeRefs(QStringLiteral("REFS1.txt"), Refs1);
        writeRefs(QStringLiteral("REFS2.txt"), Refs2);
        writeRefs(QStringLiteral("REFS3.txt"), Refs3);
    }

    void cleanup()
    {
        m_data.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    // --- layout -----------------------------------------------------------

    // What the window's design gives each control, action and menu: its
    // caption, place, font, color, menu and shortcut.
    void asDesigned_data()
    {
        QTest::addColumn<QString>("name");     // a control, action or the menu bar
        QTest::addColumn<QString>("property"); // a property, or one of propertyOf()'s own
        QTest::addColumn<QVariant>("value");
        const auto row = [](const char *name, const char *property, const QVariant &value) {
            QTest::addRow("%s %s", name, property) << name << property << value;
        };
        row("Label6", "text", "База данных ископаемых организмов");
        row("Label1", "text",
            "Чтобы посмотреть записи родов  интересующих вас организмов выберите из списка "
            "нужную группу.");
        row("Label3", "text", "Ссылки на литературу");
        row("Label4", "text", "Самая большая база данных ископаемых организмов");
        row("Label5", "text", "Чтобы найти интересующий вас вид нажмите здесь");
        row("Label15", "text", "здесь");
        row("Label2", "text", "Ссылки с 1-400");
        row("Label7", "text", "Ссылки с 401-800");
        row("Label8", "text", "Ссылки с 801-1200");
        row("Command1", "text", "\u041e\u041a"); // Cyrillic О and К

        row("Combo1", "geometry", QRect(24, 120, 361, 21));
        row("Text2", "geometry", QRect(424, 104, 393, 417));
        row("RichTextBox1", "geometry", QRect(24, 192, 361, 329));
        row("Label15", "geometry", QRect(328, 157, 57, 25));
        row("Label8", "geometry", QRect(680, 80, 137, 33));
        row("Image2", "geometry", QRect(-24, 0, 856, 41));
        row("Image3", "geometry", QRect(256, 48, 577, 337));
        row("Line2", "geometry", QRect(8, 128, 1, 385));
        row("Line12", "geometry", QRect(400, 112, 41, 1));

        const std::tuple<const char *, qreal, bool> fonts[] = {
            {"Label6", 12.0, true},  {"Label1", 9.75, false}, {"Label3", 12.0, true},
            {"Label4", 15.75, true}, {"Label5", 9.75, false}, {"Label15", 12.0, true},
            {"Label2", 9.75, true},  {"Label8", 9.75, true},  {"Command1", 8.25, true},
            {"Combo1", 8.25, false}, {"Text2", 8.25, false}};
        for (const auto &[name, pointSize, bold] : fonts) {
            row(name, "pointSize", pointSize);
            row(name, "bold", bold);
        }

        for (const char *name : {"Label6", "Label1", "Label3"})
            row(name, "color", QColor(0, 0, 0));
        row("Label4", "color", QColor(255, 255, 0)); // over the banner
        for (const char *name : {"Label15", "Label2", "Label7", "Label8"})
            row(name, "color", DarkBlue);

        const std::tuple<const char *, const char *, const char *, QKeySequence> items[] = {
            {"mnuSave", "mnuFile", "&Сохранить информацию в файл", Qt::CTRL | Qt::Key_S},
            {"mnuFind", "mnuFile", "&Найти", Qt::CTRL | Qt::Key_F},
            {"mnuFindAll", "mnuFile", "Найти во всех &группах...",
             Qt::CTRL | Qt::SHIFT | Qt::Key_F},
            {"mnuFindNext", "mnuFile", "Найти &далее", QKeySequence(Qt::Key_F3)},
            {"mnuFindPrevious", "mnuFile", "Найти &ранее", Qt::SHIFT | Qt::Key_F3},
            {"mnuSep", "mnuFile", "", QKeySequence()},
            {"mnuExit", "mnuFile", "&Выход", Qt::CTRL | Qt::Key_W},
            {"mnuSpravka", "mnuHelp", "&Справка", QKeySequence(Qt::Key_F9)},
            {"mnuSep2", "mnuHelp", "", QKeySequence()},
            {"mnuAbout1", "mnuHelp", "&О программе", QKeySequence(Qt::Key_F11)},
            {"mnuAbout2", "mnuHelp", "О &базе данных", QKeySequence(Qt::Key_F12)}};
        for (const auto &[name, menu, caption, shortcut] : items) {
            row(name, "menu", menu);
            row(name, "text", caption);
            row(name, "shortcut", shortcut);
        }
        row("menubar", "menus", QStringList{"&Файл", "&Ссылки", "&Вид", "&Помощь"});
    }
    void asDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        Window w;
        QVERIFY(w.ready());
        QObject *object = w.window.findChild<QObject *>(name);
        QVERIFY(object);
        const QVariant actual = propertyOf(*object, property);
        QVERIFY2(actual == value, qPrintable(QDebug::toString(actual)));
        if (auto *action = qobject_cast<QAction *>(object)) {
            QCOMPARE(action->isSeparator(), action->text().isEmpty());
            QVERIFY(action->isEnabled() && action->isVisible() && !action->isChecked());
        }
    }

    // The window keeps its layout when it is made smaller or larger; the
    // fonts it uses have Cyrillic letters of their own.
    void layoutHoldsWithCyrillicFonts()
    {
        Window w;
        QVERIFY(w.ready());
        const QList<QWidget *> controls = w.window.centralWidget()->findChildren<QWidget *>(
            QString(), Qt::FindDirectChildrenOnly);
        QList<QRect> places;
        for (const QWidget *control : controls) {
            places << control->geometry();
            const QString family = QFontInfo(control->font()).family();
            QVERIFY2(QFontDatabase::writingSystems(family).contains(QFontDatabase::Cyrillic),
                     qPrintable(control->objectName() + u' ' + family));
        }
        w.window.resize(400, 300);
        QTRY_COMPARE(w.window.centralWidget()->width(), 400);
        for (qsizetype i = 0; i < controls.size(); ++i)
            QCOMPARE(controls[i]->geometry(), places[i]);
    }

    void groupListHoldsTheGroupTable()
    {
        Window w;
        auto *combo = w.child<QComboBox>("Combo1");
        QCOMPARE(combo->count(), 34);
        for (int i = 0; i < combo->count(); ++i)
            QCOMPARE(combo->itemText(i), GroupTable[i].caption.toString());
        QCOMPARE(combo->itemText(22), QStringLiteral("БЕЗЗАМКОВЫЕ БРАХИОПОДЫ"));
        QVERIFY(combo->currentText().isEmpty());
    }

    void clientAreaAndFrame()
    {
        Window w;
        QVERIFY(w.ready());
        QCOMPARE(w.window.windowTitle(), QStringLiteral("База данных Тарвина"));
        QCOMPARE(w.window.centralWidget()->size(), QSize(826, 537));
        QCOMPARE(w.window.centralWidget()->y(), w.window.menuBar()->height());
        QVERIFY(!w.window.centralWidget()->layout());
        const Qt::WindowFlags flags = w.window.windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(w.child("Command1")->isHidden());
    }

    void pictures()
    {
        Window w;
        const QList<QSize> sizes = w.window.windowIcon().availableSizes();
        QVERIFY2(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)),
                 qPrintable(QDebug::toString(sizes)));
        auto *banner = w.child<QLabel>("Image2");
        QCOMPARE(banner->pixmap().size(), QSize(450, 55));
        QVERIFY(banner->hasScaledContents());
        auto *image3 = w.child<QLabel>("Image3");
        QVERIFY(image3->pixmap().isNull() && image3->text().isEmpty());
    }

    void drawing_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("what");
        QTest::newRow("Line2, left bracket") << QPoint(8, 300) << "line";
        QTest::newRow("Line1, bracket top") << QPoint(16, 128) << "line";
        QTest::newRow("Line6, middle bracket") << QPoint(400, 300) << "line";
        QTest::newRow("Line5, right of the view") << QPoint(390, 512) << "line";
        QTest::newRow("banner beside the title") << QPoint(700, 20) << "banner";
        QTest::newRow("banner left of the title") << QPoint(2, 20) << "banner";
        QTest::newRow("empty Image3") << QPoint(800, 70) << "background";
        QTest::newRow("empty Image3, lower") << QPoint(300, 160) << "background";
    }
    void drawing()
    {
        QFETCH(QPoint, at);
        QFETCH(QString, what);
        Window w;
        QVERIFY(w.ready());
        QWidget *client = w.window.centralWidget();
        const QColor pixel = client->grab().toImage().pixelColor(at);
        if (what == "line")
            QCOMPARE(pixel, client->palette().color(QPalette::WindowText));
        else if (what == "background")
            QCOMPARE(pixel, client->palette().color(QPalette::Window));
        else
            QVERIFY2(pixel.blue() > pixel.red() && pixel.blue() > pixel.green(),
                     qPrintable(pixel.name()));
    }

    // Back to front, as the controls overlap.
    void stackingOrder()
    {
        Window w;
        QStringList order;
        for (QObject *child : w.window.centralWidget()->children()) {
            if (child->isWidgetType())
                order.append(child->objectName());
        }
        const QStringList expected{
            "Image3", "Label6", "Label1", "Label3", "Line1",    "Line2",  "Line3",
            "Line5",  "Line6",  "Line12", "Image2", "Label4",   "Label5", "Label15",
            "Label2", "Label7", "Label8", "Combo1", "Command1", "Text2",  "RichTextBox1"};
        QCOMPARE(order, expected);
    }

    // Every menu opens by Alt and its letter with its first item active.
    void menusOpenByTheirLetter_data()
    {
        QTest::addColumn<int>("letter");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("firstItem");
        QTest::newRow("Файл") << 0x0424 << "mnuFile"
                              << "mnuSave";
        QTest::newRow("Ссылки") << 0x0421 << "mnuRefs"
                                << "mnuRefs1";
        QTest::newRow("Вид") << 0x0412 << "mnuView"
                             << "mnuZoomIn";
        QTest::newRow("Помощь") << 0x041F << "mnuHelp"
                                << "mnuSpravka";
    }
    void menusOpenByTheirLetter()
    {
        QFETCH(int, letter);
        QFETCH(QString, menu);
        QFETCH(QString, firstItem);
        Window w;
        QVERIFY(w.ready());
        w.child("Combo1")->setFocus();
        QSignalSpy triggered(w.window.findChild<QAction *>(firstItem), &QAction::triggered);
        // A Cyrillic key, as the Russian layout gives it.
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(letter),
                            QString(QChar(letter).toLower()), Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), w.child(menu));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
        QTRY_COMPARE(triggered.size(), 1);
    }

    // --- keyboard ---------------------------------------------------------

    void tabCyclesThroughTheInputControls()
    {
        Window w;
        QVERIFY(w.ready());
        w.child("Combo1")->setFocus();
        const QStringList cycle{"Text2", "RichTextBox1", "Combo1", "Text2"};
        for (const QString &next : cycle) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(w.hasFocus(next), qPrintable(next));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(w.hasFocus("Combo1"));
    }

    void shortcutsWorkFromEveryControl_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("action");
        const std::pair<QKeyCombination, const char *> shortcuts[] = {
            {Qt::CTRL | Qt::Key_S, "mnuSave"},
            {Qt::CTRL | Qt::Key_F, "mnuFind"},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_F, "mnuFindAll"},
            {QKeyCombination(Qt::Key_F3), "mnuFindNext"},
            {Qt::SHIFT | Qt::Key_F3, "mnuFindPrevious"},
            {Qt::CTRL | Qt::Key_W, "mnuExit"},
            {QKeyCombination(Qt::Key_F9), "mnuSpravka"},
            {QKeyCombination(Qt::Key_F11), "mnuAbout1"},
            {QKeyCombination(Qt::Key_F12), "mnuAbout2"},
            {QKeyCombination(Qt::Key_F1), "mnuSpravka"},
            {Qt::ALT | Qt::Key_1, "mnuRefs1"},
            {Qt::ALT | Qt::Key_2, "mnuRefs2"},
            {Qt::ALT | Qt::Key_3, "mnuRefs3"},
            {Qt::CTRL | Qt::Key_Plus, "mnuZoomIn"},
            {Qt::CTRL | Qt::Key_Equal, "mnuZoomIn"},
            {QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus), "mnuZoomIn"},
            {Qt::CTRL | Qt::Key_Minus, "mnuZoomOut"},
            {QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Minus),
             "mnuZoomOut"},
            {Qt::CTRL | Qt::Key_0, "mnuZoomReset"},
            {Qt::CTRL | Qt::Key_Return, "mnuReferenceAtCaret"},
            {QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter),
             "mnuReferenceAtCaret"},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_R, "mnuReadingMode"},
        };
        for (const char *focus : {"Combo1", "Text2", "RichTextBox1"}) {
            for (const auto &[key, action] : shortcuts) {
                QTest::addRow("%s (%s) in %s", action, qPrintable(QKeySequence(key).toString()),
                              focus)
                    << focus << key << action;
            }
        }
    }
    void shortcutsWorkFromEveryControl()
    {
        QFETCH(QString, focus);
        QFETCH(QKeyCombination, key);
        QFETCH(QString, action);
        Window w;
        QVERIFY(w.ready());
        w.child(focus)->setFocus();
        QVERIFY(w.hasFocus(focus));
        QSignalSpy triggered(w.window.findChild<QAction *>(action), &QAction::triggered);
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        QCOMPARE(triggered.size(), 1);
    }

    void referencePanelTakesNoTyping()
    {
        Window w;
        QVERIFY(w.ready());
        w.click("Label7");
        auto *panel = w.child<QPlainTextEdit>("Text2");
        panel->setFocus();
        QTest::keyClicks(panel, "abc");
        QTest::keyClick(panel, Qt::Key_Backspace);
        QTest::keyClick(panel, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.panelText(), shownAs(Refs2Text));
    }

    // --- link labels --------------------------------------------------------

    void hoverTurnsOnlyThatLabelRed_data()
    {
        QTest::addColumn<QString>("label");
        for (const char *label : {"Label2", "Label7", "Label8", "Label15"})
            QTest::newRow(label) << label;
    }
    void hoverTurnsOnlyThatLabelRed()
    {
        QFETCH(QString, label);
        Window w;
        QVERIFY(w.ready());
        QTest::mouseMove(w.child(label), QPoint(5, 5));
        for (const char *other : {"Label2", "Label7", "Label8", "Label15"})
            QCOMPARE(w.foreColor(other), other == label ? Red : DarkBlue);
        QCOMPARE(w.sound.count, 0);
    }

    // After hovering Label7, where the mouse goes next decides whether it
    // turns blue again: only the uncovered parts of Image3 restore it.
    void onlyUncoveredImage3Restores_data()
    {
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QColor>("color");
        QTest::newRow("empty, right of the headings") << QPoint(800, 70) << DarkBlue;
        QTest::newRow("empty, between list and links") << QPoint(300, 150) << DarkBlue;
        QTest::newRow("gap between two links") << QPoint(540, 90) << DarkBlue;
        QTest::newRow("line over Image3") << QPoint(400, 300) << DarkBlue;
        QTest::newRow("line ending at the panel") << QPoint(420, 112) << DarkBlue;
        QTest::newRow("heading over Image3") << QPoint(500, 55) << Red;
        QTest::newRow("instructions over Image3") << QPoint(300, 90) << Red;
        QTest::newRow("reference panel") << QPoint(500, 300) << Red;
        QTest::newRow("catalogue view") << QPoint(300, 300) << Red;
        QTest::newRow("group list") << QPoint(300, 130) << Red;
        QTest::newRow("left of the bracket") << QPoint(4, 300) << Red;
        QTest::newRow("another link") << QPoint(700, 90) << Red;
    }
    void onlyUncoveredImage3Restores()
    {
        QFETCH(QPoint, to);
        QFETCH(QColor, color);
        Window w;
        QVERIFY(w.ready());
        w.moveTo(QPoint(600, 90));
        QCOMPARE(w.foreColor("Label7"), Red);
        w.moveTo(to);
        QCOMPARE(w.foreColor("Label7"), color);
    }

    void image3RestoresAllFour()
    {
        Window w;
        QVERIFY(w.ready());
        for (const QPoint p : {QPoint(430, 90), QPoint(600, 90), QPoint(700, 90), QPoint(340, 165)})
            w.moveTo(p); // over the four links without crossing Image3
        for (const char *label : {"Label2", "Label7", "Label8", "Label15"})
            QCOMPARE(w.foreColor(label), Red);
        w.moveTo(QPoint(800, 70));
        for (const char *label : {"Label2", "Label7", "Label8", "Label15"})
            QCOMPARE(w.foreColor(label), DarkBlue);
    }

    void leavingDownOntoThePanelStaysRed()
    {
        Window w;
        QVERIFY(w.ready());
        w.moveTo(QPoint(430, 100)); // Label2, just above the panel's top edge
        w.moveTo(QPoint(430, 108)); // the panel covers Label2's lower edge
        w.moveTo(QPoint(430, 200));
        QCOMPARE(w.foreColor("Label2"), Red);
        QCOMPARE(w.panelText(), QString());
    }

    void clickKeepsHoverColor()
    {
        Window w;
        QVERIFY(w.ready());
        w.click("Label2");
        QCOMPARE(w.foreColor("Label2"), Red);
    }

    void findLinkCuesThenAsksForTheFindDialog()
    {
        Window w;
        QVERIFY(w.ready());
        QList<int> cuesAtRequest;
        QObject::connect(&w.window, &Fosdat::findRequested,
                         [&] { cuesAtRequest.append(w.sound.count); });
        w.click("Label15");
        w.click("Label15");
        QCOMPARE(cuesAtRequest, (QList<int>{1, 2}));
    }

    void findMenuAsksWithoutSound()
    {
        Window w;
        QSignalSpy requested(&w.window, &Fosdat::findRequested);
        w.window.findChild<QAction *>("mnuFind")->trigger();
        QCOMPARE(requested.size(), 1);
        QCOMPARE(w.sound.count, 0);
    }

    // --- reference lists ------------------------------------------------------

    // By its link label or by the keyboard, as its menu item does.
    void referenceLabelShowsItsList_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("Label2") << "Label2" << 0 << Refs1Text;
        QTest::newRow("Label7") << "Label7" << 0 << Refs2Text;
        QTest::newRow("Label8") << "Label8" << 0 << Refs3Text;
        QTest::newRow("Alt+1") << "Label2" << int(Qt::Key_1) << Refs1Text;
        QTest::newRow("Alt+2") << "Label7" << int(Qt::Key_2) << Refs2Text;
        QTest::newRow("Alt+3") << "Label8" << int(Qt::Key_3) << Refs3Text;
    }
    void referenceLabelShowsItsList()
    {
        QFETCH(QString, label);
        QFETCH(int, key);
        QFETCH(QString, text);
        Window w;
        QVERIFY(w.ready());
        if (key) {
            // The "Ссылки" item of that key has the link label's caption.
            QStringList captions;
            for (const QAction *item : w.child<QMenu>("mnuRefs")->actions()) {
                if (item->shortcut() == QKeySequence(Qt::ALT | Qt::Key(key)))
                    captions << QString(item->text()).remove(u'&');
            }
            QCOMPARE(captions, QStringList{w.child<QLabel>(label)->text()});
            QTest::keyClick(&w.window, Qt::Key(key), Qt::AltModifier);
        } else {
            w.click(label);
        }
        QCOMPARE(w.window.refsText(), text);
        QCOMPARE(w.panelText(), shownAs(text));
        // The panel was filled before the one cue.
        QCOMPARE(w.sound.atCue, QStringList{shownAs(text)});
        // CR LF is one line break on screen, with no CR left in a line.
        auto *document = w.child<QPlainTextEdit>("Text2")->document();
        QCOMPARE(document->blockCount(), shownAs(text).count(u'\n') + 1);
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            QVERIFY(!block.text().contains(u'\r'));
    }

    void referenceListIsReadOnEveryClick()
    {
        Window w;
        QVERIFY(w.ready());
        w.click("Label2");
        w.click("Label2");
        QCOMPARE(w.window.refsText(), Refs1Text);
        writeRefs(QStringLiteral("REFS1.txt"), "1. \xcd\xee\xe2\xee\xe5\r\n");
        w.click("Label2");
        QCOMPARE(w.window.refsText(), QStringLiteral("1. Новое\r\n"));
        QCOMPARE(w.panelText(), QStringLiteral("1. Новое\n"));
        QCOMPARE(w.sound.count, 3);
    }

    void unreadableListKeepsThePanel_data()
    {
        QTest::addColumn<bool>("directory");
        QTest::newRow("file deleted") << false;
        QTest::newRow("directory in its place") << true;
    }
    void unreadableListKeepsThePanel()
    {
        QFETCH(bool, directory);
        QVERIFY(m_data->remove(QStringLiteral("dat/BD/REFS3.txt")));
        if (directory)
            QVERIFY(QDir().mkpath(m_data->path(QStringLiteral("dat/BD/REFS3.txt"))));
        Window w;
        QVERIFY(w.ready());
        w.click("Label8"); // nothing read yet: the panel stays empty
        QCOMPARE(w.panelText(), QString());
        w.click("Label7");
        w.click("Label8");
        QCOMPARE(w.window.refsText(), Refs2Text);
        QCOMPARE(w.panelText(), shownAs(Refs2Text));
        QCOMPARE(w.sound.count, 3); // every click cues, read or not
        w.click("Label2");
        QCOMPARE(w.window.refsText(), Refs1Text);
    }

    void emptyListEmptiesThePanel()
    {
        writeRefs(QStringLiteral("REFS2.txt"), QByteArray());
        Window w;
        QVERIFY(w.ready());
        w.click("Label2");
        w.click("Label7");
        QCOMPARE(w.window.refsText(), QString());
        QCOMPARE(w.panelText(), QString());
    }

    void clickNeedsLeftReleaseOnTheLabel()
    {
        Window w;
        QVERIFY(w.ready());
        QWidget *label = w.child("Label2");
        QTest::mouseClick(label, Qt::RightButton);
        QTest::mousePress(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(30, 200)); // dragged off
        QCOMPARE(w.sound.count, 0);
        QCOMPARE(w.panelText(), QString());
    }

    void doubleClickIsOneClick()
    {
        Window w;
        QVERIFY(w.ready());
        QTest::mouseDClick(w.child("Label7"), Qt::LeftButton); // press, release, press, release
        QCOMPARE(w.sound.count, 1);
        QCOMPARE(w.panelText(), shownAs(Refs2Text));
    }

    // --- help, about, exit ------------------------------------------------------

    void messages_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("help")
            << "mnuSpravka"
            << "Краткая справка" << QMessageBox::Information
            << QStringList{"Краткая справка",
                           "1) Выберите группу организмов в выпадающем списке",
                           "2) Нажмите кнопку \u041e\u041a",
                           "3) В окне слева появится список организмов в алфавитном порядке",
                           "4) Рядом с названием расположен возраст, например K (Camp) - "
                           "мел,кампанский ярус,",
                           "а также цифры в скобках, обозначающие номер ссылки на литературу в "
                           "соседнем окне"};
        QTest::newRow("about the program")
            << "mnuAbout1"
            << "база данных Тарвина" << QMessageBox::NoIcon
            << QStringList{"Программа: разработчики Fosdat, 2026", "Email: fosdat@example.org",
                           "Web: https://fosdat.example.org"};
        QTest::newRow("about the data set")
            << "mnuAbout2"
            << "база данных Тарвина" << QMessageBox::NoIcon
            << QStringList{"Полный каталог Тарвина: время существования 36000 родов морских "
                           "животных Фанерозоя. 1995 г. Уникальный источник информации для "
                           "макроэволюционных исследований, послуживший основой для сотен "
                           "статей и монографий. Скачено с сайта https://fosdat.example.org"};
    }
    void messages()
    {
        QFETCH(QString, action);
        QFETCH(QString, title);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(QStringList, lines);
        Window w;
        w.window.findChild<QAction *>(action)->trigger();
        QCOMPARE(w.dialogs.messages.size(), 1);
        const RecordingDialogs::Message &shown = w.dialogs.messages.first();
        QCOMPARE(shown.text, lines.join(u'\n'));
        QCOMPARE(shown.title, title);
        QCOMPARE(shown.icon, icon);
        QCOMPARE(w.sound.count, 0);
    }

    void exitAsksToEndTheProgram()
    {
        Window w;
        QSignalSpy exit(&w.window, &Fosdat::exitRequested);
        w.window.findChild<QAction *>("mnuExit")->trigger();
        QCOMPARE(exit.size(), 1);
        QVERIFY(w.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
