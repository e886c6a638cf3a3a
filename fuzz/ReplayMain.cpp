// Runs a fuzz target over files and directories of inputs, without libFuzzer,
// so that the ordinary test run replays the corpus and every regression file.
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>
#include <sys/resource.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace
{

// The input that took longest, for the report at the end.
struct Slowest {
    qint64 ms = -1;
    QString path;
} slowest;

int replay(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    QElapsedTimer timer;
    timer.start();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()),
                           size_t(bytes.size()));
    const qint64 ms = timer.elapsed();
    if (ms > slowest.ms)
        slowest = {ms, path};
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    int failures = 0;
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString root = QFile::decodeName(argv[i]);
        if (QFileInfo(root).isDir()) {
            QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                failures += replay(it.next());
                ++inputs;
            }
        } else {
            failures += replay(root);
            ++inputs;
        }
    }
    struct rusage usage {
    };
    getrusage(RUSAGE_SELF, &usage);
    std::printf("slowest input: %lld ms, %s\npeak memory of the whole run: %ld MB\n", slowest.ms,
                qPrintable(slowest.path), usage.ru_maxrss / 1024);
    std::printf("%d passed, %d failed\n", inputs - failures, failures);
    return failures == 0 ? 0 : 1;
}
