#include "platform/keyboard/qt_key_source.h"

#include <chrono>
#include <vector>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QObject>

#include "platform/keyboard/x11_raw_key_source.h"

namespace platform {
namespace {

uint32_t NowMs() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

class QtWindowKeySource final : public QObject, public IKeyEventSource {
public:
    ~QtWindowKeySource() override { Stop(); }

    bool Start(KeyEventSink sink) override {
        Stop();
        if (!QCoreApplication::instance() || !sink) return false;
        sink_ = std::move(sink);
        QCoreApplication::instance()->installEventFilter(this);
        return true;
    }

    void Stop() override {
        if (sink_ && QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
        sink_ = nullptr;
    }

protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        QEvent::Type type = event->type();
        // A key event reaches the top-level QWindow first and is then passed
        // on to the focused widget and its parents, each passing this filter
        // again: counting it at the window alone counts it once.
        if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && target->isWindowType() && sink_) {
            const auto* key = static_cast<const QKeyEvent*>(event);
            bool release = type == QEvent::KeyRelease;
            // Auto-repeat comes as release+press pairs: the presses stay
            // (a held key repeats as presses), the releases in between go.
            if (!(release && key->isAutoRepeat())) {
                uint8_t vk = VirtualKeyFromKeyEvent(*key);
                uint32_t ms = key->timestamp() != 0 ? uint32_t(key->timestamp()) : NowMs();
                if (vk != 0) sink_(vk, MakeKeyHookLParam(release, ms));
            }
        }
        return false;  // the windows still get their keys
    }

private:
    KeyEventSink sink_;
};

// Tries its candidates in order and runs the first that starts.
class FirstWorkingKeySource final : public IKeyEventSource {
public:
    explicit FirstWorkingKeySource(std::vector<std::unique_ptr<IKeyEventSource>> candidates)
        : candidates_(std::move(candidates)) {}
    bool Start(KeyEventSink sink) override {
        Stop();
        for (auto& c : candidates_) {
            if (c->Start(sink)) {
                running_ = c.get();
                return true;
            }
        }
        return false;
    }
    void Stop() override {
        if (running_) running_->Stop();
        running_ = nullptr;
    }

private:
    std::vector<std::unique_ptr<IKeyEventSource>> candidates_;
    IKeyEventSource* running_ = nullptr;
};

}  // namespace

std::unique_ptr<IKeyEventSource> CreateQtWindowKeySource() { return std::make_unique<QtWindowKeySource>(); }

void InstallDesktopKeySources() {
    bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    SetKeyEventSourceFactory([x11]() -> std::unique_ptr<IKeyEventSource> {
        std::vector<std::unique_ptr<IKeyEventSource>> candidates;
        // The raw events already include our own windows' keys, so the
        // window source is only the fallback: running both would double them.
        if (x11) candidates.push_back(CreateX11RawKeySource());
        candidates.push_back(CreateQtWindowKeySource());
        return std::make_unique<FirstWorkingKeySource>(std::move(candidates));
    });
}

}  // namespace platform
