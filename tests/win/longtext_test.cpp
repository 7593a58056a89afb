// A text of the string table longer than a slot of the text ring arrives cut to 127
// characters, terminated, and the slots beside it stay intact.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app.h"
#include "texts/textring.h"

namespace {

std::string LongText() {
    std::string text;
    char part[8];
    for (int i = 0; i < 50; ++i) {
        wsprintfA(part, "%03d|", i);
        text += part;
    }
    return text;  // 200 characters, as in longtext_test.rc
}

}  // namespace

TEST(LongText, ArrivesCutTo127Characters) {
    Shared::AppInstance = GetModuleHandleA(nullptr);
    const char* before = LoadText(900);
    ASSERT_NE(nullptr, before);
    std::string first = before;
    const char* text = LoadText(900);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(LongText().substr(0, 127), std::string(text));
    EXPECT_EQ(first, std::string(before)) << "the text beside it was overwritten";
    // The identifier is taken as 16 bits.
    EXPECT_EQ(LongText().substr(0, 127), std::string(LoadText(0x10000 + 900)));
}
