#include "Records.h"

EnuSearchEngineType FindSearchEngineType(QString text)
{
    text = text.toLower();
    // The order decides for texts that name more than one engine.
    if (text.contains(QLatin1String("google")))
        return SE_Google;
    if (text.contains(QLatin1String("bing")))
        return SE_Bing;
    if (text.contains(QLatin1String("yahoo")))
        return SE_Yahoo;
    return SE_Other;
}

QString GetSearchEngineName(const QString& text)
{
    switch (FindSearchEngineType(text)) {
    case SE_Google:
        return QStringLiteral("Google");
    case SE_Bing:
        return QStringLiteral("Bing");
    case SE_Yahoo:
        return QStringLiteral("Yahoo");
    case SE_Other:
        break;
    }
    return QLatin1String("");
}

int GetSearchEngineDefaultInterval(EnuSearchEngineType kind)
{
    switch (kind) {
    case SE_Bing:
    case SE_Yahoo:
        return 0;
    default:
        return 50;
    }
}
