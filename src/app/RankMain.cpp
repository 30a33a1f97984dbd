#include "RankMain.h"

#include "AddWebsiteView.h"
#include "HeaderBar.h"
#include "KeywordsView.h"
#include "LTException.h"
#include "LimitToolBox.h"
#include "MakerInfo.h"
#include "MessageBoxHook.h"
#include "RankHistory.h"
#include "SettingsView.h"
#include "SidePanel.h"
#include "UpdateRun.h"
#include "UrlOpenHook.h"
#include "WebsiteView.h"
#include "ui_HeaderBar.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTextCodec>
#include <QTimerEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

QDateTime RankMain::m_dtPreviousDateTime;

namespace {
// The most the network thread reads ahead of the news reply's handler.
constexpr qint64 kNewsReadBufferBytes = 64 * 1024;
// The news reply's property that holds the body read so far.
constexpr const char* kNewsBodyProperty = "newsBody";

QUrl& NewsPageUrl()
{
    static QUrl url(MakerInfo::NewsPage());
    return url;
}
} // namespace

RankMain::RankMain(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    RequestNews(NewsPage());

    // The model. A repeated update number makes the load fail with empty lists; the
    // repeats are then removed and the model loaded once more. A file that could not be
    // read has closed the store instead, and nothing may be written into it.
    if (!m_Sqldb.LoadRankData(m_vWebsites, m_vRankData, m_nLastUpdateNo) && m_Sqldb.m_DB.isOpen()) {
        m_Sqldb.ClearRepeatedUpdateNo();
        m_Sqldb.LoadRankData(m_vWebsites, m_vRankData, m_nLastUpdateNo);
    }
    m_Sqldb.loadScheduals(m_vSchedual);

    // The header bar goes first and the overview page below it; later pages are appended
    // to this layout.
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    setLayout(layout);
    m_pHeaderBar = new HeaderBar(this, m_vWebsites);
    layout->addWidget(m_pHeaderBar);
    m_connections << connect(m_pHeaderBar, &HeaderBar::DoSwitchView, this, &RankMain::OnSwitchView);
    m_connections << connect(m_pHeaderBar->ui->comboBoxWebsite,
                             qOverload<int>(&QComboBox::currentIndexChanged), this,
                             &RankMain::OnHeadBarWebsiteChanged);
    // The side panel starts in the overview page's left column.
    m_pSidePanel = new SidePanel(this);
    m_pWebsiteView = new WebsiteView(nullptr, m_vWebsites, m_vRankData, this);
    layout->addWidget(m_pWebsiteView);

    m_nCurrentView = 0;
    m_nPreviousView = 5;

    if (m_vWebsites.empty())
        QCoreApplication::postEvent(this, new QEvent(QEvent::Type(EVENT_AddFirstWebsite)));

    m_lstRegexps = LoadRegexps();

    // The overview's website list and the header combo keep the same website selected.
    if (LimitToolBox* list = m_pWebsiteView ? WebsiteList() : nullptr)
        m_connections << connect(list, &QToolBox::currentChanged, this,
                                 &RankMain::OnToolboxWebsiteChange);
    m_bUpdateRunning = false;
    m_nTimerId = startTimer(2500);

    RankHub::SetCurrent(this);
}

RankMain::~RankMain()
{
    // The side panel goes before the pages, so that none of them tries to hand it back to
    // a page already gone. The pages refer to the histories: they go before those.
    delete m_pSidePanel;
    const QList<QWidget*> children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    qDeleteAll(children);
    for (RANK_DATA* history : m_vRankData)
        delete history;
    m_vRankData.clear();
}

QVariant RankMain::GetSettingValue(SETTINGS index)
{
    if (index < 0 || index >= SETTING_Count)
        return QVariant();
    return m_Settings.value(f_strSettingKeys[index], f_settingDefaultValues[index]);
}

void RankMain::SetSettingValue(SETTINGS index, QVariant value)
{
    if (index < 0 || index >= SETTING_Count)
        return;
    m_Settings.setValue(f_strSettingKeys[index], value);
}

QString RankMain::GetRegexp(REGEXP_INDEX index)
{
    return m_lstRegexps.value(index);
}

QList<QString> RankMain::LoadRegexps()
{
    return ReadPatternFile();
}

WEBSITE* RankMain::FindWebsite(QString website)
{
    for (WEBSITE& candidate : m_vWebsites) {
        if (candidate.Website == website)
            return &candidate;
    }
    throw LTException(5);
}

LTInt64 RankMain::GetLastUpdateNo()
{
    LTInt64 last = m_nLastUpdateNo;
    for (const RANK_DATA* history : m_vRankData) {
        if (!history->FlowItems.empty())
            last = qMax(last, history->FlowItems.back().UpdateNo);
    }
    return last;
}

QWidget* RankMain::MainWidget()
{
    return parentWidget();
}

QString RankMain::GetProductVersion()
{
    return QStringLiteral("1.7.7");
}

QString RankMain::GetWindowTitle()
{
    return QStringLiteral("Lumatrove ") + GetProductVersion();
}

QUrl RankMain::NewsPage()
{
    return NewsPageUrl();
}

void RankMain::SetNewsPage(const QUrl& url)
{
    NewsPageUrl() = url;
}

void RankMain::RequestNews(QUrl url)
{
    // Deleted after its reply; a hub that goes before the reply arrives takes it along.
    auto* manager = new QNetworkAccessManager(nullptr);
    m_connections.append(
        connect(manager, &QNetworkAccessManager::finished, this, &RankMain::OnNewsRequestFinished));
    connect(this, &QObject::destroyed, manager, [manager] { delete manager; });
    QNetworkReply* reply = manager->get(QNetworkRequest(url));
    // The body is taken in as it arrives, through a small read buffer: the network thread
    // stops reading while it is full, so a server that sends on while this thread is busy
    // (the start-up load follows this request) fills no more memory than the cap. Past the
    // cap the reply is aborted: it ends failed, which leaves the panel as it was.
    reply->setReadBufferSize(kNewsReadBufferBytes);
    connect(reply, &QNetworkReply::readyRead, reply, [reply] {
        if (reply->error() != QNetworkReply::NoError)
            return;
        QByteArray body = reply->property(kNewsBodyProperty).toByteArray();
        reply->setProperty(kNewsBodyProperty, QVariant()); // one copy of the bytes, not two
        body += reply->readAll();
        const bool over = body.size() > kMaxNewsBytes;
        reply->setProperty(kNewsBodyProperty, body);
        if (over)
            reply->abort();
    });
    // Qt reports a compression bomb while the body arrives without stopping the transfer or
    // finishing the reply: a failed reply that has not finished goes with its manager,
    // which stops it (an abort would report a second error). Queued: the error may come
    // from inside a read.
    connect(
        reply, &QNetworkReply::errorOccurred, reply,
        [reply, manager] {
            if (!reply->isFinished())
                manager->deleteLater();
        },
        Qt::QueuedConnection);
}

bool RankMain::FindNewsVersion(const QString& page, QString& version)
{
    static const QString marker = QStringLiteral("meta lt_ver=\"");
    const qsizetype at = page.indexOf(marker);
    if (at < 0)
        return false;
    const qsizetype start = at + marker.size();
    const qsizetype end = page.indexOf(QLatin1Char('"'), start);
    if (end < 0)
        return false;
    version = page.mid(start, end - start);
    return true;
}

bool RankMain::IsNewerVersion(const QString& remote, const QString& own)
{
    const auto parts = [](const QString& version) {
        const QStringList texts = version.split(QLatin1Char('.'), Qt::KeepEmptyParts);
        std::array<uint, 3> numbers{};
        for (int i = 0; i < 3 && i < texts.size(); ++i) {
            bool ok = false;
            const uint value = texts[i].toUInt(&ok, 10);
            numbers[i] = ok ? value : 0;
        }
        return numbers;
    };
    return parts(remote) > parts(own);
}

void RankMain::OnNewsRequestFinished(QNetworkReply* reply)
{
    QNetworkAccessManager* manager = reply->manager();
    reply->deleteLater();
    if (manager)
        manager->deleteLater();
    if (m_bStopped)
        return;

    // A failed request leaves the panel as it was: an error page is no news, and a version
    // it names is nobody's.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status >= 400)
        return;
    const QByteArray body = reply->property(kNewsBodyProperty).toByteArray() + reply->readAll();
    const QString page = QTextCodec::codecForHtml(body)->toUnicode(body);

    QString remote;
    if (FindNewsVersion(page, remote) && IsNewerVersion(remote, GetProductVersion())) {
        const int answer = MessageBoxHook::information(
            this, QStringLiteral("Lumatrove"),
            QStringLiteral("There is a new version <b>%1</b> available, Download now?").arg(remote),
            MessageBoxHook::Yes | MessageBoxHook::No, MessageBoxHook::NoButton);
        if (answer == MessageBoxHook::Yes)
            UrlOpenHook::openUrl(QUrl(MakerInfo::HomePage()));
    }

    // The news label belongs to the overview's side panel, which moves between the pages;
    // all of them are children of the hub.
    if (m_pSidePanel)
        m_pSidePanel->NewsLabel()->setText(page);
}

void RankMain::CheckSchedual()
{
    CheckSchedualAt(QDateTime::currentDateTime());
}

void RankMain::CheckSchedualAt(const QDateTime& now)
{
    const QDate today = now.date();
    for (const SCHEDUAL& schedual : m_vSchedual) {
        bool dayPasses = true;
        if (schedual.Type == 1) {
            const int bit = today.dayOfWeek() - 1;
            dayPasses = ((schedual.Days >> bit) & 1u) != 0;
        } else if (schedual.Type == 2) {
            dayPasses = quint64(today.day()) == schedual.Days;
        }
        if (!dayPasses)
            continue;

        bool due = false;
        if (schedual.StartMode == 0) {
            const QDateTime start(today, schedual.StartTime);
            due = !m_dtPreviousDateTime.isNull() && m_dtPreviousDateTime < start && start <= now;
        } else if (schedual.StartMode == 1) {
            due = m_dtPreviousDateTime.isNull() && today != schedual.LastRunDay;
        }
        // A schedule still waiting (behind a long run) is not queued a second time.
        const auto same = [&](const SCHEDUAL& queued) {
            return queued.Website == schedual.Website;
        };
        if (due && std::none_of(m_lstDueSchedual.begin(), m_lstDueSchedual.end(), same))
            m_lstDueSchedual.push_back(schedual);
    }

    m_dtPreviousDateTime = now;

    // While another update runs the entry waits for a later tick: the run would refuse it
    // and the schedule would be lost for the day.
    if (m_lstDueSchedual.empty() || m_bUpdateRunning)
        return;
    // Taken off the queue before it runs: the run's nested event loop must not see it.
    SCHEDUAL entry = m_lstDueSchedual.front();
    m_lstDueSchedual.pop_front();
    if (!ProceeSchedual(entry))
        return;
    entry.LastRunDay = today;
    if (SCHEDUAL* own = FindSchedual(entry.Website, m_vSchedual))
        own->LastRunDay = today;
    m_Sqldb.UpdateSchedualLastRunDay(entry);
}

bool RankMain::ProceeSchedual(const SCHEDUAL& schedual)
{
    return UpdateRun::Schedule(*this, schedual, [this] { RefreshPages(); });
}

int RankMain::SelectedWebsiteIndex() const
{
    return m_pHeaderBar ? m_pHeaderBar->ui->comboBoxWebsite->currentIndex() : -1;
}

void RankMain::TakeBackSidePanel()
{
    if (m_pWebsiteView)
        m_pWebsiteView->TakeSidePanel();
    else if (m_pSidePanel)
        m_pSidePanel->setParent(this);
}

void RankMain::UpdateWebsite(QWidget* page, int websiteIndex)
{
    UpdateRun::Overview(*this, page, websiteIndex, [this] { RefreshPages(); });
}

void RankMain::UpdateKeyword(QWidget* page, WEBSITE* website, const std::optional<QString>& keyword)
{
    // The keyword page that asked is refreshed first, then the overview.
    UpdateRun::Keyword(*this, page, website, keyword, [this] {
        if (m_pKeywordsView)
            m_pKeywordsView->PopluateRankData(m_vRankData);
        if (m_pWebsiteView)
            m_pWebsiteView->PopluateRankData(m_vRankData);
    });
}

void RankMain::RefreshPages()
{
    if (m_pWebsiteView)
        m_pWebsiteView->PopluateRankData(m_vRankData);
    if (m_pKeywordsView)
        m_pKeywordsView->PopluateRankData(m_vRankData);
}

void RankMain::Stop()
{
    if (m_bStopped)
        return;
    m_bStopped = true;
    if (m_nTimerId) {
        killTimer(m_nTimerId);
        m_nTimerId = 0;
    }
    for (const QMetaObject::Connection& connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    blockSignals(true);
    setEnabled(false);
    if (RankHub::Current() == this)
        RankHub::SetCurrent(nullptr);
}

void RankMain::timerEvent(QTimerEvent* event)
{
    Q_UNUSED(event);
    if (m_bStopped)
        return;
    CheckSchedual();
}

void RankMain::customEvent(QEvent* event)
{
    if (m_bStopped)
        return;
    if (event->type() == QEvent::Type(EVENT_AddFirstWebsite))
        m_pHeaderBar->on_pushAddWebsite_clicked();
}

QWidget* RankMain::Page(int state) const
{
    switch (state) {
    case HBS_WebsiteView:
        return m_pWebsiteView;
    case HBS_KeywordsView:
        return m_pKeywordsView;
    case HBS_AddWebsite:
        return m_pAddWebsiteView;
    case HBS_Settings:
        return m_pSettingsView;
    default:
        return nullptr;
    }
}

void RankMain::OnSwitchView(HeaderBarState state, void* parameter)
{
    if (state == m_nCurrentView)
        return;

    for (int page = HBS_WebsiteView; page <= HBS_Settings; ++page) {
        if (QWidget* widget = Page(page))
            widget->setVisible(false);
    }

    switch (state) {
    case HBS_WebsiteView:
        break;
    case HBS_KeywordsView:
        if (!m_pKeywordsView) {
            m_pKeywordsView = new KeywordsView(nullptr, m_vRankData, this);
            layout()->addWidget(m_pKeywordsView);
        }
        PointKeywordPage(m_pHeaderBar->ui->comboBoxWebsite->currentIndex());
        break;
    case HBS_AddWebsite:
        if (!m_pAddWebsiteView) {
            m_pAddWebsiteView =
                new AddWebsiteView(nullptr, this, static_cast<const WEBSITE*>(parameter));
            layout()->addWidget(m_pAddWebsiteView);
        }
        break;
    case HBS_Settings:
        if (!m_pSettingsView) {
            m_pSettingsView = new SettingsView(nullptr, this);
            layout()->addWidget(m_pSettingsView);
        }
        break;
    default:
        break;
    }
    if (QWidget* widget = Page(state))
        widget->setVisible(true);

    m_nPreviousView = m_nCurrentView;
    m_nCurrentView = state;
}

void RankMain::ReturnPreviousPage()
{
    const auto previous = HeaderBarState(m_nPreviousView);
    m_pHeaderBar->SwitchViewToolButton(previous);
    OnSwitchView(previous, nullptr);
}

void RankMain::SwitchToSpecicalKeywordView(QString keyword)
{
    m_pHeaderBar->on_toolButton_clicked();
    // Refused without websites: then there is no keyword page to point.
    if (m_pKeywordsView)
        m_pKeywordsView->SelectSpecicalKeyword(keyword);
}

void RankMain::OnToolboxWebsiteChange(int position)
{
    const int index = WebsiteList()->GetWebsiteIndex(position);
    m_pHeaderBar->ui->comboBoxWebsite->setCurrentIndex(index);
    PointKeywordPage(index);
}

void RankMain::OnHeadBarWebsiteChanged(int index)
{
    if (index == -1)
        return;
    WebsiteList()->selectItem(index);
    PointKeywordPage(index);
}

LimitToolBox* RankMain::WebsiteList() const
{
    return m_pWebsiteView->findChild<LimitToolBox*>(QStringLiteral("toolBoxWebsite"));
}

void RankMain::PointKeywordPage(int index)
{
    // The combo and the list name websites of this hub's list; anything else points
    // nowhere.
    if (m_pKeywordsView && index >= 0 && index < int(m_vWebsites.size()))
        m_pKeywordsView->changeWebsite(m_vWebsites[size_t(index)]);
}
