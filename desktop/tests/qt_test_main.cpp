// GoogleTest main for the in-process window tests: one application object,
// set up as the program sets it up.
#include <gtest/gtest.h>

#include <QApplication>

#include "preview/preview_view.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();  // listing needs no display
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    bbcolour::desktop::PrepareWebEngine();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
