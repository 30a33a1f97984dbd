#include "RankReport.h"

#include "MakerInfo.h"
#include "ReportCsv.h"
#include "ReportSettings.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// Longest report file name in UTF-8 bytes. Linux allows 255; the save step writes next to
// the file under its name plus ".XXXXXX" before moving it into place, so that must fit too.
constexpr int kMaxReportFileNameBytes = 255 - 7;

// The text with control characters replaced by "@": none belongs in a file name.
QString ReplaceControlChars(QString text)
{
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('@');
    }
    return text;
}

// The longest head of text (whole characters) that takes at most budget bytes in UTF-8.
QString TruncateUtf8(const QString& text, int budget)
{
    int bytes = 0;
    int i = 0;
    while (i < text.size()) {
        const char32_t code = text.at(i).unicode();
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const int size = pair ? 4 : code < 0x80 ? 1 : code < 0x800 ? 2 : 3;
        if (bytes + size > budget)
            break;
        bytes += size;
        i += pair ? 2 : 1;
    }
    return text.left(i);
}

} // namespace

RankReport::RankReport(QObject* parent) : QObject(parent) {}

RankReport::~RankReport()
{
    delete m_pDraft;
}

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
    const QString tail = ReplaceFileNameForbidChars(stamp + extension);
    prefix = ReplaceControlChars(ReplaceFileNameForbidChars(prefix));
    // The keyword may keep ":" and "?", but nothing that would make it a path of its own.
    for (QChar& c : second) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            c = QLatin1Char('@');
    }
    second = ReplaceControlChars(second);

    // A name too long for the file system loses the end of the website first, then that
    // of the keyword; the time stamp and the extension always stay.
    const int dash = second.isEmpty() ? 0 : 1;
    const int fixed = int(tail.toUtf8().size()) + dash;
    const int keywordBytes = int(second.toUtf8().size());
    prefix = TruncateUtf8(prefix, qMax(0, kMaxReportFileNameBytes - fixed - keywordBytes));
    second = TruncateUtf8(second, qMax(0, kMaxReportFileNameBytes - fixed));

    QString name = prefix + tail;
    if (!second.isEmpty())
        name = second + QLatin1Char('-') + name;
    return QDir(ReportOutputFolder()).filePath(name);
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

    QString text = Head(site, updated);
    text += QLatin1String("Search Engine,Top 10,11_30,31_100,not in 100,Total,,,,\n");
    for (size_t i = 0; i < bands.size() && i < engines; ++i) {
        const RankDistribution& b = bands[i];
        text += EngineLabel(site.SearchEngines[i]) + QLatin1Char(',');
        for (const LTInt64 count : {b.Rank1To10, b.Rank11To30, b.Rank31To100, b.RankOver100})
            text += QString::number(count) + QLatin1Char(',');
        text += QString::number(b.Rank1To10 + b.Rank11To30 + b.Rank31To100 + b.RankOver100);
        text += QLatin1String(",,,,,,\n");
    }
    text += Rule();
    text += QLatin1String("# ,,,,,,,,,\n");
    text += QLatin1String("# Rank Change,,,,,,,,,\n");
    text += QLatin1String("Search Engine,Rank up,Rank Down,Rank unchange,Total,,,,,\n");
    for (size_t i = 0; i < changes.size() && i < engines; ++i) {
        const RankChangeKeywordCount& c = changes[i];
        text += EngineLabel(site.SearchEngines[i]) + QLatin1Char(',');
        for (const LTInt64 count : {c.RankUp, c.RankDown, c.RankUnchange})
            text += QString::number(count) + QLatin1Char(',');
        text += QString::number(c.RankUp + c.RankDown + c.RankUnchange);
        text += QLatin1String(",,,,,,\n");
    }
    text += Rule();
    text += QLatin1String("# ,,,,,,,,,\n");
    text += QLatin1String("# Details,,,,,,,,,\n");
    text += QLatin1String("Keywords,Google - Current,Change,All time Change,Bing - Current,Change,"
                          "All time Change,Yahoo - Current,Change,All time Change\n");
    // Column 0 is the keyword; the others are rank and change texts.
    text += TableRows(model, {0});
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
