// The commands' strings: prompt and tooltip.
#include "command_ids.h"
#include "string_table.h"

#include <gtest/gtest.h>

TEST(StringTable, CommandStringsSplitIntoPromptAndToolTip) {
    EXPECT_EQ(CommandPrompt(ID_FILE_NEWFOLDER), QStringLiteral("Choose new folder to analyze"));
    EXPECT_EQ(CommandTip(ID_APP_ABOUT), QStringLiteral("About"));
    // A string without a line break is all prompt.
    EXPECT_EQ(CommandTip(AFX_IDS_IDLEMESSAGE), QString());
    EXPECT_EQ(LoadResString(1), QString());
}
