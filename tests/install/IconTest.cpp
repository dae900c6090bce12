#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace {

TEST(WindowIcon, TheCompiledInDrawingRendersAtMenuAndTitleSizes) {
    int argc = 1;
    char name[] = "icon_tests";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const QIcon icon(QStringLiteral(":/thornbeck.svg"));
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 48, 256}) {
        const QImage image = icon.pixmap(size, size).toImage();
        ASSERT_EQ(image.width(), size) << "no SVG icon engine: install libqt6svg6";
        // The tile's slate blue in the upper left, beside the transparent rounded corner.
        EXPECT_EQ(image.pixelColor(size / 8, size / 2).name(), QStringLiteral("#25405c"));
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    }
}

}  // namespace
