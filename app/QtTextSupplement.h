#pragma once

#include <QTranslator>

// Russian for the few texts of Qt's own dialogs that its installed Russian
// translation lacks: the file dialog calls a folder "Folder" in its type
// column, and the root of the file system "Drive". Installed after Qt's
// translation, it answers those texts and leaves every other one to it.
class QtTextSupplement final : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText,
                      const char *disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override { return false; }
};
