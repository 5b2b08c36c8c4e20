#include "platform/shell/qt_shell_services.h"

#include <malloc.h>

#include <cstdlib>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QUrl>

#include "platform/shell/file_filter.h"
#include "platform/shell/qt_desktop_notifier.h"
#include "platform/shell/qt_tray_picture.h"

namespace platform {
namespace {

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

Rect ToRect(const QRect& r) { return Rect::FromSize(r.x(), r.y(), r.width(), r.height()); }

// A plain stand-in in the program's accent colour, for a missing icon file:
// a tray entry without any picture is invisible on most panels.
QIcon StandInIcon() {
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x35, 0xA0, 0xDE));
    p.drawRoundedRect(QRectF(4, 4, 56, 56), 14, 14);
    p.setBrush(QColor(0x1F, 0x1F, 0x1F));
    p.drawRoundedRect(QRectF(22, 12, 20, 40), 10, 10);
    return QIcon(pm);
}

QIcon LoadIcon(const std::string& path) {
    if (!path.empty()) {
        // The PNG reader by name: an icon left to guess its file's format
        // would load every image plugin to ask each about it.
        const QString name = QString::fromStdString(path);
        QImageReader reader(name, name.section(QLatin1Char('.'), -1).toLower().toLatin1());
        reader.setAutoDetectImageFormat(false);
        QImage image;
        if (reader.read(&image) && !image.isNull()) return QIcon(QPixmap::fromImage(image));
        QIcon icon(name);
        if (!icon.availableSizes().isEmpty()) return icon;
    }
    if (!QGuiApplication::windowIcon().isNull()) return QGuiApplication::windowIcon();
    return StandInIcon();
}

std::optional<std::string> RunFileDialog(const FileDialogParams& params, bool save) {
    QString folder = params.initialFolder.empty() ? QDir::currentPath() : QString::fromStdString(params.initialFolder);
    QFileDialog dialog(QApplication::activeWindow(), Q(params.title), folder);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // An open dialog only takes a file that exists. A save dialog takes a new
    // name as well, or nothing could ever be exported to a new file.
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The filter text already shows its pattern ("psf file(*.psf)").
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList filters;
    for (const std::u16string& f : QtNameFilters(params.filter)) filters << Q(f);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.front());
    }
    dialog.setDefaultSuffix(Q(params.defaultExt));
    if (!params.initialName.empty()) dialog.selectFile(Q(params.initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    std::string path = dialog.selectedFiles().front().toStdString();
    if (path.empty()) return std::nullopt;
    // Desktop-native dialogs may ignore the default suffix.
    if (save) path = WithDefaultExtension(path, Q(params.defaultExt).toStdString());
    return path;
}

}  // namespace

// ---- tray icon ----

QtTrayIcon::QtTrayIcon(TrayIconParams params) : params_(std::move(params)) {
    menu_ = std::make_unique<QMenu>();
    baseIcon_ = std::make_unique<QIcon>(LoadIcon(params_.iconPath));
    icon_ = std::make_unique<QSystemTrayIcon>(*baseIcon_);
    SetMenu(params_.menu);
    icon_->setContextMenu(menu_.get());
    icon_->setToolTip(Q(params_.toolTip));
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         // Many panels report only single clicks on tray icons.
                         if ((reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger) &&
                             params_.onActivate)
                             params_.onActivate();
                     });
    icon_->show();
}

QtTrayIcon::~QtTrayIcon() {
    icon_->hide();
    icon_.reset();  // before the menu it refers to
    menu_.reset();
    baseIcon_.reset();
}

void QtTrayIcon::SetToolTip(const std::u16string& tip) {
    params_.toolTip = tip;
    icon_->setToolTip(Q(tip));
}

void QtTrayIcon::SetMenu(const std::vector<TrayMenuItem>& menu) {
    params_.menu = menu;
    menu_->clear();  // deletes the submenus too: they are its children
    AddItems(menu_.get(), params_.menu);
}

void QtTrayIcon::AddItems(QMenu* menu, const std::vector<TrayMenuItem>& items) {
    for (const TrayMenuItem& item : items) {
        if (!item.submenu.empty()) {
            AddItems(menu->addMenu(Q(item.text)), item.submenu);
            continue;
        }
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(Q(item.text));
        action->setData(item.id);
        action->setCheckable(item.checkable);
        action->setChecked(item.checked);
        int id = item.id;
        QObject::connect(action, &QAction::triggered, menu_.get(), [this, id] {
            if (params_.onMenuItem) params_.onMenuItem(id);
        });
    }
}

void QtTrayIcon::SetBattery(const TrayBattery& battery) { icon_->setIcon(TrayPicture(*baseIcon_, battery)); }

bool QtTrayIcon::IsShown() const { return icon_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable(); }

// ---- services ----

ScreenInfo QtShellServices::QueryScreen() {
    ScreenInfo info;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        // No screen at all (a display being reconnected): a plain 1080p
        // keeps every layout sane.
        info.screen = info.workArea = Rect{0, 0, 1920, 1080};
        return info;
    }
    info.screen = ToRect(screen->geometry());
    info.workArea = ToRect(screen->availableGeometry());
    if (info.workArea.IsEmpty()) info.workArea = info.screen;
    info.logicalDpi = int(screen->logicalDotsPerInchX() + 0.5);
    return info;
}

bool QtShellServices::OpenWebAddress(const std::u16string& url) {
    if (!IsWebAddress(url)) return false;
    return QDesktopServices::openUrl(QUrl(Q(url), QUrl::StrictMode));
}

std::optional<SettingsCommand> QtShellServices::MouseSettingsCommand() {
    const char* path = std::getenv("PATH");
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return FindMouseSettingsCommand(path ? path : "", desktop ? desktop : "");
}

bool QtShellServices::OpenMouseSettings() {
    std::optional<SettingsCommand> cmd = MouseSettingsCommand();
    if (!cmd) return false;
    QStringList args;
    for (const std::string& a : cmd->args) args << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(cmd->path), args);
}

std::optional<std::string> QtShellServices::GetOpenFileName(const FileDialogParams& params) {
    return RunFileDialog(params, false);
}

std::optional<std::string> QtShellServices::GetSaveFileName(const FileDialogParams& params) {
    return RunFileDialog(params, true);
}

bool QtShellServices::IsTrayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtShellServices::Notify(const DesktopNotification& notification) {
    SendDesktopNotification(notification, notificationIcon);
}

void QtShellServices::ReleaseFreeMemory() {
    // The free lists keep what the skin and file decoding left behind; glibc
    // only returns the top of the heap on its own.
    malloc_trim(0);
}

std::unique_ptr<ITrayIcon> QtShellServices::CreateTrayIcon(TrayIconParams params) {
    return std::make_unique<QtTrayIcon>(std::move(params));
}

}  // namespace platform
