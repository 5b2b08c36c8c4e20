#pragma once
// The widget behind a top-level window of the Qt host and the record the host
// keeps per window or edit box, shared by the files that implement the host.
// Not for use outside this folder.
#include <QLineEdit>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "platform/qt/qt_window_host.h"

class QCloseEvent;
class QKeyEvent;
class QMouseEvent;
class QMoveEvent;
class QPaintEvent;
class QResizeEvent;
class QWheelEvent;

namespace platform {

inline QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
inline Rect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// Paints through the window's client and turns Qt's input into the host's
// numbered messages.
class HostWidget final : public QWidget {
public:
    HostWidget(QtWindowHost* host, WindowId id, Qt::WindowFlags flags, QWidget* parent);
    ~HostWidget() override;

    IWindowClient* client = nullptr;
    bool closingByHost = false;

protected:
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void leaveEvent(QEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    QtWindowHost* host_;
    WindowId id_;
};

struct QtWindowHost::Win final : WindowRecord {
    QPointer<HostWidget> widget;
    QPointer<QLineEdit> edit;
    UINT track = 0;
    int hoverMs = 0;
    std::unique_ptr<QTimer> hoverTimer;

    QWidget* Widget() const { return isEdit ? static_cast<QWidget*>(edit.data()) : widget.data(); }
};

}  // namespace platform
