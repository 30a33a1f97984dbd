#include "DialogAddProxy.h"
#include "MessageBoxWatcher.h"
#include "RMainWindow.h"
#include "RankMain.h"
#include "StoreFixture.h"
#include "TestMain.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

class TestDialogAddProxy : public QObject
{
    Q_OBJECT

    RMainWindow* m_window = nullptr;

private slots:
    void init()
    {
        StoreFixture::freshHome();
        m_window = new RMainWindow;
        s_wndRMainWindow = m_window;
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    // The dialog offers its countries in order, the United States first chosen.
    void countries()
    {
        DialogAddProxy dialog(nullptr, m_window->Hub());
        QComboBox* combo = dialog.findChild<QComboBox*>("comboBoxCountry");
        QCOMPARE(dialog.country(), QStringLiteral("United States"));
        QStringList names;
        for (int i = 0; i < combo->count(); ++i)
            names.append(combo->itemText(i));
        for (int i = 1; i < names.size(); ++i)
            QVERIFY2(names.at(i - 1) < names.at(i), qPrintable(names.at(i)));
        QVERIFY(names.contains("Canada"));
        QVERIFY(!names.contains("Canada "));
    }

    // Add accepts a new address (trimmed, like the account) and refuses an empty or stored one.
    void add_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("box"); // empty: accepted
        const QString empty = "Information|Empty Proxy Address!|Please enter proxy address first!";
        const QString stored = "Information|Lumatrove|This Proxy already exists.";
        QTest::newRow("empty") << "" << 80 << empty;
        QTest::newRow("blanks") << "   " << 80 << empty;
        QTest::newRow("stored") << "10.0.0.1" << 8080 << stored;
        QTest::newRow("stored, typed with blanks") << " 10.0.0.1  " << 8080 << stored;
        QTest::newRow("stored address, other port") << "10.0.0.1" << 8090 << "";
        QTest::newRow("new") << "proxy.example" << 3128 << "";
    }

    void add()
    {
        QFETCH(QString, address);
        QFETCH(int, port);
        QFETCH(QString, box);
        QVERIFY(
            m_window->Hub()->m_Sqldb.appendProxy("10.0.0.1", 8080, "Japan", "http", "", "", true));
        MessageBoxWatcher boxes;
        DialogAddProxy dialog(nullptr, m_window->Hub());
        dialog.findChild<QLineEdit*>("lineEditAddress")->setText(address);
        dialog.findChild<QSpinBox*>("spinBoxPort")->setValue(port);
        dialog.findChild<QLineEdit*>("lineEditUsername")->setText(" user ");
        dialog.findChild<QLineEdit*>("lineEditPassword")->setText(" p w ");
        dialog.findChild<QPushButton*>("pushButtonAdd")->click();
        QCOMPARE(dialog.result(), box.isEmpty() ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(StoreFixture::boxLines(boxes), box.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(dialog.findChild<QLineEdit*>("lineEditAddress")->text(), address);
        if (box.isEmpty()) {
            QCOMPARE(dialog.address(), address.trimmed());
            QCOMPARE(dialog.port(), port);
            QCOMPARE(dialog.username(), QStringLiteral("user"));
            QCOMPARE(dialog.password(), QStringLiteral("p w"));
        }
    }

    void cancelRejects()
    {
        DialogAddProxy dialog(nullptr, m_window->Hub());
        dialog.setResult(QDialog::Accepted);
        dialog.findChild<QLineEdit*>("lineEditAddress")->setText("proxy.example");
        dialog.findChild<QPushButton*>("pushButtonCancel")->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
};

LT_TEST_MAIN(TestDialogAddProxy)
#include "tst_dialogaddproxy.moc"
