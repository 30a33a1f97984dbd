#include "StoreFixture.h"

#include "TestEnvironment.h"

#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace StoreFixture {

void freshHome()
{
    const QString home = TestEnvironment::freshHome();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home + "/.config");
}

bool exec(SqlDb& store, const QString& sql, const QVariantList& binds)
{
    QSqlQuery query(store.m_DB);
    query.prepare(sql);
    for (const QVariant& value : binds)
        query.addBindValue(value);
    return query.exec();
}

QVariantList values(SqlDb& store, const QString& sql, const QVariantList& binds)
{
    QSqlQuery query(store.m_DB);
    query.prepare(sql);
    for (const QVariant& value : binds)
        query.addBindValue(value);
    if (!query.exec())
        return {QStringLiteral("failed: ") + query.lastError().text()};
    QVariantList result;
    while (query.next()) {
        for (int i = 0; i < query.record().count(); ++i)
            result.append(query.value(i));
    }
    return result;
}

bool storeWebsite(const QString& url, const QString& engines, const QString& keywords,
                  const QVariant& created)
{
    SqlDb store;
    return exec(store, "INSERT INTO Website VALUES(?,?,?,?)", {url, created, engines, keywords});
}

void storeWebsites(int count)
{
    for (int i = 0; i < count; ++i)
        storeWebsite(QStringLiteral("site%1.example").arg(i), kGoogleUs, "shoes\nboots");
}

QStringList texts(const MessageBoxWatcher& boxes)
{
    QStringList result;
    for (const MessageBoxHook::Request& box : boxes.boxes())
        result.append(box.text);
    return result;
}

QStringList boxLines(const MessageBoxWatcher& boxes)
{
    static const char* const icons[] = {"NoIcon", "Information", "Warning", "Critical", "Question"};
    QStringList result;
    for (const MessageBoxHook::Request& box : boxes.boxes())
        result.append(QString::fromLatin1(icons[box.icon]) + '|' + box.title + '|' + box.text);
    return result;
}

} // namespace StoreFixture
