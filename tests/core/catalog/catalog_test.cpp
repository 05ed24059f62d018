#include "core/catalog/catalog.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace vorta;

namespace {

Catalog load(const std::string& bytes) {
    std::istringstream in(bytes);
    return loadCatalog(in);
}

std::string records(int count) {
    std::string text = "1\r\n0\r\n";
    for (int k = 1; k <= count; ++k) text += "0.1,0.02,0.3,9," + std::to_string(k) + ",0.05,1.9\r\n";
    return text;
}

TEST(CatalogLoading, ReadsRecordsAndKeepsEachLineAsItsDisplayText) {
    const Catalog c =
        load("1\r\n0\r\n0.12,0.02,0.25,12,0.1,0.05,1.93\r\n0.15, 0.04, 0.3, 0, 0.12, 0.08, 2\r\n");
    ASSERT_TRUE(c.fileRead);
    ASSERT_EQ(c.AirfoilCount(), 2);
    EXPECT_EQ(c.entry(1).displayText, "0.12,0.02,0.25,12,0.1,0.05,1.93");
    EXPECT_EQ(c.entry(2).displayText, "0.15, 0.04, 0.3, 0, 0.12, 0.08, 2");
    const CatalogEntry& e = c.entry(2);
    EXPECT_EQ(e.Delta, 0.15);
    EXPECT_EQ(e.Gama, 0.04);
    EXPECT_EQ(e.xDltC, 0.3);
    EXPECT_EQ(e.Tau, 0);
    EXPECT_EQ(e.F, 0.12);
    EXPECT_EQ(e.G, 0.08);
    EXPECT_EQ(e.m, 2);
    EXPECT_FALSE(e.unreadableField);
    EXPECT_FALSE(e.lineFault);
    EXPECT_EQ(e.line, 4);
    EXPECT_EQ(c.entry(1).m, 1.93);
}

TEST(CatalogLoading, AFileWithoutItsTwoLeadingLinesCountsAsMissing) {
    EXPECT_FALSE(loadCatalogFile("/nonexistent/VORTA_Input.txt").fileRead);
    EXPECT_FALSE(load("").fileRead);
    EXPECT_FALSE(load("1\r\n").fileRead);
    EXPECT_FALSE(load("\xEF\xBB\xBF").fileRead);
    EXPECT_TRUE(load("1\r\n0").fileRead);
    const Catalog onlyLeading = load("1\r\n0\r\n");
    EXPECT_TRUE(onlyLeading.fileRead);
    EXPECT_EQ(onlyLeading.AirfoilCount(), 0);
}

TEST(CatalogLoading, KeepsTheFirstFiftyRecords) {
    const Catalog c = load(records(60));
    ASSERT_EQ(c.AirfoilCount(), 50);
    EXPECT_EQ(c.entry(50).F, 50);
    EXPECT_EQ(c.entry(50).displayText, "0.1,0.02,0.3,9,50,0.05,1.9");
}

TEST(CatalogLoading, AnIncompleteLastRecordIsNotCounted) {
    const Catalog c = load(records(2) + "0.1,0.02,0.3,9,7");
    EXPECT_EQ(c.AirfoilCount(), 2);
}

TEST(CatalogLoading, EmptyLinesAfterTheLastRecordChangeNothing) {
    const Catalog c = load(records(2) + "\r\n\r\n  \r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    ASSERT_EQ(c.AirfoilCount(), 2);
    EXPECT_EQ(c.entry(2).F, 2);
}

TEST(CatalogLoading, ACommaIsAlwaysASeparatorSoADecimalCommaShiftsLaterFields) {
    const Catalog c = load("1\r\n0\r\n0,12,0.02,0.25,9,0.1,0.1,1.9\r\n0.1,0.1,0.3,0,0.1,0.05,2\r\n");
    ASSERT_EQ(c.AirfoilCount(), 2);
    EXPECT_EQ(c.entry(1).Delta, 0);
    EXPECT_EQ(c.entry(1).Gama, 12);
    EXPECT_EQ(c.entry(1).m, 0.1);
    EXPECT_EQ(c.entry(2).Delta, 1.9);
    EXPECT_EQ(c.entry(2).m, 0.05);
    EXPECT_EQ(c.entry(1).displayText, "0,12,0.02,0.25,9,0.1,0.1,1.9");  // lines do not shift
    EXPECT_EQ(c.entry(2).displayText, "0.1,0.1,0.3,0,0.1,0.05,2");
    // Both entries are marked, by the line with the decimal comma.
    for (int k : {1, 2}) {
        ASSERT_TRUE(c.entry(k).lineFault) << k;
        EXPECT_EQ(c.entry(k).lineFault->line, 3);
        EXPECT_EQ(c.entry(k).lineFault->fieldCount, 8);
    }
}

TEST(CatalogLoading, FieldSyntax) {
    const Catalog c = load("1\r\n0\r\n1.5E-2 ,,\"0.3\",\" 9\",0.1,  0.05 ,1.9\r\n\"0,5\",0,0,0,0.1,0,2\r\n");
    ASSERT_EQ(c.AirfoilCount(), 2);
    const CatalogEntry& e = c.entry(1);
    EXPECT_EQ(e.Delta, 0.015);
    EXPECT_EQ(e.Gama, 0);  // an empty field counts as 0
    EXPECT_EQ(e.xDltC, 0.3);
    EXPECT_EQ(e.Tau, 9);
    EXPECT_EQ(e.G, 0.05);
    EXPECT_FALSE(e.unreadableField);
    // The quoted comma belongs to the field, so nothing shifts; "0,5" is no number.
    EXPECT_STREQ(c.entry(2).unreadableField->name, "Delta");
    EXPECT_FALSE(c.entry(2).lineFault);
    EXPECT_EQ(c.entry(2).m, 2);
}

TEST(CatalogLoading, ARecordThatDoesNotReadAsNumbersIsStillListed) {
    const Catalog c = load("1\r\n0\r\nNACA,0.02,0.3,9,0.1,x,1.9\r\n");
    ASSERT_EQ(c.AirfoilCount(), 1);
    EXPECT_STREQ(c.entry(1).unreadableField->name, "Delta");
}

TEST(CatalogLoading, TakesLineFeedsAloneAndSkipsAByteOrderMark) {
    const Catalog lf = load(
        "\xEF\xBB\xBF"
        "1\n0\n0.1,0.1,0.3,9,0.1,0.1,1.9\n0.1,0.1,0.3,9,0.2,0.1,1.9");
    ASSERT_EQ(lf.AirfoilCount(), 2);
    EXPECT_EQ(lf.entry(1).displayText, "0.1,0.1,0.3,9,0.1,0.1,1.9");
    EXPECT_EQ(lf.entry(2).F, 0.2);
    const Catalog cr = load("1\r0\r0.1,0.1,0.3,9,0.1,0.1,1.9\r");
    ASSERT_EQ(cr.AirfoilCount(), 1);
    EXPECT_EQ(cr.entry(1).displayText.find('\r'), std::string::npos);
}

TEST(CatalogLoading, ABrokenLayoutKeepsTheEntriesThatHaveARecordAndALine) {
    // Two records on one line: the field pass finds two records, the line pass one line.
    const Catalog twoOnOne = load("1\r\n0\r\n0.1,0.1,0.3,9,0.1,0.1,1.9,0.1,0.1,0.3,9,0.2,0.1,1.9\r\n");
    ASSERT_EQ(twoOnOne.AirfoilCount(), 1);
    EXPECT_EQ(twoOnOne.entry(1).F, 0.1);
    // One record over two lines: one record, two lines; the entry keeps the first line.
    const Catalog overTwo = load("1\r\n0\r\n0.1,0.1,0.3,9\r\n0.1,0.1,1.9\r\n");
    ASSERT_EQ(overTwo.AirfoilCount(), 1);
    EXPECT_EQ(overTwo.entry(1).displayText, "0.1,0.1,0.3,9");
    EXPECT_EQ(overTwo.entry(1).m, 1.9);
}

TEST(CatalogLoading, AFieldLongerThanTheLimitEndsTheRecordList) {
    const std::string longField(kFieldLengthLimit + 1, '1');
    EXPECT_EQ(load(records(2) + longField + ",0,0,0,0.1,0,2\r\n" + records(1).substr(6)).AirfoilCount(), 2);
    EXPECT_EQ(load(records(1) + "\"" + std::string(100000, 'x')).AirfoilCount(),
              1);  // a quote that never closes
    EXPECT_EQ(load(records(1) + std::string(100000, ' ') + "1").AirfoilCount(), 1);
    const Catalog leading = load(longField + "\r\n0\r\n");
    EXPECT_TRUE(leading.fileRead);
    EXPECT_EQ(leading.AirfoilCount(), 0);
}

// A line that does not hold exactly seven fields shifts the fields of every later record;
// the entries it touches are marked with the first faulty line at or above them.
TEST(CatalogLineFaults, EntriesBelowAFaultyLineAreMarkedAndThoseAboveAreNot) {
    const std::string good = "0.1,0.1,0.3,9,0.1,0.1,1.9\r\n";
    const struct {
        const char* what;
        std::string faulty;
        int fieldCount;
    } cases[] = {
        {"a comment", "# my own sections\r\n", 1},
        {"six fields", "0.1,0.1,0.3,9,0.1,0.1\r\n", 6},
        {"words", "hello world\r\n", 1},
        {"a decimal comma", "0,12,0.02,0.25,9,0.1,0.1,1.9\r\n", 8},
        {"two records on one line", "0.1,0.1,0.3,9,0.1,0.1,1.9,0.1,0.1,0.3,9,0.2,0.1,1.9\r\n", 14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Catalog catalog = load("1\r\n0\r\n" + good + good + c.faulty + good + good);
        ASSERT_GE(catalog.AirfoilCount(), 4);
        EXPECT_FALSE(catalog.entry(1).lineFault);
        EXPECT_FALSE(catalog.entry(2).lineFault);
        for (int k = 3; k <= catalog.AirfoilCount(); ++k) {
            ASSERT_TRUE(catalog.entry(k).lineFault) << k;
            EXPECT_EQ(catalog.entry(k).lineFault->line, 5);
            EXPECT_EQ(catalog.entry(k).lineFault->fieldCount, c.fieldCount);
            EXPECT_FALSE(catalog.entry(k).lineFault->leading);
        }
    }
}

TEST(CatalogLineFaults, ALeadingLineWithMoreThanOneFieldMarksEveryEntry) {
    const Catalog c = load("1,2\r\n0\r\n0.1,0.1,0.3,9,0.1,0.1,1.9\r\n0.1,0.1,0.3,9,0.2,0.1,1.9\r\n");
    ASSERT_EQ(c.AirfoilCount(), 2);
    for (int k : {1, 2}) {
        ASSERT_TRUE(c.entry(k).lineFault);
        EXPECT_EQ(c.entry(k).lineFault->line, 1);
        EXPECT_EQ(c.entry(k).lineFault->fieldCount, 2);
        EXPECT_TRUE(c.entry(k).lineFault->leading);
    }
}

TEST(CatalogLineFaults, AnEntryIsSoundWhenItsOwnLineHoldsExactlyItsSevenFields) {
    // Six fields, then eight: the fields line up again after them, and so the third entry
    // holds the numbers of its own line.
    const Catalog c = load(
        "1\r\n0\r\n0.1,0.1,0.3,9,0.1,0.1\r\n1.9,0.1,0.1,0.3,9,0.2,0.1,1.9\r\n"
        "0.1,0.1,0.3,9,0.3,0.1,1.9\r\n");
    ASSERT_EQ(c.AirfoilCount(), 3);
    EXPECT_EQ(c.entry(1).lineFault->line, 3);
    EXPECT_EQ(c.entry(2).lineFault->line, 3);
    EXPECT_FALSE(c.entry(3).lineFault);
    EXPECT_EQ(c.entry(3).F, 0.3);
    // Blank lines between records, blanks after commas, quoted fields and any line end are sound.
    const Catalog sound = load(
        "\xEF\xBB\xBF"
        "1\n0\n\n0.1, 0.1 ,\"0.3\",9,0.1,0.1,1.9\r  \r\n\n0.1,0.1,0.3,9,0.2,0.1,2");
    ASSERT_EQ(sound.AirfoilCount(), 2);
    EXPECT_FALSE(sound.entry(1).lineFault);
    EXPECT_FALSE(sound.entry(2).lineFault);
    EXPECT_EQ(sound.entry(1).line, 4);
    EXPECT_EQ(sound.entry(2).line, 7);
}

TEST(CatalogLineFaults, AQuoteLeftOpenIsAFault) {
    const Catalog c = load(
        "1\r\n0\r\n0.1,0.1,0.3,9,0.1,0.1,\"1.9\r\n2\",0.1,0.1,0.3,9,0.2,0.1\r\n"
        "0.1,0.1,0.3,9,0.2,0.1,2\r\n");
    ASSERT_GE(c.AirfoilCount(), 2);
    for (int k = 1; k <= c.AirfoilCount(); ++k) {
        ASSERT_TRUE(c.entry(k).lineFault) << k;
        EXPECT_EQ(c.entry(k).lineFault->line, 3);
        EXPECT_TRUE(c.entry(k).lineFault->unclosedQuote);
    }
}

// Whatever the file, an entry that is not marked holds exactly the numbers its own line
// gives when read alone. Quotes that pair up differently across lines once fooled a check
// that looked only at the lines the fields came from.
TEST(CatalogLineFaults, AnUnmarkedEntryHoldsTheNumbersOfItsOwnLine) {
    const std::string files[] = {
        "1\r\n0\r\n\"0,0\r\n0,0,1,,.1,\"-,5,,,,,,,,,,,,,,,,,,,\",04\r\n",
        "\xEF\xBB\xBF,5,0,x\n0\n\"0,0\n0,0,1,,.1,\"x-,\x11,,,,,,,,,,,,,,,,,,,,,\",04\n",
        "1\r\n0\r\n1,2,3,4,5,6,\"7\r\n8\",1,2,3,4,5,6\r\n1,2,3,4,5,6,7\r\n1,2,3,4,5,6,7\r\n",
        "1\r\n0\r\n1,2,3,4,5,6,7,\r\n1,2,3,4,5,6,7\r\n1,2,3,4,5,6,7\r\n",
        "1\r\n0\r\n1,2,3,4,5,6,7\r\n1,2,3,4,5,6,",
    };
    for (const std::string& file : files) {
        const Catalog catalog = load(file);
        for (const CatalogEntry& entry : catalog.entries) {
            if (entry.lineFault) continue;
            const Catalog alone = load("1\r\n0\r\n" + entry.displayText + "\r\n");
            ASSERT_EQ(alone.AirfoilCount(), 1) << entry.displayText;
            for (const CatalogField& field : kCatalogFields) {
                EXPECT_EQ(entry.*field.value, alone.entry(1).*field.value)
                    << entry.displayText << ' ' << field.name;
            }
        }
    }
}

// Where reading ends before the end of the file, the catalog says where and why, and keeps
// the entries above.
TEST(CatalogLoading, SaysWhereAndWhyReadingStopsBeforeTheEnd) {
    std::string eightLongFields = std::string(4000, 'x');
    for (int i = 1; i < 8; ++i) eightLongFields += "," + std::string(4000, 'x');
    const struct {
        const char* what;
        std::string bytes;
        int entries;
        int line;  // 0: no stop
        const char* why;
    } cases[] = {
        {"a sound file", records(3) + "\r\n  \r\n", 3, 0, ""},
        {"an incomplete last record", records(2) + "0.1,0.02,0.3\r\n", 2, 0, ""},
        {"more than fifty records", records(52), 50, 53, "the catalog holds at most 50 airfoils"},
        {"5000 empty lines", records(5) + std::string(5000, '\n') + records(1).substr(6), 5, 8,
         "more than 4096 blanks and empty lines follow one another there"},
        {"a megabyte of NUL bytes", records(3) + std::string(1 << 20, '\0') + "\r\n" + records(1).substr(6),
         3, 6, "a field there holds more than 4096 characters"},
        {"a line of eight long fields", records(2) + eightLongFields + "\r\n", 2, 5,
         "the line holds more than 28686 characters"},
    };
    for (const auto& c : cases) {
        const Catalog catalog = load(c.bytes);
        EXPECT_EQ(catalog.AirfoilCount(), c.entries) << c.what;
        if (c.line == 0) {
            EXPECT_FALSE(catalog.readingStop) << c.what;
            continue;
        }
        ASSERT_TRUE(catalog.readingStop) << c.what;
        EXPECT_EQ(catalog.readingStop->line, c.line) << c.what;
        EXPECT_EQ(catalog.readingStop->why, c.why) << c.what;
    }
}

TEST(CatalogLookup, TheLastEntryWithExactlyThatShownTextWins) {
    const Catalog c = load(
        "1\r\n0\r\n0.1,0.1,0.3,9,0.1,0.1,1.9\r\n0.1,0.1,0.3,9,0.2,0.1,1.9\r\n"
        "0.1,0.1,0.3,9,0.1,0.1,1.9\r\n");
    EXPECT_EQ(findEntryByText(c, "0.1,0.1,0.3,9,0.1,0.1,1.9"), 3);
    EXPECT_EQ(findEntryByText(c, "0.1,0.1,0.3,9,0.2,0.1,1.9"), 2);
    EXPECT_FALSE(findEntryByText(c, "0.1,0.1,0.3,9,0.2,0.1,1.9 "));
    EXPECT_FALSE(findEntryByText(c, " "));
    EXPECT_FALSE(findEntryByText(Catalog{}, ""));
    const Catalog latin1 = load("1\r\n0\r\n0.1,0.1,0.3,9,0.1,0.1,1.9 \xE9\r\n");
    EXPECT_EQ(latin1.entry(1).shownText, "0.1,0.1,0.3,9,0.1,0.1,1.9 \xC3\xA9");
    EXPECT_EQ(findEntryByText(latin1, "0.1,0.1,0.3,9,0.1,0.1,1.9 \xC3\xA9"), 1);
}

TEST(DisplayText, IsShownAsUtf8WhateverTheFileUsed) {
    EXPECT_EQ(displayTextAsUtf8("NACA 0012 \xC3\xA9"), "NACA 0012 \xC3\xA9");      // already UTF-8
    EXPECT_EQ(displayTextAsUtf8("Profil \xE9"), "Profil \xC3\xA9");                // Windows-1252 e-acute
    EXPECT_EQ(displayTextAsUtf8("\x80"), "\xE2\x82\xAC");                          // the euro sign
    EXPECT_EQ(displayTextAsUtf8("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");  // a surrogate is no UTF-8
}

}  // namespace
