#include "RankHub.h"

#include <QFile>

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

namespace {
RankHub* g_current = nullptr;
}

RankHub::~RankHub()
{
    if (g_current == this)
        g_current = nullptr;
}

RankHub* RankHub::Current()
{
    return g_current;
}

void RankHub::SetCurrent(RankHub* hub)
{
    g_current = hub;
}

QStringList RankHub::ReadPatternFile(const QString& path)
{
    // Text mode drops the carriage returns of the CR LF line ends.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringList();
    QByteArray bytes = file.readAll();
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);

    // Labels and patterns alternate, starting with a label; the part after the last line
    // end is empty. Removing positions 0, 1, 2, ... of the shrinking list keeps the
    // patterns.
    QStringList parts = QString::fromLatin1(bytes).split(QLatin1Char('\n'));
    for (int i = 0; i < parts.size(); ++i)
        parts.removeAt(i);
    return parts;
}
