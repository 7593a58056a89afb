// The switches of an unattended run: words of the command-line tail that begin with "/",
// in any order and letter case. A tail that begins with "-u" selects the driver-switch
// mode as it always did; switches may follow it. Other words are passed over, as before.
#pragma once

enum {
    kSwitchDirWidth = 80,    // an installation directory, as the install model holds it
    kSwitchPathWidth = 260,  // a log file
    kSwitchWordWidth = 40,   // the refused word, as far as it is told
};

// Which switches a program takes.
enum SwitchSet {
    SetupSwitches,      // /S /D= /M= /RESTART /LOG= /?
    UninstallSwitches,  // /S /RESTART /LOG= /?
};

enum MouseChoice { MouseNotChosen = -1, MouseChosenPS2 = 0, MouseChosenSerial = 1 };

struct Switches {
    int driverSwitchMode;              // the tail begins with "-u"
    int any;                           // at least one switch was given
    int silent;                        // /S
    int restart;                       // /RESTART
    int help;                          // /?
    int mouse;                         // /M=PS2 or /M=SERIAL, else MouseNotChosen
    char installDir[kSwitchDirWidth];  // /D=, quotes taken off; empty when not given
    char logPath[kSwitchPathWidth];    // /LOG=; empty when not given
    char refused[kSwitchWordWidth];    // the first word refused, cut for telling only
};

// Reads the tail. 1 when every switch is known and its value good; 0 with refused set to
// the word at fault (an unknown switch, a missing or bad value, a value too long for its
// use: never cut into another directory or file).
int ParseSwitches(const char* tail, SwitchSet set, Switches* out);
