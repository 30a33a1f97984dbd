#!/usr/bin/env python3
"""Writes the embedded per-country text tables into resources/Resources.

The program reads these files byte for byte (UTF-8, CR LF line ends, no line end after
the last line, a byte-order mark on the key#value tables), and stored websites carry the
host names built from them, so once released the values must not change. Run it from the
repository root; it rewrites the files and prints each one's size.
"""
import os
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "Resources")
BOM = b"\xef\xbb\xbf"

# Google: countries in pick-list order, each with its languages.
GOOGLE = [
    ('United States', ['English']),
    ('United Kingdom', ['English']),
    ('Japan', ['English', 'Japanese']),
    ('New Zealand', ['English', 'Maori']),
    ('Poland', ['English', 'Polish']),
    ('Canada', ['English', 'French']),
    ('Australia', ['English']),
    ('Austria', ['German']),
    ('Argentina', ['English', 'Spanish']),
    ('Belgium', ['English', 'Dutch', 'German', 'French']),
    ('Chile', ['English', 'Spanish']),
    ('Denmark', ['English', 'Danish', 'Faroese']),
    ('France', ['English', 'French']),
    ('Germany', ['English', 'German']),
    ('Greece', ['English', 'Greek']),
    ('Hong Kong', ['English', 'Chinese (Traditional)']),
    ('India', ['English']),
    ('Ireland', ['English', 'Irish']),
    ('Italy', ['English', 'Italian']),
    ('Jamaica', ['English']),
    ('Korea', ['English', 'Korean']),
    ('Lebanon', ['English']),
    ('Malaysia', ['English', 'Malay']),
    ('Mexico', ['English', 'Spanish']),
    ('Netherlands', ['English', 'Dutch']),
    ('Norway', ['English', 'Norwegian', 'Norwegian (Nynorsk)']),
    ('Philippines', ['English', 'Filipino']),
    ('Portugal', ['English', 'Portuguese (Portugal)']),
    ('Singapore', ['English']),
    ('Spain', ['English', 'Spanish']),
    ('Taiwan', ['English', 'Chinese (Traditional)']),
    ('Thailand', ['English', 'Thai']),
    ('Turkey', ['English', 'Turkish']),
    ('Vietnam', ['English', 'Vietnamese']),
    ('Bosnian', ['English', 'Bosnian']),
    ('Brazil', ['English', 'Portuguese (Brazil)']),
    ('Dominica', ['English']),
    ('Ghana', ['English', 'Hausa', 'Akan']),
    ('Ivory Coast', ['English', 'French']),
    ('Russia', ['English', 'Russian']),
    ('Venezuela', ['English', 'Spanish']),
    ('Afghanistan', ['English', 'Afrikaans']),
    ('Algeria', ['English', 'French', 'Arabic']),
    ('Angola', ['English', 'Portuguese (Portugal)']),
    ('Anguilla', ['English']),
    ('Antigua and Barbuda', ['English']),
    ('Armenia', ['English', 'Armenian', 'Russian']),
    ('Azerbaijan', ['English', 'Azerbaijani', 'Russian']),
    ('Bahamas', ['English']),
    ('Bahrain', ['English', 'Bihari']),
    ('Bangladesh', ['English', 'Bulgarian']),
    ('Belarus', ['English', 'Belarusian', 'Russian']),
    ('Belize', ['English', 'Spanish']),
    ('Benin', ['English', 'French', 'Yoruba']),
    ('Bolivia', ['English', 'Spanish', 'Quechua']),
    ('Botswana', ['English']),
    ('Brunei', ['English', 'Malay']),
    ('Bulgaria', ['English', 'Bulgarian']),
    ('Burundi', ['English', 'French', 'Swahili', 'Kirundi']),
    ('CentralAfricanRepublic', ['English', 'French']),
    ('Colombia', ['English', 'Spanish']),
    ('Congo', ['English', 'French', 'Swahili', 'Lingala']),
    ('Costa Rica', ['English', 'Spanish']),
    ('Cuba', ['English', 'Spanish']),
    ('Czech Republic', ['English', 'Czech']),
    ('Djibouti', ['English', 'French', 'Arabic', 'Somali']),
    ('Dominican Republic', ['English']),
    ('Ecuador', ['English', 'Spanish']),
    ('Egypt', ['English', 'Arabic']),
    ('El Salvador', ['English', 'Spanish']),
    ('Ethiopia', ['English', 'Amharic', 'Tigrinya', 'Somali', 'Oromo']),
    ('Fiji', ['English']),
    ('Finland', ['English', 'Finnish', 'Swedish']),
    ('Gambia', ['English']),
    ('Georgia', ['English', 'Georgian']),
    ('Gibraltar', ['English', 'Italian', 'Spanish', 'Portuguese (Portugal)']),
    ('Greenland', ['English', 'Danish']),
    ('Guatemala', ['English', 'Spanish']),
    ('Guyana', ['English']),
    ('Haiti', ['English', 'French']),
    ('Honduras', ['English', 'Spanish']),
    ('Hungary', ['English', 'Hungarian']),
    ('Indonesia', ['English', 'Indonesian', 'Javanese']),
    ('Isle of Man', ['English']),
    ('Israel', ['English', 'Arabic', 'Hebrew']),
    ('Jersey', ['English', 'French']),
    ('Jordan', ['English', 'Arabic']),
    ('Kazakhstan', ['English', 'Russian', 'Kazakh']),
    ('Kuwait', ['English', 'Arabic']),
    ('Kyrgyzstan', ['English', 'Russian', 'Kyrgyz']),
    ('Laos', ['English', 'Laothian']),
    ('Latvia', ['English', 'Lithuanian', 'Latvian', 'Russian']),
    ('Libya', ['English']),
    ('Liechtenstein', ['English']),
    ('Lithuania', ['English', 'Lithuanian']),
    ('Luxembourg', ['English']),
    ('Maldives', ['English']),
    ('Malta', ['English']),
    ('Mauritius', ['English']),
    ('Micronesia', ['English']),
    ('Moldova', ['English']),
    ('Montserrat', ['English']),
    ('Morocco', ['English']),
    ('Mozambique', ['English']),
    ('Namibia', ['English']),
    ('Nauru', ['English']),
    ('Nepal', ['English']),
    ('Nicaragua', ['English']),
    ('Nigeria', ['English', 'Hausa', 'Igbo', 'Yoruba']),
    ('Niue', ['English']),
    ('Oman', ['English', 'Arabic']),
    ('Pakistan', ['English', 'Urdu']),
    ('Panama', ['English', 'Spanish']),
    ('Paraguay', ['English', 'Spanish']),
    ('Peru', ['English', 'Spanish', 'Quechua']),
    ('Puerto Rico', ['English', 'Spanish']),
    ('Qatar', ['English', 'Arabic']),
    ('Romania', ['English', 'German', 'Hungarian', 'Romanian']),
    ('Rwanda', ['English', 'French', 'Swahili', 'Kinyarwanda']),
    ('Saint Vincent and the Grenadines', ['English']),
    ('Saint Helena', ['English']),
    ('Samoa', ['English']),
    ('Sao Tome and Principe', ['English', 'Portuguese (Portugal)']),
    ('Saudi Arabia', ['English', 'Arabic']),
    ('Senegal', ['English', 'French']),
    ('Serbia', ['English', 'Serbian']),
    ('Seychelles', ['English', 'French']),
    ('Sierra Leone', ['English']),
    ('Slovakia', ['English', 'Slovak']),
    ('Slovenia', ['English', 'Slovenian']),
    ('Solomon Islands', ['English']),
    ('South Africa', ['English', 'Afrikaans', 'Sesotho', 'Zulu', 'Xhosa']),
    ('Sweden', ['English', 'Swedish']),
    ('Switzerland', ['English', 'French', 'German', 'Italian', 'Romansh']),
    ('Tajikistan', ['English', 'Russian', 'Tajik']),
    ('Tanzania', ['English', 'Swahili']),
    ('Timor Leste', ['English', 'Portuguese (Portugal)']),
    ('Tokelau', ['English']),
    ('Tonga', ['English', 'Tonga']),
    ('Trinidad and Tobago', ['English', 'Hindi', 'Spanish', 'Chinese (Traditional)']),
    ('Turkmenistan', ['English', 'Turkmen', 'Russian', 'Uzbek']),
    ('Uganda', ['English', 'Luganda', 'Swahili']),
    ('Ukraine', ['English', 'Ukrainian', 'Russian']),
    ('Uruguay', ['English', 'Spanish']),
    ('Uzbekistan', ['English', 'Russian', 'Uzbek']),
    ('Vanuatu', ['English', 'French']),
    ('Zambia', ['English']),
    ('Zimbabwe', ['English', 'Shona']),
    ('Croatia', ['English', 'Croatian']),
    ('Montenegro', ['English', 'Bahamas', 'Montenegrin', 'Serbian']),
    ('United Arab Emirates', ['Persian', 'Arabic', 'English', 'Hindi', 'Urdu']),
    ('Iceland', ['Icelandic', 'English']),
    ('Tunisia', ['French', 'Arabic']),
    ('Sri Lanka', ['English', 'Sinhalese', 'Tamil']),
    ('Estonia', ['Estonian', 'Russian']),
    ('Kenya', ['English', 'Swahili']),
]

# Language texts that carry trailing blanks in the Google list; stored websites hold
# them this way, so they stay.
GOOGLE_PADDING = {
    ("Australia", "English"): " ",
    ("Mexico", "English"): " " * 35,
    ("Dominica", "English"): " " * 35,
    ("Hungary", "Hungarian"): " " * 35,
}

YAHOO = ["United States", "United Kingdom", "Japan", "Argentina", "Australia", "Brazil",
         "Canada", "Canada ", "Chile", "Colombia", "Denmark", "Finland", "France", "Germany",
         "Greece", "Hong Kong", "India", "Indonesia", "Ireland", "Italy", "Korea", "Malaysia",
         "Mexico", "Netherlands", "New Zealand", "Norway", "Peru", "Philippines", "Russia",
         "Singapore", "Spain", "Sweden", "Taiwan", "Thailand", "Vietnam"]

# Bing market codes by country; the two Canada rows are keyed by country and language.
BING_MARKETS = [
    ("United States", "en-US"), ("United Kingdom", "en-UK"), ("Argentina", "es-AR"),
    ("Australia", "en-AU"), ("Brazil", "pt-BR"), ("Bulgaria", "bg-BG"),
    ("CanadaEnglish", "en-CA"), ("CanadaFrench", "fr-CA"),
    ("Chile", "es-CL"), ("Czech Republic", "cs-CZ"), ("Denmark", "da-DK"),
    ("Finland", "fi-FI"), ("France", "fr-FR"), ("Germany", "de-DE"), ("Greece", "el-GR"),
    ("Hong Kong", "zh-HK"), ("Hungary", "hu-HU"), ("India", "en-IN"), ("Indonesia", "en-ID"),
    ("Ireland", "en-IE"), ("Israel", "he-IL"), ("Italy", "it-IT"), ("Japan", "ja-JP"),
    ("Korea", "ko-KR"), ("Latvia", "lv-LV"), ("Lithuania", "lt-LT"), ("Malaysia", "en-MY"),
    ("Mexico", "es-MX"), ("Netherlands", "nl-NL"), ("New Zealand", "en-NZ"),
    ("Norway", "nb-NO"), ("China", "zh-CN"), ("Poland", "pl-PL"), ("Portugal", "pt-PT"),
    ("Philippines", "en-PH"), ("Romania", "ro-RO"), ("Russia", "ru-RU"),
    ("Singapore", "en-SG"), ("Slovakia", "sk-SK"), ("Slovenia", "sl-SI"),
    ("South Africa", "en-ZA"), ("Spain", "es-ES"), ("Sweden", "sv-SE"), ("Taiwan", "zh-TW"),
    ("Thailand", "th-TH"), ("Turkey", "tr-TR"), ("Ukraine", "uk-UA"),
]

# First label of the Bing host per country (the host is label + ".bing.com").
BING_DOMAIN_LABEL = {"United States": "www", "United Kingdom": "uk", "Canada": "ca"}

# Bing pick list: the market countries without China, Canada once per language.
BING_LIST_EXCLUDED = {"China"}

# The Google domain suffix of each country: the host is "www.google." + suffix.
GOOGLE_DOMAINS = [
    ("United States","com"),
    ("New Zealand","co.nz"),
    ("United Kingdom","co.uk"),
    ("Japan","co.jp"),
    ("Poland","pl"),
    ("Canada","ca"),
    ("Australia","com.au"),
    ("Argentina","com.ar"),
    ("Austria","at"),
    ("Belgium","be"),
    ("Chile","cl"),
    ("China","cn"),
    ("Denmark","dk"),
    ("France","fr"),
    ("Germany","de"),
    ("Greece","gr"),
    ("Hong Kong","com.hk"),
    ("India","co.in"),
    ("Ireland","ie"),
    ("Italy","it"),
    ("Jamaica","com.jm"),
    ("Korea","co.kr"),
    ("Lebanon","com.lb"),
    ("Malaysia","com.my"),
    ("Mexico","com.mx"),
    ("Netherlands","nl"),
    ("Norway","no"),
    ("Philippines","com.ph"),
    ("Portugal","pt"),
    ("Singapore","com.sg"),
    ("Spain","es"),
    ("Taiwan","com.tw"),
    ("Thailand","co.th"),
    ("Turkey","com.tr"),
    ("Vietnam","com.vn"),
    ("Bosnian","ba"),
    ("Brazil","com.br"),
    ("Dominica","dm"),
    ("Ghana","com.gh"),
    ("Ivory Coast","ci"),
    ("Russia","ru"),
    ("Venezuela","co.ve"),
    ("Afghanistan","com.af"),
    ("Algeria","dz"),
    ("Angola","co.ao"),
    ("Anguilla","com.ai"),
    ("Antigua and Barbuda","com.ag"),
    ("Armenia","am"),
    ("Azerbaijan","az"),
    ("Bahamas","bs"),
    ("Bahrain","com.bh"),
    ("Bangladesh","com.bd"),
    ("Belarus","by"),
    ("Belize","com.bz"),
    ("Benin","bj"),
    ("Bolivia","com.bo"),
    ("Botswana","co.bw"),
    ("Brunei","com.bn"),
    ("Bulgaria","bg"),
    ("Burundi","bi"),
    ("CentralAfricanRepublic","cf"),
    ("Colombia","com.co"),
    ("Congo","cg"),
    ("Costa Rica","co.cr"),
    ("Cuba","com.cu"),
    ("Czech Republic","cz"),
    ("Djibouti","dj"),
    ("Dominican Republic","com.do"),
    ("Ecuador","com.ec"),
    ("Egypt","com.eg"),
    ("El Salvador","com.sv"),
    ("Ethiopia","com.et"),
    ("Fiji","com.fj"),
    ("Finland","fi"),
    ("Gambia","gm"),
    ("Georgia","ge"),
    ("Gibraltar","com.gi"),
    ("Greenland","gl"),
    ("Guatemala","com.gt"),
    ("Guyana","gy"),
    ("Haiti","ht"),
    ("Honduras","hn"),
    ("Hungary","hu"),
    ("Indonesia","co.id"),
    ("Isle of Man","im"),
    ("Israel","co.il"),
    ("Jersey","je"),
    ("Jordan","jo"),
    ("Kazakhstan","kz"),
    ("Kuwait","com.kw"),
    ("Kyrgyzstan","kg"),
    ("Laos","la"),
    ("Latvia","lv"),
    ("Libya","com.ly"),
    ("Liechtenstein","li"),
    ("Lithuania","lt"),
    ("Luxembourg","lu"),
    ("Maldives","mv"),
    ("Malta","com.mt"),
    ("Mauritius","mu"),
    ("Micronesia","fm"),
    ("Moldova","md"),
    ("Montserrat","ms"),
    ("Morocco","co.ma"),
    ("Mozambique","co.mz"),
    ("Namibia","com.na"),
    ("Nauru","com.nr"),
    ("Nepal","com.np"),
    ("Nicaragua","com.ni"),
    ("Nigeria","com.ng"),
    ("Niue","nu"),
    ("Oman","com.om"),
    ("Pakistan","com.pk"),
    ("Panama","com.pa"),
    ("Paraguay","com.py"),
    ("Peru","com.pe"),
    ("Puerto Rico","com.pr"),
    ("Qatar","com.qa"),
    ("Romania","ro"),
    ("Rwanda","rw"),
    ("Saint Vincent and the Grenadines","com.vc"),
    ("Saint Helena","sh"),
    ("Samoa","ws"),
    ("Sao Tome and Principe","st"),
    ("Saudi Arabia","com.sa"),
    ("Senegal","sn"),
    ("Serbia","rs"),
    ("Seychelles","sc"),
    ("Sierra Leone","com.sl"),
    ("Slovakia","sk"),
    ("Slovenia","si"),
    ("Solomon Islands","com.sb"),
    ("South Africa","co.za"),
    ("Switzerland","ch"),
    ("Tajikistan","com.tj"),
    ("Tanzania","co.tz"),
    ("Timor Leste","tl"),
    ("Tokelau","tk"),
    ("Tonga","to"),
    ("Trinidad and Tobago","tt"),
    ("Turkmenistan","tm"),
    ("Uganda","co.ug"),
    ("Ukraine","com.ua"),
    ("Uruguay","com.uy"),
    ("Uzbekistan","co.uz"),
    ("Vanuatu","vu"),
    ("Zambia","co.zm"),
    ("Zimbabwe","co.zw"),
    ("Croatia","hr"),
    ("Montenegro","me"),
    ("United Arab Emirates","ae"),
    ("Sweden","se"),
    ("Iceland","is"),
    ("Tunisia","tn"),
    ("Sri Lanka","lk"),
    ("Estonia","ee"),
    ("Kenya","co.ke"),
]

# Whole host of the country's Yahoo search site.
YAHOO_HOSTS = [
    ("United States", "search.yahoo.com"), ("United Kingdom", "uk.search.yahoo.com"),
    ("Japan", "search.yahoo.co.jp"), ("Argentina", "ar.search.yahoo.com"),
    ("Australia", "au.search.yahoo.com"), ("Brazil", "br.search.yahoo.com"),
    ("Canada", "ca.search.yahoo.com"), ("Canada ", "qc.search.yahoo.com"),
    ("Chile", "cl.search.yahoo.com"), ("China", "search.cn.yahoo.com"),
    ("Colombia", "co.search.yahoo.com"), ("Denmark", "dk.search.yahoo.com"),
    ("Finland", "fi.search.yahoo.com"), ("France", "fr.search.yahoo.com"),
    ("Germany", "de.search.yahoo.com"), ("Greece", "gr.search.yahoo.com"),
    ("Hong Kong", "hk.search.yahoo.com"), ("India", "in.search.yahoo.com"),
    ("Indonesia", "id.search.yahoo.com"), ("Ireland", "uk.search.yahoo.com"),
    ("Italy", "it.search.yahoo.com"), ("Korea", "kr.search.yahoo.com"),
    ("Malaysia", "malaysia.search.yahoo.com"), ("Mexico", "mx.search.yahoo.com"),
    ("Netherlands", "nl.search.yahoo.com"), ("New Zealand", "nz.search.yahoo.com"),
    ("Norway", "no.search.yahoo.com"), ("Peru", "pe.search.yahoo.com"),
    ("Philippines", "ph.search.yahoo.com"), ("Russia", "ru.search.yahoo.com"),
    ("Singapore", "sg.search.yahoo.com"), ("Spain", "es.search.yahoo.com"),
    ("Sweden", "se.search.yahoo.com"), ("Taiwan", "tw.search.yahoo.com"),
    ("Thailand", "th.search.yahoo.com"), ("Vietnam", "vn.search.yahoo.com"),
]

# Google interface languages, in menu order, with their "hl" codes.
GOOGLE_HL = [
    ("English", "en"), ("Afrikaans", "af"), ("Akan", "ak"), ("Japanese", "ja"),
    ("Polish", "pl"), ("Albanian", "sq"), ("Amharic", "am"), ("Spanish", "es"),
    ("German", "de"), ("Arabic", "ar"), ("Chinese(Simplified)", "zh-CN"), ("Danish", "da"),
    ("French", "fr"), ("Greek", "el"), ("Chinese(Traditional)", "zh-TW"), ("Irish", "ga"),
    ("Italian", "it"), ("Armenian", "hy"), ("Azerbaijani", "az"), ("Basque", "eu"),
    ("Belarusian", "be"), ("Bengali", "bn"), ("Bahamas", "bs"), ("Bihari", "bh"),
    ("Bork, bork, bork!", "xx-bork"), ("Bosnian", "bs"), ("Breton", "br"),
    ("Bulgarian", "bg"), ("Cambodian", "km"), ("Taiwan", "zh-tw"), ("Catalan", "ca"),
    ("Corsican", "co"), ("Croatian", "hr"), ("Czech", "cs"), ("Dutch", "nl"),
    ("Elmer Fudd", "xx-elmer"), ("Esperanto", "eo"), ("Estonian", "et"), ("Faroese", "fo"),
    ("Filipino", "tl"), ("Finnish", "fi"), ("Frisian", "fy"), ("Galician", "gl"),
    ("Georgian", "ka"), ("Guarani", "gn"), ("Gujarati", "gu"), ("Hacker", "xx-hacker"),
    ("Hausa", "ha"), ("Hawaiian", "haw"), ("Hebrew", "iw"), ("Hindi", "hi"),
    ("Hungarian", "hu"), ("Icelandic", "is"), ("Igbo", "ig"), ("Indonesian", "id"),
    ("Interlingua", "ia"), ("Javanese", "jw"), ("Kannada", "kn"), ("Kazakh", "kk"),
    ("Kinyarwanda", "rw"), ("Kirundi", "rn"), ("Klingon", "xx-klingon"), ("Korean", "ko"),
    ("Kurdish", "ku"), ("Kyrgyz", "ky"), ("Laothian", "lo"), ("Latin", "la"),
    ("Latvian", "lv"), ("Lingala", "ln"), ("Lithuanian", "lt"), ("Luganda", "lg"),
    ("Macedonian", "mk"), ("Malagasy", "mg"), ("Malay", "ms"), ("Malayalam", "ml"),
    ("Maltese", "mt"), ("Maori", "mi"), ("Marathi", "mr"), ("Mauritian Creole", "mfe"),
    ("Moldavian", "mo"), ("Mongolian", "mn"), ("Montenegrin", "sr-ME"), ("Nepali", "ne"),
    ("Norwegian", "no"), ("Norwegian (Nynorsk)", "nn"), ("Occitan", "oc"), ("Oriya", "or"),
    ("Oromo", "om"), ("Pashto", "ps"), ("Persian", "fa"), ("Pirate", "xx-pirate"),
    ("Portuguese (Brazil)", "pt-BR"), ("Portuguese (Portugal)", "pt-PT"), ("Punjabi", "pa"),
    ("Quechua", "qu"), ("Romanian", "ro"), ("Romansh", "rm"), ("Russian", "ru"),
    ("Scots Gaelic", "gd"), ("Serbian", "sr"), ("Serbo-Croatian", "sh"), ("Sesotho", "st"),
    ("Shona", "sn"), ("Sindh", "sd"), ("Sinhalese", "si"), ("Slovak", "sk"),
    ("Slovenian", "sl"), ("Somali", "so"), ("Sundanese", "su"), ("Swahili", "sw"),
    ("Swedish", "sv"), ("Tajik", "tg"), ("Tamil", "ta"), ("Tatar", "tt"), ("Telugu", "te"),
    ("Thai", "th"), ("Tigrinya", "ti"), ("Tonga", "to"), ("Turkish", "tr"),
    ("Turkmen", "tk"), ("Twi", "tw"), ("Uighur", "ug"), ("Ukrainian", "uk"), ("Urdu", "ur"),
    ("Uzbek", "uz"), ("Vietnamese", "vi"), ("Welsh", "cy"), ("Xhosa", "xh"),
    ("Yiddish", "yi"), ("Yoruba", "yo"), ("Zulu", "zu"),
]

# Flag pictures whose file names keep the country's blanks.
FLAG_NAMES_WITH_BLANKS = {"Saint Vincent and the Grenadines", "Sri Lanka", "United Arab Emirates"}

# The Google result pattern used with a browser user agent.
GOOGLE_AGENT_PATTERN = r'<h3\s+class=\"r\"><a\s+href=\"([^>&\"]+).*\"'

DEFAULT_OPTIONS = [
    ("IsUpdateOnAddFinished", "true"),
    ("Language", "1"),
    ("LaunchLumaTroveOnStartup", "false"),
    ("CheckForVersionUpdateOnLumaTroveSwitch", "false"),
    ("CheckForVersionUpdateOnLumaTroveValue", "Startup"),
    ("DefaultTimeRangeForTrendChart", "7d"),
    ("DefaultSearchEngineForTrendChart", "1"),
    ("LineThicknessForTrendChart", "2"),
    ("DotSizeForTrendChart", "4"),
    ("ColorForSearchEngineGOOGLE", "FF0000"),
    ("ColorForSearchEngineBING", "00FF00"),
    ("ColorForSearchEngineYAHOO", "0000FF"),
    ("CompanyName", "test company.ltd"),
    ("Adress", "abc street"),
    ("Tel", "911"),
    ("Email", "support@brindlecor.example"),
    ("Website", "www.brindlecor.example"),
    ("FacebackURL", "www.facebook.com"),
    ("TwitterURL", "www.twitter.com"),
    ("LinkedInURL", "www.linkedin.com"),
    ("Logo", "C:\\Users\\user\\Desktop\\logo.png"),
    ("DefaultSavePath", "C:\\Users\\user\\Desktop\\"),
    ("UpdateAllWebsiteOnLumaTroveStartup", "false"),
    ("SearchDepthGoogle", "100"),
    ("SearchDepthBing", "100"),
    ("SearchDepthYahoo", "100"),
    ("UpdateDelayIsUseSuggest", "true"),
    ("BetweenEachWebsite", "10s"),
    ("BetweenEachKeyword", "1s"),
    ("DelayXEveryXKeywords", "3s,9"),
    ("ChartAni", "true"),
    ("UseConcurrent", "false"),
]


def flag_file(country):
    if country == "Canada ":
        return "Canada.png"
    if country in FLAG_NAMES_WITH_BLANKS:
        return country + ".png"
    return country.replace(" ", "-") + ".png"


def google_list():
    rows = []
    for country, languages in GOOGLE:
        for language in languages:
            rows.append(country + "_" + language + GOOGLE_PADDING.get((country, language), ""))
    return rows


def bing_countries():
    out = []
    for key, _ in BING_MARKETS:
        if key == "CanadaEnglish":
            out.append(("Canada", "English"))
        elif key == "CanadaFrench":
            out.append(("Canada", "French"))
        elif key not in BING_LIST_EXCLUDED:
            out.append((key, "English"))
    return out


def bing_domains():
    rows = []
    for key, market in BING_MARKETS:
        if key == "CanadaFrench":
            continue
        country = "Canada" if key == "CanadaEnglish" else key
        label = BING_DOMAIN_LABEL.get(country, market[-2:].lower())
        rows.append(country + "#" + label)
    return rows


def country_flags():
    rows = []
    for country, _ in GOOGLE_DOMAINS:
        rows.append(country + "#" + flag_file(country))
        if country == "Canada":
            rows.append("Canada #" + flag_file("Canada "))
    return rows


def write(name, rows, bom):
    data = (BOM if bom else b"") + "\r\n".join(rows).encode("ascii")
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)
    print("%-30s %5d bytes %4d lines" % (name, len(data), len(rows)))


def main():
    write("GoogleContryLanguageMap.txt", google_list(), False)
    write("BingContryLanguageMap.txt", [c + "_" + l for c, l in bing_countries()], False)
    write("YahooContryLanguageMap.txt",
          [c + "_" + ("French" if c == "Canada " else "English") for c in YAHOO], False)
    write("GoogleAreaDomain.txt", [c + "#" + d for c, d in GOOGLE_DOMAINS], True)
    write("GoogleAreaHl.txt", [k + "#" + v for k, v in GOOGLE_HL], True)
    write("BingAreaHl.txt", [k + "#" + v for k, v in BING_MARKETS], True)
    write("BingAreaDomain.txt", bing_domains(), True)
    write("YahooAreaDomain.txt", [c + "#" + h for c, h in YAHOO_HOSTS], True)
    write("CountryFlag.txt", country_flags(), True)
    write("GoogleRegexpWithAgent.txt", [GOOGLE_AGENT_PATTERN], True)
    write("cfg_default.txt", [k + "#" + v for k, v in DEFAULT_OPTIONS], False)


if __name__ == "__main__":
    sys.exit(main())
