#include "LocaleLookup.h"
#include "LocaleLookup_p.h"
#include "SearchQuery.h"

#include <QCoreApplication>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <QtDebug>

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

// The tables are private to this unit; start-up constructs them empty and the lookups
// fill them before their first read.
QMap<QString, QString> g_mapTabIndexForEngine;
QMap<QString, QString> g_mapDomainForLang;
QMap<QString, QString> g_mapGooleLrForLang;
QMap<QString, QString> g_mapGoogleGlForArea;
QMap<QString, QString> g_mapGoogleHlForLang;
QMap<QString, QString> g_mapDomainForBing;
QMap<QString, QString> g_mapAreaForBing;

using Row = std::pair<const char*, const char*>;

template <std::size_t N> void refill(QMap<QString, QString>& table, const Row (&rows)[N])
{
    table = QMap<QString, QString>();
    for (const Row& row : rows)
        table.insert(QString::fromLatin1(row.first), QString::fromLatin1(row.second));
}

// The rows of the seven tables, in the order they are inserted.

const Row kGoogleHlRows[] = {
    {"English", "en"},
    {"Afrikaans", "af"},
    {"Akan", "ak"},
    {"Japanese", "ja"},
    {"Polish", "pl"},
    {"Albanian", "sq"},
    {"Amharic", "am"},
    {"Spanish", "es"},
    {"German", "de"},
    {"Arabic", "ar"},
    {"Chinese(Simplified)", "zh-CN"},
    {"Danish", "da"},
    {"French", "fr"},
    {"Greek", "el"},
    {"Chinese(Traditional)", "zh-TW"},
    {"Irish", "ga"},
    {"Italian", "it"},
    {"Armenian", "hy"},
    {"Azerbaijani", "az"},
    {"Basque", "eu"},
    {"Belarusian", "be"},
    {"Bengali", "bn"},
    {"Bahamas", "bs"},
    {"Bihari", "bh"},
    {"Bork, bork, bork!", "xx-bork"},
    {"Bosnian", "bs"},
    {"Breton", "br"},
    {"Bulgarian", "bg"},
    {"Cambodian", "km"},
    {"Taiwan", "zh-tw"},
    {"Catalan", "ca"},
    {"Corsican", "co"},
    {"Croatian", "hr"},
    {"Czech", "cs"},
    {"Dutch", "nl"},
    {"Elmer Fudd", "xx-elmer"},
    {"Esperanto", "eo"},
    {"Estonian", "et"},
    {"Faroese", "fo"},
    {"Filipino", "tl"},
    {"Finnish", "fi"},
    {"Frisian", "fy"},
    {"Galician", "gl"},
    {"Georgian", "ka"},
    {"Guarani", "gn"},
    {"Gujarati", "gu"},
    {"Hacker", "xx-hacker"},
    {"Hausa", "ha"},
    {"Hawaiian", "haw"},
    {"Hebrew", "iw"},
    {"Hindi", "hi"},
    {"Hungarian", "hu"},
    {"Icelandic", "is"},
    {"Igbo", "ig"},
    {"Indonesian", "id"},
    {"Interlingua", "ia"},
    {"Javanese", "jw"},
    {"Kannada", "kn"},
    {"Kazakh", "kk"},
    {"Kinyarwanda", "rw"},
    {"Kirundi", "rn"},
    {"Klingon", "xx-klingon"},
    {"Korean", "ko"},
    {"Kurdish", "ku"},
    {"Kyrgyz", "ky"},
    {"Laothian", "lo"},
    {"Latin", "la"},
    {"Latvian", "lv"},
    {"Lingala", "ln"},
    {"Lithuanian", "lt"},
    {"Luganda", "lg"},
    {"Macedonian", "mk"},
    {"Malagasy", "mg"},
    {"Malay", "ms"},
    {"Malayalam", "ml"},
    {"Maltese", "mt"},
    {"Maori", "mi"},
    {"Marathi", "mr"},
    {"Mauritian Creole", "mfe"},
    {"Moldavian", "mo"},
    {"Mongolian", "mn"},
    {"Montenegrin", "sr-ME"},
    {"Nepali", "ne"},
    {"Norwegian", "no"},
    {"Norwegian (Nynorsk)", "nn"},
    {"Occitan", "oc"},
    {"Oriya", "or"},
    {"Oromo", "om"},
    {"Pashto", "ps"},
    {"Persian", "fa"},
    {"Pirate", "xx-pirate"},
    {"Portuguese (Brazil)", "pt-BR"},
    {"Portuguese (Portugal)", "pt-PT"},
    {"Punjabi", "pa"},
    {"Quechua", "qu"},
    {"Romanian", "ro"},
    {"Romansh", "rm"},
    {"Russian", "ru"},
    {"Scots Gaelic", "gd"},
    {"Serbian", "sr"},
    {"Serbo-Croatian", "sh"},
    {"Sesotho", "st"},
    {"Shona", "sn"},
    {"Sindh", "sd"},
    {"Sinhalese", "si"},
    {"Slovak", "sk"},
    {"Slovenian", "sl"},
    {"Somali", "so"},
    {"Sundanese", "su"},
    {"Swahili", "sw"},
    {"Swedish", "sv"},
    {"Tajik", "tg"},
    {"Tamil", "ta"},
    {"Tatar", "tt"},
    {"Telugu", "te"},
    {"Thai", "th"},
    {"Tigrinya", "ti"},
    {"Tonga", "to"},
    {"Turkish", "tr"},
    {"Turkmen", "tk"},
    {"Twi", "tw"},
    {"Uighur", "ug"},
    {"Ukrainian", "uk"},
    {"Urdu", "ur"},
    {"Uzbek", "uz"},
    {"Vietnamese", "vi"},
    {"Welsh", "cy"},
    {"Xhosa", "xh"},
    {"Yiddish", "yi"},
    {"Yoruba", "yo"},
    {"Zulu", "zu"},
};

// Canada has no row: areaForBing settles it from the language first.
const Row kBingMarketRows[] = {
    {"United States", "en-US"}, {"United Kingdom", "en-UK"}, {"Argentina", "es-AR"},
    {"Australia", "en-AU"},     {"Brazil", "pt-BR"},         {"Bulgaria", "bg-BG"},
    {"Chile", "es-CL"},         {"Czech Republic", "cs-CZ"}, {"Denmark", "da-DK"},
    {"Finland", "fi-FI"},       {"France", "fr-FR"},         {"Germany", "de-DE"},
    {"Greece", "el-GR"},        {"Hong Kong", "zh-HK"},      {"Hungary", "hu-HU"},
    {"India", "en-IN"},         {"Indonesia", "en-ID"},      {"Ireland", "en-IE"},
    {"Israel", "he-IL"},        {"Italy", "it-IT"},          {"Japan", "ja-JP"},
    {"Korea", "ko-KR"},         {"Latvia", "lv-LV"},         {"Lithuania", "lt-LT"},
    {"Malaysia", "en-MY"},      {"Mexico", "es-MX"},         {"Netherlands", "nl-NL"},
    {"New Zealand", "en-NZ"},   {"Norway", "nb-NO"},         {"China", "zh-CN"},
    {"Poland", "pl-PL"},        {"Portugal", "pt-PT"},       {"Philippines", "en-PH"},
    {"Romania", "ro-RO"},       {"Russia", "ru-RU"},         {"Singapore", "en-SG"},
    {"Slovakia", "sk-SK"},      {"Slovenia", "sl-SI"},       {"South Africa", "en-ZA"},
    {"Spain", "es-ES"},         {"Sweden", "sv-SE"},         {"Taiwan", "zh-TW"},
    {"Thailand", "th-TH"},      {"Turkey", "tr-TR"},         {"Ukraine", "uk-UA"},
};

const Row kGoogleDomainRows[] = {
    {"United States", "com"},
    {"New Zealand", "co.nz"},
    {"United Kingdom", "co.uk"},
    {"Japan", "co.jp"},
    {"Poland", "pl"},
    {"Canada", "ca"},
    {"Australia", "com.au"},
    {"Argentina", "com.ar"},
    {"Austria", "at"},
    {"Belgium", "be"},
    {"Chile", "cl"},
    {"China", "cn"},
    {"Denmark", "dk"},
    {"France", "fr"},
    {"Germany", "de"},
    {"Greece", "gr"},
    {"Hong Kong", "com.hk"},
    {"India", "co.in"},
    {"Ireland", "ie"},
    {"Italy", "it"},
    {"Jamaica", "com.jm"},
    {"Korea", "co.kr"},
    {"Lebanon", "com.lb"},
    {"Malaysia", "com.my"},
    {"Mexico", "com.mx"},
    {"Netherlands", "nl"},
    {"Norway", "no"},
    {"Philippines", "com.ph"},
    {"Portugal", "pt"},
    {"Singapore", "com.sg"},
    {"Spain", "es"},
    {"Taiwan", "com.tw"},
    {"Thailand", "co.th"},
    {"Turkey", "com.tr"},
    {"Vietnam", "com.vn"},
    {"Bosnian", "ba"},
    {"Brazil", "com.br"},
    {"Dominica", "dm"},
    {"Ghana", "com.gh"},
    {"Ivory Coast", "ci"},
    {"Russia", "ru"},
    {"Venezuela", "co.ve"},
    {"Afghanistan", "com.af"},
    {"Algeria", "dz"},
    {"Angola", "co.ao"},
    {"Anguilla", "com.ai"},
    {"Antigua and Barbuda", "com.ag"},
    {"Armenia", "am"},
    {"Azerbaijan", "az"},
    {"Bahamas", "bs"},
    {"Bahrain", "com.bh"},
    {"Bangladesh", "com.bd"},
    {"Belarus", "by"},
    {"Belize", "com.bz"},
    {"Benin", "bj"},
    {"Bolivia", "com.bo"},
    {"Botswana", "co.bw"},
    {"Brunei", "com.bn"},
    {"Bulgaria", "bg"},
    {"Burundi", "bi"},
    {"CentralAfricanRepublic", "cf"},
    {"Colombia", "com.co"},
    {"Congo", "cg"},
    {"Costa Rica", "co.cr"},
    {"Cuba", "com.cu"},
    {"Czech Republic", "cz"},
    {"Djibouti", "dj"},
    {"Dominican Republic", "com.do"},
    {"Ecuador", "com.ec"},
    {"Egypt", "com.eg"},
    {"El Salvador", "com.sv"},
    {"Ethiopia", "com.et"},
    {"Fiji", "com.fj"},
    {"Finland", "fi"},
    {"Gambia", "gm"},
    {"Georgia", "ge"},
    {"Gibraltar", "com.gi"},
    {"Greenland", "gl"},
    {"Guatemala", "com.gt"},
    {"Guyana", "gy"},
    {"Haiti", "ht"},
    {"Honduras", "hn"},
    {"Hungary", "hu"},
    {"Indonesia", "co.id"},
    {"Isle of Man", "im"},
    {"Israel", "co.il"},
    {"Jersey", "je"},
    {"Jordan", "jo"},
    {"Kazakhstan", "kz"},
    {"Kuwait", "com.kw"},
    {"Kyrgyzstan", "kg"},
    {"Laos", "la"},
    {"Latvia", "lv"},
    {"Libya", "com.ly"},
    {"Liechtenstein", "li"},
    {"Lithuania", "lt"},
    {"Luxembourg", "lu"},
    {"Maldives", "mv"},
    {"Malta", "com.mt"},
    {"Mauritius", "mu"},
    {"Micronesia", "fm"},
    {"Moldova", "md"},
    {"Montserrat", "ms"},
    {"Morocco", "co.ma"},
    {"Mozambique", "co.mz"},
    {"Namibia", "com.na"},
    {"Nauru", "com.nr"},
    {"Nepal", "com.np"},
    {"Nicaragua", "com.ni"},
    {"Nigeria", "com.ng"},
    {"Niue", "nu"},
    {"Oman", "com.om"},
    {"Pakistan", "com.pk"},
    {"Panama", "com.pa"},
    {"Paraguay", "com.py"},
    {"Peru", "com.pe"},
    {"Puerto Rico", "com.pr"},
    {"Qatar", "com.qa"},
    {"Romania", "ro"},
    {"Rwanda", "rw"},
    {"Saint Vincent and the Grenadines", "com.vc"},
    {"Saint Helena", "sh"},
    {"Samoa", "ws"},
    {"Sao Tome and Principe", "st"},
    {"Saudi Arabia", "com.sa"},
    {"Senegal", "sn"},
    {"Serbia", "rs"},
    {"Seychelles", "sc"},
    {"Sierra Leone", "com.sl"},
    {"Slovakia", "sk"},
    {"Slovenia", "si"},
    {"Solomon Islands", "com.sb"},
    {"South Africa", "co.za"},
    {"Switzerland", "ch"},
    {"Tajikistan", "com.tj"},
    {"Tanzania", "co.tz"},
    {"Timor Leste", "tl"},
    {"Tokelau", "tk"},
    {"Tonga", "to"},
    {"Trinidad and Tobago", "tt"},
    {"Turkmenistan", "tm"},
    {"Uganda", "co.ug"},
    {"Ukraine", "com.ua"},
    {"Uruguay", "com.uy"},
    {"Uzbekistan", "co.uz"},
    {"Vanuatu", "vu"},
    {"Zambia", "co.zm"},
    {"Zimbabwe", "co.zw"},
    {"Croatia", "hr"},
    {"Montenegro", "me"},
    {"United Arab Emirates", "ae"},
    {"Sweden", "se"},
    {"Iceland", "is"},
    {"Tunisia", "tn"},
    {"Sri Lanka", "lk"},
    {"Estonia", "ee"},
    {"Kenya", "co.ke"},
};

const Row kBingDomainRows[] = {
    {"United States", "www"}, {"United Kingdom", "uk"}, {"Argentina", "ar"}, {"Australia", "au"},
    {"Brazil", "br"},         {"Bulgaria", "bg"},       {"Canada", "ca"},    {"Chile", "cl"},
    {"Czech Republic", "cz"}, {"Denmark", "dk"},        {"Finland", "fi"},   {"France", "fr"},
    {"Germany", "de"},        {"Greece", "gr"},         {"Hong Kong", "hk"}, {"Hungary", "hu"},
    {"India", "in"},          {"Indonesia", "id"},      {"Ireland", "ie"},   {"Israel", "il"},
    {"Italy", "it"},          {"Japan", "jp"},          {"Korea", "kr"},     {"Latvia", "lv"},
    {"Lithuania", "lt"},      {"Malaysia", "my"},       {"Mexico", "mx"},    {"Netherlands", "nl"},
    {"New Zealand", "nz"},    {"Norway", "no"},         {"China", "cn"},     {"Poland", "pl"},
    {"Portugal", "pt"},       {"Philippines", "ph"},    {"Romania", "ro"},   {"Russia", "ru"},
    {"Singapore", "sg"},      {"Slovakia", "sk"},       {"Slovenia", "si"},  {"South Africa", "za"},
    {"Spain", "es"},          {"Sweden", "se"},         {"Taiwan", "tw"},    {"Thailand", "th"},
    {"Turkey", "tr"},         {"Ukraine", "ua"},
};

const Row kFlagRows[] = {
    {"United States", ":country/United-States.png"},
    {"New Zealand", ":country/New-Zealand.png"},
    {"United Kingdom", ":country/United-Kingdom.png"},
    {"Japan", ":country/Japan.png"},
    {"Poland", ":country/Poland.png"},
    {"Canada", ":country/Canada.png"},
    {"Australia", ":country/Australia.png"},
    {"Argentina", ":country/Argentina.png"},
    {"Austria", ":country/Austria.png"},
    {"Belgium", ":country/Belgium.png"},
    {"Chile", ":country/Chile.png"},
    {"China", ":country/China.png"},
    {"Denmark", ":country/Denmark.png"},
    {"France", ":country/France.png"},
    {"Germany", ":country/Germany.png"},
    {"Greece", ":country/Greece.png"},
    {"Hong Kong", ":country/Hong-Kong.png"},
    {"India", ":country/India.png"},
    {"Ireland", ":country/Ireland.png"},
    {"Italy", ":country/Italy.png"},
    {"Jamaica", ":country/Jamaica.png"},
    {"Korea", ":country/Korea.png"},
    {"Lebanon", ":country/Lebanon.png"},
    {"Malaysia", ":country/Malaysia.png"},
    {"Mexico", ":country/Mexico.png"},
    {"Netherlands", ":country/Netherlands.png"},
    {"Norway", ":country/Norway.png"},
    {"Philippines", ":country/Philippines.png"},
    {"Portugal", ":country/Portugal.png"},
    {"Singapore", ":country/Singapore.png"},
    {"Spain", ":country/Spain.png"},
    {"Taiwan", ":country/Taiwan.png"},
    {"Thailand", ":country/Thailand.png"},
    {"Turkey", ":country/Turkey.png"},
    {"Vietnam", ":country/Vietnam.png"},
    {"Bosnian", ":country/Bosnian.png"},
    {"Brazil", ":country/Brazil.png"},
    {"Dominica", ":country/Dominica.png"},
    {"Ghana", ":country/Ghana.png"},
    {"Ivory Coast", ":country/Ivory-Coast.png"},
    {"Russia", ":country/Russia.png"},
    {"Venezuela", ":country/Venezuela.png"},
    {"Afghanistan", ":country/Afghanistan.png"},
    {"Algeria", ":country/Algeria.png"},
    {"Angola", ":country/Angola.png"},
    {"Anguilla", ":country/Anguilla.png"},
    {"Antigua and Barbuda", ":country/Antigua-and-Barbuda.png"},
    {"Armenia", ":country/Armenia.png"},
    {"Azerbaijan", ":country/Azerbaijan.png"},
    {"Bahamas", ":country/Bahamas.png"},
    {"Bahrain", ":country/Bahrain.png"},
    {"Bangladesh", ":country/Bangladesh.png"},
    {"Belarus", ":country/Belarus.png"},
    {"Belize", ":country/Belize.png"},
    {"Benin", ":country/Benin.png"},
    {"Bolivia", ":country/Bolivia.png"},
    {"Botswana", ":country/Botswana.png"},
    {"Brunei", ":country/Brunei.png"},
    {"Bulgaria", ":country/Bulgaria.png"},
    {"Burundi", ":country/Burundi.png"},
    {"CentralAfricanRepublic", ":country/CentralAfricanRepublic.png"},
    {"Colombia", ":country/Colombia.png"},
    {"Congo", ":country/Congo.png"},
    {"Costa Rica", ":country/Costa-Rica.png"},
    {"Cuba", ":country/Cuba.png"},
    {"Czech Republic", ":country/Czech-Republic.png"},
    {"Djibouti", ":country/Djibouti.png"},
    {"Dominican Republic", ":country/Dominican-Republic.png"},
    {"Ecuador", ":country/Ecuador.png"},
    {"Egypt", ":country/Egypt.png"},
    {"El Salvador", ":country/El-Salvador.png"},
    {"Ethiopia", ":country/Ethiopia.png"},
    {"Fiji", ":country/Fiji.png"},
    {"Finland", ":country/Finland.png"},
    {"Gambia", ":country/Gambia.png"},
    {"Georgia", ":country/Georgia.png"},
    {"Gibraltar", ":country/Gibraltar.png"},
    {"Greenland", ":country/Greenland.png"},
    {"Guatemala", ":country/Guatemala.png"},
    {"Guyana", ":country/Guyana.png"},
    {"Haiti", ":country/Haiti.png"},
    {"Honduras", ":country/Honduras.png"},
    {"Hungary", ":country/Hungary.png"},
    {"Indonesia", ":country/Indonesia.png"},
    {"Isle of Man", ":country/Isle-of-Man.png"},
    {"Israel", ":country/Israel.png"},
    {"Jersey", ":country/Jersey.png"},
    {"Jordan", ":country/Jordan.png"},
    {"Kazakhstan", ":country/Kazakhstan.png"},
    {"Kuwait", ":country/Kuwait.png"},
    {"Kyrgyzstan", ":country/Kyrgyzstan.png"},
    {"Laos", ":country/Laos.png"},
    {"Latvia", ":country/Latvia.png"},
    {"Libya", ":country/Libya.png"},
    {"Liechtenstein", ":country/Liechtenstein.png"},
    {"Lithuania", ":country/Lithuania.png"},
    {"Luxembourg", ":country/Luxembourg.png"},
    {"Maldives", ":country/Maldives.png"},
    {"Malta", ":country/Malta.png"},
    {"Mauritius", ":country/Mauritius.png"},
    {"Micronesia", ":country/Micronesia.png"},
    {"Moldova", ":country/Moldova.png"},
    {"Montserrat", ":country/Montserrat.png"},
    {"Morocco", ":country/Morocco.png"},
    {"Mozambique", ":country/Mozambique.png"},
    {"Namibia", ":country/Namibia.png"},
    {"Nauru", ":country/Nauru.png"},
    {"Nepal", ":country/Nepal.png"},
    {"Nicaragua", ":country/Nicaragua.png"},
    {"Nigeria", ":country/Nigeria.png"},
    {"Niue", ":country/Niue.png"},
    {"Oman", ":country/Oman.png"},
    {"Pakistan", ":country/Pakistan.png"},
    {"Panama", ":country/Panama.png"},
    {"Paraguay", ":country/Paraguay.png"},
    {"Peru", ":country/Peru.png"},
    {"Puerto Rico", ":country/Puerto-Rico.png"},
    {"Qatar", ":country/Qatar.png"},
    {"Romania", ":country/Romania.png"},
    {"Rwanda", ":country/Rwanda.png"},
    {"Saint Vincent and the Grenadines", ":country/Saint Vincent and the Grenadines.png"},
    {"Saint Helena", ":country/Saint-Helena.png"},
    {"Samoa", ":country/Samoa.png"},
    {"Sao Tome and Principe", ":country/Sao-Tome-and-Principe.png"},
    {"Saudi Arabia", ":country/Saudi-Arabia.png"},
    {"Senegal", ":country/Senegal.png"},
    {"Serbia", ":country/Serbia.png"},
    {"Seychelles", ":country/Seychelles.png"},
    {"Sierra Leone", ":country/Sierra-Leone.png"},
    {"Slovakia", ":country/Slovakia.png"},
    {"Slovenia", ":country/Slovenia.png"},
    {"Solomon Islands", ":country/Solomon-Islands.png"},
    {"South Africa", ":country/South-Africa.png"},
    {"Switzerland", ":country/Switzerland.png"},
    {"Tajikistan", ":country/Tajikistan.png"},
    {"Tanzania", ":country/Tanzania.png"},
    {"Timor Leste", ":country/Timor-Leste.png"},
    {"Tokelau", ":country/Tokelau.png"},
    {"Tonga", ":country/Tonga.png"},
    {"Trinidad and Tobago", ":country/Trinidad-and-Tobago.png"},
    {"Turkmenistan", ":country/Turkmenistan.png"},
    {"Uganda", ":country/Uganda.png"},
    {"Ukraine", ":country/Ukraine.png"},
    {"Uruguay", ":country/Uruguay.png"},
    {"Uzbekistan", ":country/Uzbekistan.png"},
    {"Vanuatu", ":country/Vanuatu.png"},
    {"Zambia", ":country/Zambia.png"},
    {"Zimbabwe", ":country/Zimbabwe.png"},
    {"Croatia", ":country/Croatia.png"},
    {"Montenegro", ":country/Montenegro.png"},
    {"United Arab Emirates", ":country/United Arab Emirates.png"},
    {"Sweden", ":country/Sweden.png"},
    {"Iceland", ":country/Iceland.png"},
    {"Tunisia", ":country/Tunisia.png"},
    {"Sri Lanka", ":country/Sri Lanka.png"},
    {"Estonia", ":country/Estonia.png"},
    {"Kenya", ":country/Kenya.png"},
};

const Row kGoogleLrRows[] = {
    {"English", "lang_en"},
    {"Japanese", "lang_ja"},
    {"Polish", "lang_pl"},
    {"Spanish", "lang_es"},
    {"German", "lang_de"},
    {"Arabic", "lang_ar"},
    {"Chinese(Simplified)", "lang_zh-CN"},
    {"French", "lang_fr"},
    {"Greek", "lang_el"},
    {"Chinese(Traditional)", "lang_zh-TW"},
    {"Italian", "lang_it"},
    {"Bulgarian", "lang_bg"},
    {"Catalan", "lang_ca"},
    {"Croatian", "lang_hr"},
    {"Czech", "lang_cs"},
    {"Dutch", "lang_nl"},
    {"Danish", "lang_da"},
    {"Estonian", "lang_et"},
    {"Finnish", "lang_fi"},
    {"Hebrew", "lang_iw"},
    {"Hungarian", "lang_hu"},
    {"Icelandic", "lang_is"},
    {"Indonesian", "lang_id"},
    {"Korean", "lang_ko"},
    {"Latvian", "lang_lv"},
    {"Lithuanian", "lang_lt"},
    {"Norwegian", "lang_no"},
    {"Portuguese (Brazil)", "lang_pt"},
    {"Portuguese (Portugal)", "lang_pt"},
    {"Romanian", "lang_ro"},
    {"Russian", "lang_ru"},
    {"Serbian", "lang_sr"},
    {"Slovak", "lang_sk"},
    {"Slovenian", "lang_sl"},
    {"Swedish", "lang_sv"},
    {"Turkish", "lang_tr"},
};

const Row kGoogleGlRows[] = {
    {"United States", "us"},
    {"New Zealand", "nz"},
    {"United Kingdom", "uk"},
    {"Japan", "jp"},
    {"Poland", "pl"},
    {"Canada", "ca"},
    {"Australia", "au"},
    {"Argentina", "ar"},
    {"Austria", "at"},
    {"Belgium", "be"},
    {"Chile", "cl"},
    {"China", "cn"},
    {"Denmark", "dk"},
    {"France", "fr"},
    {"Germany", "de"},
    {"Greece", "gr"},
    {"Hong Kong", "hk"},
    {"India", "in"},
    {"Ireland", "ie"},
    {"Italy", "it"},
    {"Jamaica", "jm"},
    {"Korea", "kr"},
    {"Lebanon", "lb"},
    {"Malaysia", "my"},
    {"Mexico", "mx"},
    {"Netherlands", "nl"},
    {"Norway", "no"},
    {"Philippines", "ph"},
    {"Portugal", "pt"},
    {"Singapore", "sg"},
    {"Spain", "es"},
    {"Taiwan", "tw"},
    {"Thailand", "th"},
    {"Turkey", "tr"},
    {"Vietnam", "vn"},
    {"Bosnian", "ba"},
    {"Brazil", "br"},
    {"Dominica", "dm"},
    {"Ghana", "gh"},
    {"Ivory Coast", "ci"},
    {"Russia", "ru"},
    {"Venezuela", "ve"},
    {"Afghanistan", "af"},
    {"Algeria", "dz"},
    {"Angola", "ao"},
    {"Anguilla", "ai"},
    {"Antigua and Barbuda", "ag"},
    {"Armenia", "am"},
    {"Azerbaijan", "az"},
    {"Bahamas", "bs"},
    {"Bahrain", "bh"},
    {"Bangladesh", "bd"},
    {"Belarus", "by"},
    {"Belize", "bz"},
    {"Benin", "bj"},
    {"Bolivia", "bo"},
    {"Botswana", "bw"},
    {"Brunei", "bn"},
    {"Bulgaria", "bg"},
    {"Burundi", "bi"},
    {"CentralAfricanRepublic", "cf"},
    {"Colombia", "co"},
    {"Congo", "cg"},
    {"Costa Rica", "cr"},
    {"Cuba", "cu"},
    {"Czech Republic", "cz"},
    {"Djibouti", "dj"},
    {"Dominican Republic", "do"},
    {"Ecuador", "ec"},
    {"Egypt", "eg"},
    {"El Salvador", "sv"},
    {"Ethiopia", "et"},
    {"Fiji", "fj"},
    {"Finland", "fi"},
    {"Gambia", "gm"},
    {"Georgia", "ge"},
    {"Gibraltar", "gi"},
    {"Greenland", "gl"},
    {"Guatemala", "gt"},
    {"Guyana", "gy"},
    {"Haiti", "ht"},
    {"Honduras", "hn"},
    {"Hungary", "hu"},
    {"Indonesia", "id"},
    {"Isle of Man", "im"},
    {"Israel", "il"},
    {"Jersey", "je"},
    {"Jordan", "jo"},
    {"Kazakhstan", "kz"},
    {"Kuwait", "kw"},
    {"Kyrgyzstan", "kg"},
    {"Laos", "la"},
    {"Latvia", "lv"},
    {"Libya", "ly"},
    {"Liechtenstein", "li"},
    {"Lithuania", "lt"},
    {"Luxembourg", "lu"},
    {"Maldives", "mv"},
    {"Malta", "mt"},
    {"Mauritius", "mu"},
    {"Micronesia", "fm"},
    {"Moldova", "md"},
    {"Montserrat", "ms"},
    {"Morocco", "ma"},
    {"Mozambique", "mz"},
    {"Namibia", "na"},
    {"Nauru", "nr"},
    {"Nepal", "np"},
    {"Nicaragua", "ni"},
    {"Nigeria", "ng"},
    {"Niue", "nu"},
    {"Oman", "om"},
    {"Pakistan", "pk"},
    {"Panama", "pa"},
    {"Paraguay", "py"},
    {"Peru", "pe"},
    {"Puerto Rico", "pr"},
    {"Qatar", "qa"},
    {"Romania", "ro"},
    {"Rwanda", "rw"},
    {"Saint Vincent and the Grenadines", "vc"},
    {"Saint Helena", "sh"},
    {"Samoa", "ws"},
    {"Sao Tome and Principe", "st"},
    {"Saudi Arabia", "sa"},
    {"Senegal", "sn"},
    {"Serbia", "rs"},
    {"Seychelles", "sc"},
    {"Sierra Leone", "sl"},
    {"Slovakia", "sk"},
    {"Solomon Islands", "sb"},
    {"South Africa", "za"},
    {"Switzerland", "ch"},
    {"Tajikistan", "tj"},
    {"Tanzania", "tz"},
    {"Timor Leste", "tl"},
    {"Tokelau", "tk"},
    {"Tonga", "to"},
    {"Trinidad and Tobago", "tt"},
    {"Turkmenistan", "tm"},
    {"Uganda", "ug"},
    {"Ukraine", "ua"},
    {"Uruguay", "uy"},
    {"Uzbekistan", "uz"},
    {"Vanuatu", "vu"},
    {"Zambia", "zm"},
    {"Zimbabwe", "zw"},
};

void fillAllTables()
{
    InitTabIndexForEngine();
    InitDomainForLang();
    InitGooleLrForLang();
    InitGoogleGlForArea();
    InitGoogleHlForLang();
    InitDomainForBing();
    InitAreaForBing();
}

// Every reader comes through here, so no lookup ever sees an empty table.
void ensureTablesFilled()
{
    static const bool filled = (fillAllTables(), true);
    Q_UNUSED(filled);
}

QString lookup(const QMap<QString, QString>& table, const QString& key, const char* fallback)
{
    ensureTablesFilled();
    const auto it = table.constFind(key);
    return it != table.constEnd() ? it.value() : QString::fromLatin1(fallback);
}

const char* const kAolMainHost = "search.aol.com";
const char* const kAskMainHost = "www.ask.com";

} // namespace

void InitGoogleHlForLang()
{
    refill(g_mapGoogleHlForLang, kGoogleHlRows);
}

void InitAreaForBing()
{
    refill(g_mapAreaForBing, kBingMarketRows);
}

void InitDomainForLang()
{
    refill(g_mapDomainForLang, kGoogleDomainRows);
}

void InitDomainForBing()
{
    refill(g_mapDomainForBing, kBingDomainRows);
}

void InitTabIndexForEngine()
{
    refill(g_mapTabIndexForEngine, kFlagRows);
    qDebug("init");
}

void InitGooleLrForLang()
{
    refill(g_mapGooleLrForLang, kGoogleLrRows);
}

void InitGoogleGlForArea()
{
    refill(g_mapGoogleGlForArea, kGoogleGlRows);
}

const QMap<QString, QString>& localeTableRows(LocaleTable table)
{
    ensureTablesFilled();
    switch (table) {
    case LocaleTable::GoogleHlForLang:
        return g_mapGoogleHlForLang;
    case LocaleTable::AreaForBing:
        return g_mapAreaForBing;
    case LocaleTable::DomainForLang:
        return g_mapDomainForLang;
    case LocaleTable::DomainForBing:
        return g_mapDomainForBing;
    case LocaleTable::TabIndexForEngine:
        return g_mapTabIndexForEngine;
    case LocaleTable::GooleLrForLang:
        return g_mapGooleLrForLang;
    case LocaleTable::GoogleGlForArea:
        break;
    }
    return g_mapGoogleGlForArea;
}

QString googleHlForLang(const QString& lang)
{
    return lookup(g_mapGoogleHlForLang, lang, "en");
}

QString areaForBing(const QString& area, const QString& lang)
{
    if (area == QLatin1String("Canada") && lang == QLatin1String("English"))
        return QStringLiteral("en-CA");
    if (area == QLatin1String("Canada") && lang == QLatin1String("French"))
        return QStringLiteral("fr-CA");
    return lookup(g_mapAreaForBing, area, "en-US");
}

QString domainForYahoo(const QString& area, QString lang)
{
    static const Row hosts[] = {
        {"United States", "search.yahoo.com"},
        {"United Kingdom", "uk.search.yahoo.com"},
        {"Japan", "search.yahoo.co.jp"},
        {"Australia", "au.search.yahoo.com"},
        {"Argentina", "ar.search.yahoo.com"},
        {"Brazil", "br.search.yahoo.com"},
        {"Chile", "cl.search.yahoo.com"},
        {"China", "search.cn.yahoo.com"},
        {"Colombia", "co.search.yahoo.com"},
        {"Denmark", "dk.search.yahoo.com"},
        {"Finland", "fi.search.yahoo.com"},
        {"France", "fr.search.yahoo.com"},
        {"Germany", "de.search.yahoo.com"},
        {"Greece", "gr.search.yahoo.com"},
        {"Hong Kong", "hk.search.yahoo.com"},
        {"India", "in.search.yahoo.com"},
        {"Indonesia", "id.search.yahoo.com"},
        // Ireland is served by the UK site.
        {"Ireland", "uk.search.yahoo.com"},
        {"Italy", "it.search.yahoo.com"},
        {"Korea", "kr.search.yahoo.com"},
        {"Malaysia", "malaysia.search.yahoo.com"},
        {"Mexico", "mx.search.yahoo.com"},
        {"Netherlands", "nl.search.yahoo.com"},
        {"New Zealand", "nz.search.yahoo.com"},
        {"Norway", "no.search.yahoo.com"},
        {"Peru", "pe.search.yahoo.com"},
        {"Philippines", "ph.search.yahoo.com"},
        {"Russia", "ru.search.yahoo.com"},
        {"Singapore", "sg.search.yahoo.com"},
        {"Spain", "es.search.yahoo.com"},
        {"Sweden", "se.search.yahoo.com"},
        {"Taiwan", "tw.search.yahoo.com"},
        {"Thailand", "th.search.yahoo.com"},
        {"Vietnam", "vn.search.yahoo.com"},
    };
    // Canada has one site per language. The engine list names French Canada "Canada "
    // (with a trailing blank), and websites store that text, so it is a key of its own.
    if (area == QLatin1String("Canada") && lang == QLatin1String("English"))
        return QStringLiteral("ca.search.yahoo.com");
    if ((area == QLatin1String("Canada") || area == QLatin1String("Canada ")) &&
        lang == QLatin1String("French"))
        return QStringLiteral("qc.search.yahoo.com");
    for (const Row& row : hosts) {
        if (area == QLatin1String(row.first))
            return QString::fromLatin1(row.second);
    }
    return QLatin1String("");
}

QIcon iconForAera(const QString& area)
{
    ensureTablesFilled();
    const auto it = g_mapTabIndexForEngine.constFind(area);
    if (it == g_mapTabIndexForEngine.constEnd())
        return QIcon();
    return QIcon(it.value());
}

QString domainForLang(const QString& area)
{
    return lookup(g_mapDomainForLang, area, "com");
}

QString domainForBing(const QString& area)
{
    return lookup(g_mapDomainForBing, area, "www");
}

QString googleGlForArea(const QString& area)
{
    return lookup(g_mapGoogleGlForArea, area, "us");
}

QString gooleLrForLang(const QString& lang)
{
    return lookup(g_mapGooleLrForLang, lang, "lang_en");
}

QString iconLocationForArea(const QString& area)
{
    return lookup(g_mapTabIndexForEngine, area, ":country/United-States.png");
}

int tabIndexForEngine(const QString& engine)
{
    if (engine == QLatin1String("Google"))
        return 0;
    if (engine == QLatin1String("Yahoo"))
        return 1;
    if (engine == QLatin1String("Bing"))
        return 2;
    if (engine == QLatin1String("Ask"))
        return 3;
    if (engine == QLatin1String("AOL"))
        return 4;
    return 0;
}

QString iconLocationInRes(const QString& engine)
{
    if (engine == QLatin1String("Google") || engine == QLatin1String("Caffeine"))
        return QStringLiteral(":/engines/google.png");
    if (engine == QLatin1String("Bing"))
        return QStringLiteral(":/engines/bing.png");
    if (engine == QLatin1String("Yahoo"))
        return QStringLiteral(":/engines/yahoo.png");
    if (engine == QLatin1String("Ask"))
        return QStringLiteral(":/engines/ask.png");
    if (engine == QLatin1String("AOL"))
        return QStringLiteral(":/engines/aol.png");
    return QString();
}

QIcon iconForEngine(const QString& engine)
{
    const QString location = iconLocationInRes(engine);
    return location.isNull() ? QIcon() : QIcon(location);
}

QString domainForAol(const QString& area)
{
    static const Row hosts[] = {
        {"United States", "search.aol.com"}, {"United Kingdom", "search.aol.co.uk"},
        {"Japan", "search.aol.jp"},          {"Australia", "search.aol.com.au"},
        {"Spain", "search.aol.es"},          {"Russia", "search.aol.ru"},
        {"Mexico", "search.aol.com.mx"},     {"Canada", "search.aol.ca"},
        {"India", "search.aol.in"},          {"New Zealand", "search.aol.co.nz"},
        {"Netherlands", "search.aol.nl"},    {"Germany", "search.aol.de"},
        {"Denmark", "search.aol.dk"},        {"France", "search.aol.fr"},
        {"Hong Kong", "search.aol.com.hk"},  {"Italy", "search.aol.it"},
        {"Korea", "search.aol.co.kr"},       {"Poland", "search.aol.pl"},
        {"Taiwan", "search.aol.com.tw"},
    };
    for (const Row& row : hosts) {
        if (area == QLatin1String(row.first))
            return QString::fromLatin1(row.second);
    }
    return QString::fromLatin1(kAolMainHost);
}

QString domainForAsk(const QString& area)
{
    static const Row hosts[] = {
        {"United States", "www.ask.com"},
        {"United Kingdom", "uk.ask.com"},
        {"Japan", "ask.jp"},
        {"Australia", "au.ask.com"},
        {"Spain", "es.ask.com"},
        {"Russia", "ru.ask.com"},
        {"Brazil", "br.ask.com"},
        {"Netherlands", "nl.ask.com"},
        {"Germany", "de.ask.com"},
        {"France", "fr.ask.com"},
        {"Italy", "it.ask.com"},
        {"Poland", "pl.ask.com"},
    };
    for (const Row& row : hosts) {
        if (area == QLatin1String(row.first))
            return QString::fromLatin1(row.second);
    }
    return QString::fromLatin1(kAskMainHost);
}

QString langForYahoo(const QString& area, const QString& lang)
{
    // Only these three countries look at the language; every other row is the
    // country's alone, so the order of the rows below does not matter.
    if (area == QLatin1String("United States") && lang == QLatin1String("Spanish"))
        return QStringLiteral("es");
    if (area == QLatin1String("Canada") && lang == QLatin1String("French"))
        return QStringLiteral("fr");
    if (area == QLatin1String("Indonesia") && lang == QLatin1String("Indonesian"))
        return QStringLiteral("id");
    // "Brasil" is the spelling these rows have always had.
    static const Row byCountry[] = {
        {"Japan", "jp"},      {"Argentina", "es"},   {"Chile", "es"},    {"Colombia", "es"},
        {"Mexico", "es"},     {"Peru", "es"},        {"Spain", "es"},    {"Brasil", "pt"},
        {"France", "fr"},     {"Denmark", "da"},     {"Finland", "fi"},  {"Germany", "de"},
        {"Hong Kong", "tzh"}, {"Taiwan", "tzh"},     {"Italy", "it"},    {"Korea", "kr"},
        {"Malaysia", "ms"},   {"Netherlands", "nl"}, {"Norway", "no"},   {"Philippines", "tl"},
        {"Russia", "ru"},     {"Sweden", "sv"},      {"Thailand", "th"}, {"Vietnam", "vi"},
    };
    for (const Row& row : byCountry) {
        if (area == QLatin1String(row.first))
            return QString::fromLatin1(row.second);
    }
    return QStringLiteral("en");
}

QString simpleTextForEngine(const QString& engineKey)
{
    const int first = engineKey.indexOf(QLatin1Char('_'));
    const int second = first < 0 ? -1 : engineKey.indexOf(QLatin1Char('_'), first + 1);
    const QString engine = engineKey.left(first < 0 ? engineKey.size() : first);
    const QString area =
        first < 0 ? QString() : engineKey.mid(first + 1, second < 0 ? -1 : second - first - 1);
    const QString lang = second < 0 ? QString() : engineKey.mid(second + 1);

    const QString hl = googleHlForLang(lang);
    const QString suffix = QCoreApplication::translate("LocaleLookup", " (%1)").arg(hl);

    QString text;
    if (engine == QLatin1String("Google"))
        text = QStringLiteral("www.google.") + domainForLang(area) + suffix;
    else if (engine == QLatin1String("Yahoo"))
        text = domainForYahoo(area, lang) + suffix;
    else if (engine == QLatin1String("Bing"))
        text = domainForBing(area) +
               QCoreApplication::translate("LocaleLookup", ".bing.com (%1)").arg(hl);
    else if (engine == QLatin1String("Ask"))
        text = domainForAsk(area) + suffix;
    else if (engine == QLatin1String("AOL"))
        text = domainForAol(area) + suffix;
    else
        return QLatin1String("");

    // The labels "search" and "www" say nothing to the user.
    static const QRegularExpression noise(QStringLiteral("(?:((search\\.)|(www\\.)))"));
    text.remove(noise);
    return text;
}

QUrl resultPageForEngine(const QString& engine, const QString& keyword, const QString& area,
                         const QString& lang, int position)
{
    const int page = (std::clamp(position, 1, 100) - 1) / 10;
    QString base;
    QList<SearchQuery::Item> items;
    if (engine == QLatin1String("Google")) {
        base = QCoreApplication::translate("LocaleLookup", "http://www.google.%1/search?")
                   .arg(domainForLang(area));
        items = {{"hl", googleHlForLang(lang)},
                 {"sa", "N"},
                 {"as_qdr", "all"},
                 {"start", QString::number(10 * page)},
                 {"q", keyword}};
    } else if (engine == QLatin1String("Yahoo")) {
        base = QCoreApplication::translate("LocaleLookup", "http://%1/search?")
                   .arg(domainForYahoo(area, lang));
        items = {{"ei", "UTF-8"}, {"b", QString::number(10 * page + 1)}, {"p", keyword}};
    } else if (engine == QLatin1String("Bing")) {
        base = QCoreApplication::translate("LocaleLookup", "http://%1/search?")
                   .arg(QString::fromLatin1(BingSearchHost));
        items = {{"go", ""},
                 {"form", "W0FD"},
                 {"mkt", areaForBing(area, lang)},
                 {"filt", "all"},
                 {"first", QString::number(10 * page + 1)},
                 {"q", keyword}};
    } else if (engine == QLatin1String("Ask")) {
        base =
            QCoreApplication::translate("LocaleLookup", "http://%1/web?").arg(domainForAsk(area));
        items = {{"qsrc", "2417"},
                 {"frstpgo", "0"},
                 {"o", "0"},
                 {"l", "dir"},
                 {"page", QString::number(page + 1)},
                 {"q", keyword}};
    } else if (engine == QLatin1String("AOL")) {
        base = QCoreApplication::translate("LocaleLookup", "http://%1/aol/search?")
                   .arg(domainForAol(area));
        items = {{"nt", "SG2"}, {"page", QString::number(page + 1)}, {"q", keyword}};
    } else {
        return QUrl();
    }
    return SearchQuery::MakeUrl(base, items);
}
