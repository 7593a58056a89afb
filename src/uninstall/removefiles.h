// The files of the installation, as its install record (section [Installed] of the SETUP.INF
// beside the uninstaller) names them: what setup made goes, what stood there before stays.
#pragma once

// Reads the record of the installation in InstallDir. Returns 0, holding nothing, when there
// is none or it belongs to another directory (a package's script, a copied SETUP.INF).
int LoadInstallRecord();

// Removes the files that the record says setup made, takes this installation off the count
// of each shared file (removing one that no program uses any more when the user agrees;
// with keepShared, an unattended run, nobody is asked and it stays),
// then removes the directories setup created, the last created first, where they are
// empty. A file that cannot be removed now (in use, such as the running uninstaller) is
// queued for removal at the next start of Windows. A file that can neither go nor be
// queued stays: its path goes into left (width wide), one a line, "..." when no more fit.
// Lets go of the record. Returns the number of files that stay.
int RemoveInstalledFiles(int keepShared, char* left, int width);
