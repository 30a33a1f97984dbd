// bench_overview: for each keyword count (100, then 800 per website) generates a store of
// 10 websites x that many keywords x 3 engine variants x a week of daily points, loads it
// with SqlDb::LoadRankData, builds the real WebsiteView on it, shows it and times
// PopluateRankData (the refill after a website change or an update run) of a website
// whose series lie last in the list. The 100-keyword refill is the baseline of the
// 800-keyword one: a linear refill stays within 8 times it (less, as part of the work,
// the charts, does not grow with the keywords).
// Usage: bench_overview [--repeat <runs per size, default 5>]
// Run it with QT_QPA_PLATFORM=offscreen where there is no display.

#include "SqlDb.h"
#include "SqlValue.h"
#include "WebsiteColumns.h"
#include "WebsiteView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolBox>

#include <algorithm>
#include <cstdio>

namespace {
const int kWebsites = 10;
const int kDays = 7;
const char* const kHosts[] = {"www.google.com", "www.bing.com", "search.yahoo.com"};

QString websiteUrl(int w)
{
    return QStringLiteral("www.site%1.example").arg(w);
}

QString keywordText(int k, int w)
{
    return QStringLiteral("keyword %1 for site %2").arg(k).arg(w);
}

// Writes websites and one update run per day, as the program stores them, through the
// store's own connection inside one transaction.
bool generate(SqlDb& store, int keywords)
{
    QSqlDatabase& db = store.m_DB;
    if (!db.transaction())
        return false;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO Website VALUES(?,?,?,?)"));
    for (int w = 0; w < kWebsites; ++w) {
        std::vector<SEARCH_ENGINE> engines;
        for (const char* host : kHosts) {
            SEARCH_ENGINE e;
            e.SearchEngine = QLatin1String(host);
            e.Lang = QStringLiteral("English");
            e.Country = QStringLiteral("United States");
            engines.push_back(e);
        }
        QStringList list;
        for (int k = 0; k < keywords; ++k)
            list << keywordText(k, w);
        query.addBindValue(websiteUrl(w));
        query.addBindValue(QStringLiteral("2025-01-01T08:00:00"));
        query.addBindValue(CombineSearchEnginesString(engines));
        query.addBindValue(list.join(QLatin1Char('\n')));
        if (!query.exec())
            return false;
    }

    // Ranks wander from day to day, so that every change colour and band occurs.
    query.prepare(QStringLiteral("INSERT INTO UpdateFlow VALUES(?,?,?,?,?,?,?,?)"));
    int updateNo = 0;
    const QDateTime first(QDate(2025, 1, 1), QTime(6, 0));
    for (int day = 0; day < kDays; ++day) {
        for (int w = 0; w < kWebsites; ++w) {
            for (int e = 0; e < 3; ++e) {
                for (int k = 0; k < keywords; ++k) {
                    const int rank = 1 + (k * 7 + e * 13 + w * 3 + day * (k % 5)) % 101;
                    query.addBindValue(++updateNo);
                    query.addBindValue(websiteUrl(w));
                    query.addBindValue(QLatin1String(kHosts[e]));
                    query.addBindValue(keywordText(k, w));
                    query.addBindValue(SqlValue::fromDateTime(first.addDays(day).addSecs(k)));
                    query.addBindValue(k % 50 == 0 ? 0 : rank);
                    query.addBindValue(QString());
                    query.addBindValue(QStringLiteral("English"));
                    if (!query.exec())
                        return false;
                }
            }
        }
    }
    return db.commit();
}

struct Figures {
    std::vector<double> ms;
    int rows = 0;
    qsizetype series = 0;
};

Figures measure(int keywords, int repeat)
{
    Figures figures;
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QDir().mkpath(QFileInfo(SqlDb::DatabasePath()).absolutePath());

    SqlDb store;
    if (!store.m_DB.isOpen() || !generate(store, keywords))
        return figures;
    std::vector<WEBSITE> websites;
    std::vector<RANK_DATA*> series;
    LTInt64 last = 0;
    if (!store.LoadRankData(websites, series, last))
        return figures;
    figures.series = qsizetype(series.size());

    {
        WebsiteView view(nullptr, websites, series, nullptr);
        view.resize(951, 633);
        view.show();
        QApplication::processEvents();
        // The last website of the box: its series lie at the end of the loaded list.
        QToolBox* box = view.findChild<QToolBox*>(QStringLiteral("toolBoxWebsite"));
        box->setCurrentIndex(box->count() - 1);
        QApplication::processEvents();

        for (int run = 0; run < repeat; ++run) {
            QElapsedTimer timer;
            timer.start();
            view.PopluateRankData(series);
            QApplication::processEvents(); // the layout and paint the refill causes
            figures.ms.push_back(timer.nsecsElapsed() / 1e6);
        }
        figures.rows = view.findChild<QTableWidget*>(QStringLiteral("tableWidget"))->rowCount();
    }
    for (RANK_DATA* s : series)
        delete s;
    return figures;
}

QString summary(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return QStringLiteral("min %1 ms, median %2 ms, max %3 ms")
        .arg(ms.front(), 0, 'f', 2)
        .arg(ms[ms.size() / 2], 0, 'f', 2)
        .arg(ms.back(), 0, 'f', 2);
}

double median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype repeatAt = args.indexOf(QStringLiteral("--repeat"));
    const int repeat = repeatAt > 0 ? qMax(3, args.value(repeatAt + 1).toInt()) : 5;

    QTextStream out(stdout);
    const Figures small = measure(100, repeat);
    const Figures large = measure(800, repeat);
    if (small.ms.empty() || large.ms.empty()) {
        out << "generating or loading the store failed" << Qt::endl;
        return 1;
    }
    out << "refill of one website, " << repeat << " runs each, " << kWebsites
        << " websites x 3 engines in the store" << Qt::endl;
    out << "100 keywords (" << small.rows << " rows, " << small.series
        << " series): " << summary(small.ms) << Qt::endl;
    out << "800 keywords (" << large.rows << " rows, " << large.series
        << " series): " << summary(large.ms) << Qt::endl;
    out << "ratio 800/100 (medians): "
        << QString::number(median(large.ms) / median(small.ms), 'f', 2) << " (linear: at most about 8)"
        << Qt::endl;
    return 0;
}
