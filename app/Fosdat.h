#pragma once

#include <QMainWindow>
#include <QStringView>
#include <array>
#include <memory>
#include <optional>

namespace Ui
{
class Fosdat;
}
class SoundCue;
class UserDialogs;

// The catalogue window: group list, catalogue view, reference panel, link
// labels and menus. Requests that reach beyond the window (the find dialog,
// ending the program) leave it as signals.
class Fosdat : public QMainWindow
{
    Q_OBJECT

public:
    Fosdat(SoundCue &sound, UserDialogs &dialogs, QWidget *parent = nullptr);
    ~Fosdat() override;

    // Fills the window before it is first shown: first reference list, first group.
    void Form_Load();

    // The catalogue path the OK action last matched; unset before the first match.
    const std::optional<QString> &CatalogPath() const { return m_CatalogPath; }
    // The reference list last read into the reference panel.
    const QString &RefsText() const { return m_RefsText; }

signals:
    void findRequested();
    void exitRequested();

private:
    void Command1_Click();
    void Combo1_Click();
    void mnuSave_Click();

    void Label2_Click();
    void Label7_Click();
    void Label8_Click();
    void Label15_Click();

    void Label2_MouseMove();
    void Label7_MouseMove();
    void Label8_MouseMove();
    void Label15_MouseMove();
    void Image3_MouseMove();

    void mnuFind_Click();
    void mnuSpravka_Click();
    void mnuAbout1_Click();
    void mnuAbout2_Click();
    void mnuExit_Click();

    // Reads a reference list into RefsText and shows it in the reference panel.
    void showReferenceList(QStringView dataPath);
    void referenceLabelClick(QStringView dataPath);

    void setUpWindow();
    void connectMenus();
    void routeMouseEvents();
    void dispatchMouseEvent(QObject *watched, QEvent *event);
    bool eventFilter(QObject *watched, QEvent *event) override;

    // A control whose mouse movement and clicks the window handles.
    struct MouseHandlers {
        QWidget *control = nullptr;
        void (Fosdat::*mouseMove)() = nullptr;
        void (Fosdat::*click)() = nullptr; // none for Image3
    };

    std::unique_ptr<Ui::Fosdat> ui;
    SoundCue &m_sound;
    UserDialogs &m_dialogs;
    std::optional<QString> m_CatalogPath;
    QString m_RefsText;
    std::array<MouseHandlers, 5> m_mouseHandlers;
    // The name the save dialog proposes: the path last confirmed in it.
    QString m_saveFileName = QStringLiteral("text.txt");
};
