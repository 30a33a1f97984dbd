#include "RankDisplayString.h"
#include "RankReport.h"
#include "ReportCsv.h"

bool RankReport::PrintKeywordCsv(QDate updated, QString path, const WEBSITE& site,
                                 std::vector<const RANK_DATA*>& histories,
                                 const std::vector<std::pair<LTInt64, LTInt64>>& indexPairs,
                                 QAbstractItemModel* model)
{
    using namespace ReportCsv;
    QByteArray text = Head(site, updated);
    text += "Search Engine,Country,Language,Best,Current,Last,Change,Created,Change,URL\n";
    text += TableRows(model);
    text += Rule();
    text += "# ,,,,,,,,,\n";
    text += "# Details,,,,,,,,,\n";

    // The value columns follow the histories, so the header names them in that order
    // (an engine without a history has no column); the line keeps ten cells.
    QByteArray header = "Date";
    int cells = 1;
    for (const RANK_DATA* history : histories) {
        header +=
            ',' + (history ? GetSearchEngineName(history->SearchEngine).toLatin1() : QByteArray());
        ++cells;
    }
    for (; cells < 10; ++cells)
        header += ',';
    text += header + '\n';

    std::map<QDate, std::vector<const FLOW_ITEM*>> grid;
    CombinRankDataForSameDate(histories, grid, indexPairs);
    for (const auto& [date, points] : grid) {
        text += '"' + date.toString(QStringLiteral("MM/dd/yyyy")).toLatin1() + "\",";
        for (size_t k = 0; k < histories.size(); ++k) {
            const FLOW_ITEM* point = k < points.size() ? points[k] : nullptr;
            text += (point ? RankDisplayString(point->Rank).toLatin1() : QByteArray("-")) + ',';
        }
        text += ",,,,,\n";
    }
    text += Tail();
    return Write(path, text);
}
