#include "platform/qt/qt_application.h"

#include <malloc.h>

#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include "platform/draw/qt_canvas.h"
#include "platform/qt/qt_window_host.h"

namespace platform {

QtApplication::QtApplication(int& argc, char** argv)
{
#ifdef __GLIBC__
    // One heap for every thread, set before the toolkit starts its own.
    // The window's helper threads (picture decoding, the key reader, the
    // device and game watches, the toolkit's) allocate a little each, and
    // a heap apiece kept 20-120 kB of pages for it.
    mallopt(M_ARENA_MAX, 1);
#endif
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
    // Read as the skin is: left to guess the format, the pixmap would load
    // every image plugin (and the JPEG library) to ask each about the file.
    const QImage image = ReadPictureFile(path);
    if (image.isNull()) return false;
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(image)));
    return true;
}

IWindowHost& QtApplication::Host() { return *host_; }
QtWindowHost& QtApplication::QtHost() { return *host_; }
int QtApplication::Run() { return host_->Run(); }

}  // namespace platform
