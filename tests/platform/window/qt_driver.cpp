// Runs the shared window tests on the Qt host (off-screen platform): real
// widgets, real Qt events, a fresh host for every test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "host_under_test.h"
#include "platform/qt/qt_window_host.h"

namespace {

struct QtUnderTest final : HostUnderTest {
    platform::QtWindowHost host;
    ~QtUnderTest() override { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    platform::WindowBook& Host() override { return host; }
    void Pump() override
    {
        // A reaction may post a message whose handler posts the next one.
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }
    void Click(platform::WindowId w, platform::Point client) override
    {
        QTest::mouseClick(host.WidgetOf(w), Qt::LeftButton, {}, QPoint(client.x, client.y));
    }
};

}  // namespace

std::unique_ptr<HostUnderTest> MakeHostUnderTest() { return std::make_unique<QtUnderTest>(); }

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
