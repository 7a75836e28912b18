// A library preloaded into fieldconsole by the working-screen benchmark: it
// times every repaint of the program's windows inside the real process and
// writes one line per repaint to the file named by PAINTLOG_FILE:
//   <ms since the first repaint> <duration in ns> <widgets painted> <class>...
// A repaint is the handling of a window's update request, in which Qt paints
// every widget whose picture has to change. Nothing happens without the
// variable.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class PaintLog : public QObject {
public:
    explicit PaintLog(std::FILE* file) : mFile(file) { mSince.start(); }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && mInRepaint) {
            ++mPainted;
            mClasses += ' ';
            mClasses += receiver->metaObject()->className();
            return false;
        }
        if (event->type() != QEvent::UpdateRequest || mInRepaint || !receiver->isWidgetType())
            return false;
        // Handled here, inside the timing; the window sees it once.
        mInRepaint = true;
        mPainted = 0;
        mClasses.clear();
        QElapsedTimer timer;
        timer.start();
        receiver->event(event);
        const qint64 ns = timer.nsecsElapsed();
        mInRepaint = false;
        if (mPainted > 0) {
            std::fprintf(mFile, "%lld %lld %d%s\n", static_cast<long long>(mSince.elapsed()),
                         static_cast<long long>(ns), mPainted, mClasses.c_str());
            std::fflush(mFile);
        }
        return true;
    }

private:
    std::FILE* mFile;
    QElapsedTimer mSince;
    bool mInRepaint = false;
    int mPainted = 0;
    std::string mClasses;
};

void installPaintLog()
{
    const char* path = std::getenv("PAINTLOG_FILE");
    if (path == nullptr || *path == '\0')
        return;
    std::FILE* file = std::fopen(path, "w");
    if (file == nullptr)
        return;
    QCoreApplication::instance()->installEventFilter(new PaintLog(file));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installPaintLog)
