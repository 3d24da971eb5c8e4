// "User defined" stays chosen only together with a start folder.
#include "dialogs/StartFolderChoice.h"

#include <gtest/gtest.h>

TEST(StartFolderChoice, UserDefinedNeedsAFolder) {
    const struct {
        const char* what;
        QString field;
        QString picked; // the picker's answer; empty: cancelled
        bool asks;
        bool userDefined;
        QString folder;
    } cases[] = {
        {"a folder entered: no question", QStringLiteral("/home/u/palm"),
         QStringLiteral("/elsewhere"), false, true, QStringLiteral("/home/u/palm")},
        {"no folder: the picked one", QString(), QStringLiteral("/home/u/palm"), true, true,
         QStringLiteral("/home/u/palm")},
        {"no folder, picker cancelled: back to remembering", QString(), QString(), true, false,
         QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int asked = 0;
        const StartFolderChoice choice = ChooseUserDefined(c.field, [&] {
            ++asked;
            return c.picked;
        });
        EXPECT_EQ(asked, c.asks ? 1 : 0);
        EXPECT_EQ(choice.UserDefined, c.userDefined);
        EXPECT_EQ(choice.Folder, c.folder);
    }
}
