#include "PageFixture.h"

#include "SqlDb.h"

#include <QDir>
#include <QLabel>
#include <QSqlQuery>
#include <QTableWidget>

namespace PageFixture {

WEBSITE website(const QString& url, const QStringList& hosts, const QStringList& keywords,
                const QString& country, const QString& lang)
{
    WEBSITE w;
    w.Website = url;
    w.CreateTime = QDateTime(QDate(2026, 3, 4), QTime(8, 0));
    for (const QString& host : hosts) {
        const bool google = host.contains(QLatin1String("google"));
        w.SearchEngines.push_back({host, google ? QStringLiteral("English") : lang,
                                   google ? QStringLiteral("United States") : country});
    }
    w.Keywords = keywords;
    return w;
}

Histories::~Histories()
{
    qDeleteAll(list);
}

RANK_DATA* Histories::add(const QString& url, const QString& host, const QString& keyword,
                          const QList<QPair<QDate, int>>& points)
{
    auto* data = new RANK_DATA;
    data->Website = url;
    data->SearchEngine = host;
    data->Keyword = keyword;
    data->Lang = QStringLiteral("English");
    LTInt64 number = LTInt64(list.size()) * 100;
    for (const auto& [day, rank] : points) {
        FLOW_ITEM item;
        item.UpdateNo = ++number;
        item.Rank = qint16(rank);
        item.SearchTime = QDateTime(day, QTime(12, 0));
        item.RankURL = QStringLiteral("%1/%2/%3").arg(url, host).arg(rank);
        data->FlowItems.push_back(item);
    }
    list.push_back(data);
    return data;
}

RANK_DATA* Histories::daily(const QString& url, const QString& host, const QString& keyword,
                            const QList<int>& ranks, QDate newest)
{
    QList<QPair<QDate, int>> points;
    for (int i = 0; i < ranks.size(); ++i)
        points.append({newest.addDays(i - ranks.size() + 1), ranks[i]});
    return add(url, host, keyword, points);
}

QStringList ReportRun::files() const
{
    return QDir(folder.path()).entryList(QDir::Files);
}

bool insert(SqlDb& store, const QString& table, const QVariantList& values)
{
    QStringList marks;
    for (qsizetype i = 0; i < values.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery query(store.m_DB);
    if (!query.prepare(QStringLiteral("INSERT INTO %1 VALUES(%2)").arg(table, marks.join(','))))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

QStringList rowTexts(QTableWidget* table, int row)
{
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c)
        texts << (table->item(row, c) ? table->item(row, c)->text() : QStringLiteral("<none>"));
    return texts;
}

QStringList rowOf(QTableWidget* table, const QString& first)
{
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0) && table->item(row, 0)->text() == first)
            return rowTexts(table, row);
    return {};
}

QString labelText(QWidget& parent, const QString& name)
{
    auto* label = parent.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
}

} // namespace PageFixture
