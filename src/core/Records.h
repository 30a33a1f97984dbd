#pragma once

// The value records every layer passes around, and the engine kinds.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QtGlobal>

#include <cstdint>
#include <vector>

// The one signed 64-bit type of the program: update numbers, ranks as measured,
// intervals, proxy ports, counters and event parameters.
using LTInt64 = qint64;

enum EnuSearchEngineType : std::uint8_t {
    SE_Google = 1,
    SE_Bing = 2,
    SE_Yahoo = 4,
    SE_Other = 8,
};

// One engine variant of a website: the engine as queried for one country and language.
struct SEARCH_ENGINE {
    QString SearchEngine; // the engine's search host for the chosen country
    QString Lang;
    QString Country;
    LTInt64 Interval = 0; // base pause between two queries, seconds
};

// One tracked website; a row of table Website.
struct WEBSITE {
    QString Website;
    QDateTime CreateTime;
    std::vector<SEARCH_ENGINE> SearchEngines;
    QStringList Keywords;
};

// One rank measurement; a row of table UpdateFlow.
struct UPDATE_FLOW {
    LTInt64 UpdateNo = 0;
    QString Website;
    QString SearchEngine;
    QString Lang;
    QString Keyword;
    QDateTime SearchTime;
    LTInt64 Rank = 0; // 1..100 position, 101 not in the first 100, 0 failed
    QString RankURL;
};

// One point of a rank series.
struct FLOW_ITEM {
    LTInt64 UpdateNo = 0;
    qint16 Rank = 0;
    QDateTime SearchTime;
    QString RankURL;
};

// The rank series of one (website, engine host, keyword); the last point is the newest.
struct RANK_DATA {
    QString Website;
    QString Keyword;
    QString SearchEngine;
    QString Lang; // language of the measurement that created the series
    std::vector<FLOW_ITEM> FlowItems;
};

// The update schedule of one website; a row of table Schedual.
struct SCHEDUAL {
    QString Website;
    qint32 Type = 0;  // 0 every day, 1 weekday mask, 2 day of the month
    quint64 Days = 0; // type 1: bit 0 Monday .. bit 6 Sunday; type 2: 1..28
    QTime StartTime;
    qint32 StartMode = 0; // 0 at StartTime, 1 at program launch
    QDate LastRunDay;     // null until the first run
};

// One proxy; a row of table proxy, identified by (address, port).
struct PROXY {
    QString address;
    LTInt64 port = 0;
    QString type; // "http" or "socks5"
    QString country;
    QString username;
    QString password;
    bool enable = false;
};

struct RankDistribution {
    LTInt64 Rank1To10 = 0;
    LTInt64 Rank11To30 = 0;
    LTInt64 Rank31To100 = 0;
    LTInt64 RankOver100 = 0;
};

struct RankChangeKeywordCount {
    LTInt64 RankUp = 0;
    LTInt64 RankDown = 0;
    LTInt64 RankUnchange = 0;
};

EnuSearchEngineType FindSearchEngineType(QString text);
QString GetSearchEngineName(const QString& text);
int GetSearchEngineDefaultInterval(EnuSearchEngineType kind);
