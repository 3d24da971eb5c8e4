// The structure check on any bytes: its findings point at entries that exist, and a
// file it calls sound reads as sound.
#include "FuzzInput.h"
#include "palmdb/DatabaseCheck.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryByteSource source(std::string(reinterpret_cast<const char*>(data), size));
    const DatabaseContents contents = ReadDatabaseContents(source);
    // The name's extension from the input, so that both promises are checked.
    const char* name = size > 0 && (data[0] & 1) ? "fuzz.prc" : "fuzz.pdb";
    const std::vector<CheckFinding> findings = CheckDatabase(contents, name);
    bool damaged = false;
    bool suspicious = false;
    for (const CheckFinding& finding : findings) {
        if (finding.Entry >= int(contents.Entries.size()) || finding.Entry < -1)
            Broken("a finding names an entry that does not exist");
        if (std::strlen(finding.Code) == 0 || std::strlen(finding.Text) == 0)
            Broken("a finding without its code or text");
        damaged |= finding.Severity == CheckSeverity::Damaged;
        suspicious |= finding.Severity == CheckSeverity::Suspicious;
    }
    if (!damaged) {
        if (!contents.Problems.empty())
            Broken("a problem of the list was not found damaged");
        for (const ContentsEntry& entry : contents.Entries)
            if (entry.Problem != EntryProblem::None)
                Broken("a damaged entry was not found");
    }
    if (HasTrouble(findings) != (damaged || suspicious))
        Broken("trouble is not what the severities say");
    return 0;
}
