// The check of one database's structure: what breaks it (damaged), what the handheld may
// reject or mix up (suspicious), and the rest worth knowing (note). A sound file has no
// damaged or suspicious finding. Codes are stable words for scripts; texts are English
// and marked for the translation catalogue (the caller looks them up).
#pragma once

#include "palmdb/DatabaseContents.h"

#include <string>
#include <vector>

enum class CheckSeverity { Damaged, Suspicious, Note };

// "damaged", "suspicious" or "note".
const char* SeverityWord(CheckSeverity severity);

struct CheckFinding {
    int Entry = -1; // the entry's index in the list; -1 for the file as a whole
    CheckSeverity Severity = CheckSeverity::Note;
    const char* Code = "";
    const char* Text = "";
};

// Every finding of contents, ordered by entry (file-wide findings first). fileName
// decides which layout its extension promises (.prc: resources; .pdb: records); only its
// extension is looked at.
std::vector<CheckFinding> CheckDatabase(const DatabaseContents& contents,
                                        const std::string& fileName);

// Whether any finding is damaged or suspicious.
bool HasTrouble(const std::vector<CheckFinding>& findings);
