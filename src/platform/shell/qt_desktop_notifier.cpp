#include "platform/shell/qt_desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

namespace platform {

bool SendDesktopNotification(const DesktopNotification& n, const std::string& iconPath)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("/org/freedesktop/Notifications"),
                                                       QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("Notify"));
    // Notify(app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout)
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue<uchar>(n.urgent ? 2 : 1));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("tevlan"));
    hints.insert(QStringLiteral("category"), QStringLiteral("device"));
    QString icon = QStringLiteral("tevlan");
    if (!iconPath.empty() && QFileInfo::exists(QString::fromStdString(iconPath)))
        icon = QUrl::fromLocalFile(QString::fromStdString(iconPath)).toString();
    call << QStringLiteral("Tevlan") << uint(0) << icon << QString::fromStdU16String(n.title)
         << QString::fromStdU16String(n.body) << QStringList() << hints << int(-1);
    // No reply wanted: the daemon's id is of no use to us, and waiting for
    // it would block the window on a slow desktop.
    call.setAutoStartService(true);
    return bus.send(call);
}

}  // namespace platform
