// Edit boxes in the Qt host: each is a frameless line edit on its window,
// whose keys the dialog sees first and whose focus and text changes reach it
// as notifications.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <algorithm>

#include "platform/draw/qt_canvas.h"
#include "platform/keyboard/qt_key_table.h"
#include "platform/qt/qt_host_widget.h"
#include "platform/qt/qt_window_host.h"

namespace platform {

std::unique_ptr<WindowRecord> QtWindowHost::NewEdit(WindowId id, WindowRecord& parent, const Rect& r,
                                                   const EditParams& params)
{
    auto& p = static_cast<Win&>(parent);
    if (!p.widget) return nullptr;
    auto win = std::make_unique<Win>();
    auto* edit = new QLineEdit(p.widget);
    edit->setFrame(false);
    edit->setGeometry(ToQRect(r));
    edit->setFont(ToQFont(params.font));
    Qt::Alignment align = (params.align & DT_CENTER) ? Qt::AlignHCenter
                          : (params.align & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    edit->setAlignment(align | Qt::AlignVCenter);
    if (params.maxLength > 0) edit->setMaxLength(params.maxLength);
    if (!params.accessibleName.empty())
        edit->setAccessibleName(QString::fromUtf16(params.accessibleName.data(), qsizetype(params.accessibleName.size())));
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Base, QColor(GetRValue(params.backColour), GetGValue(params.backColour), GetBValue(params.backColour)));
    pal.setColor(QPalette::Text, QColor(GetRValue(params.textColour), GetGValue(params.textColour), GetBValue(params.textColour)));
    edit->setPalette(pal);
    edit->installEventFilter(this);
    QObject::connect(edit, &QLineEdit::textChanged, this, [this, id] { NotifyParent(id, EN_CHANGE); });
    win->edit = edit;
    byWidget_[edit] = id;
    edit->setVisible(params.visible);
    return win;
}

void QtWindowHost::SetEditSelection(WindowId edit, int start, int end)
{
    Win* win = Find(edit);
    if (!win || !win->edit) return;
    int n = static_cast<int>(win->edit->text().size());
    auto clampPos = [n](int v) { return v < 0 || v > n ? n : v; };
    int a = clampPos(start), b = clampPos(end);
    if (a > b) std::swap(a, b);
    if (a == b) win->edit->setCursorPosition(a);
    else win->edit->setSelection(a, b - a);
}

void QtWindowHost::SetFocus(WindowId w)
{
    Win* win = Find(w);
    if (!win) return;
    WindowId top = TopLevelOf(w);
    if (top != GetActiveWindow()) Activate(top, WA_ACTIVE);
    win = Find(w);
    if (!win || !win->Widget()) return;
    win->Widget()->setFocus(Qt::OtherFocusReason);
}

WindowId QtWindowHost::GetFocus() const
{
    QWidget* f = QApplication::focusWidget();
    WindowId id = WindowOfWidget(f);
    return id ? id : GetActiveWindow();
}

bool QtWindowHost::eventFilter(QObject* watched, QEvent* e)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    WindowId id = WindowOfWidget(widget);
    if (!id || !Find(id) || !Find(id)->isEdit) return QObject::eventFilter(watched, e);
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        LPARAM l = k->isAutoRepeat() ? (1 << 30) | 1 : 1;
        if (!KeyInput(id, WM_KEYDOWN, VirtualKeyFromKeyEvent(*k), l)) return true;
        // The dialog sees each character first and may keep it from the edit.
        for (QChar c : k->text())
            if (c.unicode() >= 0x08 && !KeyInput(id, WM_CHAR, c.unicode(), l)) return true;
        return false;
    }
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        return !KeyInput(id, WM_KEYUP, VirtualKeyFromKeyEvent(*k), static_cast<LPARAM>(0xC0000001u));
    }
    case QEvent::FocusIn: NotifyParent(id, EN_SETFOCUS); break;
    case QEvent::FocusOut: NotifyParent(id, EN_KILLFOCUS); break;
    case QEvent::MouseButtonPress:
        if (WindowId top = TopLevelOf(id); !AcceptsInput(top)) return true;
        else if (top != GetActiveWindow()) Activate(top, WA_CLICKACTIVE);
        break;
    default: break;
    }
    return QObject::eventFilter(watched, e);
}

}  // namespace platform
