#pragma once

#include <QObject>
#include <QPointer>

class QComboBox;

// Keeps an editable combo box from choosing an item by what was typed into
// its edit field: Enter in the field does nothing, and the field losing the
// focus chooses nothing; only a choice from the list chooses. Qt's combo box
// would choose the item whose text was typed on either. The combo box hands
// its key and focus events to the field by calling the field's event()
// itself, past any filter on the field, so the guard watches both.
class ComboEditGuard final : public QObject
{
    Q_OBJECT

public:
    // Guards `combo`, whose child it becomes.
    static void guard(QComboBox &combo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ComboEditGuard(QComboBox &combo);

    // Kept from the start, as an object: while the combo box and its field
    // are taken down, neither is asked anything.
    QPointer<QObject> m_field;
};
