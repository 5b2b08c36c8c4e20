#include "platform/qt/qt_application.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include "platform/qt/qt_window_host.h"

namespace platform {

QtApplication::QtApplication(int& argc, char** argv)
{
    QApplication::setApplicationName(QStringLiteral("Tevlan"));
    QApplication::setDesktopFileName(QStringLiteral("tevlan"));
    app_ = std::make_unique<QApplication>(argc, argv);
    // The program decides when it ends (its main window's modal run), not
    // the last window closing.
    app_->setQuitOnLastWindowClosed(false);
    host_ = std::make_unique<QtWindowHost>();
    g_windowHost = host_.get();
}

QtApplication::~QtApplication()
{
    if (g_windowHost == host_.get()) g_windowHost = nullptr;
    host_.reset();
    app_.reset();
}

bool QtApplication::SetIcon(const std::string& path)
{
    QPixmap pixmap;
    if (!pixmap.load(QString::fromStdString(path))) return false;
    QApplication::setWindowIcon(QIcon(pixmap));
    return true;
}

IWindowHost& QtApplication::Host() { return *host_; }
QtWindowHost& QtApplication::QtHost() { return *host_; }
int QtApplication::Run() { return host_->Run(); }

}  // namespace platform
