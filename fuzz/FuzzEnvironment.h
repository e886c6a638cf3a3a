#pragma once

#include <QByteArrayView>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

// Documents lay out text with fonts, which need a QGuiApplication; the
// offscreen platform gives one without a display.
inline void ensureGuiApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QGuiApplication app(argc, argv);
    }
}

inline QByteArrayView fuzzInput(const uint8_t *data, size_t size)
{
    return QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
}
