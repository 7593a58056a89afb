// The switches of an unattended run, read from the command-line tail.
#include <gtest/gtest.h>

#include <string>

#include "runtime/switches.h"

namespace {

Switches Read(const char* tail, SwitchSet set = SetupSwitches, int* ok = nullptr) {
    Switches s;
    int result = ParseSwitches(tail, set, &s);
    if (ok != nullptr) *ok = result;
    return s;
}

TEST(Switches, AnyOrderAnyCaseAfterTheModeOrAlone) {
    int ok;
    Switches s = Read("/s /d=\"C:\\Program Files\\Qorva\" /M=serial /Log=C:\\SETUP.LOG /restart",
                      SetupSwitches, &ok);
    ASSERT_EQ(1, ok) << s.refused;
    EXPECT_EQ(0, s.driverSwitchMode);
    EXPECT_EQ(1, s.any);
    EXPECT_EQ(1, s.silent);
    EXPECT_EQ(1, s.restart);
    EXPECT_EQ(MouseChosenSerial, s.mouse);
    EXPECT_STREQ("C:\\Program Files\\Qorva", s.installDir);
    EXPECT_STREQ("C:\\SETUP.LOG", s.logPath);

    s = Read("-u /M=PS2 /S", SetupSwitches, &ok);
    EXPECT_EQ(1, ok);
    EXPECT_EQ(1, s.driverSwitchMode);
    EXPECT_EQ(MouseChosenPS2, s.mouse);
    // The mode is chosen as it always was: a capital U, or a tail not at the start, is not it.
    EXPECT_EQ(0, Read("-U /S").driverSwitchMode);
    EXPECT_EQ(1, Read("-unused words").driverSwitchMode);
    EXPECT_EQ(0, Read("/S -u").driverSwitchMode);
    // Without switches nothing is asked for.
    s = Read("-u anything else");
    EXPECT_EQ(0, s.any);
    EXPECT_EQ(MouseNotChosen, s.mouse);
    EXPECT_EQ(0, Read("").any);
    EXPECT_EQ(0, Read(nullptr).any);
    EXPECT_EQ(1, Read("/?").help);
}

TEST(Switches, UnknownSwitchesAndBadValuesAreRefusedByName) {
    int ok;
    for (const char* tail : {"/X", "/S /M=USB", "/D=", "/LOG=", "/SILENT", "/D", "/M"}) {
        Read(tail, SetupSwitches, &ok);
        EXPECT_EQ(0, ok) << tail;
    }
    Switches s = Read("/Q /M=USB /S", SetupSwitches, &ok);
    EXPECT_EQ(0, ok);
    EXPECT_STREQ("/Q", s.refused);  // the first word at fault
    EXPECT_EQ(1, s.silent);         // read after it: an unattended run still shows nothing
    // The uninstaller takes no directory and no mouse type.
    EXPECT_EQ(0, (Read("/S /M=PS2", UninstallSwitches, &ok), ok));
    EXPECT_EQ(0, (Read("/D=C:\\X", UninstallSwitches, &ok), ok));
    Read("/s /restart /log=\"C:\\My Logs\\U.LOG\"", UninstallSwitches, &ok);
    EXPECT_EQ(1, ok);
    EXPECT_EQ(0, Read("-u /S", UninstallSwitches).driverSwitchMode);
}

TEST(Switches, AValueTooLongIsRefusedNeverCut) {
    int ok;
    std::string dir = "/D=C:\\" + std::string(76, 'A');  // 79 characters of directory fit
    Switches s = Read(dir.c_str(), SetupSwitches, &ok);
    EXPECT_EQ(1, ok);
    EXPECT_EQ(79u, std::string(s.installDir).size());
    dir += "B";
    s = Read(dir.c_str(), SetupSwitches, &ok);
    EXPECT_EQ(0, ok);
    EXPECT_STREQ("", s.installDir);
    std::string log = "/LOG=C:\\" + std::string(400, 'L');
    s = Read(log.c_str(), SetupSwitches, &ok);
    EXPECT_EQ(0, ok);
    EXPECT_STREQ("", s.logPath);
    EXPECT_EQ(static_cast<size_t>(kSwitchWordWidth - 1), std::string(s.refused).size());
}

}  // namespace
