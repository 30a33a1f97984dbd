#pragma once

#include <QString>
#include <QUrl>

// Whether a result link belongs to a tracked website. Websites and links are compared
// as normalised text: without scheme, "www.", surrounding blanks and one trailing '/'.

QString TrimUrl(QString url);
// True when 'parentHost' is 'host' or one of its parent domains, by whole labels.
bool HostIsParent(const QString& host, const QString& parentHost);
// True when the '/'-separated parts of 'parentPath' are the leading parts of 'path'.
bool PathIsParent(const QString& path, const QString& parentPath);
// True when 'child' lies on the host of 'parent' or below it, under its path, and carries
// all of its query items.
bool UrlIsParent(const QUrl& parent, const QUrl& child);
bool AccurateMatch(const QUrl& a, const QUrl& b);
// A website given as a bare host owns every link on that host and its subdomains; one
// with a path or query owns only the link equal to it.
bool IsIncludeWebsite(const QString& website, const QString& link);
