// Prints the plain text of an RTF file in UTF-8: one line per paragraph or
// line break, the footnotes after the text.
//
// No QGuiApplication is created and no document is built: the reader hands
// the text straight to a string, so neither fonts nor a platform plugin are
// needed, and start-up stays as short as the reading itself. The text is the
// whole of the file's, however large: nothing a view could not lay out is
// left out here. Whatever is not printed whole is said on standard error,
// with a non-zero exit status.
#include "RtfText.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        // Installed under another name, it says so in its usage line.
        const QByteArray name = QFileInfo(QFile::decodeName(argv[0])).fileName().toLocal8Bit();
        std::fprintf(stderr, "usage: %s FILE.rtf\n", name.constData());
        return 2;
    }
    QFile file(QFile::decodeName(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "rtf2txt: %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        std::fprintf(stderr, "rtf2txt: %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    std::optional<QString> text = fosdat::rtf::readText(bytes);
    if (!text) {
        std::fprintf(stderr, "rtf2txt: %s: not an RTF file\n", argv[1]);
        return 1;
    }
    // A line break within a paragraph is a line of its own, for grep and diff.
    text->replace(QChar::LineSeparator, u'\n');
    *text += u'\n';
    const QByteArray out = text->toUtf8();
    if (std::fwrite(out.constData(), 1, size_t(out.size()), stdout) != size_t(out.size()) ||
        std::fflush(stdout) != 0) {
        std::fprintf(stderr, "rtf2txt: %s: the text could not be written whole: %s\n", argv[1],
                     std::strerror(errno));
        return 1;
    }
    return 0;
}
