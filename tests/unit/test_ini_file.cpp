#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "session/core/IniFile.h"

// Failure messages show the text rather than the bytes of each QChar.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace sorvik {
namespace {

using namespace std::string_literals;

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ini_.SetINIFileName(PathOf("test.ini"));
    }

    QString PathOf(const QString& name) const { return dir_.filePath(name); }

    static std::string ReadBytes(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return "<missing>";
        return file.readAll().toStdString();
    }
    static void WriteBytes(const QString& path, const std::string& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    std::string OnDisk() const { return ReadBytes(ini_.INIFileName()); }
    void SetDisk(const std::string& bytes) { WriteBytes(ini_.INIFileName(), bytes); }

    QTemporaryDir dir_;
    classIniFile ini_;
};

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(ini_.GetIniKey("a", "x"), "");
    ini_.DelIniKey("a", "x");
    ini_.DelIniSec("a");
    EXPECT_FALSE(QFile::exists(ini_.INIFileName())) << "deleting must not create the file";

    SetDisk("[a]\r\nx=1\r\n");
    EXPECT_EQ(ini_.GetIniKey("b", "x"), "");
    EXPECT_EQ(ini_.GetIniKey("a", "y"), "");

    classIniFile unbound;
    unbound.WriteIniKey("a", "x", "1");
    EXPECT_EQ(unbound.GetIniKey("a", "x"), "");
}

// How a value line on disk reads back.
TEST_F(IniFileTest, ValueIsTidiedLikeTheProfileRead) {
    const struct {
        std::string line;
        QString expected;
    } cases[] = {
        {"k=   abc", "abc"},
        {"k=abc \t ", "abc"},
        {"k=\t a b \t", "a b"},
        {"  k  =  v", "v"},
        {"k=a=b", "a=b"},
        {"k=\"quoted\"", "quoted"},
        {"k=\" padded \"", "padded"},
        {"k=\"\"", ""},
        {"k=\"open", "\"open"},
        {"k=\"a\"b\"", "a\"b"},
        {"k=a\0b"s, "ab"},
        {"k=a \0"s, "a "},  // blanks go before NULs, so this one stays
        {"k=", ""},
    };
    for (const auto& c : cases) {
        SetDisk("[s]\r\n" + c.line + "\r\n");
        EXPECT_EQ(ini_.GetIniKey("s", "k"), c.expected) << c.line;
    }

    ini_.WriteIniKey("w", "k", "   lead");
    EXPECT_EQ(ini_.GetIniKey("w", "k"), "lead");
}

TEST_F(IniFileTest, NamesRoundTripByteForByte) {
    ini_.WriteIniKey("juNum:12", "count( 3 )", "5");
    ini_.WriteIniKey("juNum:12", "count( 3 )( 0 )", "7");
    EXPECT_EQ(ini_.GetIniKey("juNum:12", "count( 3 )"), "5");
    EXPECT_EQ(ini_.GetIniKey("juNum:12", "count( 3 )( 0 )"), "7");
    EXPECT_EQ(OnDisk(), "[juNum:12]\r\ncount( 3 )=5\r\ncount( 3 )( 0 )=7\r\n");
}

TEST_F(IniFileTest, LookupIgnoresAsciiCaseAndKeepsDiskSpelling) {
    ini_.WriteIniKey("Stats", "Wins", "3");
    EXPECT_EQ(ini_.GetIniKey("STATS", "wins"), "3");
    EXPECT_EQ(ini_.GetIniKey("stats", "WINS"), "3");

    ini_.WriteIniKey("sTATS", "wINS", "4");
    EXPECT_EQ(OnDisk(), "[Stats]\r\nWins=4\r\n");
}

// GBK trail bytes can equal ASCII letters or "]": 丄 is 81 41 ("A"), 乤 is 81 61 ("a"),
// 謁 is D6 5D ("]"). They must not be case-folded together or end a section name.
TEST_F(IniFileTest, DoubleByteNamesAreNeitherFoldedNorSplit) {
    ini_.WriteIniKey("謁x", "丄", "upper");
    ini_.WriteIniKey("謁x", "乤", "lower");
    EXPECT_EQ(ini_.GetIniKey("謁x", "丄"), "upper");
    EXPECT_EQ(ini_.GetIniKey("謁x", "乤"), "lower");
    EXPECT_EQ(ini_.GetIniKey("謁", "丄"), "");
    EXPECT_EQ(OnDisk(), "[\xD6\x5Dx]\r\n\x81\x41=upper\r\n\x81\x61=lower\r\n");
}

TEST_F(IniFileTest, WritesReplaceInPlaceAndAppendAtTheEnd) {
    SetDisk("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
    ini_.WriteIniKey("a", "z", "3");
    ini_.WriteIniKey("a", "x", "9");
    ini_.WriteIniKey("c", "w", "4");
    EXPECT_EQ(OnDisk(), "[a]\r\nx=9\r\nz=3\r\n\r\n[b]\r\ny=2\r\n[c]\r\nw=4\r\n");
}

TEST_F(IniFileTest, DelIniSecRemovesTheWholeSectionOnly) {
    SetDisk("[a]\r\nx=1\r\n[b]\r\nx=2\r\n[A]\r\ny=3\r\n");
    ini_.DelIniSec("a");
    EXPECT_EQ(ini_.GetIniKey("a", "x"), "");
    EXPECT_EQ(ini_.GetIniKey("a", "y"), "") << "a repeated section goes too";
    EXPECT_EQ(ini_.GetIniKey("b", "x"), "2");
    EXPECT_EQ(OnDisk(), "[b]\r\nx=2\r\n");
}

TEST_F(IniFileTest, DelIniKeyRemovesOneKey) {
    SetDisk("[a]\r\nx=1\r\ny=2\r\n[b]\r\nx=3\r\n");
    ini_.DelIniKey("a", "X");
    EXPECT_EQ(ini_.GetIniKey("a", "x"), "");
    EXPECT_EQ(ini_.GetIniKey("a", "y"), "2");
    EXPECT_EQ(ini_.GetIniKey("b", "x"), "3");
    EXPECT_EQ(OnDisk(), "[a]\r\ny=2\r\n[b]\r\nx=3\r\n");
}

// The profile read fills a 1024-byte buffer: 1023 bytes of value, never half a character.
TEST_F(IniFileTest, LongValueIsCutTo1023Bytes) {
    const QString wide = QString(600, QChar(0x4E2D));  // 中, two bytes each
    const struct {
        const char* name;
        QString value;
        QString expected;
    } cases[] = {
        {"single-byte", QString(2000, 'a'), QString(1023, 'a')},
        {"exactly 1023", QString(1023, 'b'), QString(1023, 'b')},
        {"double-byte", wide, wide.left(511)},
        {"blank at the cut", QString(1022, 'c') + " d", QString(1022, 'c')},
    };
    for (const auto& c : cases) {
        ini_.WriteIniKey("s", "k", c.value);
        EXPECT_EQ(ini_.GetIniKey("s", "k"), c.expected) << c.name;
    }
    EXPECT_EQ(OnDisk(), "[s]\r\nk=" + std::string(1022, 'c') + " d\r\n")
        << "the file keeps the whole value";
}

TEST_F(IniFileTest, TextIsStoredAsGbk) {
    ini_.WriteIniKey("统计", "名字", "中文 abc");
    EXPECT_EQ(ini_.GetIniKey("统计", "名字"), "中文 abc");
    EXPECT_EQ(OnDisk(), "[\xCD\xB3\xBC\xC6]\r\n\xC3\xFB\xD7\xD6=\xD6\xD0\xCE\xC4 abc\r\n");

    SetDisk("[s]\nk=\xD6\xD0\n");
    EXPECT_EQ(ini_.GetIniKey("s", "k"), QString::fromUtf8("中"));
}

TEST_F(IniFileTest, HandWrittenFileIsReadAndPreserved) {
    SetDisk("preamble line\n"
            "; comment\n"
            "[game]\n"
            "  ; indented comment\n"
            "not a key\n"
            "name = Sorvik\n"
            "[other]\n"
            "k=v");
    EXPECT_EQ(ini_.GetIniKey("game", "name"), "Sorvik");
    EXPECT_EQ(ini_.GetIniKey("other", "k"), "v");
    EXPECT_EQ(ini_.GetIniKey("game", "; comment"), "");

    ini_.WriteIniKey("game", "level", "2");
    EXPECT_EQ(OnDisk(),
              "preamble line\r\n"
              "; comment\r\n"
              "[game]\r\n"
              "  ; indented comment\r\n"
              "not a key\r\n"
              "name = Sorvik\r\n"
              "level=2\r\n"
              "[other]\r\n"
              "k=v\r\n");
}

TEST_F(IniFileTest, BatchWriteMatchesSeparateWrites) {
    const std::string start = "; stats\r\n[r:1]\r\nwins=1\r\n\r\n[r:2]\r\nwins=5\r\n";
    const std::vector<std::pair<QString, QString>> keyValues = {
        {"count( 3 )", "4"}, {"WINS", "2"}, {"count( 3 )( 0 )", "8"}, {"count( 3 )", "6"}};

    classIniFile separate(PathOf("separate.ini"));
    WriteBytes(separate.INIFileName(), start);
    for (const auto& [key, value] : keyValues) separate.WriteIniKey("r:1", key, value);

    classIniFile batch(PathOf("batch.ini"));
    WriteBytes(batch.INIFileName(), start);
    batch.WriteIniKeys("r:1", keyValues);

    EXPECT_EQ(ReadBytes(batch.INIFileName()), ReadBytes(separate.INIFileName()));
    EXPECT_EQ(ReadBytes(batch.INIFileName()),
              "; stats\r\n[r:1]\r\nwins=2\r\ncount( 3 )=6\r\ncount( 3 )( 0 )=8\r\n"
              "\r\n[r:2]\r\nwins=5\r\n");
}

}  // namespace
}  // namespace sorvik
