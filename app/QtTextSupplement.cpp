#include "QtTextSupplement.h"

#include <cstring>

namespace
{

struct Text {
    const char *context;
    const char *source;
    const char16_t *russian;
};

constexpr Text Texts[] = {
    {"QAbstractFileIconProvider", "Folder", u"Папка"},
    {"QAbstractFileIconProvider", "Drive", u"Диск"},
};

} // namespace

QString QtTextSupplement::translate(const char *context, const char *sourceText, const char *,
                                    int) const
{
    if (!context || !sourceText)
        return {};
    for (const Text &text : Texts) {
        if (std::strcmp(context, text.context) == 0 && std::strcmp(sourceText, text.source) == 0)
            return QString::fromUtf16(text.russian);
    }
    return {};
}
