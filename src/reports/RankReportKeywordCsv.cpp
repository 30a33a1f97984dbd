#include "RankDisplayString.h"
#include "RankReport.h"
#include "ReportCsv.h"

bool RankReport::PrintKeywordCsv(QDate updated, QString path, const WEBSITE& site,
                                 std::vector<const RANK_DATA*>& histories,
                                 const std::vector<std::pair<LTInt64, LTInt64>>& indexPairs,
                                 QAbstractItemModel* model)
{
    using namespace ReportCsv;
    QString text = Head(site, updated);
    text += QLatin1String(
        "Search Engine,Country,Language,Best,Current,Last,Change,Created,Change,URL\n");
    // Column 9 is the ranking URL the engine returned; the rest are the program's texts.
    text += TableRows(model, {9});
    text += Rule();
    text += QLatin1String("# ,,,,,,,,,\n");
    text += QLatin1String("# Details,,,,,,,,,\n");

    // The value columns follow the histories, so the header names them in that order
    // (an engine without a history has no column); the line keeps ten cells.
    QString header = QStringLiteral("Date");
    int cells = 1;
    for (const RANK_DATA* history : histories) {
        header += QLatin1Char(',') +
                  (history ? Cell(GetSearchEngineName(history->SearchEngine)) : QString());
        ++cells;
    }
    for (; cells < 10; ++cells)
        header += QLatin1Char(',');
    text += header + QLatin1Char('\n');

    std::map<QDate, std::vector<const FLOW_ITEM*>> grid;
    CombinRankDataForSameDate(histories, grid, indexPairs);
    for (const auto& [date, points] : grid) {
        text +=
            QLatin1Char('"') + date.toString(QStringLiteral("MM/dd/yyyy")) + QLatin1String("\",");
        for (size_t k = 0; k < histories.size(); ++k) {
            const FLOW_ITEM* point = k < points.size() ? points[k] : nullptr;
            text +=
                (point ? RankDisplayString(point->Rank) : QStringLiteral("-")) + QLatin1Char(',');
        }
        text += QLatin1String(",,,,,\n");
    }
    text += Tail();
    return Write(path, text);
}
