#include "UpdateRun.h"

#include "LTException.h"
#include "MessageBoxHook.h"
#include "Progress.h"
#include "RankHistory.h"
#include "RankMain.h"
#include "RankOperation.h"
#include "WebsiteView.h"

#include <QDate>
#include <QDebug>
#include <QHash>
#include <QLabel>
#include <QSqlError>
#include <QSqlQuery>

#include <unordered_set>

namespace {

const QString kTitle = QStringLiteral("Lumatrove");
const QString kAddWebsite = QStringLiteral("Please add a website.");
const QString kAddWebsites = QStringLiteral("Please add some websites.");
const QString kAllUpdated = QStringLiteral("All keywords have been updated today.");
const QString kNoProxy = QStringLiteral(
    "No proxy is selected for the specified countries. Can not start update process.");
const QString kRemaining = QStringLiteral("Updating remaining keywords...");

UpdateRun::OperationFactory& Factory()
{
    static UpdateRun::OperationFactory factory;
    return factory;
}

LTInt64 PairCount(const WEBSITE& website)
{
    return LTInt64(website.SearchEngines.size()) * LTInt64(website.Keywords.size());
}

void SetLabel(Progress& progress, const QString& text)
{
    if (auto* label = progress.findChild<QLabel*>(QStringLiteral("label")))
        label->setText(text);
}

// The run's operation with the dialog as its progress sink. A stored proxy of unknown
// type keeps it from being built: the warning is shown (the flag was never set) and the
// result is null.
std::unique_ptr<RankOperation> BuildOperation(RankMain& hub, Progress& progress, QWidget* parent)
{
    std::unique_ptr<RankOperation> operation;
    try {
        operation = UpdateRun::MakeOperation(&hub.m_bUpdateRunning);
    } catch (const LTException& error) {
        MessageBoxHook::warning(parent, kTitle,
                                QStringLiteral("Can not start update process: %1.")
                                    .arg(QString::fromLocal8Bit(error.message())));
        return nullptr;
    }
    operation->SetProgress(&progress);
    return operation;
}

// Steps 7 to 10 of a run whose checks are queued: false when nothing could start (the
// operation is then already destroyed).
bool StartAndMerge(RankMain& hub, Progress& progress, std::unique_ptr<RankOperation>& operation,
                   const UpdateRun::Refresh& refresh)
{
    if (!operation->StartTasks()) {
        operation.reset();
        return false;
    }
    progress.exec();
    UpdateToDatabaseAndMem(operation->Results(), hub.m_vRankData, hub);
    if (refresh)
        refresh();
    return true;
}

// What a merge changed in memory, so that a merge the file refused can be taken back:
// the series it added, and per touched series its length and newest point before.
class MergeUndo
{
public:
    explicit MergeUndo(std::vector<RANK_DATA*>& rankData)
        : m_rankData(rankData), m_seriesCount(rankData.size())
    {}

    // Call before the series' points change.
    void Touch(RANK_DATA* series)
    {
        if (!m_seen.insert(series).second)
            return;
        Saved saved{series, series->FlowItems.size(), FLOW_ITEM()};
        if (!series->FlowItems.empty())
            saved.newest = series->FlowItems.back();
        m_saved.push_back(std::move(saved));
    }

    void Undo()
    {
        for (Saved& saved : m_saved) {
            std::vector<FLOW_ITEM>& items = saved.series->FlowItems;
            items.erase(items.begin() + std::ptrdiff_t(saved.size), items.end());
            if (!items.empty())
                items.back() = std::move(saved.newest);
        }
        for (std::size_t i = m_seriesCount; i < m_rankData.size(); ++i)
            delete m_rankData[i];
        m_rankData.resize(m_seriesCount);
    }

private:
    struct Saved {
        RANK_DATA* series;
        std::size_t size;
        FLOW_ITEM newest;
    };
    std::vector<RANK_DATA*>& m_rankData;
    const std::size_t m_seriesCount;
    std::unordered_set<RANK_DATA*> m_seen;
    std::vector<Saved> m_saved;
};

} // namespace

UpdateRun::OperationFactory UpdateRun::SetOperationFactory(OperationFactory factory)
{
    OperationFactory previous = Factory();
    Factory() = std::move(factory);
    return previous;
}

std::unique_ptr<RankOperation> UpdateRun::MakeOperation(bool* updateRunning)
{
    if (Factory())
        return Factory()(updateRunning);
    return std::make_unique<RankOperation>(nullptr, updateRunning);
}

void UpdateRun::Overview(RankMain& hub, QWidget* page, int websiteIndex, const Refresh& refresh)
{
    if (hub.IsStopped() || hub.m_bUpdateRunning)
        return;
    // An index beyond the list names no website, like a toolbox without a current page.
    if (websiteIndex < 0 || websiteIndex >= int(hub.m_vWebsites.size())) {
        MessageBoxHook::warning(page, kTitle, kAddWebsite);
        return;
    }
    WEBSITE& website = hub.m_vWebsites[websiteIndex];
    if (StatKeywordsHasUpdated(website, hub.m_vRankData) == PairCount(website)) {
        MessageBoxHook::information(page, kTitle, kAllUpdated);
        return;
    }

    Progress progress(page);
    progress.setModal(true);
    const QDateTime last = QueryWebsitesLastUpdateTime(website.Website, hub.m_vRankData);
    if (last.isValid() && last.date() == QDate::currentDate())
        SetLabel(progress, kRemaining);

    std::unique_ptr<RankOperation> operation = BuildOperation(hub, progress, page);
    if (!operation)
        return;
    for (const QString& keyword : website.Keywords) {
        for (const SEARCH_ENGINE& engine : website.SearchEngines) {
            if (!HasUpdateSuccessThisDay(hub.m_vRankData, website.Website, engine.SearchEngine,
                                         keyword))
                operation->AddCheckRankTask(website.Website, &engine, keyword);
        }
    }
    if (!StartAndMerge(hub, progress, operation, refresh))
        MessageBoxHook::warning(page, kTitle, kNoProxy);
}

void UpdateRun::Keyword(RankMain& hub, QWidget* page, WEBSITE* website,
                        const std::optional<QString>& keyword, const Refresh& refresh)
{
    if (hub.IsStopped() || hub.m_bUpdateRunning)
        return;
    if (!keyword || !website) {
        MessageBoxHook::warning(page, kTitle, kAddWebsite);
        return;
    }

    Progress progress(page);
    progress.setModal(true);
    std::unique_ptr<RankOperation> operation = BuildOperation(hub, progress, page);
    if (!operation)
        return;
    for (const SEARCH_ENGINE& engine : website->SearchEngines)
        operation->AddCheckRankTask(website->Website, &engine, *keyword);
    if (!StartAndMerge(hub, progress, operation, refresh))
        MessageBoxHook::warning(page, kTitle, kNoProxy);
}

bool UpdateRun::Schedule(RankMain& hub, const SCHEDUAL& schedule, const Refresh& refresh)
{
    if (hub.IsStopped() || hub.m_bUpdateRunning)
        return false;
    try {
        WEBSITE* website = hub.FindWebsite(schedule.Website);

        Progress progress(&hub);
        progress.setModal(true);
        std::unique_ptr<RankOperation> operation = MakeOperation(&hub.m_bUpdateRunning);
        operation->SetProgress(&progress);
        for (const SEARCH_ENGINE& engine : website->SearchEngines) {
            for (const QString& keyword : website->Keywords) {
                if (!HasUpdateSuccessThisDay(hub.m_vRankData, website->Website, engine.SearchEngine,
                                             keyword))
                    operation->AddCheckRankTask(website->Website, &engine, keyword);
            }
        }
        const LTInt64 queued = LTInt64(operation->AllTasks().size());
        if (queued == 0)
            return true;
        SetLabel(progress, website->Website + (queued < PairCount(*website)
                                                   ? QStringLiteral(" scheduled updating "
                                                                    "remaining keywords...")
                                                   : QStringLiteral(" scheduled updating...")));
        StartAndMerge(hub, progress, operation, refresh);
        return true;
    } catch (const LTException& error) {
        qCritical().noquote() << QStringLiteral("scheduled updating error: ") +
                                     QString::fromLocal8Bit(error.message());
        return false;
    }
}

void UpdateRun::UpdateAll(RankMain& hub, QWidget* headerBar, int websiteCount,
                          const Refresh& refresh)
{
    if (hub.IsStopped() || hub.m_bUpdateRunning)
        return;
    if (websiteCount < 1) {
        MessageBoxHook::warning(headerBar, kTitle, kAddWebsites);
        return;
    }

    Progress progress(headerBar);
    progress.setModal(true);
    std::unique_ptr<RankOperation> operation = BuildOperation(hub, progress, headerBar);
    if (!operation)
        return;
    LTInt64 wanted = 0;
    for (const WEBSITE& website : hub.m_vWebsites) {
        wanted += PairCount(website);
        for (const SEARCH_ENGINE& engine : website.SearchEngines) {
            for (const QString& keyword : website.Keywords) {
                if (!HasUpdateSuccessThisDay(hub.m_vRankData, website.Website, engine.SearchEngine,
                                             keyword))
                    operation->AddCheckRankTask(website.Website, &engine, keyword);
            }
        }
    }
    const LTInt64 queued = LTInt64(operation->AllTasks().size());
    if (queued == 0) {
        MessageBoxHook::information(headerBar, kTitle, kAllUpdated);
        return;
    }
    if (queued < wanted)
        SetLabel(progress, kRemaining);
    if (!StartAndMerge(hub, progress, operation, refresh))
        MessageBoxHook::warning(headerBar, kTitle, kNoProxy);
}

void UpdateToFlowItem(RANK_DATA* series, const UPDATE_FLOW& flow)
{
    if (!series || series->FlowItems.empty())
        return;
    // Newest first: the point of the day is nearly always the last one.
    for (auto it = series->FlowItems.rbegin(); it != series->FlowItems.rend(); ++it) {
        if (it->UpdateNo == flow.UpdateNo) {
            it->Rank = qint16(flow.Rank);
            it->SearchTime = flow.SearchTime;
            it->RankURL = flow.RankURL;
            return;
        }
    }
}

void UpdateToDatabaseAndMem(std::list<UPDATE_FLOW>& flows, std::vector<RANK_DATA*>& rankData)
{
    auto* hub = dynamic_cast<RankMain*>(RankHub::Current());
    if (!hub)
        return;
    UpdateToDatabaseAndMem(flows, rankData, *hub);
}

void UpdateToDatabaseAndMem(std::list<UPDATE_FLOW>& flows, std::vector<RANK_DATA*>& rankData,
                            RankMain& hub)
{
    // The transaction comes first: when it cannot begin, memory is left as it was.
    QSqlQuery query(hub.m_Sqldb.m_DB);
    if (!query.exec(QStringLiteral("begin"))) {
        MessageBoxHook::warning(nullptr, kTitle, query.lastError().text());
        return;
    }

    MergeUndo undo(rankData);
    RankDataIndex index(rankData);
    // New points follow the highest number in memory; they are all this merge adds.
    LTInt64 lastUpdateNo = hub.GetLastUpdateNo();
    std::vector<UPDATE_FLOW*> inserts;
    std::vector<UPDATE_FLOW*> updates;
    for (UPDATE_FLOW& flow : flows) {
        RANK_DATA* series = index.Assign(flow);
        if (HasUpdatedThisDay(series, flow, flow.UpdateNo)) {
            // A failed re-check says nothing about the rank the day already has.
            if (flow.Rank == 0 && series->FlowItems.back().Rank != 0)
                continue;
            undo.Touch(series);
            UpdateToFlowItem(series, flow);
            updates.push_back(&flow);
        } else {
            undo.Touch(series);
            flow.UpdateNo = ++lastUpdateNo;
            FLOW_ITEM point;
            point.UpdateNo = flow.UpdateNo;
            point.Rank = qint16(flow.Rank);
            point.SearchTime = flow.SearchTime;
            point.RankURL = flow.RankURL;
            series->FlowItems.push_back(point);
            inserts.push_back(&flow);
        }
    }

    // All or nothing: memory must never show points that the file does not keep.
    QString error;
    bool ok = inserts.empty() || hub.m_Sqldb.BatchInsert(inserts, error, query);
    if (ok && !updates.empty())
        ok = hub.m_Sqldb.BatchUpdate(updates, error, query);
    if (ok && !query.exec(QStringLiteral("commit"))) {
        ok = false;
        error = query.lastError().text();
    }
    if (ok)
        return;
    // SQLite may have ended the transaction itself (a full disk); a failing rollback is
    // then expected. Memory is put back before the box's event loop can paint anything.
    query.exec(QStringLiteral("rollback"));
    undo.Undo();
    MessageBoxHook::warning(nullptr, kTitle, error);
}
