#pragma once

#include <QDate>
#include <QImage>
#include <QString>

// What the overview page hands to the website PDF report: the dates and counts of the
// header and the two pictures the page rendered.
struct WebsiteExportPDF {
    QDate ReportDate; // today
    QDate CreateDate; // the website's creation day
    QDate UpdateDate; // day of its newest measurement; null when it has none
    int KeywordCount = 0;
    QString Website;   // the URL text as stored
    QImage ChartImage; // pies and bars
    QImage TableImage; // the keyword table
};
