// Writes the hostile catalogue files the reader's caps are measured on, each
// under the 64 MB the viewer accepts, into DIRECTORY:
//   fosdat-hostile-inputs DIRECTORY [NAME...]
// Without names every file is written; `--list` prints the names and what each
// file holds. The files are generated, never kept in the repository.
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{

// Buffered output to one file.
class Output
{
public:
    explicit Output(const QString &path) : m_file(path) {}
    ~Output() { flush(); }

    bool open() { return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate); }
    bool ok() const { return m_ok; }
    qint64 size() const { return m_written + m_buffer.size(); }

    void put(QByteArrayView bytes)
    {
        m_buffer.append(bytes);
        if (m_buffer.size() >= (1 << 20))
            flush();
    }
    void repeat(QByteArrayView bytes, qint64 times)
    {
        for (qint64 i = 0; i < times; ++i)
            put(bytes);
    }
    // Bytes as hex digits, 128 to a line, as a picture's data is written.
    void hex(const QByteArray &data)
    {
        for (qsizetype at = 0; at < data.size(); at += 64)
            put(data.mid(at, 64).toHex() + "\r\n");
    }
    void flush()
    {
        m_ok = m_ok && m_file.write(m_buffer) == m_buffer.size();
        m_written += m_buffer.size();
        m_buffer.clear();
    }

private:
    QFile m_file;
    QByteArray m_buffer;
    qint64 m_written = 0;
    bool m_ok = true;
};

const QByteArray Header = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 "
                          "Arial;}}\r\n\\pard\\f0\\fs24 ";

// Ordinary words, a line of the file at a time, until `size` bytes are written.
void words(Output &out, qint64 size)
{
    QRandomGenerator random(17);
    QByteArray line;
    while (out.size() < size) {
        line.clear();
        while (line.size() < 78) {
            const int letters = random.bounded(2, 11);
            for (int i = 0; i < letters; ++i)
                line += char('a' + random.bounded(26));
            line += ' ';
        }
        out.put(line + "\r\n");
    }
}

// One word of `letters` letters, broken into lines of the file that a reader ignores.
void oneWord(Output &out, int letters)
{
    QByteArray line;
    for (int i = 0; i < letters; ++i) {
        line += char('a' + i % 26);
        if (line.size() == 100) {
            out.put(line + "\r\n");
            line.clear();
        }
    }
    out.put(line);
}

void boldToggles(Output &out, int toggles)
{
    for (int i = 0; i < toggles; ++i) {
        out.put(i % 2 ? "\\b0 x" : "\\b x");
        if (i % 16 == 15)
            out.put("\r\n");
    }
}

// A character in a color and a size no other has.
void distinctFormats(Output &out, int characters)
{
    out.put("{\\colortbl;");
    for (int i = 0; i < 1000; ++i) {
        out.put("\\red" + QByteArray::number(i % 256) + "\\green" + QByteArray::number(i / 4) +
                "\\blue" + QByteArray::number(255 - i % 256) + ";");
    }
    out.put("}\r\n");
    for (int i = 0; i < characters; ++i) {
        out.put("\\cf" + QByteArray::number(i % 1000 + 1) + "\\fs" +
                QByteArray::number(2 + (i / 1000) % 3000) + " x");
        if (i % 8 == 7)
            out.put("\r\n");
    }
}

QByteArray encoded(const QImage &image, const char *format, bool progressive)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        qFatal("cannot encode %s: %s", format, qPrintable(writer.errorString()));
    return bytes;
}

// The offset of the marker that ends the segment or scan starting at `from`.
qsizetype nextMarker(const QByteArray &jpeg, qsizetype from)
{
    for (qsizetype at = from; at + 1 < jpeg.size(); ++at) {
        const auto next = quint8(jpeg[at + 1]);
        if (quint8(jpeg[at]) == 0xff && next != 0x00 && !(next >= 0xd0 && next <= 0xd7))
            return at;
    }
    return jpeg.size();
}

// A progressive JPEG of the largest size a picture may have, one color all
// over, whose last scan is repeated `extraScans` times: each copy takes a few
// bytes, and a decoder warns and refines every coefficient of the picture
// again for each.
QByteArray scanBomb(int extraScans)
{
    QImage image(4096, 4096, QImage::Format_RGB32);
    image.fill(qRgb(90, 120, 150));
    const QByteArray jpeg = encoded(image, "jpeg", true);
    const qsizetype lastScan = jpeg.lastIndexOf("\xff\xda");
    const qsizetype end = nextMarker(jpeg, lastScan + 2);
    if (lastScan < 0 || end >= jpeg.size())
        qFatal("no scan in the encoded JPEG");
    const QByteArray scan = jpeg.mid(lastScan, end - lastScan);
    return jpeg.left(end) + scan.repeated(extraScans) + jpeg.mid(end);
}

void picture(Output &out, QByteArrayView kind, const QByteArray &data)
{
    out.put("{\\pict\\" + kind.toByteArray() + "\r\n");
    out.hex(data);
    out.put("}");
}

// 4096 x 4096 pixels of 16 bits per channel: 128 MB once decoded.
QByteArray deepPng()
{
    QImage image(4096, 4096, QImage::Format_RGBA64);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgba64 *>(image.scanLine(y));
        std::fill(line, line + image.width(),
                  QRgba64::fromRgba64(quint16(y * 16), 0x1234, 0x8000, 0xffff));
    }
    return encoded(image, "png", false);
}

QByteArray tinyPng()
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return encoded(image, "png", false);
}

struct Input {
    const char *name;
    const char *what;
    std::function<void(Output &)> write;
};

const QList<Input> &inputs()
{
    static const QList<Input> all = {
        {"empty-paragraphs-600k.rtf", "600,000 empty paragraphs",
         [](Output &out) { out.repeat("\\par\r\n", 600000); }},
        {"paragraph-5mb.rtf", "one paragraph of 5 MB of words",
         [](Output &out) { words(out, 5 << 20); }},
        {"paragraph-52mb.rtf", "one paragraph of 52 MB of words",
         [](Output &out) { words(out, 52 << 20); }},
        {"line-breaks-12m.rtf", "12 million \\line in one paragraph",
         [](Output &out) { out.repeat("\\line", 12000000); }},
        {"word-400k.rtf", "one word of 400,000 letters", [](Output &out) { oneWord(out, 400000); }},
        {"bold-toggles-50k.rtf", "one word of 50,000 bold toggles",
         [](Output &out) { boldToggles(out, 50000); }},
        {"jpeg-scans-1000.rtf", "a progressive JPEG with 1,000 extra scans",
         [](Output &out) { picture(out, "jpegblip", scanBomb(1000)); }},
        {"jpeg-scans-10000.rtf", "a progressive JPEG with 10,000 extra scans",
         [](Output &out) { picture(out, "jpegblip", scanBomb(10000)); }},
        {"paragraphs-31m.rtf", "31 million paragraph ends (a backslash and a line feed)",
         [](Output &out) { out.repeat("\\\n", 31000000); }},
        {"paragraphs-20m.rtf", "20 million paragraphs of one letter",
         [](Output &out) { out.repeat("x\\\n", 20000000); }},
        {"distinct-formats-1m.rtf", "1 million characters, each in its own color and size",
         [](Output &out) { distinctFormats(out, 1000000); }},
        {"png16-4096.rtf", "a 4096 x 4096 PNG of 16 bits per channel",
         [](Output &out) { picture(out, "pngblip", deepPng()); }},
        {"tall-paragraphs.rtf", "10,000 paragraphs with the largest space before and after",
         [](Output &out) { out.repeat("\\sb31680\\sa31680 x\\par\r\n", 10000); }},
        {"huge-font.rtf", "20,000 letters at the largest font size",
         [](Output &out) {
             out.put("\\fs3276 ");
             out.repeat("W ", 20000);
         }},
        {"tabs-5000.rtf", "one paragraph of 5,000 tabs",
         [](Output &out) { out.repeat("\\tab ", 5000); }},
        {"tabs-far-stops.rtf", "paragraphs of 5,000 tabs to stops beyond the line's end",
         [](Output &out) {
             out.put("\\tx6000\\tx12000\\tx31680 ");
             out.repeat(QByteArray("\\tab ").repeated(5000) + "\\par\r\n", 14);
         }},
        {"tall-pictures.rtf", "2,000 pictures of one pixel, each shown 21,120 pixels tall",
         [](Output &out) {
             const QByteArray png = tinyPng().toHex();
             out.repeat("{\\pict\\pngblip\\picscaley1000\\pichgoal31680 " + png + "}", 2000);
         }},
    };
    return all;
}

bool write(const QDir &directory, const Input &input)
{
    Output out(directory.filePath(QString::fromLatin1(input.name)));
    if (!out.open())
        return false;
    out.put(Header);
    input.write(out);
    out.put("}\r\n");
    out.flush();
    std::printf("%-26s %10lld bytes  %s\n", input.name, out.size(), input.what);
    return out.ok();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments == QStringList{QStringLiteral("--list")}) {
        for (const Input &input : inputs())
            std::printf("%-26s %s\n", input.name, input.what);
        return 0;
    }
    if (arguments.isEmpty()) {
        std::fprintf(stderr, "usage: fosdat-hostile-inputs DIRECTORY [NAME...] | --list\n");
        return 2;
    }
    const QDir directory(arguments.front());
    if (!directory.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "fosdat-hostile-inputs: cannot create %s\n",
                     qPrintable(arguments.front()));
        return 1;
    }
    const QStringList wanted = arguments.mid(1);
    for (const Input &input : inputs()) {
        if (!wanted.isEmpty() && !wanted.contains(QString::fromLatin1(input.name)))
            continue;
        if (!write(directory, input)) {
            std::fprintf(stderr, "fosdat-hostile-inputs: cannot write %s\n", input.name);
            return 1;
        }
    }
    return 0;
}
