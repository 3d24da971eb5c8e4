// Test entry: a QCoreApplication exists for the whole run (some helpers need one for
// locale and file-system services); widget tests bring their own main.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
