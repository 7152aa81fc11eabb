// Entry point of the text layer's tests: a core application only, with a fresh program folder.
#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("QUENVALE_HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
