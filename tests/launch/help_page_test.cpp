// The help page: opened offline from beside the launcher, so it must load nothing but the
// picture shipped beside it; it must name every option word, token, settings key and control
// label, in the players' words rather than ours; and its worked example and defaults must be
// what the code gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "launch/emulator_args.h"
#include "numtext/number_text.h"
#include "settings/setting_keys.h"
#include "support/files.h"

namespace {

const std::string& page() {
    static const std::string text = readFile(HELP_PAGE);
    return text;
}

std::string lowered(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// Markup text as read: tags dropped, the few named characters the page uses decoded, and any
// other named character taken as a separator.
std::string plainText(const std::string& markup) {
    std::string out;
    for (size_t i = 0; i < markup.size(); ++i) {
        if (markup[i] == '<') {
            const size_t close = markup.find('>', i);
            if (close == std::string::npos) {
                break;
            }
            i = close;
        } else if (markup[i] == '&') {
            const size_t semicolon = markup.find(';', i);
            if (semicolon == std::string::npos || semicolon - i > 10) {
                out += '&';
                continue;
            }
            const std::string name = markup.substr(i + 1, semicolon - i - 1);
            if (name == "amp") {
                out += '&';
            } else if (name == "lt") {
                out += '<';
            } else if (name == "gt") {
                out += '>';
            } else if (name == "quot") {
                out += '"';
            } else {
                out += ' ';
            }
            i = semicolon;
        } else {
            out += markup[i];
        }
    }
    return out;
}

// The plain texts of every element opened by `open` (e.g. "<code") up to `close`.
std::vector<std::string> elementTexts(const std::string& markup, const std::string& open,
                                      const std::string& close) {
    std::vector<std::string> texts;
    size_t at = 0;
    while ((at = markup.find(open, at)) != std::string::npos) {
        const size_t tagEnd = markup.find('>', at);
        const char next = at + open.size() < markup.size() ? markup[at + open.size()] : '\0';
        if (tagEnd == std::string::npos) {
            break;
        }
        at = tagEnd + 1;
        if (next != '>' && !isSpace(next)) {
            continue; // a longer tag name
        }
        const size_t end = markup.find(close, at);
        if (end == std::string::npos) {
            break;
        }
        texts.push_back(plainText(markup.substr(at, end - at)));
        at = end + close.size();
    }
    return texts;
}

std::set<std::string> wordsOf(const std::vector<std::string>& texts) {
    std::set<std::string> words;
    for (const std::string& text : texts) {
        std::string word;
        for (char c : text + " ") {
            if (isSpace(c)) {
                if (!word.empty()) {
                    words.insert(word);
                }
                word.clear();
            } else {
                word += c;
            }
        }
    }
    return words;
}

std::string collapsedSpaces(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (!isSpace(c)) {
            out += c;
        } else if (!out.empty() && out.back() != ' ') {
            out += ' ';
        }
    }
    if (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

// The values of every attribute called `name` (lower case), however quoted; the name must
// stand alone or after a namespace colon (xlink:href), not end a longer name.
std::vector<std::string> attributeValues(const std::string& markup, const std::string& name) {
    const std::string text = lowered(markup);
    std::vector<std::string> values;
    size_t at = 0;
    while ((at = text.find(name, at)) != std::string::npos) {
        const size_t nameStart = at;
        at += name.size();
        if (nameStart == 0 || !(isSpace(text[nameStart - 1]) || text[nameStart - 1] == ':')) {
            continue;
        }
        size_t i = at;
        while (i < text.size() && isSpace(text[i])) {
            ++i;
        }
        if (i >= text.size() || text[i] != '=') {
            continue;
        }
        ++i;
        while (i < text.size() && isSpace(text[i])) {
            ++i;
        }
        std::string value;
        if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
            const size_t end = text.find(text[i], i + 1);
            value = text.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
        } else {
            while (i < text.size() && !isSpace(text[i]) && text[i] != '>') {
                value += text[i++];
            }
        }
        values.push_back(collapsedSpaces(value));
    }
    return values;
}

// The targets of CSS url(...) links.
std::vector<std::string> cssUrls(const std::string& markup) {
    const std::string text = lowered(markup);
    std::vector<std::string> urls;
    size_t at = 0;
    while ((at = text.find("url(", at)) != std::string::npos) {
        at += 4;
        const size_t end = text.find(')', at);
        if (end == std::string::npos) {
            break;
        }
        std::string url;
        for (char c : text.substr(at, end - at)) {
            if (c != '"' && c != '\'' && !isSpace(c)) {
                url += c;
            }
        }
        urls.push_back(url);
    }
    return urls;
}

// A file of the help folder beside the page, which is shipped with it.
bool isShippedBesideThePage(const std::string& link) {
    const std::string page = HELP_PAGE;
    if (link.empty() || link.find_first_of("/\\:?#") != std::string::npos) {
        return false;
    }
    return fileBytes(page.substr(0, page.rfind('/') + 1) + link).has_value();
}

// A link may point into the page itself, carry its data or name a file shipped beside it.
bool loadsNothingElse(const std::string& link) {
    return startsWith(link, "#") || startsWith(link, "data:") || startsWith(link, "mailto:") ||
           isShippedBesideThePage(link);
}

TEST(HelpPage, IsReadable) {
    ASSERT_FALSE(page().empty()) << HELP_PAGE;
    EXPECT_NE(std::string::npos, lowered(page()).find("</html>"));
}

TEST(HelpPage, IsSelfContained) {
    const struct {
        const char* text;
        const char* why;
    } forbidden[] = {
        {"<script", "runs a script"},         {"<link", "links a file (a style sheet, an icon)"},
        {"@import", "imports a style sheet"}, {"<iframe", "embeds another page"},
        {"<object", "embeds a file"},         {"<embed", "embeds a file"},
    };
    const std::string text = lowered(page());
    for (const auto& f : forbidden) {
        EXPECT_EQ(std::string::npos, text.find(f.text)) << "the page " << f.why << ": " << f.text;
    }

    std::vector<std::string> links;
    for (const char* name : {"src", "href", "srcset", "poster", "action"}) {
        for (const std::string& value : attributeValues(page(), name)) {
            links.push_back(value);
        }
    }
    for (const std::string& url : cssUrls(page())) {
        links.push_back(url);
    }
    EXPECT_FALSE(links.empty()) << "the page's in-page links were not found";
    for (const std::string& link : links) {
        SCOPED_TRACE(link);
        EXPECT_FALSE(startsWith(link, "http:") || startsWith(link, "https:") ||
                     startsWith(link, "//"))
            << "the page reaches for the network";
        EXPECT_TRUE(loadsNothingElse(link)) << "the page refers to a file that is not shipped";
    }
}

// The picture of the window: a file of the help folder, described for those who cannot see it.
TEST(HelpPage, ShowsThePictureOfTheWindowShippedBesideIt) {
    const std::string text = lowered(page());
    size_t shown = 0;
    for (size_t at = text.find("<img"); at != std::string::npos; at = text.find("<img", at + 1)) {
        const std::string tag = page().substr(at, text.find('>', at) - at + 1);
        const std::vector<std::string> sources = attributeValues(tag, "src");
        const std::vector<std::string> alts = attributeValues(tag, "alt");
        EXPECT_TRUE(sources.size() == 1 && isShippedBesideThePage(sources[0])) << tag;
        EXPECT_TRUE(alts.size() == 1 && alts[0].size() > 20) << "no alt text: " << tag;
        ++shown;
    }
    EXPECT_LE(1u, shown) << "the page shows no picture of the window";
}

// Our own words for the parameter text and the settings file are not the players'.
TEST(HelpPage, UsesThePlayersWordsNotOurs) {
    const std::string text = lowered(plainText(page()));
    for (const char* word :
         {"option word", "blank", "switch", "key=value", "section", "placeholder", "3.4e38"}) {
        EXPECT_EQ(std::string::npos, text.find(word)) << "the page says \"" << word << "\"";
    }
}

TEST(HelpPage, EveryInPageLinkHasItsTarget) {
    const std::set<std::string> ids = [] {
        std::vector<std::string> found = attributeValues(page(), "id");
        return std::set<std::string>(found.begin(), found.end());
    }();
    for (const std::string& href : attributeValues(page(), "href")) {
        if (startsWith(href, "#")) {
            EXPECT_EQ(1u, ids.count(href.substr(1)))
                << "no element with id \"" << href.substr(1) << "\"";
        }
    }
}

struct NamedWords {
    const char* what;
    std::vector<const char*> words;
};

// Words the reader types or looks for must appear as written, as a whole word of the page's
// code text, where the page sets command lines, values and keys.
TEST(HelpPage, NamesEveryOptionWordTokenAndSettingsKey) {
    const NamedWords groups[] = {
        {"option word",
         {"-display", "-dspmode", "-frmskp", "-brite",    "-balance", "-sclscr", "-pport",
          "-joy",     "-pallet",  "-flip",   "-hstretch", "-ltimmer", "-vfhack", "-more_ram",
          "-debug",   "-disasm",  "-stdout", "-altkbd",   "-nothrtl", "-status"}},
        {"display token", {"frame", "320", "640", "800", "1024", "1280", "1400", "1600"}},
        {"3D mode token", {"normal", "affine", "interlace", "over_under", "side", "cscope"}},
        {"palette token", {"normal", "red", "rb", "rg", "rc", "yb", "mg", "bg"}},
        {"settings key",
         {"dspMode",  "threedMode", "pallet",   "fSkip",      "bFactor", "balr",
          "balg",     "balb",       "scale",    "pport",      "keyMap",  "joy",
          "more_ram", "swap",       "hstretch", "timmerHack", "vfHack",  "debug",
          "nothrtl",  "status",     "disasm",   "stdout",     "emuPath", "romPath"}},
    };
    const std::set<std::string> codeWords = wordsOf(elementTexts(page(), "<code", "</code>"));
    for (const NamedWords& group : groups) {
        for (const char* word : group.words) {
            EXPECT_EQ(1u, codeWords.count(word))
                << "the page lacks the " << group.what << " " << word;
        }
    }
    // The settings file example: the 24 keys, each on a line of its own.
    for (const char* key : groups[4].words) {
        EXPECT_NE(std::string::npos, page().find("\n" + std::string(key) + "="))
            << "the settings file example lacks " << key;
    }
}

// The window's labels, exactly as the window shows them, where the page marks window text.
TEST(HelpPage, NamesEveryControlOfTheWindowByItsLabel) {
    const char* const labels[] = {
        "Emulator Path",
        "Rom Path",
        "Display Mode",
        "3D Mode",
        "Zoom",
        "Pallet",
        "Brightness",
        "Balance (r,g,b)",
        "Frame Skip",
        "Key Map",
        "VB Controller",
        "Joystick",
        "swap display",
        "horizontal 2x",
        "No Throttle",
        "Status Line",
        "Long Timmer Hack",
        "Vertical Force Hack",
        "Ram Hack",
        "Debug Mode",
        "Dissasembly",
        "Console Output",
        "Help",
        "Launch",
    };
    std::set<std::string> marked;
    for (const std::string& text : elementTexts(page(), "<span class=\"ui\"", "</span>")) {
        marked.insert(collapsedSpaces(text));
    }
    for (const char* label : labels) {
        EXPECT_EQ(1u, marked.count(label))
            << "the page lacks the control label \"" << label << "\"";
    }
}

// The parameter text of a first start (no settings file) in C:\Games\Quellix after `change`.
std::string argumentsAfter(void (*change)(LauncherSettings&)) {
    LauncherSettings s{};
    s.readKeys(); // without baseDir no file is read: every key takes its default
    s.romPath = copyText("C:\\Games\\Quellix\\vb_demo_1.vb");
    change(s);
    char text[kArgumentsBufferSize];
    EXPECT_TRUE(buildEmulatorArguments(s, text, sizeof text));
    return text;
}

// The worked example is the launcher's text for the settings the page lists with it.
TEST(HelpPage, WorkedExampleIsTheLaunchersParameterText) {
    const std::string text = argumentsAfter([](LauncherSettings& s) {
        s.dspMode = 2;    // 640x480
        s.threedMode = 1; // Affine
        s.pallet = 2;     // Red-Cyan
        s.fSkip = 2;
        s.bFactor = 1.5f;
        s.balg = 0.8f;
        s.scale = 2; // 2x
        s.pport = 1; // lpt1 (0x378)
        s.swap = true;
        s.keyMap = 1; // Alternate
        s.status = true;
    });
    EXPECT_EQ(std::vector<std::string>{text}, elementTexts(page(), "<pre><code", "</code>"));
}

// A key's default as the settings file holds it after a first start in C:\Games\Quellix.
std::string defaultText(const SettingKey& key) {
    char text[kFixedTextSize] = "0"; // a flag's
    if (key.kind == KeyKind::Integer) {
        formatInt32(key.integerDefault, text, sizeof text);
    } else if (key.kind == KeyKind::Real) {
        formatFixed(key.realDefault, 6, text, sizeof text);
    } else if (key.kind == KeyKind::Path) {
        return std::string("C:\\Games\\Quellix") + key.defaultFileName;
    }
    return text;
}

// The settings file of a first start holds the launcher's defaults, in its order.
TEST(HelpPage, DefaultsAreTheSettingsFilesDefaults) {
    std::string file = "[main]";
    for (const SettingKey& key : kSettingKeys) {
        file += "\n" + std::string(key.name) + "=" + defaultText(key);
    }
    EXPECT_EQ(std::vector<std::string>{file},
              elementTexts(page(), "<pre class=\"file\"", "</pre>"));
}

} // namespace
