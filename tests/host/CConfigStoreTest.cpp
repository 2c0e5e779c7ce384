#include "host/CConfigStore.h"

#include "tests/support/CapturedOutput.h"
#include "tests/support/ScopedLocale.h"
#include "tests/support/ScopedReadOnlyFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <csignal>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";

// The saved file around a body of string_values and number_values lines.
std::string Saved(const std::string& body) { return kDeclaration + std::string("<root>\n") + body + "</root>\n"; }

const char* const kEmptyGroups = "    <string_values />\n    <number_values />\n";

// Names and texts are kept as UTF-8 in memory under this locale.
class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(locale.Use("C.UTF-8")); }

    std::string Path() const { return temp / "config.conf"; }
    std::string SaveAndRead(const CConfigStore& store) const {
        EXPECT_TRUE(store.Save(Path().c_str()));
        return temp.Read("config.conf");
    }

    ScopedLocale locale;
    TempFolder temp;
    CConfigStore store;
};

}  // namespace

// The exact layout of the file: declaration, four-space indent, short form for
// empty elements, "%f" numbers, escaped attributes, LF line ends.
TEST_F(ConfigTest, SavesTheExactLayout) {
    store.SetString("common", "caption", "Tom & \"Jerry\" <1>");
    store.SetString("common", "version", "1.0");
    store.SetNumber("common", "screen_width", 1024);
    store.SetNumber("common", "gamma", 0.5);
    store.SetNumber("scores", "worst", -3.25);
    EXPECT_EQ(SaveAndRead(store),
              Saved("    <string_values>\n"
                    "        <section name=\"common\">\n"
                    "            <value name=\"caption\" data='Tom &amp; &quot;Jerry&quot; &lt;1&gt;' />\n"
                    "            <value name=\"version\" data=\"1.0\" />\n"
                    "        </section>\n"
                    "    </string_values>\n"
                    "    <number_values>\n"
                    "        <section name=\"common\">\n"
                    "            <value name=\"gamma\" data=\"0.500000\" />\n"
                    "            <value name=\"screen_width\" data=\"1024.000000\" />\n"
                    "        </section>\n"
                    "        <section name=\"scores\">\n"
                    "            <value name=\"worst\" data=\"-3.250000\" />\n"
                    "        </section>\n"
                    "    </number_values>\n"));
}

struct LoadCase {
    const char* name;
    const char* file;      // null: no file at all
    const char* expected;  // body of the next save
};

class ConfigLoadTest : public ConfigTest, public ::testing::WithParamInterface<LoadCase> {};

// Each file is loaded and saved again: the saved text shows all the store holds.
TEST_P(ConfigLoadTest, LoadsAndSavesBack) {
    const LoadCase& c = GetParam();
    if (c.file != nullptr) temp.Write("config.conf", c.file);
    EXPECT_EQ(store.Load(Path().c_str()), c.file != nullptr);
    EXPECT_EQ(SaveAndRead(store), Saved(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigLoadTest,
    ::testing::Values(
        LoadCase{"MissingFile", nullptr, kEmptyGroups},
        LoadCase{"DeclarationOnly", "<?xml version=\"1.0\" ?>\n", kEmptyGroups},
        LoadCase{"DuplicateSectionsAndValues",
                 "<root><string_values>"
                 "<section name=\"s\"><value name=\"a\" data=\"first\"/></section>"
                 "<section name=\"s\"><value name=\"a\" data=\"second\"/><value name=\"b\" data=\"x\"/></section>"
                 "</string_values><number_values>"
                 "<section name=\"n\"><value name=\"v\" data=\"1\"/><value name=\"v\" data=\"2\"/></section>"
                 "</number_values></root>",
                 "    <string_values>\n"
                 "        <section name=\"s\">\n"
                 "            <value name=\"a\" data=\"first\" />\n"
                 "            <value name=\"b\" data=\"x\" />\n"
                 "        </section>\n"
                 "    </string_values>\n"
                 "    <number_values>\n"
                 "        <section name=\"n\">\n"
                 "            <value name=\"v\" data=\"1.000000\" />\n"
                 "        </section>\n"
                 "    </number_values>\n"},
        LoadCase{"IncompleteElements",
                 "<root><string_values>"
                 "<section name=\"s\"><value name=\"nodata\"/><value data=\"noname\"/><value name=\"k\" "
                 "data=\"\"/></section>"
                 "<section><value name=\"lost\" data=\"with its section\"/></section>"
                 "</string_values><number_values>"
                 "<section name=\"n\"><value name=\"nodata\"/><value data=\"5\"/></section>"
                 "</number_values></root>",
                 "    <string_values>\n"
                 "        <section name=\"s\">\n"
                 "            <value name=\"k\" data=\"\" />\n"
                 "        </section>\n"
                 "    </string_values>\n"
                 "    <number_values>\n"
                 "        <section name=\"n\">\n"
                 "            <value name=\"nodata\" data=\"0.000000\" />\n"
                 "        </section>\n"
                 "    </number_values>\n"},
        LoadCase{"NumberParsing",
                 "<root><number_values><section name=\"n\">"
                 "<value name=\"a\" data=\"12abc\"/><value name=\"b\" data=\"abc\"/><value name=\"c\" data=\"1e3\"/>"
                 "<value name=\"d\" data=\" -7.5\"/><value name=\"e\" data=\"0.1234567\"/>"
                 "<value name=\"f\" data=\"0.0000004\"/><value name=\"g\" data=\"-0.0000004\"/>"
                 "<value name=\"h\" data=\"3,5\"/><value name=\"i\" data=\"\"/>"
                 "</section></number_values></root>",
                 "    <string_values />\n"
                 "    <number_values>\n"
                 "        <section name=\"n\">\n"
                 "            <value name=\"a\" data=\"12.000000\" />\n"
                 "            <value name=\"b\" data=\"0.000000\" />\n"
                 "            <value name=\"c\" data=\"1000.000000\" />\n"
                 "            <value name=\"d\" data=\"-7.500000\" />\n"
                 "            <value name=\"e\" data=\"0.123457\" />\n"
                 "            <value name=\"f\" data=\"0.000000\" />\n"
                 "            <value name=\"g\" data=\"-0.000000\" />\n"
                 "            <value name=\"h\" data=\"3.000000\" />\n"
                 "            <value name=\"i\" data=\"0.000000\" />\n"
                 "        </section>\n"
                 "    </number_values>\n"},
        LoadCase{"ByteOrderOfNames",
                 "<root><string_values><section name=\"s\">"
                 "<value name=\"b\" data=\"1\"/><value name=\"ab\" data=\"2\"/><value name=\"a\" data=\"3\"/>"
                 "<value name=\"B\" data=\"4\"/><value name=\"\" data=\"5\"/><value name=\"\xc3\xa9\" data=\"6\"/>"
                 "<value name=\"z\" data=\"7\"/>"
                 "</section></string_values></root>",
                 "    <string_values>\n"
                 "        <section name=\"s\">\n"
                 "            <value name=\"\" data=\"5\" />\n"
                 "            <value name=\"B\" data=\"4\" />\n"
                 "            <value name=\"a\" data=\"3\" />\n"
                 "            <value name=\"ab\" data=\"2\" />\n"
                 "            <value name=\"b\" data=\"1\" />\n"
                 "            <value name=\"z\" data=\"7\" />\n"
                 "            <value name=\"\xc3\xa9\" data=\"6\" />\n"
                 "        </section>\n"
                 "    </string_values>\n"
                 "    <number_values />\n"},
        LoadCase{"OtherElementNamesCommentsAndText",
                 "<config><!-- kept? no --><string_values>text<group name=\"s\" extra=\"x\">"
                 "<item name=\"k\" data=\"v\">inner</item></group></string_values>"
                 "<string_values><section name=\"ignored\"><value name=\"k\" data=\"v\"/></section></string_values>"
                 "</config>",
                 "    <string_values>\n"
                 "        <section name=\"s\">\n"
                 "            <value name=\"k\" data=\"v\" />\n"
                 "        </section>\n"
                 "    </string_values>\n"
                 "    <number_values />\n"},
        LoadCase{
            "EmptySectionsAndWindowsLineEnds",
            "<?xml version=\"1.0\" ?>\r\n<root>\r\n<string_values>\r\n<section name=\"e\" />\r\n"
            "<section name=\"m\"><value name=\"k\" data=\"a&#x0D;&#x0A;b\" /></section>\r\n"
            "</string_values>\r\n<number_values>\r\n<section name=\"e\"></section>\r\n</number_values>\r\n</root>\r\n",
            "    <string_values>\n"
            "        <section name=\"e\" />\n"
            "        <section name=\"m\">\n"
            "            <value name=\"k\" data=\"a&#x0D;&#x0A;b\" />\n"
            "        </section>\n"
            "    </string_values>\n"
            "    <number_values>\n"
            "        <section name=\"e\" />\n"
            "    </number_values>\n"}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return info.param.name; });

struct BadFileCase {
    const char* name;
    std::string file;
};

class ConfigBadFileTest : public ConfigTest, public ::testing::WithParamInterface<BadFileCase> {};

// A file that does not load leaves the store as it was, whatever is wrong
// with it, and is kept beside under a second name: the save at the end of the
// game replaces it, and the player's edits must survive that.
TEST_P(ConfigBadFileTest, KeepsWhatTheStoreHeldAndACopyOfTheFile) {
    store.SetString("s", "k", "kept");
    store.SetNumber("s", "n", 7);
    temp.Write("config.conf.unreadable", "from an earlier run");
    temp.Write("config.conf", GetParam().file);
    EXPECT_FALSE(store.Load(Path().c_str()));
    EXPECT_EQ(store.GetString("s", "k"), "kept");
    EXPECT_EQ(store.GetNumber("s", "n"), 7);
    ASSERT_TRUE(store.Save(Path().c_str()));
    EXPECT_EQ(temp.Read("config.conf.unreadable"), GetParam().file);
    EXPECT_EQ(EntriesIn(temp.Path()), 2);
}

std::string Repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ConfigBadFileTest,
                         ::testing::Values(BadFileCase{"Empty", ""}, BadFileCase{"Unclosed", "<root><string_values>"},
                                           BadFileCase{"DuplicateAttribute", "<root a=\"1\" a=\"2\"/>"},
                                           BadFileCase{"NestedTooDeeply", Repeated("<a>", 100000)},
                                           BadFileCase{"Binary", std::string("\0\xff\xfe<", 4)}),
                         [](const ::testing::TestParamInfo<BadFileCase>& info) { return info.param.name; });

// Where no copy of a broken file can be kept (here a folder holds the copy's
// name), the save at the end must not destroy the player's file; another
// file takes the settings.
TEST_F(ConfigTest, ABrokenFileWithoutACopyIsNotSavedOver) {
    const std::string broken = "<root><string_values>";
    temp.Write("config.conf", broken);
    ASSERT_EQ(mkdir((temp / "config.conf.unreadable").c_str(), 0755), 0);
    const std::string link = temp / "link.conf";
    ASSERT_EQ(symlink(Path().c_str(), link.c_str()), 0);
    CapturedOutput errors(STDERR_FILENO);
    EXPECT_FALSE(store.Load(Path().c_str()));
    store.SetString("s", "k", "v");
    EXPECT_FALSE(store.Save(Path().c_str()));
    EXPECT_FALSE(store.Save(link.c_str()));
    const std::string said = errors.Take();
    EXPECT_NE(said.find("no copy kept (cannot rename: Is a directory), so it is not saved over"), std::string::npos)
        << said;
    EXPECT_NE(said.find("config: not saving over " + Path()), std::string::npos) << said;
    EXPECT_EQ(temp.Read("config.conf"), broken);
    EXPECT_TRUE(store.Save((temp / "other.conf").c_str()));
    EXPECT_EQ(EntriesIn(temp.Path()), 4);
}

TEST_F(ConfigTest, RefusesAFolderInPlaceOfTheFile) {
    store.SetString("s", "k", "kept");
    ASSERT_EQ(mkdir(Path().c_str(), 0755), 0);
    EXPECT_FALSE(store.Load(Path().c_str()));
    EXPECT_EQ(store.GetString("s", "k"), "kept");
    EXPECT_FALSE(store.Load(nullptr));
    EXPECT_EQ(EntriesIn(temp.Path()), 1) << "a folder gets no copy";
}

TEST_F(ConfigTest, GettersSettersAndDeleteSection) {
    EXPECT_EQ(store.GetString("common", "caption"), "");
    EXPECT_EQ(store.GetNumber("common", "fps"), 0);

    store.SetString("both", "k", "first");
    store.SetString("both", "k", "second");
    store.SetNumber("both", "k", 5);
    store.SetString("other", "k", "x");
    EXPECT_EQ(store.GetString("both", "k"), "second");
    EXPECT_EQ(store.GetNumber("both", "k"), 5);
    EXPECT_EQ(store.GetString("both", "missing"), "");

    store.DeleteSection("absent");
    store.DeleteSection(nullptr);
    EXPECT_EQ(store.GetString("other", "k"), "x");
    store.DeleteSection("both");
    EXPECT_EQ(store.GetString("both", "k"), "");
    EXPECT_EQ(store.GetNumber("both", "k"), 0);

    // Null arguments, as a careless caller might pass, change and break nothing.
    store.SetString(nullptr, "k", "v");
    store.SetString("other", nullptr, "v");
    store.SetString("other", "k", nullptr);
    store.SetNumber(nullptr, "k", 1);
    EXPECT_EQ(store.GetString(nullptr, "k"), "");
    EXPECT_EQ(store.GetNumber("other", nullptr), 0);
    EXPECT_EQ(SaveAndRead(store), Saved("    <string_values>\n"
                                        "        <section name=\"other\">\n"
                                        "            <value name=\"k\" data=\"x\" />\n"
                                        "        </section>\n"
                                        "    </string_values>\n"
                                        "    <number_values />\n"));
}

// What a script stores comes back in the next run; a second save is identical.
TEST_F(ConfigTest, SaveLoadRoundTrip) {
    const char* const texts[] = {"",      "plain",   "caf\xc3\xa9 \xe2\x82\xac", "&#x41;", "&amp;",
                                 "a  b ", " \tlead", "line\nbreak\r\n",          "'\"<>&", "\x01\x1f"};
    const double numbers[] = {0,
                              -0.0,
                              1024,
                              -0.5,
                              0.1234567,
                              1e-9,
                              123456789.125,
                              1e300,
                              -DBL_MAX,
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    for (size_t i = 0; i < std::size(texts); ++i)
        store.SetString(texts[i], texts[(i + 1) % std::size(texts)], texts[i]);
    for (size_t i = 0; i < std::size(numbers); ++i) store.SetNumber("n", std::to_string(i).c_str(), numbers[i]);
    store.SetNumber("n", "nan", std::nan(""));
    std::string first = SaveAndRead(store);

    CConfigStore loaded;
    ASSERT_TRUE(loaded.Load(Path().c_str()));
    for (size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(loaded.GetString(texts[i], texts[(i + 1) % std::size(texts)]), texts[i]) << i;
    for (size_t i = 0; i < std::size(numbers); ++i) {
        double expected = std::round(numbers[i] * 1e6) / 1e6;
        if (std::fabs(numbers[i]) > 1e15 || std::isinf(numbers[i])) expected = numbers[i];
        EXPECT_EQ(loaded.GetNumber("n", std::to_string(i).c_str()), expected) << i;
    }
    EXPECT_TRUE(std::isnan(loaded.GetNumber("n", "nan")));
    EXPECT_EQ(SaveAndRead(loaded), first);
}

// Save sets no size limit, and Load reads back whole what Save wrote.
TEST_F(ConfigTest, AStoreLargerThanAnyReadLimitSavesAndLoadsWhole) {
    const std::string large(17 * 1024 * 1024, 'x');
    store.SetString("big", "text", large.c_str());
    store.SetNumber("small", "value", 2.5);
    ASSERT_TRUE(store.Save(Path().c_str()));
    CConfigStore loaded;
    ASSERT_TRUE(loaded.Load(Path().c_str()));
    EXPECT_TRUE(loaded.GetString("big", "text") == large);
    EXPECT_EQ(loaded.GetNumber("small", "value"), 2.5);
}

// Every double has a "%f" form; the largest take 317 characters and stay exact.
TEST_F(ConfigTest, HugeAndEndlessNumbersStayWellFormed) {
    store.SetNumber("n", "max", DBL_MAX);
    store.SetNumber("n", "inf", -std::numeric_limits<double>::infinity());
    store.SetNumber("n", "nan", -std::nan(""));
    std::string text = SaveAndRead(store);
    EXPECT_NE(text.find("<value name=\"inf\" data=\"-inf\" />"), std::string::npos) << text;
    EXPECT_NE(text.find("<value name=\"nan\" data=\"nan\" />"), std::string::npos) << text;
    EXPECT_NE(text.find("data=\"179769313486231570814527423731704356798070567525844996598917476803157260"),
              std::string::npos)
        << text;
    CConfigStore loaded;
    ASSERT_TRUE(loaded.Load(Path().c_str()));
    EXPECT_EQ(loaded.GetNumber("n", "max"), DBL_MAX);
}

// A German user's locale must not turn the decimal point into a comma.
TEST_F(ConfigTest, NumbersIgnoreTheLocalesDecimalComma) {
    if (!locale.UseAnyWithCodeSet({"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}, "UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma is installed (see locale -a)";
    temp.Write("config.conf",
               "<root><number_values><section name=\"n\"><value name=\"v\" data=\"2.5\"/>"
               "</section></number_values></root>");
    ASSERT_TRUE(store.Load(Path().c_str()));
    EXPECT_EQ(store.GetNumber("n", "v"), 2.5);
    EXPECT_NE(SaveAndRead(store).find("data=\"2.500000\""), std::string::npos);
}

// Without a locale (ASCII) the text of the file and a script's UTF-8 string
// come back byte for byte.
TEST_F(ConfigTest, TheCLocaleKeepsTheTextByteForByte) {
    ASSERT_TRUE(locale.Use("C"));
    const std::string section =
        "        <section name=\"common\">\n"
        "            <value name=\"caption\" data=\"Spiel \xe2\x80\x93 \xc3\x9c\" />\n";
    temp.Write("config.conf", Saved("    <string_values>\n" + section +
                                    "        </section>\n    </string_values>\n    <number_values />\n"));
    ASSERT_TRUE(store.Load(Path().c_str()));
    store.SetString("common", "name", "J\xc3\xbcrgen \xe6\x97\xa5");
    EXPECT_EQ(SaveAndRead(store), Saved("    <string_values>\n" + section +
                                        "            <value name=\"name\" data=\"J\xc3\xbcrgen \xe6\x97\xa5\" />\n"
                                        "        </section>\n    </string_values>\n    <number_values />\n"));
}

TEST_F(ConfigTest, Latin1LocaleHoldsLatin1AndWritesUtf8) {
    if (!UseLatin1(locale)) GTEST_SKIP() << "no ISO-8859-1 locale is installed (see locale -a)";
    temp.Write("config.conf",
               "<root><string_values><section name=\"caf\xc3\xa9\">"
               "<value name=\"k\" data=\"5\xe2\x82\xac\"/></section></string_values></root>");
    ASSERT_TRUE(store.Load(Path().c_str()));
    EXPECT_EQ(store.GetString("caf\xe9", "k"), "5?");
    store.SetString("\xfc", "k", "\xe9");
    std::string text = SaveAndRead(store);
    EXPECT_NE(text.find("<section name=\"caf\xc3\xa9\">"), std::string::npos) << text;
    EXPECT_NE(text.find("<section name=\"\xc3\xbc\">"), std::string::npos) << text;
}

namespace {

// Lets writes to regular files stop at a few bytes, as on a full disk.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_Old);
        m_OldHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_Old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_Old);
        signal(SIGXFSZ, m_OldHandler);
    }

private:
    rlimit m_Old;
    void (*m_OldHandler)(int);
};

}  // namespace

class ConfigSaveTest : public ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        temp.Write("config.conf", kOld);
        for (int i = 0; i < 200; ++i)
            store.SetString("s", std::to_string(i).c_str(), "a value long enough to fill the disk");
    }
    const std::string kOld = Saved(kEmptyGroups);
};

TEST_F(ConfigSaveTest, FullDiskLeavesTheOldFileWhole) {
    bool saved;
    {
        ScopedFileSizeLimit limit(512);
        saved = store.Save(Path().c_str());
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(temp.Read("config.conf"), kOld);
    EXPECT_EQ(EntriesIn(temp.Path()), 1) << "the temporary file is removed";
}

TEST_F(ConfigSaveTest, FolderInPlaceOfTheFileIsNotReplaced) {
    std::string folder = temp / "taken";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    EXPECT_FALSE(store.Save(folder.c_str()));
    EXPECT_EQ(EntriesIn(temp.Path()), 2);
    EXPECT_EQ(EntriesIn(folder), 0);
    EXPECT_FALSE(store.Save((temp / "missing/config.conf").c_str()));
    EXPECT_FALSE(store.Save(nullptr));
}

TEST_F(ConfigSaveTest, ReadOnlyFolderLeavesTheOldFileWhole) {
    bool saved;
    {
        ScopedReadOnlyFolder readOnly(temp.Path());
        ASSERT_TRUE(readOnly.Holds());
        saved = store.Save(Path().c_str());
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(temp.Read("config.conf"), kOld);
    EXPECT_EQ(EntriesIn(temp.Path()), 1);
}

// A successful save keeps the file's mode and a symbolic link pointing at it.
TEST_F(ConfigSaveTest, ReplacesThroughALinkAndKeepsTheMode) {
    ASSERT_EQ(chmod(Path().c_str(), 0600), 0);
    std::string link = temp / "link.conf";
    ASSERT_EQ(symlink(Path().c_str(), link.c_str()), 0);
    ASSERT_TRUE(store.Save(link.c_str()));

    struct stat info;
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(stat(Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_NE(temp.Read("config.conf"), kOld);
    EXPECT_EQ(EntriesIn(temp.Path()), 2);
}
