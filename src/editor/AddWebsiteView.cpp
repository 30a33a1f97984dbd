#include "AddWebsiteView.h"

#include "AddWebsiteModel.h"
#include "LTException.h"
#include "MessageBoxHook.h"
#include "ParamEvent.h"
#include "RankHistory.h"
#include "PageHub.h"
#include "SelectedebsiteModel.h"
#include "SidePanel.h"
#include "SqlValue.h"
#include "WebsiteColumns.h"
#include "WebsiteMatch.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QUrl>

namespace {
const char kTitle[] = "Lumatrove";
const char kExists[] = "This website already exists.";
const char kSaveFailed[] = "save to database failed.";
const char kGone[] = "This website is no longer in the database.";

QStringList ReadResourceLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw LTException(1, path.toLatin1().constData());
    QTextStream stream(&file);
    // The stream skips a leading byte-order mark; text mode drops the carriage returns.
    return stream.readAll().split(QRegularExpression(QStringLiteral("\\n")), Qt::SkipEmptyParts);
}

void ConfigureTree(QTreeView* view)
{
    view->setColumnWidth(0, 210);
    view->setColumnWidth(1, 120);
    view->setColumnWidth(2, 110);
    view->header()->hide();
    view->setRootIsDecorated(false);
}
} // namespace

QString SES2String(const std::vector<SEARCH_ENGINE>& engines)
{
    QStringList lines;
    for (const SEARCH_ENGINE& engine : engines) {
        QString line = engine.SearchEngine + QLatin1Char('?') + engine.Lang + QLatin1Char('?') +
                       engine.Country;
        const EnuSearchEngineType kind = FindSearchEngineType(engine.SearchEngine);
        if ((kind == SE_Google && engine.Interval != 50) ||
            (kind == SE_Bing && engine.Interval != 0) || (kind == SE_Yahoo && engine.Interval != 0))
            line += QLatin1Char('?') + QString::number(engine.Interval, 10);
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

AddWebsiteView::AddWebsiteView(QWidget* parent, PageHub* hub, const WEBSITE* edit)
    : QWidget(parent), m_pHub(hub), m_pEditWebsite(edit)
{
    ui.setupUi(this);

    InitIconInfo();
    Load(QStringLiteral(":/Resources/GoogleAreaDomain.txt"), m_mapGoogleAreaDomain);
    Load(QStringLiteral(":/Resources/GoogleAreaHl.txt"), m_mapGoogleAreaHl);
    Load(QStringLiteral(":/Resources/BingAreaHl.txt"), m_mapBingAreaHl);
    Load(QStringLiteral(":/Resources/BingAreaDomain.txt"), m_mapBingAreaDomain);
    Load(QStringLiteral(":/Resources/YahooAreaDomain.txt"), m_mapYahooAreaDomain);
    ReadCtyLan(m_vecGoogleCtyLan, QStringLiteral(":/Resources/GoogleContryLanguageMap.txt"));
    ReadCtyLan(m_vecBingCtyLan, QStringLiteral(":/Resources/BingContryLanguageMap.txt"));
    ReadCtyLan(m_vecYahooCtyLan, QStringLiteral(":/Resources/YahooContryLanguageMap.txt"));

    m_pSelectedModel = new SelectedebsiteModel(ui.treeView, edit);
    ui.treeView->setModel(m_pSelectedModel);
    m_pGoogleModel = new AddWebsiteModel(ui.treeView_2, &m_mapGoogleAreaDomain, &m_vecGoogleCtyLan,
                                         SE_Google, &m_mapIconInfo, m_pSelectedModel);
    ui.treeView_2->setModel(m_pGoogleModel);
    m_pBingModel = new AddWebsiteModel(ui.treeView_4, &m_mapBingAreaDomain, &m_vecBingCtyLan,
                                       SE_Bing, &m_mapIconInfo, m_pSelectedModel);
    ui.treeView_4->setModel(m_pBingModel);
    m_pYahooModel = new AddWebsiteModel(ui.treeView_3, &m_mapYahooAreaDomain, &m_vecYahooCtyLan,
                                        SE_Yahoo, &m_mapIconInfo, m_pSelectedModel);
    ui.treeView_3->setModel(m_pYahooModel);
    for (QTreeView* view :
         {static_cast<QTreeView*>(ui.treeView_2), static_cast<QTreeView*>(ui.treeView_4),
          static_cast<QTreeView*>(ui.treeView_3), ui.treeView})
        ConfigureTree(view);

    m_nLastTab = 0;

    {
        const QSignalBlocker blocker(ui.cbDayOfMonth);
        for (int day = 1; day <= 28; ++day)
            ui.cbDayOfMonth->addItem(QString::number(day));
    }

    if (isEditMode()) {
        initEditView(*edit);
        ui.btnAddNext->hide();
    } else {
        ui.btnApply->hide();
        ui.tabWidget->setTabText(4, QStringLiteral("Done"));
    }

    {
        const QSignalBlocker blocker(ui.tabWidget);
        ui.tabWidget->setCurrentIndex(0);
    }
    UpdateSchedualEnable();
}

AddWebsiteView::~AddWebsiteView()
{
    // The side panel belongs to the overview page: an edit page that dies while holding it
    // (its dialog closed without the overview being shown again) hands it back first.
    QWidget* panel = Panel();
    if (panel && isAncestorOf(panel))
        m_pHub->TakeBackSidePanel();
    // The models are not children of the page; the views let go of them first.
    ui.treeView->setModel(nullptr);
    ui.treeView_2->setModel(nullptr);
    ui.treeView_4->setModel(nullptr);
    ui.treeView_3->setModel(nullptr);
    delete m_pGoogleModel;
    delete m_pBingModel;
    delete m_pYahooModel;
    delete m_pSelectedModel;
}

PageHub* AddWebsiteView::Hub() const
{
    return m_pHub;
}

AddWebsiteModel* AddWebsiteView::pickModel(EnuSearchEngineType kind) const
{
    switch (kind) {
    case SE_Google:
        return m_pGoogleModel;
    case SE_Bing:
        return m_pBingModel;
    case SE_Yahoo:
        return m_pYahooModel;
    default:
        break;
    }
    return nullptr;
}

void AddWebsiteView::Load(QString path, QMap<QString, QString>& map)
{
    const QStringList lines = ReadResourceLines(path);
    const QRegularExpression separator(QStringLiteral("\\#"));
    for (const QString& line : lines) {
        const QStringList parts = line.split(separator, Qt::KeepEmptyParts);
        if (parts.size() < 2)
            continue;
        map[parts.at(0)] = parts.at(1);
    }
}

void AddWebsiteView::ReadCtyLan(QVector<QPair<QString, QString>>& list, QString path)
{
    const QStringList lines = ReadResourceLines(path);
    for (const QString& line : lines) {
        const QStringList parts = line.split(QLatin1Char('_'), Qt::KeepEmptyParts);
        if (parts.size() < 2)
            continue;
        list.append(qMakePair(parts.first(), parts.last()));
    }
}

void AddWebsiteView::InitIconInfo()
{
    const QStringList lines = ReadResourceLines(QStringLiteral(":/Resources/CountryFlag.txt"));
    const QRegularExpression separator(QStringLiteral("\\#"));
    for (const QString& line : lines) {
        const QStringList parts = line.split(separator, Qt::KeepEmptyParts);
        if (parts.size() < 2)
            continue;
        m_mapIconInfo[parts.first()] = parts.last();
    }
}

QString AddWebsiteView::GetIConUseArea(const QString& country)
{
    return m_mapIconInfo.value(country);
}

bool AddWebsiteView::validateTabPage_0()
{
    const QString text = ui.lineUrl->text().trimmed();
    const QUrl url(text, QUrl::TolerantMode);
    if (text.isEmpty() || !url.isValid()) {
        MessageBoxHook::warning(this, QLatin1String(kTitle), QStringLiteral("Invalid URL."));
        return false;
    }
    const QString website = TrimUrl(text);
    // A scheme or "www." alone would store a website without an address.
    if (website.isEmpty()) {
        MessageBoxHook::warning(this, QLatin1String(kTitle), QStringLiteral("Invalid URL."));
        return false;
    }
    ui.lineUrl->setText(website);

    QStringList others;
    if (PageHub* hub = Hub()) {
        for (const WEBSITE& site : hub->Websites())
            others.append(site.Website);
    }
    if (isEditMode())
        others.removeOne(m_pEditWebsite->Website);
    if (others.contains(website)) {
        MessageBoxHook::warning(this, QLatin1String(kTitle), QLatin1String(kExists));
        return false;
    }
    return true;
}

bool AddWebsiteView::validateTabPage_1()
{
    QStringList keywords =
        ui.edtKeywords->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (keywords.isEmpty()) {
        MessageBoxHook::warning(this, QLatin1String(kTitle),
                                QStringLiteral("Please add a keyword."));
        return false;
    }
    for (QString& keyword : keywords)
        keyword = keyword.trimmed();

    QStringList unique;
    for (const QString& keyword : keywords) {
        if (!unique.contains(keyword))
            unique.append(keyword);
    }
    if (unique.size() == keywords.size())
        return true;

    const int answer = MessageBoxHook::warning(
        this, QLatin1String(kTitle),
        QStringLiteral("The Keyword is repeated. Do you remove duplicated keywords?"),
        MessageBoxHook::Yes | MessageBoxHook::No, MessageBoxHook::Yes);
    if (answer != MessageBoxHook::Yes)
        return false;
    ui.edtKeywords->setPlainText(unique.join(QLatin1Char('\n')));
    return true;
}

bool AddWebsiteView::validateTabPage_2()
{
    if (m_pSelectedModel->rowCount() > 0)
        return true;
    MessageBoxHook::warning(this, QLatin1String(kTitle),
                            QStringLiteral("No search engine selected!"));
    return false;
}

bool AddWebsiteView::validateTabPage()
{
    return validateTabPage_0() && validateTabPage_1() && validateTabPage_2();
}

void AddWebsiteView::initEditView(const WEBSITE& site)
{
    ui.lineUrl->setText(site.Website);
    ui.edtKeywords->setPlainText(site.Keywords.join(QLatin1Char('\n')));

    for (const SEARCH_ENGINE& engine : site.SearchEngines) {
        AddWebsiteModel* model = pickModel(FindSearchEngineType(engine.SearchEngine));
        if (!model)
            continue;
        const QModelIndex found =
            FindModelIndex(model, engine.SearchEngine, engine.Lang, engine.Country);
        if (!found.isValid())
            continue;
        model->setData(found, int(Qt::Checked), Qt::CheckStateRole);
        // The delay goes to the row this engine was placed in; a variant the lists no
        // longer hold takes no row.
        const int position = m_pSelectedModel->PositionOf(model);
        if (position >= 0)
            m_pSelectedModel->setData(m_pSelectedModel->index(position, 3), int(engine.Interval),
                                      Qt::EditRole);
    }

    PageHub* hub = Hub();
    SCHEDUAL* schedual = hub ? FindSchedual(site.Website, hub->Schedules()) : nullptr;
    if (!schedual)
        return;
    ui.checkEnableSchedual->setChecked(true);
    if (schedual->Type == 1) {
        ui.radioDayOfWeek->setChecked(true);
        SetWeekMutliSel(static_cast<unsigned long>(schedual->Days));
    } else if (schedual->Type == 2) {
        ui.radioDayOfMonth->setChecked(true);
        ui.cbDayOfMonth->setCurrentIndex(int(schedual->Days) - 1);
    } else if (schedual->Type == 0) {
        ui.radioEveryDay->setChecked(true);
    }
    if (schedual->StartMode == 0)
        ui.radioStartOnTime->setChecked(true);
    else if (schedual->StartMode == 1)
        ui.radioStartOnRun->setChecked(true);
    ui.timeStart->setTime(schedual->StartTime);
}

QString AddWebsiteView::CombineWebsiteString()
{
    std::vector<SEARCH_ENGINE> engines;
    QAbstractItemModel* model = ui.treeView->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        SEARCH_ENGINE engine;
        engine.SearchEngine = model->index(row, 0).data(Qt::DisplayRole).toString();
        engine.Lang = model->index(row, 2).data(Qt::DisplayRole).toString();
        engine.Country = model->index(row, 1).data(Qt::DisplayRole).toString();
        engine.Interval = model->index(row, 3).data(Qt::DisplayRole).toInt();
        engines.push_back(engine);
    }
    return CombineSearchEnginesString(engines);
}

bool AddWebsiteView::insertWebsiteToDB(QString* error)
{
    PageHub* hub = Hub();
    if (!hub)
        return false;
    QSqlQuery query(hub->GetSqlDb().m_DB);
    // A statement that cannot be prepared keeps the driver's reason only from here.
    if (!query.prepare(QStringLiteral(
            "insert into WEBSITE values(@Website, @CreateTime, @SearchEngines, @Keywords)"))) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    // Bound in the order of the statement's parameters, which is the column order.
    query.addBindValue(ui.lineUrl->text().trimmed());
    query.addBindValue(SqlValue::fromDateTime(QDateTime::currentDateTime()));
    query.addBindValue(CombineWebsiteString());
    query.addBindValue(ui.edtKeywords->toPlainText().trimmed());
    if (query.exec())
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

LTInt64 AddWebsiteView::GetWeekMutliSel()
{
    const QPushButton* buttons[] = {ui.btnW1, ui.btnW2, ui.btnW3, ui.btnW4,
                                    ui.btnW5, ui.btnW6, ui.btnW7};
    LTInt64 mask = 0;
    for (int bit = 0; bit < 7; ++bit) {
        if (buttons[bit]->isChecked())
            mask |= LTInt64(1) << bit;
    }
    return mask;
}

void AddWebsiteView::SetWeekMutliSel(unsigned long mask)
{
    QPushButton* buttons[] = {ui.btnW1, ui.btnW2, ui.btnW3, ui.btnW4, ui.btnW5, ui.btnW6, ui.btnW7};
    for (int bit = 0; bit < 7; ++bit)
        buttons[bit]->setChecked((mask >> bit) & 1UL);
}

void AddWebsiteView::UpdateSchedualEnable()
{
    const bool enabled = ui.checkEnableSchedual->isChecked();
    ui.radioEveryDay->setEnabled(enabled);
    ui.radioDayOfWeek->setEnabled(enabled);
    ui.radioDayOfMonth->setEnabled(enabled);
    const bool week = enabled && ui.radioDayOfWeek->isChecked();
    for (QPushButton* button :
         {ui.btnW1, ui.btnW2, ui.btnW3, ui.btnW4, ui.btnW5, ui.btnW6, ui.btnW7})
        button->setEnabled(week);
    ui.cbDayOfMonth->setEnabled(enabled && ui.radioDayOfMonth->isChecked());
    ui.radioStartOnTime->setEnabled(enabled);
    ui.radioStartOnRun->setEnabled(enabled);
    ui.timeStart->setEnabled(enabled && ui.radioStartOnTime->isChecked());
}

bool AddWebsiteView::GainSchedual(SCHEDUAL& schedual)
{
    if (!ui.checkEnableSchedual->isChecked())
        return false;
    schedual.Website = isEditMode() ? m_pEditWebsite->Website : ui.lineUrl->text().trimmed();
    if (ui.radioEveryDay->isChecked()) {
        schedual.Type = 0;
        schedual.Days = 0;
    } else if (ui.radioDayOfWeek->isChecked()) {
        schedual.Type = 1;
        schedual.Days = quint64(GetWeekMutliSel());
    } else if (ui.radioDayOfMonth->isChecked()) {
        schedual.Type = 2;
        schedual.Days = quint64(ui.cbDayOfMonth->currentIndex() + 1);
    }
    if (ui.radioStartOnTime->isChecked())
        schedual.StartMode = 0;
    else if (ui.radioStartOnRun->isChecked())
        schedual.StartMode = 1;
    const QTime time = ui.timeStart->time();
    schedual.StartTime = QTime(time.hour(), time.minute(), 0);
    return true;
}

bool AddWebsiteView::UpdateOrAddSchedualToDBAndMem(const SCHEDUAL& schedual)
{
    PageHub* hub = Hub();
    if (!hub)
        return false;
    if (SCHEDUAL* found = FindSchedual(schedual.Website, hub->Schedules())) {
        found->Website = schedual.Website;
        found->Type = schedual.Type;
        found->Days = schedual.Days;
        found->StartTime = schedual.StartTime;
        found->StartMode = schedual.StartMode;
        if (hub->GetSqlDb().UpdateSchedual(schedual))
            return true;
        qDebug() << "UpdateSchedual() fail.";
        return false;
    }
    hub->Schedules().push_back(schedual);
    if (hub->GetSqlDb().addSchedual(schedual))
        return true;
    qDebug() << "addSchedual() fail.";
    return false;
}

bool AddWebsiteView::DeleteSchedualInDBAndMem(QString website)
{
    PageHub* hub = Hub();
    if (!hub)
        return false;
    int position = -1;
    if (!FindSchedual(website, hub->Schedules(), &position))
        return true;
    hub->Schedules().erase(hub->Schedules().begin() + position);
    return hub->GetSqlDb().deleteSchedual(website);
}

QWidget* AddWebsiteView::Panel() const
{
    return m_pHub ? m_pHub->GetSidePanel() : nullptr;
}

void AddWebsiteView::setVisible(bool visible)
{
    if (visible) {
        if (QWidget* panel = Panel())
            ui.verticalLayoutLeft->addWidget(panel, 0);
    }
    QWidget::setVisible(visible);
}

void AddWebsiteView::on_btnAddNext_clicked()
{
    const int current = ui.tabWidget->currentIndex();
    switch (current) {
    case 0:
        if (validateTabPage_0())
            ui.tabWidget->setCurrentIndex(1);
        break;
    case 1:
        if (validateTabPage_1())
            ui.tabWidget->setCurrentIndex(2);
        break;
    case 2:
        if (validateTabPage_2())
            ui.tabWidget->setCurrentIndex(3);
        break;
    case 3:
        // The website is stored while the Schedule tab stays shown.
        if (validateTabPage())
            on_tabWidget_currentChanged(4);
        break;
    default:
        break;
    }
}

void AddWebsiteView::on_tabWidget_currentChanged(int index)
{
    if (isEditMode()) {
        if (index == 4) {
            deleteWebsite();
            return;
        }
        m_nLastTab = index;
        return;
    }
    if (index == 4) {
        addWebsite();
        return;
    }
    ui.btnAddNext->setText(index == 3 ? QStringLiteral("Done") : QStringLiteral("Next"));
    m_nLastTab = index;
}

void AddWebsiteView::returnToTab(int index)
{
    ui.tabWidget->setCurrentIndex(index);
}

bool AddWebsiteView::storeInTransaction(const std::function<bool(QString&)>& writes, QString& error)
{
    PageHub* hub = Hub();
    if (!hub)
        return false;
    QSqlDatabase& db = hub->GetSqlDb().m_DB;
    const std::vector<SCHEDUAL> scheduals = hub->Schedules();
    error.clear();
    if (!db.transaction()) {
        error = db.lastError().text();
    } else {
        if (writes(error)) {
            if (db.commit())
                return true;
            error = db.lastError().text();
        }
        db.rollback();
        hub->Schedules() = scheduals;
    }
    // Some failures come without a driver text; the user still learns that nothing was saved.
    if (error.trimmed().isEmpty())
        error = QLatin1String(kSaveFailed);
    return false;
}

void AddWebsiteView::warn(const QString& text)
{
    MessageBoxHook::warning(this, QLatin1String(kTitle), text);
}

// Every warning is shown before anything is posted, and nothing is posted on failure: a
// rebuild (event 1001) running inside a message box's loop would delete this page while
// its slot is still on the stack, and would throw away what the user typed.

void AddWebsiteView::addWebsite()
{
    if (!validateTabPage()) {
        returnToTab(m_nLastTab);
        return;
    }
    PageHub* hub = Hub();
    if (!hub)
        return;
    QString error;
    const bool stored = storeInTransaction(
        [this](QString& failure) {
            if (!insertWebsiteToDB(&failure))
                return false;
            SCHEDUAL schedual;
            return !GainSchedual(schedual) || UpdateOrAddSchedualToDBAndMem(schedual);
        },
        error);
    if (!stored) {
        warn(error);
        returnToTab(m_nLastTab);
        return;
    }
    // The new row is the last website after the rebuild, so the count before it is the
    // index it gets.
    const LTInt64 select = LTInt64(hub->Websites().size());
    m_nLastTab = 4;
    postToMainWindow(select, true);
}

void AddWebsiteView::on_btnApply_clicked()
{
    if (!validateTabPage())
        return;
    PageHub* hub = Hub();
    if (!hub)
        return;
    const QString before = m_pEditWebsite->Website;
    const QString website = ui.lineUrl->text().trimmed();
    QString error;
    const bool stored = storeInTransaction(
        [&](QString& failure) {
            QSqlDatabase& db = hub->GetSqlDb().m_DB;
            const bool renamed = website != before;
            if (renamed) {
                // The URL keys the measurements and the schedule: it must stay unique.
                QSqlQuery taken(db);
                taken.setForwardOnly(true);
                if (!taken.prepare(
                        QStringLiteral("SELECT count(*) FROM Website WHERE Website=?"))) {
                    failure = taken.lastError().text();
                    return false;
                }
                taken.addBindValue(website);
                if (!taken.exec() || !taken.next()) {
                    failure = taken.lastError().text();
                    return false;
                }
                if (taken.value(0).toInt() > 0) {
                    failure = QLatin1String(kExists);
                    return false;
                }
            }
            QSqlQuery query(db);
            if (!query.prepare(QStringLiteral(
                    "update WEBSITE set website=?, searchengines=?, keywords=? WHERE website=?"))) {
                failure = query.lastError().text();
                return false;
            }
            query.addBindValue(website);
            query.addBindValue(CombineWebsiteString());
            query.addBindValue(ui.edtKeywords->toPlainText().trimmed());
            query.addBindValue(before);
            if (!query.exec()) {
                failure = query.lastError().text();
                return false;
            }
            if (query.numRowsAffected() < 1) {
                failure = QLatin1String(kGone);
                return false;
            }
            // The history and the schedule follow the website to its new URL; the
            // schedule's last run day stays with it.
            if (renamed) {
                if (!hub->GetSqlDb().RenameWebsite(before, website, failure))
                    return false;
                if (SCHEDUAL* own = FindSchedual(before, hub->Schedules()))
                    own->Website = website;
            }
            if (!ui.checkEnableSchedual->isChecked())
                return DeleteSchedualInDBAndMem(website);
            SCHEDUAL schedual;
            GainSchedual(schedual);
            schedual.Website = website;
            return UpdateOrAddSchedualToDBAndMem(schedual);
        },
        error);
    if (!stored) {
        warn(error);
        return;
    }
    // The edited website is an element of the hub's list; its position is the website
    // selected in the header bar.
    LTInt64 select = -1;
    for (std::size_t i = 0; i < hub->Websites().size(); ++i) {
        if (&hub->Websites()[i] == m_pEditWebsite) {
            select = LTInt64(i);
            break;
        }
    }
    closeParentDialog();
    postToMainWindow(select, true);
}

void AddWebsiteView::deleteWebsite()
{
    const int answer = MessageBoxHook::warning(
        this, QLatin1String(kTitle),
        QStringLiteral("Are you sure you want to delete this website and its keywords?"),
        MessageBoxHook::Yes | MessageBoxHook::No, MessageBoxHook::NoButton);
    if (answer != MessageBoxHook::Yes) {
        returnToTab(m_nLastTab);
        return;
    }
    PageHub* hub = Hub();
    if (!hub)
        return;
    // The URL identifies the website, as it does for the schedule and the duplicate
    // check. The measurements stay in UpdateFlow.
    const QString website = m_pEditWebsite->Website;
    QString error;
    const bool deleted = storeInTransaction(
        [&](QString& failure) {
            QSqlQuery query(hub->GetSqlDb().m_DB);
            if (!query.prepare(QStringLiteral("DELETE FROM website WHERE Website=?"))) {
                failure = query.lastError().text();
                return false;
            }
            query.addBindValue(website);
            if (!query.exec()) {
                failure = query.lastError().text();
                return false;
            }
            if (query.numRowsAffected() < 1) {
                failure = QLatin1String(kGone);
                return false;
            }
            if (hub->GetSqlDb().deleteSchedual(website))
                return true;
            qDebug() << "deleteSchedual() fail.";
            return false;
        },
        error);
    if (!deleted) {
        warn(error);
        returnToTab(m_nLastTab);
        return;
    }
    m_nLastTab = 4;
    closeParentDialog();
    postToMainWindow(-1, false);
}

void AddWebsiteView::on_btnCancel_clicked()
{
    if (isEditMode()) {
        closeParentDialog();
        return;
    }
    PageHub* hub = Hub();
    if (!hub || hub->Websites().empty())
        return;
    hub->ReturnPreviousPage();
}

void AddWebsiteView::closeParentDialog()
{
    if (QWidget* dialog = parentWidget()) {
        QCloseEvent close;
        QCoreApplication::sendEvent(dialog, &close);
    }
}

void AddWebsiteView::postToMainWindow(LTInt64 select, bool update)
{
    PageHub* hub = Hub();
    QWidget* window = hub ? hub->MainWidget() : nullptr;
    if (!window)
        return;
    QCoreApplication::postEvent(window, new ParamEvent(select));
    if (update)
        QCoreApplication::postEvent(window,
                                    new QEvent(QEvent::Type(EVENT_UpdateSelectedWebsite)));
}

void AddWebsiteView::on_checkEnableSchedual_stateChanged(int)
{
    UpdateSchedualEnable();
}

void AddWebsiteView::on_radioEveryDay_toggled(bool checked)
{
    if (checked)
        UpdateSchedualEnable();
}

void AddWebsiteView::on_radioDayOfWeek_toggled(bool checked)
{
    if (checked)
        UpdateSchedualEnable();
}

void AddWebsiteView::on_radioDayOfMonth_toggled(bool checked)
{
    if (checked)
        UpdateSchedualEnable();
}

void AddWebsiteView::on_radioStartOnTime_toggled(bool checked)
{
    if (checked)
        UpdateSchedualEnable();
}

void AddWebsiteView::on_radioStartOnRun_toggled(bool checked)
{
    if (checked)
        UpdateSchedualEnable();
}
