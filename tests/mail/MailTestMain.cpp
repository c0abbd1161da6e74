#include <gtest/gtest.h>

#include <QCoreApplication>

// The outbox needs an event loop; nothing here needs a display.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
