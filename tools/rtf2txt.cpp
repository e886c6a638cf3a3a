// Prints the plain text of an RTF file, one line per paragraph, in UTF-8.
#include "RtfReader.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: rtf2txt FILE.rtf\n");
        return 2;
    }
    QFile file(QFile::decodeName(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "rtf2txt: %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    const rtf::ReadResult result = rtf::read(bytes);
    if (!result.ok()) {
        std::fprintf(stderr, "rtf2txt: %s: not an RTF file\n", argv[1]);
        return 1;
    }
    QByteArray out;
    for (QTextBlock block = result.document->begin(); block.isValid(); block = block.next()) {
        out += block.text().toUtf8();
        out += '\n';
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}
