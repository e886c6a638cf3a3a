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

// Marks the containers that list only the children that can be shown.
constexpr char ShownChildrenOnly[] = "fosdatShownChildrenOnly";

// A container marked by listShownChildrenOnly(), as Qt describes a plain
// widget, but with its hidden children left out.
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

// Asked for each class of an object, most derived first.
QAccessibleInterface *createInterface(const QString &className, QObject *object)
{
    if (className == u"LinkLabel")
        return new LinkLabelInterface(static_cast<LinkLabel *>(object));
    if (object && object->isWidgetType() && object->property(ShownChildrenOnly).toBool())
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

void listShownChildrenOnly(QWidget &container)
{
    installAccessibleInterfaces();
    container.setProperty(ShownChildrenOnly, true);
}
