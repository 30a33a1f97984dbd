#include "StandInOperation.h"

#include "LTException.h"

#include <QTimer>

StandInCheck::StandInCheck(SEARCH_ENGINE const* engine, QString website, QString keyword,
                           LTInt64 rank, std::function<void(StandInCheck*)> onStart)
    : CheckRankTask(engine, std::move(website), std::move(keyword)), m_nScripted(rank),
      m_onStart(std::move(onStart))
{}

void StandInCheck::Start()
{
    if (m_onStart)
        m_onStart(this);
    if (m_nScripted == kNever)
        return;
    QTimer::singleShot(0, this, [this] {
        if (m_nScripted >= 1 && m_nScripted <= 100) {
            m_nResult = RRT_Found;
            m_nRank = m_nScripted;
            m_strFoundUrl = QStringLiteral("http://") + m_strWebsite + QStringLiteral("/rank") +
                            QString::number(m_nScripted);
        } else if (m_nScripted == 101) {
            m_nResult = RRT_NotFound;
        } else {
            m_nResult = RRT_RequestFailed;
        }
        OnTaskFinish();
    });
}

bool StandInCheck::OnRequestOK(QString page)
{
    Q_UNUSED(page);
    return true;
}

namespace {

class StandInOperation : public RankOperation
{
public:
    StandInOperation(bool* flag, StandInRuns& runs) : RankOperation(nullptr, flag), m_runs(runs) {}

protected:
    CheckRankTask* CreateCheckRankTask(EnuSearchEngineType kind, SEARCH_ENGINE const* engine,
                                       QString website, QString keyword) override
    {
        Q_UNUSED(kind);
        m_runs.queued.append(website + '|' + engine->SearchEngine + '|' + keyword);
        const LTInt64 rank = m_runs.ranks.value(qMakePair(engine->SearchEngine, keyword), 1);
        StandInRuns* runs = &m_runs;
        return new StandInCheck(engine, website, keyword, rank, [runs](StandInCheck* check) {
            runs->started.append(check->Website() + '|' + check->SearchEngine() + '|' +
                                 check->Keyword());
            if (runs->onStart)
                runs->onStart(check);
        });
    }

private:
    StandInRuns& m_runs;
};

} // namespace

StandInRuns::StandInRuns()
{
    m_previous = UpdateRun::SetOperationFactory([this](bool* flag) {
        ++operations;
        if (throwProxyType)
            throw LTException(4, "unsupported proxy type");
        return std::unique_ptr<RankOperation>(new StandInOperation(flag, *this));
    });
}

StandInRuns::~StandInRuns()
{
    UpdateRun::SetOperationFactory(m_previous);
}
