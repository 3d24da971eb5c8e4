#include "core/FileNameOrder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

struct Pair {
    const char* first;
    const char* second;
    int order; // of first against second
};

} // namespace

TEST(FileNameOrder, ComparesLikeAWindowsFileSystemWithoutRegardToCase) {
    const Pair pairs[] = {
        {"a.pdb", "B.pdb", -1},      // letters before their case
        {"Memo.PDB", "memo.pdb", 0}, // case alone makes no difference
        {"a.pdb", "_a.pdb", -1},     // folded to upper case: "A" comes before "_"
        {"z.pdb", "`.pdb", -1},      // and "Z" before "`"
        {"[.pdb", "a.pdb", 1},
        {"ab.pdb", "ab", 1}, // a name before its longer ones
        {"ab", "abc", -1},
        {"10.pdb", "9.pdb", -1},                       // digits one by one, no numbers
        {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", 0}, // "été" and "ÉTÉ"
        {"\xC3\x89z",
         "\xC3\xA9"
         "a",
         1},                           // "Éz" after "éa"
        {"z.pdb", "\xC3\xA9.pdb", -1}, // "é" after ASCII
        {"\xC3\x9F", "ss", 1},         // "ß" is no "SS"
        {"\xC3\xBF", "\xC5\xB8", 0},   // "ÿ" and "Ÿ" (U+0178)
        // UTF-16 order, not code point order: U+1F600 before U+FF21 ("Ａ").
        {"\xF0\x9F\x98\x80", "\xEF\xBC\xA1", -1},
        // A byte that is no UTF-8: between the characters of the BMP and U+E000.
        {"\xFF", "\xC3\xA9", 1},
        {"\xFF", "\xF0\x9F\x98\x80", 1},
        {"\xFF", "\xEF\xBC\xA1", -1},
        {"\xC3", "\xC3\xA9", 1}, // a cut-off sequence stands alone
        {"", "a", -1},
    };
    for (const Pair& p : pairs) {
        EXPECT_EQ(CompareFileNames(p.first, p.second), p.order) << p.first << " | " << p.second;
        EXPECT_EQ(CompareFileNames(p.second, p.first), -p.order) << p.second << " | " << p.first;
    }
}

TEST(FileNameOrder, SortsEveryShuffleTheSameWay) {
    const std::vector<std::string> sorted = {"1.pdb",
                                             "10.pdb",
                                             "9.pdb",
                                             "A.pdb",
                                             "a.pdb",
                                             "b.PDB",
                                             "Book.pdb",
                                             "book.pdb",
                                             "Z.pdb",
                                             "_x.pdb",
                                             "\xC3\x89"
                                             "a.pdb",
                                             "\xC3\xA9"
                                             "b.pdb",
                                             "\xE2\x82\xAC.pdb",
                                             "\xFF.pdb"};
    std::mt19937 random(14);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> names = sorted;
        std::shuffle(names.begin(), names.end(), random);
        SortFileNames(names);
        EXPECT_EQ(names, sorted);
    }
}
