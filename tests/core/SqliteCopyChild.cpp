// Child process of tst_sqldbload, linked with a SQLite copy of its own while the Qt driver
// runs the system's library (as where Qt brings its own copy). Loads the store of $HOME and
// prints "<one library> <read the driver's handle> <load ok> <last number>" and then
// "<update number>:<rank>" for every point, series by series.
#include "SqlDb.h"
#include "SqliteFigures.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    SqlDb store;
    std::vector<WEBSITE> websites;
    std::vector<RANK_DATA*> series;
    LTInt64 last = -1;
    const bool ok = store.LoadRankData(websites, series, last);
    std::printf("%d %d %d %lld\n", driverRunsLinkedSqlite(store.m_DB),
                int(store.LoadReadDriverHandle()), int(ok), static_cast<long long>(last));
    for (RANK_DATA* data : series) {
        for (const FLOW_ITEM& item : data->FlowItems)
            std::printf("%lld:%d\n", static_cast<long long>(item.UpdateNo), int(item.Rank));
        delete data;
    }
    return 0;
}
