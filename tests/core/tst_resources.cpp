#include "EngineCatalogue.h"
#include "TestMain.h"
#include "TestRows.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QtEndian>

// The embedded text tables and pictures, checked byte for byte: stored websites carry
// texts and hosts built from them, so their exact form matters.
class TestResources : public QObject
{
    Q_OBJECT

    static QByteArray bytes(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray();
        return f.readAll();
    }

    // Lines of a CR LF file without a final line end; the byte-order mark is dropped.
    static QStringList lines(const QString& path)
    {
        QByteArray data = bytes(path);
        if (data.startsWith("\xEF\xBB\xBF"))
            data.remove(0, 3);
        return QString::fromLatin1(data).split("\r\n");
    }

    static QList<QPair<QString, QString>> rows(const QString& path, char separator)
    {
        QList<QPair<QString, QString>> out;
        for (const QString& line : lines(path)) {
            const QStringList parts = line.split(QLatin1Char(separator));
            out.append({parts.value(0), parts.size() == 2 ? parts.value(1) : QString("<bad>")});
        }
        return out;
    }

    static QMap<QString, QString> table(const QString& path)
    {
        QMap<QString, QString> map;
        for (const auto& row : rows(path, '#'))
            map.insert(row.first, row.second);
        return map;
    }

    static QStringList listCountries(const QString& engine)
    {
        QStringList out;
        for (const auto& row : rows(":/Resources/" + engine + "ContryLanguageMap.txt", '_'))
            if (!out.contains(row.first))
                out << row.first;
        return out;
    }

private slots:
    void textFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<bool>("bom");
        QTest::addColumn<QString>("firstLine");

        testRow("google domains", "GoogleAreaDomain.txt", 157, true, "United States#com");
        testRow("google hl", "GoogleAreaHl.txt", 131, true, "English#en");
        testRow("bing hl", "BingAreaHl.txt", 47, true, "United States#en-US");
        testRow("bing domains", "BingAreaDomain.txt", 46, true, "United States#www");
        testRow("yahoo domains", "YahooAreaDomain.txt", 36, true, "United States#search.yahoo.com");
        testRow("google list", "GoogleContryLanguageMap.txt", 327, false, "United States_English");
        testRow("bing list", "BingContryLanguageMap.txt", 46, false, "United States_English");
        testRow("yahoo list", "YahooContryLanguageMap.txt", 35, false, "United States_English");
        testRow("flags", "CountryFlag.txt", 158, true, "United States#United-States.png");
        testRow("default options", "cfg_default.txt", 32, false, "IsUpdateOnAddFinished#true");
    }

    void textFiles()
    {
        QFETCH(QString, name);
        QFETCH(int, lineCount);
        QFETCH(bool, bom);
        QFETCH(QString, firstLine);

        const QByteArray data = bytes(":/Resources/" + name);
        QVERIFY2(!data.isEmpty(), qPrintable(name));
        QCOMPARE(data.startsWith("\xEF\xBB\xBF"), bom);
        const QByteArray body = bom ? data.mid(3) : data;
        for (char c : body)
            QVERIFY2(c > 0, "ASCII only after the byte-order mark");
        QVERIFY(!body.endsWith('\n') && !body.endsWith('\r'));
        QCOMPARE(body.count("\r\n"), lineCount - 1);
        QCOMPARE(body.count('\n') + body.count('\r'), 2 * (lineCount - 1)); // no bare CR or LF
        const QStringList all = lines(":/Resources/" + name);
        QCOMPARE(all.first(), firstLine);
        for (const QString& line : all)
            QVERIFY2(!line.isEmpty(), "no empty lines");
    }

    void absentFiles_data()
    {
        QTest::addColumn<QString>("path");
        testRow("google pattern", ":/Resources/GoogleRegexp.txt");
        testRow("bing pattern", ":/Resources/BingRegexp.txt");
        testRow("icon list", ":/Resources/(^^).txt");
    }

    void absentFiles()
    {
        QFETCH(QString, path);
        QVERIFY(!QFile::exists(path));
    }

    // The three lists feed the pickers; their rows are the catalogue's, apart from the
    // trailing blanks that stored websites carry.
    void listsMatchCatalogue_data()
    {
        QTest::addColumn<QString>("engine");
        testRow("google", "Google");
        testRow("yahoo", "Yahoo");
        testRow("bing", "Bing");
    }

    void listsMatchCatalogue()
    {
        QFETCH(QString, engine);
        QStringList fromCatalogue;
        for (const QString& key : g_allEngineList)
            if (key.startsWith(engine + "_"))
                fromCatalogue << key.mid(engine.size() + 1);
        QStringList fromFile;
        for (const auto& row : rows(":/Resources/" + engine + "ContryLanguageMap.txt", '_')) {
            QVERIFY(row.second != "<bad>");
            fromFile << row.first.trimmed() + "_" + row.second.trimmed();
        }
        QCOMPARE(fromFile, fromCatalogue);
    }

    void listBlanks()
    {
        const QString padded35 = QString(35, ' ');
        QMap<QString, QString> padded; // line -> exact text
        for (const QString& line : lines(":/Resources/GoogleContryLanguageMap.txt"))
            if (line != line.trimmed())
                padded.insert(line.trimmed(), line);
        QCOMPARE(padded.keys(), QStringList({"Australia_English", "Dominica_English",
                                             "Hungary_Hungarian", "Mexico_English"}));
        QCOMPARE(padded.value("Australia_English"), QString("Australia_English "));
        QCOMPARE(padded.value("Mexico_English"), "Mexico_English" + padded35);
        QCOMPARE(padded.value("Dominica_English"), "Dominica_English" + padded35);
        QCOMPARE(padded.value("Hungary_Hungarian"), "Hungary_Hungarian" + padded35);

        const QStringList yahoo = lines(":/Resources/YahooContryLanguageMap.txt");
        QCOMPARE(yahoo.at(7), QString("Canada _French"));
        for (const QString& line : yahoo)
            QVERIFY(line == "Canada _French" || line == line.trimmed());
        for (const QString& line : lines(":/Resources/BingContryLanguageMap.txt"))
            QCOMPARE(line, line.trimmed());
        QVERIFY(lines(":/Resources/BingContryLanguageMap.txt").contains("Canada_French"));
    }

    void areaDomains_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("suffix");
        testRow("google", "Google", "www.google.", "");
        testRow("bing", "Bing", "", ".bing.com");
        testRow("yahoo", "Yahoo", "", "");
    }

    void areaDomains()
    {
        QFETCH(QString, engine);
        QFETCH(QString, prefix);
        QFETCH(QString, suffix);

        const QMap<QString, QString> map = table(":/Resources/" + engine + "AreaDomain.txt");
        QSet<QString> wanted;
        for (const QString& c : listCountries(engine))
            wanted.insert(c);
        wanted.insert("China");
        QCOMPARE(QSet<QString>(map.keyBegin(), map.keyEnd()), wanted);
        const QRegularExpression hostShape("^[a-z]+(\\.[a-z]+)+$");
        for (auto it = map.begin(); it != map.end(); ++it) {
            const QString host = prefix + it.value() + suffix;
            QVERIFY2(hostShape.match(host).hasMatch(), qPrintable(host));
            QVERIFY2(host.contains(engine.toLower()), qPrintable(host));
        }
    }

    void tellingRows()
    {
        // Row values of these files are compared with the lookup tables, whose rows are
        // checked by hand, in tst_localelookup; here what only the files hold.
        const auto yahoo = table(":/Resources/YahooAreaDomain.txt");
        QCOMPARE(yahoo.value("Ireland"), yahoo.value("United Kingdom"));
        QVERIFY(!yahoo.value("Canada ").isEmpty());
        QVERIFY(yahoo.value("Canada ") != yahoo.value("Canada"));
        QCOMPARE(QSet<QString>(yahoo.begin(), yahoo.end()).size(), yahoo.size() - 1);

        const auto hl = table(":/Resources/GoogleAreaHl.txt");
        QCOMPARE(hl.value("Bahamas"), hl.value("Bosnian"));

        const auto market = table(":/Resources/BingAreaHl.txt");
        QCOMPARE(market.value("CanadaEnglish"), QString("en-CA"));
        QCOMPARE(market.value("CanadaFrench"), QString("fr-CA"));
        QVERIFY(!market.contains("Canada"));
        // Every Bing country but Canada has its market row.
        for (const QString& c : listCountries("Bing"))
            QVERIFY2(c == "Canada" || market.contains(c), qPrintable(c));
    }

    void flagTable()
    {
        const auto flagRows = rows(":/Resources/CountryFlag.txt", '#');
        QSet<QString> wanted{"China"};
        for (const char* engine : {"Google", "Bing", "Yahoo"})
            for (const QString& c : listCountries(engine))
                wanted.insert(c);
        QSet<QString> keys;
        for (const auto& row : flagRows) {
            QVERIFY2(!keys.contains(row.first), qPrintable(row.first));
            keys.insert(row.first);
        }
        QCOMPARE(keys, wanted);

        const QSet<QString> keepBlanks{"Saint Vincent and the Grenadines", "Sri Lanka",
                                       "United Arab Emirates"};
        for (const auto& row : flagRows) {
            QString image = QString(row.first).replace(' ', '-') + ".png";
            if (row.first == "Canada ")
                image = "Canada.png";
            else if (keepBlanks.contains(row.first))
                image = row.first + ".png";
            QCOMPARE(row.second, image);
        }
    }

    void flagImages()
    {
        QSet<QString> named;
        for (const auto& row : rows(":/Resources/CountryFlag.txt", '#'))
            named.insert(row.second);
        QCOMPARE(named.size(), 157);
        named.insert("Guinea-Bissau.png");

        const QStringList present = QDir(":/country").entryList(QDir::Files);
        QCOMPARE(QSet<QString>(present.begin(), present.end()), named);
        for (const QString& name : present) {
            const QByteArray png = bytes(":/country/" + name);
            // Signature, then IHDR with width and height.
            QVERIFY2(png.startsWith("\x89PNG\r\n\x1a\n"), qPrintable(name));
            QCOMPARE(png.mid(12, 4), QByteArray("IHDR"));
            QCOMPARE(qFromBigEndian<quint32>(png.constData() + 16), 16u);
            QCOMPARE(qFromBigEndian<quint32>(png.constData() + 20), 16u);
            QImage image;
            QVERIFY2(image.loadFromData(png, "PNG"), qPrintable(name));
            QCOMPARE(image.size(), QSize(16, 16));
            // A flag, not an empty canvas.
            int drawn = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    drawn += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
            QVERIFY2(drawn >= 50, qPrintable(name));
        }
    }

    void defaultOptions()
    {
        const auto map = table(":/Resources/cfg_default.txt");
        QCOMPARE(map.value("CompanyName"), QString("test company.ltd"));
        QCOMPARE(map.value("DelayXEveryXKeywords"), QString("3s,9"));
        QCOMPARE(map.value("SearchDepthYahoo"), QString("100"));
        QVERIFY(map.value("Email").contains('@'));
        // The maker's own addresses lie in the domain reserved for examples.
        QCOMPARE(map.value("Email").section('@', 1), QString("brindlecor.example"));
        QCOMPARE(map.value("Website").section('.', 1), QString("brindlecor.example"));
        QVERIFY(map.value("Logo").endsWith("\\logo.png"));
        QCOMPARE(map.value("Logo").mid(1, 2), QString(":\\"));
        QVERIFY(map.value("DefaultSavePath").endsWith('\\'));
    }

    void applicationIcon()
    {
        QImage icon(":/Resources/lumatrove_icon.png");
        QVERIFY(!icon.isNull());
        QVERIFY(icon.width() >= 16 && icon.width() == icon.height());
    }
};

LT_TEST_MAIN(TestResources)
#include "tst_resources.moc"
