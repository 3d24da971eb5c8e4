// At start-up: what an earlier run that was killed (a power cut, kill -9) left behind in
// the folders only this program writes to: temporary files of the settings and catalogue
// beside them, and archive copies in Temp. Only the program's own leftovers go, and none
// that another running copy of the program still holds.
#pragma once

struct ProgramPaths;

void RemoveLeftoversOfKilledRuns(const ProgramPaths& paths);
