#include "ComboEditGuard.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

void ComboEditGuard::guard(QComboBox &combo)
{
    new ComboEditGuard(combo);
}

ComboEditGuard::ComboEditGuard(QComboBox &combo) : QObject(&combo), m_field(combo.lineEdit())
{
    combo.installEventFilter(this);
    if (m_field)
        m_field->installEventFilter(this);
}

bool ComboEditGuard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Enter would make the field report that editing is done, and the
        // combo box choose the item of that text.
        const int key = static_cast<QKeyEvent *>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    case QEvent::FocusOut: {
        if (!m_field)
            break;
        // The field still loses the focus (its cursor, its selection), but
        // its report that editing is done reaches nobody.
        const QSignalBlocker quiet(m_field.data());
        static_cast<QObject *>(watched)->event(event);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
