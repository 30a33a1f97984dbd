#include "RankMain.h"

#include "LTException.h"
#include "MakerInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimerEvent>
#include <QVBoxLayout>

const QString f_strSettingKeys[SETTING_Count] = {
    QStringLiteral("OnlyProxy"),         QStringLiteral("REPORT_CompanyName"),
    QStringLiteral("REPORT_Adress"),     QStringLiteral("REPORT_Tel"),
    QStringLiteral("REPORT_Email"),      QStringLiteral("REPORT_Website"),
    QStringLiteral("REPORT_Facebook"),   QStringLiteral("REPORT_Twitter"),
    QStringLiteral("REPORT_LinkedIn"),   QStringLiteral("REPORT_LogoFile"),
    QStringLiteral("REPORT_OutputPath"),
};

const QVariant f_settingDefaultValues[SETTING_Count] = {
    QVariant(0),
    QVariant(QStringLiteral("Brindlecor")),
    QVariant(QStringLiteral("12 Harbour Lane, Portsmouth PO1 2AB, United Kingdom")),
    QVariant(QStringLiteral("+44 23 9200 0000")),
    QVariant(QStringLiteral("support@brindlecor.example")),
    QVariant(QStringLiteral("http://www.brindlecor.example")),
    QVariant(QStringLiteral("http://www.facebook.com/brindlecor")),
    QVariant(QStringLiteral("http://twitter.com/brindlecor")),
    QVariant(QStringLiteral("http://www.linkedin.com")),
    QVariant(QStringLiteral("./logo.png")),
    QVariant(QStringLiteral("./")),
};

QDateTime RankMain::m_dtPreviousDateTime;

RankMain::RankMain(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    // The news request (RequestNews) is sent here once the news check exists.

    // The model. A repeated update number makes the load fail with empty lists; the
    // repeats are then removed and the model loaded once more.
    if (!m_Sqldb.LoadRankData(m_vWebsites, m_vRankData, m_nLastUpdateNo)) {
        m_Sqldb.ClearRepeatedUpdateNo();
        m_Sqldb.LoadRankData(m_vWebsites, m_vRankData, m_nLastUpdateNo);
    }
    m_Sqldb.loadScheduals(m_vSchedual);

    // The header bar goes first and the overview page below it; both are built here once
    // they exist, and later pages are appended to this layout.
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    setLayout(layout);

    m_nCurrentView = 0;
    m_nPreviousView = 5;

    if (m_vWebsites.empty())
        QCoreApplication::postEvent(this, new QEvent(QEvent::Type(EVENT_AddFirstWebsite)));

    m_lstRegexps = LoadRegexps();
    m_bUpdateRunning = false;
    m_nTimerId = startTimer(2500);

    RankHub::SetCurrent(this);
}

RankMain::~RankMain()
{
    // The pages refer to the histories: they go first.
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
    // Text mode drops the carriage returns of the CR LF line ends.
    QFile file(QStringLiteral(":/Resources/regexp.txt"));
    file.open(QIODevice::ReadOnly | QIODevice::Text);
    QByteArray bytes = file.readAll();
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);

    // Labels and patterns alternate, starting with a label; the part after the last line
    // end is empty. Removing positions 0, 1, 2, ... of the shrinking list keeps the
    // patterns.
    QList<QString> parts = QString::fromLatin1(bytes).split(QLatin1Char('\n'));
    for (int i = 0; i < parts.size(); ++i)
        parts.removeAt(i);
    return parts;
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
    // The schedule clock (CheckSchedual) runs here once schedules exist.
}

void RankMain::customEvent(QEvent* event)
{
    if (m_bStopped)
        return;
    if (event->type() == QEvent::Type(EVENT_AddFirstWebsite)) {
        // Opens the add-website page through the header bar once the header bar exists.
    }
}
