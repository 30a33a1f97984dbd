#pragma once

#include <QDate>
#include <QImage>
#include <QString>

// What the keyword page hands to the keyword PDF report.
struct KeywordExportPDF {
    QString Keyword;
    QString Website;      // the URL text as stored
    QDate From;           // first day of the trend chart
    QDate To;             // last day of the trend chart
    QDate CreateDate;     // the website's creation day
    QDate UpdateDate;     // day of the website's newest measurement; null when it has none
    QString SearchEngine; // the page's engine filter text
    QImage ChartImage;    // the trend chart
    QImage TableImage;    // the per-engine table
};
