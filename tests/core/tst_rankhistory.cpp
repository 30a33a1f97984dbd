#include "RankHistory.h"
#include "TestMain.h"
#include "TestRows.h"

#include <memory>

namespace {
const QString kSite = QStringLiteral("www.example.com");
const QString kGoogle = QStringLiteral("www.google.com");
const QString kBing = QStringLiteral("www.bing.com");

QDateTime at(int month, int day, int hour = 12)
{
    return QDateTime(QDate(2026, month, day), QTime(hour, 0));
}

// A series whose points have the given ranks, one day apart from 1 March on.
std::unique_ptr<RANK_DATA> series(const QString& keyword, const QList<int>& ranks,
                                  const QString& engine = kGoogle, const QString& website = kSite)
{
    auto s = std::make_unique<RANK_DATA>();
    s->Website = website;
    s->Keyword = keyword;
    s->SearchEngine = engine;
    s->Lang = "English";
    for (int i = 0; i < ranks.size(); ++i) {
        FLOW_ITEM item;
        item.UpdateNo = 100 + i;
        item.Rank = qint16(ranks[i]);
        item.SearchTime = at(3, 1 + i);
        s->FlowItems.push_back(item);
    }
    return s;
}

UPDATE_FLOW flow(const QString& keyword, const QDateTime& time, LTInt64 rank = 1,
                 LTInt64 updateNo = 0, const QString& engine = kGoogle,
                 const QString& website = kSite, const QString& lang = "English")
{
    UPDATE_FLOW f;
    f.UpdateNo = updateNo;
    f.Website = website;
    f.SearchEngine = engine;
    f.Lang = lang;
    f.Keyword = keyword;
    f.SearchTime = time;
    f.Rank = rank;
    return f;
}

WEBSITE website(const QString& url, const QStringList& keywords,
                const QList<QPair<QString, QString>>& engines)
{
    WEBSITE w;
    w.Website = url;
    w.Keywords = keywords;
    for (const auto& e : engines) {
        SEARCH_ENGINE engine;
        engine.SearchEngine = e.first;
        engine.Lang = e.second;
        w.SearchEngines.push_back(engine);
    }
    return w;
}

QList<LTInt64> numbersOf(const std::vector<UPDATE_FLOW*>& flows)
{
    QList<LTInt64> numbers;
    for (const UPDATE_FLOW* f : flows)
        numbers << f->UpdateNo;
    return numbers;
}
} // namespace

Q_DECLARE_METATYPE(UPDATE_FLOW)

class TestRankHistory : public QObject
{
    Q_OBJECT

private slots:
    void singleSeriesReaders_data()
    {
        QTest::addColumn<QList<int>>("ranks");
        QTest::addColumn<LTInt64>("first");
        QTest::addColumn<LTInt64>("previous");
        QTest::addColumn<LTInt64>("last");
        QTest::addColumn<LTInt64>("best");

        testRow("no points", QList<int>{}, LTInt64(0), LTInt64(0), LTInt64(0), LTInt64(0));
        testRow("one point", QList<int>{33}, LTInt64(33), LTInt64(0), LTInt64(33), LTInt64(33));
        testRow("7, 0, 12", QList<int>{7, 0, 12}, LTInt64(7), LTInt64(0), LTInt64(12), LTInt64(7));
        testRow("only failed checks", QList<int>{0, 0}, LTInt64(0), LTInt64(0), LTInt64(0),
                LTInt64(0));
        testRow("never in the first 100", QList<int>{101, 0, 101}, LTInt64(101), LTInt64(0),
                LTInt64(101), LTInt64(101));
        testRow("best in the middle", QList<int>{40, 3, 3, 9}, LTInt64(40), LTInt64(3), LTInt64(9),
                LTInt64(3));
    }

    void singleSeriesReaders()
    {
        QFETCH(QList<int>, ranks);
        QFETCH(LTInt64, first);
        QFETCH(LTInt64, previous);
        QFETCH(LTInt64, last);
        QFETCH(LTInt64, best);
        const auto s = series("k", ranks);
        QCOMPARE(GetRankFirst(s.get()), first);
        QCOMPARE(GetRankPrevious(s.get()), previous);
        QCOMPARE(GetLastRank(s.get()), last);
        QCOMPARE(FindBestRank(s.get()), best);
    }

    void nullSeriesAnswersNeutrally()
    {
        QCOMPARE(GetRankFirst(nullptr), LTInt64(0));
        QCOMPARE(GetRankPrevious(nullptr), LTInt64(0));
        QCOMPARE(GetLastRank(nullptr), LTInt64(0));
        QCOMPARE(FindBestRank(static_cast<const RANK_DATA*>(nullptr)), LTInt64(0));
        int start = 5, end = 5;
        FindStartAndEndIndex(nullptr, QDate(2026, 1, 1), QDate(2027, 1, 1), start, end);
        QCOMPARE(start, -1);
        QCOMPARE(end, -1);
        LTInt64 number = 17;
        QVERIFY(!HasUpdatedThisDay(static_cast<RANK_DATA*>(nullptr), flow("k", at(3, 1)), number));
        QCOMPARE(number, LTInt64(17));
    }

    void dateWindow_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");

        // Points are dated 1 March, 2 March, ...
        testRow("points 2 to 4 of 6", 6, QDate(2026, 3, 3), QDate(2026, 3, 5), 2, 4);
        testRow("from after every point", 6, QDate(2026, 3, 7), QDate(2026, 4, 1), -1, -1);
        testRow("to before from", 6, QDate(2026, 3, 1), QDate(2026, 2, 28), 0, -1);
        testRow("whole series", 3, QDate(2026, 1, 1), QDate(2026, 12, 31), 0, 2);
        testRow("single day", 3, QDate(2026, 3, 2), QDate(2026, 3, 2), 1, 1);
        testRow("no points", 0, QDate(2026, 1, 1), QDate(2026, 12, 31), -1, -1);
        testRow("null from", 2, QDate(), QDate(2026, 3, 1), 0, 0);
    }

    void dateWindow()
    {
        QFETCH(int, points);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(int, start);
        QFETCH(int, end);
        QList<int> ranks;
        for (int i = 0; i < points; ++i)
            ranks << i + 1;
        const auto s = series("k", ranks);
        int gotStart = 42, gotEnd = 42;
        FindStartAndEndIndex(s.get(), from, to, gotStart, gotEnd);
        QCOMPARE(gotStart, start);
        QCOMPARE(gotEnd, end);
    }

    void dateWindowOverUnorderedPoints()
    {
        // Position decides: points before start are not looked at again, and end is the
        // last point at or after start that is not after `to`.
        auto s = series("k", {1, 2, 3, 4});
        s->FlowItems[0].SearchTime = at(3, 20);
        s->FlowItems[2].SearchTime = at(3, 30);
        int start = 0, end = 0;
        FindStartAndEndIndex(s.get(), QDate(2026, 3, 2), QDate(2026, 3, 25), start, end);
        QCOMPARE(start, 0);
        QCOMPARE(end, 3);
    }

    void findsSeriesAndSchedules()
    {
        const auto a = series("k", {1});
        const auto b = series("k", {2}, kBing);
        const auto c = series("k", {3}); // same key as a: a is found first
        const auto d = series("K", {4});
        const std::vector<RANK_DATA*> all{a.get(), b.get(), c.get(), d.get()};
        QCOMPARE(Find_RankData(all, kSite, kGoogle, "k"), a.get());
        QCOMPARE(Find_RankData(all, kSite, kBing, "k"), b.get());
        QCOMPARE(Find_RankData(all, kSite, kGoogle, "K"), d.get());
        QCOMPARE(Find_RankData(all, "WWW.example.com", kGoogle, "k"), nullptr);
        QCOMPARE(Find_RankData(all, kSite, kGoogle, "k "), nullptr);
        QCOMPARE(Find_RankData({}, kSite, kGoogle, "k"), nullptr);

        std::vector<SCHEDUAL> scheduals(3);
        scheduals[0].Website = "a.com";
        scheduals[1].Website = "b.com";
        scheduals[2].Website = "b.com";
        int index = -1;
        QCOMPARE(FindSchedual("b.com", scheduals, &index), &scheduals[1]);
        QCOMPARE(index, 1);
        index = -1;
        QCOMPARE(FindSchedual("c.com", scheduals, &index), nullptr);
        QCOMPARE(index, -1);
        QCOMPARE(FindSchedual("a.com", scheduals), &scheduals[0]);
    }

    void validatedUpdate_data()
    {
        QTest::addColumn<UPDATE_FLOW>("measurement");
        QTest::addColumn<bool>("fits");

        const QDateTime t = at(3, 1);
        testRow("first website", flow("shoes", t), true);
        testRow("keyword of the second website of one URL", flow("boots", t, 1, 0, kBing), true);
        testRow("keyword there, engine only on the other", flow("boots", t, 1, 0, kGoogle), false);
        testRow("language differs", flow("shoes", t, 1, 0, kGoogle, kSite, "German"), false);
        testRow("keyword case", flow("Shoes", t), false);
        testRow("unknown website", flow("shoes", t, 1, 0, kGoogle, "other.com"), false);
    }

    void validatedUpdate()
    {
        QFETCH(UPDATE_FLOW, measurement);
        QFETCH(bool, fits);
        const std::vector<WEBSITE> websites{
            website(kSite, {"shoes", "hats"}, {{kGoogle, "English"}}),
            website(kSite, {"boots"}, {{kBing, "English"}}),
        };
        QCOMPARE(ValidatedUpdate(websites, measurement), fits);
        QVERIFY(!ValidatedUpdate({}, measurement));
    }

    void assignsSeriesByKey()
    {
        std::vector<RANK_DATA*> all;
        RANK_DATA* first =
            AssignProperRankData(all, flow("k", at(3, 1), 5, 1, kGoogle, kSite, "German"));
        QCOMPARE(all.size(), std::size_t(1));
        QCOMPARE(first->Lang, QString("German"));
        QVERIFY(first->FlowItems.empty());
        // Another language joins the series and leaves its language alone.
        QCOMPARE(AssignProperRankData(all, flow("k", at(3, 2))), first);
        QCOMPARE(first->Lang, QString("German"));
        RANK_DATA* other = AssignProperRankData(all, flow("k", at(3, 2), 1, 0, kBing));
        QVERIFY(other != first);
        QCOMPARE(all.size(), std::size_t(2));
        QCOMPARE(all[1], other);
        QCOMPARE(other->SearchEngine, kBing);
        for (RANK_DATA* s : all)
            delete s;
    }

    void lastUpdateTime()
    {
        QCOMPARE(QueryWebsitesLastUpdateTime(kSite, {}), QDateTime());
        // Only the newest point of each series counts.
        auto a = series("a", {1, 2});
        a->FlowItems[0].SearchTime = at(5, 6);
        a->FlowItems[1].SearchTime = at(5, 3);
        auto b = series("b", {1});
        b->FlowItems[0].SearchTime = at(5, 5);
        auto empty = series("c", {});
        auto other = series("a", {1}, kGoogle, "other.com");
        other->FlowItems[0].SearchTime = at(6, 1);
        const std::vector<RANK_DATA*> all{a.get(), empty.get(), b.get(), other.get()};
        QCOMPARE(QueryWebsitesLastUpdateTime(kSite, all), at(5, 5));
        QCOMPARE(QueryWebsitesLastUpdateTime("nobody", all), QDateTime());
        QCOMPARE(QueryWebsitesLastUpdateTime(kSite, {empty.get()}), QDateTime());
    }

    void updatedThisDay()
    {
        auto s = series("k", {4, 0});
        LTInt64 number = -1;
        // Same day as the newest point, even at another hour and for a failed check.
        QVERIFY(HasUpdatedThisDay(s.get(), flow("other", at(3, 2, 23), 0), number));
        QCOMPARE(number, LTInt64(101));
        number = -1;
        QVERIFY(!HasUpdatedThisDay(s.get(), flow("k", at(3, 3, 0)), number));
        QVERIFY(!HasUpdatedThisDay(s.get(), flow("k", at(3, 1)), number));
        QCOMPARE(number, LTInt64(-1));
        auto empty = series("k", {});
        QVERIFY(!HasUpdatedThisDay(empty.get(), flow("k", at(3, 1)), number));
    }

    void updateSuccessToday_data()
    {
        QTest::addColumn<int>("rank");
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<bool>("success");
        testRow("today, 101", 101, 0, true);
        testRow("today, 7", 7, 0, true);
        testRow("today, failed", 0, 0, false);
        testRow("yesterday", 7, 1, false);
    }

    void updateSuccessToday()
    {
        QFETCH(int, rank);
        QFETCH(int, daysAgo);
        QFETCH(bool, success);
        auto s = series("k", {3, rank});
        s->FlowItems.back().SearchTime =
            QDateTime(QDate::currentDate().addDays(-daysAgo), QTime(0, 0, 1));
        const std::vector<RANK_DATA*> all{s.get()};
        QCOMPARE(HasUpdateSuccessThisDay(all, kSite, kGoogle, "k"), success);
        QVERIFY(!HasUpdateSuccessThisDay(all, kSite, kBing, "k"));
        if (rank == 0) {
            // Still counts as updated today for the merge.
            LTInt64 number = 0;
            QVERIFY(HasUpdatedThisDay(s.get(), flow("k", QDateTime::currentDateTime()), number));
            QCOMPARE(number, LTInt64(101));
        }
        auto empty = series("e", {});
        QVERIFY(!HasUpdateSuccessThisDay({empty.get()}, kSite, kGoogle, "e"));
    }

    void statistics()
    {
        // The examples: one keyword without points, one with ranks 5 then 0.
        const auto none = series("a", {});
        const auto failed = series("b", {5, 0});
        RankDistribution bands{9, 9, 9, 9};
        RankChangeKeywordCount moves{9, 9, 9};
        std::vector<RANK_DATA*> all{none.get(), failed.get()};
        StatKeywordRankDistribution(all, kSite, kGoogle, bands);
        QCOMPARE(bands.Rank1To10, LTInt64(0));
        QCOMPARE(bands.Rank11To30, LTInt64(0));
        QCOMPARE(bands.Rank31To100, LTInt64(0));
        QCOMPARE(bands.RankOver100, LTInt64(1));
        // A failed newest check is no rise.
        StatRankChangeKeywordCount(all, kSite, kGoogle, moves);
        QCOMPARE(moves.RankUp, LTInt64(0));
        QCOMPARE(moves.RankDown, LTInt64(0));
        QCOMPARE(moves.RankUnchange, LTInt64(2));

        // Band edges and plain-number moves; other engines and websites stay out.
        const auto s10 = series("c", {11, 10});
        const auto s11 = series("d", {10, 11});
        const auto s30 = series("e", {101, 30});
        const auto s31 = series("f", {31, 31});
        const auto s100 = series("g", {0, 100});
        const auto s101 = series("h", {101, 101});
        const auto one = series("i", {40});
        const auto gap = series("j", {7, 0, 12});
        const auto bing = series("c", {1, 2}, kBing);
        const auto otherSite = series("c", {1, 2}, kGoogle, "other.com");
        all = {s10.get(), s11.get(), s30.get(),  s31.get(),       s100.get(),  s101.get(),
               one.get(), gap.get(), bing.get(), otherSite.get(), failed.get()};
        StatKeywordRankDistribution(all, kSite, kGoogle, bands);
        QCOMPARE(bands.Rank1To10, LTInt64(1));
        QCOMPARE(bands.Rank11To30, LTInt64(3));
        QCOMPARE(bands.Rank31To100, LTInt64(3));
        QCOMPARE(bands.RankOver100, LTInt64(1));
        StatRankChangeKeywordCount(all, kSite, kGoogle, moves);
        // Up: 11->10, 101->30. Down: 10->11. Same: 31, 101, one point, and every move
        // from or to a failed check (0->100, 0->12, 5->0). One count per keyword.
        QCOMPARE(moves.RankUp, LTInt64(2));
        QCOMPARE(moves.RankDown, LTInt64(1));
        QCOMPARE(moves.RankUnchange, LTInt64(6));

        StatKeywordRankDistribution({}, kSite, kGoogle, bands);
        QCOMPARE(bands.RankOver100 + bands.Rank1To10 + bands.Rank11To30 + bands.Rank31To100,
                 LTInt64(0));
        StatRankChangeKeywordCount({}, kSite, kGoogle, moves);
        QCOMPARE(moves.RankUp + moves.RankDown + moves.RankUnchange, LTInt64(0));
    }

    void measurementQueries()
    {
        UPDATE_FLOW a = flow("k1", at(3, 1), 8, 1);
        UPDATE_FLOW b = flow("k1", at(3, 1), 5, 2, kBing);
        UPDATE_FLOW c = flow("k2", at(3, 1), 0, 3);
        UPDATE_FLOW d = flow("k1", at(3, 2), 3, 4);
        UPDATE_FLOW e = flow("k3", at(3, 2), 101, 5);
        UPDATE_FLOW f = flow("k1", at(3, 2), 12, 6, kGoogle, "other.com");
        const std::vector<UPDATE_FLOW*> older{&a, &b, &c};
        const std::vector<UPDATE_FLOW*> newer{&f, &d, &e};

        QCOMPARE(FindUpdateFlow(older, "k1", kBing), &b);
        QCOMPARE(FindUpdateFlow(newer, "k1", kGoogle), &f); // the website is not compared
        QCOMPARE(FindUpdateFlow(older, "k3", kGoogle), nullptr);

        QCOMPARE(CalcRankChange(older, newer, "k1", kGoogle), LTInt64(12 - 8));
        QCOMPARE(CalcRankChange(newer, older, "k1", kGoogle), LTInt64(8 - 12));
        QCOMPARE(CalcRankChange(older, newer, "k3", kGoogle), LTInt64(2147483647));
        QCOMPARE(CalcRankChange(older, older, "k1", kGoogle), LTInt64(2147483647));

        RankDistribution bands{7, 7, 7, 7};
        const std::vector<UPDATE_FLOW*> all{&a, &b, &c, &d, &e, &f};
        StatKeywordRankDistribution(all, kGoogle, QStringList{"k1", "k2", "k3"}, bands);
        QCOMPARE(bands.Rank1To10, LTInt64(2));  // 8, 3
        QCOMPARE(bands.Rank11To30, LTInt64(1)); // 12
        QCOMPARE(bands.Rank31To100, LTInt64(0));
        QCOMPARE(bands.RankOver100, LTInt64(1)); // 101; 0 counts nowhere
        StatKeywordRankDistribution(all, kGoogle, QStringList{"k2"}, bands);
        QCOMPARE(bands.Rank1To10 + bands.Rank11To30 + bands.Rank31To100 + bands.RankOver100,
                 LTInt64(0));
    }

    void measurementListsByDay()
    {
        std::list<UPDATE_FLOW> flows{
            flow("k", at(3, 1), 9, 1),
            flow("k", at(3, 2, 8), 7, 2),
            flow("k", at(3, 2, 9), 6, 3, kGoogle, kSite, "German"),
            flow("j", at(3, 2, 10), 4, 4),
        };
        LTInt64 number = -1;
        // Newest element of the full key on the same day; language counts.
        QVERIFY(HasUpdatedThisDay(flows, flow("k", at(3, 2, 20)), number));
        QCOMPARE(number, LTInt64(2));
        QVERIFY(HasUpdatedThisDay(flows, flow("k", at(3, 2, 20), 1, 0, kGoogle, kSite, "German"),
                                  number));
        QCOMPARE(number, LTInt64(3));
        number = -1;
        QVERIFY(!HasUpdatedThisDay(flows, flow("k", at(3, 3)), number));
        // Later days are passed over on the way back to an older match.
        QVERIFY(HasUpdatedThisDay(flows, flow("k", at(3, 1)), number));
        QCOMPARE(number, LTInt64(1));
        // The scan stops at the first element of an earlier day.
        number = -1;
        std::list<UPDATE_FLOW> stopped{flow("k", at(3, 2), 1, 1), flow("j", at(3, 1), 1, 2)};
        QVERIFY(!HasUpdatedThisDay(stopped, flow("k", at(3, 2)), number));
        QCOMPARE(number, LTInt64(-1));
        QVERIFY(!HasUpdatedThisDay(std::list<UPDATE_FLOW>{}, flow("k", at(3, 2)), number));

        UPDATE_FLOW replacement = flow("k", at(3, 2, 21), 1, 77);
        replacement.RankURL = "http://new";
        ReplaceToUpdateFlow(flows, replacement);
        auto it = std::next(flows.begin());
        QCOMPARE(it->UpdateNo, LTInt64(77));
        QCOMPARE(it->Rank, LTInt64(1));
        QCOMPARE(it->RankURL, QString("http://new"));
        QCOMPARE(it->SearchTime, at(3, 2, 21));
        ReplaceToUpdateFlow(flows, flow("k", at(3, 9), 1, 99));
        for (const UPDATE_FLOW& f : flows)
            QVERIFY(f.UpdateNo != 99);
    }

    void bestMeasurement()
    {
        const std::list<UPDATE_FLOW> flows{
            flow("k", at(3, 1), 9, 1),        flow("k", at(3, 2), 4, 2), flow("k", at(3, 3), 4, 3),
            flow("k", at(3, 4), 0, 4, kBing), flow("j", at(3, 4), 1, 5),
        };
        const UPDATE_FLOW* best = FindBestRank(flows, kSite, "k", kGoogle);
        QVERIFY(best);
        QCOMPARE(best->UpdateNo, LTInt64(2)); // the first of equals
        // A failed check takes part and wins.
        QCOMPARE(FindBestRank(flows, kSite, "k", kBing)->UpdateNo, LTInt64(4));
        QCOMPARE(FindBestRank(flows, "other.com", "k", kGoogle), nullptr);
    }

    void runsOfUpdateNumbers()
    {
        std::list<UPDATE_FLOW> flows{
            flow("k1", at(3, 1), 1, 10),
            flow("k2", at(3, 1), 1, 10),
            flow("k1", at(3, 2), 1, 11, kGoogle, "other.com"),
            flow("k1", at(3, 3), 1, 12),
            flow("k2", at(3, 3), 1, 12, kGoogle, "other.com"),
            flow("k3", at(3, 3), 1, 12),
            flow("k1", at(3, 4), 1, 13, kGoogle, "other.com"),
        };
        std::vector<UPDATE_FLOW*> out;
        QueryLastFlows(flows, kSite, out);
        // The run of 12, newest first, whatever the website of its members.
        QCOMPARE(numbersOf(out), QList<LTInt64>({12, 12, 12}));
        QCOMPARE(out[0]->Keyword, QString("k3"));
        QCOMPARE(out[1]->Website, QString("other.com"));

        QueryPreviousFlows(flows, kSite, out); // appends, out is not cleared
        QCOMPARE(numbersOf(out), QList<LTInt64>({12, 12, 12, 10, 10}));

        out.clear();
        QueryLastFlows(flows, "other.com", out);
        QCOMPARE(numbersOf(out), QList<LTInt64>({13}));
        QueryPreviousFlows(flows, "other.com", out);
        // The run is taken from the website's element backwards: the newer member of
        // that run (k3) is not part of it.
        QCOMPARE(numbersOf(out), QList<LTInt64>({13, 12, 12}));

        out.clear();
        QueryLastFlows(flows, "nobody", out);
        QueryPreviousFlows(flows, "nobody", out);
        QVERIFY(out.empty());
        std::list<UPDATE_FLOW> single{flow("k", at(3, 1), 1, 1), flow("j", at(3, 1), 1, 1)};
        QueryPreviousFlows(single, kSite, out);
        QVERIFY(out.empty());
    }
};

LT_TEST_MAIN(TestRankHistory)
#include "tst_rankhistory.moc"
