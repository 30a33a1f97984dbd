#include "EnginePages.h"

#include <QUrl>

namespace {

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QByteArray wrap(const QString& title, const QString& body)
{
    QString page;
    page += QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head>"
                           "<meta charset=\"utf-8\"><title>%1</title>\n")
                .arg(escaped(title));
    page += QStringLiteral("<style>body{font-family:arial,sans-serif}.hd{display:none}</style>\n"
                           "<script>(function(){var w=window;w.dataLayer=w.dataLayer||[];"
                           "for(var i=0;i<8;i++){w.dataLayer.push({k:i});}})();</script>\n"
                           "</head><body>\n<div id=\"nav\"><a href=\"/preferences\">Settings"
                           "</a> <a href=\"/help\">Help</a></div>\n");
    page += body;
    page += QStringLiteral("\n<div id=\"footer\"><span>Privacy</span> <span>Terms</span></div>"
                           "</body></html>\n");
    return page.toUtf8();
}

} // namespace

namespace EnginePages {

QStringList links(int count, int position, const QString& siteLink, const QString& tag)
{
    QStringList list;
    for (int i = 1; i <= count; ++i) {
        if (i == position)
            list << siteLink;
        else
            list << QStringLiteral("https://www.rival%1-%2.example/article/%1").arg(i).arg(tag);
    }
    return list;
}

QByteArray google(const QStringList& links)
{
    QString body = QStringLiteral("<div id=\"main\">\n");
    for (const QString& link : links) {
        const QByteArray encoded = QUrl::toPercentEncoding(link, ":/");
        body += QStringLiteral("<div class=\"Gx5Zad fP1Qef xpd EtOod pkphOe\">"
                               "<div class=\"egMi0 kCrYT\"><a href=\"/url?q=%1&amp;sa=U&amp;"
                               "ved=2ahUKEwi&amp;usg=AOvVaw3\"><h3 class=\"zBAuLc\"><div>"
                               "Result title</div></h3></a></div>"
                               "<div class=\"kCrYT\"><span>A short snippet of the page.</span>"
                               "</div></div>\n")
                    .arg(QString::fromLatin1(encoded));
    }
    body += QStringLiteral("</div>");
    return wrap(QStringLiteral("results"), body);
}

QByteArray yahoo(const QStringList& links)
{
    QString body = QStringLiteral("<div id=\"web\"><ol class=\" reg searchCenterMiddle\">\n");
    for (const QString& link : links) {
        body += QStringLiteral("<li><div class=\"dd algo algo-sr relsrch Sr\">"
                               "<div class=\"compTitle options-toggle\">"
                               "<h3 style=\"display:block;margin-top:24px;\" class=\"title tc\">"
                               "<a class=\"d-ib fz-20 lh-26 td-hu tc va-bot\" href=\"%1\" "
                               "referrerpolicy=\"origin\" target=\"_blank\">Result title</a>"
                               "</h3></div><div class=\"compText aAbs\"><p>A short snippet."
                               "</p></div></div></li>\n")
                    .arg(escaped(link));
    }
    body += QStringLiteral("</ol></div>");
    return wrap(QStringLiteral("results"), body);
}

QByteArray bing(const QStringList& links, const QString& nextHref)
{
    QString body = QStringLiteral("<ol id=\"b_results\">\n");
    for (const QString& link : links) {
        body += QStringLiteral("<li class=\"b_algo\"><div class=\"b_tpcn\"><a class=\"sh_favicon\" "
                               "href=\"%1\" target=\"_blank\"><div class=\"tpic\"></div></a>"
                               "</div><h2><a href=\"%1\" h=\"ID=SERP,5\">Result title</a></h2>"
                               "<div class=\"b_caption\"><p>A short snippet.</p></div></li>\n")
                    .arg(escaped(link));
    }
    body += QStringLiteral("<li class=\"b_pag\"><nav role=\"navigation\"><ul class=\"sb_pagF\">"
                           "<li><a class=\"sb_pagS sb_pagS_bp\">1</a></li>\n");
    if (!nextHref.isEmpty()) {
        body += QStringLiteral("<li><a class=\"sb_pagN sb_pagN_bp b_widePag sb_bp \" "
                               "title=\"Next page\" href=\"%1\" h=\"ID=SERP,5.1\">"
                               "<div class=\"sw_next\">Next</div></a></li>\n")
                    .arg(nextHref);
    }
    body += QStringLiteral("</ul></nav></li></ol>");
    return wrap(QStringLiteral("results"), body);
}

QString bingNextHref(const QString& keyword, const QString& first)
{
    return QStringLiteral("/search?q=%1&amp;filt=all&amp;first=%2&amp;FORM=PERE")
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(keyword)), first);
}

QByteArray empty()
{
    return wrap(QStringLiteral("blocked"),
                QStringLiteral("<div id=\"main\"><p>Our systems have detected unusual traffic."
                               "</p></div>"));
}

} // namespace EnginePages
