#include "AddWebsiteModel.h"
#include "AddWebsiteView.h"
#include "EngineCatalogue.h"
#include "LTException.h"
#include "SelectedebsiteModel.h"
#include "TestMain.h"

#include <QFile>
#include <QItemSelectionModel>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

const QString k35Blanks = QString(35, QLatin1Char(' '));

// Row of a pick list by country and language; -1 when none.
int rowOf(AddWebsiteModel* model, const QString& country, const QString& language)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->Country(row) == country && model->Language(row) == language)
            return row;
    }
    return -1;
}

bool choose(AddWebsiteModel* model, const QString& country, const QString& language,
            Qt::CheckState state = Qt::Checked)
{
    const int row = rowOf(model, country, language);
    if (row < 0)
        return false;
    return model->setData(model->index(row, 0), int(state), Qt::CheckStateRole);
}

QString display(QAbstractItemModel* model, int row, int column)
{
    return model->index(row, column).data(Qt::DisplayRole).toString();
}

QStringList catalogueKeys(const QString& engine)
{
    QStringList keys;
    for (const QString& key : g_allEngineList) {
        if (key.startsWith(engine + QLatin1Char('_')))
            keys.append(key.mid(engine.size() + 1));
    }
    return keys;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return path;
}

} // namespace

class TestAddWebsiteModel : public QObject
{
    Q_OBJECT

private slots:
    // The three lists against the engine catalogue: same pairs in the same order, with
    // the blanks only the lists carry; every row a host that names its engine, and a flag.
    void listsFollowTheCatalogue_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("rows");
        QTest::newRow("Google") << int(SE_Google) << "Google" << 327;
        QTest::newRow("Bing") << int(SE_Bing) << "Bing" << 46;
        QTest::newRow("Yahoo") << int(SE_Yahoo) << "Yahoo" << 35;
    }

    void listsFollowTheCatalogue()
    {
        QFETCH(int, kind);
        QFETCH(QString, engine);
        QFETCH(int, rows);
        AddWebsiteView view(nullptr, nullptr, nullptr);
        AddWebsiteModel* model = view.pickModel(EnuSearchEngineType(kind));
        QCOMPARE(model->rowCount(), rows);
        const QStringList keys = catalogueKeys(engine);
        QCOMPARE(keys.size(), rows);
        for (int row = 0; row < rows; ++row) {
            const QString pair =
                model->Country(row).trimmed() + QLatin1Char('_') + model->Language(row).trimmed();
            QCOMPARE(pair, keys.at(row));
            const QString host = display(model, row, 0);
            QVERIFY2(host.contains(engine.toLower()), qPrintable(model->Country(row)));
            QCOMPARE(int(FindSearchEngineType(host)), kind);
            const QString flag = view.GetIConUseArea(model->Country(row));
            QVERIFY2(QFile::exists(":/country/" + flag), qPrintable(flag));
            QVERIFY(model->index(row, 0).data(Qt::DecorationRole).canConvert<QIcon>());
        }
    }

    // Blanks belong to the texts; French Canada is its own Yahoo row under Canada's flag.
    void blanksBelongToTheTexts()
    {
        AddWebsiteView view(nullptr, nullptr, nullptr);
        AddWebsiteModel* google = view.pickModel(SE_Google);
        QCOMPARE(google->Country(0), QStringLiteral("United States"));
        QCOMPARE(google->Language(google->rowCount() - 1), QStringLiteral("Swahili"));
        QVERIFY(rowOf(google, "Australia", "English ") >= 0);
        QVERIFY(rowOf(google, "Mexico", "English" + k35Blanks) >= 0);
        QVERIFY(rowOf(google, "Dominica", "English" + k35Blanks) >= 0);
        QVERIFY(rowOf(google, "Hungary", "Hungarian" + k35Blanks) >= 0);
        QVERIFY(rowOf(google, "Mexico", "English") < 0);
        AddWebsiteModel* yahoo = view.pickModel(SE_Yahoo);
        const int french = rowOf(yahoo, "Canada ", "French");
        const int english = rowOf(yahoo, "Canada", "English");
        QVERIFY(french >= 0 && english >= 0);
        QCOMPARE(view.GetIConUseArea("Canada "), view.GetIConUseArea("Canada"));
        QVERIFY(!view.GetIConUseArea("Canada").isEmpty());
        QVERIFY(yahoo->GetSearchEngineUrl(french) != yahoo->GetSearchEngineUrl(english));
        QVERIFY(yahoo->GetSearchEngineUrl(french).contains("yahoo"));
        QCOMPARE(view.GetIConUseArea("Atlantis"), QString());
    }

    void hostsOfKnownCountries_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("country"); // with English
        QTest::addColumn<QString>("host");
        QTest::newRow("Google US") << int(SE_Google) << "United States"
                                   << "www.google.com";
        QTest::newRow("Google UK") << int(SE_Google) << "United Kingdom"
                                   << "www.google.co.uk";
        QTest::newRow("Bing US") << int(SE_Bing) << "United States"
                                 << "www.bing.com";
        QTest::newRow("Bing UK") << int(SE_Bing) << "United Kingdom"
                                 << "uk.bing.com";
        QTest::newRow("Yahoo US") << int(SE_Yahoo) << "United States"
                                  << "search.yahoo.com";
        QTest::newRow("Yahoo Japan") << int(SE_Yahoo) << "Japan"
                                     << "search.yahoo.co.jp";
    }

    void hostsOfKnownCountries()
    {
        QFETCH(int, kind);
        QFETCH(QString, country);
        QFETCH(QString, host);
        AddWebsiteView view(nullptr, nullptr, nullptr);
        AddWebsiteModel* model = view.pickModel(EnuSearchEngineType(kind));
        const int row = rowOf(model, country, "English");
        QVERIFY(row >= 0);
        QCOMPARE(model->GetSearchEngineUrl(row), host);
    }

    // Japan English replaces the chosen United States English in place.
    void anotherVariantReplacesTheChosenOne()
    {
        AddWebsiteView view(nullptr, nullptr, nullptr);
        AddWebsiteModel* google = view.pickModel(SE_Google);
        AddWebsiteModel* bing = view.pickModel(SE_Bing);
        SelectedebsiteModel* selected = view.selectedModel();
        QVERIFY(choose(google, "United States", "English"));
        QVERIFY(choose(bing, "United Kingdom", "English"));
        QVERIFY(selected->setData(selected->index(0, 3), 33, Qt::EditRole) == false);
        QCOMPARE(selected->m_vecUserSEInterval[0], 33L);

        QSignalSpy inserted(selected, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(selected, &QAbstractItemModel::rowsRemoved);
        QVERIFY(choose(google, "Japan", "English"));
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(removed.count(), 0);
        QCOMPARE(selected->rowCount(), 2);
        QCOMPARE(display(selected, 0, 1), QStringLiteral("Japan"));
        QCOMPARE(selected->m_vecUserSEInterval[0], 33L);
        QCOMPARE(display(selected, 1, 0), QStringLiteral("uk.bing.com"));
        QCOMPARE(google->CheckState(rowOf(google, "United States", "English")), Qt::Unchecked);
        QCOMPARE(google->CheckState(rowOf(google, "Japan", "English")), Qt::Checked);

        // Choosing the chosen row once more keeps it chosen and checked.
        QVERIFY(choose(google, "Japan", "English"));
        QCOMPARE(google->CheckState(rowOf(google, "Japan", "English")), Qt::Checked);
        QCOMPARE(selected->rowCount(), 2);
    }

    void firstVariantGetsItsEngineDefault()
    {
        AddWebsiteView view(nullptr, nullptr, nullptr);
        SelectedebsiteModel* selected = view.selectedModel();
        QVERIFY(choose(view.pickModel(SE_Bing), "Germany", "English"));
        QVERIFY(choose(view.pickModel(SE_Google), "Germany", "German"));
        QVERIFY(choose(view.pickModel(SE_Yahoo), "Germany", "English"));
        QCOMPARE(selected->rowCount(), 3);
        QCOMPARE(selected->m_vecUserSEInterval, (std::vector<long>{0, 50, 0}));
        QCOMPARE(selected->index(0, 0).data().toString(), QStringLiteral("de.bing.com"));
    }

    // Unchecking the middle engine moves the later delays up and frees the last slot.
    void uncheckingMovesTheDelaysUp()
    {
        AddWebsiteView view(nullptr, nullptr, nullptr);
        AddWebsiteModel* google = view.pickModel(SE_Google);
        AddWebsiteModel* bing = view.pickModel(SE_Bing);
        AddWebsiteModel* yahoo = view.pickModel(SE_Yahoo);
        SelectedebsiteModel* selected = view.selectedModel();
        QVERIFY(choose(google, "United States", "English"));
        QVERIFY(choose(bing, "United States", "English"));
        QVERIFY(choose(yahoo, "United States", "English"));
        QCOMPARE(selected->m_vecUserSEInterval, (std::vector<long>{50, 0, 0}));
        selected->setData(selected->index(0, 3), 40, Qt::EditRole);
        selected->setData(selected->index(1, 3), 5, Qt::EditRole);
        selected->setData(selected->index(2, 3), 7, Qt::EditRole);

        QSignalSpy removed(selected, &QAbstractItemModel::rowsRemoved);
        QVERIFY(choose(bing, "United States", "English", Qt::Unchecked));
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 1);
        QCOMPARE(selected->rowCount(), 2);
        QCOMPARE(selected->m_vecUserSEInterval, (std::vector<long>{40, 7, 0}));
        QCOMPARE(display(selected, 0, 0), QStringLiteral("www.google.com"));
        QCOMPARE(display(selected, 1, 0), QStringLiteral("search.yahoo.com"));

        // Unchecking a row that is not the chosen one leaves the choice alone.
        QVERIFY(choose(google, "Japan", "English", Qt::Unchecked));
        QCOMPARE(selected->rowCount(), 2);
    }

    // A click on a chosen row's box unchooses it, whatever state the click asks for.
    void clickInTheChosenListUnchooses_data()
    {
        QTest::addColumn<int>("value");
        QTest::newRow("unchecked") << int(Qt::Unchecked);
        QTest::newRow("checked") << int(Qt::Checked);
        QTest::newRow("partially") << int(Qt::PartiallyChecked);
    }

    void clickInTheChosenListUnchooses()
    {
        QFETCH(int, value);
        AddWebsiteView view(nullptr, nullptr, nullptr);
        AddWebsiteModel* google = view.pickModel(SE_Google);
        AddWebsiteModel* yahoo = view.pickModel(SE_Yahoo);
        SelectedebsiteModel* selected = view.selectedModel();
        QVERIFY(choose(google, "France", "French"));
        QVERIFY(choose(yahoo, "France", "English"));
        QVERIFY(!selected->setData(selected->index(0, 0), value, Qt::CheckStateRole));
        QCOMPARE(selected->rowCount(), 1);
        QCOMPARE(google->CheckState(rowOf(google, "France", "French")), Qt::Unchecked);
        QCOMPARE(display(selected, 0, 0),
                 yahoo->GetSearchEngineUrl(rowOf(yahoo, "France", "English")));
        QCOMPARE(selected->m_vecUserSEInterval, (std::vector<long>{0, 0, 0}));
    }

    void selectingARowChoosesIt()
    {
        AddWebsiteView view(nullptr, nullptr, nullptr);
        QTreeView* tree = view.ui.treeView_4;
        AddWebsiteModel* bing = view.pickModel(SE_Bing);
        SelectedebsiteModel* selected = view.selectedModel();
        const int row = rowOf(bing, "Canada", "French");
        tree->selectionModel()->select(bing->index(row, 1), QItemSelectionModel::ClearAndSelect |
                                                                QItemSelectionModel::Rows);
        QCOMPARE(bing->CheckState(row), Qt::Checked);
        QCOMPARE(selected->rowCount(), 1);
        selected->setData(selected->index(0, 3), 9, Qt::EditRole);

        // Selecting the checked row again, or clearing the selection, changes nothing.
        tree->selectionModel()->clearSelection();
        tree->selectionModel()->select(bing->index(row, 0), QItemSelectionModel::ClearAndSelect);
        QCOMPARE(bing->CheckState(row), Qt::Checked);
        QCOMPARE(selected->rowCount(), 1);
        QCOMPARE(selected->m_vecUserSEInterval[0], 9L);
    }

    void findModelIndex_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("storedCountry");
        QTest::addColumn<QString>("country"); // empty: not found
        AddWebsiteView view(nullptr, nullptr, nullptr);
        AddWebsiteModel* yahoo = view.pickModel(SE_Yahoo);
        AddWebsiteModel* google = view.pickModel(SE_Google);
        const QString ireland = yahoo->GetSearchEngineUrl(rowOf(yahoo, "Ireland", "English"));
        const QString mexico = google->GetSearchEngineUrl(rowOf(google, "Mexico", "Spanish"));
        // The United Kingdom and Ireland share Yahoo's host and language: the country
        // tells them apart.
        const int y = SE_Yahoo, g = SE_Google;
        const QString english = "English";
        QTest::newRow("Ireland stays Ireland") << y << ireland << english << "Ireland"
                                               << "Ireland";
        QTest::newRow("United Kingdom stays United Kingdom")
            << y << ireland << english << "United Kingdom"
            << "United Kingdom";
        QTest::newRow("unknown country falls back to the first row")
            << y << ireland << english << "Atlantis"
            << "United Kingdom";
        QTest::newRow("Mexico English with its blanks")
            << g << mexico << QString(english + k35Blanks) << "Mexico"
            << "Mexico";
        QTest::newRow("Mexico plain English") << g << mexico << english << "Mexico"
                                              << "";
        QTest::newRow("language case") << g << "www.google.com"
                                       << "english"
                                       << "United States"
                                       << "";
        QTest::newRow("host case") << g << "www.Google.com" << english << "United States"
                                   << "";
    }

    void findModelIndex()
    {
        QFETCH(int, kind);
        QFETCH(QString, host);
        QFETCH(QString, language);
        QFETCH(QString, storedCountry);
        QFETCH(QString, country);
        AddWebsiteView view(nullptr, nullptr, nullptr);
        AddWebsiteModel* model = view.pickModel(EnuSearchEngineType(kind));
        const QModelIndex found = FindModelIndex(model, host, language, storedCountry);
        if (country.isEmpty()) {
            QVERIFY(!found.isValid());
            return;
        }
        QVERIFY(found.isValid());
        QCOMPARE(found.column(), 0);
        QCOMPARE(model->Country(found.row()), country);
    }

    void loadersSplitLikeTheFiles()
    {
        QTemporaryDir dir;
        const QString map = writeFile(dir, "map.txt",
                                      "\xEF\xBB\xBF"
                                      "a#1\r\n\r\nb#2#3\r\nno separator\r\nc#\r\na#4\n#5\n");
        QMap<QString, QString> values{{"kept", "yes"}};
        AddWebsiteView::Load(map, values);
        const QMap<QString, QString> expected{
            {"kept", "yes"}, {"a", "4"}, {"b", "2"}, {"c", ""}, {"", "5"}};
        QCOMPARE(values, expected);

        const QString list = writeFile(dir, "list.txt",
                                       "Canada _French\r\nUnited States_English\r\n\r\n"
                                       "Solo\r\nA_b_c\r\n_x\r\n");
        QVector<QPair<QString, QString>> pairs{{"first", "row"}};
        AddWebsiteView::ReadCtyLan(pairs, list);
        const QVector<QPair<QString, QString>> expectedPairs{{"first", "row"},
                                                             {"Canada ", "French"},
                                                             {"United States", "English"},
                                                             {"A", "c"},
                                                             {"", "x"}};
        QCOMPARE(pairs, expectedPairs);
    }

    void missingResourceThrows()
    {
        QMap<QString, QString> values;
        const QString path = ":/Resources/NoSuchTable.txt";
        try {
            AddWebsiteView::Load(path, values);
            QFAIL("no exception");
        } catch (const LTException& error) {
            QCOMPARE(error.code(), 1);
            QCOMPARE(QString::fromLatin1(error.message()), path);
        }
        QVector<QPair<QString, QString>> pairs;
        QVERIFY_THROWS_EXCEPTION(LTException, AddWebsiteView::ReadCtyLan(pairs, path));
    }
};

LT_TEST_MAIN(TestAddWebsiteModel)
#include "tst_addwebsitemodel.moc"
