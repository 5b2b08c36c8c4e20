// The floor of the toolkit: a frameless Qt window of the main window's size
// with one label, and nothing else. The start-up probe measures it next to
// tevlan, in the same run, so the comparison survives a busy machine.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.resize(1127, 740);
    QLabel label(QStringLiteral("Tevlan"), &window);
    label.move(20, 20);
    window.show();
    return app.exec();
}
