// Child process of tst_storecrash: writes rank measurements into the store of $HOME as
// the result merge does (one query: "begin", BatchInsert, BatchUpdate, "commit"), one
// large transaction after the other, until it is killed.
//
// Transaction t inserts the rows numbered [1 + t*N, (t+1)*N] with rank 50 and sets the
// rank of the first R rows of transaction t-1 to 101 (few: the table has no index, so
// every replaced row costs a scan). So after any interruption the committed transactions
// are exactly the full batches; in every batch but the last the first R rows have rank
// 101, and the last batch has rank 50 throughout. After each commit the child prints
// "committed <count>".
#include "Records.h"
#include "SqlDb.h"
#include "SqlValue.h"

#include <QCoreApplication>
#include <QSqlQuery>

#include <cstdio>
#include <memory>
#include <vector>

namespace {
constexpr LTInt64 kFreshRank = 50;
constexpr LTInt64 kReplacedRank = 101;
constexpr int kReplacedRows = 50;

std::vector<std::unique_ptr<UPDATE_FLOW>> makeBatch(LTInt64 first, int size, LTInt64 rank)
{
    std::vector<std::unique_ptr<UPDATE_FLOW>> batch;
    batch.reserve(size);
    const QDateTime day(QDate(2026, 1, 1), QTime(12, 0, 0));
    for (int i = 0; i < size; ++i) {
        auto flow = std::make_unique<UPDATE_FLOW>();
        flow->UpdateNo = first + i;
        flow->Website = QStringLiteral("crash.test");
        flow->SearchEngine = QStringLiteral("www.google.com");
        flow->Lang = QStringLiteral("English");
        flow->Keyword = QStringLiteral("keyword %1").arg(i % 10);
        flow->SearchTime = day.addDays(flow->UpdateNo / 100);
        flow->Rank = rank;
        // Long enough that one transaction spans many database pages.
        flow->RankURL = QStringLiteral("http://crash.test/page/%1/").arg(flow->UpdateNo) +
                        QString(400, QLatin1Char('x'));
        batch.push_back(std::move(flow));
    }
    return batch;
}

std::vector<UPDATE_FLOW*> pointers(const std::vector<std::unique_ptr<UPDATE_FLOW>>& batch)
{
    std::vector<UPDATE_FLOW*> result;
    for (const auto& flow : batch)
        result.push_back(flow.get());
    return result;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int size = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    if (size <= 0) {
        std::fprintf(stderr, "usage: StoreCrashChild <batch size>\n");
        return 2;
    }

    SqlDb store;
    if (!store.m_DB.isOpen())
        return 3;

    LTInt64 committed = 0;
    {
        QSqlQuery query(store.m_DB);
        if (!query.exec(QStringLiteral("select count(*) from UpdateFlow")) || !query.next())
            return 4;
        committed = query.value(0).toLongLong() / size;
    }
    std::printf("ready %lld\n", static_cast<long long>(committed));
    std::fflush(stdout);

    for (;;) {
        const auto inserted = makeBatch(1 + committed * size, size, kFreshRank);
        const auto replaced = committed > 0 ? makeBatch(1 + (committed - 1) * size,
                                                        qMin(size, kReplacedRows), kReplacedRank)
                                            : decltype(inserted)();

        QSqlQuery query(store.m_DB);
        if (!query.exec(QStringLiteral("begin")))
            return 5;
        QString error;
        if (!store.BatchInsert(pointers(inserted), error, query)) {
            std::fprintf(stderr, "BatchInsert: %s\n", qPrintable(error));
            return 6;
        }
        if (!replaced.empty() && !store.BatchUpdate(pointers(replaced), error, query)) {
            std::fprintf(stderr, "BatchUpdate: %s\n", qPrintable(error));
            return 7;
        }
        if (!query.exec(QStringLiteral("commit")))
            return 8;
        ++committed;
        std::printf("committed %lld\n", static_cast<long long>(committed));
        std::fflush(stdout);
    }
}
