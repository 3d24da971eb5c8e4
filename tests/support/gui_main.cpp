// Entry of the widget tests: a QApplication on the offscreen platform (with a laptop's
// screen) unless the caller chose another (for example xcb under Xvfb to watch a test).
#include <QApplication>
#include <gtest/gtest.h>

namespace {

// The offscreen platform warns about window features it does not have; that says
// nothing about the code under test.
void FilterPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    qt_message_output(type, context, text);
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(FilterPlatformNoise);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", BRISKO_TEST_PLATFORM);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
