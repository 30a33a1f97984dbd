#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Result pages shaped like those of the three engines, in the markup the result-page
// patterns read, for the fake engine to serve. Each link of the list becomes one organic
// result, in list order; the page carries a head, scripts, navigation and a footer
// around them, as a real page would.
namespace EnginePages {

// count result links; the one at position (1-based) is siteLink, the others belong to
// other websites. position 0 puts the website nowhere.
QStringList links(int count, int position, const QString& siteLink,
                  const QString& tag = QStringLiteral("r"));

QByteArray google(const QStringList& links);
QByteArray yahoo(const QStringList& links);
// nextHref is the href of the next-page link exactly as written in the page (entities
// included); empty leaves the next-page link out.
QByteArray bing(const QStringList& links, const QString& nextHref);
// A next-page href as the engine writes it, for the given "first" value.
QString bingNextHref(const QString& keyword, const QString& first);

// A page of the engine's layout without any result link (as a block page would be).
QByteArray empty();

} // namespace EnginePages
