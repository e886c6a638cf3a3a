#include "RtfReader.h"

namespace rtf
{

ReadResult read(QByteArrayView bytes)
{
    QByteArrayView rest = bytes.trimmed();
    if (!rest.startsWith("{\\rtf"))
        return {nullptr, ReadError::NotRtf};
    auto document = std::make_unique<QTextDocument>();
    return {std::move(document), ReadError::None};
}

} // namespace rtf
