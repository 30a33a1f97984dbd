#include "TestMain.h"
#include "TestRows.h"
#include "options/OptionAndLog.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace {

QStringList g_debugLines;
QtMessageHandler g_previousHandler = nullptr;
std::function<void(const QString&)> g_onDebug;

void recordMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtDebugMsg) {
        g_debugLines << text;
        if (g_onDebug)
            g_onDebug(text);
        return;
    }
    g_previousHandler(type, context, text);
}

QByteArray readFile(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& name, const QByteArray& data)
{
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

const QString kHeader =
    QString(61, '#') + "\nProgram start ... Log Module start\n" + QString(61, '#') + "\n";
const QString kTail =
    QString(61, '=') + "\nProgram Exit ... Log Module exit\n" + QString(61, '=') + "\n";
const QRegularExpression
    kLogLine("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d\\.\\d{3}# Log:===(.*)===$",
             QRegularExpression::DotMatchesEverythingOption);

// The messages of the log's message lines, in order (banners left out).
QStringList logMessages()
{
    QStringList out;
    for (const QString& line : QString::fromUtf8(readFile("Lumatrove.log")).split('\n')) {
        const auto m = kLogLine.match(line);
        if (m.hasMatch())
            out << m.captured(1);
    }
    return out;
}

} // namespace

class TestOptionAndLog : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;

private slots:
    void initTestCase()
    {
        m_previousDir = QDir::currentPath();
        g_previousHandler = qInstallMessageHandler(recordMessage);
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(g_previousHandler);
        QDir::setCurrent(m_previousDir);
    }

    // Every case runs in a working directory of its own, where the component keeps its
    // option files and its log.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir::setCurrent(m_dir->path()));
        g_debugLines.clear();
        g_onDebug = nullptr;
    }

    void cleanup()
    {
        g_onDebug = nullptr;
        QDir::setCurrent(m_previousDir);
        m_dir.reset();
    }

    void parsingAndSaving_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QByteArray>("saved");

        testRow("plain", QByteArray("b#2\na#1\n"), QByteArray("a#1\nb#2\n"));
        testRow("last line wins", QByteArray("a#1\nb#x\na#2"), QByteArray("a#2\nb#x\n"));
        testRow("third piece ignored", QByteArray("a#b#c\n"), QByteArray("a#b\n"));
        testRow("no separator skipped", QByteArray("alone\nk#v\n"), QByteArray("k#v\n"));
        testRow("empty value", QByteArray("k#\n"), QByteArray("k#\n"));
        testRow("empty key", QByteArray("#v\n"), QByteArray("#v\n"));
        testRow("blanks kept", QByteArray(" a # b \n"), QByteArray(" a # b \n"));
        testRow("crlf", QByteArray("a#1\r\nb#2\r\n"), QByteArray("a#1\nb#2\n"));
        testRow("empty lines", QByteArray("\n\na#1\n\n\n"), QByteArray("a#1\n"));
        testRow("capitals sort first", QByteArray("zeta#1\nAlpha#2\nbeta#3\n"),
                QByteArray("Alpha#2\nbeta#3\nzeta#1\n"));
        testRow("mixed", QByteArray("x#1\na#b#c\nnoHash\n#v\n a # b \nk#\nx#2\r\n"),
                QByteArray("#v\n a # b \na#b\nk#\nx#2\n"));
    }

    void parsingAndSaving()
    {
        QFETCH(QByteArray, config);
        QFETCH(QByteArray, saved);
        writeFile("config.cfg", config);
        OptionAndLog options;
        QVERIFY(options.SaveOption());
        QCOMPARE(readFile("config.cfg"), saved);
    }

    void getters_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("flag");

        testRow("number", QByteArray("k#100"), "100", 100, false);
        testRow("unit suffix", QByteArray("k#7d"), "7d", 0, false);
        testRow("empty value", QByteArray("k#"), "", -1, false);
        testRow("absent", QByteArray("other#1"), "", -1, false);
        testRow("true", QByteArray("k#true"), "true", 0, true);
        testRow("capital true", QByteArray("k#True"), "True", 0, false);
        testRow("one is no true", QByteArray("k#1"), "1", 1, false);
        testRow("negative", QByteArray("k#-5"), "-5", -5, false);
    }

    void getters()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, text);
        QFETCH(int, number);
        QFETCH(bool, flag);
        writeFile("config.cfg", config);
        OptionAndLog options;
        QCOMPARE(options.GetOption("k"), text);
        QCOMPARE(options.GetOptionInt("k"), number);
        QCOMPARE(options.GetOptionBool("k"), flag);
        bool out = !flag;
        options.GetOptionBool("k", &out);
        QCOMPARE(out, flag);
        out = !flag;
        options.GetOptionBool(nullptr, &out);
        QCOMPARE(out, !flag);
        options.GetOptionBool("k", nullptr); // must not crash
        QCOMPARE(options.GetStringSet("k"), QString());
    }

    void staging()
    {
        writeFile("config.cfg", "a#1\nb#2\n");
        OptionAndLog options;

        bool loaded = false;
        QVERIFY(options.PutOption("a", "first", &loaded));
        QVERIFY(loaded);
        QVERIFY(options.PutOption("a", "second", nullptr));
        QVERIFY(options.PutOption("zz", "new", &loaded));
        QVERIFY(!loaded);
        QVERIFY(!options.PutOptionIfExist("yy", "x"));
        QVERIFY(options.PutOptionIfExist("b", "3"));
        QCOMPARE(options.GetOption("a"), QString("1")); // not before saving

        QVERIFY(options.SaveOption());
        QCOMPARE(readFile("config.cfg"), QByteArray("a#second\nb#3\n"));
        QCOMPARE(options.GetOption("a"), QString("second"));
        QCOMPARE(options.GetOption("zz"), QString());
        const QStringList messages = logMessages();
        QVERIFY(messages.contains("warnning! InsertOption option already exist"));
        QVERIFY(messages.contains("Option no exist(zz)"));

        // Discarded changes leave the options as they are, and the file is rewritten.
        options.PutOption("a", "discarded", nullptr);
        options.ClearOptionTmp();
        writeFile("config.cfg", "junk");
        QVERIFY(options.SaveOption());
        QCOMPARE(readFile("config.cfg"), QByteArray("a#second\nb#3\n"));
    }

    void saveFailureKeepsMemoryState()
    {
        writeFile("config.cfg", "a#1\n");
        OptionAndLog options;
        options.PutOption("a", "2", nullptr);
        QVERIFY(QFile::remove("config.cfg"));
        QVERIFY(QDir().mkdir("config.cfg")); // cannot be opened for writing
        QVERIFY(!options.SaveOption());
        QCOMPARE(options.GetOption("a"), QString("2"));
    }

    void withoutConfig()
    {
        OptionAndLog options;
        QCOMPARE(options.GetOption("Language"), QString()); // defaults answer nothing
        QCOMPARE(options.GetOptionInt("SearchDepthGoogle"), -1);
        bool loaded = true;
        QVERIFY(options.PutOption("Language", "2", &loaded));
        QVERIFY(!loaded);
        QVERIFY(options.SaveOption());
        QVERIFY(QFile::exists("config.cfg"));
        QCOMPARE(readFile("config.cfg"), QByteArray());
        QVERIFY(logMessages().contains("Option no exist(Language)"));
    }

    void commonUseProfile_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("entries");

        testRow("missing", false, QByteArray(), QStringList({""}));
        testRow("empty", true, QByteArray(), QStringList({""}));
        testRow("final line end", true, QByteArray("a\nb\n"), QStringList({"a", "b", ""}));
        testRow("empty lines kept", true, QByteArray("a\n\nb"), QStringList({"a", "", "b"}));
        testRow("crlf", true, QByteArray("a\r\nb"), QStringList({"a", "b"}));
    }

    void commonUseProfile()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, entries);
        if (exists)
            writeFile("comm.lst", content);
        OptionAndLog options;
        QVERIFY(QFile::exists("comm.lst"));
        QCOMPARE(options.GetCommonUseProfile(), entries);
        QCOMPARE(readFile("comm.lst"), content); // never written
    }

    void loadCounts()
    {
        OptionAndLog options;
        writeFile("three.txt", "a#1\nplain\nb#2\n");
        QMap<QString, QString> map;
        QVERIFY(options.Load("three.txt", map));
        QCOMPARE(map.value("b"), QString("2"));
        writeFile("empty.txt", "");
        QMap<QString, QString> empty;
        QVERIFY(!options.Load("empty.txt", empty));
        QVERIFY(options.Load("empty.txt", map)); // earlier entries still count
        QVERIFY(!options.Load("missing.txt", map));
        QCOMPARE(map.size(), 2);
    }

    void areaLookups()
    {
        OptionAndLog options;
        const QString canada = options.GetYahooDomainUseArea("Canada");
        const QString french = options.GetYahooDomainUseArea("Canada ");
        QVERIFY(canada.contains("yahoo"));
        QVERIFY(french.contains("yahoo"));
        QVERIFY(canada != french);

        QCOMPARE(options.GetBingHlUseArea("Canada"), QString());
        QCOMPARE(options.GetBingHlUseArea("CanadaFrench"), QString("fr-CA"));
        QCOMPARE(options.GetGoogleHlUseLan("Chinese (Traditional)"), QString());
        QCOMPARE(options.GetGoogleHlUseLan("Chinese(Traditional)"), QString("zh-TW"));
        QCOMPARE(options.GetGoogleDomainUseArea("United Kingdom"), QString("co.uk"));
        QCOMPARE(options.GetBingDomainUseArea("United Kingdom"), QString("uk"));
        QCOMPARE(options.GetGoogleDomainUseArea(""), QString());
        QCOMPARE(options.GetIConUseArea("Canada "), QString("Canada.png"));
        QCOMPARE(options.GetIConUseArea("Sri Lanka"), QString("Sri Lanka.png"));
        QCOMPARE(options.GetIConUseArea(""), QString());
    }

    void countryLanguageLists()
    {
        OptionAndLog options;
        QCOMPARE(options.GetGoogleContryLan().size(), 327);
        QCOMPARE(options.GetBingContryLan().size(), 46);
        QCOMPARE(options.GetYahooContryLan().size(), 35);
        QVERIFY(options.GetGoogleContryLan().contains(
            qMakePair(QString("Australia"), QString("English "))));
        QCOMPARE(options.GetYahooContryLan().at(7),
                 qMakePair(QString("Canada "), QString("French")));
        QCOMPARE(options.GetGoogleContryLan().last(),
                 qMakePair(QString("Kenya"), QString("Swahili")));

        writeFile("list.txt", "a_b_c\r\nplain\n\nx_\n");
        OptionAndLog::ContryLanList list;
        QVERIFY(options.ReadCtyLan(list, "list.txt"));
        QCOMPARE(list, OptionAndLog::ContryLanList({{"a", "c"}, {"x", ""}}));
        QVERIFY(!options.ReadCtyLan(list, "missing.txt"));
        QCOMPARE(list.size(), 2);
    }

    void patterns()
    {
        OptionAndLog options;
        QCOMPARE(options.GetGoogleRegxp(), QString());
        QCOMPARE(options.GetBingRegxp(), QString());

        writeFile("empty.txt", "");
        QCOMPARE(options.ReadRegXpFile("empty.txt"), QString());
        writeFile("two.txt", "\xEF\xBB\xBFline1\r\nline2");
        QCOMPARE(options.ReadRegXpFile("two.txt"), QString("line1\nline2"));
    }

    void rankSections_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("sections");

        const QList<int> none{-1, -1, -1, -1};
        testRow("9", QByteArray("SearchDepthGoogle#9"), 1, QList<int>{9, -1, -1, -1});
        testRow("10", QByteArray("SearchDepthGoogle#10"), 1, QList<int>{10, 10, -1, -1});
        testRow("29", QByteArray("SearchDepthGoogle#29"), 1, QList<int>{10, 29, -1, -1});
        testRow("30", QByteArray("SearchDepthGoogle#30"), 1, QList<int>{10, 30, 30, -1});
        testRow("99", QByteArray("SearchDepthGoogle#99"), 1, QList<int>{10, 30, 99, -1});
        testRow("100", QByteArray("SearchDepthGoogle#100"), 1, QList<int>{10, 30, 100});
        testRow("250", QByteArray("SearchDepthGoogle#250"), 1, QList<int>{10, 30, 100});
        testRow("missing", QByteArray(""), 1, none);
        testRow("no number", QByteArray("SearchDepthGoogle#deep"), 1, QList<int>{0, -1, -1, -1});
        testRow("bing", QByteArray("SearchDepthBing#20\nSearchDepthGoogle#5"), 2,
                QList<int>{10, 20, -1, -1});
        testRow("yahoo", QByteArray("SearchDepthYahoo#50"), 4, QList<int>{10, 30, 50, -1});
        testRow("kind 6", QByteArray("SearchDepthGoogle#100"), 6, QList<int>{0, -1, -1, -1});
        testRow("kind 0", QByteArray("SearchDepthGoogle#100"), 0, none);
        testRow("kind 8", QByteArray("SearchDepthGoogle#100"), 8, none);
    }

    void rankSections()
    {
        QFETCH(QByteArray, config);
        QFETCH(int, kind);
        QFETCH(QList<int>, sections);
        writeFile("config.cfg", config);
        OptionAndLog options;
        QCOMPARE(options.GetRankSectionInfo(EnuSearchEngineType(kind)), sections);
    }

    void logLines_data()
    {
        QTest::addColumn<QString>("message");
        testRow("plain", "hello");
        testRow("empty", "");
        testRow("markers inside", "a===b# Log:===c");
        testRow("line breaks", "one\ntwo\r\nthree");
    }

    void logLines()
    {
        QFETCH(QString, message);
        {
            OptionAndLog options;
            options.Log(message);
            options.Log(message.toLatin1().constData());
        }
        const QString text = QString::fromUtf8(readFile("Lumatrove.log"));
        QVERIFY(text.startsWith(kHeader));
        QVERIFY(text.endsWith(kTail));
        const QString body = text.mid(kHeader.size(), text.size() - kHeader.size() - kTail.size());
        // Two equal lines, after the construction's own pattern-file lines.
        const QString stamp = "\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d\\.\\d{3}";
        const QString line = stamp + "# Log:===" + QRegularExpression::escape(message) + "===\n";
        const QRegularExpression twoLines("(" + line + "){2}$");
        QVERIFY2(twoLines.match(body).hasMatch(), qPrintable(body));
    }

    void logAppendsAcrossRuns()
    {
        writeFile("Lumatrove.log", "earlier\n");
        delete new OptionAndLog();
        {
            OptionAndLog second;
            second.Log("run two");
        }
        const QString text = QString::fromUtf8(readFile("Lumatrove.log"));
        QVERIFY(text.startsWith("earlier\n" + kHeader));
        QCOMPARE(text.count(kHeader), 2);
        QCOMPARE(text.count(kTail), 2);
        QVERIFY(text.indexOf(kTail) < text.lastIndexOf(kHeader));
        QVERIFY(text.lastIndexOf("run two") > text.lastIndexOf(kHeader));
    }

    void reentrantLogDuringEcho()
    {
        OptionAndLog options;
        int calls = 0;
        g_onDebug = [&](const QString& text) {
            if (text.contains("===outer===") && calls++ == 0)
                options.Log("inner");
        };
        g_debugLines.clear();
        options.LogOut("outer");
        g_onDebug = nullptr;
        const QStringList messages = logMessages();
        QCOMPARE(messages.mid(messages.size() - 2), QStringList({"outer", "inner"}));
        // The drain that wrote the inner line was echoing.
        QCOMPARE(g_debugLines.size(), 2);
        QVERIFY(g_debugLines.at(1).contains("===inner==="));
    }

    void singleInstance()
    {
        OptionAndLog* first = GetInstance();
        QVERIFY(first);
        const int linesAfterFirst = g_debugLines.size();
        QCOMPARE(OptionAndLog::instance(), first);
        QCOMPARE(GetInstance(), first);
        QCOMPARE(g_debugLines.size(), linesAfterFirst);

        // Deleting the instance clears the process-wide pointer: the next call builds
        // a fresh one instead of handing out the deleted object.
        delete first;
        OptionAndLog* second = GetInstance();
        QVERIFY(second);
        const QString text = QString::fromUtf8(readFile("Lumatrove.log"));
        QCOMPARE(text.count(kHeader), 2);
        QCOMPARE(text.count(kTail), 1);
        delete second;
    }

    void logFileCannotOpen()
    {
        QVERIFY(QDir().mkdir("Lumatrove.log"));
        writeFile("config.cfg", "a#1\n");
        {
            OptionAndLog broken;
            QCOMPARE(g_debugLines, QStringList({"OptionAndLog open file faild!"}));
            QCOMPARE(broken.GetOption("a"), QString()); // construction stopped
            broken.Log("nowhere");
            broken.LogOut("nowhere");
            QCOMPARE(g_debugLines.size(), 1); // no echo without a stream
        }
        QVERIFY(!QFile::exists("comm.lst"));

        QCOMPARE(GetInstance(), nullptr);
        QVERIFY(QDir().rmdir("Lumatrove.log"));
        OptionAndLog* later = GetInstance(); // a later call tries again
        QVERIFY(later);
        QCOMPARE(later->GetOption("a"), QString("1"));
        delete later;
    }
};

LT_TEST_MAIN(TestOptionAndLog)
#include "tst_optionandlog.moc"
