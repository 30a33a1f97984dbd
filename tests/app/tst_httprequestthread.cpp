#include "Event_SetProgress.h"
#include "HttpRequestThread.h"
#include "LTException.h"
#include "Progress.h"
#include "TestMain.h"

#include <QPointer>
#include <QProgressBar>
#include <QSemaphore>
#include <QTimer>

namespace {

// What a work function is handed: the fractions to report, then what to do at the end.
struct Job {
    QList<float> fractions;
    int throwCode = 0;             // 0: return normally
    QSemaphore* proceed = nullptr; // released by the GUI thread before the work ends
};

void work(void* argument, IProgress* progress, std::list<UPDATE_FLOW>* results)
{
    auto* job = static_cast<Job*>(argument);
    for (float fraction : job->fractions)
        progress->SetProgress(fraction);
    if (job->proceed)
        job->proceed->acquire();
    results->push_back(UPDATE_FLOW());
    if (job->throwCode)
        throw LTException(job->throwCode, "worker failed");
}

class Runner : public HttpRequestThread
{
public:
    Runner(Job* job, Progress* dialog)
    {
        m_pArgument = job;
        m_pDlg = dialog;
        m_pfnWork = &work;
    }
    void EndProgress() override {}
    std::size_t resultCount() const { return m_lstResult.size(); }
};

QProgressBar* barOf(Progress& dialog)
{
    return dialog.findChild<QProgressBar*>(QStringLiteral("progressBar"));
}

} // namespace

class TestHttpRequestThread : public QObject
{
    Q_OBJECT

private slots:
    void progressReachesTheBarOnTheGuiThread()
    {
        Progress dialog(nullptr);
        QSemaphore proceed;
        Job job{{0.25f, 0.999f, 1.0f}, 0, &proceed};
        Runner runner(&job, &dialog);

        QList<int> values;
        QList<QThread*> threads;
        connect(
            barOf(dialog), &QProgressBar::valueChanged, &dialog,
            [&](int value) {
                values.append(value);
                threads.append(QThread::currentThread());
                if (value == 100)
                    proceed.release();
            },
            Qt::DirectConnection);
        QTimer::singleShot(0, &runner, [&] { runner.start(); });
        QTimer::singleShot(20000, &dialog, [&] {
            proceed.release();
            dialog.done(77);
        });

        // The close after the work rejects the dialog.
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(runner.wait(20000));
        QCOMPARE(values, (QList<int>{25, 99, 100}));
        for (QThread* thread : std::as_const(threads))
            QCOMPARE(thread, QThread::currentThread());
        QCOMPARE(runner.resultCount(), std::size_t(1));
    }

    void exceptionCodeTwoEndsTheDialogWithOne()
    {
        Progress dialog(nullptr);
        Job job{{0.5f}, 2, nullptr};
        Runner runner(&job, &dialog);
        QTimer::singleShot(0, &runner, [&] { runner.start(); });
        QTimer::singleShot(20000, &dialog, [&] { dialog.done(77); });
        QCOMPARE(dialog.exec(), 1);
        QVERIFY(runner.wait(20000));
        QCOMPARE(barOf(dialog)->value(), 50);
    }

    void otherExceptionLeavesTheDialogOpen()
    {
        Progress dialog(nullptr);
        Job job{{}, 3, nullptr};
        Runner runner(&job, &dialog);
        bool openAfterWork = false;
        QTimer::singleShot(0, &runner, [&] { runner.start(); });
        QTimer::singleShot(0, &dialog, [&] {
            runner.wait(20000);
            // Let whatever the worker posted arrive.
            QTimer::singleShot(300, &dialog, [&] {
                openAfterWork = dialog.isVisible();
                dialog.done(77);
            });
        });
        QCOMPARE(dialog.exec(), 77);
        QVERIFY(openAfterWork);
    }

    void foreignEventsAreIgnored()
    {
        Progress dialog(nullptr);
        Job job;
        Runner runner(&job, &dialog);
        dialog.SetProgress(0.3f);
        QCoreApplication::postEvent(&runner, new QEvent(QEvent::Type(1001))); // no percent
        QCoreApplication::postEvent(&runner, new QEvent(QEvent::Type(1003)));
        QCoreApplication::postEvent(&runner, new Event_SetProgress(64));
        QCoreApplication::processEvents();
        QCOMPARE(barOf(dialog)->value(), 64);
        QCOMPARE(dialog.result(), 0);
    }
};

LT_TEST_MAIN(TestHttpRequestThread)
#include "tst_httprequestthread.moc"
