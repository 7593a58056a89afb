#include "script/model.h"

char SourceDir[kDirWidth];
char InstallDir[kDirWidth];
char WindowsDir[kDirWidth];
char ScriptPath[kDirWidth];
char ProductName[kProductWidth];
char SetupCaption[kCaptionWidth];
int32_t MinimumSpace;
DiskSetModel DiskSet;
int16_t TotalFiles;
char DirTable[kDirKeyCount][kDirWidth];
FileEntry* FileTable;
int32_t OemMode = 0;
int32_t MouseKind = 1;
DriverProfileModel DriverProfile;
