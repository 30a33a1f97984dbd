#include "DialogAddProxy.h"
#include "MessageBoxWatcher.h"
#include "RMainWindow.h"
#include "RankMain.h"
#include "TestMain.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <QSettings>

class TestDialogAddProxy : public QObject
{
    Q_OBJECT

    RMainWindow* m_window = nullptr;

private slots:
    void init()
    {
        const QString home = TestEnvironment::freshHome();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home + "/.config");
        m_window = new RMainWindow;
        s_wndRMainWindow = m_window;
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    void fields()
    {
        DialogAddProxy dialog(nullptr, m_window->Hub());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Add New Proxy"));
        QCOMPARE(dialog.findChild<QSpinBox*>("spinBoxPort")->value(), 80);
        QCOMPARE(dialog.findChild<QSpinBox*>("spinBoxPort")->singleStep(), 10);
        dialog.findChild<QSpinBox*>("spinBoxPort")->setValue(10);
        QCOMPARE(dialog.port(), 80);
        dialog.findChild<QSpinBox*>("spinBoxPort")->setValue(70000);
        QCOMPARE(dialog.port(), 65535);
        dialog.findChild<QSpinBox*>("spinBoxPort")->setValue(80);
        dialog.findChild<QSpinBox*>("spinBoxPort")->stepUp();
        QCOMPARE(dialog.port(), 90);
        QCOMPARE(dialog.findChild<QComboBox*>("comboBoxType")->count(), 2);
        QCOMPARE(dialog.findChild<QComboBox*>("comboBoxType")->itemText(0), QStringLiteral("http"));
        QCOMPARE(dialog.findChild<QComboBox*>("comboBoxType")->itemText(1),
                 QStringLiteral("socks5"));
        QCOMPARE(dialog.type(), QStringLiteral("http"));
        QVERIFY(dialog.username().isEmpty());
        QVERIFY(dialog.password().isEmpty());
        dialog.findChild<QLineEdit*>("lineEditUsername")->setText(" user ");
        dialog.findChild<QLineEdit*>("lineEditPassword")->setText(" p w ");
        QCOMPARE(dialog.username(), QStringLiteral("user"));
        QCOMPARE(dialog.password(), QStringLiteral("p w"));
    }

    void countries()
    {
        DialogAddProxy dialog(nullptr, m_window->Hub());
        QComboBox* combo = dialog.findChild<QComboBox*>("comboBoxCountry");
        QCOMPARE(combo->count(), 156);
        QCOMPARE(dialog.country(), QStringLiteral("United States"));
        QStringList names;
        for (int i = 0; i < combo->count(); ++i)
            names.append(combo->itemText(i));
        for (int i = 1; i < names.size(); ++i)
            QVERIFY2(names.at(i - 1) < names.at(i), qPrintable(names.at(i)));
        QVERIFY(names.indexOf("CentralAfricanRepublic") < names.indexOf("Chile"));
        QVERIFY(names.contains("Canada"));
        QVERIFY(!names.contains("Canada "));
        QVERIFY(!combo->itemIcon(names.indexOf("United States")).isNull());
        QVERIFY(!combo->itemIcon(names.indexOf("Japan")).isNull());
    }

    void add_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "" << 80 << false << "Empty Proxy Address!"
                               << "Please enter proxy address first!";
        QTest::newRow("blanks") << "   " << 80 << false << "Empty Proxy Address!"
                                << "Please enter proxy address first!";
        QTest::newRow("stored") << "10.0.0.1" << 8080 << false << "Lumatrove"
                                << "This Proxy already exists.";
        QTest::newRow("stored, typed with blanks") << " 10.0.0.1  " << 8080 << false << "Lumatrove"
                                                   << "This Proxy already exists.";
        QTest::newRow("stored address, other port") << "10.0.0.1" << 8090 << true << ""
                                                    << "";
        QTest::newRow("new") << "proxy.example" << 3128 << true << ""
                             << "";
    }

    void add()
    {
        QFETCH(QString, address);
        QFETCH(int, port);
        QFETCH(bool, accepted);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QVERIFY(
            m_window->Hub()->m_Sqldb.appendProxy("10.0.0.1", 8080, "Japan", "http", "", "", true));
        MessageBoxWatcher boxes;
        DialogAddProxy dialog(nullptr, m_window->Hub());
        dialog.findChild<QLineEdit*>("lineEditAddress")->setText(address);
        dialog.findChild<QSpinBox*>("spinBoxPort")->setValue(port);
        dialog.findChild<QPushButton*>("pushButtonAdd")->click();
        QCOMPARE(dialog.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
        if (accepted) {
            QVERIFY(boxes.boxes().isEmpty());
            QCOMPARE(dialog.address(), address.trimmed());
            return;
        }
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes().at(0).icon, MessageBoxHook::Information);
        QCOMPARE(boxes.boxes().at(0).title, title);
        QCOMPARE(boxes.boxes().at(0).text, text);
        QCOMPARE(dialog.findChild<QLineEdit*>("lineEditAddress")->text(), address);
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
