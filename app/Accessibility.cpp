#include "Accessibility.h"

#include "LinkLabel.h"

#include <QAccessibleWidget>
#include <QFocusFrame>
#include <QMenu>

namespace
{

// A link label: its caption is its name, and pressing it is a click.
class LinkLabelInterface final : public QAccessibleWidget
{
public:
    explicit LinkLabelInterface(LinkLabel *label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            emit label()->clicked();
    }

private:
    LinkLabel *label() const { return static_cast<LinkLabel *>(widget()); }
};

// A widget with no interface of its own (the window's client area, the find
// dialog), as Qt describes it, but with its hidden children left out.
class ContainerInterface final : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override { return int(shownChildren().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = shownChildren();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children[index]);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child || !child->object() || !child->object()->isWidgetType())
            return -1;
        return int(shownChildren().indexOf(static_cast<QWidget *>(child->object())));
    }

private:
    // The child widgets Qt lists, less those hidden on purpose.
    QList<QWidget *> shownChildren() const
    {
        QList<QWidget *> shown;
        for (QObject *object : widget()->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && !child->isWindow() && !child->isHidden() &&
                !qobject_cast<QFocusFrame *>(child) && !qobject_cast<QMenu *>(child) &&
                child->objectName() != u"qt_rubberband")
                shown.append(child);
        }
        return shown;
    }
};

// Asked for each class of an object, most derived first: a widget reaches
// "QWidget" only when no class of its own has an interface.
QAccessibleInterface *createInterface(const QString &className, QObject *object)
{
    if (className == u"LinkLabel")
        return new LinkLabelInterface(static_cast<LinkLabel *>(object));
    if (className == u"QWidget" && object && object->isWidgetType())
        return new ContainerInterface(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}
