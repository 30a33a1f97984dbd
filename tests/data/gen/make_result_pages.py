#!/usr/bin/env python3
"""Writes the result-page fixtures of tests/data/pages and their expected readings.

Every page is described below as a list of results written by hand: what kind of link
each result is and, for links of the website, whether extraction keeps it and whether it
belongs to the website. The page's markup and its expected list of (position, link) both
follow from that description; nothing here runs the program.

Run from anywhere:  python3 tests/data/gen/make_result_pages.py
"""

import os
import random
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), "pages")


# --- What a result is -------------------------------------------------------------------

class Organic:
    """A link to some website. `kept`: extraction keeps it for the website (it holds the
    site string and passes the dot and first-section rules). `owned`: it belongs to the
    website in the sense of website matching."""

    def __init__(self, link, kept=False, owned=False, title="A result"):
        self.link, self.kept, self.owned, self.title = link, kept, owned, title


class Internal:
    """A link into the engine itself (maps, images, products). Takes a position only when
    it holds the site string."""

    def __init__(self, link, holds_site=False):
        self.link, self.holds_site = link, holds_site


class News:
    """A news sub-search link: takes no position."""

    def __init__(self, link):
        self.link = link


class SubSearch:
    """A sub-search link without a known kind: takes a position, adds nothing."""

    def __init__(self, link):
        self.link = link


class Places:
    """A places sub-search link: its position is given to every places block of the page
    whose link holds the site string."""

    def __init__(self, link):
        self.link = link


class Video:
    def __init__(self, link):
        self.link = link


class Block:
    """A places or video block somewhere on the page. `raw` is the href as written in the
    page; entries carry it unchanged. `holds`: the href holds the site string."""

    def __init__(self, kind, raw, holds=False, owned=False, title="Block"):
        self.kind, self.raw, self.holds, self.owned, self.title = kind, raw, holds, owned, title


# --- Markup ----------------------------------------------------------------------------

WORDS = ("lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor "
         "incididunt ut labore et dolore magna aliqua enim ad minim veniam quis nostrud "
         "exercitation ullamco laboris nisi aliquip ex ea commodo consequat").split()


def words(rnd, n):
    return " ".join(rnd.choice(WORDS) for _ in range(n))


def token(rnd, n=12):
    return "".join(rnd.choice("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-")
                   for _ in range(n))


def encode(link, amp_as_entity, raw_unicode=False):
    """The href text of a link: percent-encoded UTF-8 for anything unsafe, or non-ASCII
    letters as they are (in the page's charset) with `raw_unicode`. The link pattern of
    Google and Yahoo ends at '&', so there an ampersand is percent-encoded; Bing's ends
    only at a quote, so there it is written as the entity."""
    safe = ":/?=;,@!$'()*+-._~%#" + ("&" if amp_as_entity else "")
    text = "".join(c if raw_unicode and ord(c) > 127 else urllib.parse.quote(c, safe=safe)
                   for c in link)
    return text.replace("&", "&amp;") if amp_as_entity else text


def script_bulk(rnd, size):
    """Inline script text without '<' that no pattern can match."""
    parts = []
    total = 0
    while total < size:
        name = token(rnd, 6)
        body = ";".join("var %s=%d;this.%s=function(a,b){return a*%d+b}" % (
            token(rnd, 5), rnd.randint(0, 99999), token(rnd, 7), rnd.randint(1, 9))
            for _ in range(8))
        part = "(function %s(){%s;window.%s={k:'%s',v:[%s]}})();\n" % (
            name, body, name, token(rnd, 30),
            ",".join(str(rnd.randint(0, 999)) for _ in range(20)))
        parts.append(part)
        total += len(part)
    return "".join(parts)


def style_bulk(rnd, size):
    parts = []
    total = 0
    while total < size:
        part = ".%s{margin:%dpx;padding:0 %dpx;color:#%06x;font:%dpx arial,sans-serif}\n" % (
            token(rnd, 6), rnd.randint(0, 40), rnd.randint(0, 40), rnd.randint(0, 0xffffff),
            rnd.randint(10, 20))
        parts.append(part)
        total += len(part)
    return "".join(parts)


def google_result(layout, href, title, rnd, snippet):
    ved = token(rnd, 22)
    if layout == 9:
        return ('<div class="Gx5Zad fP1Qef xpd EtOod pkphOe"><div class="egMi0 kCrYT">'
                '<a href="/url?q=%s&amp;sa=U&amp;ved=%s&amp;usg=%s"><div class="DnJfK">'
                '<div class="j039Wc"><h3 class="zBAuLc l97dzf"><div class="BNeawe vvjwJb '
                'AP7Wnd">%s</div></h3></div></div></a></div><div class="kCrYT"><div><div '
                'class="BNeawe s3v9rd AP7Wnd">%s</div></div></div></div>\n'
                % (href, ved, token(rnd, 28), title, snippet))
    if layout == 6:
        return ('<div class="ZINbbc xpd O9g5cc uUPGi"><div class="kCrYT"><a href="/url?q=%s'
                '&amp;sa=U&amp;ved=%s&amp;usg=%s"><div class="BNeawe vvjwJb AP7Wnd">%s</div>'
                '</a></div><div class="kCrYT"><div><div class="BNeawe s3v9rd AP7Wnd">%s</div>'
                '</div></div></div>\n' % (href, ved, token(rnd, 28), title, snippet))
    if layout == 5:
        return ('<div class="g"><div class="rc"><div class="r"><a href="%s" ping="/url?sa=t'
                '&amp;source=web&amp;rct=j&amp;ved=%s"><h3 class="LC20lb">%s</h3></a></div>'
                '<div class="s"><span class="st">%s</span></div></div></div>\n'
                % (href, ved, title, snippet))
    if layout == 4:
        return ('<div class="g"><h3 class="r"><a href="/url?q=%s&amp;sa=U&amp;ved=%s&amp;'
                'usg=%s">%s</a></h3><div class="s"><span class="st">%s</span></div></div>\n'
                % (href, ved, token(rnd, 28), title, snippet))
    if layout == 3:
        return ('<li class="g"><h3 class="r"><a href="%s" onmousedown="return rwt(this,\'\','
                '\'\',\'\',\'1\',\'%s\',\'\',\'0CDAQFjAA\')">%s</a></h3><div class="s">'
                '<span class="st">%s</span></div></li>\n' % (href, token(rnd, 10), title, snippet))
    raise ValueError(layout)


def yahoo_result(layout, href, title, rnd, snippet, n):
    if layout == 10:
        return ('<li class="first"><div class="dd algo algo-sr relsrch Sr"><div class="compTitle '
                'options-toggle"><h3 class="title"><a class=" ac-algo fz-l ac-21th lh-24" '
                'href="%s" referrerpolicy="origin" target="_blank" data-%s="%s">%s</a></h3>'
                '</div><div class="compText aAbs"><p class="fz-ms lh-1_43x">%s</p></div></div>'
                '</li>\n' % (href, token(rnd, 3).lower(), token(rnd, 5), title, snippet))
    if layout == 2:
        # Forty characters of attributes before the heading's '>': too many for the first
        # choice, few enough for the second.
        return ('<li><div class="dd algo"><h3 class="title" data-pos="%02d" data-section="web-'
                'results"><a class=" ac-algo fz-l" href="%s" target="_blank">%s</a></h3><p '
                'class="lh-16">%s</p></div></li>\n' % (n, href, title, snippet))
    raise ValueError(layout)


def bing_result(layout, href, title, rnd, snippet):
    ident = rnd.randint(5000, 5999)
    if layout == 8:
        return ('<li class="b_algo"><div class="b_title"><a class="sh_favicon" href="%s" '
                'target="_blank" h="ID=SERP,%d.1"><div class="sh_favicon_img"><img src="data:'
                'image/png;base64,iVBORw0K" alt="Global web icon"/></div></a><h2><a href="%s" '
                'h="ID=SERP,%d.2">%s</a></h2></div><div class="b_caption"><p>%s</p></div></li>\n'
                % (href, ident, href, ident, title, snippet))
    if layout == 7:
        return ('<li class="b_algo"><div class="b_title"><h2><a href="%s" h="ID=SERP,%d.1">%s'
                '</a></h2><div class="b_attribution"><cite>%s</cite></div></div><div '
                'class="b_caption"><p>%s</p></div></li>\n'
                % (href, ident, title, href.split("//")[-1][:40], snippet))
    raise ValueError(layout)


def block_markup(block, rnd):
    if block.kind == "places":
        return ('<div class="VkpGBb"><h4 class="r"><a href="%s" data-ved="%s">%s</a></h4>'
                '<span class="rllt__details">%s</span></div>\n'
                % (block.raw, token(rnd, 16), block.title, words(rnd, 6)))
    return ('<div class=vresult><div class="thumb"><img src="data:image/gif;base64,R0lGOD" '
            'alt=""></div><a href="%s" class="vl">%s</a><span class="f">%s</span></div>\n'
            % (block.raw, block.title, words(rnd, 5)))


NAV = {
    "google": ('<div id="gbar"><nobr><b class="gb1">Search</b> <a class="gb1" href="http://'
               'www.google.com/imghp?hl=en&amp;tab=wi">Images</a> <a class="gb1" href="http://'
               'maps.google.com/maps?hl=en&amp;tab=wl">Maps</a> <a class="gb1" href="https://'
               'news.google.com/nwshp?hl=en&amp;tab=wn">News</a></nobr></div>\n'),
    "yahoo": ('<div id="ys-nav"><ul><li><a href="https://search.yahoo.com/search?p=q">Web</a>'
              '</li><li><a href="https://images.search.yahoo.com/search/images?p=q">Images</a>'
              '</li><li><a href="https://video.search.yahoo.com/search/video?p=q">Video</a>'
              '</li></ul></div>\n'),
    "bing": ('<header id="b_header"><nav><ul class="b_scopebar"><li class="b_active"><a href="/'
             '?scope=web">All</a></li><li><a href="/images/search?q=q&amp;FORM=HDRSC2">Images'
             '</a></li><li><a href="/videos/search?q=q">Videos</a></li></ul></nav></header>\n'),
}

ADS = {
    "google": ('<div id="tads"><div class="uEierd"><a href="https://www.googleadservices.com/'
               'pagead/aclk?sa=L&amp;ai=DChcSEwi&amp;adurl=" data-rw="x">Sponsored: shop now'
               '</a><div class="MUxGbd">Ad - example-ads.test</div></div></div>\n'),
    "yahoo": ('<ol class="searchCenterTopAds"><li><div class="ads"><a href="https://r.search.'
              'yahoo.com/cbclk2/dWU9MTU;_ylc=X3oDMTI" class="ad-title">Sponsored result</a>'
              '</div></li></ol>\n'),
    "bing": ('<li class="b_ad"><ul><li><div class="sb_add sb_adTA"><h2><a href="https://www.'
             'bing.com/aclick?ld=e8x&amp;u=aHR0c" h="ID=SERP,5001.1">Ad: Shop online</a></h2>'
             '</div></li></ul></li>\n'),
}

PAGINATION = {
    "google": ('<table id="nav"><tr><td><b>1</b></td><td><a href="/search?q=q&amp;start=10">2'
               '</a></td><td><a href="/search?q=q&amp;start=20">3</a></td><td><a href="/search'
               '?q=q&amp;start=10" style="text-align:left"><span>Next</span></a></td></tr>'
               '</table>\n'),
    "yahoo": ('<div class="compPagination"><strong>1</strong><a href="https://search.yahoo.com'
              '/search;_ylt=Awr?p=q&amp;b=11">2</a><a class="next" id="pg-next-x" href="https://'
              'search.yahoo.com/search;_ylt=Awr?p=q&amp;b=11">Next</a></div>\n'),
    "bing": ('<li class="b_pag"><nav><ul class="sb_pagF"><li><a class="sb_pagS">1</a></li><li>'
             '<a href="/search?q=q&amp;first=11&amp;FORM=PERE" h="ID=SERP,5300.1">2</a></li>'
             '<li><a class="sb_pagN sb_pagN_bp b_widePag sb_bp " title="Next page" href="/search'
             '?q=q&amp;first=11&amp;FORM=PORE" h="ID=SERP,5301.1"><div class="sw_next">Next'
             '</div></a></li></ul></nav></li>\n'),
}


def make_page(page_def):
    """Returns (page text, expected entries, expected found)."""
    rnd = random.Random(page_def["name"])
    engine = page_def["engine"]
    layout = page_def.get("layout")
    results = page_def["results"]
    blocks = page_def.get("blocks", [])
    charset = page_def["charset"]
    text_sample = page_def.get("text", "")

    body = []
    entries = []
    position = 0
    places_hits = [b for b in blocks if b.kind == "places" and b.holds]
    video_hits = [b for b in blocks if b.kind == "video" and b.holds]
    owners = []  # entries that belong to the website, in list order

    for n, result in enumerate(results, 1):
        link = result.link
        title = getattr(result, "title", "Result %d" % n)
        snippet = "%s %s." % (text_sample, words(rnd, 28))
        if engine == "google":
            href = encode(link, False, page_def.get("raw_unicode", False))
            body.append(google_result(layout, href, title, rnd, snippet))
            if layout in (9, 6, 5):
                # Result blocks of newer layouts carry sitelinks that no pattern reads.
                body.append('<div class="sitelinks"><a class="fl" href="/url?q=%s&amp;sa=U">'
                            'More</a> - <a class="fl" href="%s">About</a></div>\n'
                            % (href, href))
        elif engine == "yahoo":
            body.append(yahoo_result(layout, encode(link, False), title, rnd, snippet, n))
        else:
            body.append(bing_result(layout, encode(link, True, page_def.get("raw_unicode", False)),
                                    title, rnd, snippet))

        if isinstance(result, Organic):
            position += 1
            if result.kept:
                entries.append((position, link))
                if result.owned:
                    owners.append((position, link))
        elif isinstance(result, Internal):
            if result.holds_site:
                position += 1
        elif isinstance(result, News):
            pass
        elif isinstance(result, SubSearch):
            position += 1
        elif isinstance(result, (Places, Video)):
            position += 1
            hits = places_hits if isinstance(result, Places) else video_hits
            for block in hits:
                entries.append((position, block.raw))
                if block.owned:
                    owners.append((position, block.raw))
        else:
            raise TypeError(result)

        # The page's places and video blocks follow the second result.
        if n == 2:
            body.extend(block_markup(b, rnd) for b in blocks)
    if len(results) < 2:
        body.extend(block_markup(b, rnd) for b in blocks)

    head_meta = ""
    if page_def.get("meta", True):
        head_meta = '<meta http-equiv="Content-Type" content="text/html; charset=%s">' % charset
    head = ('<!DOCTYPE html><html lang="%s"><head>%s<title>%s - Search</title><style>%s</style>'
            '<script nonce="%s">%s</script></head>\n<body>\n'
            % (page_def.get("lang", "en"), head_meta, page_def.get("query", "q"),
               style_bulk(rnd, 12000), token(rnd, 22), script_bulk(rnd, page_def["script"])))
    family = engine
    page = (head + NAV[family] + ADS[family] + page_def.get("before", "") +
            '<div id="main"><div id="results">\n' + "".join(body) + page_def.get("after", "") +
            "</div></div>\n" + PAGINATION[family] +
            '<footer><a href="/preferences?hl=en">Settings</a> <a href="/policies">Privacy</a>'
            '</footer>\n<script>' + script_bulk(rnd, 9000) + "</script></body></html>\n")

    result_type = 4 if position == 0 else 2
    found = owners[0] if owners else None
    return page, entries, result_type, found


# --- The pages -------------------------------------------------------------------------

SITE = "alpha.test"

PAGES = [
    dict(name="google-result5-utf8", engine="google", layout=9, pattern=9, charset="utf-8",
         website="www.alpha.test", query="stra\u00dfe caf\u00e9", script=150000,
         text="Gr\u00fc\u00dfe aus M\u00fcnchen",
         results=[
             Organic("https://www.wikipedia.test/wiki/Stra\u00dfe"),
             Organic("https://beta.test/a?x=1&y=2"),
             Internal("http://maps.google.com/maps?q=stra%C3%9Fe&hl=en"),
             Places("http://www.google.com/search?q=caf\u00e9+near+me&tbs=plcs"),
             Organic("https://shop.alpha.test/stra\u00dfe/caf\u00e9", kept=True, owned=True),
             News("http://www.google.com/search?q=stra\u00dfe&tbs=nws"),
             Organic("http://www.alpha.test/", kept=True, owned=True),
             Organic("http://alpha.test.mirror.test/", title="Mirror"),
             Organic("http://gamma.test/alpha.test/review"),
             Organic("https://delta.test/"),
         ],
         blocks=[Block("places", "http://maps.alpha.test/?cid=12&amp;hl=en", holds=True,
                       owned=True, title="Alpha Caf\u00e9"),
                 Block("places", "http://beta.test/place", title="Beta"),
                 Block("places", "https://www.alpha.test/locations/m%C3%BCnchen", holds=True,
                       owned=True, title="Alpha M\u00fcnchen")]),
    dict(name="google-result4-latin1", engine="google", layout=6, pattern=6,
         charset="ISO-8859-1", website="alpha.test/menu", query="caf\u00e9 menu",
         script=120000, text="Le caf\u00e9 \u00e0 c\u00f4t\u00e9",
         results=[
             Organic("http://beta.test/"),
             Organic("http://alpha.test/"),  # lacks the website's path
             Organic("http://alpha.test/menu.html"),
             Video("http://www.google.com/search?q=cafe&tbs=vid:1"),
             Organic("http://alpha.test/menu", kept=True, owned=True),
             Organic("https://alpha.test/menu/", kept=True, owned=True),
         ],
         blocks=[Block("video", "http://www.videos.test/watch?v=alpha.test/menu", holds=True),
                 Block("video", "http://video.test/v/123")]),
    dict(name="google-result3-cp1251", engine="google", layout=5, pattern=5,
         charset="windows-1251", raw_unicode=True, website="https://alpha.test", query="\u043a\u0430\u0442"
         "\u0430\u043b\u043e\u0433", lang="ru", script=170000,
         text="\u041f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440",
         results=[
             Organic("http://beta.test/\u043a\u0430\u0442\u0430\u043b\u043e\u0433"),
             SubSearch("http://www.google.com/search?q=\u043a\u0430\u0442\u0430\u043b\u043e\u0433"),
             Internal("http://www.google.com/images?hl=ru&q=x"),
             Internal("http://www.google.ru/products?q=alpha.test", holds_site=True),
             Organic("http://alpha.test/\u043a\u0430\u0442\u0430\u043b\u043e\u0433", kept=True,
                     owned=True),
             Organic("http://www.alpha.test/contact", kept=True, owned=True),
         ]),
    dict(name="google-result2-sjis", engine="google", layout=4, pattern=4, charset="shift_jis",
         website="alpha.test", query="\u691c\u7d22", lang="ja", script=90000,
         text="\u3053\u3093\u306b\u3061\u306f\u4e16\u754c",
         results=[
             Organic("http://beta.test/\u30c6\u30b9\u30c8"),
             Organic("http://gamma.test/"),
             Internal("http://images.google.com/images?q=alpha.test", holds_site=True),
             Organic("http://betaalpha.test/", kept=True, title="Longer host"),
             Organic("http://alpha.test/\u30da\u30fc\u30b8?q=1&lang=ja", kept=True, owned=True),
         ]),
    dict(name="google-result1-nometa", engine="google", layout=3, pattern=3,
         charset="iso-8859-1", meta=False, website="alpha.test", script=110000,
         text="R\u00e9sum\u00e9 na\u00efve",
         results=[
             Organic("http://beta.test/"),
             Organic("http://gamma.test/r\u00e9sum\u00e9"),
             Organic("http://delta.test/"),
             Organic("http://epsilon.test/"),
             News("http://www.google.com/search?q=x&tbs=nws"),
             Organic("http://zeta.test/"),
             Organic("http://eta.test/"),
             Organic("http://theta.test/"),
             Organic("http://iota.test/"),
             Organic("http://kappa.test/"),
         ]),
    dict(name="google-fallback-third", engine="google", layout=5, pattern=5, charset="utf-8",
         website="alpha.test", script=140000,
         # The newest layout's first block has no scheme, so its pattern is passed over.
         before=('<div class="Gx5Zad xpd"><div class="egMi0 kCrYT"><a href="/url?q=/search%3F'
                 'q%3Drelated&amp;sa=U">People also search</a></div></div>\n'),
         results=[
             Organic("https://beta.test/"),
             Organic("https://blog.alpha.test/post", kept=True, owned=True),
         ]),
    dict(name="google-fallback-none", engine="google", layout=None, pattern=None,
         charset="utf-8", website="alpha.test", script=160000,
         after=('<div class="g"><div class="yuRUbf"><a href="https://alpha.test/" data-ved="x">'
                '<h3 class="LC20lb">Alpha</h3></a></div></div>\n'
                '<div class="g"><h3 class="r"><a href="/search?q=alpha">Alpha</a></h3></div>\n'),
         results=[]),
    dict(name="google-noresults", engine="google", layout=None, pattern=None,
         charset="utf-8", website="alpha.test", script=100000,
         after=('<div class="card-section"><p>Your search - <em>zxqv</em> - did not match any '
                'documents.</p><ul><li>Make sure all words are spelled correctly.</li></ul>'
                '</div>\n'),
         results=[]),
    dict(name="yahoo-result2-utf8", engine="yahoo", layout=10, pattern=10, charset="utf-8",
         website="Alpha.Test/Shop", script=150000, text="Yahoo results",
         results=[
             Organic("https://beta.test/"),
             Organic("https://r.search.yahoo.test/_ylt=A;_ylu=B/RV=2/RE=1/RO=10/RU=https://"
                     "alpha.test/Shop/RK=2"),
             Organic("https://alpha.test/Shop/item", kept=True),  # a page below the website
             Organic("https://www.alpha.test/Shop", kept=True, owned=True),
             Organic("https://alpha.test/shop", kept=True, owned=True),
         ]),
    dict(name="yahoo-result1-eucjp", engine="yahoo", layout=2, pattern=2, charset="euc-jp",
         website="alpha.test", lang="ja", script=100000,
         text="\u691c\u7d22\u7d50\u679c\u3067\u3059",
         results=[
             Organic("https://beta.test/"),
             Organic("https://gamma.test/"),
             Organic("https://alpha.test.example/", title="Dot rule"),
             Organic("https://www.alpha.test/\u30ab\u30fc\u30c8", kept=True, owned=True),
         ]),
    dict(name="yahoo-noresults", engine="yahoo", layout=None, pattern=None, charset="utf-8",
         website="alpha.test", script=120000,
         after=('<div class="compNoResult"><p>We did not find results for: <b>zxqv</b>.</p>'
                '</div>\n'),
         results=[]),
    dict(name="bing-result2-bom", engine="bing", layout=8, pattern=8, charset="utf-8",
         bom=True, meta=False, website="alpha.test", script=160000,
         text="\u00dcbersicht",
         results=[
             Organic("https://www.beta.test/path?a=1&b=2"),
             Organic("https://alpha.test/page?id=7&ref=bing", kept=True, owned=True),
             Organic("https://ALPHA.test/Upper", kept=True, owned=True),
             Organic("https://beta.test/?u=alpha.test"),
         ]),
    dict(name="bing-result1-gbk", engine="bing", layout=7, pattern=7, charset="gbk",
         raw_unicode=True,
         website="blog.alpha.test", lang="zh", script=120000,
         text="\u641c\u7d22\u7ed3\u679c",
         results=[
             Organic("https://beta.test/\u4e2d\u6587"),
             Organic("https://alpha.test/", title="Parent host"),
             Organic("https://blog.alpha.test/\u6587\u7ae0", kept=True, owned=True),
         ]),
    dict(name="bing-noresults", engine="bing", layout=None, pattern=None, charset="utf-8",
         website="alpha.test", script=110000,
         after=('<li class="b_no"><h1>There are no results for <strong>zxqv</strong></h1><ul>'
                '<li>Check your spelling or try different keywords</li></ul></li>\n'),
         results=[]),
]


def main():
    os.makedirs(OUT, exist_ok=True)
    for page_def in PAGES:
        page, entries, result_type, found = make_page(page_def)
        data = page.encode(page_def["charset"])
        if page_def.get("bom"):
            data = b"\xef\xbb\xbf" + data
        assert 100 * 1024 <= len(data) <= 250 * 1024, (page_def["name"], len(data))
        with open(os.path.join(OUT, page_def["name"] + ".html"), "wb") as f:
            f.write(data)
        lines = ["# Written by tests/data/gen/make_result_pages.py; do not edit.",
                 "engine %s" % page_def["engine"],
                 "website %s" % page_def["website"],
                 "pattern %s" % ("fallback" if page_def["pattern"] is None else page_def["pattern"]),
                 "result %d" % result_type]
        if found:
            lines.append("found %d %s" % found)
        else:
            lines.append("found none")
        lines.extend("entry %d %s" % e for e in entries)
        with open(os.path.join(OUT, page_def["name"] + ".expected"), "w", encoding="utf-8",
                  newline="\n") as f:
            f.write("\n".join(lines) + "\n")
        print("%-28s %7d bytes  %2d entries" % (page_def["name"], len(data), len(entries)))


if __name__ == "__main__":
    main()
