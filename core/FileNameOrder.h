// The order in which a Windows file system returns a folder's names, and so the order of
// the rows within each group of a listing: by name, ordinal, without regard to letter case.
// NTFS keeps a folder's names sorted by their UTF-16 code units after mapping each unit to
// upper case through its table; that is what is compared here.
//
// Names are bytes (UTF-8 on Linux). ASCII, nearly every Palm file name, is compared byte by
// byte with a-z read as A-Z ("_" after letters, as there). A character beyond ASCII is
// decoded, mapped to upper case by Unicode's simple one-to-one mapping (as the file system's
// table does: "é" and "É" are equal, "ß" stays itself) and compared as UTF-16 would compare
// it. A byte that is no part of valid UTF-8 stands for U+DC00 plus its value (where
// Python's surrogate escape puts it), so that such names still have one fixed place.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Negative, zero or positive as a sorts before, with or after b. Names that differ only in
// letter case compare equal.
int CompareFileNames(std::string_view a, std::string_view b);

// A strict order for sorting: names equal without regard to case (two names a case-sensitive
// file system can hold) fall back to their bytes, so that the result never depends on the
// order they were read in.
bool FileNameLess(std::string_view a, std::string_view b);

void SortFileNames(std::vector<std::string>& names);
