// Loaded into a program with LD_PRELOAD by corvane_startup_bench; changes nothing in it. As the
// application object is made it installs an event filter; at the first Expose of the top-level
// window titled $PROBE_TITLE it lets that event finish (the window's paint is synced and flushed
// during it), then writes "painted-ns width height" (CLOCK_MONOTONIC) to $PROBE_OUT and ends the
// process at once, so that no shutdown is timed.

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace {

class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(QString title) : m_title(std::move(title)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_seen || event->type() != QEvent::Expose)
            return false;
        auto* window = qobject_cast<QWindow*>(watched);
        if (!window || window->title() != m_title)
            return false;
        m_seen = true;
        QPointer<QWindow> painted(window);
        QTimer::singleShot(0, this, [painted] {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            if (const char* path = std::getenv("PROBE_OUT")) {
                if (FILE* out = std::fopen(path, "w")) {
                    std::fprintf(out, "%lld %d %d\n", now.tv_sec * 1000000000LL + now.tv_nsec,
                                 painted ? painted->width() : -1, painted ? painted->height() : -1);
                    std::fclose(out);
                }
            }
            _exit(0);
        });
        return false;
    }

private:
    QString m_title;
    bool m_seen = false;
};

void installProbe()
{
    const char* title = std::getenv("PROBE_TITLE");
    QCoreApplication::instance()->installEventFilter(new FirstPaintProbe(QString::fromUtf8(title ? title : "")));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
