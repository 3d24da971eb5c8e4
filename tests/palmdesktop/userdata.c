/* A stand-in for the Palm Desktop's userdata.dll, linked by MinGW to check the export
   reader against a real linker. -DLACKING leaves the last function out. */
#define F(name) __declspec(dllexport) int name(void) { return __LINE__; }
F(UmGetLibVersion) F(UmGetUserCount) F(UmGetUserID) F(UmGetUserName) F(UmGetUserDirectory)
F(UmGetUserPassword) F(UmIsUserInstalled) F(UmIsUserProfile) F(UmSetUserName)
F(UmSetUserDirectory) F(UmSetUserInstall) F(UmSetUserPermSyncPreferences)
F(UmSetUserTempSyncPreferences) F(UmGetUserPermSyncPreferences)
F(UmGetUserTempSyncPreferences) F(UmRemoveUserTempSyncPreferences)
F(UmDeleteUserPermSyncPreferences) F(UmDeleteUserTempSyncPreferences) F(UmAddUser)
F(UmDeleteUser) F(UmGetRootDirectory) F(UmIsInstallMaskSet) F(UmClearInstallMask)
F(UmSetInstallMask) F(UmGetString) F(UmSetString) F(UmGetInteger) F(UmSetInteger)
F(UmDeleteKey) F(UmGetIDFromPath) F(UmGetIDFromName) F(UmSlotGetExpMgrVersion)
F(UmSlotGetSlotCount) F(UmSlotGetInfo) F(UmSlotGetMediaType) F(UmSlotGetDisplayName)
#ifndef LACKING
F(UmSlotGetInstallDirectory)
#endif
