#include "platform/qt/qt_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <map>

namespace platform {

namespace {

QString ToQ(const std::u16string& s)
{
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

struct WindowEntry {
    AccessibleWindowSource source;
    // The child interfaces made so far, by control id; Qt owns them once
    // registered, and they are unregistered with the window.
    std::map<int, QAccessible::Id> children;
};

std::map<const QObject*, WindowEntry>& Windows()
{
    static std::map<const QObject*, WindowEntry> windows;
    return windows;
}

std::vector<AccessibleNode> NodesOf(const QObject* widget)
{
    auto it = Windows().find(widget);
    if (it == Windows().end() || !it->second.source.client) return {};
    IWindowClient* c = it->second.source.client();
    return c ? c->AccessibleNodes(it->second.source.id) : std::vector<AccessibleNode>{};
}

QAccessible::Role RoleOf(AccessibleRole r)
{
    switch (r) {
    case AccessibleRole::Button: return QAccessible::PushButton;
    case AccessibleRole::CheckBox: return QAccessible::CheckBox;
    case AccessibleRole::Radio: return QAccessible::RadioButton;
    case AccessibleRole::Combo: return QAccessible::ComboBox;
    case AccessibleRole::Slider: return QAccessible::Slider;
    case AccessibleRole::Dial: return QAccessible::Dial;
    case AccessibleRole::List: return QAccessible::List;
    case AccessibleRole::ListItem: return QAccessible::ListItem;
    case AccessibleRole::Tab: return QAccessible::PageTab;
    case AccessibleRole::StaticText: return QAccessible::StaticText;
    case AccessibleRole::Image: return QAccessible::Graphic;
    case AccessibleRole::ProgressBar: return QAccessible::ProgressBar;
    case AccessibleRole::Dialog: return QAccessible::Dialog;
    case AccessibleRole::Menu: return QAccessible::PopupMenu;
    case AccessibleRole::MenuItem: return QAccessible::MenuItem;
    case AccessibleRole::Link: return QAccessible::Link;
    }
    return QAccessible::Client;
}

QAccessibleInterface* ChildFor(QWidget* widget, int controlId);

// One control of a window. It holds only the window and the control id and
// reads the description afresh each time, so it never shows stale state.
class ControlAccessible final : public QAccessibleInterface,
                                public QAccessibleActionInterface,
                                public QAccessibleValueInterface {
public:
    ControlAccessible(QWidget* widget, int controlId) : widget_(widget), id_(controlId) {}

    bool isValid() const override { return widget_ && Node(nullptr); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return widget_ ? widget_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(widget_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        AccessibleNode n;
        if (!Node(&n)) return {};
        if (t == QAccessible::Name) return ToQ(n.name);
        if (t == QAccessible::Value) return ToQ(n.value);
        if (t == QAccessible::Description) return ToQ(n.description);
        return {};
    }
    // The static text that labels the control, so that a reader can say
    // both and a user can find one from the other.
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override
    {
        QList<QPair<QAccessibleInterface*, QAccessible::Relation>> out;
        AccessibleNode n;
        if (!(match & QAccessible::Label) || !Node(&n) || n.labelledBy == 0 || !widget_) return out;
        if (QAccessibleInterface* label = ChildFor(widget_.data(), n.labelledBy))
            out.append({label, QAccessible::Label});
        return out;
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        AccessibleNode n;
        if (!Node(&n) || !widget_) return {};
        QPoint tl = widget_->mapToGlobal(QPoint(n.rect.left, n.rect.top));
        return QRect(tl, QSize(n.rect.Width(), n.rect.Height()));
    }
    QAccessible::Role role() const override
    {
        AccessibleNode n;
        return Node(&n) ? RoleOf(n.role) : QAccessible::NoRole;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        AccessibleNode n;
        if (!Node(&n)) {
            s.invalid = true;
            return s;
        }
        namespace st = accessible_state;
        s.focusable = (n.states & st::kFocusable) != 0;
        s.focused = (n.states & st::kFocused) != 0;
        s.disabled = (n.states & st::kDisabled) != 0;
        s.checkable = (n.states & st::kCheckable) != 0;
        s.checked = (n.states & st::kChecked) != 0;
        s.expandable = (n.states & st::kHasPopup) != 0;
        s.expanded = (n.states & st::kExpanded) != 0;
        s.hasPopup = (n.states & st::kHasPopup) != 0;
        s.selectable = n.role == AccessibleRole::Tab || n.role == AccessibleRole::MenuItem;
        s.selected = (n.states & st::kSelected) != 0;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        if (t == QAccessible::ValueInterface) {
            AccessibleNode n;
            if (Node(&n) && n.maximum > n.minimum) return static_cast<QAccessibleValueInterface*>(this);
        }
        return nullptr;
    }

    // QAccessibleActionInterface
    QStringList actionNames() const override
    {
        AccessibleNode n;
        QStringList names;
        if (!Node(&n)) return names;
        for (const auto& a : n.actions) names << ActionName(a);
        if (n.states & accessible_state::kFocusable) names << setFocusAction();
        return names;
    }
    void doAction(const QString& name) override
    {
        AccessibleNode n;
        if (!Client() || !Node(&n)) return;
        // Focus alone has no call of its own: every action focuses as well.
        for (size_t i = 0; i < n.actions.size(); ++i)
            if (ActionName(n.actions[i]) == name) {
                Later([id = id_, i](IWindowClient& c, WindowId w) {
                    c.DoAccessibleAction(w, id, static_cast<int>(i));
                });
                return;
            }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // QAccessibleValueInterface
    QVariant currentValue() const override
    {
        AccessibleNode n;
        return Node(&n) ? QVariant(n.numericValue) : QVariant();
    }
    void setCurrentValue(const QVariant& value) override
    {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (!ok || !Client()) return;
        Later([id = id_, to = static_cast<int>(v < 0 ? v - 0.5 : v + 0.5)](IWindowClient& c, WindowId w) {
            c.SetAccessibleValue(w, id, to);
        });
    }
    QVariant maximumValue() const override
    {
        AccessibleNode n;
        return Node(&n) ? QVariant(n.maximum) : QVariant();
    }
    QVariant minimumValue() const override
    {
        AccessibleNode n;
        return Node(&n) ? QVariant(n.minimum) : QVariant();
    }
    QVariant minimumStepSize() const override
    {
        AccessibleNode n;
        return Node(&n) && n.step > 0 ? n.step : 1;
    }

    int Id() const { return id_; }

private:
    static QString ActionName(const std::u16string& a)
    {
        if (a == u"open") return showMenuAction();
        if (a == u"increase") return increaseAction();
        if (a == u"decrease") return decreaseAction();
        if (a == u"menu") return QStringLiteral("ShowContextMenu");
        return pressAction();
    }
    // Runs an action after the bus has had its answer: an action may open
    // a modal dialog, and the reader would wait for the reply until the
    // dialog closed (and give up long before).
    void Later(std::function<void(IWindowClient&, WindowId)> f) const
    {
        QTimer::singleShot(0, widget_.data(), [w = widget_, f = std::move(f)] {
            auto it = Windows().find(w.data());
            if (!w || it == Windows().end() || !it->second.source.client) return;
            if (IWindowClient* c = it->second.source.client()) f(*c, it->second.source.id);
        });
    }
    IWindowClient* Client() const
    {
        auto it = Windows().find(widget_.data());
        if (it == Windows().end() || !it->second.source.client) return nullptr;
        return it->second.source.client();
    }
    bool Node(AccessibleNode* out) const
    {
        if (!widget_) return false;
        for (auto& n : NodesOf(widget_.data()))
            if (n.id == id_) {
                if (out) *out = std::move(n);
                return true;
            }
        return false;
    }

    QPointer<QWidget> widget_;
    int id_;
};

QAccessibleInterface* ChildFor(QWidget* widget, int controlId)
{
    auto it = Windows().find(widget);
    if (it == Windows().end()) return nullptr;
    auto& children = it->second.children;
    auto c = children.find(controlId);
    if (c != children.end()) {
        if (QAccessibleInterface* i = QAccessible::accessibleInterface(c->second)) return i;
        children.erase(c);
    }
    auto* iface = new ControlAccessible(widget, controlId);
    children[controlId] = QAccessible::registerAccessibleInterface(iface);
    return iface;
}

// The window itself: its children are the described controls.
class WindowAccessible final : public QAccessibleWidget {
public:
    WindowAccessible(QWidget* w, QAccessible::Role role) : QAccessibleWidget(w, role) {}

    // The window is read out by its title; the accessible name the host
    // sets is the window's kind, a word for tests and logs.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && !widget()->windowTitle().isEmpty()) return widget()->windowTitle();
        return QAccessibleWidget::text(t);
    }

    // The described controls, then the window's real edit boxes, which the
    // desktop's toolkit describes itself.
    int childCount() const override { return static_cast<int>(NodesOf(widget()).size() + Edits().size()); }
    QAccessibleInterface* child(int index) const override
    {
        auto nodes = NodesOf(widget());
        const auto edits = Edits();
        if (index < 0) return nullptr;
        if (index >= static_cast<int>(nodes.size())) {
            const auto e = static_cast<qsizetype>(index - static_cast<int>(nodes.size()));
            return e < edits.size() ? QAccessible::queryAccessibleInterface(edits[e]) : nullptr;
        }
        return ChildFor(widget(), nodes[static_cast<size_t>(index)].id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        auto* c = dynamic_cast<const ControlAccessible*>(child);
        if (!c) {
            const auto edits = Edits();
            for (qsizetype i = 0; child && i < edits.size(); ++i)
                if (child->object() == edits[i]) return static_cast<int>(NodesOf(widget()).size() + size_t(i));
            return -1;
        }
        auto nodes = NodesOf(widget());
        for (size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i].id == c->Id()) return static_cast<int>(i);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        QPoint p = widget()->mapFromGlobal(QPoint(x, y));
        QAccessibleInterface* found = nullptr;
        // Later controls are drawn over earlier ones.
        for (const auto& n : NodesOf(widget()))
            if (n.rect.Contains(p.x(), p.y())) found = ChildFor(widget(), n.id);
        return found;
    }
    QAccessibleInterface* focusChild() const override
    {
        for (QLineEdit* e : Edits())
            if (e->hasFocus()) return QAccessible::queryAccessibleInterface(e);
        for (const auto& n : NodesOf(widget()))
            if (n.states & accessible_state::kFocused) return ChildFor(widget(), n.id);
        return nullptr;
    }

private:
    // Edit boxes shown inside the window (one moved out of it is hidden).
    QList<QLineEdit*> Edits() const
    {
        QList<QLineEdit*> out;
        const QRect inside = widget()->rect();
        for (QLineEdit* e : widget()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly))
            if (e->isVisible() && inside.intersects(e->geometry())) out.append(e);
        return out;
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    auto it = Windows().find(object);
    if (it == Windows().end()) return nullptr;
    QAccessible::Role role = it->second.source.role == AccessibleWindowRole::Menu     ? QAccessible::PopupMenu
                             : it->second.source.role == AccessibleWindowRole::Dialog ? QAccessible::Dialog
                                                                                      : QAccessible::Window;
    return new WindowAccessible(static_cast<QWidget*>(object), role);
}

}  // namespace

void InstallAccessibleFactory()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(Factory);
}

void AddAccessibleWindow(QWidget* widget, AccessibleWindowSource source)
{
    if (widget) Windows()[widget] = WindowEntry{std::move(source), {}};
}

void RemoveAccessibleWindow(QWidget* widget)
{
    auto it = Windows().find(widget);
    if (it == Windows().end()) return;
    for (const auto& [id, handle] : it->second.children)
        if (QAccessible::accessibleInterface(handle)) QAccessible::deleteAccessibleInterface(handle);
    Windows().erase(it);
}

void ReportAccessibleFocus(QWidget* widget, int controlId)
{
    if (!widget || !QAccessible::isActive()) return;
    if (controlId == 0) return;
    if (QAccessibleInterface* c = ChildFor(widget, controlId)) {
        QAccessibleEvent e(c, QAccessible::Focus);
        QAccessible::updateAccessibility(&e);
    }
}

void ReportAccessibleChange(QWidget* widget, int controlId)
{
    if (!widget || !QAccessible::isActive()) return;
    QAccessibleInterface* c = ChildFor(widget, controlId);
    if (!c) return;
    QAccessible::State changed;
    changed.checked = true;
    changed.expanded = true;
    changed.selected = true;
    QAccessibleStateChangeEvent s(c, changed);
    QAccessible::updateAccessibility(&s);
    if (c->interface_cast(QAccessible::ValueInterface)) {
        QAccessibleValueChangeEvent v(c, c->valueInterface()->currentValue());
        QAccessible::updateAccessibility(&v);
    }
    QAccessibleEvent n(c, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&n);
}

}  // namespace platform
