#include "script/model.h"

char Shared::SourceDir[kDirWidth];
char Shared::InstallDir[kDirWidth];
char Shared::WindowsDir[kDirWidth];
char Shared::ScriptPath[kDirWidth];
char Shared::ProductName[kProductWidth];
char Shared::SetupCaption[kCaptionWidth];
int32_t Shared::MinimumSpace;
DiskSetModel Shared::DiskSet;
int16_t Shared::TotalFiles;
char Shared::DirTable[kDirKeyCount][kDirWidth];
FileEntry* Shared::FileTable;
int32_t Shared::OemMode = 0;
int32_t Shared::MouseKind = 1;
DriverProfileModel Shared::DriverProfile;
