#include "platform/qt/qt_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
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
        return {};
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
        for (const auto& a : n.actions) names << (a == u"open" ? showMenuAction() : pressAction());
        if (n.states & accessible_state::kFocusable) names << setFocusAction();
        return names;
    }
    void doAction(const QString& name) override
    {
        auto it = Windows().find(widget_.data());
        if (it == Windows().end() || !it->second.source.client) return;
        IWindowClient* c = it->second.source.client();
        if (!c) return;
        // Focus alone has no call of its own: the click focuses as well.
        if (name == setFocusAction()) return;
        c->DoAccessibleAction(it->second.source.id, id_, 0);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // QAccessibleValueInterface
    QVariant currentValue() const override
    {
        AccessibleNode n;
        return Node(&n) ? QVariant(n.numericValue) : QVariant();
    }
    void setCurrentValue(const QVariant&) override {}
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
    QVariant minimumStepSize() const override { return 1; }

    int Id() const { return id_; }

private:
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

    int childCount() const override { return static_cast<int>(NodesOf(widget()).size()); }
    QAccessibleInterface* child(int index) const override
    {
        auto nodes = NodesOf(widget());
        if (index < 0 || index >= static_cast<int>(nodes.size())) return nullptr;
        return ChildFor(widget(), nodes[static_cast<size_t>(index)].id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        auto* c = dynamic_cast<const ControlAccessible*>(child);
        if (!c) return -1;
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
        for (const auto& n : NodesOf(widget()))
            if (n.states & accessible_state::kFocused) return ChildFor(widget(), n.id);
        return nullptr;
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
