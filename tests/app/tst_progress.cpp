#include "Progress.h"
#include "TestMain.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <limits>

namespace {
QProgressBar* barOf(Progress& dialog)
{
    return dialog.findChild<QProgressBar*>(QStringLiteral("progressBar"));
}
QPushButton* buttonOf(Progress& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(QLatin1String(name));
}
QLabel* labelOf(Progress& dialog)
{
    return dialog.findChild<QLabel*>(QStringLiteral("label"));
}
} // namespace

class TestProgress : public QObject
{
    Q_OBJECT

private slots:
    void freshDialog()
    {
        // A run can be cancelled, not minimised.
        Progress dialog(nullptr);
        QVERIFY(dialog.isModal());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCoreApplication::processEvents(); // the dialog's own event 1102
        QVERIFY(buttonOf(dialog, "pushButton")->isVisible());
        QVERIFY(!buttonOf(dialog, "pushMinimize")->isVisible());
        QCOMPARE(labelOf(dialog)->text(), QStringLiteral("Updating..."));
    }

    void progressIsTruncated_data()
    {
        QTest::addColumn<float>("fraction");
        QTest::addColumn<int>("shown");
        QTest::newRow("nothing") << 0.0f << 0;
        QTest::newRow("a third") << float(1.0 / 3) << 33;
        QTest::newRow("half") << 0.5f << 50;
        QTest::newRow("almost all") << 0.999f << 99;
        QTest::newRow("all") << 1.0f << 100;
        QTest::newRow("below 0") << -0.25f << 0;
        QTest::newRow("above 1") << 2.5f << 100;
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 0;
        QTest::newRow("infinite") << std::numeric_limits<float>::infinity() << 100;
    }

    void progressIsTruncated()
    {
        QFETCH(float, fraction);
        QFETCH(int, shown);
        Progress dialog(nullptr);
        dialog.SetProgress(0.42f);
        dialog.SetProgress(fraction);
        QCOMPARE(barOf(dialog)->value(), shown);
    }

    void cancelEndsTheLoop()
    {
        Progress dialog(nullptr);
        QPushButton* cancel = buttonOf(dialog, "pushButton");
        QString labelAfterClick;
        bool enabledAfterClick = true;
        QTimer::singleShot(0, &dialog, [&] {
            QTest::mouseClick(cancel, Qt::LeftButton);
            labelAfterClick = labelOf(dialog)->text();
            enabledAfterClick = cancel->isEnabled();
            // A second click must not reach the slot again.
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
        QTimer::singleShot(10000, &dialog, [&] { dialog.done(77); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(labelAfterClick, QStringLiteral("Cancelling..."));
        QVERIFY(!enabledAfterClick);
        QVERIFY(!dialog.isVisible());
    }

    void endProgressEndsTheLoop()
    {
        Progress dialog(nullptr);
        IProgress* sink = &dialog;
        QTimer::singleShot(0, &dialog, [&] {
            sink->SetProgress(0.5f);
            sink->EndProgress();
        });
        QTimer::singleShot(10000, &dialog, [&] { dialog.done(77); });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(barOf(dialog)->value(), 50);
        QVERIFY(!dialog.isVisible());
    }

    void endProgressBeforeTheLoop()
    {
        // A run whose checks all ended before its driver reached exec().
        Progress dialog(nullptr);
        dialog.EndProgress();
        QTimer::singleShot(5000, &dialog, [&] { dialog.done(77); });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }
};

LT_TEST_MAIN(TestProgress)
#include "tst_progress.moc"
