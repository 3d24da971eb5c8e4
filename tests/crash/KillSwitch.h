// The file-changing system calls of a test process, counted: a forked child arms the
// switch and is killed (SIGKILL) just before its n-th call, as a power cut or kill -9
// would stop it there; a write that is hit writes half its bytes first. The calls can
// also be traced to a file, one line each ("fsync\t/path"), to check their order.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Kill before call number killAt (1 = before the first); 0 counts only.
void KillSwitchArm(long killAt);
// Appends one line per call to the open file fd; -1 stops.
void KillSwitchTrace(int fd);
long KillSwitchCount(void);

#ifdef __cplusplus
}
#endif
