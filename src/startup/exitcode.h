// The exit codes of SETUP.EXE and UNINSTAL.EXE when they run with switches (without any,
// SETUP.EXE ends with 0 as it always did).
#pragma once

enum ExitCode {
    ExitDone = 0,                // installed, switched, removed
    ExitStopped = 1,             // cancelled, aborted, or No to the uninstaller's question
    ExitNoScript = 2,            // SETUP.INF cannot be read
    ExitDestinationRefused = 3,  // /D= (or the script's path) fails the destination checks
    ExitWrongPlatform = 4,       // not Windows 95/98
    ExitBadSwitch = 5,           // an unknown switch or a bad value
    ExitNoLog = 6,               // the /LOG= file cannot be written
    ExitJournalLost = 7,         // the journal could not be written: the driver was not switched
    ExitFilesLeft = 3,           // UNINSTAL.EXE: files that can neither be removed nor queued stay
};
