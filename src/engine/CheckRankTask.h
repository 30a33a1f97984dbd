#pragma once

#include "Records.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslError>
#include <QString>
#include <QUrl>

#include <list>

class HttpRequestEnvir;
#include <QNetworkReply>

// The outcome of one check.
enum RANK_REUSLT_TYPE : qint32 {
    RRT_NotStarted = 0,
    RRT_Found = 1,
    RRT_NotFound = 2, // not among the result pages read
    RRT_RequestFailed = 3,
    RRT_NoResult = 4, // a page without usable result links
};

// One rank check of a website, engine variant and keyword. The base issues the requests
// and handles the replies; the engine subclasses say which page to ask for and read it.
// Owned by its batch; runs on one request environment at a time.
class CheckRankTask : public QObject
{
    Q_OBJECT

public:
    // A server that keeps answering with redirects must not keep a check busy for ever.
    static constexpr int kMaxRedirects = 10;
    // Most bytes of a result page that are read; the rest of a longer or endless body is
    // never taken in, so memory stays bounded whatever a server sends. Two bytes per
    // character the reading looks at: all of it for a UTF-16 page, and for a page of
    // mostly ASCII markup in any encoding.
    static constexpr qint64 kMaxPageBytes = 8 * 1024 * 1024;

    CheckRankTask(SEARCH_ENGINE const* engine, QString website, QString keyword);
    ~CheckRankTask() override;

    // Builds the URL of the current page and calls PrepareRequestAndConnect(url, false).
    virtual void Start() = 0;
    // Reads one decoded result page. True: the check is complete. False: the next page is
    // scheduled (StartPageTimer).
    virtual bool OnRequestOK(QString page) = 0;
    // Ends one run of the check on its environment.
    virtual void OnTaskFinish();
    // Issues one GET through the environment.
    virtual void PrepareRequestAndConnect(QUrl url, bool redirect);

    const QString& SearchEngine() const { return m_strSearchEngine; }
    const QString& Lang() const { return m_strLang; }
    const QString& Area() const { return m_strArea; }
    LTInt64 Interval() const { return m_nInterval; }
    const QString& Website() const { return m_strWebsite; }
    const QString& Keyword() const { return m_strKeyword; }
    LTInt64 Rank() const { return m_nRank; }
    RANK_REUSLT_TYPE Result() const { return m_nResult; }
    const QString& FoundUrl() const { return m_strFoundUrl; }
    const QString& Message() const { return m_strMessage; }
    HttpRequestEnvir* Envir() const { return m_pEnvir; }
    const std::list<HttpRequestEnvir*>& TriedEnvirs() const { return m_lstTriedEnvirs; }

    // Set by the environment before it starts the check.
    void SetEnvir(HttpRequestEnvir* envir) { m_pEnvir = envir; }

    // Whether a request is in flight, and for how long (monotonic milliseconds).
    bool IsRequesting() const { return m_RequestTime.isValid(); }
    LTInt64 RequestAge() const;
    // Aborts the request in flight; the reply ends the run as a failed request, possibly
    // before this returns.
    void AbortRequest();
    // The environment is going away with its network access manager: forget the reply
    // without handling its end.
    void DetachReply();

protected:
    // The page timer: every timer event of a check starts one page.
    void timerEvent(QTimerEvent* event) override;

    // Starts the one-shot pause before the next page: RandomDelay of the interval.
    void StartPageTimer();
    // Keeps a reply just sent as the one in flight: connects its end and starts its age.
    void TrackReply(QNetworkReply* reply);

    QString m_strSearchEngine;
    QString m_strLang;
    QString m_strArea;
    LTInt64 m_nInterval = 0;
    QString m_strWebsite;
    QString m_strKeyword;
    LTInt64 m_nRank = 0;
    RANK_REUSLT_TYPE m_nResult = RRT_NotStarted;
    QString m_strFoundUrl;
    QString m_strMessage;
    // The reply of the request last issued. Guarded: its deletion is scheduled once it has
    // been handled, and a check pausing between pages may outlive it.
    QPointer<QNetworkReply> m_pReply;
    HttpRequestEnvir* m_pEnvir = nullptr;
    // Invalid while no request is in flight. Monotonic, so a clock change neither aborts
    // nor strands a request.
    QElapsedTimer m_RequestTime;
    std::list<HttpRequestEnvir*> m_lstTriedEnvirs;
    int m_nRedirects = 0; // redirects followed for the current page request

protected slots:
    void OnHttpFinished();
    void onSslErrors(QList<QSslError> sslErrors);

private:
    void FailRequest(const QString& reason);
    // Takes what the reply has of the page into m_body, up to kMaxPageBytes; the body of
    // any other answer is dropped as it comes. At the cap the reply is aborted and its end
    // hands the part read on as the page.
    void ReadBody();
    bool AppendBody(QNetworkReply* reply);
    // Handles the end of a reply: the page, a failure or a redirect.
    void EndReply(QNetworkReply* reply);
    // A reply that reports an error before it has finished.
    void OnReplyError(QNetworkReply* reply);

    QByteArray m_body;          // the page of the reply in flight, as read so far
    bool m_bBodyCapped = false; // the reply was aborted at kMaxPageBytes
};
