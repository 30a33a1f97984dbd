#include "RankReport.h"

#include "MakerInfo.h"
#include "ReportCsv.h"
#include "ReportSettings.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QUrl>

namespace {

// Longest file name the naming converts (website text, time stamp and extension).
constexpr int kMaxReportFileName = 259;

} // namespace

RankReport::RankReport(QObject* parent) : QObject(parent) {}

RankReport::~RankReport() = default;

QString RankReport::CreditText()
{
    return QStringLiteral("Report generated with ") + QUrl(MakerInfo::HomePage()).host();
}

QString RankReport::CreditUrl()
{
    return MakerInfo::HomePage() + QStringLiteral("/?ref=report");
}

QString ReplaceFileNameForbidChars(QString text)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (QChar& c : text) {
        if (forbidden.contains(c))
            c = QLatin1Char('@');
    }
    return text;
}

QString RankReport::MakeReportFilePath(QString prefix, QString second, QString extension)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    // A website text too long for a file name is shortened so that the time stamp and the
    // extension survive; a surrogate pair is never cut in half.
    const int room = kMaxReportFileName - int(stamp.size()) - int(extension.size());
    if (prefix.size() + stamp.size() + extension.size() > kMaxReportFileName) {
        int keep = qMax(0, room);
        if (keep > 0 && keep < prefix.size() && prefix.at(keep - 1).isHighSurrogate())
            --keep;
        prefix.truncate(keep);
    }
    QString name = ReplaceFileNameForbidChars(prefix + stamp + extension);
    if (!second.isEmpty())
        name = second + QLatin1Char('-') + name;
    const QDir folder(ReportSetting(SETTING_ReportOutputPath));
    return folder.absoluteFilePath(name);
}

void RankReport::InsertLinkToPdf(int page, const QRectF& rect, const QString& url)
{
    Url_Dat link;
    link.page = page;
    link.url = url;
    link.rect = rect;
    m_mapLinks[page].append(link);
}

bool RankReport::PrintWebsiteCsv(QDate updated, QString path, const WEBSITE& site,
                                 const std::vector<RankDistribution>& bands,
                                 const std::vector<RankChangeKeywordCount>& changes,
                                 QAbstractItemModel* model)
{
    using namespace ReportCsv;
    // Entry i belongs to engine i; entries beyond the website's engines have no label.
    const size_t engines = site.SearchEngines.size();

    QByteArray text = Head(site, updated);
    text += "Search Engine,Top 10,11_30,31_100,not in 100,Total,,,,\n";
    for (size_t i = 0; i < bands.size() && i < engines; ++i) {
        const RankDistribution& b = bands[i];
        text += EngineLabel(site.SearchEngines[i]) + ',';
        text += QByteArray::number(b.Rank1To10) + ',' + QByteArray::number(b.Rank11To30) + ',' +
                QByteArray::number(b.Rank31To100) + ',' + QByteArray::number(b.RankOver100) + ',';
        text += QByteArray::number(b.Rank1To10 + b.Rank11To30 + b.Rank31To100 + b.RankOver100);
        text += ",,,,,,\n";
    }
    text += Rule();
    text += "# ,,,,,,,,,\n";
    text += "# Rank Change,,,,,,,,,\n";
    text += "Search Engine,Rank up,Rank Down,Rank unchange,Total,,,,,\n";
    for (size_t i = 0; i < changes.size() && i < engines; ++i) {
        const RankChangeKeywordCount& c = changes[i];
        text += EngineLabel(site.SearchEngines[i]) + ',';
        text += QByteArray::number(c.RankUp) + ',' + QByteArray::number(c.RankDown) + ',' +
                QByteArray::number(c.RankUnchange) + ',';
        text += QByteArray::number(c.RankUp + c.RankDown + c.RankUnchange);
        text += ",,,,,,\n";
    }
    text += Rule();
    text += "# ,,,,,,,,,\n";
    text += "# Details,,,,,,,,,\n";
    text += "Keywords,Google - Current,Change,All time Change,Bing - Current,Change,All time "
            "Change,Yahoo - Current,Change,All time Change\n";
    text += TableRows(model);
    text += Tail();
    return Write(path, text);
}

void CombinRankDataForSameDate(std::vector<const RANK_DATA*> histories,
                               std::map<QDate, std::vector<const FLOW_ITEM*>>& grid,
                               const std::vector<std::pair<LTInt64, LTInt64>>& indexPairs)
{
    if (histories.empty())
        return;
    const size_t slotCount = histories.size();
    for (size_t k = 0; k < slotCount && k < indexPairs.size(); ++k) {
        const RANK_DATA* history = histories[k];
        const int first = int(indexPairs[k].first);
        int last = int(indexPairs[k].second);
        if (!history || first == -1 || last == -1 || first > last)
            continue;
        // Pairs come from FindStartAndEndIndex on the same history; anything else must
        // still not read outside its points.
        const int count = int(history->FlowItems.size());
        if (first < 0 || first >= count)
            continue;
        last = qMin(last, count - 1);
        for (int j = first; j <= last; ++j) {
            const FLOW_ITEM& point = history->FlowItems[size_t(j)];
            std::vector<const FLOW_ITEM*>& day = grid[point.SearchTime.date()];
            if (day.size() < slotCount)
                day.resize(slotCount, nullptr);
            day[k] = &point;
        }
    }
}
