// Arbitrary text into the reader of genus entries: it must neither crash nor
// hang, and what it reads must stand where it says: every part of an entry
// within the entry's own line, the lines in order, a range placed in stages
// the time scale has. The same text read as two catalogues gives the same
// entries twice.
#include "GenusEntries.h"
#include "TimeScale.h"

#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <cstdint>

using namespace fosdat::strata;

namespace
{

bool within(QStringView part, QStringView line)
{
    return part.isEmpty() ||
           (part.data() >= line.data() && part.data() + part.size() <= line.data() + line.size());
}

bool sameSpans(const GenusEntry &a, const GenusEntry &b)
{
    return a.line == b.line && a.paragraph == b.paragraph && a.offset == b.offset &&
           a.text() == b.text() && a.genus() == b.genus() && a.author() == b.author() &&
           a.range() == b.range() && a.references() == b.references() && a.family() == b.family() &&
           a.order() == b.order() && a.className() == b.className() &&
           a.placement.reason == b.placement.reason && a.placement.first == b.placement.first &&
           a.placement.last == b.placement.last && a.placement.uncertain == b.placement.uncertain;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const TimeScale &scale = shippedTimeScale();
    const QList<GenusEntry> entries = readGenusEntries(0, text, scale);
    int line = 0;
    for (const GenusEntry &entry : entries) {
        const QStringView whole = entry.text();
        const Placement &p = entry.placement;
        if (entry.line <= line || entry.genus().isEmpty() || whole.contains(u'\n') ||
            whole.contains(QChar::LineSeparator))
            __builtin_trap();
        line = entry.line;
        for (QStringView part :
             {entry.genus(), entry.author(), entry.range(), entry.references(), entry.view(p.code),
              entry.view(p.firstWritten), entry.view(p.lastWritten)}) {
            if (!within(part, whole))
                __builtin_trap();
        }
        if (p.isPlaced() && (p.first < 0 || p.first > p.last || p.last >= scale.stages().size()))
            __builtin_trap();
    }
    const QList<GenusEntry> twice = readGenusEntries({{0, text}, {1, text}}, scale);
    if (twice.size() != 2 * entries.size())
        __builtin_trap();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (!sameSpans(entries[i], twice[i]) || !sameSpans(entries[i], twice[entries.size() + i]) ||
            twice[entries.size() + i].group != 1)
            __builtin_trap();
    }
    return 0;
}
