#include "CheckRankTask.h"

#include "CheckTiming.h"
#include "HttpRequestEnvir.h"
#include "Regex.h"

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTextCodec>
#include <QTimerEvent>

namespace {
// Unread bytes a reply may hold before the network thread pauses for ReadBody.
const qint64 kReadAheadBytes = 1024 * 1024;
} // namespace

static_assert(CheckRankTask::kMaxPageBytes >= 2 * qint64(Regex::MaxPageLength),
              "a page must be read at least as far as its text is parsed");

CheckRankTask::CheckRankTask(SEARCH_ENGINE const* engine, QString website, QString keyword)
    : m_strWebsite(std::move(website)), m_strKeyword(std::move(keyword))
{
    if (engine) {
        m_strSearchEngine = engine->SearchEngine;
        m_strLang = engine->Lang;
        m_strArea = engine->Country;
        m_nInterval = engine->Interval;
    }
}

CheckRankTask::~CheckRankTask() = default;

LTInt64 CheckRankTask::RequestAge() const
{
    return m_RequestTime.isValid() ? m_RequestTime.elapsed() : 0;
}

void CheckRankTask::AbortRequest()
{
    if (m_pReply && m_RequestTime.isValid())
        m_pReply->abort();
}

void CheckRankTask::DetachReply()
{
    if (m_pReply)
        disconnect(m_pReply, nullptr, this, nullptr);
    m_pReply = nullptr;
    m_RequestTime.invalidate();
    m_body = QByteArray();
    m_bBodyCapped = false;
}

void CheckRankTask::PrepareRequestAndConnect(QUrl url, bool redirect)
{
    Q_UNUSED(redirect);
    Q_ASSERT(m_pEnvir);
    QNetworkRequest request(url);
    request.setRawHeader("User-Agent", m_pEnvir->UserAgent().toLatin1());
    TrackReply(m_pEnvir->NetworkAccessManager()->get(request));
}

void CheckRankTask::TrackReply(QNetworkReply* reply)
{
    m_pReply = reply;
    m_body = QByteArray();
    m_bBodyCapped = false;
    // The network thread stops reading ahead once this much waits unread, so a busy event
    // loop cannot let a fast server fill memory behind ReadBody's back.
    reply->setReadBufferSize(kReadAheadBytes);
    connect(reply, &QNetworkReply::readyRead, this, &CheckRankTask::ReadBody);
    connect(reply, &QNetworkReply::finished, this, &CheckRankTask::OnHttpFinished);
    connect(reply, &QNetworkReply::sslErrors, this, &CheckRankTask::onSslErrors);
    // Queued: the error may be raised inside a read of ReadBody.
    connect(
        reply, &QNetworkReply::errorOccurred, this,
        [this, guarded = QPointer<QNetworkReply>(reply)] { OnReplyError(guarded); },
        Qt::QueuedConnection);
    m_RequestTime.start();
}

void CheckRankTask::OnReplyError(QNetworkReply* reply)
{
    // Ended already (its end was handled), or a reply this check no longer waits for.
    if (!reply || reply != m_pReply || !m_RequestTime.isValid())
        return;
    // Qt finds a compression bomb (or a corrupt compressed body) while the body arrives and
    // reports it, but neither stops the transfer nor finishes the reply; with the read
    // buffer full the transfer never ends. End the request here: the reply is deleted,
    // which stops its transfer (an abort now would report a second error).
    disconnect(reply, nullptr, this, nullptr);
    EndReply(reply);
}

bool CheckRankTask::AppendBody(QNetworkReply* reply)
{
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200) {
        reply->skip(reply->bytesAvailable());
        return false;
    }
    const qint64 room = kMaxPageBytes - m_body.size();
    m_body += reply->read(qMin(reply->bytesAvailable(), room));
    return m_body.size() >= kMaxPageBytes;
}

void CheckRankTask::ReadBody()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    // A reply that failed is not read on: its end fails the request.
    if (!reply || reply != m_pReply || m_bBodyCapped || reply->error() != QNetworkReply::NoError)
        return;
    if (!AppendBody(reply))
        return;
    // More than the reading looks at (or a body without end): stop the transfer. The
    // abort ends the reply at once, and its end reads the part taken as the page.
    m_bBodyCapped = true;
    reply->abort();
}

void CheckRankTask::OnHttpFinished()
{
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply)
        reply = m_pReply;
    if (reply)
        EndReply(reply);
}

void CheckRankTask::EndReply(QNetworkReply* reply)
{
    // Kept alive until this handling returns: a redirect may still read its request.
    reply->deleteLater();
    if (reply != m_pReply)
        return; // a reply this check no longer waits for
    m_RequestTime.invalidate();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();

    const bool capped = m_bBodyCapped;
    m_bBodyCapped = false;
    // An abort after the headers or a truncated body still carries status 200: the page
    // is not complete, so any reported error fails the request. Only the abort at the
    // size cap is this check's own: the part read is all the reading would look at.
    if (!capped && reply->error() != QNetworkReply::NoError) {
        m_nRedirects = 0;
        m_body = QByteArray();
        FailRequest(reply->errorString());
        return;
    }

    if (capped || status == 200) {
        m_nRedirects = 0;
        if (!capped)
            AppendBody(reply);
        QByteArray body;
        body.swap(m_body);
        // A cut through a multi-byte character at the cap decodes to one replacement
        // character at the end; the text before it is whole.
        QString page = QTextCodec::codecForHtml(body)->toUnicode(body);
        body = QByteArray();
        if (OnRequestOK(std::move(page)))
            OnTaskFinish();
        return;
    }
    m_body = QByteArray();

    if (target.isEmpty()) {
        m_nRedirects = 0;
        m_nResult = RRT_RequestFailed;
        m_strMessage = tr("****** unknown request error.");
        OnTaskFinish();
        return;
    }

    if (m_nRedirects >= kMaxRedirects) {
        m_nRedirects = 0;
        FailRequest(tr("more than %1 redirects").arg(kMaxRedirects));
        return;
    }
    // A relative target means the same server: resolve it against the URL just asked for.
    const QUrl next = reply->url().resolved(target);
    // Only web addresses are followed: a server must not make the check open local
    // files or data of any other scheme.
    const QString scheme = next.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        m_nRedirects = 0;
        FailRequest(tr("redirect to %1").arg(next.toString()));
        return;
    }
    ++m_nRedirects;
    qDebug().noquote() << "****** redirect a to" << next.toString();
    PrepareRequestAndConnect(next, true);
}

void CheckRankTask::onSslErrors(QList<QSslError> sslErrors)
{
    // Certificate errors are not ignored: such a request ends as a failed request.
    Q_UNUSED(sslErrors);
}

void CheckRankTask::FailRequest(const QString& reason)
{
    m_nResult = RRT_RequestFailed;
    m_strMessage = tr("****** http request failed: %1.").arg(reason);
    qDebug().noquote() << m_strMessage;
    OnTaskFinish();
}

void CheckRankTask::timerEvent(QTimerEvent* event)
{
    const int id = event->timerId();
    Start();
    killTimer(id);
}

void CheckRankTask::StartPageTimer()
{
    const LTInt64 wait = RandomDelay(CheckTiming::SecondsToMs(m_nInterval));
    startTimer(CheckTiming::PacingInterval(wait), Qt::PreciseTimer);
}

void CheckRankTask::OnTaskFinish()
{
    if (m_nResult == RRT_RequestFailed || m_nResult == RRT_NoResult)
        m_lstTriedEnvirs.push_back(m_pEnvir);
    m_pEnvir->OnTaskFinish(this);
}
